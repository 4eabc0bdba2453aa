// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary text to the food-data import, in every mode, into a small database. The import
// must never read out of bounds or leave a list out of order, and whatever it accepted must
// export, import again and export to the same bytes. The first byte chooses the mode.
#include "core/food/food_csv.h"
#include "core/names.h"

#include <cstdlib>
#include <string>
#include <string_view>

using namespace fitquill;

namespace {

CFoodDB SmallDatabase() {
    CFoodDB db;
    db.AddGroup(CFoodGroup("Fruits, Fruit Juice"));
    db.AddCategory(0, CFoodCategory("Fresh"));
    CFoodItem apple;
    apple.SetName("Apple", true);
    apple.SetBaseMeasure(CServingMeasure(1, kUnitItem), false);
    apple.SetServing(CServingMeasure(1, kUnitItem));
    apple.SetNutrientValue(kNutrientCalories, 72);
    db.AddFoodItem(0, 0, apple);
    return db;
}

void Check(bool condition) {
    if (!condition)
        std::abort();
}

template <class T> void CheckSorted(const std::vector<T>& list) {
    for (size_t i = 1; i < list.size(); ++i)
        Check(CompareNames(list[i - 1].Name(), list[i].Name()) < 0);
}

// Whether the database holds something that cannot come back from its own export: a measure
// amount that prints as 0.00, or a line the reader would find too long.
bool ExportIsLossy(const CFoodDB& db, const std::string& text) {
    for (const CFoodGroup& group : db.Groups())
        for (const CFoodCategory& category : group.Categories())
            for (const CFoodItem& item : category.Items())
                for (const CServingMeasure* measure :
                     {&item.VolumeOrItemMeasure(), &item.WeightMeasure()})
                    if (measure->Amount() > 0 && NumberToText(measure->Amount(), 2, true) == "0.00")
                        return true;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find("\r\n", start);
        if (end == std::string::npos)
            return true;
        if (end + 2 - start > CFoodCsv::kMaxLineBytes)
            return true;
        start = end + 2;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const auto mode = static_cast<EFoodImportMode>(data[0] % 4);
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    CFoodDB db = SmallDatabase();
    size_t lastDone = 0;
    const SFoodImportResult result =
        CFoodCsv::ImportText(db, text, mode, [&](size_t done, size_t total) {
            Check(done <= total && done >= lastDone);
            lastDone = done;
        });
    Check(result.lineNumber >= 1);
    Check(static_cast<size_t>(result.lineNumber) <= text.size() + 1);
    // A text without food data is refused before anything changes, in every mode.
    Check(!result.noFoodData || db == SmallDatabase());

    CheckSorted(db.Groups());
    for (const CFoodGroup& group : db.Groups()) {
        CheckSorted(group.Categories());
        for (const CFoodCategory& category : group.Categories()) {
            CheckSorted(category.Items());
            for (const CFoodItem& item : category.Items())
                Check(item.Name().size() <= CFoodCsv::kMaxNameLength);
        }
    }
    if (!result.ok)
        return 0;

    const std::optional<std::string> exported = CFoodCsv::ExportText(db);
    if (!exported)
        return 0; // two measures of one kind: the serving lost its slot
    if (ExportIsLossy(db, *exported))
        return 0;
    CFoodDB again;
    Check(CFoodCsv::ImportText(again, *exported, EFoodImportMode::ReplaceDatabase).ok);
    Check(CFoodCsv::ExportText(again) == exported);
    return 0;
}
