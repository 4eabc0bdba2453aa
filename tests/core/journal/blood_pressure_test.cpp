// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/journal/blood_pressure.h"

#include <gtest/gtest.h>

using namespace fitquill;

TEST(BloodPressure, ReadingLimits) {
    struct Row {
        int value;
        bool accepted;
        int16_t stored;
    };
    const Row rows[] = {
        {120, true, 120}, {1, true, 1},      {999, true, 999},   {0, true, -1},
        {-7, true, -1},   {1000, false, -1}, {40000, false, -1},
    };
    using Setter = bool (CBloodPressure::*)(int);
    using Getter = int16_t (CBloodPressure::*)() const;
    const struct {
        Setter set;
        Getter get;
        uint16_t bit;
    } fields[] = {
        {&CBloodPressure::SetSystolic, &CBloodPressure::Systolic, 0x8000},
        {&CBloodPressure::SetDiastolic, &CBloodPressure::Diastolic, 0x4000},
        {&CBloodPressure::SetPulse, &CBloodPressure::Pulse, 0x2000},
    };
    for (const auto& field : fields) {
        for (const Row& row : rows) {
            SCOPED_TRACE(testing::Message() << "bit " << field.bit << " value " << row.value);
            CBloodPressure bp;
            bp.SetRawSystolic(80);
            bp.SetRawDiastolic(80);
            bp.SetRawPulse(80);
            EXPECT_EQ((bp.*field.set)(row.value), row.accepted);
            EXPECT_EQ((bp.*field.get)(), row.stored);
            EXPECT_EQ(bp.ChangeBits(), field.bit);
            bp.ClearChangeBits();
            (bp.*field.set)(row.value); // same value again: no change bit
            EXPECT_EQ(bp.ChangeBits(), 0);
        }
    }
}

TEST(BloodPressure, TimeOfReading) {
    struct Row {
        int hour, minute, amPm;
        bool accepted;
        int16_t hourStored, minuteStored;
        uint8_t amPmStored;
    };
    // Each row starts from 7:30 PM.
    const Row rows[] = {
        {8, 15, 0, true, 8, 15, 0},    {12, 59, 1, true, 12, 59, 1},  {1, 0, 1, true, 1, 0, 1},
        {0, 30, 1, true, -1, -1, 0},  // no hour: the whole time goes
        {-2, 99, 1, true, -1, -1, 0}, // ... even with a bad minute
        {13, 30, 1, false, -1, 30, 1}, {12, 60, 0, false, 12, -1, 0}, {12, -1, 1, true, 12, -1, 1},
        {5, 10, 2, false, 5, 10, 1}, // AM/PM neither 0 nor 1: left as it was
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.hour << ":" << row.minute << " " << row.amPm);
        CBloodPressure bp;
        bp.SetRawTime(7, 30, CBloodPressure::kPm);
        EXPECT_EQ(bp.SetTime(row.hour, row.minute, row.amPm), row.accepted);
        EXPECT_EQ(bp.Hour(), row.hourStored);
        EXPECT_EQ(bp.Minute(), row.minuteStored);
        EXPECT_EQ(bp.AmPm(), row.amPmStored);
        EXPECT_EQ(bp.ChangeBits(), CBloodPressure::kChangeTime);
    }

    CBloodPressure bp;
    EXPECT_TRUE(bp.SetTime(7, 30, CBloodPressure::kPm));
    bp.ClearChangeBits();
    EXPECT_TRUE(bp.SetTime(7, 30, CBloodPressure::kPm));
    EXPECT_EQ(bp.ChangeBits(), 0);
    EXPECT_TRUE(bp.SetTime(7, 30, CBloodPressure::kAm)); // AM/PM alone is a change
    EXPECT_EQ(bp.ChangeBits(), CBloodPressure::kChangeTime);
}
