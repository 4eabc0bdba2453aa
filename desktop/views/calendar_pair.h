// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/journal_date.h"

#include <QWidget>

namespace fitquill {

class CMonthCalendar;

// Two month views side by side showing consecutive months: the left one steps back, the
// right one forward, and a step in either steps both. Only the view that holds the chosen
// day shows it highlighted.
class CCalendarPair : public QWidget {
    Q_OBJECT

public:
    explicit CCalendarPair(QWidget* parent = nullptr);

    CMonthCalendar* Left() const { return m_left; }
    CMonthCalendar* Right() const { return m_right; }

public slots:
    // Takes the document's current date: the left view shows its month with the day
    // selected, the right view the following month.
    void SetDate(const fitquill::CJournalDate& date);
    void SetColors(const QColor& text, const QColor& background);

signals:
    // A day was chosen in either view; it is to become the document's current day.
    void DayChosen(const fitquill::CJournalDate& date);

private:
    void OnMonthStepped(CMonthCalendar* stepped, int direction);
    void OnDayChosen(CMonthCalendar* chosenIn, const CJournalDate& date);

    CMonthCalendar* m_left = nullptr;
    CMonthCalendar* m_right = nullptr;
};

} // namespace fitquill
