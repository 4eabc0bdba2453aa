// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/report_renderer.h"

namespace fitquill {

std::unique_ptr<IReportRenderer> CreateReportRenderer(EReportKind kind, CDietData& data) {
    (void)data;
    switch (kind) {
    case EReportKind::Logbook:
    case EReportKind::MealLog:
    case EReportKind::DailyJournal:
    case EReportKind::SummaryTable:
    case EReportKind::WeightChart:
    case EReportKind::DietPlan:
        break;
    }
    return nullptr;
}

} // namespace fitquill
