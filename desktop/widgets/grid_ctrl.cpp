// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/widgets/grid_ctrl.h"

#include "desktop/widgets/fonts.h"
#include "desktop/widgets/painted_table_accessible.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace fitquill {
namespace {

constexpr int kDefaultColumnWidth = 64;
constexpr int kTextMargin = 3;

} // namespace

CGridCtrl::CGridCtrl(QWidget* parent) : QAbstractScrollArea(parent) {
    setFont(CustomFont());
    viewport()->setFont(CustomFont());
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAutoFillBackground(false);
    horizontalScrollBar()->setSingleStep(20);
}

void CGridCtrl::SetRowCount(int rows) {
    m_rowCount = std::max(0, rows);
    m_fixedRows = std::min(m_fixedRows, m_rowCount);
    // Keep the selection inside the rows that still exist.
    const int lastRow = m_rowCount - 1;
    if (m_currentRow > lastRow || m_anchorRow > lastRow) {
        if (lastRow < FirstSelectableRow()) {
            m_anchorRow = m_currentRow = -1;
            m_hasSelection = false;
        } else {
            m_anchorRow = std::min(m_anchorRow, lastRow);
            m_currentRow = std::min(m_currentRow, lastRow);
        }
    }
    UpdateScrollBars();
    viewport()->update();
    NotifyTableChanged(this);
}

void CGridCtrl::SetColumnCount(int columns) {
    m_columnWidths.resize(static_cast<size_t>(std::max(0, columns)), kDefaultColumnWidth);
    m_fixedColumns = std::min(m_fixedColumns, ColumnCount());
    if (m_currentColumn >= ColumnCount())
        m_currentColumn = ColumnCount() - 1;
    UpdateScrollBars();
    viewport()->update();
    NotifyTableChanged(this);
}

void CGridCtrl::SetFixedRows(int rows) {
    m_fixedRows = std::clamp(rows, 0, m_rowCount);
    UpdateScrollBars();
    viewport()->update();
}

void CGridCtrl::SetFixedColumns(int columns) {
    m_fixedColumns = std::clamp(columns, 0, ColumnCount());
    UpdateScrollBars();
    viewport()->update();
}

void CGridCtrl::SetColumnWidth(int column, int width) {
    if (column < 0 || column >= ColumnCount())
        return;
    m_columnWidths[static_cast<size_t>(column)] = std::max(0, width);
    UpdateScrollBars();
    viewport()->update();
}

int CGridCtrl::ColumnWidth(int column) const {
    if (column < 0 || column >= ColumnCount())
        return 0;
    return m_columnWidths[static_cast<size_t>(column)];
}

void CGridCtrl::SetRowHeight(int height) {
    m_rowHeight = std::max(1, height);
    UpdateScrollBars();
    viewport()->update();
}

void CGridCtrl::SetTextSource(TextSource source) {
    m_source = std::move(source);
    viewport()->update();
}

void CGridCtrl::SetCellPainter(int column, CellPainter painter) {
    if (painter)
        m_cellPainters[column] = std::move(painter);
    else
        m_cellPainters.erase(column);
    viewport()->update();
}

void CGridCtrl::SetCellDescriber(int column, TextSource describer) {
    if (describer)
        m_describers[column] = std::move(describer);
    else
        m_describers.erase(column);
}

QString CGridCtrl::DrawnText(int row, int column) const {
    if (row < 0 || row >= m_rowCount || column < 0 || column >= ColumnCount())
        return {};
    if (m_cellPainters.count(column)) {
        auto it = m_describers.find(column);
        return it == m_describers.end() ? QString() : it->second(row, column);
    }
    return m_source ? m_source(row, column) : QString();
}

void CGridCtrl::SetColors(const QColor& text, const QColor& back) {
    m_text = text;
    m_back = back;
    viewport()->update();
}

void CGridCtrl::SetGridLines(bool on) {
    m_gridLines = on;
    viewport()->update();
}

// --- Selection ---

void CGridCtrl::SetSelection(int anchor, int current) {
    const int first = FirstSelectableRow();
    const int last = m_rowCount - 1;
    const int oldFirst = FirstSelectedRow();
    const int oldLast = LastSelectedRow();
    if (last < first) {
        m_anchorRow = m_currentRow = -1;
        m_hasSelection = false;
    } else {
        m_anchorRow = std::clamp(anchor, first, last);
        m_currentRow = std::clamp(current, first, last);
        m_hasSelection = true;
        if (m_currentColumn < 0 && ColumnCount() > 0)
            m_currentColumn = std::min(m_fixedColumns, ColumnCount() - 1);
    }
    viewport()->update();
    NotifyCurrentCell(this, m_currentRow - m_fixedRows, m_currentColumn);
    if (oldFirst != FirstSelectedRow() || oldLast != LastSelectedRow())
        emit SelectionChanged();
}

void CGridCtrl::SelectRows(int first, int last) {
    SetSelection(first, last);
}

void CGridCtrl::ClearSelection() {
    const bool had = m_hasSelection;
    m_hasSelection = false;
    viewport()->update();
    if (had)
        emit SelectionChanged();
}

int CGridCtrl::FirstSelectedRow() const {
    return m_hasSelection ? std::min(m_anchorRow, m_currentRow) : -1;
}

int CGridCtrl::LastSelectedRow() const {
    return m_hasSelection ? std::max(m_anchorRow, m_currentRow) : -1;
}

bool CGridCtrl::IsRowSelected(int row) const {
    return m_hasSelection && row >= FirstSelectedRow() && row <= LastSelectedRow();
}

void CGridCtrl::SetCurrentCell(int row, int column) {
    if (ColumnCount() > 0)
        m_currentColumn = std::clamp(column, 0, ColumnCount() - 1);
    SetSelection(row, row);
    EnsureRowVisible(m_currentRow);
}

// --- Geometry ---

int CGridCtrl::TopRow() const {
    return m_fixedRows + verticalScrollBar()->value();
}

int CGridCtrl::VisibleRows() const {
    const int height = viewport()->height() - m_fixedRows * m_rowHeight;
    return std::max(0, height / m_rowHeight);
}

int CGridCtrl::ColumnLeft(int column) const {
    int x = 0;
    for (int c = 0; c < column && c < ColumnCount(); ++c)
        x += m_columnWidths[static_cast<size_t>(c)];
    if (column >= m_fixedColumns)
        x -= horizontalScrollBar()->value();
    return x;
}

int CGridCtrl::RowTop(int row) const {
    if (row < 0 || row >= m_rowCount)
        return -1;
    if (row < m_fixedRows)
        return row * m_rowHeight;
    if (row < TopRow())
        return -1;
    return (m_fixedRows + row - TopRow()) * m_rowHeight;
}

QRect CGridCtrl::CellRect(int row, int column) const {
    const int top = RowTop(row);
    if (top < 0 || column < 0 || column >= ColumnCount())
        return {};
    return QRect(ColumnLeft(column), top, ColumnWidth(column), m_rowHeight);
}

int CGridCtrl::RowAt(int y) const {
    if (y < 0)
        return -1;
    const int line = y / m_rowHeight;
    const int row = line < m_fixedRows ? line : TopRow() + line - m_fixedRows;
    return row < m_rowCount ? row : -1;
}

int CGridCtrl::ColumnAt(int x) const {
    int fixedRight = 0;
    for (int c = 0; c < m_fixedColumns; ++c)
        fixedRight += ColumnWidth(c);
    for (int c = 0; c < ColumnCount(); ++c) {
        const int left = ColumnLeft(c);
        if (c >= m_fixedColumns && left + ColumnWidth(c) <= fixedRight)
            continue; // scrolled under the fixed columns
        if (x >= left && x < left + ColumnWidth(c))
            return c;
    }
    return -1;
}

void CGridCtrl::EnsureRowVisible(int row) {
    if (row < m_fixedRows || row >= m_rowCount)
        return;
    QScrollBar* bar = verticalScrollBar();
    const int offset = row - m_fixedRows;
    if (offset < bar->value())
        bar->setValue(offset);
    else if (VisibleRows() > 0 && offset >= bar->value() + VisibleRows())
        bar->setValue(offset - VisibleRows() + 1);
}

void CGridCtrl::UpdateScrollBars() {
    const int scrolling = m_rowCount - m_fixedRows;
    const int page = std::max(1, VisibleRows());
    verticalScrollBar()->setRange(0, std::max(0, scrolling - page));
    verticalScrollBar()->setPageStep(page);

    int total = 0;
    for (int width : m_columnWidths)
        total += width;
    horizontalScrollBar()->setRange(0, std::max(0, total - viewport()->width()));
    horizontalScrollBar()->setPageStep(std::max(1, viewport()->width()));
}

// --- Painting ---

void CGridCtrl::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect clip = event->rect();
    painter.fillRect(clip, m_back);
    painter.setFont(font());
    // Scrolling rows first, so that the fixed rows draw over any partial row at the top.
    const int firstLine = std::max(0, clip.top() / m_rowHeight);
    const int lastLine = clip.bottom() / m_rowHeight;
    for (int line = std::max(firstLine, m_fixedRows); line <= lastLine; ++line) {
        const int row = TopRow() + line - m_fixedRows;
        if (row >= m_rowCount)
            break;
        PaintRow(painter, row, line * m_rowHeight, clip);
    }
    for (int row = firstLine; row < m_fixedRows && row <= lastLine; ++row)
        PaintRow(painter, row, row * m_rowHeight, clip);
}

void CGridCtrl::PaintRow(QPainter& painter, int row, int top, const QRect& clip) {
    const bool selected = IsRowSelected(row);
    const QPalette& palette = this->palette();
    const QColor selectedBack = palette.color(QPalette::Highlight);
    const QColor selectedText = palette.color(QPalette::HighlightedText);
    const QColor headingBack = m_back.darker(112);
    int fixedRight = 0;
    for (int c = 0; c < m_fixedColumns; ++c)
        fixedRight += ColumnWidth(c);

    // Scrolling columns first, then the fixed ones over them.
    for (int pass = 0; pass < 2; ++pass) {
        const int from = pass == 0 ? m_fixedColumns : 0;
        const int to = pass == 0 ? ColumnCount() : m_fixedColumns;
        for (int column = from; column < to; ++column) {
            const QRect cell(ColumnLeft(column), top, ColumnWidth(column), m_rowHeight);
            if (cell.width() <= 0 || !cell.intersects(clip) || cell.left() >= viewport()->width())
                continue;
            if (pass == 0 && cell.right() < fixedRight)
                continue;
            SGridCellState state;
            state.heading = row < m_fixedRows || column < m_fixedColumns;
            state.selected = selected && !state.heading;
            state.back = state.selected ? selectedBack : (state.heading ? headingBack : m_back);
            state.text = state.selected ? selectedText : m_text;
            painter.fillRect(cell, state.back);
            painter.save();
            painter.setClipRect(cell.intersected(clip));
            painter.setPen(state.text);
            if (auto it = m_cellPainters.find(column); it != m_cellPainters.end()) {
                it->second(painter, cell, row, state);
            } else if (m_source) {
                const QString text = m_source(row, column);
                if (!text.isEmpty())
                    painter.drawText(cell.adjusted(kTextMargin, 0, -kTextMargin, 0),
                                     Qt::AlignLeft | Qt::AlignVCenter, text);
            }
            painter.restore();
            if (m_gridLines) {
                painter.setPen(m_back.darker(130));
                painter.drawLine(cell.topRight(), cell.bottomRight());
                painter.drawLine(cell.bottomLeft(), cell.bottomRight());
            }
            if (hasFocus() && row == m_currentRow && column == m_currentColumn) {
                painter.setPen(QPen(state.text, 1, Qt::DotLine));
                painter.drawRect(cell.adjusted(0, 0, -1, -1));
            }
        }
    }
}

void CGridCtrl::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void CGridCtrl::scrollContentsBy(int, int) {
    viewport()->update();
}

// --- Input ---

void CGridCtrl::MoveTo(int row, int column, bool extend) {
    if (m_rowCount <= FirstSelectableRow())
        return;
    if (ColumnCount() > 0)
        m_currentColumn = std::clamp(column, 0, ColumnCount() - 1);
    row = std::clamp(row, FirstSelectableRow(), m_rowCount - 1);
    SetSelection(extend && m_hasSelection ? m_anchorRow : row, row);
    EnsureRowVisible(row);
}

void CGridCtrl::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    const QPoint point = event->position().toPoint();
    const int row = RowAt(point.y());
    const int column = ColumnAt(point.x());
    if (row < 0)
        return;
    if (row < m_fixedRows) {
        if (event->button() == Qt::LeftButton && column >= 0)
            emit HeadingClicked(column);
        return;
    }
    if (event->button() == Qt::RightButton) {
        // A right click on an unselected row makes that row the selection first.
        if (!IsRowSelected(row))
            MoveTo(row, column < 0 ? m_currentColumn : column, false);
        emit ContextMenuAt(event->globalPosition().toPoint());
        return;
    }
    if (event->button() == Qt::LeftButton) {
        const bool extend = event->modifiers() & Qt::ShiftModifier;
        MoveTo(row, column < 0 ? m_currentColumn : column, extend);
    }
}

void CGridCtrl::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton) || !m_hasSelection)
        return;
    const QPoint point = event->position().toPoint();
    // Dragging past the edges scrolls one row at a time.
    int row = RowAt(std::clamp(point.y(), 0, viewport()->height() - 1));
    if (point.y() >= viewport()->height())
        row = std::min(m_rowCount - 1, TopRow() + VisibleRows());
    else if (point.y() < m_fixedRows * m_rowHeight)
        row = TopRow() - 1;
    if (row >= 0)
        MoveTo(row, m_currentColumn, true);
}

void CGridCtrl::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
}

void CGridCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    const int row = RowAt(point.y());
    if (event->button() != Qt::LeftButton || row < m_fixedRows)
        return;
    MoveTo(row, ColumnAt(point.x()) < 0 ? m_currentColumn : ColumnAt(point.x()), false);
    emit CellDoubleClicked(row, m_currentColumn);
}

void CGridCtrl::keyPressEvent(QKeyEvent* event) {
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    const bool control = event->modifiers() & Qt::ControlModifier;
    const int current = m_hasSelection ? m_currentRow : FirstSelectableRow() - 1;
    const int page = std::max(1, VisibleRows() - 1);
    switch (event->key()) {
    case Qt::Key_Up:
        MoveTo(std::max(current - 1, FirstSelectableRow()), m_currentColumn, extend);
        break;
    case Qt::Key_Down:
        MoveTo(current + 1, m_currentColumn, extend);
        break;
    case Qt::Key_PageUp:
        MoveTo(current - page, m_currentColumn, extend);
        break;
    case Qt::Key_PageDown:
        MoveTo(current + page, m_currentColumn, extend);
        break;
    case Qt::Key_Home:
        if (control || ColumnCount() == 0)
            MoveTo(FirstSelectableRow(), m_currentColumn, extend);
        else
            MoveTo(current, 0, extend);
        break;
    case Qt::Key_End:
        if (control || ColumnCount() == 0)
            MoveTo(m_rowCount - 1, m_currentColumn, extend);
        else
            MoveTo(current, ColumnCount() - 1, extend);
        break;
    case Qt::Key_Left:
        if (m_currentColumn > 0) {
            --m_currentColumn;
            viewport()->update();
            NotifyCurrentCell(this, m_currentRow - m_fixedRows, m_currentColumn);
        }
        break;
    case Qt::Key_Right:
        if (m_currentColumn + 1 < ColumnCount()) {
            ++m_currentColumn;
            viewport()->update();
            NotifyCurrentCell(this, m_currentRow - m_fixedRows, m_currentColumn);
        }
        break;
    default:
        // Commands (Delete, F2, Enter ...) belong to the page that owns the grid.
        event->ignore();
        return;
    }
    event->accept();
}

} // namespace fitquill
