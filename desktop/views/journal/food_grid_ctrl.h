// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/report/meal_log_rows.h"
#include "desktop/widgets/command_target.h"
#include "desktop/widgets/grid_ctrl.h"

namespace fitquill {

class CDietData;

// The "Meal Log" page: the current day's food entries, two text lines per row, with the
// day's totals and a hint, in the document's sort mode. Row 0 is the heading row; rows 1..n
// are the food rows (meal headings and entries), then "Totals" and the hint; the grid always
// has at least kMinimumRows rows. It handles the meal log's commands while it has the focus.
class CFoodGridCtrl : public CGridCtrl, public ICommandTarget {
    Q_OBJECT

public:
    static constexpr int kMinimumRows = 41;
    static constexpr int kNumberColumnWidth = 32;

    explicit CFoodGridCtrl(CDietData& data, QWidget* parent = nullptr);
    ~CFoodGridCtrl() override;

    // 0 calories, carbohydrate, protein; 1 fiber, fat, saturated fat. Lasts for the run and is
    // shared by every meal log grid.
    static int NutrientToggle();

    // Re-reads the day and repaints.
    void Refresh();
    // The number of food rows (meal headings and entries) of the current day.
    int FoodRowCount() const;
    // Whether the selection lies within the food rows.
    bool SelectionWithinFoodRows() const;
    // The texts of a row as the grid draws them.
    SMealLogRow RowTexts(int row) const;

    bool QueryCommand(int id, bool& enabled) override;
    bool ExecuteCommand(int id) override;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void InsertFood();
    void EditFood();
    void DeleteFoods();
    void CopyFoods(bool cut);
    void PasteFoods();
    void SetSortMode(int mode);
    bool CurrentRowIsEntry() const;
    void ApplyColors();
    void UpdateColumnWidths();
    void ShowContextMenu(const QPoint& globalPos);
    // Selects the food row at a display position and focuses the grid.
    void SelectPosition(int position);

    CDietData& m_data;
    CMealLogRowRenderer m_rows{false};
};

} // namespace fitquill
