// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/journal/user_profile.h"

#include "core/internal_error.h"
#include "core/names.h"

namespace fitquill {
namespace {

struct SPlanPercentages {
    int16_t carbohydrate;
    int16_t protein;
    int16_t fat;
};

// Plan 3 (custom) starts from the low-calorie shares; the user edits them afterwards.
constexpr SPlanPercentages kPlanPercentages[CUserProfile::kDietPlanCount] = {
    {60, 10, 30}, {10, 45, 45}, {40, 55, 5}, {60, 10, 30}};

// Only the calendar day is stored; the time fields of "today" would make a fresh profile
// differ from the same profile read back.
CJournalDate DateOnly(const CJournalDate& date) {
    return CJournalDate(date.Day(), date.Month(), date.Year());
}

CJournalDate TodayDate() {
    return DateOnly(CJournalDate::Today());
}

CJournalDate Tomorrow() {
    CJournalDate date = TodayDate();
    date.StepDays(1);
    return date;
}

std::vector<CNutrientValue> ZeroTargets() {
    std::vector<CNutrientValue> targets;
    for (int i = 0; i < CUserProfile::kTargetCount; ++i)
        targets.emplace_back(i, 0.0f);
    return targets;
}

} // namespace

CUserProfile::CUserProfile()
    : m_startingDate(TodayDate()), m_goalDate(Tomorrow()), m_targets(ZeroTargets()) {}

void CUserProfile::SetFirstText(std::string_view text) {
    m_firstText = TrimSpaces(text);
}
void CUserProfile::SetSecondText(std::string_view text) {
    m_secondText = TrimSpaces(text);
}
void CUserProfile::SetUserName(std::string_view name) {
    m_userName = TrimSpaces(name);
}

void CUserProfile::SetHeight(const CHeightValue& height) {
    Touch(kChangeHeight, !(height == m_height));
    m_height = height;
}

bool CUserProfile::SetHeightCentimetres(int centimetres) {
    CHeightValue height;
    const bool ok = height.SetCentimetres(centimetres);
    SetHeight(height);
    return ok;
}

bool CUserProfile::SetHeightFeetInches(int feet, int inches) {
    CHeightValue height;
    const bool ok = height.SetFeetInches(feet, inches);
    SetHeight(height);
    return ok;
}

bool CUserProfile::SetAge(int age) {
    if (age > kMaxAge)
        return false;
    const int16_t value = static_cast<int16_t>(age < 0 ? -1 : age);
    Touch(kChangeAge, value != m_age);
    m_age = value;
    return true;
}

bool CUserProfile::SetSex(int sex) {
    if (sex != 0 && sex != 1)
        return false;
    Touch(kChangeSex, sex != m_sex);
    m_sex = static_cast<int16_t>(sex);
    return true;
}

void CUserProfile::SetStartingWeight(const CWeightValue& weight) {
    Touch(kChangeStartingWeight, !(weight == m_startingWeight));
    m_startingWeight = weight;
}

bool CUserProfile::SetStartingWeight(double value, bool metric) {
    CWeightValue weight;
    const bool ok = weight.Set(value, metric);
    SetStartingWeight(weight);
    return ok;
}

void CUserProfile::SetGoalWeight(const CWeightValue& weight) {
    Touch(kChangeGoalWeight, !(weight == m_goalWeight));
    m_goalWeight = weight;
}

bool CUserProfile::SetGoalWeight(double value, bool metric) {
    CWeightValue weight;
    const bool ok = weight.Set(value, metric);
    SetGoalWeight(weight);
    return ok;
}

void CUserProfile::SetStartingDate(const CJournalDate& date) {
    Touch(kChangeStartingDate, !(date == m_startingDate));
    m_startingDate = DateOnly(date);
}

void CUserProfile::SetGoalDate(const CJournalDate& date) {
    Touch(kChangeGoalDate, !(date == m_goalDate));
    m_goalDate = DateOnly(date);
}

bool CUserProfile::SetDefaultActivityLevel(int level) {
    if (level < 1 || level > 5)
        return false;
    Touch(kChangeActivityLevel, level != m_defaultActivityLevel);
    m_defaultActivityLevel = static_cast<int16_t>(level);
    return true;
}

bool CUserProfile::SetUnitChoice(int unitChoice) {
    if (unitChoice != 0 && unitChoice != 1)
        return false;
    Touch(kChangeUnitChoice, unitChoice != m_unitChoice);
    m_unitChoice = static_cast<int16_t>(unitChoice);
    return true;
}

bool CUserProfile::SetDietPlan(int plan, bool force) {
    if (plan == m_dietPlan && !force)
        return true;
    // An unknown plan would leave percentages and targets that belong to no plan.
    if (plan < 0 || plan >= kDietPlanCount)
        return false;
    const SPlanPercentages& p = kPlanPercentages[plan];
    SetPercentages(p.carbohydrate, p.protein, p.fat, force);
    SetTargetMode(1, force);
    if (!force)
        m_changeBits |= kChangeDietPlan;
    m_dietPlan = static_cast<int16_t>(plan);
    return true;
}

bool CUserProfile::SetPercentages(int carbohydrate, int protein, int fat, bool force) {
    for (int value : {carbohydrate, protein, fat}) {
        if (value < 0 || value >= 100)
            return false;
    }
    if (carbohydrate + protein + fat != 100)
        return false;
    const bool changed =
        carbohydrate != m_carbohydratePercent || protein != m_proteinPercent || fat != m_fatPercent;
    if (!changed && !force)
        return true;
    SetStoredPercentages(static_cast<int16_t>(carbohydrate), static_cast<int16_t>(protein),
                         static_cast<int16_t>(fat));
    if (!force)
        m_changeBits |= kChangeDietPlan;
    return true;
}

void CUserProfile::SetStoredPercentages(int16_t carbohydrate, int16_t protein, int16_t fat) {
    m_carbohydratePercent = carbohydrate;
    m_proteinPercent = protein;
    m_fatPercent = fat;
}

bool CUserProfile::SetTargetMode(int mode, bool force) {
    if (mode != 0 && mode != 1)
        return false;
    if (mode == m_targetMode && !force)
        return true;
    if (mode == 1)
        m_targets = ZeroTargets();
    m_targetMode = static_cast<uint8_t>(mode);
    if (!force)
        m_changeBits |= kChangeTargets;
    return true;
}

float CUserProfile::OwnTarget(int index) const {
    if (index < 0 || index >= kTargetCount)
        RaiseInternalError(kInternalErrorFoodDb, "nutrient target index out of range");
    return m_targets[static_cast<size_t>(index)].Value();
}

void CUserProfile::SetOwnTarget(int index, float value, bool force) {
    if (index < 1 || index >= kTargetCount)
        RaiseInternalError(kInternalErrorFoodDb, "own target index out of range");
    if (IsTargetModeAutomatic())
        RaiseInternalError(kInternalErrorFoodDb, "own target set while targets are automatic");
    CNutrientValue& target = m_targets[static_cast<size_t>(index)];
    // Compared after clamping, so a value that stores the same number changes nothing.
    const CNutrientValue candidate(index, value);
    if (candidate.Value() == target.Value() && !force)
        return;
    target = candidate;
    if (!force)
        m_changeBits |= kChangeTargets;
}

bool CUserProfile::SetStoredTargets(const std::vector<CNutrientValue>& targets) {
    if (targets.size() != static_cast<size_t>(kTargetCount))
        return false;
    for (size_t i = 0; i < targets.size(); ++i) {
        if (targets[i].Index() != i)
            return false;
    }
    m_targets = targets;
    return true;
}

void CUserProfile::ResetPersonalInfo() {
    m_secondText.clear();
    m_height.Unset();
    m_age = -1;
    m_sex = 0;
    m_defaultActivityLevel = kDefaultActivityLevel;
    m_changeBits |= kChangeHeight | kChangeAge | kChangeSex | kChangeActivityLevel;
}

void CUserProfile::ResetWeightGoals() {
    m_startingDate = TodayDate();
    m_goalDate = Tomorrow();
    m_startingWeight.Unset();
    m_goalWeight.Unset();
    m_goalSummary.Invalidate();
    m_changeBits |= kChangeStartingWeight | kChangeStartingDate | kChangeGoalWeight |
                    kChangeGoalDate | kChangeGoalSummary;
}

void CUserProfile::ResetDietPlan() {
    SetDietPlan(0, true);
    m_changeBits |= kChangeDietPlan;
}

void CUserProfile::ResetAll() {
    ResetPersonalInfo();
    ResetWeightGoals();
    ResetDietPlan();
    m_changeBits |= kChangeAll;
}

bool CUserProfile::IsComplete() const {
    return m_startingWeight.IsSet() && m_height.IsSet() && m_age >= 0;
}

} // namespace fitquill
