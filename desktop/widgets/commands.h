// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

#include <vector>

namespace fitquill {

// Command identifiers of menus, toolbars and accelerators. The numbers are the program's own
// (they identify commands in both directions of the routing, and stay stable for the views
// that handle them).
enum ECommandId : int {
    kIdFileNew = 57600,
    kIdFileOpen = 57601,
    kIdFileSaveAll = 57603,
    kIdFilePageSetup = 57605,
    kIdFilePrintSetup = 57606,
    kIdFilePrint = 57607,
    kIdFilePrintPreview = 57609,
    kIdAppAbout = 57664,
    kIdAppExit = 57665,
    kIdEditCopy = 57634,
    kIdEditCut = 57635,
    kIdEditPaste = 57637,
    kIdEditSelectAll = 57642,
    kIdEditUndo = 57643,
    kIdNextPane = 57680,
    kIdPreviousPane = 57681,

    kIdDeleteCurrentDay = 32794,
    kIdDeleteAllDays = 32795,
    kIdDeleteRangeOfDays = 32796,
    kIdPreviousDay = 32797,
    kIdNextDay = 32798,
    kIdLastDay = 32799,
    kIdFirstDay = 32800,
    kIdResetWeightGoals = 32808,
    kIdResetPersonalInfo = 32809,
    kIdSortAlphabetical = 32813,
    kIdSortTimeBLDS = 32814,
    kIdInsertFoodItem = 32817,
    kIdDeleteFoodItems = 32821,
    kIdDeleteExerciseItems = 32822,
    kIdSortToggle = 32824,
    kIdUserGuide = 32827,
    kIdRename = 32830,
    kIdDeleteAllCategories = 32833,
    kIdInsertCategory = 32834,
    kIdDeleteCategory = 32835,
    kIdDeleteFoodItem = 32837,
    kIdNutrientToggle = 32844,
    kIdEditItem = 32847,
    kIdInstallHandheldSoftware = 32849,
    kIdImportFromFile = 32850,
    kIdViewLogbook = 32852,
    kIdViewMealLog = 32853,
    kIdViewDailyJournal = 32854,
    kIdViewSummaryTable = 32855,
    kIdExportFoodData = 32856,
    kIdExportUserData = 32857,
    kIdImportAutomaticUpdate = 32858,
    kIdOptionsColors = 32860,
    kIdRefreshFoodTree = 32861,
    kIdInsertGroup = 32862,
    kIdDeleteGroup = 32863,
    kIdResetDietPlan = 32864,
    kIdViewDietPlan = 32865,
    kIdViewNutrientTables = 32866,
    kIdFileExportPdf = 32890,
};

// The control id of the user combo box and of the page container.
constexpr int kIdUserComboBox = 32790;
constexpr int kIdPageContainer = 32784;

// One command: its menu caption (empty for commands without a menu entry), its keys, the
// status-bar text and the tooltip.
struct SCommandInfo {
    int id = 0;
    QString caption;
    QList<QKeySequence> keys;
    QString statusText;
    QString toolTip;
};

// Every command of the program, in the command table's order.
const std::vector<SCommandInfo>& CommandTable();
// The entry of a command id; nullptr for an unknown id.
const SCommandInfo* FindCommand(int id);

// The text shown for a command whose feature this version does not have yet.
QString NotAvailableText(int id);

} // namespace fitquill
