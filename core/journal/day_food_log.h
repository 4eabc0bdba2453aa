// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/food/food_item.h"
#include "core/food/nutrient.h"
#include "core/journal/id_generator.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace fitquill {

enum EMealType : int {
    kMealBreakfast = 0,
    kMealLunch = 1,
    kMealDinner = 2,
    kMealSnack = 3,
};
constexpr int kMealCount = 4;

enum EFoodSortMode : int {
    kSortByMeal = 0,
    kSortAlphabetical = 1,
};

// One row of the meal log: a meal header (by-meal order only) or a food entry.
struct SFoodLogRow {
    bool isHeader = false;
    int mealType = 0;
    const char* mealName = "";
    int indexInMeal = -1;             // -1 for a header row
    const CFoodItem* entry = nullptr; // valid until the food log next changes
};

// Where an entry sits in its meal list.
struct SFoodEntryRef {
    int mealType = 0;
    int indexInMeal = 0;
};

// The food eaten on one day: four meal lists, each kept in the name order, the day's
// nutrient totals and the display list that the meal-log views show.
//
// Every editing operation takes the sort mode the caller shows and switches to it first,
// so display positions always mean rows of that order. Display positions returned are
// rows of the by-meal order; in alphabetical order -1 is returned instead.
//
// A meal type outside 0-3, a sort mode outside 0-1 or a row that does not exist is a
// programming error and raises an internal error.
class CDayFoodLog {
public:
    CDayFoodLog();

    static const char* MealName(int mealType);

    int SortMode() const { return m_sortMode; }
    void SetSortMode(int sortMode);

    int DisplayRowCount() const { return static_cast<int>(Rows().size()); }
    int DisplayRowCount(int sortMode);
    SFoodLogRow DisplayRow(int position) const;
    SFoodLogRow DisplayRow(int sortMode, int position);

    // A copy of the entry, with a new id and marked modified, goes into its meal's list.
    int AddEntry(int sortMode, const CFoodItem& entry, CIdGenerator& ids);
    // The row must hold an entry. The copy keeps the old entry's id, is marked modified
    // and is filed by its own meal type, so it may move to another meal.
    int ReplaceEntry(int sortMode, int position, const CFoodItem& entry);
    // Removes the entries among the rows; header rows are skipped.
    void DeleteRows(int sortMode, int first, int count);
    // The entries among the rows replace the food clipboard.
    void CopyRows(int sortMode, int first, int count);
    void CutRows(int sortMode, int first, int count);

    // Copies of the clipboard entries, with new ids and marked modified, go into their
    // meals. Returns the row of the first pasted entry, -1 when nothing was pasted (empty
    // clipboard) or in alphabetical order. When fits is given it is asked before each entry;
    // the first refusal stops the paste. pastedCount, when given, receives how many went in.
    using FitsFunction = std::function<bool(const CFoodItem&)>;
    int Paste(int sortMode, CIdGenerator& ids, const FitsFunction& fits = {},
              int* pastedCount = nullptr);

    // Sums the six basic nutrients (calories, carbohydrate, protein, fiber, fat, saturated
    // fat) of every entry, scaled by its serving ratio, and stores them with the clamping
    // of CNutrientValue. Returns the stored values.
    std::array<float, kBasicNutrientCount> RecomputeTotals();
    // The stored totals (as last recomputed or read).
    const std::vector<CNutrientValue>& Totals() const { return m_totals; }
    // The stored total of a nutrient index; 0 when the list holds none.
    float TotalValue(int index) const;

    int EntryCount() const;
    const std::vector<CFoodItem>& MealEntries(int mealType) const;
    std::optional<SFoodEntryRef> FindEntry(uint32_t id) const;

    bool AnyChanged() const;
    void ClearChangeFlags();

    // For readers of stored records and the conduit's merge: the entry goes in as it is
    // (id and modified flag kept), filed by its meal type in name order. False, changing
    // nothing, when the meal type is outside 0-3 (a damaged record is not a program error).
    bool InsertStoredEntry(CFoodItem entry);
    void RemoveStoredEntry(int mealType, int indexInMeal);
    void SetStoredTotals(std::vector<CNutrientValue> totals) { m_totals = std::move(totals); }
    // Room for `count` more entries in a meal (from a stored list's count); an out-of-range
    // meal type is ignored here and refused when its entries come in.
    void ReserveMeal(int mealType, std::size_t count);

    // The content: totals and meal lists. The sort mode is a view setting and not compared.
    bool operator==(const CDayFoodLog& other) const;

private:
    struct SRowRef {
        int meal;
        int index; // -1 for a header row
    };

    static void CheckMealType(int mealType);
    static void CheckSortMode(int sortMode);
    // Inserts after the last entry whose name is not greater; returns the index.
    int InsertIntoMeal(CFoodItem entry);
    void RebuildRows() const;
    // The display rows, rebuilt first when stored entries came in since the last build.
    const std::vector<SRowRef>& Rows() const;
    void CheckRows(int first, int count) const;
    std::vector<SFoodEntryRef> EntriesAmongRows(int first, int count) const;
    void RemoveEntries(std::vector<SFoodEntryRef> refs);
    int RowOf(const SFoodEntryRef& ref) const;

    std::vector<CNutrientValue> m_totals;
    std::array<std::vector<CFoodItem>, kMealCount> m_meals;
    int m_sortMode = kSortByMeal;
    // Derived from the meal lists; readers insert many entries and rebuild once.
    mutable std::vector<SRowRef> m_rows;
    mutable bool m_rowsStale = false;
};

} // namespace fitquill
