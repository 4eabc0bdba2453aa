// SPDX-License-Identifier: GPL-3.0-or-later
// A recipe made from logged food entries through the New Food Item dialog: saved and logged
// as one serving it gives the day the same 34 totals as the entries it was made of.
#include "core/food/recipe.h"
#include "core/report/nutrient_details.h"
#include "desktop/foodedit/food_fields.h"
#include "desktop/foodedit/food_item_dialog.h"
#include "desktop/widgets/numeric_edit.h"
#include "tests/desktop/foodedit/food_test_support.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
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

} // namespace
} // namespace fitquill::test
