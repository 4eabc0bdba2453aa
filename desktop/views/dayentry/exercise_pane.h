// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/views/dayentry/day_entry_pane.h"

namespace fitquill {

class CExerciseEntryForm;
class CExerciseListCtrl;

// "Exercise": logs new exercises into the current day and lists the day's exercises.
class CExercisePane : public CDayEntryPane {
    Q_OBJECT

public:
    explicit CExercisePane(CDietData& data, QWidget* parent = nullptr);

    QWidget* FirstControl() override;
    CExerciseEntryForm* Form() const { return m_form; }
    CExerciseListCtrl* List() const { return m_list; }

private:
    void Log();

    CExerciseEntryForm* m_form = nullptr;
    CExerciseListCtrl* m_list = nullptr;
};

} // namespace fitquill
