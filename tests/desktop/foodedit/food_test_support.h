// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The food editor's widget tests run in the shell's test world: a started main window with the
// user Ann open and a small food database of the test's own.

#include "core/food/food_db.h"
#include "desktop/foodedit/food_pane.h"
#include "desktop/foodedit/food_tree_ctrl.h"
#include "tests/desktop/frame/shell_test_support.h"

#include <QString>
#include <QStringList>

namespace fitquill::test {

// Dairy / Cheese: Brie, Cheddar, Gouda; Dairy / Milk: Skim, Whole; Fruit / Apples: Fuji, Gala;
// Fruit / Berries: Blueberry. Every item: 1 cup with 100 cal, 10 g carbohydrate, 5 g protein,
// 1 g fiber, 4 g fat and 2 g saturated fat.
void FillSampleFoods(CFoodDB& db);
CFoodItem SampleItem(const std::string& name);

class FoodEditTest : public ShellTest {
protected:
    void SetUp() override;

    CFoodDB& Db() { return m_data->FoodDB(); }
    CFoodPane& Pane();
    CFoodTreeCtrl& Tree() { return *Pane().Tree(); }
    // The labels of an item's children (the top level for null), making a category's food
    // items first.
    QStringList Labels(QTreeWidgetItem* parent = nullptr);
    // The same names as the database holds them.
    QStringList DbNames(int group = -1, int category = -1);
    // Keeps a picture of a widget in the test's build folder.
    static void KeepPicture(QWidget& widget, const QString& name);
};

} // namespace fitquill::test
