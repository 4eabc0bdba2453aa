// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/widgets/accessible_tables.h"

#include "desktop/document/stored_text.h"
#include "desktop/widgets/grid_ctrl.h"
#include "desktop/widgets/month_calendar.h"

namespace fitquill {
namespace {

class CGridTable : public IPaintedTable {
public:
    explicit CGridTable(CGridCtrl& grid) : m_grid(grid) {}

    int RowCount() const override { return std::max(0, m_grid.RowCount() - m_grid.FixedRows()); }
    int ColumnCount() const override { return m_grid.ColumnCount(); }
    bool HasHeaderRow() const override { return m_grid.FixedRows() > 0; }
    QString HeaderText(int column) const override {
        return m_grid.DrawnText(0, column).simplified();
    }
    QString CellText(int row, int column) const override {
        return m_grid.DrawnText(Row(row), column).simplified();
    }
    QRect CellRect(int row, int column) const override {
        QRect cell = m_grid.CellRect(Row(row), column);
        if (cell.isEmpty())
            return {};
        // The viewport shows a part of the last row or column: clip to what is seen.
        cell = cell.intersected(m_grid.viewport()->rect());
        if (cell.isEmpty())
            return {};
        return cell.translated(m_grid.viewport()->mapTo(&m_grid, QPoint(0, 0)));
    }
    bool IsCellSelected(int row, int) const override { return m_grid.IsRowSelected(Row(row)); }
    bool IsCurrentCell(int row, int column) const override {
        return m_grid.CurrentRow() == Row(row) && m_grid.CurrentColumn() == column;
    }
    bool SelectCell(int row, int column) override {
        if (row < 0 || row >= RowCount())
            return false;
        m_grid.SetCurrentCell(Row(row), column);
        return true;
    }

private:
    int Row(int row) const { return row + m_grid.FixedRows(); }

    CGridCtrl& m_grid;
};

class CCalendarTable : public IPaintedTable {
public:
    using Model = CCalendarModel;

    explicit CCalendarTable(CMonthCalendar& calendar) : m_calendar(calendar) {}

    int RowCount() const override { return m_calendar.Model().WeekRows(); }
    int ColumnCount() const override { return Model::kColumns; }
    bool HasHeaderRow() const override { return true; }
    QString HeaderText(int column) const override {
        return QString::fromLatin1(CJournalDate::WeekdayName(column));
    }
    QString CellText(int row, int column) const override {
        const Model& model = m_calendar.Model();
        const int day = model.DayAt(Model::kFirstWeekRow + row, column);
        if (day == 0)
            return {};
        return FromStored(CJournalDate(day, model.Month(), model.Year()).LongText());
    }
    QRect CellRect(int row, int column) const override {
        return CMonthCalendar::CellRect(Model::kFirstWeekRow + row, column);
    }
    bool IsCellSelected(int row, int column) const override {
        return m_calendar.IsSelectionShown() && IsCurrentCell(row, column);
    }
    bool IsCurrentCell(int row, int column) const override {
        const int day = m_calendar.Model().DayAt(Model::kFirstWeekRow + row, column);
        return day != 0 && day == m_calendar.Model().SelectedDay();
    }
    bool SelectCell(int row, int column) override {
        return m_calendar.ChooseDay(m_calendar.Model().DayAt(Model::kFirstWeekRow + row, column));
    }
    QString Caption() const override { return FromStored(m_calendar.Model().Title()); }

private:
    CMonthCalendar& m_calendar;
};

} // namespace

std::unique_ptr<IPaintedTable> MakeGridTable(CGridCtrl& grid) {
    return std::make_unique<CGridTable>(grid);
}

std::unique_ptr<IPaintedTable> MakeCalendarTable(CMonthCalendar& calendar) {
    return std::make_unique<CCalendarTable>(calendar);
}

} // namespace fitquill
