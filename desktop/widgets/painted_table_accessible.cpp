// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/widgets/painted_table_accessible.h"

#include <QPointer>
#include <QWidget>

namespace fitquill {
namespace {

// One cell (row -1: a header cell). It keeps only its position, so it stays right while the
// table's texts change; a position past the table makes it invalid.
class CPaintedCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    CPaintedCellAccessible(CPaintedTableAccessible* table, int row, int column)
        : m_table(table), m_widget(table->Widget()), m_row(row), m_column(column) {}

    bool isValid() const override {
        if (!m_widget || !m_table->isValid())
            return false;
        const IPaintedTable& t = m_table->Table();
        const bool rowExists = m_row < 0 ? t.HasHeaderRow() : m_row < t.RowCount();
        return rowExists && m_column >= 0 && m_column < t.ColumnCount();
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_table->window(); }
    QAccessibleInterface* parent() const override { return m_table; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text type) const override {
        if (type != QAccessible::Name || !isValid())
            return {};
        const IPaintedTable& t = m_table->Table();
        return m_row < 0 ? t.HeaderText(m_column) : t.CellText(m_row, m_column);
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        if (!isValid())
            return {};
        const QRect local = m_row < 0 ? QRect() : m_table->Table().CellRect(m_row, m_column);
        if (local.isEmpty())
            return {};
        return QRect(m_widget->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override {
        return m_row < 0 ? QAccessible::ColumnHeader : QAccessible::Cell;
    }
    QAccessible::State state() const override {
        QAccessible::State st;
        if (!isValid()) {
            st.invalid = true;
            return st;
        }
        if (m_row < 0)
            return st;
        const IPaintedTable& t = m_table->Table();
        st.selectable = true;
        st.focusable = true;
        st.selected = t.IsCellSelected(m_row, m_column);
        st.focused = m_widget->hasFocus() && t.IsCurrentCell(m_row, m_column);
        if (t.CellRect(m_row, m_column).isEmpty()) {
            st.invisible = true;
            st.offscreen = true;
        }
        return st;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableCellInterface
                   ? static_cast<QAccessibleTableCellInterface*>(this)
                   : nullptr;
    }

    // QAccessibleTableCellInterface
    bool isSelected() const override {
        return isValid() && m_row >= 0 && m_table->Table().IsCellSelected(m_row, m_column);
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override {
        if (m_row < 0 || !m_table->Table().HasHeaderRow())
            return {};
        return {m_table->child(m_table->ChildIndex(-1, m_column))};
    }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return m_column; }
    int rowIndex() const override { return m_row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return m_table; }

private:
    CPaintedTableAccessible* m_table;
    QPointer<QWidget> m_widget;
    int m_row;
    int m_column;
};

} // namespace

CPaintedTableAccessible::CPaintedTableAccessible(QWidget* widget,
                                                 std::unique_ptr<IPaintedTable> table,
                                                 QAccessible::Role role)
    : QAccessibleWidget(widget, role), m_table(std::move(table)) {}

CPaintedTableAccessible::~CPaintedTableAccessible() {
    DropCells();
}

void CPaintedTableAccessible::DropCells() {
    for (QAccessible::Id id : std::as_const(m_cells))
        QAccessible::deleteAccessibleInterface(id);
    m_cells.clear();
}

void* CPaintedTableAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString CPaintedTableAccessible::text(QAccessible::Text type) const {
    const QString own = QAccessibleWidget::text(type);
    if (type == QAccessible::Name && own.isEmpty())
        return m_table->Caption();
    if (type == QAccessible::Description && own.isEmpty() && !widget()->accessibleName().isEmpty())
        return m_table->Caption();
    return own;
}

int CPaintedTableAccessible::ChildIndex(int row, int column) const {
    const int columns = m_table->ColumnCount();
    const int headers = m_table->HasHeaderRow() ? columns : 0;
    if (column < 0 || column >= columns || row >= m_table->RowCount())
        return -1;
    if (row < 0)
        return headers > 0 ? column : -1;
    return headers + row * columns + column;
}

int CPaintedTableAccessible::childCount() const {
    const int columns = m_table->ColumnCount();
    return (m_table->HasHeaderRow() ? columns : 0) + m_table->RowCount() * columns;
}

QAccessibleInterface* CPaintedTableAccessible::child(int index) const {
    const int columns = m_table->ColumnCount();
    if (index < 0 || index >= childCount() || columns == 0)
        return nullptr;
    if (auto it = m_cells.constFind(index); it != m_cells.constEnd())
        return QAccessible::accessibleInterface(*it);
    const int headers = m_table->HasHeaderRow() ? columns : 0;
    const int row = index < headers ? -1 : (index - headers) / columns;
    const int column = index < headers ? index : (index - headers) % columns;
    auto* cell =
        new CPaintedCellAccessible(const_cast<CPaintedTableAccessible*>(this), row, column);
    m_cells.insert(index, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

int CPaintedTableAccessible::indexOfChild(const QAccessibleInterface* child) const {
    if (!child || child->parent() != this)
        return -1;
    const auto* cell = const_cast<QAccessibleInterface*>(child)->tableCellInterface();
    return cell ? ChildIndex(cell->rowIndex(), cell->columnIndex()) : -1;
}

QAccessibleInterface* CPaintedTableAccessible::childAt(int x, int y) const {
    const QPoint local = widget()->mapFromGlobal(QPoint(x, y));
    for (int row = 0; row < m_table->RowCount(); ++row)
        for (int column = 0; column < m_table->ColumnCount(); ++column)
            if (m_table->CellRect(row, column).contains(local))
                return child(ChildIndex(row, column));
    return nullptr;
}

QAccessibleInterface* CPaintedTableAccessible::focusChild() const {
    if (!widget()->hasFocus())
        return nullptr;
    for (int row = 0; row < m_table->RowCount(); ++row)
        for (int column = 0; column < m_table->ColumnCount(); ++column)
            if (m_table->IsCurrentCell(row, column))
                return child(ChildIndex(row, column));
    return nullptr;
}

QAccessibleInterface* CPaintedTableAccessible::cellAt(int row, int column) const {
    if (row < 0)
        return nullptr;
    return child(ChildIndex(row, column));
}

int CPaintedTableAccessible::columnCount() const {
    return m_table->ColumnCount();
}

int CPaintedTableAccessible::rowCount() const {
    return m_table->RowCount();
}

QString CPaintedTableAccessible::columnDescription(int column) const {
    return m_table->HasHeaderRow() ? m_table->HeaderText(column) : QString();
}

QList<int> CPaintedTableAccessible::selectedRows() const {
    // A row counts as selected when its cells are (the grids select whole rows).
    QList<int> rows;
    for (int row = 0; row < m_table->RowCount(); ++row)
        if (isRowSelected(row))
            rows.append(row);
    return rows;
}

int CPaintedTableAccessible::selectedRowCount() const {
    return static_cast<int>(selectedRows().size());
}

bool CPaintedTableAccessible::isRowSelected(int row) const {
    for (int column = 0; column < m_table->ColumnCount(); ++column)
        if (!m_table->IsCellSelected(row, column))
            return false;
    return m_table->ColumnCount() > 0 && row >= 0 && row < m_table->RowCount();
}

int CPaintedTableAccessible::selectedCellCount() const {
    return static_cast<int>(selectedCells().size());
}

QList<QAccessibleInterface*> CPaintedTableAccessible::selectedCells() const {
    QList<QAccessibleInterface*> cells;
    for (int row = 0; row < m_table->RowCount(); ++row)
        for (int column = 0; column < m_table->ColumnCount(); ++column)
            if (m_table->IsCellSelected(row, column))
                cells.append(child(ChildIndex(row, column)));
    return cells;
}

bool CPaintedTableAccessible::selectRow(int row) {
    return row >= 0 && row < m_table->RowCount() && m_table->SelectCell(row, 0);
}

void CPaintedTableAccessible::modelChange(QAccessibleTableModelChangeEvent*) {
    // Positions may now mean other rows: clients ask for the cells anew.
    DropCells();
}

void NotifyCurrentCell(QWidget* widget, int row, int column) {
    if (!QAccessible::isActive())
        return;
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    auto* table = iface ? iface->tableInterface() : nullptr;
    QAccessibleInterface* cell = table ? table->cellAt(row, column) : nullptr;
    if (!cell)
        return;
    const int index = iface->indexOfChild(cell);
    if (widget->hasFocus()) {
        QAccessibleEvent focus(widget, QAccessible::Focus);
        focus.setChild(index);
        QAccessible::updateAccessibility(&focus);
    }
    QAccessibleEvent selection(widget, QAccessible::Selection);
    selection.setChild(index);
    QAccessible::updateAccessibility(&selection);
}

void NotifyTableChanged(QWidget* widget) {
    if (!QAccessible::isActive())
        return;
    QAccessibleTableModelChangeEvent event(widget, QAccessibleTableModelChangeEvent::ModelReset);
    QAccessible::updateAccessibility(&event);
}

} // namespace fitquill
