// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/widgets/month_calendar.h"

#include "desktop/document/stored_text.h"
#include "desktop/widgets/fonts.h"
#include "desktop/widgets/painted_table_accessible.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace fitquill {
namespace {

using Model = CCalendarModel;

// The title's arrow areas: left of its third column and right of its fifth.
constexpr int kPreviousAreaEnd = 2 * CMonthCalendar::kColumnWidth;
constexpr int kNextAreaStart = 5 * CMonthCalendar::kColumnWidth;

} // namespace

CMonthCalendar::CMonthCalendar(QWidget* parent) : QWidget(parent) {
    setFont(CustomFont());
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(sizeHint());
    m_repeat.setInterval(kRepeatMilliseconds);
    connect(&m_repeat, &QTimer::timeout, this, [this] {
        if (!ClickAt(m_repeatPoint))
            StopRepeat();
    });
}

QSize CMonthCalendar::sizeHint() const {
    return {Model::kColumns * kColumnWidth, Model::kRows * kRowHeight};
}

void CMonthCalendar::SetArrows(bool previous, bool next) {
    m_previousArrow = previous;
    m_nextArrow = next;
    update();
}

void CMonthCalendar::SetDate(const CJournalDate& date) {
    m_model.SetDate(date);
    Changed(true);
}

bool CMonthCalendar::StepMonth(int direction) {
    bool stepped = m_model.StepMonth(direction);
    Changed(stepped);
    return stepped;
}

bool CMonthCalendar::ChooseDay(int day) {
    if (!m_model.SelectDay(day))
        return false;
    Changed(false);
    emit DayChosen(m_model.SelectedDate());
    return true;
}

void CMonthCalendar::Changed(bool monthChanged) {
    update();
    if (monthChanged)
        NotifyTableChanged(this);
    const Model::SCell cell = m_model.CellOfDay(m_model.SelectedDay());
    NotifyCurrentCell(this, cell.row - Model::kFirstWeekRow, cell.column);
}

void CMonthCalendar::SetSelectionShown(bool shown) {
    m_selectionShown = shown;
    update();
}

void CMonthCalendar::SetColors(const QColor& text, const QColor& background) {
    m_textColor = text;
    m_backColor = background;
    update();
}

QRect CMonthCalendar::CellRect(int row, int column) {
    return {column * kColumnWidth, row * kRowHeight, kColumnWidth, kRowHeight};
}

bool CMonthCalendar::IsPreviousArea(QPoint point) const {
    return m_previousArrow && point.y() >= 0 && point.y() < kRowHeight && point.x() >= 0 &&
           point.x() < kPreviousAreaEnd;
}

bool CMonthCalendar::IsNextArea(QPoint point) const {
    return m_nextArrow && point.y() >= 0 && point.y() < kRowHeight && point.x() >= kNextAreaStart &&
           point.x() < Model::kColumns * kColumnWidth;
}

void CMonthCalendar::DrawArrow(QPainter& painter, const QRect& area, bool pointsLeft) const {
    // A small filled triangle, centred in the first or last column of the title.
    const QPointF centre = QRectF(area).center();
    const qreal half = 3.5;
    QPainterPath path;
    if (pointsLeft) {
        path.moveTo(centre.x() - half / 2 - 1, centre.y());
        path.lineTo(centre.x() + half / 2 + 1, centre.y() - half);
        path.lineTo(centre.x() + half / 2 + 1, centre.y() + half);
    } else {
        path.moveTo(centre.x() + half / 2 + 1, centre.y());
        path.lineTo(centre.x() - half / 2 - 1, centre.y() - half);
        path.lineTo(centre.x() - half / 2 - 1, centre.y() + half);
    }
    path.closeSubpath();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.fillPath(path, m_textColor);
    painter.restore();
}

void CMonthCalendar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), m_backColor);
    painter.setFont(font());
    painter.setPen(m_textColor);

    const int width = Model::kColumns * kColumnWidth;
    const QRect title(0, 0, width, kRowHeight);
    painter.drawText(title, Qt::AlignCenter, FromStored(m_model.Title()));
    if (m_previousArrow)
        DrawArrow(painter, CellRect(Model::kTitleRow, 0), true);
    if (m_nextArrow)
        DrawArrow(painter, CellRect(Model::kTitleRow, Model::kColumns - 1), false);

    for (int column = 0; column < Model::kColumns; ++column)
        painter.drawText(CellRect(Model::kWeekdayRow, column), Qt::AlignCenter,
                         QString::fromLatin1(Model::WeekdayLetter(column)));
    const int lineY = (Model::kWeekdayRow + 1) * kRowHeight - 1;
    painter.drawLine(0, lineY, width - 1, lineY);

    const QPalette& colors = palette();
    const int today = m_model.TodayDay();
    for (int day = 1; day <= m_model.DaysInMonth(); ++day) {
        const Model::SCell cell = m_model.CellOfDay(day);
        const QRect area = CellRect(cell.row, cell.column);
        const bool selected = m_selectionShown && day == m_model.SelectedDay();
        if (selected)
            painter.fillRect(area, colors.color(QPalette::Active, QPalette::Highlight));
        painter.setPen(selected ? colors.color(QPalette::Active, QPalette::HighlightedText)
                                : m_textColor);
        painter.drawText(area, Qt::AlignCenter, QString::number(day));
        if (day == today) {
            painter.setPen(m_textColor);
            painter.drawRect(area.adjusted(0, 0, -1, -1));
        }
        // The keyboard's place, as the grids show theirs.
        if (hasFocus() && day == m_model.SelectedDay()) {
            painter.setPen(QPen(m_textColor, 1, Qt::DotLine));
            painter.drawRect(area.adjusted(1, 1, -2, -2));
        }
    }
}

bool CMonthCalendar::ClickAt(QPoint point) {
    if (IsPreviousArea(point) || IsNextArea(point)) {
        const int direction = IsPreviousArea(point) ? -1 : 1;
        if (!m_model.StepMonth(direction))
            return false;
        Changed(true);
        emit MonthStepped(direction);
        return true;
    }
    if (point.x() < 0 || point.y() < 0)
        return false;
    const int day = m_model.DayAt(point.y() / kRowHeight, point.x() / kColumnWidth);
    if (day == 0)
        return false;
    ChooseDay(day);
    // Repeating a click on a day would only choose the same day again.
    return false;
}

void CMonthCalendar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    StopRepeat();
    const QPoint point = event->position().toPoint();
    if (ClickAt(point)) {
        m_repeatPoint = point;
        m_repeat.start();
    }
}

void CMonthCalendar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        StopRepeat();
    QWidget::mouseReleaseEvent(event);
}

void CMonthCalendar::focusOutEvent(QFocusEvent* event) {
    StopRepeat();
    QWidget::focusOutEvent(event);
}

void CMonthCalendar::hideEvent(QHideEvent* event) {
    StopRepeat();
    QWidget::hideEvent(event);
}

void CMonthCalendar::StopRepeat() {
    m_repeat.stop();
}

void CMonthCalendar::keyPressEvent(QKeyEvent* event) {
    int days = 0;
    switch (event->key()) {
    case Qt::Key_Left:
        days = -1;
        break;
    case Qt::Key_Right:
        days = 1;
        break;
    case Qt::Key_Up:
        days = -Model::kColumns;
        break;
    case Qt::Key_Down:
        days = Model::kColumns;
        break;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        // The title's arrows, for the keyboard (a pair steps both views whichever one asks).
        if (const int direction = event->key() == Qt::Key_PageUp ? -1 : 1;
            m_model.StepMonth(direction)) {
            Changed(true);
            emit MonthStepped(direction);
        }
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    // Like a grid, the selection stops at the edge of the days.
    if (m_model.MoveSelection(days)) {
        Changed(false);
        emit DayChosen(m_model.SelectedDate());
    }
}

} // namespace fitquill
