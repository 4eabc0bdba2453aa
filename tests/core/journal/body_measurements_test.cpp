// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/internal_error.h"
#include "core/journal/body_measurements.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace fitquill;

TEST(BodyMeasurements, NewDayHasNothingSetAndCalculatesBodyFat) {
    CBodyMeasurements m;
    for (int g = 0; g < kGirthCount; ++g) {
        EXPECT_EQ(m.RawGirth(g), -1.0f);
        EXPECT_EQ(m.Girth(g, true), -1.0); // unset stays -1 in centimetres too
    }
    EXPECT_EQ(m.StoredPercentBodyFat(), -1.0f);
    EXPECT_TRUE(m.AutomaticBodyFat());
    EXPECT_EQ(m.ChangeBits(), 0);
}

TEST(BodyMeasurements, GirthLimitsAndCentimetres) {
    struct Row {
        double value;
        bool metric;
        bool accepted;
        float stored; // inches
    };
    const Row rows[] = {
        {15.5, false, true, 15.5f},
        {100, true, true, 39.370078f},
        {350, false, true, 350.0f},
        {889, true, true, 349.99999f}, // just under 350 in
        {350.01, false, false, -1.0f},
        {890, true, false, -1.0f},
        {0, false, true, -1.0f},
        {-4, true, true, -1.0f},
        {std::nan(""), false, false, -1.0f},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.value << (row.metric ? " cm" : " in"));
        CBodyMeasurements m;
        m.SetRawGirth(kGirthWaist, 30.0f); // a refusal must not leave the old value
        EXPECT_EQ(m.SetGirth(kGirthWaist, row.value, row.metric), row.accepted);
        EXPECT_FLOAT_EQ(m.RawGirth(kGirthWaist), row.stored);
        EXPECT_EQ(m.ChangeBits(), CBodyMeasurements::GirthChangeBit(kGirthWaist));
    }

    CBodyMeasurements m;
    ASSERT_TRUE(m.SetGirth(kGirthWaist, 100, true));
    EXPECT_NEAR(m.Girth(kGirthWaist, true), 100.0, 1e-4);
    EXPECT_NEAR(m.Girth(kGirthWaist, false), 39.370078, 1e-5);
}

TEST(BodyMeasurements, EachGirthHasItsOwnChangeBitSetOnlyOnChange) {
    const uint16_t bits[kGirthCount] = {0x8000, 0x4000, 0x2000, 0x1000,
                                        0x0800, 0x0400, 0x0200, 0x0100};
    for (int g = 0; g < kGirthCount; ++g) {
        CBodyMeasurements m;
        EXPECT_TRUE(m.SetGirth(g, 0, false)); // already unset: no change
        EXPECT_EQ(m.ChangeBits(), 0);
        EXPECT_TRUE(m.SetGirth(g, 12, false));
        EXPECT_EQ(m.ChangeBits(), bits[g]);
        m.ClearChangeBits();
        EXPECT_TRUE(m.SetGirth(g, 12, false));
        EXPECT_EQ(m.ChangeBits(), 0);
        EXPECT_FALSE(m.SetGirth(g, 400, false));
        EXPECT_EQ(m.ChangeBits(), bits[g]);
        EXPECT_FALSE(m.IsGirthSet(g));
    }
}

TEST(BodyMeasurements, TypedPercentageFollowsTheAutomaticFlag) {
    CBodyMeasurements m;
    EXPECT_FALSE(m.SetPercentBodyFat(22)); // calculated: a typed value is not kept
    EXPECT_EQ(m.StoredPercentBodyFat(), -1.0f);
    EXPECT_EQ(m.ChangeBits(), 0);

    m.SetAutomaticBodyFat(false);
    EXPECT_EQ(m.ChangeBits(), CBodyMeasurements::kChangeBodyFat);
    m.ClearChangeBits();
    EXPECT_TRUE(m.SetPercentBodyFat(22.5));
    EXPECT_EQ(m.StoredPercentBodyFat(), 22.5f);
    EXPECT_EQ(m.ChangeBits(), CBodyMeasurements::kChangeBodyFat);

    EXPECT_FALSE(m.SetPercentBodyFat(100)); // refused, unchanged
    EXPECT_EQ(m.StoredPercentBodyFat(), 22.5f);
    EXPECT_FALSE(m.SetPercentBodyFat(std::nan("")));
    EXPECT_EQ(m.StoredPercentBodyFat(), 22.5f);
    EXPECT_TRUE(m.SetPercentBodyFat(99.99));
    EXPECT_FLOAT_EQ(m.StoredPercentBodyFat(), 99.99f);
    EXPECT_TRUE(m.SetPercentBodyFat(0));
    EXPECT_EQ(m.StoredPercentBodyFat(), -1.0f);

    // Switching on discards a typed value; switching off again leaves it empty.
    EXPECT_TRUE(m.SetPercentBodyFat(18));
    m.ClearChangeBits();
    m.SetAutomaticBodyFat(true);
    EXPECT_EQ(m.StoredPercentBodyFat(), -1.0f);
    EXPECT_EQ(m.ChangeBits(), CBodyMeasurements::kChangeBodyFat);
    m.SetAutomaticBodyFat(false);
    EXPECT_EQ(m.StoredPercentBodyFat(), -1.0f);

    // Switching on while already on changes nothing.
    CBodyMeasurements fresh;
    fresh.SetAutomaticBodyFat(true);
    EXPECT_EQ(fresh.ChangeBits(), 0);
}

TEST(BodyMeasurements, GirthIndexOutsideTheEightIsAProgramError) {
    CBodyMeasurements m;
    for (int bad : {-1, kGirthCount}) {
        try {
            m.SetGirth(bad, 10, false);
            FAIL() << "girth " << bad << " was accepted";
        } catch (const CInternalError& e) {
            EXPECT_EQ(e.Code(), kInternalErrorGeneral);
        }
        EXPECT_THROW(m.Girth(bad, false), CInternalError);
        EXPECT_THROW(m.SetRawGirth(bad, 1.0f), CInternalError);
    }
}
