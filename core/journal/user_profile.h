// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calc/units.h"
#include "core/food/nutrient.h"
#include "core/journal/goal_summary.h"
#include "core/journal/journal_date.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fitquill {

// The user's personal information, weight goals, unit choice, default activity level, diet
// plan and nutrient targets. Setters refuse bad input with false and leave the value; a set
// that changes nothing sets no change bit. Weights are held in pounds, the height in inches.
class CUserProfile {
public:
    // Change bits, as the handheld and the merge read them.
    static constexpr uint16_t kChangeHeight = 0x8000;
    static constexpr uint16_t kChangeAge = 0x4000;
    static constexpr uint16_t kChangeSex = 0x2000;
    static constexpr uint16_t kChangeStartingWeight = 0x1000;
    static constexpr uint16_t kChangeStartingDate = 0x0800;
    static constexpr uint16_t kChangeGoalWeight = 0x0400;
    static constexpr uint16_t kChangeGoalDate = 0x0200;
    static constexpr uint16_t kChangeGoalSummary = 0x0100; // only the resets set it
    static constexpr uint16_t kChangeActivityLevel = 0x0080;
    static constexpr uint16_t kChangeUnitChoice = 0x0040;
    static constexpr uint16_t kChangeDietPlan = 0x0020; // plan or percentages
    static constexpr uint16_t kChangeTargets = 0x0010;  // target mode or targets
    static constexpr uint16_t kChangeAll = 0xFFF0;

    static constexpr int kMaxAge = 100;
    static constexpr int kDietPlanCount = 4; // 0 low calorie ... 3 custom
    static constexpr int kTargetCount = 6;   // nutrient indexes 0-5
    static constexpr int kDefaultActivityLevel = 2;

    CUserProfile();

    // Texts, trimmed of spaces; no change bits.
    uint8_t Status() const { return m_status; }
    void SetStatus(uint8_t status) { m_status = status; }
    const std::string& FirstText() const { return m_firstText; }
    void SetFirstText(std::string_view text);
    const std::string& SecondText() const { return m_secondText; }
    void SetSecondText(std::string_view text);
    const std::string& UserName() const { return m_userName; }
    void SetUserName(std::string_view name);

    const CHeightValue& Height() const { return m_height; }
    void SetHeight(const CHeightValue& height);
    // As CHeightValue: a height of 0 stores unset and returns false.
    bool SetHeightCentimetres(int centimetres);
    bool SetHeightFeetInches(int feet, int inches);

    // Years, -1 when unset. Above 100 is refused; a negative age stores -1.
    int16_t Age() const { return m_age; }
    bool SetAge(int age);
    // 0 male, 1 female; anything else is refused.
    int16_t Sex() const { return m_sex; }
    bool SetSex(int sex);

    // Weights take pounds, or kilograms when metric; as CWeightValue, 0 stores unset and
    // returns false.
    const CWeightValue& StartingWeight() const { return m_startingWeight; }
    void SetStartingWeight(const CWeightValue& weight);
    bool SetStartingWeight(double value, bool metric);
    const CWeightValue& GoalWeight() const { return m_goalWeight; }
    void SetGoalWeight(const CWeightValue& weight);
    bool SetGoalWeight(double value, bool metric);

    const CJournalDate& StartingDate() const { return m_startingDate; }
    void SetStartingDate(const CJournalDate& date);
    const CJournalDate& GoalDate() const { return m_goalDate; }
    void SetGoalDate(const CJournalDate& date);

    // Recomputed from the goal fields by ComputeGoalSummary; storing it sets no change bit.
    const CGoalSummary& GoalSummary() const { return m_goalSummary; }
    void SetGoalSummary(const CGoalSummary& summary) { m_goalSummary = summary; }

    // 1-5, the activity levels of a day.
    int16_t DefaultActivityLevel() const { return m_defaultActivityLevel; }
    bool SetDefaultActivityLevel(int level);

    // 0 pounds and inches, 1 kilograms and centimetres.
    int16_t UnitChoice() const { return m_unitChoice; }
    bool IsMetric() const { return m_unitChoice == 1; }
    bool SetUnitChoice(int unitChoice);

    // Diet plan fields. With force (a reset or an initialisation) the value is written even
    // when unchanged and no change bit is touched.
    int16_t DietPlan() const { return m_dietPlan; }
    // Plans 0-3 only: sets the plan's percentages and switches the targets to automatic.
    bool SetDietPlan(int plan, bool force = false);
    int16_t CarbohydratePercent() const { return m_carbohydratePercent; }
    int16_t ProteinPercent() const { return m_proteinPercent; }
    int16_t FatPercent() const { return m_fatPercent; }
    // Refused unless each is 0-99 and they total exactly 100.
    bool SetPercentages(int carbohydrate, int protein, int fat, bool force = false);
    // 1: targets follow the diet plan (the own targets are zeroed); 0: the user's own targets.
    uint8_t TargetMode() const { return m_targetMode; }
    bool IsTargetModeAutomatic() const { return m_targetMode == 1; }
    bool SetTargetMode(int mode, bool force = false);
    // The user's own targets, nutrient indexes 0-5.
    const std::vector<CNutrientValue>& OwnTargets() const { return m_targets; }
    float OwnTarget(int index) const;
    // Indexes 1-5 only and only with own targets; anything else is internal error 1000.
    void SetOwnTarget(int index, float value, bool force = false);

    uint16_t ChangeBits() const { return m_changeBits; }
    // A reader that fills fields through the ordinary setters sets the stored bits after them.
    void SetChangeBits(uint16_t bits) { m_changeBits = bits; }
    void ClearChangeBits() { m_changeBits = 0; }

    // For readers of stored records: values exactly as stored, without limits or change bits.
    void SetStoredAge(int16_t age) { m_age = age; }
    void SetStoredSex(int16_t sex) { m_sex = sex; }
    void SetStoredDefaultActivityLevel(int16_t level) { m_defaultActivityLevel = level; }
    void SetStoredUnitChoice(int16_t unitChoice) { m_unitChoice = unitChoice; }
    void SetStoredDietPlan(int16_t plan) { m_dietPlan = plan; }
    void SetStoredPercentages(int16_t carbohydrate, int16_t protein, int16_t fat);
    void SetStoredTargetMode(uint8_t mode) { m_targetMode = mode; }
    // Refuses (false, nothing changed) a list that is not the six indexes 0-5 in order.
    bool SetStoredTargets(const std::vector<CNutrientValue>& targets);

    // Second text, height, age, sex and default activity level.
    void ResetPersonalInfo();
    // Dates to today and tomorrow, weights unset, summary invalid.
    void ResetWeightGoals();
    // Plan 0 with its percentages, automatic targets, own targets 0.
    void ResetDietPlan();
    // The three resets and every change bit.
    void ResetAll();

    // Starting weight, height and age all set: the BMR and goal arithmetic can run.
    bool IsComplete() const;

    bool operator==(const CUserProfile&) const = default;

private:
    void Touch(uint16_t bit, bool changed) {
        if (changed)
            m_changeBits |= bit;
    }

    uint8_t m_status = 0;
    std::string m_firstText;
    std::string m_secondText;
    std::string m_userName;
    CHeightValue m_height;
    int16_t m_age = -1;
    int16_t m_sex = 0;
    CWeightValue m_startingWeight;
    CJournalDate m_startingDate;
    CWeightValue m_goalWeight;
    CJournalDate m_goalDate;
    CGoalSummary m_goalSummary;
    int16_t m_defaultActivityLevel = kDefaultActivityLevel;
    int16_t m_unitChoice = 0;
    uint16_t m_changeBits = 0;
    int16_t m_dietPlan = 0;
    int16_t m_carbohydratePercent = 60;
    int16_t m_proteinPercent = 10;
    int16_t m_fatPercent = 30;
    uint8_t m_targetMode = 1;
    std::vector<CNutrientValue> m_targets;
};

} // namespace fitquill
