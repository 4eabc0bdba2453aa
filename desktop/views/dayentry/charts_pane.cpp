// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/dayentry/charts_pane.h"

#include "desktop/document/diet_data.h"
#include "desktop/document/prompt.h"
#include "desktop/document/view_services.h"
#include "desktop/widgets/commands.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace fitquill {

CChartsPane::CChartsPane(CDietData& data, QWidget* parent)
    : CDayEntryPane(data, QStringLiteral("Charts"), parent) {
    m_stack = new QStackedWidget(this);
    m_buttons = new QWidget(m_stack);
    auto* layout = new QGridLayout(m_buttons);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* weightText =
        new QLabel(QStringLiteral("Use the following charts to track your weight."), m_buttons);
    weightText->setWordWrap(true);
    layout->addWidget(weightText, 0, 0, 1, 2);
    const char* weightButtons[] = {"Daily", "Weekly", "Monthly", "Long Range"};
    for (int i = 0; i < 4; ++i) {
        auto* button = new QPushButton(QString::fromLatin1(weightButtons[i]), m_buttons);
        layout->addWidget(button, 1 + i / 2, i % 2);
        connect(button, &QPushButton::clicked, this, [this, i] {
            const QString caption = QStringLiteral("Charts");
            WithCharts(caption, [this, i](IChartDialogs& charts) {
                if (i == 0) {
                    delete m_daily;
                    m_daily = charts.CreateDailyChart(m_stack, [this] { ShowButtons(); });
                    if (m_daily) {
                        m_stack->addWidget(m_daily);
                        m_stack->setCurrentWidget(m_daily);
                    }
                } else if (i == 3) {
                    charts.ShowHistoricWeight(window());
                } else {
                    charts.ShowWeightChart(window(), i - 1);
                }
            });
        });
    }
    auto* nutrientText = new QLabel(
        QStringLiteral("Use the following histograms to monitor nutrient intake."), m_buttons);
    nutrientText->setWordWrap(true);
    layout->addWidget(nutrientText, 3, 0, 1, 2);
    const char* nutrientButtons[] = {"Calories", "Carbohydrates", "Protein",
                                     "Fiber",    "Fat",           "Saturated Fat"};
    for (int i = 0; i < 6; ++i) {
        auto* button = new QPushButton(QString::fromLatin1(nutrientButtons[i]), m_buttons);
        layout->addWidget(button, 4 + i / 2, i % 2);
        connect(button, &QPushButton::clicked, this, [this, i] {
            WithCharts(QStringLiteral("Charts"),
                       [this, i](IChartDialogs& charts) { charts.ShowHistogram(window(), i); });
        });
    }
    layout->setRowStretch(7, 1);
    m_stack->addWidget(m_buttons);
    Body()->addWidget(m_stack, 1);
    Refresh();
}

template <typename Action> void CChartsPane::WithCharts(const QString& caption, Action action) {
    IChartDialogs* charts = m_data.ChartDialogs();
    if (!charts) {
        ShowPrompt(window(), caption, NotAvailableText(0), EPromptIcon::Information,
                   EPromptButtons::Ok);
        return;
    }
    action(*charts);
}

QWidget* CChartsPane::FirstControl() {
    return m_stack->currentWidget() == m_buttons ? Button(QStringLiteral("Daily"))
                                                 : m_stack->currentWidget();
}

void CChartsPane::ShowButtons() {
    m_stack->setCurrentWidget(m_buttons);
    if (m_daily) {
        m_daily->deleteLater();
        m_daily = nullptr;
    }
}

QPushButton* CChartsPane::Button(const QString& text) const {
    for (QPushButton* button : m_buttons->findChildren<QPushButton*>())
        if (button->text() == text)
            return button;
    return nullptr;
}

bool CChartsPane::IsDailyChartShown() const {
    return m_daily && m_stack->currentWidget() == m_daily;
}

} // namespace fitquill
