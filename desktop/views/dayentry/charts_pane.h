// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/views/dayentry/day_entry_pane.h"

class QPushButton;
class QStackedWidget;

namespace fitquill {

// "Charts": buttons that open the weight charts and the nutrient histograms, and the "Daily"
// weight-for-height pane in place of the buttons.
class CChartsPane : public CDayEntryPane {
    Q_OBJECT

public:
    explicit CChartsPane(CDietData& data, QWidget* parent = nullptr);

    QWidget* FirstControl() override;
    // The buttons are shown again (the daily chart's Close does this).
    void ShowButtons();
    QPushButton* Button(const QString& text) const;
    bool IsDailyChartShown() const;

private:
    // Runs a chart action when the chart dialogs exist; tells the user otherwise.
    template <typename Action> void WithCharts(const QString& caption, Action action);

    QStackedWidget* m_stack = nullptr;
    QWidget* m_buttons = nullptr;
    QWidget* m_daily = nullptr;
};

} // namespace fitquill
