// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/report_renderer.h"

#include "desktop/views/charts/historic_weight_renderer.h"

namespace fitquill {

std::unique_ptr<IReportRenderer> CreateReportRenderer(EReportKind kind, CDietData& data) {
    switch (kind) {
    case EReportKind::WeightChart:
        return std::make_unique<CHistoricWeightRenderer>(data);
    case EReportKind::Logbook:
    case EReportKind::MealLog:
    case EReportKind::DailyJournal:
    case EReportKind::SummaryTable:
    case EReportKind::DietPlan:
        break;
    }
    return nullptr;
}

} // namespace fitquill
