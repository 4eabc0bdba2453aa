// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/widgets/command_target.h"

#include <QPlainTextEdit>

#include <string>

namespace fitquill {

class CDietData;

// The "Daily Journal" page: the current day's note. Every edit stores the whole text at once,
// creating the day's record on the first typed character.
class CDailyNotesPage : public QPlainTextEdit, public ICommandTarget {
    Q_OBJECT

public:
    // The stored note's limit (the record keeps it with a terminating NUL in 1024 bytes).
    static constexpr int kMaxNoteBytes = 1023;

    explicit CDailyNotesPage(CDietData& data, QWidget* parent = nullptr);

    // Shows the current day's note; a day without a record shows the placeholder text.
    void Refresh();

    bool QueryCommand(int id, bool& enabled) override;
    bool ExecuteCommand(int id) override;

protected:
    void showEvent(QShowEvent* event) override;
    // A paste without clipboard data (an empty clipboard) inserts nothing: Qt 6.4 would read
    // past the missing data and end the program.
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    void OnTextChanged();
    void ApplyColors();

    CDietData& m_data;
    bool m_settingText = false;
    // The day whose note the box shows (journal file and date), so that a refresh of that same
    // day leaves the text being typed alone.
    std::string m_shownDay;
};

} // namespace fitquill
