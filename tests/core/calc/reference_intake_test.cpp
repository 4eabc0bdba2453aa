// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calc/reference_intake.h"

#include <gtest/gtest.h>

namespace fitquill {
namespace {

constexpr int kMale = 0;
constexpr int kFemale = 1;

struct SIntakeCase {
    int nutrient;
    int sex;
    int age;
    double recommended;
    double upperLimit;
};

// Well-known values of the tables, in the nutrient table's units (selenium and B12 in mg).
TEST(ReferenceIntakeTest, KnownAdultValues) {
    const SIntakeCase cases[] = {
        {24, kMale, 19, 90, 2000},     {24, kMale, 50, 90, 2000},     // vitamin C
        {24, kFemale, 19, 75, 2000},   {24, kFemale, 50, 75, 2000},   //
        {11, kMale, 30, 1000, 2500},   {11, kFemale, 45, 1000, 2500}, // calcium
        {11, kFemale, 51, 1200, 2000},                                //
        {12, kMale, 25, 8, 45},        {12, kFemale, 25, 18, 45},     // iron
        {12, kFemale, 51, 8, 45},      {12, kFemale, 15, 15, 45},     //
        {20, kMale, 40, 0.055, 0.4},   {23, kFemale, 40, 0.0024, 0},  // selenium, B12
        {2, kMale, 30, 56, 0},         {3, kFemale, 30, 25, 0},       // protein, fiber
        {31, kMale, 30, 0, 3000},                                     // retinol: UL only
    };
    for (const SIntakeCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "nutrient " << c.nutrient << " sex " << c.sex << " age " << c.age);
        const auto intake = ReferenceIntake(c.nutrient, c.sex, c.age);
        ASSERT_TRUE(intake.has_value());
        EXPECT_NEAR(intake->recommended, c.recommended, 1e-9);
        EXPECT_NEAR(intake->upperLimit, c.upperLimit, 1e-9);
    }
    EXPECT_TRUE(ReferenceIntake(3, kMale, 30)->adequateIntake);   // fiber is an AI
    EXPECT_FALSE(ReferenceIntake(24, kMale, 30)->adequateIntake); // vitamin C an RDA
}

TEST(ReferenceIntakeTest, NoneWithoutAReference) {
    // Calories, fat, sugar, cholesterol and vitamin A in IU have none; nor an infant, an unset
    // age or an unknown sex.
    for (const int nutrient : {0, 4, 8, 9, 21})
        EXPECT_FALSE(ReferenceIntake(nutrient, kMale, 30).has_value()) << nutrient;
    EXPECT_FALSE(ReferenceIntake(24, kMale, 0).has_value());
    EXPECT_FALSE(ReferenceIntake(24, kFemale, -1).has_value());
    EXPECT_FALSE(ReferenceIntake(24, 2, 30).has_value());
}

} // namespace
} // namespace fitquill
