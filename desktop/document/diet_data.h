// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/food/food_db.h"
#include "core/food/food_db_file.h"
#include "core/journal/journal_db.h"
#include "core/users/notice_sink.h"
#include "core/users/user_directory.h"
#include "desktop/document/shell_settings.h"

#include <QColor>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <array>
#include <filesystem>
#include <memory>

namespace fitquill {

class CProgramPaths;
class CRecovery;
class IChartDialogs;
class ICommandRouter;
class IFoodDialogs;

// The four data panes of the status bar.
struct SStatusPanes {
    QString nutrients;
    QString goal;
    QString record;
    QString modified;
};

// What the charts remember until the program ends.
struct SChartSettings {
    int duration = 0;           // 0 week, 1 month
    int style = 0;              // 0 line, 1 point
    int nutrient = 0;           // nutrient slot 0-5
    int historicPeriod = 0;     // 0 seven days ... 6 five years
    bool historicTrend = false; // the weight trend over the historic chart
};

// Where the users come from and where the shipped data lies.
struct SDietDataSetup {
    std::shared_ptr<IUserLibrary> library; // null: the program's own user list
    SInstallPath installPath;
    std::filesystem::path dataFolder; // looked in for the default food database
};

// The document: the one object that holds the current user's journal and food database and
// the view state that several windows share. There is one per process (Instance()); it tells
// the windows about changes through the signals below, which are delivered synchronously and
// in the order the operations state.
class CDietData : public QObject, private INoticeSink {
    Q_OBJECT

public:
    static constexpr int kPageCount = 6;
    static constexpr int kReportCount = 7;

    // Builds the user directory at once (it may show the installation-path notice).
    explicit CDietData(SDietDataSetup setup, QObject* parent = nullptr);
    ~CDietData() override;
    CDietData(const CDietData&) = delete;
    CDietData& operator=(const CDietData&) = delete;

    // The setup of the running program: users from the Palm Desktop folder named by the
    // settings or FITQUILL_PALM_ROOT, else the program's own list below the installation path.
    static SDietDataSetup ProgramSetup(const CProgramPaths& paths, const CShellSettings& settings);

    // The one document of the process; null when none exists.
    static CDietData* Instance();

    CJournalDB& Journal() { return m_journal; }
    const CJournalDB& Journal() const { return m_journal; }
    CFoodDB& FoodDB() { return m_foodDB; }
    CUserDirectory& Users() { return *m_users; }
    CShellSettings& Settings() { return m_settings; }
    // The copy of unsaved changes kept against a crash.
    CRecovery& Recovery() { return *m_recovery; }

    // Windows that the document addresses (not owned; each clears itself by being destroyed).
    void SetMainWindow(QWidget* window) { m_mainWindow = window; }
    QWidget* MainWindow() const { return m_mainWindow; }
    void SetPageTabCtrl(QWidget* tabs) { m_pageTabCtrl = tabs; }
    QWidget* PageTabCtrl() const { return m_pageTabCtrl; }
    void SetMealLogGrid(QWidget* grid) { m_mealLogGrid = grid; }
    QWidget* MealLogGrid() const { return m_mealLogGrid; }
    void SetFoodTree(QWidget* tree) { m_foodTree = tree; }
    QWidget* FoodTree() const { return m_foodTree; }
    // Dialogs that one part of the views opens in another (not owned; null until registered).
    void SetFoodDialogs(IFoodDialogs* dialogs) { m_foodDialogs = dialogs; }
    IFoodDialogs* FoodDialogs() const { return m_foodDialogs; }
    void SetChartDialogs(IChartDialogs* dialogs) { m_chartDialogs = dialogs; }
    IChartDialogs* ChartDialogs() const { return m_chartDialogs; }
    void SetCommandRouter(ICommandRouter* router) { m_commandRouter = router; }
    // Null without a main frame (widget tests of a single window).
    ICommandRouter* CommandRouter() const { return m_commandRouter; }

    // --- Notifications and status ---
    void SetModified();
    bool IsModified() const { return m_journal.IsModified(); }
    void RefreshViews();
    void NotifyDayChanged();
    void NotifyDayEdited();
    void NotifyWeightChanged();
    // The one step before any command that reads, saves or leaves the current day or user:
    // the box being typed in hands its text to the document exactly as leaving it would (its
    // own checks and messages). The frame's command routing, the tab and calendar switches,
    // SaveAll and AskSaveBeforeSwitching call it.
    void CommitPendingEdit();
    void ShowPage(int page, int subScreen = 0);
    // The food database changed behind the food tree's back: the tree rebuilds itself.
    void ReloadFoodTree();
    // A food was logged from outside the meal log: it selects the entry at this position of
    // its display order.
    void SelectMealLogEntry(int position) { emit MealLogEntrySelected(position); }
    void UpdateStatusBar();
    SStatusPanes StatusPanes() const;

    // The current day's record, or null. With create, a missing record is added (a failure
    // is a database error), the views are told and the document is modified.
    CDayRecord* GetCurrentDay(bool create = false);

    // --- Users ---
    QString GetCurrentUserName() const;
    void SetCurrentUserName(const QString& name);
    // Whether a user's journal and food database are open.
    bool HasOpenUser() const { return m_userOpen; }
    QStringList UserNames() const;
    // Exact, case-sensitive lookup.
    bool UserExists(const QString& name) const;
    // Refills the user combo box of the frame and, when the name is in it, selects it, stores
    // it as the current user and tells the views.
    void SelectUserInToolbar(const QString& name);
    // Opens a user's journal and food database. A failure is a database error; false when it
    // returns at all (without a main window).
    bool OpenUser(const QString& name);
    // The open user was renamed: follow the user's files and remember the new name.
    void FollowRenamedUser(const QString& newName);
    // Asks whether to save before the open user is replaced; false means the switch is
    // abandoned (Cancel, or a save that failed).
    bool AskSaveBeforeSwitching(QWidget* owner);
    // Writes the journal and the food database. False when the journal could not be written
    // (the user was told, the document stays modified); a failed food database write is a
    // database error.
    bool SaveAll();

    // The fatal database error: forgets the remembered user, tells the user and raises an
    // internal error, which ends the program without saving. Without a main window nothing
    // happens.
    void ReportDatabaseError();

    // --- View state ---
    int SelectedPage() const { return m_selectedPage; }
    void SetSelectedPage(int page);
    int SortMode() const { return m_sortMode; }
    void SetSortMode(int mode) { m_sortMode = mode; }
    // The meal log's nutrient columns (0 calories, carbohydrate, protein; 1 the other three):
    // shared by every meal log grid, not saved.
    int NutrientToggle() const { return m_nutrientToggle; }
    void SetNutrientToggle(int toggle) { m_nutrientToggle = toggle; }
    int TimeBLDS() const { return m_timeBLDS; }
    void SetTimeBLDS(int value) { m_timeBLDS = value; }
    int NutrientTable() const { return m_nutrientTable; }
    void SetNutrientTable(int value) { m_nutrientTable = value; }

    QColor GetTextColor() const;
    QColor GetBackColor() const;
    void SetTextColor(const QColor& color, bool overrideColor);
    void SetBackColor(const QColor& color, bool overrideColor);
    const SColorSettings& Colors() const { return m_colors; }
    // Stores all colour settings, writes them to the settings and tells the windows.
    void ApplyColors(const SColorSettings& colors);
    // Reads colours, "TimeBLDS" and "NutrientTable" from the settings; the windows repaint.
    void LoadViewSettings();
    void SaveViewSettings();

    const CJournalDate& PrintStart() const { return m_printStart; }
    const CJournalDate& PrintEnd() const { return m_printEnd; }
    void SetPrintRange(const CJournalDate& start, const CJournalDate& end);
    bool ReportFlag(int report) const;
    void SetReportFlag(int report, bool on);
    SChartSettings& ChartSettings() { return m_chartSettings; }

    // Replacing the drag image drops the previous one.
    void SetDragImage(const QPixmap& image) { m_dragImage = image; }
    const QPixmap& DragImage() const { return m_dragImage; }

    // The folder of the running program file, ending with a separator.
    QString GetProgramFolder() const;

signals:
    void RefreshViewsSent();
    void DayChangedSent();
    void DayEditedSent();
    void WeightChangedSent();
    // Windows that hold typed text not yet handed over store it now.
    void CommitPendingEditSent();
    void ShowPageSent(int page, int subScreen);
    void ReloadFoodTreeSent();
    void MealLogEntrySelected(int position);
    // The status bar's data panes are to be re-read (StatusPanes()).
    void StatusBarChanged();
    // The user combo box is to hold these entries with this one selected (-1: none).
    void UserToolbarFilled(const QStringList& entries, int selected);
    // Text or background colour changed: every window re-reads them and repaints.
    void ColorsChanged();

private:
    void ShowNotice(std::string_view caption, std::string_view text) override;

    CJournalDB m_journal;
    CFoodDB m_foodDB;
    CFoodDBFile m_foodFile;
    CShellSettings m_settings;
    std::unique_ptr<CUserDirectory> m_users;
    std::unique_ptr<CRecovery> m_recovery;
    bool m_userOpen = false;

    int m_sortMode = 0;
    int m_nutrientToggle = 0;
    QPointer<QWidget> m_mainWindow;
    QPointer<QWidget> m_pageTabCtrl;
    QPointer<QWidget> m_mealLogGrid;
    QPointer<QWidget> m_foodTree;
    IFoodDialogs* m_foodDialogs = nullptr;
    IChartDialogs* m_chartDialogs = nullptr;
    ICommandRouter* m_commandRouter = nullptr;
    CJournalDate m_printStart;
    CJournalDate m_printEnd;
    // The Nutrient Details (the seventh) stay off until chosen.
    std::array<bool, kReportCount> m_reportFlags{true, true, true, true, true, true, false};
    int m_selectedPage = 0;
    QPixmap m_dragImage;
    SColorSettings m_colors;
    int m_timeBLDS = 0;
    int m_nutrientTable = 0;
    SChartSettings m_chartSettings;
};

// The user combo box's last entry, which opens the Users dialog.
inline constexpr char kEditUserEntry[] = "Edit User...";

} // namespace fitquill
