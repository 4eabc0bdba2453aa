// SPDX-License-Identifier: GPL-3.0-or-later
// A recipe made from logged food entries through the New Food Item dialog: saved and logged
// as one serving it gives the day the same 34 totals as the entries it was made of.
#include "core/food/recipe.h"
#include "core/report/nutrient_details.h"
#include "desktop/foodedit/food_fields.h"
#include "desktop/foodedit/food_item_dialog.h"
#include "desktop/views/journal/food_grid_ctrl.h"
#include "desktop/views/nutrients/nutrient_details_window.h"
#include "desktop/widgets/commands.h"
#include "desktop/widgets/numeric_edit.h"
#include "tests/desktop/foodedit/food_test_support.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QSpinBox>

#include <memory>

namespace fitquill::test {
namespace {

// An entry holding every nutrient: n is base * (n + 1) per base portion, eaten `servings` times.
CFoodItem Entry(const char* name, float base, float servings) {
    CFoodItem entry;
    entry.SetName(name, true);
    std::vector<CNutrientValue> values;
    for (int n = 0; n < kNutrientCount; ++n)
        values.emplace_back(n, base * static_cast<float>(n + 1));
    EXPECT_TRUE(entry.SetStoredNutrients(values));
    entry.SetBaseMeasure(CServingMeasure(1.0f, kUnitCup), false);
    entry.SetServing(CServingMeasure(servings, kUnitCup));
    return entry;
}

class RecipeTest : public FoodEditTest {
protected:
    const std::vector<CFoodItem> m_entries = {
        Entry("Rice", 0.37f, 1.5f), Entry("Beans", 1.13f, 1.0f), Entry("Salsa", 0.21f, 0.25f)};
};

TEST_F(RecipeTest, SavedAndLoggedOnceGivesTheEntriesTotals) {
    std::unique_ptr<CFoodItemDialog> dialog(
        CFoodItemDialog::NewRecipe(Db(), 1, 0, m_entries, nullptr));
    ASSERT_NE(dialog->ServingsBox(), nullptr);
    EXPECT_EQ(dialog->IngredientsLabel()->text(), QStringLiteral("Rice, Beans, Salsa"));
    CFoodFields& fields = *dialog->Fields();
    EXPECT_EQ(fields.UnitCombo()->currentData().toInt(), kUnitItem);
    EXPECT_EQ(fields.AmountEdit()->ReadValue(), 1.0);
    // Two servings halve what the boxes show; back to one for the test of the totals.
    const QString oneServing = fields.NutrientEdit(2)->text();
    dialog->ServingsBox()->setValue(2);
    EXPECT_NEAR(fields.NutrientEdit(2)->ReadValue() * 2, oneServing.toDouble(), 0.1);
    dialog->ServingsBox()->setValue(1);
    fields.SetName(QStringLiteral("Burrito bowl"));
    KeepPicture(*dialog, QStringLiteral("recipe_dialog"));
    dialog->accept();
    ASSERT_EQ(dialog->result(), QDialog::Accepted) << ShownTexts().size();

    const CFoodItem& saved = Db().GetFoodItem(1, 0, static_cast<uint16_t>(dialog->Item()));
    EXPECT_EQ(saved.Name(), "Burrito bowl");
    EXPECT_EQ(saved.SearchName(), "Rice, Beans, Salsa");
    EXPECT_EQ(saved.Nutrients().size(), static_cast<size_t>(kNutrientCount));

    // Logged as one serving, next to the three entries on another day.
    CJournalDB& journal = m_data->Journal();
    const CJournalDate entriesDay(14, 3, 2024);
    const CJournalDate recipeDay(15, 3, 2024);
    journal.GoToDate(entriesDay);
    for (const CFoodItem& entry : m_entries)
        journal.CurrentDay(true)->FoodLog().AddEntry(kSortByMeal, entry, journal.IdGenerator());
    journal.GoToDate(recipeDay);
    CFoodItem logged = saved;
    logged.SetServing(CServingMeasure(1.0f, kUnitItem));
    journal.CurrentDay(true)->FoodLog().AddEntry(kSortByMeal, logged, journal.IdGenerator());

    const SNutrientDetails three = NutrientDetails(journal, entriesDay, entriesDay);
    const SNutrientDetails one = NutrientDetails(journal, recipeDay, recipeDay);
    for (int n = 0; n < kNutrientCount; ++n)
        EXPECT_NEAR(one.totals[n], three.totals[n], 1e-5 * three.totals[n]) << n;
}

// From the meal log: the three entries selected, Edit > Save as Food Item..., a name typed.
TEST_F(RecipeTest, TheMealLogSavesTheSelectedEntriesAsAFoodItem) {
    CJournalDB& journal = m_data->Journal();
    journal.GoToDate(CJournalDate(15, 3, 2024));
    for (const CFoodItem& entry : m_entries)
        journal.CurrentDay(true)->FoodLog().AddEntry(kSortAlphabetical, entry,
                                                     journal.IdGenerator());
    m_data->SetSortMode(kSortAlphabetical);
    m_frame->RunCommand(kIdViewMealLog);
    m_data->RefreshViews();
    auto* grid = m_frame->findChild<CFoodGridCtrl*>();
    ASSERT_NE(grid, nullptr);
    grid->setFocus();
    grid->SelectRows(1, 4); // the three entries and the totals: not a recipe
    EXPECT_FALSE(m_frame->IsCommandEnabled(kIdSaveAsFoodItem));
    grid->SelectRows(1, 3);
    ASSERT_TRUE(m_frame->IsCommandEnabled(kIdSaveAsFoodItem));
    EXPECT_EQ(grid->SelectedEntries().size(), 3u);
    bool inEditMenu = false;
    for (QAction* menu : m_frame->menuBar()->actions())
        if (menu->text() == QStringLiteral("&Edit"))
            inEditMenu = menu->menu()->actions().contains(m_frame->Action(kIdSaveAsFoodItem));
    EXPECT_TRUE(inEditMenu);

    const int before = Db().ItemCount(0, 0);
    WhenModal<CFoodItemDialog>([](CFoodItemDialog& dialog) {
        dialog.Fields()->SetName(QStringLiteral("Burrito bowl"));
        dialog.accept();
    });
    grid->ExecuteCommand(kIdSaveAsFoodItem);
    ASSERT_EQ(Db().ItemCount(0, 0), before + 1);
    const int found = Db().FindFoodItem(0, 0, "Burrito bowl");
    ASSERT_GE(found, 0);
    const CFoodItem& saved = Db().GetFoodItem(0, 0, static_cast<uint16_t>(found));
    EXPECT_EQ(saved.SearchName(), "Beans, Rice, Salsa"); // in the meal log's order
    for (int n = 0; n < kNutrientCount; ++n) {
        double sum = 0.0;
        for (const CFoodItem& entry : m_entries)
            sum += entry.NutrientValue(n);
        EXPECT_NEAR(saved.NutrientValue(n), sum, 1e-5 * sum) << n;
    }
    EXPECT_TRUE(m_data->IsModified());
}

// View > Nutrient Details and its toolbar button open one window beside the main window.
TEST_F(RecipeTest, NutrientDetailsOpensFromTheViewMenuAndTheToolbar) {
    QAction* action = m_frame->Action(kIdViewNutrientDetails);
    ASSERT_NE(action, nullptr);
    EXPECT_FALSE(action->icon().isNull());
    m_frame->RunCommand(kIdViewNutrientDetails);
    auto* window = m_frame->findChild<CNutrientDetailsWindow*>();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    window->close();
    m_frame->RunCommand(kIdViewNutrientDetails);
    EXPECT_EQ(m_frame->findChildren<CNutrientDetailsWindow*>().size(), 1);
    EXPECT_TRUE(window->isVisible());
}

} // namespace
} // namespace fitquill::test
