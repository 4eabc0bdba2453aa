// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/fitquill/food_dump.h"

#include "tools/fitquill/dump_text.h"

namespace fitquill {

std::string CFoodDump::ItemText(const CFoodItem& item) {
    std::string text = QuotedText(item.Name()) + " id " + HexText(item.Id()) + ", modified " +
                       std::to_string(item.Modified()) + ", search name " +
                       QuotedText(item.SearchName());
    text += "; serving " + MeasureText(item.Serving()) + " (unit set " +
            std::to_string(item.Serving().UnitSet()) + "), ratio " +
            NumberText(item.ServingRatio());
    text += "; volume or item " + MeasureText(item.VolumeOrItemMeasure()) + ", weight " +
            MeasureText(item.WeightMeasure());
    text += "; meal type " + std::to_string(item.MealType());
    text += "; " + NutrientsText(item.Nutrients());
    return text;
}

void CFoodDump::Write(const CFoodDB& db, std::ostream& out) {
    out << "Header\n";
    out << "  version: " << db.FormatVersion() << '\n';
    out << "  id generator: " << HexText(db.IdGenerator().Value()) << '\n';
    out << "  find history:";
    if (db.FindHistory().empty())
        out << " (none)";
    for (const std::string& text : db.FindHistory())
        out << ' ' << QuotedText(text);
    out << '\n';
    out << "  header nutrients: " << NutrientsText(db.HeaderNutrients()) << '\n';

    size_t categories = 0;
    size_t items = 0;
    for (const CFoodGroup& group : db.Groups()) {
        categories += group.CategoryCount();
        for (const CFoodCategory& category : group.Categories())
            items += category.ItemCount();
    }
    out << "Groups: " << db.GroupCount() << ", categories: " << categories
        << ", food items: " << items << '\n';
    for (const CFoodGroup& group : db.Groups()) {
        out << "Group " << QuotedText(group.Name()) << " id " << HexText(group.Id())
            << ", modified " << int(group.Modified()) << ", record " << group.RecordNumber() << ", "
            << group.CategoryCount() << " categories\n";
        for (const CFoodCategory& category : group.Categories()) {
            out << "  Category " << QuotedText(category.Name()) << " id " << HexText(category.Id())
                << ", modified " << int(category.Modified()) << ", " << category.ItemCount()
                << " items\n";
            for (const CFoodItem& item : category.Items())
                out << "    Item " << ItemText(item) << '\n';
        }
    }
}

} // namespace fitquill
