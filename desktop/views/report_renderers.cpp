// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/report_renderer.h"

#include "desktop/views/journal/daily_journal_renderer.h"
#include "desktop/views/journal/meal_log_renderer.h"

namespace fitquill {

std::unique_ptr<IReportRenderer> CreateReportRenderer(EReportKind kind, CDietData& data) {
    switch (kind) {
    case EReportKind::MealLog:
        return std::make_unique<CMealLogRenderer>(data);
    case EReportKind::DailyJournal:
        return std::make_unique<CDailyJournalRenderer>(data);
    case EReportKind::Logbook:
    case EReportKind::SummaryTable:
    case EReportKind::WeightChart:
    case EReportKind::DietPlan:
        break;
    }
    return nullptr;
}

} // namespace fitquill
