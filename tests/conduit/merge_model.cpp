// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/conduit/merge_model.h"

#include "core/calc/energy_balance.h"
#include "core/food/food_db_file.h"
#include "core/journal/journal_file.h"
#include "core/journal/journal_records.h"

#include <functional>
#include <set>
#include <span>
#include <string>

namespace fitquill::testing {
namespace {

// ---- the journal ----

// One value of a record: it travels from the handheld when the two sides differ, the
// handheld's change bit for it is set and the desktop's is clear (read as it stands now).
template <class T> struct SRule {
    uint16_t bit;
    std::function<bool(const T& h, const T& d)> differs;
    std::function<void(const T& h, T& d)> take;
};

template <class T>
void ApplyRules(const std::vector<SRule<T>>& rules, const T& h, T& d,
                const std::function<uint16_t(const T&)>& bits) {
    for (const SRule<T>& rule : rules) {
        const bool desktopClear = (bits(d) & rule.bit) == 0;
        const bool handheldSet = (bits(h) & rule.bit) != 0;
        if (desktopClear && handheldSet && rule.differs(h, d))
            rule.take(h, d);
    }
}

uint16_t ProfileBits(const CUserProfile& p) {
    return p.ChangeBits();
}

const std::vector<SRule<CUserProfile>>& PersonalAndGoalRules() {
    using P = CUserProfile;
    static const std::vector<SRule<P>> rules = {
        {P::kChangeHeight, [](const P& h, const P& d) { return !(h.Height() == d.Height()); },
         [](const P& h, P& d) { d.SetHeight(h.Height()); }},
        {P::kChangeAge, [](const P& h, const P& d) { return h.Age() != d.Age(); },
         [](const P& h, P& d) { d.SetAge(h.Age()); }},
        {P::kChangeSex, [](const P& h, const P& d) { return h.Sex() != d.Sex(); },
         [](const P& h, P& d) { d.SetSex(h.Sex()); }},
        {P::kChangeStartingWeight,
         [](const P& h, const P& d) { return !(h.StartingWeight() == d.StartingWeight()); },
         [](const P& h, P& d) { d.SetStartingWeight(h.StartingWeight()); }},
        {P::kChangeStartingDate,
         [](const P& h, const P& d) { return !(h.StartingDate() == d.StartingDate()); },
         [](const P& h, P& d) { d.SetStartingDate(h.StartingDate()); }},
        {P::kChangeGoalWeight,
         [](const P& h, const P& d) { return !(h.GoalWeight() == d.GoalWeight()); },
         [](const P& h, P& d) { d.SetGoalWeight(h.GoalWeight()); }},
        {P::kChangeGoalDate, [](const P& h, const P& d) { return !(h.GoalDate() == d.GoalDate()); },
         [](const P& h, P& d) { d.SetGoalDate(h.GoalDate()); }},
    };
    return rules;
}

bool IsCustomPlan(const CUserProfile& p) {
    return p.DietPlan() == 3;
}

const std::vector<SRule<CUserProfile>>& PlanRules() {
    using P = CUserProfile;
    static const std::vector<SRule<P>> rules = {
        {P::kChangeActivityLevel,
         [](const P& h, const P& d) {
             return h.DefaultActivityLevel() != d.DefaultActivityLevel();
         },
         [](const P& h, P& d) { d.SetDefaultActivityLevel(h.DefaultActivityLevel()); }},
        {P::kChangeUnitChoice,
         [](const P& h, const P& d) { return h.UnitChoice() != d.UnitChoice(); },
         [](const P& h, P& d) { d.SetUnitChoice(h.UnitChoice()); }},
        // The kind, and for the custom plan its three percentages too.
        {P::kChangeDietPlan,
         [](const P& h, const P& d) {
             if (h.DietPlan() != d.DietPlan())
                 return true;
             return IsCustomPlan(h) &&
                    (h.CarbohydratePercent() != d.CarbohydratePercent() ||
                     h.ProteinPercent() != d.ProteinPercent() || h.FatPercent() != d.FatPercent());
         },
         [](const P& h, P& d) {
             d.SetDietPlan(h.DietPlan());
             if (IsCustomPlan(h))
                 d.SetPercentages(h.CarbohydratePercent(), h.ProteinPercent(), h.FatPercent());
         }},
    };
    return rules;
}

// Mode and own values travel together: a mode taken without its values would leave the
// handheld's own targets behind (the rule for the values alone is left open).
void MergeTargets(const CUserProfile& h, CUserProfile& d) {
    if (h.TargetMode() == 1 && d.TargetMode() == 1)
        return;
    const auto differs = [](const CUserProfile& h, const CUserProfile& d) {
        if (h.TargetMode() != d.TargetMode())
            return true;
        return h.TargetMode() != 1 && !(h.OwnTargets() == d.OwnTargets());
    };
    const auto take = [](const CUserProfile& h, CUserProfile& d) {
        d.SetTargetMode(h.TargetMode());
        if (d.TargetMode() != 1 && !(h.OwnTargets() == d.OwnTargets())) {
            d.SetStoredTargets(h.OwnTargets());
            d.SetChangeBits(d.ChangeBits() | CUserProfile::kChangeTargets);
        }
    };
    ApplyRules<CUserProfile>({{CUserProfile::kChangeTargets, differs, take}}, h, d, ProfileBits);
}

void MergeProfile(const CUserProfile& h, CUserProfile& d) {
    ApplyRules(PersonalAndGoalRules(), h, d,
               std::function<uint16_t(const CUserProfile&)>(ProfileBits));
    ComputeGoalSummary(d);
    ApplyRules(PlanRules(), h, d, std::function<uint16_t(const CUserProfile&)>(ProfileBits));
    MergeTargets(h, d);
}

void MergeDayValues(const CDayRecord& h, CDayRecord& d, const CUserProfile& profile) {
    using R = CDayRecord;
    const std::vector<SRule<R>> rules = {
        {R::kChangeWeight, [](const R& h, const R& d) { return !(h.Weight() == d.Weight()); },
         [&profile](const R& h, R& d) { d.SetWeight(h.Weight(), profile); }},
        {R::kChangeNote, [](const R& h, const R& d) { return h.Note() != d.Note(); },
         [](const R& h, R& d) { d.SetNote(h.Note()); }},
        {R::kChangeWater, [](const R& h, const R& d) { return h.Water() != d.Water(); },
         [](const R& h, R& d) { d.SetWater(h.Water()); }},
        {R::kChangeActivity,
         [](const R& h, const R& d) {
             return h.ActivityLevel() != d.ActivityLevel() || h.BMR() != d.BMR();
         },
         [](const R& h, R& d) {
             d.SetActivityLevel(h.ActivityLevel());
             d.SetBMR(h.BMR());
         }},
    };
    ApplyRules<R>(rules, h, d, [](const R& r) { return r.ChangeBits(); });
}

void MergeMeasurements(const CBodyMeasurements& h, CBodyMeasurements& d) {
    using M = CBodyMeasurements;
    std::vector<SRule<M>> rules;
    for (int girth = 0; girth < kGirthCount; ++girth) {
        rules.push_back(
            {M::GirthChangeBit(girth),
             [girth](const M& h, const M& d) { return h.RawGirth(girth) != d.RawGirth(girth); },
             [girth](const M& h, M& d) { d.SetGirth(girth, h.RawGirth(girth), false); }});
    }
    // Flag and percentage go as one, without comparing first.
    rules.push_back({M::kChangeBodyFat, [](const M&, const M&) { return true; },
                     [](const M& h, M& d) {
                         d.SetAutomaticBodyFat(h.AutomaticBodyFat());
                         if (!d.AutomaticBodyFat())
                             d.SetPercentBodyFat(h.StoredPercentBodyFat());
                     }});
    ApplyRules<M>(rules, h, d, [](const M& m) { return m.ChangeBits(); });
}

void MergeBloodPressure(const CBloodPressure& h, CBloodPressure& d) {
    using B = CBloodPressure;
    const std::vector<SRule<B>> rules = {
        {B::kChangeSystolic, [](const B& h, const B& d) { return h.Systolic() != d.Systolic(); },
         [](const B& h, B& d) { d.SetSystolic(h.Systolic()); }},
        {B::kChangeDiastolic, [](const B& h, const B& d) { return h.Diastolic() != d.Diastolic(); },
         [](const B& h, B& d) { d.SetDiastolic(h.Diastolic()); }},
        {B::kChangePulse, [](const B& h, const B& d) { return h.Pulse() != d.Pulse(); },
         [](const B& h, B& d) { d.SetPulse(h.Pulse()); }},
        {B::kChangeTime,
         [](const B& h, const B& d) {
             return h.Hour() != d.Hour() || h.Minute() != d.Minute() || h.AmPm() != d.AmPm();
         },
         [](const B& h, B& d) { d.SetTime(h.Hour(), h.Minute(), h.AmPm()); }},
    };
    ApplyRules<B>(rules, h, d, [](const B& b) { return b.ChangeBits(); });
}

// Entries equal but for their changed marks.
bool SameContent(CFoodItem a, CFoodItem b) {
    a.SetModified(0);
    b.SetModified(0);
    return a == b;
}
bool SameContent(CExerciseEntry a, CExerciseEntry b) {
    a.SetChanged(0);
    b.SetChanged(0);
    return a == b;
}

std::vector<CFoodItem> AllFoodEntries(const CDayFoodLog& log) {
    std::vector<CFoodItem> all;
    for (int meal = 0; meal < kMealCount; ++meal)
        all.insert(all.end(), log.MealEntries(meal).begin(), log.MealEntries(meal).end());
    return all;
}

const CFoodItem* FoodEntryWithId(const CDayFoodLog& log, uint32_t id) {
    for (int meal = 0; meal < kMealCount; ++meal) {
        for (const CFoodItem& entry : log.MealEntries(meal)) {
            if (entry.Id() == id)
                return &entry;
        }
    }
    return nullptr;
}

void RemoveFoodEntry(CDayFoodLog& log, uint32_t id) {
    for (int meal = 0; meal < kMealCount; ++meal) {
        const auto& entries = log.MealEntries(meal);
        for (size_t i = 0; i < entries.size(); ++i) {
            if (entries[i].Id() == id) {
                log.RemoveStoredEntry(meal, static_cast<int>(i));
                return;
            }
        }
    }
}

void MergeFoodLog(CDayFoodLog& h, CDayFoodLog& d) {
    h.SetSortMode(kSortAlphabetical);
    d.SetSortMode(kSortAlphabetical);
    std::vector<CFoodItem> handheldOrder;
    std::set<uint32_t> handheldIds;
    for (int row = 0; row < h.DisplayRowCount(); ++row) {
        handheldOrder.push_back(*h.DisplayRow(row).entry);
        handheldIds.insert(handheldOrder.back().Id());
    }
    for (const CFoodItem& entry : handheldOrder) {
        const CFoodItem* mine = FoodEntryWithId(d, entry.Id());
        if (mine == nullptr) {
            if (entry.Modified() != 0)
                d.InsertStoredEntry(entry);
        } else if (entry.Modified() != 0 && mine->Modified() == 0 && !SameContent(entry, *mine)) {
            RemoveFoodEntry(d, entry.Id());
            d.InsertStoredEntry(entry);
        }
    }
    for (const CFoodItem& entry : AllFoodEntries(d)) {
        if (entry.Modified() == 0 && handheldIds.count(entry.Id()) == 0)
            RemoveFoodEntry(d, entry.Id());
    }
}

void MergeExercises(const CExerciseList& h, CExerciseList& d) {
    std::set<uint32_t> handheldIds;
    for (const CExerciseEntry& entry : h.Entries())
        handheldIds.insert(entry.Id());
    auto position = [&d](uint32_t id) {
        for (int i = 0; i < d.Count(); ++i) {
            if (d.Entry(i).Id() == id)
                return i;
        }
        return -1;
    };
    for (const CExerciseEntry& entry : h.Entries()) {
        const int at = position(entry.Id());
        if (at < 0) {
            if (entry.Changed() != 0)
                d.AppendStored(entry);
        } else if (entry.Changed() != 0 && d.Entry(at).Changed() == 0 &&
                   !SameContent(entry, d.Entry(at))) {
            // An ordinary replace: the entry moves to the end of the list.
            d.Delete(at, 1);
            CExerciseEntry copy = entry;
            copy.SetChanged(1);
            d.AppendStored(copy);
        }
    }
    const std::vector<CExerciseEntry> before = d.Entries();
    for (const CExerciseEntry& entry : before) {
        if (entry.Changed() == 0 && handheldIds.count(entry.Id()) == 0)
            d.Delete(position(entry.Id()), 1);
    }
}

// ---- the food database ----

int GroupWithId(const CFoodDB& db, uint32_t id) {
    for (size_t g = 0; g < db.Groups().size(); ++g) {
        if (db.Groups()[g].Id() == id)
            return static_cast<int>(g);
    }
    return -1;
}

int CategoryWithId(const CFoodDB& db, uint16_t group, uint32_t id) {
    const auto& categories = db.GetGroup(group).Categories();
    for (size_t c = 0; c < categories.size(); ++c) {
        if (categories[c].Id() == id)
            return static_cast<int>(c);
    }
    return -1;
}

int ItemWithId(const CFoodDB& db, uint16_t group, uint16_t category, uint32_t id) {
    const auto& items = db.GetCategory(group, category).Items();
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].Id() == id)
            return static_cast<int>(i);
    }
    return -1;
}

// An entry counts as changed for keeping or dropping it when it or anything below it is marked
// changed: dropping an unchanged group would lose the items changed inside it.
bool HoldsChanges(const CFoodCategory& category) {
    if (category.Modified() != 0)
        return true;
    for (const CFoodItem& item : category.Items()) {
        if (item.Modified() != 0)
            return true;
    }
    return false;
}

bool HoldsChanges(const CFoodGroup& group) {
    if (group.Modified() != 0)
        return true;
    for (const CFoodCategory& category : group.Categories()) {
        if (HoldsChanges(category))
            return true;
    }
    return false;
}

bool SameItemContent(CFoodItem a, CFoodItem b) {
    a.SetId(0);
    b.SetId(0);
    a.SetModified(0);
    b.SetModified(0);
    return a == b;
}

// `together`: the two lists' owners were made apart and matched by name, so their children's
// ids say nothing about deletions: whatever either side has is kept.
void MergeItems(const CFoodCategory& h, CFoodDB& d, uint16_t group, uint16_t category,
                bool together) {
    std::set<uint32_t> handheldIds;
    for (const CFoodItem& item : h.Items())
        handheldIds.insert(item.Id());
    // What the handheld deleted goes first, so that its name is free for what the handheld
    // added or renamed to it.
    for (int i = together ? -1 : d.ItemCount(group, category) - 1; i >= 0; --i) {
        const CFoodItem& mine = d.GetFoodItem(group, category, static_cast<uint16_t>(i));
        if (mine.Modified() == 0 && handheldIds.count(mine.Id()) == 0)
            d.DeleteFoodItem(group, category, static_cast<uint16_t>(i));
    }
    // Then the items both sides know, then the new ones, so that a renamed item gives up its
    // old name first.
    std::set<uint32_t> known;
    for (const CFoodItem& item : d.GetCategory(group, category).Items())
        known.insert(item.Id());
    for (const CFoodItem& item : h.Items()) {
        if (known.count(item.Id()) == 0)
            continue;
        const int at = ItemWithId(d, group, category, item.Id());
        const CFoodItem mine = d.GetFoodItem(group, category, static_cast<uint16_t>(at));
        if (item.Modified() == 0 || mine.Modified() != 0 || SameItemContent(item, mine))
            continue;
        // The category must take the copy before the desktop's item goes.
        const int holder = d.FindFoodItem(group, category, item.Name());
        if (item.Name().empty() || (holder >= 0 && holder != at))
            continue;
        d.DeleteFoodItem(group, category, static_cast<uint16_t>(at));
        d.AddFoodItem(group, category, item);
    }
    for (const CFoodItem& item : h.Items()) {
        if (known.count(item.Id()) != 0 || (item.Modified() == 0 && !together) ||
            item.Name().empty())
            continue;
        // A name another food holds: both stay, the new one named as a paste names it; the
        // same food is not taken twice.
        CFoodItem copy = item;
        const int holder = d.FindFoodItem(group, category, item.Name());
        if (holder >= 0) {
            if (SameItemContent(d.GetFoodItem(group, category, static_cast<uint16_t>(holder)),
                                item))
                continue;
            copy.SetName(d.UniqueItemName(group, category, item.Name()), false);
        }
        d.AddFoodItem(group, category, copy);
    }
}

void MergeCategories(const CFoodGroup& h, CFoodDB& d, uint16_t group, bool together) {
    std::set<uint32_t> keep;
    for (const CFoodCategory& category : h.Categories())
        keep.insert(category.Id());
    // Categories known by id first, then the others by name: what a known category gave up
    // (a name, an item moved away) is free before a new one asks for it.
    std::set<uint32_t> known;
    for (const CFoodCategory& category : h.Categories()) {
        const int at = CategoryWithId(d, group, category.Id());
        if (at < 0)
            continue;
        known.insert(category.Id());
        MergeItems(category, d, group, static_cast<uint16_t>(at), false);
        const CFoodCategory& mine = d.GetCategory(group, static_cast<uint16_t>(at));
        if (category.Modified() != 0 && mine.Modified() == 0)
            d.RenameCategory(group, static_cast<uint16_t>(at), category.Name());
    }
    for (const CFoodCategory& category : h.Categories()) {
        if (known.count(category.Id()) != 0)
            continue;
        const int at = d.FindCategory(group, category.Name());
        if (at >= 0) {
            keep.insert(d.GetCategory(group, static_cast<uint16_t>(at)).Id());
            MergeItems(category, d, group, static_cast<uint16_t>(at), true);
        } else if (HoldsChanges(category) || together) {
            d.AddCategory(group, category);
        }
    }
    if (together)
        return;
    for (int c = d.CategoryCount(group) - 1; c >= 0; --c) {
        const CFoodCategory& mine = d.GetCategory(group, static_cast<uint16_t>(c));
        if (!HoldsChanges(mine) && keep.count(mine.Id()) == 0)
            d.DeleteCategory(group, static_cast<uint16_t>(c));
    }
}

// ---- runs ----

RecordList PackedRecords(CJournalDB journal) {
    return PackJournalRecords(journal);
}

bool AnyTooLarge(const RecordList& records) {
    for (const Bytes& record : records) {
        if (record.size() > kModelRecordLimit)
            return true;
    }
    return false;
}

std::vector<std::span<const uint8_t>> Views(const RecordList& records) {
    return {records.begin(), records.end()};
}

void CopyJournalHeader(const CJournalDB& from, CJournalDB& to) {
    to.Header().SetVersion(from.Header().Version());
    to.Header().SetIdGenerator(from.Header().IdGenerator());
    to.Header().SetHistoryLength(from.Header().HistoryLength());
}

void CopyFoodHeader(const CFoodDB& from, CFoodDB& to) {
    to.SetFormatVersion(from.FormatVersion());
    to.SetFindHistory(from.FindHistory());
    to.SetIdGenerator(from.IdGenerator());
}

} // namespace

void ModelMergeJournal(CJournalDB handheld, CJournalDB& desktop) {
    MergeProfile(handheld.Profile(), desktop.Profile());
    for (int position = 0; position < handheld.DayCount(); ++position) {
        CDayRecord& h = handheld.Day(position);
        const int found = desktop.FindDay(h.Date());
        if (found < 0) {
            // A day the desktop lacks comes over whole when it carries any change; one
            // without was deleted on the desktop.
            if (h.HasChanges())
                desktop.InsertDay(h);
            continue;
        }
        CDayRecord& d = desktop.Day(found);
        MergeDayValues(h, d, desktop.Profile());
        MergeMeasurements(h.Measurements(), d.Measurements());
        MergeBloodPressure(h.BloodPressure(), d.BloodPressure());
        MergeFoodLog(h.FoodLog(), d.FoodLog());
        MergeExercises(h.Exercises(), d.Exercises());
    }
}

void ModelMergeFood(CFoodDB handheld, CFoodDB& desktop) {
    std::set<uint32_t> keep;
    for (const CFoodGroup& group : handheld.Groups())
        keep.insert(group.Id());
    // Groups known by id first, then the others by name, as for categories.
    std::set<uint32_t> known;
    for (const CFoodGroup& group : handheld.Groups()) {
        const int at = GroupWithId(desktop, group.Id());
        if (at < 0)
            continue;
        known.insert(group.Id());
        MergeCategories(group, desktop, static_cast<uint16_t>(at), false);
        const CFoodGroup& mine = desktop.GetGroup(static_cast<uint16_t>(at));
        if (group.Modified() != 0 && mine.Modified() == 0)
            desktop.RenameGroup(static_cast<uint16_t>(at), group.Name());
    }
    for (const CFoodGroup& group : handheld.Groups()) {
        if (known.count(group.Id()) != 0)
            continue;
        const int at = desktop.FindGroup(group.Name());
        if (at >= 0) {
            keep.insert(desktop.GetGroup(static_cast<uint16_t>(at)).Id());
            MergeCategories(group, desktop, static_cast<uint16_t>(at), true);
        } else if (HoldsChanges(group)) {
            desktop.AddGroup(group);
        }
    }
    for (int g = desktop.GroupCount() - 1; g >= 0; --g) {
        const CFoodGroup& mine = desktop.GetGroup(static_cast<uint16_t>(g));
        if (!HoldsChanges(mine) && keep.count(mine.Id()) == 0)
            desktop.DeleteGroup(static_cast<uint16_t>(g));
    }
}

CJournalDate HistoryCutoff(const CJournalDate& today, int history) {
    if (history == 0)
        return CJournalDate();
    CJournalDate cutoff(today.Day(), today.Month(), today.Year());
    for (int step = 0; step <= history; ++step)
        cutoff.StepDays(-1);
    return cutoff;
}

CJournalDB WithoutDaysUpTo(const CJournalDB& journal, const CJournalDate& cutoff) {
    CJournalDB kept;
    kept.Header() = journal.Header();
    kept.Profile() = journal.Profile();
    for (const CDayRecord& day : journal.Days()) {
        if (cutoff < day.Date())
            kept.InsertDay(day);
    }
    return kept;
}

SModelOutcome ModelJournalRun(int action, const RecordList& handheldRecords,
                              const std::optional<Bytes>& desktopFile, const CJournalDate& today) {
    SModelOutcome outcome{0, desktopFile, handheldRecords};
    CJournalDB h;
    CJournalDB d;
    UnpackJournalRecords(Views(handheldRecords), h);
    if (desktopFile)
        CJournalFile::Unpack(*desktopFile, d);

    // `trim`: a synchronize sends the handheld only the days of its history.
    const auto handheldOverwrites = [&](bool trim) {
        h.ClearAllChangeBits();
        if (AnyTooLarge(PackedRecords(h))) {
            outcome.error = 14;
            return;
        }
        const int history = trim ? h.Header().HistoryLength() : 0;
        outcome.handheld = PackedRecords(WithoutDaysUpTo(h, HistoryCutoff(today, history)));
        CopyJournalHeader(d, h);
        outcome.desktopFile = CJournalFile::Pack(h);
    };
    const auto desktopOverwrites = [&](bool trim) {
        d.ClearAllChangeBits();
        try {
            outcome.desktopFile = CJournalFile::Pack(d);
        } catch (const std::exception&) {
            // A day beyond what the file's 16-bit offsets reach cannot be written at all.
            outcome.error = 10;
            return;
        }
        CopyJournalHeader(h, d);
        const RecordList records = trim ? PackedRecords(WithoutDaysUpTo(
                                              d, HistoryCutoff(today, d.Header().HistoryLength())))
                                        : PackedRecords(d);
        if (AnyTooLarge(records))
            outcome.error = 14;
        else
            outcome.handheld = records;
    };

    if (action == 0 || action == 1) {
        if (!desktopFile) {
            // Nothing on the desktop to merge with: the handheld's journal is taken whole
            // (a merge would drop every value an earlier HotSync had cleared).
            handheldOverwrites(true);
        } else {
            ModelMergeJournal(h, d);
            desktopOverwrites(true);
        }
    } else if (action == 2) {
        handheldOverwrites(false);
    } else if (action == 3) {
        desktopOverwrites(false);
    }
    return outcome;
}

SModelOutcome ModelFoodRun(int action, const RecordList& handheldRecords,
                           const std::optional<Bytes>& desktopFile) {
    SModelOutcome outcome{0, desktopFile, handheldRecords};
    CFoodDB h;
    CFoodDB d;
    CFoodDBFile::UnpackRecords(Views(handheldRecords), h);
    if (desktopFile)
        CFoodDBFile::Unpack(*desktopFile, d);

    const auto send = [&](CFoodDB& db) {
        const RecordList records = CFoodDBFile::PackRecords(db);
        if (AnyTooLarge(records)) {
            outcome.error = 14;
            return false;
        }
        outcome.handheld = records;
        return true;
    };
    const auto handheldOverwrites = [&] {
        h.ClearModifiedFlags();
        if (!send(h))
            return;
        CopyFoodHeader(d, h);
        outcome.desktopFile = CFoodDBFile::Pack(h);
    };
    const auto desktopOverwrites = [&](bool keepOwnHeader) {
        d.ClearModifiedFlags();
        outcome.desktopFile = CFoodDBFile::Pack(d);
        if (!keepOwnHeader)
            CopyFoodHeader(h, d);
        send(d);
    };

    if (action == 0 || action == 1) {
        const bool handheldEmpty = h.GroupCount() == 0;
        const bool desktopEmpty = d.GroupCount() == 0;
        if (handheldEmpty && desktopEmpty)
            return outcome;
        if (desktopEmpty) {
            handheldOverwrites();
        } else if (handheldEmpty) {
            // An empty handheld receives the desktop's database with the desktop's header.
            desktopOverwrites(true);
        } else {
            ModelMergeFood(h, d);
            desktopOverwrites(false);
        }
    } else if (action == 2) {
        handheldOverwrites();
    } else if (action == 3) {
        desktopOverwrites(false);
    }
    return outcome;
}

} // namespace fitquill::testing
