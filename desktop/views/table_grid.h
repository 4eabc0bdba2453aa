// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/views/table_renderer.h"
#include "desktop/widgets/grid_ctrl.h"

#include <string>
#include <vector>

class QComboBox;

namespace fitquill {

class CDietData;

// A journal table on the grid control: one row per day record under the headings, at least
// 72 rows, texts from the table renderer. A click on the "Date" heading flips the sort
// direction that both tables share. Painting moves the journal through the days; the current
// day is put back after every paint, so the other pages never see it move.
class CTableGrid : public CGridCtrl {
    Q_OBJECT

public:
    CTableGrid(CDietData& data, CTableRenderer::EKind kind, QWidget* parent = nullptr);

    // Re-reads the day count and repaints.
    void Reload();
    CTableRenderer& Renderer() { return m_renderer; }

protected:
    void paintEvent(QPaintEvent* event) override;
    // The second click of a quick pair on a heading is a click too: it flips the sort back.
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QString CellText(int row, int column);

    CDietData& m_data;
    CTableRenderer m_renderer;
    STableRange m_range;
    // The texts of the row being painted; rows are asked for cell by cell.
    int m_cachedRow = -1;
    std::vector<std::string> m_cachedTexts;
};

// The "Summary Table" page.
class CSummaryGrid : public CTableGrid {
    Q_OBJECT

public:
    explicit CSummaryGrid(CDietData& data, QWidget* parent = nullptr);
};

// The grid of the "Nutrient Tables" page; the nutrient is the document's nutrient-table setting.
class CNutrientGrid : public CTableGrid {
    Q_OBJECT

public:
    explicit CNutrientGrid(CDietData& data, QWidget* parent = nullptr);
};

// The "Nutrient Tables" page: the nutrient drop-down list above the nutrient grid.
class CNutrientTablesPage : public QWidget {
    Q_OBJECT

public:
    explicit CNutrientTablesPage(CDietData& data, QWidget* parent = nullptr);

    QComboBox* NutrientList() const { return m_list; }
    CNutrientGrid* Grid() const { return m_grid; }

private:
    CDietData& m_data;
    QComboBox* m_list = nullptr;
    CNutrientGrid* m_grid = nullptr;
};

} // namespace fitquill
