// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessibleWidget>
#include <QHash>
#include <QString>

#include <memory>

namespace fitquill {

// What a table we paint ourselves (a grid, a month calendar) tells assistive technology. Rows
// and columns count the data cells only; the heading row, when there is one, is apart.
class IPaintedTable {
public:
    virtual ~IPaintedTable() = default;
    virtual int RowCount() const = 0;
    virtual int ColumnCount() const = 0;
    virtual bool HasHeaderRow() const = 0;
    virtual QString HeaderText(int column) const = 0;
    // The cell's text as the widget draws it, read when asked (rows may be virtual).
    virtual QString CellText(int row, int column) const = 0;
    // In widget coordinates; empty while the cell is scrolled away.
    virtual QRect CellRect(int row, int column) const = 0;
    virtual bool IsCellSelected(int row, int column) const = 0;
    virtual bool IsCurrentCell(int row, int column) const = 0;
    // Selects the cell's row as a click would; false when it cannot be selected.
    virtual bool SelectCell(int row, int column) = 0;
    // What the table shows as a whole (a calendar's month): its name when the widget has no
    // accessible name, else its description.
    virtual QString Caption() const { return {}; }
};

// A painted table as a table of cells, after Qt's own table: the header cells are the first
// children, then the cells row by row. Cells are light objects made when first asked for and
// dropped when the rows change; their names and states are read live from the widget.
class CPaintedTableAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    CPaintedTableAccessible(QWidget* widget, std::unique_ptr<IPaintedTable> table,
                            QAccessible::Role role = QAccessible::Table);
    ~CPaintedTableAccessible() override;

    QWidget* Widget() const { return widget(); }
    const IPaintedTable& Table() const { return *m_table; }
    IPaintedTable& Table() { return *m_table; }
    // The child index of a cell; header cells have row -1. -1 outside the table.
    int ChildIndex(int row, int column) const;

    // QAccessibleInterface
    void* interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text type) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    // QAccessibleTableInterface
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override;
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override;
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override;
    bool selectRow(int row) override;
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent* event) override;

private:
    void DropCells();

    std::unique_ptr<IPaintedTable> m_table;
    mutable QHash<int, QAccessible::Id> m_cells;
};

// Sent by the widgets: the current cell moved (a focus event while the widget has the keyboard,
// and a selection event), and the rows changed. Nothing is done while no client listens.
void NotifyCurrentCell(QWidget* widget, int row, int column);
void NotifyTableChanged(QWidget* widget);

} // namespace fitquill
