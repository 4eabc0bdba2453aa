// SPDX-License-Identifier: GPL-3.0-or-later
#include "conduit/sync/journal_merge.h"

#include "core/calc/energy_balance.h"
#include "core/journal/journal_records.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <unordered_set>

namespace fitquill {
namespace {

std::string DateText(const CJournalDate& date) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.Year(), date.Month(), date.Day());
    return text;
}

// The rule every value follows: it travels when the sides differ, the handheld marked it
// changed and the desktop did not. Bits are read as they are now, so a setter that marked
// another group on the desktop earlier in the merge keeps that group on the desktop's side.
bool Takes(bool differ, uint16_t desktopBits, uint16_t handheldBits, uint16_t bit) {
    return differ && (desktopBits & bit) == 0 && (handheldBits & bit) != 0;
}

class CJournalMerger {
public:
    CJournalMerger(CJournalDB& handheld, CJournalDB& desktop)
        : m_handheld(handheld), m_desktop(desktop) {}

    SyncChanges Run() {
        MergeProfile();
        MergeDays();
        return std::move(m_changes);
    }

private:
    void Note(std::string text) { m_changes.push_back(std::move(text)); }

    void MergeProfile();
    void MergeTargets(CUserProfile& d, const CUserProfile& h);
    void MergeDays();
    void MergeDay(CDayRecord& h, CDayRecord& d);
    void MergeMeasurements(const CDayRecord& h, CDayRecord& d, const std::string& where);
    void MergeBloodPressure(const CDayRecord& h, CDayRecord& d, const std::string& where);
    void MergeFoodEntries(CDayRecord& h, CDayRecord& d, const std::string& where);
    void MergeExercises(const CDayRecord& h, CDayRecord& d, const std::string& where);

    CJournalDB& m_handheld;
    CJournalDB& m_desktop;
    SyncChanges m_changes;
};

void CJournalMerger::MergeProfile() {
    CUserProfile& d = m_desktop.Profile();
    const CUserProfile& h = m_handheld.Profile();
    const uint16_t hb = h.ChangeBits();
    auto take = [&](bool differ, uint16_t bit, const char* what) {
        if (!Takes(differ, d.ChangeBits(), hb, bit))
            return false;
        Note(std::string("profile: ") + what + " taken from the handheld");
        return true;
    };

    if (take(!(h.Height() == d.Height()), CUserProfile::kChangeHeight, "height"))
        d.SetHeight(h.Height());
    if (take(h.Age() != d.Age(), CUserProfile::kChangeAge, "age"))
        d.SetAge(h.Age());
    if (take(h.Sex() != d.Sex(), CUserProfile::kChangeSex, "sex"))
        d.SetSex(h.Sex());
    if (take(!(h.StartingWeight() == d.StartingWeight()), CUserProfile::kChangeStartingWeight,
             "starting weight"))
        d.SetStartingWeight(h.StartingWeight());
    if (take(!(h.StartingDate() == d.StartingDate()), CUserProfile::kChangeStartingDate,
             "starting date"))
        d.SetStartingDate(h.StartingDate());
    if (take(!(h.GoalWeight() == d.GoalWeight()), CUserProfile::kChangeGoalWeight, "goal weight"))
        d.SetGoalWeight(h.GoalWeight());
    if (take(!(h.GoalDate() == d.GoalDate()), CUserProfile::kChangeGoalDate, "goal date"))
        d.SetGoalDate(h.GoalDate());
    // The summary carries no bit of its own: it follows from the four goal values.
    ComputeGoalSummary(d);
    if (take(h.DefaultActivityLevel() != d.DefaultActivityLevel(),
             CUserProfile::kChangeActivityLevel, "default activity level"))
        d.SetDefaultActivityLevel(h.DefaultActivityLevel());
    if (take(h.UnitChoice() != d.UnitChoice(), CUserProfile::kChangeUnitChoice, "unit choice"))
        d.SetUnitChoice(h.UnitChoice());

    constexpr int kCustomPlan = 3;
    const bool planDiffers =
        h.DietPlan() != d.DietPlan() ||
        (h.DietPlan() == kCustomPlan &&
         (h.CarbohydratePercent() != d.CarbohydratePercent() ||
          h.ProteinPercent() != d.ProteinPercent() || h.FatPercent() != d.FatPercent()));
    if (take(planDiffers, CUserProfile::kChangeDietPlan, "diet plan")) {
        d.SetDietPlan(h.DietPlan());
        if (h.DietPlan() == kCustomPlan)
            d.SetPercentages(h.CarbohydratePercent(), h.ProteinPercent(), h.FatPercent());
    }
    MergeTargets(d, h);
}

void CJournalMerger::MergeTargets(CUserProfile& d, const CUserProfile& h) {
    if (h.IsTargetModeAutomatic() && d.IsTargetModeAutomatic())
        return;
    const uint16_t bit = CUserProfile::kChangeTargets;
    // Decided once for mode and values together: the user's own targets are one entry on
    // the handheld, and a mode taken without its values would send zero targets back to it.
    const bool modeDiffers = h.TargetMode() != d.TargetMode();
    const bool valuesDiffer = !h.IsTargetModeAutomatic() && !(h.OwnTargets() == d.OwnTargets());
    if (!Takes(modeDiffers || valuesDiffer, d.ChangeBits(), h.ChangeBits(), bit))
        return;
    if (modeDiffers) {
        d.SetTargetMode(h.TargetMode());
        Note("profile: nutrient target mode taken from the handheld");
    }
    if (!d.IsTargetModeAutomatic() && !(h.OwnTargets() == d.OwnTargets())) {
        d.SetStoredTargets(h.OwnTargets());
        d.SetChangeBits(d.ChangeBits() | bit);
        Note("profile: nutrient targets taken from the handheld");
    }
}

void CJournalMerger::MergeDays() {
    for (int position = 0; position < m_handheld.DayCount(); ++position) {
        CDayRecord& h = m_handheld.Day(position);
        const int found = m_desktop.FindDay(h.Date());
        if (found >= 0) {
            MergeDay(h, m_desktop.Day(found));
        } else if (h.HasChanges()) {
            if (m_desktop.InsertDay(h) >= 0)
                Note(DateText(h.Date()) + ": day added from the handheld");
        } else {
            Note(DateText(h.Date()) + ": day deleted on the desktop, removed from the handheld");
        }
    }
}

void CJournalMerger::MergeDay(CDayRecord& h, CDayRecord& d) {
    const std::string where = DateText(h.Date()) + ": ";
    const CUserProfile& profile = m_desktop.Profile();
    const uint16_t hb = h.ChangeBits();
    auto take = [&](bool differ, uint16_t bit, const char* what) {
        if (!Takes(differ, d.ChangeBits(), hb, bit))
            return false;
        Note(where + what + " taken from the handheld");
        return true;
    };

    if (take(!(h.Weight() == d.Weight()), CDayRecord::kChangeWeight, "weight"))
        d.SetWeight(h.Weight(), profile);
    if (take(h.Note() != d.Note(), CDayRecord::kChangeNote, "note"))
        d.SetNote(h.Note());
    if (take(h.Water() != d.Water(), CDayRecord::kChangeWater, "water"))
        d.SetWater(h.Water());
    if (take(h.ActivityLevel() != d.ActivityLevel() || h.BMR() != d.BMR(),
             CDayRecord::kChangeActivity, "activity level and BMR")) {
        d.SetActivityLevel(h.ActivityLevel());
        d.SetBMR(h.BMR());
    }
    MergeMeasurements(h, d, where);
    MergeBloodPressure(h, d, where);
    MergeFoodEntries(h, d, where);
    MergeExercises(h, d, where);
}

void CJournalMerger::MergeMeasurements(const CDayRecord& h, CDayRecord& d,
                                       const std::string& where) {
    const CBodyMeasurements& hm = h.Measurements();
    CBodyMeasurements& dm = d.Measurements();
    for (int girth = 0; girth < kGirthCount; ++girth) {
        if (Takes(hm.RawGirth(girth) != dm.RawGirth(girth), dm.ChangeBits(), hm.ChangeBits(),
                  CBodyMeasurements::GirthChangeBit(girth))) {
            dm.SetGirth(girth, hm.RawGirth(girth), false);
            Note(where + "girth " + std::to_string(girth) + " taken from the handheld");
        }
    }
    // Flag and value travel as one, without a comparison first.
    const uint16_t bit = CBodyMeasurements::kChangeBodyFat;
    if ((dm.ChangeBits() & bit) == 0 && (hm.ChangeBits() & bit) != 0) {
        const CBodyMeasurements before = dm;
        dm.SetAutomaticBodyFat(hm.AutomaticBodyFat());
        if (!dm.AutomaticBodyFat())
            dm.SetPercentBodyFat(hm.StoredPercentBodyFat());
        if (dm.RawAutomaticBodyFat() != before.RawAutomaticBodyFat() ||
            dm.StoredPercentBodyFat() != before.StoredPercentBodyFat())
            Note(where + "body fat taken from the handheld");
    }
}

void CJournalMerger::MergeBloodPressure(const CDayRecord& h, CDayRecord& d,
                                        const std::string& where) {
    const CBloodPressure& hp = h.BloodPressure();
    CBloodPressure& dp = d.BloodPressure();
    auto take = [&](bool differ, uint16_t bit, const char* what) {
        if (!Takes(differ, dp.ChangeBits(), hp.ChangeBits(), bit))
            return false;
        Note(where + what + " taken from the handheld");
        return true;
    };
    if (take(hp.Systolic() != dp.Systolic(), CBloodPressure::kChangeSystolic, "systolic pressure"))
        dp.SetSystolic(hp.Systolic());
    if (take(hp.Diastolic() != dp.Diastolic(), CBloodPressure::kChangeDiastolic,
             "diastolic pressure"))
        dp.SetDiastolic(hp.Diastolic());
    if (take(hp.Pulse() != dp.Pulse(), CBloodPressure::kChangePulse, "pulse"))
        dp.SetPulse(hp.Pulse());
    if (take(hp.Hour() != dp.Hour() || hp.Minute() != dp.Minute() || hp.AmPm() != dp.AmPm(),
             CBloodPressure::kChangeTime, "time of the blood pressure reading"))
        dp.SetTime(hp.Hour(), hp.Minute(), hp.AmPm());
}

bool SameEntry(CFoodItem a, CFoodItem b) {
    a.SetModified(0);
    b.SetModified(0);
    return a == b;
}

bool SameEntry(CExerciseEntry a, CExerciseEntry b) {
    a.SetChanged(0);
    b.SetChanged(0);
    return a == b;
}

void CJournalMerger::MergeFoodEntries(CDayRecord& h, CDayRecord& d, const std::string& where) {
    CDayFoodLog& hl = h.FoodLog();
    CDayFoodLog& dl = d.FoodLog();
    hl.SetSortMode(kSortAlphabetical);
    dl.SetSortMode(kSortAlphabetical);
    // Copies: the rows of the desktop's log move as entries come and go.
    std::vector<CFoodItem> entries;
    for (int row = 0; row < hl.DisplayRowCount(); ++row)
        entries.push_back(*hl.DisplayRow(row).entry);

    std::unordered_set<uint32_t> handheldIds;
    for (const CFoodItem& entry : entries) {
        handheldIds.insert(entry.Id());
        const auto ref = dl.FindEntry(entry.Id());
        if (!ref) {
            // An unchanged entry that the desktop lacks was deleted there and stays deleted.
            if (entry.Modified() != 0 && dl.InsertStoredEntry(entry))
                Note(where + "food entry \"" + entry.Name() + "\" added from the handheld");
            continue;
        }
        const CFoodItem& mine =
            dl.MealEntries(ref->mealType)[static_cast<size_t>(ref->indexInMeal)];
        if (entry.Modified() != 0 && mine.Modified() == 0 && !SameEntry(entry, mine)) {
            dl.RemoveStoredEntry(ref->mealType, ref->indexInMeal);
            dl.InsertStoredEntry(entry);
            Note(where + "food entry \"" + entry.Name() + "\" taken from the handheld");
        }
    }

    std::vector<CFoodItem> gone;
    for (int meal = 0; meal < kMealCount; ++meal) {
        for (const CFoodItem& entry : dl.MealEntries(meal)) {
            if (entry.Modified() == 0 && !handheldIds.contains(entry.Id()))
                gone.push_back(entry);
        }
    }
    for (const CFoodItem& entry : gone) {
        const auto ref = dl.FindEntry(entry.Id());
        dl.RemoveStoredEntry(ref->mealType, ref->indexInMeal);
        Note(where + "food entry \"" + entry.Name() + "\" deleted on the handheld");
    }
}

void CJournalMerger::MergeExercises(const CDayRecord& h, CDayRecord& d, const std::string& where) {
    CExerciseList& dl = d.Exercises();
    auto find = [&](uint32_t id) {
        for (int i = 0; i < dl.Count(); ++i) {
            if (dl.Entry(i).Id() == id)
                return i;
        }
        return -1;
    };
    std::unordered_set<uint32_t> handheldIds;
    for (const CExerciseEntry& entry : h.Exercises().Entries()) {
        handheldIds.insert(entry.Id());
        const int position = find(entry.Id());
        if (position < 0) {
            if (entry.Changed() != 0) {
                dl.AppendStored(entry);
                Note(where + "exercise \"" + entry.Name() + "\" added from the handheld");
            }
            continue;
        }
        if (entry.Changed() != 0 && dl.Entry(position).Changed() == 0 &&
            !SameEntry(entry, dl.Entry(position))) {
            dl.Replace(position, entry);
            Note(where + "exercise \"" + entry.Name() + "\" taken from the handheld");
        }
    }
    for (int i = dl.Count() - 1; i >= 0; --i) {
        const CExerciseEntry& entry = dl.Entry(i);
        if (entry.Changed() == 0 && !handheldIds.contains(entry.Id())) {
            Note(where + "exercise \"" + entry.Name() + "\" deleted on the handheld");
            dl.Delete(i, 1);
        }
    }
}

// Whether a weight is one the program can hold: unset, or at most what its setter stores. A
// handheld record may carry anything, and the goal arithmetic must not meet such a value.
bool IsStorableWeight(const CWeightValue& weight) {
    static const float kMaxPounds = [] {
        CWeightValue largest;
        largest.Set(std::numeric_limits<double>::max(), false);
        return largest.Pounds();
    }();
    return !weight.IsSet() || weight.Pounds() <= kMaxPounds;
}

} // namespace

bool UnpackHandheldJournal(std::span<const std::vector<uint8_t>> records, CJournalDB& handheld,
                           std::string* damage) {
    if (records.size() < 3) {
        if (damage != nullptr)
            *damage = "fewer than 3 records";
        return false;
    }
    CJournalHeader header;
    if (!UnpackJournalHeader(records[0], header) || header.Version() != kJournalWrittenVersion) {
        if (damage != nullptr)
            *damage = "the header is damaged or not of version 6";
        return false;
    }
    std::vector<std::span<const uint8_t>> views(records.begin(), records.end());
    if (!UnpackJournalRecords(views, handheld, damage))
        return false;
    const CUserProfile& profile = handheld.Profile();
    if (!IsStorableWeight(profile.StartingWeight()) || !IsStorableWeight(profile.GoalWeight())) {
        if (damage != nullptr)
            *damage = "the profile holds a weight out of range";
        return false;
    }
    return true;
}

SyncChanges MergeJournal(CJournalDB& handheld, CJournalDB& desktop) {
    return CJournalMerger(handheld, desktop).Run();
}

void CopyJournalHeaderValues(const CJournalDB& from, CJournalDB& to) {
    to.Header().SetVersion(from.Header().Version());
    to.Header().SetIdGenerator(from.Header().IdGenerator());
    to.Header().SetHistoryLength(from.Header().HistoryLength());
}

int TrimHandheldHistory(const CJournalDB& journal, const CJournalDate& today,
                        std::vector<std::vector<uint8_t>>& records) {
    const uint16_t history = journal.Header().HistoryLength();
    if (history == 0)
        return 0;
    CJournalDate cutoff(today.Day(), today.Month(), today.Year());
    for (int step = 0; step <= history; ++step)
        cutoff.StepDays(-1);
    const auto& days = journal.Days();
    const auto kept = std::upper_bound(
        days.begin(), days.end(), cutoff,
        [](const CJournalDate& date, const CDayRecord& day) { return date < day.Date(); });
    const auto dropped = static_cast<int>(kept - days.begin());
    const auto first = static_cast<std::ptrdiff_t>(CDayIndex::kFirstDayRecord);
    if (dropped == 0 || records.size() < static_cast<size_t>(first + dropped))
        return 0;
    records.erase(records.begin() + first, records.begin() + first + dropped);
    records[CDayIndex::kFirstDayRecord - 1] = PackDayIndex(
        CDayIndex(CDayIndex::kFirstDayRecord, static_cast<uint16_t>(days.size() - dropped)));
    return dropped;
}

} // namespace fitquill
