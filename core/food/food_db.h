// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/food/food_category.h"
#include "core/food/food_group.h"
#include "core/food/food_item.h"
#include "core/food/nutrient.h"
#include "core/journal/id_generator.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace fitquill {

// One hit of the food find: a copy of the item and where it stood when found. The indexes go
// stale as soon as the database changes.
struct SFoodSearchResult {
    CFoodItem item;
    uint16_t group = 0;
    uint16_t category = 0;
    uint16_t itemIndex = 0;
    bool operator==(const SFoodSearchResult&) const = default;
};

// The user's food database: groups holding categories holding food items, each list sorted by
// name (CompareNames), plus the header the file keeps, the find results and two clipboards.
//
// Objects are addressed by position. Index results are the new position, or -1 for a refused
// name (empty, or already in the list). An index out of range where an existing object is
// needed raises CInternalError with kInternalErrorFoodDb; bad names never raise.
class CFoodDB {
public:
    static constexpr uint16_t kFormatVersion = 6;
    static constexpr size_t kFindHistorySize = 10;
    static constexpr size_t kMaxSearchResults = 100;

    // Empty, with the identifier generator seeded from today.
    CFoodDB();

    // Paths of the user's food file and its folder; filled by the file layer.
    const std::filesystem::path& FilePath() const { return m_filePath; }
    const std::filesystem::path& FolderPath() const { return m_folderPath; }
    void SetPaths(const std::filesystem::path& filePath, const std::filesystem::path& folderPath);

    // Header values, for the file layer and the conduit.
    uint16_t FormatVersion() const { return m_formatVersion; }
    void SetFormatVersion(uint16_t version) { m_formatVersion = version; }
    // Most recent first, at most ten texts.
    const std::vector<std::string>& FindHistory() const { return m_findHistory; }
    // Stores the texts trimmed, keeping only the first ten.
    void SetFindHistory(const std::vector<std::string>& history);
    const CIdGenerator& IdGenerator() const { return m_idGenerator; }
    void SetIdGenerator(const CIdGenerator& generator) { m_idGenerator = generator; }
    // Kept for the file only; nothing here reads it.
    const std::vector<CNutrientValue>& HeaderNutrients() const { return m_headerNutrients; }
    void SetHeaderNutrients(const std::vector<CNutrientValue>& nutrients) {
        m_headerNutrients = nutrients;
    }

    // Counts. A group beyond the list has no categories (0); ItemCount needs existing indexes.
    uint16_t GroupCount() const { return static_cast<uint16_t>(m_groups.size()); }
    uint16_t CategoryCount(uint16_t group) const;
    uint16_t ItemCount(uint16_t group, uint16_t category) const;

    const std::vector<CFoodGroup>& Groups() const { return m_groups; }
    const CFoodGroup& GetGroup(uint16_t group) const;
    // nullptr for a group index beyond the list.
    const std::vector<CFoodCategory>* GetCategories(uint16_t group) const;
    const CFoodCategory& GetCategory(uint16_t group, uint16_t category) const;
    const CFoodItem& GetFoodItem(uint16_t group, uint16_t category, uint16_t item) const;

    // Index of the entry with exactly this (trimmed) name, or -1. FindCategory gives -1 for a
    // group beyond the list.
    int FindGroup(std::string_view name) const;
    int FindCategory(uint16_t group, std::string_view name) const;
    int FindFoodItem(uint16_t group, uint16_t category, std::string_view name) const;

    // Groups. The added copy keeps its categories and items as they are and gets a new
    // identifier and the modified flag.
    int AddGroup(const CFoodGroup& group);
    // Keeps identifier and contents; the current name returns the index unchanged.
    int RenameGroup(uint16_t group, std::string_view newName);
    void DeleteGroup(uint16_t group);
    void DeleteAllGroups() { m_groups.clear(); }

    // Categories. AddCategory gives -1 for a group beyond the list; the added copy keeps its
    // items' identifiers.
    int AddCategory(uint16_t group, const CFoodCategory& category);
    int RenameCategory(uint16_t group, uint16_t category, std::string_view newName);
    void DeleteCategory(uint16_t group, uint16_t category);
    void DeleteAllCategories(uint16_t group);

    // Food items. Replace keeps the identifier of the item it replaces.
    int AddFoodItem(uint16_t group, uint16_t category, const CFoodItem& item);
    int ReplaceFoodItem(uint16_t group, uint16_t category, uint16_t item, const CFoodItem& with);
    void DeleteFoodItem(uint16_t group, uint16_t category, uint16_t item);

    // Clipboards: one category (with its items) or one item; copying one empties the other.
    // A paste makes the name unique in the target list ("Name1", "Name2", ...) and leaves the
    // clipboard as it was.
    void CopyCategory(uint16_t group, uint16_t category);
    void CutCategory(uint16_t group, uint16_t category);
    void CopyFoodItem(uint16_t group, uint16_t category, uint16_t item);
    void CutFoodItem(uint16_t group, uint16_t category, uint16_t item);
    void ClearClipboards();
    bool HasCategoryInClipboard() const { return !m_categoryClipboard.Name().empty(); }
    bool HasItemInClipboard() const { return !m_itemClipboard.Name().empty(); }
    const CFoodCategory& CategoryClipboard() const { return m_categoryClipboard; }
    const CFoodItem& ItemClipboard() const { return m_itemClipboard; }
    // -1 also for a target group beyond the list.
    int PasteCategory(uint16_t group);
    int PasteFoodItem(uint16_t group, uint16_t category);
    // The name a pasted item takes in the category: the name itself when no item has it.
    std::string UniqueItemName(uint16_t group, uint16_t category, const std::string& name) const;

    // Finds items whose category name or search name contains the text, ignoring case; puts
    // the text at the front of the find history. At most 100 results, sorted by item name.
    void Find(std::string_view searchText);
    const std::vector<SFoodSearchResult>& SearchResults() const { return m_searchResults; }
    uint16_t SearchResultCount() const { return static_cast<uint16_t>(m_searchResults.size()); }
    const SFoodSearchResult& GetSearchResult(uint16_t index) const;

    // For readers of stored data: objects are taken exactly as stored (identifiers and flags
    // kept, no identifier drawn) into their sorted position, equal names accepted so that
    // nothing read is lost. Each returns the index where the object now stands (the next
    // object of the same list goes after it when the stored data was in order), or -1 when the
    // list is full. A group or category index beyond its list is an internal error.
    int AppendStoredGroup(const CFoodGroup& group);
    int AppendStoredCategory(uint16_t group, const CFoodCategory& category);
    int AppendStoredItem(uint16_t group, uint16_t category, const CFoodItem& item);
    // The writer numbers the group records.
    void SetGroupRecordNumber(uint16_t group, uint16_t recordNumber);
    // Clears the modified flag of every group, category and food item (after a sync).
    void ClearModifiedFlags();

    bool operator==(const CFoodDB&) const = default;

private:
    CFoodGroup& Group(uint16_t group);
    CFoodCategory& Category(uint16_t group, uint16_t category);
    CFoodItem& Item(uint16_t group, uint16_t category, uint16_t item);
    void AddSearchResult(const CFoodItem& item, uint16_t group, uint16_t category,
                         uint16_t itemIndex);

    std::filesystem::path m_filePath;
    std::filesystem::path m_folderPath;

    uint16_t m_formatVersion = kFormatVersion;
    std::vector<std::string> m_findHistory;
    CIdGenerator m_idGenerator;
    std::vector<CNutrientValue> m_headerNutrients;

    std::vector<CFoodGroup> m_groups;
    std::vector<SFoodSearchResult> m_searchResults;
    CFoodItem m_itemClipboard;
    CFoodCategory m_categoryClipboard;
};

} // namespace fitquill
