// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/journal/day_food_log.h"

#include "core/internal_error.h"
#include "core/journal/journal_clipboard.h"
#include "core/names.h"

#include <algorithm>

namespace fitquill {
namespace {

const char* const kMealNames[kMealCount] = {"Breakfast", "Lunch", "Dinner", "Snack"};

} // namespace

CDayFoodLog::CDayFoodLog() {
    m_totals.reserve(kBasicNutrientCount);
    for (int i = 0; i < kBasicNutrientCount; ++i)
        m_totals.emplace_back(i, 0.0f);
}

void CDayFoodLog::CheckMealType(int mealType) {
    if (mealType < 0 || mealType >= kMealCount)
        RaiseInternalError(kInternalErrorGeneral, "meal type out of range");
}

void CDayFoodLog::CheckSortMode(int sortMode) {
    if (sortMode != kSortByMeal && sortMode != kSortAlphabetical)
        RaiseInternalError(kInternalErrorGeneral, "food log sort mode out of range");
}

const char* CDayFoodLog::MealName(int mealType) {
    CheckMealType(mealType);
    return kMealNames[mealType];
}

void CDayFoodLog::SetSortMode(int sortMode) {
    CheckSortMode(sortMode);
    if (m_sortMode != sortMode) {
        m_sortMode = sortMode;
        RebuildRows();
    }
}

void CDayFoodLog::RebuildRows() const {
    m_rowsStale = false;
    m_rows.clear();
    for (int meal = 0; meal < kMealCount; ++meal) {
        const int size = static_cast<int>(m_meals[meal].size());
        if (size > 0 && m_sortMode == kSortByMeal)
            m_rows.push_back({meal, -1});
        for (int i = 0; i < size; ++i)
            m_rows.push_back({meal, i});
    }
    if (m_sortMode == kSortAlphabetical) {
        // A stable sort: entries of identical names keep their meal order, as repeated
        // passes of adjacent swaps of out-of-order neighbours would leave them.
        std::stable_sort(m_rows.begin(), m_rows.end(), [this](const SRowRef& a, const SRowRef& b) {
            return CompareNames(m_meals[a.meal][a.index].Name(), m_meals[b.meal][b.index].Name()) <
                   0;
        });
    }
}

const std::vector<CDayFoodLog::SRowRef>& CDayFoodLog::Rows() const {
    if (m_rowsStale)
        RebuildRows();
    return m_rows;
}

int CDayFoodLog::InsertIntoMeal(CFoodItem entry) {
    std::vector<CFoodItem>& list = m_meals[entry.MealType()];
    size_t at = list.size();
    while (at > 0 && CompareNames(list[at - 1].Name(), entry.Name()) > 0)
        --at;
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
    return static_cast<int>(at);
}

int CDayFoodLog::RowOf(const SFoodEntryRef& ref) const {
    if (m_sortMode != kSortByMeal)
        return -1;
    const std::vector<SRowRef>& rows = Rows();
    for (size_t row = 0; row < rows.size(); ++row) {
        if (rows[row].meal == ref.mealType && rows[row].index == ref.indexInMeal)
            return static_cast<int>(row);
    }
    return -1;
}

void CDayFoodLog::CheckRows(int first, int count) const {
    const int size = DisplayRowCount();
    if (first < 0 || count < 0 || first > size || count > size - first)
        RaiseInternalError(kInternalErrorGeneral, "food log row out of range");
}

int CDayFoodLog::DisplayRowCount(int sortMode) {
    SetSortMode(sortMode);
    return DisplayRowCount();
}

SFoodLogRow CDayFoodLog::DisplayRow(int position) const {
    CheckRows(position, 1);
    const SRowRef& ref = Rows()[position];
    SFoodLogRow row;
    row.isHeader = ref.index < 0;
    row.mealType = ref.meal;
    row.mealName = kMealNames[ref.meal];
    row.indexInMeal = ref.index;
    if (!row.isHeader)
        row.entry = &m_meals[ref.meal][ref.index];
    return row;
}

SFoodLogRow CDayFoodLog::DisplayRow(int sortMode, int position) {
    SetSortMode(sortMode);
    return DisplayRow(position);
}

int CDayFoodLog::AddEntry(int sortMode, const CFoodItem& entry, CIdGenerator& ids) {
    SetSortMode(sortMode);
    CheckMealType(entry.MealType());
    CFoodItem copy = entry;
    copy.SetId(ids.Next());
    copy.SetModified(1);
    const int index = InsertIntoMeal(std::move(copy));
    RebuildRows();
    return RowOf({entry.MealType(), index});
}

int CDayFoodLog::ReplaceEntry(int sortMode, int position, const CFoodItem& entry) {
    SetSortMode(sortMode);
    CheckRows(position, 1);
    const SRowRef old = Rows()[position];
    if (old.index < 0)
        RaiseInternalError(kInternalErrorGeneral, "a meal header row cannot be replaced");
    CheckMealType(entry.MealType());
    CFoodItem copy = entry;
    copy.SetId(m_meals[old.meal][old.index].Id());
    copy.SetModified(1);
    m_meals[old.meal].erase(m_meals[old.meal].begin() + old.index);
    const int index = InsertIntoMeal(std::move(copy));
    RebuildRows();
    return RowOf({entry.MealType(), index});
}

std::vector<SFoodEntryRef> CDayFoodLog::EntriesAmongRows(int first, int count) const {
    std::vector<SFoodEntryRef> refs;
    for (int row = first; row < first + count; ++row) {
        const SRowRef& ref = Rows()[row];
        if (ref.index >= 0)
            refs.push_back({ref.meal, ref.index});
    }
    return refs;
}

void CDayFoodLog::RemoveEntries(std::vector<SFoodEntryRef> refs) {
    // From the back of each list, so that the indexes still to remove stay valid.
    std::sort(refs.begin(), refs.end(), [](const SFoodEntryRef& a, const SFoodEntryRef& b) {
        return a.mealType != b.mealType ? a.mealType < b.mealType : a.indexInMeal > b.indexInMeal;
    });
    for (const SFoodEntryRef& ref : refs)
        m_meals[ref.mealType].erase(m_meals[ref.mealType].begin() + ref.indexInMeal);
    RebuildRows();
}

void CDayFoodLog::DeleteRows(int sortMode, int first, int count) {
    SetSortMode(sortMode);
    CheckRows(first, count);
    RemoveEntries(EntriesAmongRows(first, count));
}

void CDayFoodLog::CopyRows(int sortMode, int first, int count) {
    SetSortMode(sortMode);
    CheckRows(first, count);
    std::vector<CFoodItem> copied;
    for (const SFoodEntryRef& ref : EntriesAmongRows(first, count))
        copied.push_back(m_meals[ref.mealType][ref.indexInMeal]);
    CJournalClipboard::Food() = std::move(copied);
}

void CDayFoodLog::CutRows(int sortMode, int first, int count) {
    CopyRows(sortMode, first, count);
    DeleteRows(sortMode, first, count);
}

int CDayFoodLog::Paste(int sortMode, CIdGenerator& ids, const FitsFunction& fits,
                       int* pastedCount) {
    SetSortMode(sortMode);
    const std::vector<CFoodItem>& clipboard = CJournalClipboard::Food();
    for (const CFoodItem& item : clipboard)
        CheckMealType(item.MealType());
    std::optional<SFoodEntryRef> first;
    int pasted = 0;
    for (const CFoodItem& item : clipboard) {
        if (fits && !fits(item))
            break;
        CFoodItem copy = item;
        copy.SetId(ids.Next());
        copy.SetModified(1);
        const int index = InsertIntoMeal(std::move(copy));
        ++pasted;
        if (!first)
            first = SFoodEntryRef{item.MealType(), index};
        else if (first->mealType == item.MealType() && index <= first->indexInMeal)
            ++first->indexInMeal; // inserted in front of the first pasted entry
    }
    if (pastedCount)
        *pastedCount = pasted;
    if (!first)
        return -1;
    RebuildRows();
    return RowOf(*first);
}

std::array<float, kBasicNutrientCount> CDayFoodLog::RecomputeTotals() {
    std::array<double, kBasicNutrientCount> sums{};
    for (const SRowRef& ref : Rows()) {
        if (ref.index < 0)
            continue;
        const CFoodItem& entry = m_meals[ref.meal][ref.index];
        for (int i = 0; i < kBasicNutrientCount; ++i)
            sums[i] += entry.NutrientValue(i);
    }
    std::array<float, kBasicNutrientCount> stored{};
    m_totals.clear();
    for (int i = 0; i < kBasicNutrientCount; ++i) {
        m_totals.emplace_back(i, static_cast<float>(sums[i]));
        stored[i] = m_totals.back().Value();
    }
    return stored;
}

float CDayFoodLog::TotalValue(int index) const {
    for (const CNutrientValue& total : m_totals) {
        if (total.Index() == index)
            return total.Value();
    }
    return 0.0f;
}

int CDayFoodLog::EntryCount() const {
    int count = 0;
    for (const std::vector<CFoodItem>& list : m_meals)
        count += static_cast<int>(list.size());
    return count;
}

const std::vector<CFoodItem>& CDayFoodLog::MealEntries(int mealType) const {
    CheckMealType(mealType);
    return m_meals[mealType];
}

std::optional<SFoodEntryRef> CDayFoodLog::FindEntry(uint32_t id) const {
    for (int meal = 0; meal < kMealCount; ++meal) {
        for (size_t i = 0; i < m_meals[meal].size(); ++i) {
            if (m_meals[meal][i].Id() == id)
                return SFoodEntryRef{meal, static_cast<int>(i)};
        }
    }
    return std::nullopt;
}

bool CDayFoodLog::AnyChanged() const {
    for (const std::vector<CFoodItem>& list : m_meals) {
        for (const CFoodItem& entry : list) {
            if (entry.Modified() != 0)
                return true;
        }
    }
    return false;
}

void CDayFoodLog::ClearChangeFlags() {
    for (std::vector<CFoodItem>& list : m_meals) {
        for (CFoodItem& entry : list)
            entry.SetModified(0);
    }
}

void CDayFoodLog::ReserveMeal(int mealType, std::size_t count) {
    if (mealType >= 0 && mealType < kMealCount)
        m_meals[mealType].reserve(m_meals[mealType].size() + count);
}

bool CDayFoodLog::InsertStoredEntry(CFoodItem entry) {
    if (entry.MealType() >= kMealCount)
        return false;
    InsertIntoMeal(std::move(entry));
    m_rowsStale = true;
    return true;
}

void CDayFoodLog::RemoveStoredEntry(int mealType, int indexInMeal) {
    CheckMealType(mealType);
    if (indexInMeal < 0 || indexInMeal >= static_cast<int>(m_meals[mealType].size()))
        RaiseInternalError(kInternalErrorGeneral, "meal list position out of range");
    RemoveEntries({{mealType, indexInMeal}});
}

bool CDayFoodLog::operator==(const CDayFoodLog& other) const {
    return m_totals == other.m_totals && m_meals == other.m_meals;
}

} // namespace fitquill
