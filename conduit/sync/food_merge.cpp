// SPDX-License-Identifier: GPL-3.0-or-later
#include "conduit/sync/food_merge.h"

#include "core/food/food_db_file.h"
#include "core/io/byte_reader.h"

#include <unordered_set>

namespace fitquill {
namespace {

template <class T> int FindById(const std::vector<T>& list, uint32_t id) {
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i].Id() == id)
            return static_cast<int>(i);
    }
    return -1;
}

template <class T> std::unordered_set<uint32_t> IdsOf(const std::vector<T>& list) {
    std::unordered_set<uint32_t> ids;
    for (const T& entry : list)
        ids.insert(entry.Id());
    return ids;
}

// Content equality: the id and the changed mark do not count.
bool SameContent(CFoodItem a, CFoodItem b) {
    a.SetId(0);
    b.SetId(0);
    a.SetModified(0);
    b.SetModified(0);
    return a == b;
}

// Whether an entry or anything below it is marked changed. An entry the other side lacks is
// kept (or brought over) on this, not on its own mark alone: a group or category deleted on
// one side must not take with it the items changed inside it on the other.
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

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

class CFoodMerger {
public:
    CFoodMerger(const CFoodDB& handheld, CFoodDB& desktop)
        : m_handheld(handheld), m_desktop(desktop) {}

    SyncChanges Run() {
        MergeGroups();
        return std::move(m_changes);
    }

private:
    void Note(std::string text) { m_changes.push_back(std::move(text)); }

    void MergeGroups();
    // With `unite` the two entries were made apart (same name, other ids): ids of their
    // children say nothing about deletions, so children either side lacks are added and none
    // is removed.
    void MergeCategories(const CFoodGroup& from, uint16_t group, bool unite);
    void MergeItems(const CFoodCategory& from, uint16_t group, uint16_t category, bool unite);

    const CFoodDB& m_handheld;
    CFoodDB& m_desktop;
    SyncChanges m_changes;
};

void CFoodMerger::MergeGroups() {
    // Groups both sides know come first: a group the handheld renamed takes its new name and
    // gives up its old one, and the items it gave up are gone from it, before a group made
    // apart is matched by name or added.
    for (const CFoodGroup& h : m_handheld.Groups()) {
        const int at = FindById(m_desktop.Groups(), h.Id());
        if (at < 0)
            continue;
        MergeCategories(h, static_cast<uint16_t>(at), false);
        const CFoodGroup& d = m_desktop.GetGroup(static_cast<uint16_t>(at));
        if (h.Modified() != 0 && d.Modified() == 0 && h.Name() != d.Name()) {
            const std::string old = d.Name();
            if (m_desktop.RenameGroup(static_cast<uint16_t>(at), h.Name()) >= 0)
                Note("group " + Quoted(old) + " renamed to " + Quoted(h.Name()));
        }
    }
    // Desktop groups that a handheld group of the same name (but another id) was merged into:
    // they now hold what both sides had under that name and must not be dropped as unknown.
    std::unordered_set<uint32_t> matchedByName;
    const auto desktopIds = IdsOf(m_desktop.Groups());
    for (const CFoodGroup& h : m_handheld.Groups()) {
        if (desktopIds.contains(h.Id()))
            continue;
        if (const int at = m_desktop.FindGroup(h.Name()); at >= 0) {
            matchedByName.insert(m_desktop.GetGroup(static_cast<uint16_t>(at)).Id());
            MergeCategories(h, static_cast<uint16_t>(at), true);
        } else if (HoldsChanges(h) && m_desktop.AddGroup(h) >= 0) {
            Note("group " + Quoted(h.Name()) + " added from the handheld");
        }
    }
    const auto handheldIds = IdsOf(m_handheld.Groups());
    for (int g = m_desktop.GroupCount() - 1; g >= 0; --g) {
        const CFoodGroup& d = m_desktop.GetGroup(static_cast<uint16_t>(g));
        if (!HoldsChanges(d) && !handheldIds.contains(d.Id()) && !matchedByName.contains(d.Id())) {
            Note("group " + Quoted(d.Name()) + " deleted on the handheld");
            m_desktop.DeleteGroup(static_cast<uint16_t>(g));
        }
    }
}

void CFoodMerger::MergeCategories(const CFoodGroup& from, uint16_t group, bool unite) {
    const std::string prefix = m_desktop.GetGroup(group).Name() + "/";
    // Known categories first, as for groups: an item moved on the handheld into a new
    // category must find the one it left already without it.
    for (const CFoodCategory& h : from.Categories()) {
        const int at = FindById(*m_desktop.GetCategories(group), h.Id());
        if (at < 0)
            continue;
        MergeItems(h, group, static_cast<uint16_t>(at), false);
        const CFoodCategory& d = m_desktop.GetCategory(group, static_cast<uint16_t>(at));
        if (h.Modified() != 0 && d.Modified() == 0 && h.Name() != d.Name()) {
            const std::string old = d.Name();
            if (m_desktop.RenameCategory(group, static_cast<uint16_t>(at), h.Name()) >= 0)
                Note("category " + Quoted(prefix + old) + " renamed to " + Quoted(h.Name()));
        }
    }
    std::unordered_set<uint32_t> matchedByName;
    const auto desktopIds = IdsOf(*m_desktop.GetCategories(group));
    for (const CFoodCategory& h : from.Categories()) {
        if (desktopIds.contains(h.Id()))
            continue;
        if (const int at = m_desktop.FindCategory(group, h.Name()); at >= 0) {
            matchedByName.insert(m_desktop.GetCategory(group, static_cast<uint16_t>(at)).Id());
            MergeItems(h, group, static_cast<uint16_t>(at), true);
        } else if ((HoldsChanges(h) || unite) && m_desktop.AddCategory(group, h) >= 0) {
            Note("category " + Quoted(prefix + h.Name()) + " added from the handheld");
        }
    }
    if (unite)
        return;
    const auto handheldIds = IdsOf(from.Categories());
    for (int c = m_desktop.CategoryCount(group) - 1; c >= 0; --c) {
        const CFoodCategory& d = m_desktop.GetCategory(group, static_cast<uint16_t>(c));
        if (!HoldsChanges(d) && !handheldIds.contains(d.Id()) && !matchedByName.contains(d.Id())) {
            Note("category " + Quoted(prefix + d.Name()) + " deleted on the handheld");
            m_desktop.DeleteCategory(group, static_cast<uint16_t>(c));
        }
    }
}

void CFoodMerger::MergeItems(const CFoodCategory& from, uint16_t group, uint16_t category,
                             bool unite) {
    const std::string prefix = m_desktop.GetGroup(group).Name() + "/" +
                               m_desktop.GetCategory(group, category).Name() + "/";
    const auto& items = m_desktop.GetCategory(group, category).Items();
    // Deletions first: an item the handheld deleted must not hold on to its name against one
    // the handheld added or renamed to it.
    if (!unite) {
        const auto handheldIds = IdsOf(from.Items());
        for (int i = static_cast<int>(items.size()) - 1; i >= 0; --i) {
            const CFoodItem& d = items[static_cast<size_t>(i)];
            if (d.Modified() == 0 && !handheldIds.contains(d.Id())) {
                Note("food item " + Quoted(prefix + d.Name()) + " deleted on the handheld");
                m_desktop.DeleteFoodItem(group, category, static_cast<uint16_t>(i));
            }
        }
    }
    // Then the items both sides know, then the new ones: an item the handheld renamed must
    // not hold on to its old name against one the handheld added under it.
    const std::unordered_set<uint32_t> desktopIds = IdsOf(items);
    for (const CFoodItem& h : from.Items()) {
        if (!desktopIds.contains(h.Id()) || h.Modified() == 0)
            continue;
        const int at = FindById(items, h.Id());
        const CFoodItem& d = items[static_cast<size_t>(at)];
        if (d.Modified() != 0 || SameContent(h, d))
            continue;
        // The category must take the copy before the old item goes: an empty name or one
        // that another item has is refused, and the desktop keeps its item.
        bool taken = h.Name().empty();
        for (size_t i = 0; i < items.size() && !taken; ++i)
            taken = static_cast<int>(i) != at && items[i].Name() == h.Name();
        if (taken)
            continue;
        const std::string old = d.Name();
        m_desktop.DeleteFoodItem(group, category, static_cast<uint16_t>(at));
        m_desktop.AddFoodItem(group, category, h);
        Note("food item " + Quoted(prefix + old) + " taken from the handheld");
    }
    for (const CFoodItem& h : from.Items()) {
        // Unchanged and unknown here: deleted on the desktop, and it stays deleted.
        if (desktopIds.contains(h.Id()) || (h.Modified() == 0 && !unite) || h.Name().empty())
            continue;
        // Another food under the same name (made apart, or moved here on the handheld while
        // the desktop filled the name) stays, and this one comes in beside it as a paste
        // would, so that neither is lost; the same food is not brought in twice.
        CFoodItem copy = h;
        if (const int holder = m_desktop.FindFoodItem(group, category, h.Name()); holder >= 0) {
            if (SameContent(items[static_cast<size_t>(holder)], h))
                continue;
            copy.SetName(m_desktop.UniqueItemName(group, category, h.Name()), false);
        }
        if (m_desktop.AddFoodItem(group, category, copy) < 0)
            continue;
        if (copy.Name() == h.Name())
            Note("food item " + Quoted(prefix + h.Name()) + " added from the handheld");
        else
            Note("food item " + Quoted(prefix + h.Name()) + " added from the handheld as " +
                 Quoted(copy.Name()));
    }
}

} // namespace

bool UnpackHandheldFoodDB(std::span<const std::vector<uint8_t>> records, CFoodDB& handheld,
                          std::string* damage) {
    if (records.empty()) {
        if (damage != nullptr)
            *damage = "no records";
        return false;
    }
    CByteReader header(records[0]);
    if (header.ReadUint16() != CFoodDB::kFormatVersion || header.Failed()) {
        if (damage != nullptr)
            *damage = "the header is damaged or not of version 6";
        return false;
    }
    std::vector<std::span<const uint8_t>> views(records.begin(), records.end());
    return CFoodDBFile::UnpackRecords(views, handheld, damage) == EFoodLoadResult::Loaded;
}

SyncChanges MergeFoodDB(const CFoodDB& handheld, CFoodDB& desktop) {
    return CFoodMerger(handheld, desktop).Run();
}

void CopyFoodHeaderValues(const CFoodDB& from, CFoodDB& to) {
    to.SetFormatVersion(from.FormatVersion());
    to.SetFindHistory(from.FindHistory());
    to.SetIdGenerator(from.IdGenerator());
}

} // namespace fitquill
