// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/table_grid.h"

#include "desktop/document/diet_data.h"
#include "desktop/document/stored_text.h"
#include "desktop/widgets/fonts.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace fitquill {

namespace {

constexpr int kRowPadding = 4;
constexpr int kDateColumn = 1;

} // namespace

CTableGrid::CTableGrid(CDietData& data, CTableRenderer::EKind kind, QWidget* parent)
    : CGridCtrl(parent), m_data(data), m_renderer(data, kind) {
    setFont(CustomFont());
    SetRowHeight(QFontMetrics(font()).height() + kRowPadding);
    SetColumnCount(m_renderer.ColumnCount());
    for (int column = 0; column < m_renderer.ColumnCount(); ++column)
        SetColumnWidth(column, CTableRenderer::ColumnWidth(column));
    SetTextSource([this](int row, int column) { return CellText(row, column); });
    SetColors(m_data.GetTextColor(), m_data.GetBackColor());
    // The grid keeps no more fixed rows than it has rows.
    Reload();
    SetFixedRows(1);
    SetFixedColumns(1);
    SetCurrentCell(1, kDateColumn);

    connect(this, &CGridCtrl::HeadingClicked, this, [this](int column) {
        if (column != kDateColumn)
            return;
        CTableRenderer::SetNewestFirst(!CTableRenderer::NewestFirst());
        viewport()->update();
    });
    connect(&m_data, &CDietData::RefreshViewsSent, this, &CTableGrid::Reload);
    connect(&m_data, &CDietData::DayEditedSent, this, &CTableGrid::Reload);
    connect(&m_data, &CDietData::ColorsChanged, this, [this] {
        SetColors(m_data.GetTextColor(), m_data.GetBackColor());
        viewport()->update();
    });
}

void CTableGrid::Reload() {
    m_range = AllDaysRange(m_data.Journal());
    SetRowCount(TableRowCount(m_range));
    viewport()->update();
}

QString CTableGrid::CellText(int row, int column) {
    if (row != m_cachedRow) {
        m_cachedTexts = m_renderer.RowTexts(m_range, row);
        m_cachedRow = row;
    }
    if (column < 0 || column >= static_cast<int>(m_cachedTexts.size()))
        return {};
    return FromStored(m_cachedTexts[static_cast<size_t>(column)]);
}

void CTableGrid::paintEvent(QPaintEvent* event) {
    CKeepCurrentDay keep(m_data.Journal());
    m_cachedRow = -1;
    CGridCtrl::paintEvent(event);
    m_cachedRow = -1;
}

void CTableGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    const int row = RowAt(point.y());
    if (event->button() == Qt::LeftButton && row >= 0 && row < FixedRows()) {
        if (const int column = ColumnAt(point.x()); column >= 0)
            emit HeadingClicked(column);
        return;
    }
    CGridCtrl::mouseDoubleClickEvent(event);
}

CSummaryGrid::CSummaryGrid(CDietData& data, QWidget* parent)
    : CTableGrid(data, CTableRenderer::EKind::Summary, parent) {
    setObjectName(QStringLiteral("SummaryGrid"));
    setAccessibleName(QStringLiteral("Summary Table"));
}

CNutrientGrid::CNutrientGrid(CDietData& data, QWidget* parent)
    : CTableGrid(data, CTableRenderer::EKind::Nutrient, parent) {
    setObjectName(QStringLiteral("NutrientGrid"));
    setAccessibleName(QStringLiteral("Nutrient Tables"));
}

CNutrientTablesPage::CNutrientTablesPage(CDietData& data, QWidget* parent)
    : QWidget(parent), m_data(data) {
    setObjectName(QStringLiteral("NutrientTablesPage"));
    m_list = new QComboBox(this);
    m_list->setFont(CustomFont());
    for (const char* name : kNutrientTableNames)
        m_list->addItem(QString::fromLatin1(name));
    m_list->setCurrentIndex(std::clamp(m_data.NutrientTable(), 0, kNutrientTableCount - 1));
    m_grid = new CNutrientGrid(data, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list, 0, Qt::AlignLeft);
    layout->addWidget(m_grid, 1);
    setFocusProxy(m_grid);

    connect(m_list, &QComboBox::activated, this, [this](int index) {
        m_data.SetNutrientTable(index);
        m_grid->viewport()->update();
    });
    // The setting is read from the settings after the page is built (with the colours).
    auto followSetting = [this] {
        m_list->setCurrentIndex(std::clamp(m_data.NutrientTable(), 0, kNutrientTableCount - 1));
    };
    connect(&m_data, &CDietData::RefreshViewsSent, this, followSetting);
    connect(&m_data, &CDietData::ColorsChanged, this, followSetting);
}

} // namespace fitquill
