// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/report/chart_scales.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace fitquill {

int DaySpacing(bool month) {
    return month ? kMonthDaySpacing : kWeekDaySpacing;
}

std::vector<SDayLabel> PeriodDayLabels(bool month, int dayCount) {
    std::vector<SDayLabel> labels;
    if (!month) {
        static const char* const kLetters[] = {"S", "M", "T", "W", "T", "F", "S"};
        for (int day = 0; day < std::min(dayCount, 7); ++day)
            labels.push_back({day, kLetters[day]});
        return labels;
    }
    for (int number : {1, 5, 10, 15, 20, 25})
        if (number < dayCount)
            labels.push_back({number - 1, std::to_string(number)});
    if (dayCount > 0)
        labels.push_back({dayCount - 1, std::to_string(dayCount)});
    return labels;
}

std::string PeriodLabel(bool month, const CJournalDate& start, int dayCount) {
    char text[64];
    if (month) {
        std::snprintf(text, sizeof text, "%s %d", CJournalDate::MonthName(start.Month()),
                      start.Year());
        return text;
    }
    CJournalDate last = start;
    for (int i = 1; i < dayCount; ++i)
        last.StepDays(1);
    std::snprintf(text, sizeof text, "%d/%d/%d - %d/%d/%d", start.Month(), start.Day(),
                  start.Year(), last.Month(), last.Day(), last.Year());
    return text;
}

CWeightChartScale::CWeightChartScale(float largest, float smallest) {
    const int a = static_cast<int>(largest);
    const int b = static_cast<int>(smallest);
    m_diff = a - b;
    if (m_diff == 0) {
        m_step = 1;
    } else {
        m_step = (m_diff + 8) / 9; // diff / 9 rounded up
        if (m_step == 3)
            m_step = 4;
        else if (m_step >= 5 && m_step <= 10)
            m_step = 10;
        else if (m_step >= 11 && m_step <= 20)
            m_step = 20;
    }
    switch (m_step) {
    case 1:
        m_pixelsPerUnit = 20;
        break;
    case 2:
        m_pixelsPerUnit = 10;
        break;
    case 4:
        m_pixelsPerUnit = 5;
        break;
    case 10:
        m_pixelsPerUnit = 2;
        break;
    case 20:
        m_pixelsPerUnit = 1;
        break;
    default:
        m_pixelsPerUnit = 0;
        break;
    }
    // Centres the data between the top and bottom labels.
    m_top = a + (9 * m_step + b - a) / 2;
}

int CHistogramScale::StepFor(float largest, bool empty) {
    if (empty)
        return kEmptyStep;
    struct SLimit {
        float largest;
        int step;
    };
    static constexpr SLimit kLimits[] = {{40, 5},    {80, 10},    {200, 25},   {400, 50},
                                         {800, 100}, {1600, 200}, {2400, 300}, {3200, 400}};
    for (const SLimit& limit : kLimits)
        if (largest <= limit.largest)
            return limit.step;
    return 500;
}

int CHistogramScale::StepIndex(int step) {
    const auto* found = std::find(kSteps.begin(), kSteps.end(), step);
    return found == kSteps.end() ? -1 : static_cast<int>(found - kSteps.begin());
}

double CHistogramScale::BarTopY(double value) const {
    const double cut = std::min(value, static_cast<double>(Top()));
    return (Top() - cut) / m_step * kChartLabelSpacing + kBarTopMargin;
}

bool CHistogramScale::TargetY(double target, double& y) const {
    if (target < 0 || target > Top())
        return false;
    y = BarTopY(target);
    return true;
}

EBarColour BarColour(float value, float target) {
    return target >= 0.0f && value > target ? EBarColour::DarkRed : EBarColour::DarkBlue;
}

} // namespace fitquill
