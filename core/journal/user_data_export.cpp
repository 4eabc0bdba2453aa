// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/journal/user_data_export.h"

#include "core/calc/units.h"
#include "core/food/nutrient.h"
#include "core/io/atomic_file.h"

#include <cstdio>
#include <span>

namespace fitquill {
namespace {

constexpr const char* kLineEnd = "\r\n";

std::string Format(const char* format, auto... values) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, format, values...);
    return buffer;
}

} // namespace

std::string CUserDataExport::DayLine(const CDayRecord& day, bool metric) {
    const CJournalDate& date = day.Date();
    std::string line = Format("%d/%d/%d,", date.Month(), date.Day(), date.Year());

    if (const std::optional<double> weight = day.Weight().Get(metric))
        line += Format("%f,", RoundByTextRule(*weight, 1));
    else
        line += ",";

    // The calorie columns are 16-bit numbers; the food total is cut, not rounded.
    const CDayFoodLog& log = day.FoodLog();
    const auto meals = static_cast<int16_t>(static_cast<int>(log.TotalValue(kNutrientCalories)));
    const auto bmr = static_cast<int16_t>(-day.BMR());
    const auto exercise = static_cast<int16_t>(-day.ExerciseCalories());
    const auto total = static_cast<int16_t>(meals + bmr + exercise);
    line += Format("%d,%d,%d,%d,,", meals, bmr, exercise, total);

    line += NumberToText(log.TotalValue(kNutrientCalories), 0, false);
    for (int nutrient : {kNutrientCarbohydrate, kNutrientProtein, kNutrientFiber, kNutrientFat,
                         kNutrientSaturatedFat})
        line += "," + NumberToText(log.TotalValue(nutrient), 1, true);
    return line;
}

std::string CUserDataExport::BuildText(CJournalDB& journal) {
    std::string text = std::string(kHeaderLine) + kLineEnd;
    const bool metric = journal.Profile().IsMetric();
    for (int position = 0; position < journal.DayCount(); ++position) {
        CDayRecord& day = journal.Day(position);
        day.Refresh(journal.Profile());
        text += DayLine(day, metric) + kLineEnd;
    }
    return text;
}

bool CUserDataExport::Export(CJournalDB& journal, const std::filesystem::path& path,
                             std::string* error) {
    if (path.empty()) {
        if (error != nullptr)
            *error = "No file was chosen for the export.";
        return false;
    }
    const std::string text = BuildText(journal);
    return ReplaceFileAtomically(path, text, error);
}

} // namespace fitquill
