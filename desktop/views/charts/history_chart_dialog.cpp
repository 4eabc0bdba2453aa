// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/charts/history_chart_dialog.h"

#include "core/report/chart_description.h"
#include "desktop/document/diet_data.h"
#include "desktop/document/stored_text.h"
#include "desktop/views/charts/chart_painting.h"
#include "desktop/widgets/month_calendar.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include <algorithm>

namespace fitquill {
namespace {

constexpr QSize kAreaSize(290, 235);
const char* const kNutrients[] = {"Calories", "Carbs", "Protein", "Fiber", "Fat", "S.Fat"};

} // namespace

CHistoryChartDialog::CHistoryChartDialog(CDietData& data, EMode mode, QWidget* parent)
    : QDialog(parent), m_data(data), m_mode(mode), m_date(data.Journal().CurrentDate()) {
    setWindowTitle(mode == kWeightChart ? QStringLiteral("Weight Chart")
                                        : QStringLiteral("Histogram"));
    SChartSettings& settings = m_data.ChartSettings();

    m_calendar = new CMonthCalendar(this);
    m_calendar->SetDate(m_date);
    m_calendar->SetColors(m_data.GetTextColor(), m_data.GetBackColor());

    m_chart = new QComboBox(this);
    if (mode == kWeightChart) {
        m_chart->addItem(QStringLiteral("Weight"));
    } else {
        for (const char* name : kNutrients)
            m_chart->addItem(QString::fromLatin1(name));
        m_chart->setCurrentIndex(
            std::clamp(settings.nutrient, 0, static_cast<int>(kSeriesSaturatedFat)));
    }
    m_duration = new QComboBox(this);
    m_duration->addItems({QStringLiteral("Week"), QStringLiteral("Month")});
    m_duration->setCurrentIndex(settings.duration == 0 ? 0 : 1);
    m_style = new QComboBox(this);
    if (mode == kWeightChart) {
        m_style->addItems({QStringLiteral("Line"), QStringLiteral("Point")});
        m_style->setCurrentIndex(settings.style == kStylePoint ? 1 : 0);
    } else {
        for (int step : CHistogramScale::kSteps)
            m_style->addItem(QString::number(step));
    }

    m_period = new QLabel(this);
    m_period->setAlignment(Qt::AlignCenter);
    m_area = new CChartArea(
        kAreaSize, [this](QPainter& painter, const QRect& rect) { PaintChart(painter, rect); },
        this);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* lists = new QFormLayout;
    lists->addRow(QStringLiteral("Chart:"), m_chart);
    lists->addRow(QStringLiteral("Duration:"), m_duration);
    lists->addRow(mode == kWeightChart ? QStringLiteral("Style:") : QStringLiteral("Scale:"),
                  m_style);
    auto* left = new QVBoxLayout;
    left->addWidget(m_calendar, 0, Qt::AlignHCenter);
    left->addLayout(lists);
    left->addStretch(1);
    left->addWidget(close, 0, Qt::AlignHCenter);
    auto* right = new QVBoxLayout;
    right->addWidget(m_period);
    right->addWidget(m_area);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(right);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    Reload(true);

    connect(m_calendar, &CMonthCalendar::DayChosen, this,
            [this](const CJournalDate& date) { ShowDate(date); });
    connect(m_duration, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_data.ChartSettings().duration = index;
        Reload(false);
    });
    if (mode == kWeightChart) {
        connect(m_style, &QComboBox::currentIndexChanged, this, [this](int index) {
            m_data.ChartSettings().style = index;
            m_area->update();
        });
    } else {
        connect(m_chart, &QComboBox::currentIndexChanged, this, [this](int index) {
            m_data.ChartSettings().nutrient = index;
            Reload(true);
        });
        connect(m_style, &QComboBox::currentIndexChanged, this, [this](int index) {
            if (index < 0)
                return;
            m_scale = CHistogramScale(CHistogramScale::kSteps[static_cast<size_t>(index)]);
            m_area->update();
        });
    }
}

void CHistoryChartDialog::ShowDate(const CJournalDate& date) {
    m_date = date;
    m_calendar->SetDate(date);
    Reload(false);
}

void CHistoryChartDialog::Reload(bool newStep) {
    const int type = m_mode == kWeightChart ? kSeriesWeight : m_chart->currentIndex();
    const uint16_t month = m_duration->currentIndex() == 1 ? 1 : 0;
    m_series.RequestAt(m_data.Journal(), type, month, m_date);
    m_period->setText(
        FromStored(fitquill::PeriodLabel(month != 0, m_series.PeriodStart(), m_series.DayCount())));
    std::vector<float> values;
    for (int day = 0; day < m_series.DayCount(); ++day)
        values.push_back(m_series.Value(day));
    m_area->setAccessibleName(m_chart->currentText() + QStringLiteral(", ") + m_period->text());
    m_area->setAccessibleDescription(
        FromStored(ChartDescription(values, m_series.PeriodStart(), m_mode == kHistogram)));
    if (m_mode == kHistogram && newStep) {
        m_scale =
            CHistogramScale(CHistogramScale::StepFor(m_series.Maximum(), m_series.HasNoValues()));
        const QSignalBlocker quiet(m_style);
        m_style->setCurrentIndex(CHistogramScale::StepIndex(m_scale.Step()));
    }
    m_area->update();
}

void CHistoryChartDialog::PaintChart(QPainter& painter, const QRect& rect) {
    const SChartColours colours{m_data.GetTextColor(), m_data.GetBackColor()};
    if (m_mode == kWeightChart)
        DrawPeriodWeightChart(painter, rect, m_series, m_style->currentIndex(), colours);
    else
        DrawHistogram(painter, rect, m_series, m_scale, colours);
}

} // namespace fitquill
