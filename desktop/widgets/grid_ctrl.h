// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QString>

#include <functional>
#include <map>
#include <vector>

class QPainter;

namespace fitquill {

// How an owner-drawn cell is to look.
struct SGridCellState {
    bool selected = false; // the cell's row is in the selection
    bool heading = false;  // the cell lies in a fixed row or column
    QColor text;           // the colour to draw text in (already the selected one when selected)
    QColor back;           // the background, already filled
};

// The program's grid: rows of cells under fixed heading rows, with whole-row selection (one
// contiguous range of rows from a first to a last selected row), a current cell, keyboard and
// mouse selection and scrolling. Rows are virtual: the grid keeps no cell texts and asks its
// text source for the cells of a row only while painting that row, so a long journal costs
// nothing until it is shown. Row heights are uniform; columns have their own widths.
class CGridCtrl : public QAbstractScrollArea {
    Q_OBJECT

public:
    using TextSource = std::function<QString(int row, int column)>;
    using CellPainter =
        std::function<void(QPainter& painter, const QRect& cell, int row, const SGridCellState&)>;

    explicit CGridCtrl(QWidget* parent = nullptr);

    // --- Shape ---
    void SetRowCount(int rows);
    int RowCount() const { return m_rowCount; }
    void SetColumnCount(int columns);
    int ColumnCount() const { return static_cast<int>(m_columnWidths.size()); }
    // Rows at the top and columns at the left that do not scroll, are drawn as headings and
    // cannot be selected.
    void SetFixedRows(int rows);
    int FixedRows() const { return m_fixedRows; }
    void SetFixedColumns(int columns);
    int FixedColumns() const { return m_fixedColumns; }
    void SetColumnWidth(int column, int width);
    int ColumnWidth(int column) const;
    void SetRowHeight(int height);
    int RowHeight() const { return m_rowHeight; }

    // --- Content ---
    // Asked for a cell's text only while its row is painted.
    void SetTextSource(TextSource source);
    // Draws a column's cells itself instead of the text source (its background is filled).
    void SetCellPainter(int column, CellPainter painter);
    void SetColors(const QColor& text, const QColor& back);
    // What assistive technology reads for an owner-drawn column's cells (the text source's
    // texts serve the other columns).
    void SetCellDescriber(int column, TextSource describer);
    // A cell's text as drawn: the describer's for owner-drawn columns, else the text source's.
    QString DrawnText(int row, int column) const;
    // Whether the grid draws lines between cells (on by default).
    void SetGridLines(bool on);

    // --- Selection and current cell (row -1: none) ---
    // Selects rows first..last (clamped to the selectable rows) and makes `last` current.
    void SelectRows(int first, int last);
    void ClearSelection();
    int FirstSelectedRow() const;
    int LastSelectedRow() const;
    bool IsRowSelected(int row) const;
    void SetCurrentCell(int row, int column);
    int CurrentRow() const { return m_currentRow; }
    int CurrentColumn() const { return m_currentColumn; }

    // --- Scrolling and geometry ---
    void EnsureRowVisible(int row);
    int TopRow() const; // first scrolling row shown
    // The number of scrolling rows that fit the viewport whole.
    int VisibleRows() const;
    // A cell's rectangle in viewport coordinates (empty when the cell is scrolled away).
    QRect CellRect(int row, int column) const;
    // The row and column under a viewport point, -1 when none.
    int RowAt(int y) const;
    int ColumnAt(int x) const;

signals:
    void SelectionChanged();
    void CellDoubleClicked(int row, int column);
    // A fixed heading row was clicked in this column.
    void HeadingClicked(int column);
    // Right button pressed at a viewport point (after the row under it was selected).
    void ContextMenuAt(const QPoint& globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    int ColumnLeft(int column) const; // viewport x, scrolled columns shifted
    int RowTop(int row) const;        // viewport y, -1 for scrolled-away rows
    int FirstSelectableRow() const { return m_fixedRows; }
    // Moves the current row to `row` (clamped), extending from the anchor when `extend`.
    void MoveTo(int row, int column, bool extend);
    void SetSelection(int anchor, int current);
    void UpdateScrollBars();
    void PaintRow(QPainter& painter, int row, int top, const QRect& clip);

    int m_rowCount = 0;
    int m_fixedRows = 0;
    int m_fixedColumns = 0;
    int m_rowHeight = 16;
    std::vector<int> m_columnWidths;
    TextSource m_source;
    std::map<int, CellPainter> m_cellPainters;
    std::map<int, TextSource> m_describers;
    QColor m_text{0, 0, 0};
    QColor m_back{255, 255, 255};
    bool m_gridLines = true;
    // The selection runs between the anchor and the current row; -1 when there is none.
    int m_anchorRow = -1;
    int m_currentRow = -1;
    int m_currentColumn = -1;
    bool m_hasSelection = false;
};

} // namespace fitquill
