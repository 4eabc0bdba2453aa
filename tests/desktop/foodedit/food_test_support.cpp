// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/desktop/foodedit/food_test_support.h"

#include "core/calc/units.h"

#include <QDir>
#include <QPixmap>

namespace fitquill::test {

CFoodItem SampleItem(const std::string& name) {
    CFoodItem item;
    item.SetName(name, true);
    const CServingMeasure cup(1.0f, kUnitCup);
    item.SetBaseMeasure(cup, false);
    item.SetServing(cup);
    const float values[6] = {100, 10, 5, 1, 4, 2};
    for (int slot = 0; slot < 6; ++slot)
        item.SetNutrientValue(slot, values[slot]);
    return item;
}

void FillSampleFoods(CFoodDB& db) {
    const std::vector<std::pair<std::string, std::vector<std::pair<std::string, QStringList>>>>
        content = {
            {"Dairy", {{"Cheese", {"Brie", "Cheddar", "Gouda"}}, {"Milk", {"Skim", "Whole"}}}},
            {"Fruit", {{"Apples", {"Fuji", "Gala"}}, {"Berries", {"Blueberry"}}}},
        };
    for (const auto& [groupName, categories] : content) {
        const int group = db.AddGroup(CFoodGroup(groupName));
        for (const auto& [categoryName, items] : categories) {
            const int category =
                db.AddCategory(static_cast<uint16_t>(group), CFoodCategory(categoryName));
            for (const QString& item : items)
                db.AddFoodItem(static_cast<uint16_t>(group), static_cast<uint16_t>(category),
                               SampleItem(item.toStdString()));
        }
    }
}

void FoodEditTest::SetUp() {
    ShellTest::SetUp();
    AddUser("Ann", kAnnId);
    Remember(QStringLiteral("Ann"));
    Start();
    ASSERT_TRUE(m_data->HasOpenUser());
    FillSampleFoods(Db());
    Tree().Fill();
}

CFoodPane& FoodEditTest::Pane() {
    auto* pane = qobject_cast<CFoodPane*>(m_frame->FoodPane());
    EXPECT_NE(pane, nullptr);
    return *pane;
}

QStringList FoodEditTest::Labels(QTreeWidgetItem* parent) {
    QStringList labels;
    if (!parent) {
        for (int index = 0; index < Tree().topLevelItemCount(); ++index)
            labels << Tree().topLevelItem(index)->text(0);
        return labels;
    }
    parent->setExpanded(true);
    for (int index = 0; index < parent->childCount(); ++index)
        labels << parent->child(index)->text(0);
    return labels;
}

QStringList FoodEditTest::DbNames(int group, int category) {
    QStringList names;
    if (group < 0) {
        for (const CFoodGroup& entry : Db().Groups())
            names << QString::fromStdString(entry.Name());
    } else if (category < 0) {
        for (const CFoodCategory& entry : Db().GetGroup(static_cast<uint16_t>(group)).Categories())
            names << QString::fromStdString(entry.Name());
    } else {
        for (const CFoodItem& entry :
             Db().GetCategory(static_cast<uint16_t>(group), static_cast<uint16_t>(category))
                 .Items())
            names << QString::fromStdString(entry.Name());
    }
    return names;
}

void FoodEditTest::KeepPicture(QWidget& widget, const QString& name) {
    widget.grab().save(QDir::current().absoluteFilePath(name + QStringLiteral(".png")), "PNG");
}

} // namespace fitquill::test
