// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

namespace fitquill {

class CDietData;
class CExerciseEntryForm;

// "Edit Exercise": changes a logged exercise of the current day; Log replaces the entry (which
// moves to the end of the day's list) and closes the dialog.
class CEditExerciseDialog : public QDialog {
    Q_OBJECT

public:
    CEditExerciseDialog(CDietData& data, int position, QWidget* parent = nullptr);

    CExerciseEntryForm* Form() const { return m_form; }
    // The entry's position after Log; -1 before.
    int NewPosition() const { return m_newPosition; }

private:
    void Log();

    CDietData& m_data;
    int m_position;
    int m_newPosition = -1;
    CExerciseEntryForm* m_form = nullptr;
};

} // namespace fitquill
