// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calc/reference_intake.h"

#include <array>

namespace fitquill {

// Source of every value below: the Dietary Reference Intakes of the Food and Nutrition Board of
// the US National Academies of Sciences, Engineering, and Medicine (reports of 1997 to 2011;
// sodium and potassium revised in 2019), as summarised by the NIH Office of Dietary Supplements
// in its "Nutrient Recommendations: Dietary Reference Intakes (DRI)" tables and its fact
// sheets for health professionals, as published in 2023.
//
// Values are per day, written in the unit of those tables (noted per row) and converted to the
// nutrient table's unit by `toStored`. Left out on purpose:
// - energy, fat and its fractions, sugar, cholesterol and net carbohydrate have no RDA or AI;
// - vitamin A is set in mcg retinol activity equivalents, which cannot be derived from the IU
//   the food data holds; retinol (preformed vitamin A) carries the vitamin A upper limit only;
// - folic acid (the synthetic form) carries the folate upper limit; total folate the RDA;
// - the upper limits of magnesium, vitamin E and niacin apply to supplements and fortificants
//   only, never to food, so they are not applied to a food journal.
const char* const kReferenceIntakeSource =
    "Dietary Reference Intakes, US National Academies (1997-2019), as summarised by the NIH "
    "Office of Dietary Supplements, 2023";
const char* const kReferenceIntakeSourceShort =
    "US National Academies' Dietary Reference Intakes, as summarised by NIH ODS (2023)";

namespace {

// Age bands of the tables: 1-3, 4-8, 9-13, 14-18, 19-30, 31-50, 51-70, 71 and over.
constexpr int kBandCount = 8;
using Band = std::array<double, kBandCount>;

int AgeBand(int age) {
    if (age <= 3)
        return 0;
    if (age <= 8)
        return 1;
    if (age <= 13)
        return 2;
    if (age <= 18)
        return 3;
    if (age <= 30)
        return 4;
    if (age <= 50)
        return 5;
    if (age <= 70)
        return 6;
    return 7;
}

struct SIntakeRow {
    int nutrient;
    bool adequateIntake;
    Band male;   // RDA or AI; all 0 for an upper limit only
    Band female; // the same
    Band upper;  // all 0 when none applies to food
    double toStored;
};

constexpr Band kNone{};
constexpr Band All(double value) {
    return {value, value, value, value, value, value, value, value};
}
constexpr double kMcgToMg = 0.001;

// clang-format off
constexpr SIntakeRow kRows[] = {
    // Carbohydrate, g (RDA)
    {1, false, All(130), All(130), kNone, 1.0},
    // Protein, g (RDA)
    {2, false, {13, 19, 34, 52, 56, 56, 56, 56}, {13, 19, 34, 46, 46, 46, 46, 46}, kNone, 1.0},
    // Total fiber, g (AI)
    {3, true, {19, 25, 31, 38, 38, 38, 30, 30}, {19, 25, 26, 26, 25, 25, 21, 21}, kNone, 1.0},
    // Calcium, mg
    {11, false, {700, 1000, 1300, 1300, 1000, 1000, 1000, 1200},
                {700, 1000, 1300, 1300, 1000, 1000, 1200, 1200},
                {2500, 2500, 3000, 3000, 2500, 2500, 2000, 2000}, 1.0},
    // Iron, mg
    {12, false, {7, 10, 8, 11, 8, 8, 8, 8}, {7, 10, 8, 15, 18, 18, 8, 8},
                {40, 40, 40, 45, 45, 45, 45, 45}, 1.0},
    // Magnesium, mg
    {13, false, {80, 130, 240, 410, 400, 420, 420, 420}, {80, 130, 240, 360, 310, 320, 320, 320},
                kNone, 1.0},
    // Phosphorus, mg
    {14, false, {460, 500, 1250, 1250, 700, 700, 700, 700}, {460, 500, 1250, 1250, 700, 700, 700, 700},
                {3000, 3000, 4000, 4000, 4000, 4000, 4000, 3000}, 1.0},
    // Potassium, mg (AI, 2019)
    {15, true, {2000, 2300, 2500, 3000, 3400, 3400, 3400, 3400},
               {2000, 2300, 2300, 2300, 2600, 2600, 2600, 2600}, kNone, 1.0},
    // Sodium, mg (AI, 2019); upper: chronic-disease risk reduction intake
    {16, true, {800, 1000, 1200, 1500, 1500, 1500, 1500, 1500},
               {800, 1000, 1200, 1500, 1500, 1500, 1500, 1500},
               {1200, 1500, 1800, 2300, 2300, 2300, 2300, 2300}, 1.0},
    // Zinc, mg
    {17, false, {3, 5, 8, 11, 11, 11, 11, 11}, {3, 5, 8, 9, 8, 8, 8, 8},
                {7, 12, 23, 34, 40, 40, 40, 40}, 1.0},
    // Copper, mcg
    {18, false, {340, 440, 700, 890, 900, 900, 900, 900}, {340, 440, 700, 890, 900, 900, 900, 900},
                {1000, 3000, 5000, 8000, 10000, 10000, 10000, 10000}, kMcgToMg},
    // Manganese, mg (AI)
    {19, true, {1.2, 1.5, 1.9, 2.2, 2.3, 2.3, 2.3, 2.3}, {1.2, 1.5, 1.6, 1.6, 1.8, 1.8, 1.8, 1.8},
               {2, 3, 6, 9, 11, 11, 11, 11}, 1.0},
    // Selenium, mcg
    {20, false, {20, 30, 40, 55, 55, 55, 55, 55}, {20, 30, 40, 55, 55, 55, 55, 55},
                {90, 150, 280, 400, 400, 400, 400, 400}, kMcgToMg},
    // Vitamin B6, mg
    {22, false, {0.5, 0.6, 1.0, 1.3, 1.3, 1.3, 1.7, 1.7}, {0.5, 0.6, 1.0, 1.2, 1.3, 1.3, 1.5, 1.5},
                {30, 40, 60, 80, 100, 100, 100, 100}, 1.0},
    // Vitamin B12, mcg
    {23, false, {0.9, 1.2, 1.8, 2.4, 2.4, 2.4, 2.4, 2.4}, {0.9, 1.2, 1.8, 2.4, 2.4, 2.4, 2.4, 2.4},
                kNone, kMcgToMg},
    // Vitamin C, mg
    {24, false, {15, 25, 45, 75, 90, 90, 90, 90}, {15, 25, 45, 65, 75, 75, 75, 75},
                {400, 650, 1200, 1800, 2000, 2000, 2000, 2000}, 1.0},
    // Vitamin E (alpha-tocopherol), mg
    {25, false, {6, 7, 11, 15, 15, 15, 15, 15}, {6, 7, 11, 15, 15, 15, 15, 15}, kNone, 1.0},
    // Vitamin K, mcg (AI)
    {26, true, {30, 55, 60, 75, 120, 120, 120, 120}, {30, 55, 60, 75, 90, 90, 90, 90}, kNone, 1.0},
    // Thiamin, mg
    {27, false, {0.5, 0.6, 0.9, 1.2, 1.2, 1.2, 1.2, 1.2}, {0.5, 0.6, 0.9, 1.0, 1.1, 1.1, 1.1, 1.1},
                kNone, 1.0},
    // Riboflavin, mg
    {28, false, {0.5, 0.6, 0.9, 1.3, 1.3, 1.3, 1.3, 1.3}, {0.5, 0.6, 0.9, 1.0, 1.1, 1.1, 1.1, 1.1},
                kNone, 1.0},
    // Niacin, mg niacin equivalents
    {29, false, {6, 8, 12, 16, 16, 16, 16, 16}, {6, 8, 12, 14, 14, 14, 14, 14}, kNone, 1.0},
    // Folic acid, mcg: the folate upper limit (synthetic folic acid only)
    {30, false, kNone, kNone, {300, 400, 600, 800, 1000, 1000, 1000, 1000}, 1.0},
    // Retinol, mcg: the vitamin A upper limit (preformed vitamin A)
    {31, false, kNone, kNone, {600, 900, 1700, 2800, 3000, 3000, 3000, 3000}, 1.0},
    // Folate, mcg dietary folate equivalents
    {32, false, {150, 200, 300, 400, 400, 400, 400, 400}, {150, 200, 300, 400, 400, 400, 400, 400},
                kNone, 1.0},
    // Pantothenic acid, mg (AI)
    {33, true, {2, 3, 4, 5, 5, 5, 5, 5}, {2, 3, 4, 5, 5, 5, 5, 5}, kNone, 1.0},
};
// clang-format on

} // namespace

std::optional<SReferenceIntake> ReferenceIntake(int nutrient, int sex, int age) {
    if (age < 1 || (sex != 0 && sex != 1))
        return std::nullopt;
    const auto band = static_cast<size_t>(AgeBand(age));
    for (const SIntakeRow& row : kRows) {
        if (row.nutrient != nutrient)
            continue;
        SReferenceIntake intake;
        intake.recommended = (sex == 0 ? row.male : row.female)[band] * row.toStored;
        intake.adequateIntake = row.adequateIntake && intake.recommended > 0;
        intake.upperLimit = row.upper[band] * row.toStored;
        return intake;
    }
    return std::nullopt;
}

} // namespace fitquill
