// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/journal_date.h"

#include <QDialog>

#include <optional>

namespace fitquill {

class CMonthCalendar;

// The "Date" dialog: one month view with both arrows, "OK" and "Cancel".
class CDateDialog : public QDialog {
    Q_OBJECT

public:
    explicit CDateDialog(const CJournalDate& initial, QWidget* parent = nullptr);

    CMonthCalendar* Calendar() const { return m_calendar; }
    // The selected date (meaningful after OK).
    CJournalDate Date() const;

    // Runs the dialog; the chosen date on OK, nothing on Cancel.
    static std::optional<CJournalDate> Choose(const CJournalDate& initial,
                                              QWidget* parent = nullptr);

private:
    CMonthCalendar* m_calendar = nullptr;
};

} // namespace fitquill
