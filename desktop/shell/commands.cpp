// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/shell/commands.h"

#include <algorithm>

namespace fitquill {
namespace {

QList<QKeySequence> Keys(std::initializer_list<const char*> texts) {
    QList<QKeySequence> keys;
    for (const char* text : texts)
        keys.append(QKeySequence(QString::fromLatin1(text)));
    return keys;
}

std::vector<SCommandInfo> BuildTable() {
    auto s = [](const char* text) { return QString::fromUtf8(text); };
    return {
        {kIdFileNew, s("&New..."), Keys({"Ctrl+N"}), s("Creates a new User"), s("New User")},
        {kIdFileOpen, s("&Open..."), Keys({"Ctrl+O"}), s("Opens an existing User"), s("Open User")},
        {kIdFileSaveAll, s("&Save All"), Keys({"Ctrl+S"}), s("Saves the current User"),
         s("Save User")},
        {kIdImportFromFile,
         s("From File..."),
         {},
         s("Import a food data CSV (Comma delimited) file"),
         s("Import")},
        {kIdImportAutomaticUpdate,
         s("Automatic Update..."),
         {},
         s("Import a food data CSV (Comma delimited) file from Quorvel"),
         s("Import")},
        {kIdExportFoodData,
         s("&Food Data..."),
         {},
         s("Export a food data CSV (Comma delimited) file"),
         s("Export Food Data")},
        {kIdExportUserData,
         s("&User Data..."),
         {},
         s("Export a user data CSV (Comma delimited) file"),
         s("Export User Data")},
        {kIdFilePrint, s("&Print..."), Keys({"Ctrl+P"}), s("Prints the active file"), s("Print")},
        {kIdFilePrintPreview,
         s("Print Pre&view"),
         {},
         s("Print previews the active file"),
         s("Print Preview")},
        {kIdFilePrintSetup,
         s("P&rint Setup..."),
         {},
         s("Change the printer and printing options"),
         s("Print Setup")},
        {kIdAppExit, s("E&xit"), {}, s("Exits the application; prompts to save"), s("Exit")},
        {kIdEditCut, s("Cu&t"), Keys({"Ctrl+X", "Shift+Del"}),
         s("Cut the selection and put it on the Clipboard"), s("Cut")},
        {kIdEditCopy, s("&Copy"), Keys({"Ctrl+C", "Ctrl+Ins"}),
         s("Copy the selection and put it on the Clipboard"), s("Copy")},
        {kIdEditPaste, s("&Paste"), Keys({"Ctrl+V", "Shift+Ins"}), s("Insert Clipboard contents"),
         s("Paste")},
        {kIdEditSelectAll, s("&Select All"), Keys({"Ctrl+A"}), s("Select all items"),
         s("Select All")},
        {kIdInsertGroup, s("&Group..."), {}, s("Inserts a new group"), s("Insert Group")},
        {kIdInsertCategory,
         s("Category..."),
         {},
         s("Inserts a new category"),
         s("Insert Category")},
        {kIdInsertFoodItem,
         s("&Food Item..."),
         {},
         s("Inserts a new food item"),
         s("Insert Food Item")},
        {kIdDeleteGroup, s("&Group"), {}, s("Delete the selected group"), s("Delete Group")},
        {kIdDeleteCategory,
         s("&Category"),
         {},
         s("Delete the selected category"),
         s("Delete Category")},
        {kIdDeleteFoodItems,
         s("&Food Item(s)"),
         {},
         s("Delete the selected food items"),
         s("Delete Foods")},
        {kIdDeleteExerciseItems,
         s("&Exercise Item(s)"),
         {},
         s("Delete the selected exercise items"),
         s("Delete Exercises")},
        {kIdDeleteCurrentDay,
         s("&Current Day"),
         {},
         s("Deletes the current day"),
         s("Delete Current Day")},
        {kIdDeleteRangeOfDays,
         s("&Range of Days..."),
         {},
         s("Deletes a range of days"),
         s("Delete Range of Days")},
        {kIdDeleteAllDays, s("&All Days"), {}, s("Delete all days"), s("Delete All Days")},
        {kIdResetPersonalInfo,
         s("&Personal Information"),
         {},
         s("Reset personal information"),
         s("Reset Personal Information")},
        {kIdResetWeightGoals, s("&Weight Goals"), {}, s("Reset goals"), s("Reset Goals")},
        {kIdResetDietPlan,
         s("&Diet Plan"),
         {},
         s("Reset diet plan information"),
         s("Reset Diet Plan Information")},
        {kIdSortTimeBLDS,
         s("&Time (BLDS)"),
         {},
         s("Sorts items by breakfast, lunch, dinner, and snack"),
         s("Sort by Meal (BLDS)")},
        {kIdSortAlphabetical,
         s("&Alphabetical"),
         {},
         s("Sorts items in alphabetical order"),
         s("Sort Alphabetical")},
        {kIdFirstDay, s("&First Day"), {}, s("Jump to first record"), s("First Day")},
        {kIdPreviousDay, s("&Previous Day"), {}, s("Jump to previous day"), s("Previous Day")},
        {kIdNextDay, s("&Next Day"), {}, s("Jump to next day"), s("Next Day")},
        {kIdLastDay, s("L&ast Day"), {}, s("Jump to last record"), s("Last Day")},
        {kIdViewDietPlan, s("&Diet Plan"), {}, s("View Diet Plan"), s("Diet Plan")},
        {kIdViewLogbook, s("&Logbook"), {}, s("View Logbook"), s("View Logbook")},
        {kIdViewMealLog, s("&Meal Log"), {}, s("View Meal Log"), s("View Meal Log")},
        {kIdViewDailyJournal,
         s("&Daily Journal"),
         {},
         s("View Daily Journal"),
         s("View Daily Journal")},
        {kIdViewSummaryTable,
         s("&Summary Table"),
         {},
         s("View Summary Table"),
         s("View Summary Table")},
        {kIdViewNutrientTables,
         s("&Nutrient Tables"),
         {},
         s("View Nutrient Tables"),
         s("View Nutrient Tables")},
        {kIdInstallHandheldSoftware,
         s("&Install Handheld Software..."),
         {},
         s("Install Handheld Software"),
         s("Install Handheld Software")},
        {kIdOptionsColors, s("&Colors..."), {}, s("Allows colors to be changed"), s("Colors")},
        {kIdUserGuide, s("&User Guide"), {}, s("Opens the Users Guide"), s("Opens Users Guide")},
        {kIdAppAbout,
         s("&About..."),
         {},
         s("Display program information, version number and copyright"),
         s("About")},
        {kIdSortToggle, QString(), {}, s("Toggles between two sorting options"), s("Sort Toggle")},
        {kIdNutrientToggle,
         QString(),
         {},
         s("Toggles between nutrient views"),
         s("Nutrient Toggle")},
        {kIdEditItem, s("&Edit..."), {}, s("Edit selected items"), s("Edit")},
        {kIdRename, s("&Rename"), {}, s("Rename current selection"), s("Rename")},
        {kIdDeleteAllCategories,
         QString(),
         {},
         s("Delete all categories"),
         s("Delete All Categories in this Group")},
        {kIdDeleteFoodItem,
         s("&Food item"),
         {},
         s("Deletes selected food item"),
         s("Delete Food Item")},
        {kIdRefreshFoodTree, QString(), Keys({"F5"}), QString(), QString()},
        {kIdNextPane, QString(), Keys({"F6"}), s("Switch to the next window pane"), s("Next Pane")},
        {kIdPreviousPane, QString(), Keys({"Shift+F6"}),
         s("Switch back to the previous window pane"), s("Previous Pane")},
        {kIdEditUndo, QString(), Keys({"Ctrl+Z", "Alt+Backspace"}), s("Undo the last action"),
         s("Undo")},
    };
}

} // namespace

const std::vector<SCommandInfo>& CommandTable() {
    static const std::vector<SCommandInfo> table = BuildTable();
    return table;
}

const SCommandInfo* FindCommand(int id) {
    const auto& table = CommandTable();
    auto it = std::find_if(table.begin(), table.end(),
                           [id](const SCommandInfo& info) { return info.id == id; });
    return it == table.end() ? nullptr : &*it;
}

QString NotAvailableText(int id) {
    const SCommandInfo* info = FindCommand(id);
    QString name = info ? info->toolTip : QStringLiteral("This command");
    return QStringLiteral("%1 is not available in this version of Fitquill Desktop yet.").arg(name);
}

} // namespace fitquill
