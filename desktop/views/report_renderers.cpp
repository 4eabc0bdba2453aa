// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/report_renderer.h"

#include "core/report/logbook_report.h"
#include "desktop/views/charts/historic_weight_renderer.h"
#include "desktop/views/journal/daily_journal_renderer.h"
#include "desktop/views/journal/meal_log_renderer.h"
#include "desktop/views/nutrients/nutrient_details_renderer.h"
#include "desktop/views/section_renderer.h"
#include "desktop/views/table_renderer.h"

namespace fitquill {

std::unique_ptr<IReportRenderer> CreateReportRenderer(EReportKind kind, CDietData& data) {
    switch (kind) {
    case EReportKind::WeightChart:
        return std::make_unique<CHistoricWeightRenderer>(data);
    case EReportKind::MealLog:
        return std::make_unique<CMealLogRenderer>(data);
    case EReportKind::DailyJournal:
        return std::make_unique<CDailyJournalRenderer>(data);
    case EReportKind::Logbook:
        return std::make_unique<CSectionRenderer>(data, LogbookSections);
    case EReportKind::DietPlan:
        return std::make_unique<CSectionRenderer>(data, DietPlanSections);
    case EReportKind::SummaryTable:
        return std::make_unique<CTableRenderer>(data, CTableRenderer::EKind::Summary);
    case EReportKind::NutrientDetails:
        return std::make_unique<CNutrientDetailsRenderer>(data);
    }
    return nullptr;
}

} // namespace fitquill
