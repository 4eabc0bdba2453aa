// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/document/shell_settings.h"
#include "desktop/document/view_services.h"
#include "desktop/widgets/command_target.h"

#include <QMainWindow>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QSplitter;
class QToolBar;

namespace fitquill {

class CCalendarPair;
class CDietData;
class CDietView;
class IFoodDialogs;
class CPageTabCtrl;
class CPlaceholderPane;
class CPresenceListener;
class CPresenceServer;

inline constexpr char kMainWindowTitle[] = "Fitquill Desktop";

// The program's main window: menus, the "Standard" and user toolbars, the status bar and the
// split between the food pane and the main view. It routes every command (food pane, view,
// document, frame, application), keeps the window placement, and selects the user to open once
// it is up.
class CMainFrame : public QMainWindow, public ICommandTarget, public ICommandRouter {
    Q_OBJECT

public:
    static constexpr int kFoodPaneWidth = 190;
    static constexpr int kViewWidth = 500;
    static constexpr int kMinimumPaneWidth = 50;
    static constexpr int kDefaultWidth = 960;
    static constexpr int kDefaultHeight = 740;
    static constexpr int kStatusMessageMinimumWidth = 300;

    // Registers itself with the document as the main window and posts the start-up user
    // selection to itself. With a presence server, it answers second starts and HotSync
    // notices.
    explicit CMainFrame(CDietData& data, CPresenceServer* presence = nullptr,
                        QWidget* parent = nullptr);
    // Writes the selected page and the meal-log sort mode.
    ~CMainFrame() override;

    // The first activation: restores the saved placement (or centres the default size on the
    // desktop), reads the colour and view settings into the document and shows the window.
    void ShowAtSavedPlacement();
    // The rectangle of a first start on a desktop of this size (no desktop: 0, 0, 960, 700).
    static SEdges DefaultPlacement(std::optional<QSize> desktop);
    // The placement of the window as it would be saved now.
    SWindowPlacement CurrentPlacement() const;
    void SavePlacement();

    // The start-up user selection, run once the window is up.
    void SelectStartUser();
    // A HotSync operation was refused for this Palm user while the program runs.
    void OnHotSyncNotice(uint32_t palmUserId);
    bool HotSyncNoticeShown() const { return m_hotSyncNoticeShown; }
    void BringToFront();

    // Command routing.
    void RunCommand(int id) override;
    bool IsCommandEnabled(int id) override;
    void UpdateCommandStates() override;
    QAction* Action(int id) const;

    bool QueryCommand(int id, bool& enabled) override;
    bool ExecuteCommand(int id) override;

    // Parts, for the views that plug into them and for tests.
    QToolBar* StandardToolBar() const { return m_standardBar; }
    QToolBar* UserToolBar() const { return m_userBar; }
    QComboBox* UserCombo() const { return m_userCombo; }
    // The four data panes: nutrients, goal, record, modified.
    QLabel* StatusPane(int pane) const;
    QSplitter* Splitter() const { return m_splitter; }
    QWidget* FoodPane() const;
    // Puts the real food pane in place of its stand-in; when it is an ICommandTarget it is the
    // first stop of every command.
    void SetFoodPane(QWidget* pane);
    CDietView* View() const { return m_view; }
    CPageTabCtrl* PageTabCtrl() const;
    CCalendarPair* CalendarPair() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    class CApplicationCommands;
    class CDocumentCommands;

    void CreateActions();
    void CreateMenus();
    void CreateToolBars();
    void CreateStatusBar();
    void CreateClientArea();
    QMenu* AddMenu(QMenu* parent, const QString& title, const std::vector<int>& ids);

    void OnUserChosen(int index);
    void OnUserToolbarFilled(const QStringList& entries, int selected);
    void OnStatusBarChanged();

    void NewUser();
    void OpenUserDialog();
    void DeleteCurrentDay();
    void DeleteAllDays();
    void DeleteRangeOfDays();
    void Reset(int id);
    void ChooseColors();
    void InsertFoodItem();
    void SwitchPane(bool forward);
    void ReportNotAvailable(int id);
    std::vector<ICommandTarget*> Route() const;

    CDietData& m_data;
    QToolBar* m_standardBar = nullptr;
    QSplitter* m_splitter = nullptr;
    QWidget* m_foodPane = nullptr;
    QToolBar* m_userBar = nullptr;
    QComboBox* m_userCombo = nullptr;
    bool m_hotSyncNoticeShown = false;

    CDietView* m_view = nullptr;
    std::vector<QLabel*> m_statusPanes;
    std::map<int, QAction*> m_actions;
    std::unique_ptr<CApplicationCommands> m_appCommands;
    std::unique_ptr<CDocumentCommands> m_docCommands;
    CPresenceListener* m_presence = nullptr;
    std::unique_ptr<IFoodDialogs> m_foodDialogs;
    SWindowPlacement m_restored;
};

} // namespace fitquill
