// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/charts/historic_weight_dialog.h"

#include "core/report/chart_description.h"
#include "desktop/document/diet_data.h"
#include "desktop/document/stored_text.h"
#include "desktop/document/wait_cursor.h"
#include "desktop/views/charts/chart_painting.h"
#include "desktop/widgets/month_calendar.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QGridLayout>
#include <QPushButton>

#include <algorithm>

namespace fitquill {
namespace {

constexpr QSize kAreaSize(600, 360);
const char* const kPeriodButtons[] = {"7 Day",   "14 Day", "1 Month", "3 Month",
                                      "6 Month", "1 Year", "5 Year"};

} // namespace

CHistoricWeightDialog::CHistoricWeightDialog(CDietData& data, QWidget* parent)
    : QDialog(parent), m_data(data), m_date(data.Journal().CurrentDate()), m_renderer(data) {
    m_calendar = new CMonthCalendar(this);
    m_calendar->SetDate(m_date);
    m_calendar->SetColors(m_data.GetTextColor(), m_data.GetBackColor());
    m_area = new CChartArea(
        kAreaSize,
        [this](QPainter& painter, const QRect& rect) { m_renderer.Paint(painter, rect); }, this);

    auto* buttons = new QGridLayout;
    for (int period = 0; period < kPeriodCount; ++period) {
        auto* button = new QPushButton(QString::fromLatin1(kPeriodButtons[period]), this);
        button->setAutoDefault(false);
        m_buttons[static_cast<size_t>(period)] = button;
        buttons->addWidget(button, period / 2, period % 2);
        connect(button, &QPushButton::clicked, this, [this, period] {
            m_data.ChartSettings().historicPeriod = period;
            Redraw();
        });
    }
    m_trend = new QCheckBox(QStringLiteral("Trend"), this);
    m_trend->setChecked(m_data.ChartSettings().historicTrend);
    buttons->addWidget(m_trend, 3, 1);
    connect(m_trend, &QCheckBox::toggled, this, [this](bool on) {
        m_data.ChartSettings().historicTrend = on;
        Redraw();
    });

    auto* left = new QVBoxLayout;
    left->addWidget(m_calendar, 0, Qt::AlignHCenter);
    left->addLayout(buttons);
    left->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(m_area);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_calendar, &CMonthCalendar::DayChosen, this,
            [this](const CJournalDate& date) { ShowDate(date); });
    Redraw();
}

void CHistoricWeightDialog::ShowDate(const CJournalDate& date) {
    m_date = date;
    m_calendar->SetDate(date);
    Redraw();
}

void CHistoricWeightDialog::Redraw() {
    const int period = std::clamp(m_data.ChartSettings().historicPeriod, 0, kPeriodCount - 1);
    {
        CWaitCursor wait;
        m_renderer.Prepare(period, m_date, m_trend->isChecked());
    }
    setWindowTitle(QString::fromLatin1(CHistoricWeightSeries::Title(period)));
    const CHistoricWeightSeries& series = m_renderer.Series();
    std::vector<float> values;
    for (int day = 0; day < series.DayCount(); ++day)
        values.push_back(series.Value(day));
    CJournalDate first = m_date;
    for (int day = 1; day < series.DayCount(); ++day)
        first.StepDays(-1);
    m_area->setAccessibleName(windowTitle());
    m_area->setAccessibleDescription(FromStored(ChartDescription(values, first, false)) +
                                     (m_renderer.TrendText().isEmpty()
                                          ? QString()
                                          : QStringLiteral(". ") + m_renderer.TrendText()));
    m_area->update();
}

} // namespace fitquill
