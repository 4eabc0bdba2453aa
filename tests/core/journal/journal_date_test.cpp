// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/clock.h"
#include "core/journal/id_generator.h"
#include "core/journal/journal_date.h"

#include <gtest/gtest.h>

using namespace fitquill;

namespace {

CJournalDate D(int day, int month, int year) {
    return CJournalDate(day, month, year);
}

} // namespace

TEST(JournalDate, DayNumberWeekdayAndPackedForm) {
    EXPECT_EQ(D(1, 1, 2004).Weekday(), 4); // Thursday
    EXPECT_EQ(D(5, 1, 2004).Weekday(), 1); // Monday
    EXPECT_EQ(D(29, 2, 2004).Weekday(), 0);
    EXPECT_EQ(D(1, 3, 2004).DayNumber() - D(28, 2, 2004).DayNumber(), 2);
    EXPECT_EQ(D(1, 1, 2005).DayNumber() - D(1, 1, 2004).DayNumber(), 366);
    EXPECT_EQ(D(5, 1, 2004).Packed(), 5 * 2048 + 1 * 128 + 100);
    EXPECT_EQ(CJournalDate::FromPacked(D(31, 12, 2031).Packed()), D(31, 12, 2031));
    EXPECT_FALSE(CJournalDate().IsSet());
}

TEST(JournalDate, DayAndWeekSteps) {
    CJournalDate d = D(31, 12, 2004);
    d.StepDays(1);
    EXPECT_EQ(d, D(1, 1, 2005));
    d.StepDays(-1);
    EXPECT_EQ(d, D(31, 12, 2004));
    d = D(1, 3, 2004);
    d.StepDays(-1);
    EXPECT_EQ(d, D(29, 2, 2004));
    d = D(1, 3, 1900);
    d.StepDays(-1);
    EXPECT_EQ(d, D(28, 2, 1900));
    d = D(1, 3, 2000);
    d.StepDays(-1);
    EXPECT_EQ(d, D(29, 2, 2000));
    d = D(26, 2, 2004);
    d.StepWeeks(1);
    EXPECT_EQ(d, D(4, 3, 2004));
    EXPECT_EQ(d.Weekday(), 4);
}

TEST(JournalDate, MonthStepsCutTheDay) {
    struct {
        CJournalDate from;
        int direction;
        CJournalDate to;
    } cases[] = {
        {D(31, 1, 2004), 1, D(28, 2, 2004)}, // 28 also in a leap year
        {D(31, 1, 2005), 1, D(28, 2, 2005)},  {D(29, 3, 2004), -1, D(28, 2, 2004)},
        {D(31, 3, 2004), 1, D(30, 4, 2004)},  {D(31, 5, 2004), -1, D(30, 4, 2004)},
        {D(31, 12, 2004), 1, D(31, 1, 2005)}, {D(15, 1, 2004), -1, D(15, 12, 2003)},
    };
    for (auto& c : cases) {
        CJournalDate d = c.from;
        d.StepMonths(c.direction);
        EXPECT_EQ(d, c.to) << c.from.LongText();
    }
}

TEST(JournalDate, YearStepsAndMonthHelpers) {
    CJournalDate d = D(29, 2, 2004);
    d.StepYears(1);
    EXPECT_EQ(d, D(28, 2, 2005));
    d = D(29, 2, 2004);
    d.StepYears(-1);
    EXPECT_EQ(d, D(28, 2, 2003));

    EXPECT_EQ(D(10, 2, 2004).DaysInMonth(), 29);
    EXPECT_EQ(D(10, 2, 2100).DaysInMonth(), 28);
    EXPECT_EQ(D(10, 9, 2004).DaysInMonth(), 30);

    d = D(4, 3, 2004); // Thursday
    d.ToSundayOfWeek();
    EXPECT_EQ(d, D(29, 2, 2004));
    d.ToFirstOfMonth();
    EXPECT_EQ(d, D(1, 2, 2004));
}

TEST(JournalDate, LongTextIsCutToTheBuffer) {
    EXPECT_EQ(D(5, 1, 2004).LongText(), "Monday January 5, 2004");
    EXPECT_EQ(D(5, 1, 2004).LongText(7), "Monday");
    EXPECT_EQ(D(5, 1, 2004).LongText(0), "");
}

TEST(JournalDate, TodayHonoursTheClock) {
    CClock::SetFixedDate(CClock::ParseIsoDate("2004-03-05"));
    EXPECT_EQ(CJournalDate::Today(), D(5, 3, 2004));
    CClock::SetFixedDate(std::nullopt);
    EXPECT_FALSE(CClock::ParseIsoDate("2004-02-30"));
    EXPECT_FALSE(CClock::ParseIsoDate("2004-3-05"));
    EXPECT_EQ(CClock::ParseIsoDate("2004-02-29")->weekday, 0);
}

TEST(IdGenerator, SeededFromTheDateAndCountsWithin18Bits) {
    CIdGenerator g = CIdGenerator::Seeded(D(5, 3, 2004));
    EXPECT_EQ(g.Next(), 0xA1940001u);
    EXPECT_EQ(g.Next(), 0xA1940002u);

    CIdGenerator wrap(0xA1940000u | 0x3FFFFu);
    EXPECT_EQ(wrap.Next(), 0xA1940000u);
}
