// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/journal_date.h"
#include "desktop/widgets/calendar_model.h"

#include <QColor>
#include <QPoint>
#include <QTimer>
#include <QWidget>

namespace fitquill {

// One custom-drawn month: a title row with the month and year (and the month-step arrows the
// view offers), a row of weekday letters and up to six week rows of days.
class CMonthCalendar : public QWidget {
    Q_OBJECT

public:
    static constexpr int kRowHeight = 16;
    static constexpr int kColumnWidth = 19;
    static constexpr int kRepeatMilliseconds = 150;

    explicit CMonthCalendar(QWidget* parent = nullptr);

    // Which month-step arrows the title offers (both by default).
    void SetArrows(bool previous, bool next);
    bool HasPreviousArrow() const { return m_previousArrow; }
    bool HasNextArrow() const { return m_nextArrow; }

    const CCalendarModel& Model() const { return m_model; }
    CJournalDate SelectedDate() const { return m_model.SelectedDate(); }

    // Shows the date's month with its day selected; emits nothing.
    void SetDate(const CJournalDate& date);
    // Steps the shown month as the arrows do, but emits nothing.
    bool StepMonth(int direction);

    // Selects a day of the shown month as a click on it does (DayChosen); false outside it.
    bool ChooseDay(int day);

    // Whether the selected day is drawn highlighted (a pair highlights only one of its views).
    void SetSelectionShown(bool shown);
    bool IsSelectionShown() const { return m_selectionShown; }

    // The text and background colours of the pages.
    void SetColors(const QColor& text, const QColor& background);
    QColor TextColor() const { return m_textColor; }
    QColor BackColor() const { return m_backColor; }

    // Pixel rectangle of a grid cell (row 0 is the title).
    static QRect CellRect(int row, int column);
    // Whether a click at this point would step the month back or forward.
    bool IsPreviousArea(QPoint point) const;
    bool IsNextArea(QPoint point) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    // A day cell was clicked, or the selection was moved with the arrow keys.
    void DayChosen(const fitquill::CJournalDate& date);
    // The month was stepped from the title's arrows.
    void MonthStepped(int direction);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Acts on a click; true when holding the button should repeat it.
    bool ClickAt(QPoint point);
    void StopRepeat();
    // Repaints and tells assistive technology what changed (the month, the selected day).
    void Changed(bool monthChanged);
    void DrawArrow(class QPainter& painter, const QRect& area, bool pointsLeft) const;

    CCalendarModel m_model;
    bool m_previousArrow = true;
    bool m_nextArrow = true;
    bool m_selectionShown = true;
    // The document's defaults until the owner passes the user's colours.
    QColor m_textColor{0, 0, 0};
    QColor m_backColor{255, 255, 192};
    QTimer m_repeat;
    QPoint m_repeatPoint;
};

} // namespace fitquill
