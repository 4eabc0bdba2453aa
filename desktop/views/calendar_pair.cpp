// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/calendar_pair.h"

#include "desktop/widgets/month_calendar.h"

#include <QHBoxLayout>

#include <algorithm>

namespace fitquill {

CCalendarPair::CCalendarPair(QWidget* parent)
    : QWidget(parent), m_left(new CMonthCalendar(this)), m_right(new CMonthCalendar(this)) {
    m_left->SetArrows(true, false);
    m_right->SetArrows(false, true);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addWidget(m_left);
    layout->addWidget(m_right);
    layout->addStretch(1);
    setAutoFillBackground(true);

    for (CMonthCalendar* view : {m_left, m_right}) {
        connect(view, &CMonthCalendar::MonthStepped, this,
                [this, view](int direction) { OnMonthStepped(view, direction); });
        connect(view, &CMonthCalendar::DayChosen, this,
                [this, view](const CJournalDate& date) { OnDayChosen(view, date); });
    }
    SetColors(m_left->TextColor(), m_left->BackColor());
    SetDate(CJournalDate::Today());
}

void CCalendarPair::SetDate(const CJournalDate& date) {
    // A date whose following month cannot be shown would part the two views.
    if (date.Month() == 12 && date.Year() >= CCalendarModel::kLastYear)
        return;
    m_left->SetDate(date);
    const CCalendarModel& left = m_left->Model();
    CJournalDate following(1, left.Month(), left.Year());
    following.StepMonths(1);
    // The right view keeps the day number, cut to its month, without showing it.
    const int day = std::min<int>(left.SelectedDay(), following.DaysInMonth());
    m_right->SetDate(CJournalDate(day, following.Month(), following.Year()));
    m_left->SetSelectionShown(true);
    m_right->SetSelectionShown(false);
}

void CCalendarPair::SetColors(const QColor& text, const QColor& background) {
    m_left->SetColors(text, background);
    m_right->SetColors(text, background);
    // The gap between the views belongs to the page, which has the same background.
    QPalette colors = palette();
    colors.setColor(QPalette::Window, background);
    setPalette(colors);
}

void CCalendarPair::OnMonthStepped(CMonthCalendar* stepped, int direction) {
    CMonthCalendar* other = stepped == m_left ? m_right : m_left;
    // Should the other view be unable to follow (the last showable year), undo the step so
    // that the two never part.
    if (!other->StepMonth(direction))
        stepped->StepMonth(-direction);
}

void CCalendarPair::OnDayChosen(CMonthCalendar* chosenIn, const CJournalDate& date) {
    chosenIn->SetSelectionShown(true);
    (chosenIn == m_left ? m_right : m_left)->SetSelectionShown(false);
    emit DayChosen(date);
}

} // namespace fitquill
