// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/food/food_db.h"

#include "core/food/sorted_list.h"
#include "core/internal_error.h"
#include "core/names.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <unordered_set>

namespace fitquill {
namespace {

constexpr size_t kMaxUniqueNameLength = 255;
constexpr int kMaxUniqueNameSuffix = 9999;

[[noreturn]] void RaiseBadIndex(const char* what) {
    RaiseInternalError(kInternalErrorFoodDb, std::string("food database: ") + what);
}

// The name itself when no entry has it, else the first free "name<n>" for n = 1..9999, the
// name shortened so that the candidate stays within 255 characters. When every candidate is
// taken the last one is returned and the add that follows refuses it.
template <class T> std::string UniqueName(const std::vector<T>& list, const std::string& name) {
    if (FindSortedName(list, name) < 0)
        return name;
    // Up to 9999 candidates: look them up in a set rather than scanning the list each time.
    std::unordered_set<std::string_view> taken;
    for (const T& entry : list)
        taken.insert(entry.Name());
    std::string candidate;
    for (int n = 1; n <= kMaxUniqueNameSuffix; ++n) {
        const std::string digits = std::to_string(n);
        candidate = name.substr(0, kMaxUniqueNameLength - digits.size()) + digits;
        if (!taken.contains(candidate))
            break;
    }
    return candidate;
}

// Rename shared by groups and categories: the object keeps identifier and contents and moves
// to the sorted position of its new name.
template <class T> int RenameInList(std::vector<T>& list, size_t index, std::string_view newName) {
    const std::string name = TrimSpaces(newName);
    if (name.empty())
        return -1;
    if (list[index].Name() == name)
        return static_cast<int>(index);
    if (FindSortedName(list, name, index) >= 0)
        return -1;
    const size_t at = SortedInsertionIndex(list, name, index);
    T renamed = list[index];
    renamed.SetName(name);
    renamed.SetModified(1);
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(index));
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), std::move(renamed));
    return static_cast<int>(at);
}

} // namespace

CFoodDB::CFoodDB() : m_idGenerator(CIdGenerator::SeededToday()) {
    for (int i = 0; i < kBasicNutrientCount; ++i)
        m_headerNutrients.emplace_back(i, 0.0f);
}

void CFoodDB::SetPaths(const std::filesystem::path& filePath,
                       const std::filesystem::path& folderPath) {
    m_filePath = filePath;
    m_folderPath = folderPath;
}

void CFoodDB::SetFindHistory(const std::vector<std::string>& history) {
    m_findHistory.clear();
    for (size_t i = 0; i < history.size() && i < kFindHistorySize; ++i)
        m_findHistory.push_back(TrimSpaces(history[i]));
}

// ---- access ----

const CFoodGroup& CFoodDB::GetGroup(uint16_t group) const {
    if (group >= m_groups.size())
        RaiseBadIndex("group index out of range");
    return m_groups[group];
}

const std::vector<CFoodCategory>* CFoodDB::GetCategories(uint16_t group) const {
    return group < m_groups.size() ? &m_groups[group].m_categories : nullptr;
}

const CFoodCategory& CFoodDB::GetCategory(uint16_t group, uint16_t category) const {
    const CFoodGroup& owner = GetGroup(group);
    if (category >= owner.m_categories.size())
        RaiseBadIndex("category index out of range");
    return owner.m_categories[category];
}

const CFoodItem& CFoodDB::GetFoodItem(uint16_t group, uint16_t category, uint16_t item) const {
    const CFoodCategory& owner = GetCategory(group, category);
    if (item >= owner.m_items.size())
        RaiseBadIndex("food item index out of range");
    return owner.m_items[item];
}

// Mutable access for the operations below; the const accessors do the index checks.
CFoodGroup& CFoodDB::Group(uint16_t group) {
    return const_cast<CFoodGroup&>(GetGroup(group));
}

CFoodCategory& CFoodDB::Category(uint16_t group, uint16_t category) {
    return const_cast<CFoodCategory&>(GetCategory(group, category));
}

CFoodItem& CFoodDB::Item(uint16_t group, uint16_t category, uint16_t item) {
    return const_cast<CFoodItem&>(GetFoodItem(group, category, item));
}

uint16_t CFoodDB::CategoryCount(uint16_t group) const {
    const auto* categories = GetCategories(group);
    return categories ? static_cast<uint16_t>(categories->size()) : 0;
}

uint16_t CFoodDB::ItemCount(uint16_t group, uint16_t category) const {
    return GetCategory(group, category).ItemCount();
}

int CFoodDB::FindGroup(std::string_view name) const {
    return FindSortedName(m_groups, TrimSpaces(name));
}

int CFoodDB::FindCategory(uint16_t group, std::string_view name) const {
    const auto* categories = GetCategories(group);
    return categories ? FindSortedName(*categories, TrimSpaces(name)) : -1;
}

int CFoodDB::FindFoodItem(uint16_t group, uint16_t category, std::string_view name) const {
    return FindSortedName(GetCategory(group, category).Items(), TrimSpaces(name));
}

// ---- groups ----

int CFoodDB::AddGroup(const CFoodGroup& group) {
    if (group.Name().empty())
        return -1;
    const int at = SortedPlace(m_groups, group.Name(), false);
    if (at < 0)
        return -1;
    CFoodGroup copy = group;
    copy.SetId(m_idGenerator.Next());
    copy.SetModified(1);
    m_groups.insert(m_groups.begin() + at, std::move(copy));
    return at;
}

int CFoodDB::RenameGroup(uint16_t group, std::string_view newName) {
    Group(group);
    return RenameInList(m_groups, group, newName);
}

void CFoodDB::DeleteGroup(uint16_t group) {
    Group(group);
    m_groups.erase(m_groups.begin() + group);
}

// ---- categories ----

int CFoodDB::AddCategory(uint16_t group, const CFoodCategory& category) {
    if (group >= m_groups.size() || category.Name().empty())
        return -1;
    auto& categories = m_groups[group].m_categories;
    const int at = SortedPlace(categories, category.Name(), false);
    if (at < 0)
        return -1;
    CFoodCategory copy = category;
    copy.SetId(m_idGenerator.Next());
    copy.SetModified(1);
    categories.insert(categories.begin() + at, std::move(copy));
    return at;
}

int CFoodDB::RenameCategory(uint16_t group, uint16_t category, std::string_view newName) {
    Category(group, category);
    return RenameInList(m_groups[group].m_categories, category, newName);
}

void CFoodDB::DeleteCategory(uint16_t group, uint16_t category) {
    Category(group, category);
    auto& categories = m_groups[group].m_categories;
    categories.erase(categories.begin() + category);
}

void CFoodDB::DeleteAllCategories(uint16_t group) {
    Group(group).m_categories.clear();
}

// ---- food items ----

int CFoodDB::AddFoodItem(uint16_t group, uint16_t category, const CFoodItem& item) {
    auto& items = Category(group, category).m_items;
    if (item.Name().empty())
        return -1;
    // Checked before an identifier is drawn, so that a refused item uses none up.
    const int at = SortedPlace(items, item.Name(), false);
    if (at < 0)
        return -1;
    CFoodItem copy = item;
    copy.SetId(m_idGenerator.Next());
    copy.SetModified(1);
    items.insert(items.begin() + at, std::move(copy));
    return at;
}

int CFoodDB::ReplaceFoodItem(uint16_t group, uint16_t category, uint16_t item,
                             const CFoodItem& with) {
    const CFoodItem& old = Item(group, category, item);
    auto& items = m_groups[group].m_categories[category].m_items;
    if (with.Name().empty() || FindSortedName(items, with.Name(), item) >= 0)
        return -1;
    const size_t at = SortedInsertionIndex(items, with.Name(), item);
    CFoodItem copy = with;
    copy.SetId(old.Id());
    copy.SetModified(1);
    items.erase(items.begin() + item);
    items.insert(items.begin() + static_cast<std::ptrdiff_t>(at), std::move(copy));
    return static_cast<int>(at);
}

void CFoodDB::DeleteFoodItem(uint16_t group, uint16_t category, uint16_t item) {
    Item(group, category, item);
    auto& items = m_groups[group].m_categories[category].m_items;
    items.erase(items.begin() + item);
}

// ---- clipboards ----

void CFoodDB::CopyCategory(uint16_t group, uint16_t category) {
    m_categoryClipboard = Category(group, category);
    m_itemClipboard = CFoodItem();
}

void CFoodDB::CutCategory(uint16_t group, uint16_t category) {
    CopyCategory(group, category);
    DeleteCategory(group, category);
}

void CFoodDB::CopyFoodItem(uint16_t group, uint16_t category, uint16_t item) {
    m_itemClipboard = Item(group, category, item);
    m_categoryClipboard = CFoodCategory();
}

void CFoodDB::CutFoodItem(uint16_t group, uint16_t category, uint16_t item) {
    CopyFoodItem(group, category, item);
    DeleteFoodItem(group, category, item);
}

void CFoodDB::ClearClipboards() {
    m_itemClipboard = CFoodItem();
    m_categoryClipboard = CFoodCategory();
}

int CFoodDB::PasteCategory(uint16_t group) {
    if (!HasCategoryInClipboard() || group >= m_groups.size())
        return -1;
    CFoodCategory copy = m_categoryClipboard;
    copy.SetName(UniqueName(m_groups[group].m_categories, copy.Name()));
    return AddCategory(group, copy);
}

int CFoodDB::PasteFoodItem(uint16_t group, uint16_t category) {
    if (!HasItemInClipboard())
        return -1;
    CFoodItem copy = m_itemClipboard;
    copy.SetName(UniqueItemName(group, category, copy.Name()), false);
    return AddFoodItem(group, category, copy);
}

std::string CFoodDB::UniqueItemName(uint16_t group, uint16_t category,
                                    const std::string& name) const {
    return UniqueName(GetCategory(group, category).Items(), name);
}

// ---- find ----

void CFoodDB::Find(std::string_view searchText) {
    // Trimmed like every stored text, so that a text picked from the history finds the same.
    const std::string text = TrimSpaces(searchText);
    auto earlier = std::find(m_findHistory.begin(), m_findHistory.end(), text);
    if (earlier != m_findHistory.end())
        m_findHistory.erase(earlier);
    m_findHistory.insert(m_findHistory.begin(), text);
    if (m_findHistory.size() > kFindHistorySize)
        m_findHistory.resize(kFindHistorySize);

    m_searchResults.clear();
    for (size_t g = 0; g < m_groups.size(); ++g) {
        const auto& categories = m_groups[g].m_categories;
        for (size_t c = 0; c < categories.size(); ++c) {
            const bool categoryMatches = ContainsIgnoringCase(categories[c].Name(), text);
            const auto& items = categories[c].m_items;
            for (size_t i = 0; i < items.size(); ++i) {
                if (!categoryMatches && !ContainsIgnoringCase(items[i].SearchName(), text))
                    continue;
                AddSearchResult(items[i], static_cast<uint16_t>(g), static_cast<uint16_t>(c),
                                static_cast<uint16_t>(i));
                if (m_searchResults.size() >= kMaxSearchResults)
                    return;
            }
        }
    }
}

void CFoodDB::AddSearchResult(const CFoodItem& item, uint16_t group, uint16_t category,
                              uint16_t itemIndex) {
    // Equal names are kept; a later hit goes before the first entry equal to or after it.
    auto at = std::find_if(
        m_searchResults.begin(), m_searchResults.end(),
        [&](const SFoodSearchResult& r) { return CompareNames(r.item.Name(), item.Name()) >= 0; });
    m_searchResults.insert(at, SFoodSearchResult{item, group, category, itemIndex});
}

const SFoodSearchResult& CFoodDB::GetSearchResult(uint16_t index) const {
    if (index >= m_searchResults.size())
        RaiseBadIndex("search result index out of range");
    return m_searchResults[index];
}

// ---- stored data ----

int CFoodDB::AppendStoredGroup(const CFoodGroup& group) {
    return InsertSorted(m_groups, group, true);
}

int CFoodDB::AppendStoredCategory(uint16_t group, const CFoodCategory& category) {
    return Group(group).AppendStoredCategory(category);
}

int CFoodDB::AppendStoredItem(uint16_t group, uint16_t category, const CFoodItem& item) {
    return Category(group, category).AppendStoredItem(item);
}

void CFoodDB::SetGroupRecordNumber(uint16_t group, uint16_t recordNumber) {
    Group(group).SetRecordNumber(recordNumber);
}

void CFoodDB::ClearModifiedFlags() {
    for (auto& group : m_groups) {
        group.SetModified(0);
        for (auto& category : group.m_categories) {
            category.SetModified(0);
            for (auto& item : category.m_items)
                item.SetModified(0);
        }
    }
}

} // namespace fitquill
