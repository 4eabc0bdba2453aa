// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/internal_error.h"
#include "core/journal/exercise_list.h"
#include "core/journal/journal_clipboard.h"

#include <gtest/gtest.h>

using namespace fitquill;

namespace {

CExerciseEntry Exercise(const char* name, int minutes, int calories) {
    CExerciseEntry e;
    e.SetName(name);
    e.SetMinutes(minutes);
    e.SetCalories(calories);
    return e;
}

std::vector<std::string> Names(const CExerciseList& list) {
    std::vector<std::string> names;
    for (const CExerciseEntry& e : list.Entries())
        names.push_back(e.Name());
    return names;
}

class ExerciseListTest : public testing::Test {
protected:
    void SetUp() override {
        CJournalClipboard::Exercises().clear();
        list.Add(Exercise("Walking", 30, 120), ids);
        list.Add(Exercise("Rowing", 20, 200), ids);
        list.Add(Exercise("Cycling", 45, 400), ids);
        list.ClearChangeFlags();
    }
    void TearDown() override { CJournalClipboard::Exercises().clear(); }

    CIdGenerator ids{CIdGenerator::kUnassigned};
    CExerciseList list;
};

} // namespace

TEST(ExerciseEntry, DefaultsAndClamps) {
    CExerciseEntry e;
    EXPECT_EQ(e.Activity(), 26);
    EXPECT_EQ(e.Variant(), -1);
    EXPECT_EQ(e.Intensity(), -1);
    EXPECT_EQ(e.Changed(), 0);
    e.SetName("  Yard work  ");
    EXPECT_EQ(e.Name(), "Yard work");
    e.SetName("   ");
    EXPECT_EQ(e.Name(), "");

    const struct {
        int in;
        uint16_t minutes, calories;
    } rows[] = {{0, 0, 0},         {999, 999, 999},    {1000, 999, 1000},
                {9999, 999, 9999}, {10000, 999, 9999}, {-5, 0, 0}};
    for (const auto& row : rows) {
        e.SetMinutes(row.in);
        e.SetCalories(row.in);
        EXPECT_EQ(e.Minutes(), row.minutes) << row.in;
        EXPECT_EQ(e.Calories(), row.calories) << row.in;
    }
}

TEST_F(ExerciseListTest, AddGivesNewIdsAndMarksChanged) {
    EXPECT_EQ(list.Entry(0).Id(), 0x80000001u);
    EXPECT_EQ(list.Entry(2).Id(), 0x80000003u);
    EXPECT_FALSE(list.AnyChanged());

    CExerciseEntry swim = Exercise("Swimming", 10, 90);
    swim.SetId(0x8000ffffu);
    EXPECT_EQ(list.Add(swim, ids), 3);
    EXPECT_EQ(list.Entry(3).Id(), 0x80000004u); // the caller's id is not kept
    EXPECT_EQ(list.Entry(3).Changed(), 1);
    EXPECT_TRUE(list.AnyChanged());
}

TEST_F(ExerciseListTest, ReplaceMovesToTheEndKeepingTheId) {
    const uint32_t walkingId = list.Entry(0).Id();
    EXPECT_EQ(list.Replace(0, Exercise("Brisk walking", 40, 180)), 2);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"Rowing", "Cycling", "Brisk walking"}));
    EXPECT_EQ(list.Entry(2).Id(), walkingId);
    EXPECT_EQ(list.Entry(2).Changed(), 1);
    EXPECT_EQ(list.Entry(0).Changed(), 0);
    EXPECT_EQ(list.Count(), 3);
}

TEST_F(ExerciseListTest, CopyCutAndPaste) {
    list.Copy(1, 2);
    ASSERT_EQ(CJournalClipboard::Exercises().size(), 2u);
    EXPECT_EQ(CJournalClipboard::Exercises()[0].Name(), "Rowing");

    // Another day's list receives copies with fresh ids, marked changed.
    CExerciseList other;
    EXPECT_TRUE(other.Paste(ids));
    EXPECT_TRUE(other.Paste(ids));
    EXPECT_EQ(Names(other), (std::vector<std::string>{"Rowing", "Cycling", "Rowing", "Cycling"}));
    EXPECT_EQ(other.Entry(0).Id(), 0x80000004u);
    EXPECT_EQ(other.Entry(3).Id(), 0x80000007u);
    EXPECT_EQ(other.Entry(3).Changed(), 1);

    list.Cut(0, 1); // copying replaces the clipboard
    EXPECT_EQ(Names(list), (std::vector<std::string>{"Rowing", "Cycling"}));
    ASSERT_EQ(CJournalClipboard::Exercises().size(), 1u);
    EXPECT_EQ(CJournalClipboard::Exercises()[0].Name(), "Walking");

    CJournalClipboard::Exercises().clear();
    EXPECT_FALSE(list.Paste(ids));
    EXPECT_EQ(list.Count(), 2);
}

TEST_F(ExerciseListTest, TotalsAreCapped) {
    EXPECT_EQ(list.Totals().calories, 720);
    EXPECT_EQ(list.Totals().minutes, 95);
    list.Add(Exercise("Marathon", 999, 9999), ids);
    EXPECT_EQ(list.Totals().calories, 9999);
    EXPECT_EQ(list.Totals().minutes, 999);
    EXPECT_EQ(CExerciseList().Totals().calories, 0);
}

TEST_F(ExerciseListTest, PositionsOutsideTheListAreProgramErrors) {
    const struct { int position, count; } bad[] = {{-1, 1}, {3, 1}, {2, 2}, {0, -1}, {4, 0}};
    for (const auto& b : bad) {
        SCOPED_TRACE(testing::Message() << b.position << "+" << b.count);
        EXPECT_THROW(list.Delete(b.position, b.count), CInternalError);
        EXPECT_THROW(list.Copy(b.position, b.count), CInternalError);
    }
    EXPECT_THROW(list.Replace(3, CExerciseEntry()), CInternalError);
    try {
        list.Entry(-1);
        FAIL();
    } catch (const CInternalError& e) {
        EXPECT_EQ(e.Code(), kInternalErrorGeneral);
    }
    EXPECT_EQ(list.Count(), 3);
    EXPECT_TRUE(CJournalClipboard::Exercises().empty());

    list.Delete(3, 0); // an empty range at the end is fine
    list.Delete(0, 3);
    EXPECT_EQ(list.Count(), 0);
}
