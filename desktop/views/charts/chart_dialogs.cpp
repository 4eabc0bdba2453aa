// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/charts/chart_dialogs.h"

#include "desktop/document/diet_data.h"
#include "desktop/views/charts/daily_chart_pane.h"
#include "desktop/views/charts/historic_weight_dialog.h"
#include "desktop/views/charts/history_chart_dialog.h"

#include <algorithm>

namespace fitquill {

CChartDialogs::CChartDialogs(CDietData& data, QObject* parent) : QObject(parent), m_data(data) {
    m_data.SetChartDialogs(this);
}

CChartDialogs::~CChartDialogs() {
    if (m_data.ChartDialogs() == this)
        m_data.SetChartDialogs(nullptr);
}

void CChartDialogs::ShowWeightChart(QWidget* parent, int duration) {
    m_data.ChartSettings().duration = duration == 0 ? 0 : 1;
    CHistoryChartDialog dialog(m_data, CHistoryChartDialog::kWeightChart, parent);
    dialog.exec();
}

void CChartDialogs::ShowHistogram(QWidget* parent, int nutrient) {
    m_data.ChartSettings().nutrient = std::clamp(nutrient, 0, 5);
    CHistoryChartDialog dialog(m_data, CHistoryChartDialog::kHistogram, parent);
    dialog.exec();
}

void CChartDialogs::ShowHistoricWeight(QWidget* parent) {
    CHistoricWeightDialog dialog(m_data, parent);
    dialog.exec();
}

QWidget* CChartDialogs::CreateDailyChart(QWidget* parent, std::function<void()> onClose) {
    return new CDailyChartPane(m_data, std::move(onClose), parent);
}

} // namespace fitquill
