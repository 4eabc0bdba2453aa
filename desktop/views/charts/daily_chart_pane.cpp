// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/charts/daily_chart_pane.h"

#include "core/report/weight_for_height.h"
#include "desktop/document/diet_data.h"
#include "desktop/views/charts/chart_painting.h"
#include "desktop/widgets/fonts.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace fitquill {
namespace {

// It shares the narrow column of the day entry tabs: it grows and shrinks with the pane.
constexpr QSize kAreaSize(280, 300);

} // namespace

CDailyChartPane::CDailyChartPane(CDietData& data, std::function<void()> onClose, QWidget* parent)
    : QWidget(parent), m_data(data) {
    m_caption = new QLabel(this);
    m_caption->setFont(CustomFont());
    m_caption->setAlignment(Qt::AlignCenter);
    m_area = new CChartArea(
        kAreaSize,
        [this](QPainter& painter, const QRect& rect) {
            const SDailyChartData chart = ChartData();
            const SChartColours colours{m_data.GetTextColor(), m_data.GetBackColor()};
            if (!chart.height || !chart.weight || !chart.goal) {
                painter.fillRect(rect, colours.back);
                painter.setFont(CustomFont());
                painter.setPen(colours.text);
                painter.drawText(rect.adjusted(10, 10, -10, -10),
                                 Qt::AlignCenter | Qt::TextWordWrap,
                                 QString::fromLatin1(kWeightForHeightMissingText));
                return;
            }
            DrawWeightForHeight(painter, rect, CWeightForHeightChart(chart.sex, chart.metric),
                                *chart.height, *chart.weight, *chart.goal, colours);
        },
        this, true);
    m_close = new QPushButton(QStringLiteral("Close"), this);
    connect(m_close, &QPushButton::clicked, this, [onClose = std::move(onClose)] {
        if (onClose)
            onClose();
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_caption);
    layout->addWidget(m_area, 1);
    layout->addWidget(m_close, 0, Qt::AlignHCenter);

    for (auto signal : {&CDietData::RefreshViewsSent, &CDietData::DayChangedSent,
                        &CDietData::WeightChangedSent, &CDietData::ColorsChanged})
        connect(&m_data, signal, this, &CDailyChartPane::Refresh);
    Refresh();
}

SDailyChartData CDailyChartPane::ChartData() const {
    const CJournalDB& journal = m_data.Journal();
    const CUserProfile& profile = journal.Profile();
    SDailyChartData chart;
    chart.sex = profile.Sex();
    chart.metric = profile.IsMetric();
    if (profile.Height().IsSet() && profile.Height().Inches() > 0)
        chart.height = chart.metric ? profile.Height().Inches() * kCentimetresPerInch
                                    : profile.Height().Inches();
    if (const auto weight = journal.CurrentWeight())
        chart.weight = weight->Get(chart.metric);
    chart.goal = profile.GoalWeight().Get(chart.metric);
    return chart;
}

void CDailyChartPane::Refresh() {
    const SDailyChartData chart = ChartData();
    m_caption->setText(
        QString::fromLatin1(CWeightForHeightChart(chart.sex, chart.metric).Caption()));
    m_area->setAccessibleName(m_caption->text());
    const QString unit = chart.metric ? QStringLiteral("kg") : QStringLiteral("lbs");
    m_area->setAccessibleDescription(
        !chart.height || !chart.weight || !chart.goal
            ? QString::fromLatin1(kWeightForHeightMissingText)
            : QStringLiteral("height %1 %2, weight %3 %4, goal %5 %4")
                  .arg(*chart.height, 0, 'f', 0)
                  .arg(chart.metric ? QStringLiteral("cm") : QStringLiteral("in"))
                  .arg(*chart.weight, 0, 'f', 1)
                  .arg(unit)
                  .arg(*chart.goal, 0, 'f', 1));
    m_area->update();
}

} // namespace fitquill
