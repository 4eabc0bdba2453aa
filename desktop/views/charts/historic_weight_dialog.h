// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/views/charts/historic_weight_renderer.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QPushButton;

namespace fitquill {

class CChartArea;
class CDietData;
class CMonthCalendar;

// The "Historic Weight" dialog: the weight over 7 days to 5 years ending at the date chosen
// in the calendar, optionally with the weight trend. The period and the trend choice are
// kept in the document's chart settings until the program ends.
class CHistoricWeightDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kPeriodCount = CHistoricWeightSeries::kRangeTypeCount;

    explicit CHistoricWeightDialog(CDietData& data, QWidget* parent = nullptr);

    CMonthCalendar* Calendar() const { return m_calendar; }
    QPushButton* PeriodButton(int period) const { return m_buttons[static_cast<size_t>(period)]; }
    QCheckBox* TrendBox() const { return m_trend; }
    CChartArea* Area() const { return m_area; }
    const CHistoricWeightRenderer& Renderer() const { return m_renderer; }

    void ShowDate(const CJournalDate& date);

private:
    // Reads the chosen period ending at the chosen date, with the wait cursor up.
    void Redraw();

    CDietData& m_data;
    CJournalDate m_date;
    CHistoricWeightRenderer m_renderer;
    CMonthCalendar* m_calendar = nullptr;
    std::array<QPushButton*, kPeriodCount> m_buttons{};
    QCheckBox* m_trend = nullptr;
    CChartArea* m_area = nullptr;
};

} // namespace fitquill
