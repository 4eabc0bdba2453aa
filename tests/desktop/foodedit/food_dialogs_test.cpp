// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calc/units.h"
#include "core/food/food_csv.h"
#include "core/food/food_import_guard.h"
#include "core/journal/day_record.h"
#include "desktop/foodedit/food_data_dialogs.h"
#include "desktop/foodedit/food_dialogs.h"
#include "desktop/foodedit/food_fields.h"
#include "desktop/foodedit/food_item_dialog.h"
#include "desktop/foodedit/food_name_dialog.h"
#include "desktop/foodedit/insert_food_dialog.h"
#include "desktop/widgets/commands.h"
#include "desktop/widgets/numeric_edit.h"
#include "tests/desktop/foodedit/food_test_support.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <fstream>
#include <memory>
#include <sstream>

namespace fitquill::test {
namespace {

class FoodDialogsTest : public FoodEditTest {
protected:
    std::unique_ptr<CInsertFoodDialog> OneItem(int group, int category, int item) {
        return std::make_unique<CInsertFoodDialog>(*m_data, CInsertFoodDialog::EMode::OneItem,
                                                   group, category, item, 0);
    }
    std::unique_ptr<CInsertFoodDialog> Browse(int group, int category, int item) {
        return std::make_unique<CInsertFoodDialog>(*m_data, CInsertFoodDialog::EMode::Browse, group,
                                                   category, item, 0);
    }
    static QStringList Nutrients(CFoodFields& fields) {
        QStringList texts;
        for (int slot = 0; slot < 6; ++slot)
            texts << fields.NutrientEdit(slot)->text();
        return texts;
    }
    static void SetAmount(CFoodFields& fields, const QString& text) {
        fields.AmountEdit()->setText(text);
        emit fields.AmountEdit()->editingFinished();
    }
    static void ChooseUnit(CFoodFields& fields, int unit) {
        QComboBox* combo = fields.UnitCombo();
        const int row = combo->findData(unit);
        ASSERT_GE(row, 0) << unit;
        combo->setCurrentIndex(row);
        emit combo->activated(row);
    }
    CDayRecord* Today() { return m_data->GetCurrentDay(false); }
};

TEST_F(FoodDialogsTest, TheServingMustBeAtLeastFiveThousandths) {
    auto dialog = OneItem(0, 0, 0);
    SetAmount(*dialog->Fields(), QStringLiteral("0.004"));
    dialog->accept();
    EXPECT_EQ(ShownTexts(), (std::vector<QString>{"You have an invalid nutrient value."}));
    EXPECT_EQ(m_prompt->Shown().back().caption, QStringLiteral("Insert Food"));
    EXPECT_EQ(Today(), nullptr) << "nothing was logged";
    EXPECT_FALSE(dialog->Result().accepted);

    SetAmount(*dialog->Fields(), QStringLiteral("0.005"));
    dialog->accept();
    EXPECT_EQ(ShownTexts().size(), 1u);
    ASSERT_NE(Today(), nullptr);
    EXPECT_EQ(Today()->FoodLog().EntryCount(), 1);
    EXPECT_TRUE(dialog->Result().accepted);
}

TEST_F(FoodDialogsTest, AnEmptyNutrientIsRefused) {
    auto dialog = OneItem(0, 0, 0);
    dialog->Fields()->NutrientEdit(3)->clear();
    dialog->accept();
    EXPECT_EQ(ShownTexts(), (std::vector<QString>{"You have an invalid nutrient value."}));
    EXPECT_EQ(Today(), nullptr);
}

TEST_F(FoodDialogsTest, PastedCaloriesAboveTheCapBecomeTenThousand) {
    auto dialog = OneItem(0, 0, 0);
    CNumericEdit* calories = dialog->Fields()->NutrientEdit(0);
    calories->selectAll();
    QApplication::clipboard()->setText(QStringLiteral("10001"));
    calories->Paste();
    EXPECT_EQ(calories->text(), QStringLiteral("10000"));
    dialog->accept();
    ASSERT_NE(Today(), nullptr);
    const CFoodItem& entry = Today()->FoodLog().MealEntries(0).at(0);
    // The model keeps at most 9999 calories.
    EXPECT_FLOAT_EQ(entry.NutrientValue(0), 9999.0f);
}

TEST_F(FoodDialogsTest, AUnitTwiceAsLargeDoublesEveryNutrientShown) {
    auto dialog = OneItem(0, 0, 0);
    CFoodFields& fields = *dialog->Fields();
    EXPECT_EQ(Nutrients(fields), (QStringList{"100", "10.0", "5.0", "1.0", "4.0", "2.0"}));
    ChooseUnit(fields, kUnitPint);
    EXPECT_EQ(Nutrients(fields), (QStringList{"200", "20.0", "10.0", "2.0", "8.0", "4.0"}));
    KeepPicture(*dialog, QStringLiteral("insert_food_unit_changed"));
}

TEST_F(FoodDialogsTest, ATypedNutrientIsWhatTheLoggedServingReads) {
    auto dialog = OneItem(0, 0, 0);
    CFoodFields& fields = *dialog->Fields();
    SetAmount(fields, QStringLiteral("2"));
    fields.NutrientEdit(4)->setText(QStringLiteral("9.0"));
    dialog->accept();
    ASSERT_NE(Today(), nullptr);
    const CFoodItem& entry = Today()->FoodLog().MealEntries(0).at(0);
    EXPECT_FLOAT_EQ(entry.NutrientValue(4), 9.0f) << "typed for the serving of two cups";
    EXPECT_FLOAT_EQ(entry.NutrientValue(0), 200.0f);
    EXPECT_EQ(Db().GetFoodItem(0, 0, 0).NutrientValue(4), 4.0f) << "the database is untouched";
}

TEST_F(FoodDialogsTest, TheTwoHundredFiftyFirstItemIsRefusedBeforeItsNameIsRead) {
    for (int index = 0; Db().ItemCount(1, 1) < CFoodItemDialog::kMaxItems; ++index)
        Db().AddFoodItem(1, 1, SampleItem("Berry " + std::to_string(index)));
    std::unique_ptr<CFoodItemDialog> dialog(CFoodItemDialog::NewItem(Db(), 1, 1, nullptr));
    dialog->Fields()->SetName(QStringLiteral("Blueberry")); // a duplicate too
    dialog->accept();
    EXPECT_EQ(ShownTexts(),
              (std::vector<QString>{"You can enter a maximum of 250 food items per category."}));
    EXPECT_EQ(Db().ItemCount(1, 1), 250);

    // One category further the duplicate name is what is refused.
    dialog->CategoryCombo()->setCurrentIndex(0);
    emit dialog->CategoryCombo()->activated(0);
    dialog->Fields()->SetName(QStringLiteral("Fuji"));
    dialog->accept();
    EXPECT_EQ(ShownTexts().back(), QStringLiteral("You entered a duplicate or invalid name."));
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
}

TEST_F(FoodDialogsTest, NewFoodItemTakesTheServingAsItsBasePortion) {
    std::unique_ptr<CFoodItemDialog> dialog(CFoodItemDialog::NewItem(Db(), 1, 0, nullptr));
    CFoodFields& fields = *dialog->Fields();
    fields.SetName(QStringLiteral("  Honeycrisp "));
    SetAmount(fields, QStringLiteral("150"));
    ChooseUnit(fields, kUnitGram);
    fields.NutrientEdit(0)->setText(QStringLiteral("78"));
    fields.NutrientEdit(1)->setText(QStringLiteral("20.5"));
    KeepPicture(*dialog, QStringLiteral("new_food_item_dialog"));
    dialog->accept();
    ASSERT_EQ(dialog->result(), QDialog::Accepted) << ShownTexts().size();
    EXPECT_EQ(dialog->Item(), 2);
    const CFoodItem& item = Db().GetFoodItem(1, 0, 2);
    EXPECT_EQ(item.Name(), "Honeycrisp");
    EXPECT_EQ(item.SearchName(), "Honeycrisp");
    EXPECT_EQ(item.Serving(), CServingMeasure(150.0f, kUnitGram));
    EXPECT_EQ(item.WeightMeasure(), CServingMeasure(150.0f, kUnitGram));
    EXPECT_FLOAT_EQ(item.NutrientValue(0), 78.0f);
    EXPECT_FLOAT_EQ(item.NutrientValue(1), 20.5f);
}

TEST_F(FoodDialogsTest, EditFoodItemRenamesThroughTheDatabase) {
    std::unique_ptr<CFoodItemDialog> dialog(CFoodItemDialog::EditItem(Db(), 0, 0, 0, nullptr));
    KeepPicture(*dialog, QStringLiteral("edit_food_item_dialog"));
    dialog->Fields()->SetName(QStringLiteral("Gouda"));
    dialog->accept();
    EXPECT_EQ(ShownTexts(), (std::vector<QString>{"You entered a duplicate or invalid name."}));
    EXPECT_EQ(m_prompt->Shown().back().caption, QStringLiteral("Rename Food"));
    const uint32_t id = Db().GetFoodItem(0, 0, 0).Id();
    dialog->Fields()->SetName(QStringLiteral("Zamorano"));
    dialog->accept();
    EXPECT_EQ(dialog->Item(), 2);
    EXPECT_EQ(Db().GetFoodItem(0, 0, 2).Id(), id);
}

TEST_F(FoodDialogsTest, GroupAndCategoryDialogsKeepTheirLimitsAndNames) {
    CFoodNameDialog edit(Db(), CFoodNameDialog::EKind::Category, true, 0, 1);
    EXPECT_EQ(edit.windowTitle(), QStringLiteral("Edit Category"));
    EXPECT_EQ(edit.NameEdit()->text(), QStringLiteral("Milk"));
    edit.NameEdit()->clear();
    EXPECT_FALSE(edit.Buttons()->button(QDialogButtonBox::Ok)->isEnabled());
    edit.NameEdit()->setText(QStringLiteral("Cheese"));
    edit.accept();
    EXPECT_EQ(ShownTexts(), (std::vector<QString>{"You entered a duplicate or invalid category."}));
    EXPECT_EQ(edit.NameEdit()->selectedText(), QStringLiteral("Cheese"));

    for (int index = 0; Db().GroupCount() < CFoodNameDialog::kMaxGroups; ++index)
        Db().AddGroup(CFoodGroup("Group " + std::to_string(index)));
    CFoodNameDialog group(Db(), CFoodNameDialog::EKind::Group, false, 0, 0);
    KeepPicture(group, QStringLiteral("new_group_dialog"));
    EXPECT_EQ(group.windowTitle(), QStringLiteral("New Group"));
    group.NameEdit()->setText(QStringLiteral("One more"));
    group.accept();
    EXPECT_EQ(ShownTexts().back(), QStringLiteral("You can enter a maximum of 250 groups."));
    EXPECT_EQ(Db().GroupCount(), 250);
}

TEST_F(FoodDialogsTest, BrowseDeletionSelectsTheNewLastAndEmptiesTheList) {
    auto dialog = Browse(0, 0, 2);
    KeepPicture(*dialog, QStringLiteral("insert_food_browse_dialog"));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Insert Food"));
    EXPECT_EQ(dialog->Buttons()->button(QDialogButtonBox::Ok)->text(), QStringLiteral("Log"));
    EXPECT_EQ(dialog->ItemList()->currentRow(), 2);
    m_prompt->Answer(EPromptAnswer::Yes);
    dialog->Button(2, 1)->click();
    EXPECT_EQ(ShownTexts().back(), QStringLiteral("Do you wish to delete the food item 'Gouda'?"));
    EXPECT_EQ(dialog->ItemList()->count(), 2);
    EXPECT_EQ(dialog->ItemList()->currentRow(), 1);
    EXPECT_TRUE(dialog->Result().foodDBChanged);

    // Berries holds one item: deleting it leaves nothing to log or edit.
    dialog->GroupCombo()->setCurrentIndex(1);
    emit dialog->GroupCombo()->activated(1);
    dialog->CategoryCombo()->setCurrentIndex(1);
    emit dialog->CategoryCombo()->activated(1);
    ASSERT_EQ(dialog->ItemList()->count(), 1);
    m_prompt->Answer(EPromptAnswer::Yes);
    dialog->Button(2, 1)->click();
    EXPECT_EQ(dialog->ItemList()->count(), 0);
    EXPECT_FALSE(dialog->Button(2, 1)->isEnabled());
    EXPECT_FALSE(dialog->Button(2, 2)->isEnabled());
    EXPECT_TRUE(dialog->Button(2, 0)->isEnabled());
    EXPECT_FALSE(dialog->Buttons()->button(QDialogButtonBox::Ok)->isEnabled());
    EXPECT_TRUE(dialog->Fields()->NutrientEdit(0)->text().isEmpty());
}

TEST_F(FoodDialogsTest, CancellingTheBrowseDialogAfterANewCategoryStillReloadsTheTree) {
    CFoodDialogs dialogs(*m_data);
    WhenModal<CInsertFoodDialog>([](CInsertFoodDialog& dialog) {
        WhenModal<CFoodNameDialog>([](CFoodNameDialog& name) {
            EXPECT_EQ(name.windowTitle(), QStringLiteral("New Category"));
            KeepPicture(name, QStringLiteral("new_category_dialog"));
            name.NameEdit()->setText(QStringLiteral("Pears"));
            name.accept();
        });
        dialog.Button(1, 0)->click();
        EXPECT_EQ(dialog.CategoryCombo()->currentText(), QStringLiteral("Pears"));
        dialog.reject();
    });
    const SFoodDialogResult result = dialogs.InsertFood(m_frame.get(), 0);
    EXPECT_FALSE(result.accepted);
    EXPECT_TRUE(result.foodDBChanged);
    // The browse dialog started in the first group.
    EXPECT_EQ(Labels(Tree().topLevelItem(0)), (QStringList{"Cheese", "Milk", "Pears"}));
    EXPECT_TRUE(m_data->IsModified());
}

TEST_F(FoodDialogsTest, EditFoodReplacesTheLoggedEntryWhileItHasAName) {
    auto log = OneItem(0, 0, 1);
    log->accept();
    ASSERT_TRUE(log->Result().accepted);
    CFoodDialogs dialogs(*m_data);
    WhenModal<CInsertFoodDialog>([](CInsertFoodDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Edit Food"));
        KeepPicture(dialog, QStringLiteral("edit_food_dialog"));
        CFoodFields& fields = *dialog.Fields();
        EXPECT_EQ(fields.Name(), QStringLiteral("Cheddar"));
        fields.SetName(QString());
        EXPECT_FALSE(dialog.Buttons()->button(QDialogButtonBox::Ok)->isEnabled());
        fields.SetName(QStringLiteral("Sharp cheddar"));
        EXPECT_TRUE(dialog.Buttons()->button(QDialogButtonBox::Ok)->isEnabled());
        fields.MealCombo()->setCurrentIndex(3);
        dialog.Buttons()->button(QDialogButtonBox::Ok)->click();
    });
    // Row 0 is the breakfast header, row 1 the entry.
    const SFoodDialogResult result = dialogs.EditFood(m_frame.get(), 1, 0);
    EXPECT_TRUE(result.accepted);
    ASSERT_EQ(Today()->FoodLog().EntryCount(), 1);
    ASSERT_EQ(Today()->FoodLog().MealEntries(3).size(), 1u);
    EXPECT_EQ(Today()->FoodLog().MealEntries(3)[0].Name(), "Sharp cheddar");
}

// --- Import and export ---

class FoodDataDialogsTest : public FoodEditTest {
protected:
    std::string Path(const char* name) const { return (m_folder / name).string(); }
    static std::string ReadAll(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

TEST_F(FoodDataDialogsTest, TheFileMenuOpensTheExportAndImportDialogs) {
    const std::vector<std::pair<int, QString>> commands = {
        {kIdExportFoodData, QStringLiteral("Export Food Data")},
        {kIdExportUserData, QStringLiteral("Export User Data")},
        {kIdImportFromFile, QStringLiteral("Import Food Data")}};
    for (const auto& [id, title] : commands) {
        QString shown;
        WhenModal<QDialog>([&shown](QDialog& dialog) {
            shown = dialog.windowTitle();
            dialog.reject();
        });
        ASSERT_TRUE(m_frame->Action(id)->isEnabled()) << id;
        m_frame->Action(id)->trigger();
        EXPECT_EQ(shown, title);
    }
    EXPECT_TRUE(ShownTexts().empty());
}

TEST_F(FoodDataDialogsTest, ExportWritesTheChosenCategory) {
    CExportDialog dialog(*m_data, CExportDialog::EKind::FoodData, 1, 0);
    EXPECT_EQ(dialog.FileLabel()->text(),
              QStringLiteral("File: Use the browse button to specify a filename and location."));
    EXPECT_FALSE(dialog.Buttons()->button(QDialogButtonBox::Ok)->isEnabled());
    EXPECT_EQ(dialog.GroupCombo()->currentText(), QStringLiteral("Fruit"));
    EXPECT_EQ(dialog.CategoryCombo()->currentText(), QStringLiteral("Apples"));
    dialog.GroupCombo()->setCurrentIndex(2);
    emit dialog.GroupCombo()->activated(2);
    EXPECT_EQ(dialog.CategoryCombo()->count(), 1) << "all groups: only All Categories";
    dialog.GroupCombo()->setCurrentIndex(1);
    emit dialog.GroupCombo()->activated(1);
    dialog.CategoryCombo()->setCurrentIndex(0);
    const std::string file = Path("apples.csv");
    dialog.SetFile(QString::fromStdString(file));
    KeepPicture(dialog, QStringLiteral("export_food_data_dialog"));
    dialog.accept();
    EXPECT_EQ(ShownTexts(), (std::vector<QString>{"Food data was successfully exported."}));
    EXPECT_EQ(ReadAll(file), CFoodCsv::ExportText(Db(), 1, 0).value());
}

TEST_F(FoodDataDialogsTest, UserDataExportTellsSuccessAndFailure) {
    CExportDialog dialog(*m_data, CExportDialog::EKind::UserData, -1, -1);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Export User Data"));
    EXPECT_EQ(dialog.GroupCombo(), nullptr);
    KeepPicture(dialog, QStringLiteral("export_user_data_dialog"));
    std::ofstream(Path("blocker")) << "a file, not a folder";
    dialog.SetFile(QString::fromStdString(Path("blocker/user.csv")));
    dialog.accept();
    dialog.SetFile(QString::fromStdString(Path("user.csv")));
    dialog.accept();
    EXPECT_EQ(ShownTexts(), (std::vector<QString>{"The export of user data failed.",
                                                  "User data was successfully exported."}));
    EXPECT_EQ(ReadAll(Path("user.csv")),
              "Date,Weight,Meals,BMR,Exercise,Total,,Cal,Carb,Prot,Fiber,Fat,SFat\r\n");
}

TEST_F(FoodDataDialogsTest, AFailedImportTellsTheLineKeepsTheDocumentUnmodifiedAndShowsTheTree) {
    std::ofstream(Path("bad.csv"), std::ios::binary)
        << "Pear,Pear,1.00,item,Y,0.00,,N,57,15.2,3.1,0.4,0.1,0.0,Fruit,Pears,\r\n"
        << "Quince,Quince,1.00,Cup,Y,0.00,,N,52,14.1,1.7,0.4,0.1,0.0,Fruit,Pears,\r\n";
    CImportDialog dialog(*m_data);
    EXPECT_EQ(dialog.Mode(), 1);
    dialog.SetMode(2);
    dialog.SetFile(QString::fromStdString(Path("bad.csv")));
    KeepPicture(dialog, QStringLiteral("import_food_data_dialog"));
    dialog.Import();
    EXPECT_EQ(ShownTexts(), (std::vector<QString>{
                                "Importing of food data failed on line 2.  A partial import was "
                                "complete up to the point of encountering the error."}));
    EXPECT_FALSE(m_data->IsModified());
    EXPECT_FALSE(dialog.Imported());
    // The line before the bad one went in, and the tree shows it.
    EXPECT_EQ(Labels(Tree().topLevelItem(1)), (QStringList{"Apples", "Berries", "Pears"}));
}

TEST_F(FoodDataDialogsTest, ALargeImportReplacesTheDatabaseAndTheTree) {
    // More lines than an import shows without its progress.
    {
        std::ofstream out(Path("large.csv"), std::ios::binary);
        for (int line = 0; line < 4000; ++line)
            out << "Food " << line % 200 << ",Food,1.00,item,Y,0.00,,N,10,1.0,0.0,0.0,0.0,0.0,"
                << "Group " << line / 1000 << ",Category " << (line / 200) % 5 << ",\r\n";
    }
    CImportDialog dialog(*m_data);
    dialog.SetMode(0);
    dialog.SetFile(QString::fromStdString(Path("large.csv")));
    dialog.Import();
    EXPECT_TRUE(dialog.Imported());
    EXPECT_EQ(Labels(), (QStringList{"Group 0", "Group 1", "Group 2", "Group 3"}));
    EXPECT_EQ(Labels(Tree().topLevelItem(3)->child(4)).size(), 200);
    EXPECT_EQ(Db().ItemCount(3, 4), 200);
}

TEST_F(FoodDataDialogsTest, AnImportThatWouldEmptyTheDatabaseIsRefusedOrAskedAbout) {
    ASSERT_TRUE(m_data->SaveAll());
    const std::string file = Db().FilePath().string();
    const std::string saved = ReadAll(file);
    ASSERT_FALSE(saved.empty());
    std::ofstream(Path("empty.csv"), std::ios::binary) << "\r\n";
    std::ofstream(Path("one.csv"), std::ios::binary)
        << "Pear,Pear,1.00,item,Y,0.00,,N,57,15.2,3.1,0.4,0.1,0.0,Fruit,Pears,\r\n";
    const CFoodDB before = Db();
    CImportDialog dialog(*m_data);
    dialog.SetMode(0);
    dialog.SetFile(QString::fromStdString(Path("empty.csv")));
    dialog.Import();
    EXPECT_EQ(ShownTexts().back(), CFoodCsv::kNoFoodDataText);
    dialog.SetFile(QString::fromStdString(Path("one.csv")));
    dialog.Import(); // the default answer: No
    EXPECT_EQ(ShownTexts().back(),
              "The new food data holds 1 foods; your food database holds 8. Replace it?");
    EXPECT_EQ(m_prompt->Shown().back().buttons, EPromptButtons::YesNoDefaultNo);
    EXPECT_EQ(Db(), before);
    EXPECT_FALSE(dialog.Imported());
    EXPECT_FALSE(std::filesystem::exists(file + ".before-import"));

    m_prompt->Answer(EPromptAnswer::Yes);
    dialog.Import();
    EXPECT_TRUE(dialog.Imported());
    EXPECT_EQ(CFoodImportGuard::FoodCount(Db()), 1u);
    EXPECT_EQ(ReadAll(file + ".before-import"), saved);
}

TEST_F(FoodDataDialogsTest, ImportAsksToSaveFirstAndCancelDoesNothing) {
    std::ofstream(Path("good.csv"), std::ios::binary)
        << "Pear,Pear,1.00,item,Y,0.00,,N,57,15.2,3.1,0.4,0.1,0.0,Fruit,Pears,\r\n";
    m_data->SetModified();
    CImportDialog dialog(*m_data);
    dialog.SetFile(QString::fromStdString(Path("good.csv")));
    m_prompt->Answer(EPromptAnswer::Cancel);
    dialog.Import();
    EXPECT_EQ(Db().CategoryCount(1), 2) << "cancelled: nothing imported";
    ASSERT_EQ(m_prompt->Shown().size(), 1u);
    EXPECT_EQ(m_prompt->Shown()[0].buttons, EPromptButtons::YesNoCancel);

    m_prompt->Answer(EPromptAnswer::No);
    dialog.Import();
    EXPECT_EQ(ShownTexts().back(),
              QStringLiteral("All food data was successfully added to the food database."));
    EXPECT_TRUE(dialog.Imported());
    EXPECT_EQ(Labels(Tree().topLevelItem(1)), (QStringList{"Apples", "Berries", "Pears"}));
    EXPECT_TRUE(m_data->IsModified());
}

// An empty name is an invalid value like an empty nutrient box; a stored name longer than the
// 20 characters of the box stays whole unless the user changes it, and a change must fit.
TEST_F(FoodDialogsTest, EmptyNamesAreInvalidValuesAndLongStoredNamesStayWhole) {
    std::unique_ptr<CFoodItemDialog> added(CFoodItemDialog::NewItem(Db(), 1, 0, nullptr));
    SetAmount(*added->Fields(), QStringLiteral("1"));
    ChooseUnit(*added->Fields(), kUnitGram);
    for (int slot = 0; slot < kBasicNutrientCount; ++slot)
        added->Fields()->NutrientEdit(slot)->setText(QStringLiteral("1"));
    added->accept();
    EXPECT_EQ(ShownTexts(), (std::vector<QString>{"You have an invalid nutrient value."}));
    EXPECT_EQ(added->result(), QDialog::Rejected);

    const std::string longName = "Cheese, pasteurized process, American";
    const int index = Db().AddFoodItem(0, 0, SampleItem(longName));
    ASSERT_GE(index, 0);
    std::unique_ptr<CFoodItemDialog> edited(
        CFoodItemDialog::EditItem(Db(), 0, 0, static_cast<uint16_t>(index), nullptr));
    EXPECT_EQ(edited->Fields()->NameEdit()->text().toStdString(), longName);
    edited->Fields()->NameEdit()->setText(QString::fromStdString(longName).chopped(1) + "X");
    edited->accept();
    EXPECT_EQ(ShownTexts().back(), QStringLiteral("You entered a duplicate or invalid name."));
    edited->Fields()->NameEdit()->setText(QString::fromStdString(longName));
    edited->accept();
    ASSERT_EQ(edited->result(), QDialog::Accepted);
    EXPECT_EQ(Db().GetFoodItem(0, 0, static_cast<uint16_t>(edited->Item())).Name(), longName);
}

} // namespace
} // namespace fitquill::test
