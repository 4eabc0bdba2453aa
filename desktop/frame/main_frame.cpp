// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/frame/main_frame.h"

#include "desktop/document/diet_data.h"
#include "desktop/document/presence_listener.h"
#include "desktop/document/program_paths.h"
#include "desktop/document/prompt.h"
#include "desktop/document/stored_text.h"
#include "desktop/foodedit/auto_update_dialog.h"
#include "desktop/foodedit/food_data_dialogs.h"
#include "desktop/foodedit/food_dialogs.h"
#include "desktop/foodedit/food_pane.h"
#include "desktop/frame/colors_dialog.h"
#include "desktop/frame/delete_range_dialog.h"
#include "desktop/frame/diet_view.h"
#include "desktop/frame/page_container.h"
#include "desktop/frame/page_tab_ctrl.h"
#include "desktop/frame/placeholder_pane.h"
#include "desktop/frame/user_guide.h"
#include "desktop/frame/user_name_dialog.h"
#include "desktop/frame/users_dialog.h"
#include "desktop/install/install_dialog.h"
#include "desktop/views/charts/chart_dialogs.h"
#include "desktop/views/nutrients/nutrient_details_window.h"
#include "desktop/widgets/commands.h"
#include "desktop/widgets/fonts.h"
#include "desktop/widgets/toolbar_images.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>
namespace fitquill {

// Commands the application object handles: the end of the route.
class CMainFrame::CApplicationCommands : public ICommandTarget {
public:
    explicit CApplicationCommands(CMainFrame& frame) : m_frame(frame) {}

    bool QueryCommand(int id, bool& enabled) override {
        if (id != kIdAppAbout && id != kIdAppExit)
            return false;
        enabled = true;
        return true;
    }

    bool ExecuteCommand(int id) override {
        switch (id) {
        case kIdAppAbout:
            ShowPrompt(&m_frame, QStringLiteral("About Fitquill Desktop"),
                       QStringLiteral("Fitquill Desktop\nVersion %1")
                           .arg(QCoreApplication::applicationVersion()),
                       EPromptIcon::Information, EPromptButtons::Ok);
            return true;
        case kIdAppExit:
            m_frame.close();
            return true;
        default:
            return false;
        }
    }

private:
    CMainFrame& m_frame;
};

// Commands of the document: Save All.
class CMainFrame::CDocumentCommands : public ICommandTarget {
public:
    explicit CDocumentCommands(CDietData& data) : m_data(data) {}

    bool QueryCommand(int id, bool& enabled) override {
        if (id != kIdFileSaveAll)
            return false;
        // Without an open user there is nothing to write, and no file to write it to.
        enabled = m_data.HasOpenUser();
        return true;
    }

    bool ExecuteCommand(int id) override {
        if (id != kIdFileSaveAll)
            return false;
        if (m_data.HasOpenUser())
            m_data.SaveAll();
        return true;
    }

private:
    CDietData& m_data;
};

CMainFrame::CMainFrame(CDietData& data, CPresenceServer* presence, QWidget* parent)
    : QMainWindow(parent), m_data(data),
      m_appCommands(std::make_unique<CApplicationCommands>(*this)),
      m_docCommands(std::make_unique<CDocumentCommands>(data)) {
    setWindowTitle(QString::fromLatin1(kMainWindowTitle));
    m_data.SetSelectedPage(m_data.Settings().CurrentTab());
    m_data.SetSortMode(m_data.Settings().CurrentSort());
    m_data.SetMainWindow(this);
    m_data.SetCommandRouter(this);
    new CChartDialogs(m_data, this); // registers itself with the document
    m_foodDialogs = std::make_unique<CFoodDialogs>(m_data);
    m_data.SetFoodDialogs(m_foodDialogs.get());

    CreateActions();
    CreateMenus();
    CreateToolBars();
    CreateStatusBar();
    CreateClientArea();

    connect(&m_data, &CDietData::StatusBarChanged, this, &CMainFrame::OnStatusBarChanged);
    connect(&m_data, &CDietData::UserToolbarFilled, this, &CMainFrame::OnUserToolbarFilled);
    connect(qApp, &QApplication::focusChanged, this, [this] { UpdateCommandStates(); });
    connect(PageTabCtrl(), &CPageTabCtrl::PageShown, this, [this] { UpdateCommandStates(); });

    if (presence) {
        m_presence = new CPresenceListener(*presence, this);
        connect(m_presence, &CPresenceListener::BringToFrontRequested, this,
                &CMainFrame::BringToFront);
        connect(m_presence, &CPresenceListener::HotSyncNoticeReceived, this,
                [this](quint32 id) { OnHotSyncNotice(id); });
    }

    OnStatusBarChanged();
    UpdateCommandStates();
    // The user is chosen once the window is up.
    QMetaObject::invokeMethod(this, &CMainFrame::SelectStartUser, Qt::QueuedConnection);
}

CMainFrame::~CMainFrame() {
    // Taking the window down moves the focus; nothing may reach this half-destroyed frame.
    disconnect(qApp, nullptr, this, nullptr);
    disconnect(&m_data, nullptr, this, nullptr);
    m_data.Settings().SetCurrentTab(m_data.SelectedPage());
    m_data.Settings().SetCurrentSort(m_data.SortMode());
    if (m_data.MainWindow() == this)
        m_data.SetMainWindow(nullptr);
    if (m_data.CommandRouter() == this)
        m_data.SetCommandRouter(nullptr);
    if (m_data.FoodDialogs() == m_foodDialogs.get())
        m_data.SetFoodDialogs(nullptr);
}

// --- Building ---

void CMainFrame::CreateActions() {
    for (const SCommandInfo& info : CommandTable()) {
        auto* action = new QAction(info.caption, this);
        action->setShortcuts(info.keys);
        action->setStatusTip(info.statusText);
        action->setToolTip(info.toolTip);
        action->setIcon(ToolbarIcon(info.id));
        action->setIconVisibleInMenu(false);
        action->setData(info.id);
        const int id = info.id;
        connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
        // Commands without a menu entry still answer their keys.
        addAction(action);
        m_actions[id] = action;
    }
}

QMenu* CMainFrame::AddMenu(QMenu* parent, const QString& title, const std::vector<int>& ids) {
    QMenu* menu = parent ? parent->addMenu(title) : menuBar()->addMenu(title);
    for (int id : ids) {
        if (id == 0)
            menu->addSeparator();
        else
            menu->addAction(m_actions.at(id));
    }
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);
    return menu;
}

void CMainFrame::CreateMenus() {
    QMenu* file =
        AddMenu(nullptr, QStringLiteral("&File"), {kIdFileNew, kIdFileOpen, kIdFileSaveAll, 0});
    QMenu* import = AddMenu(file, QStringLiteral("&Import"), {});
    AddMenu(import, QStringLiteral("&Food Data"), {kIdImportFromFile, kIdImportAutomaticUpdate});
    AddMenu(file, QStringLiteral("&Export"), {kIdExportFoodData, kIdExportUserData});
    for (int id : std::initializer_list<int>{0, kIdFilePrint, kIdFilePrintPreview, kIdFileExportPdf,
                                             kIdFilePrintSetup, kIdFilePageSetup, 0, kIdAppExit}) {
        if (id == 0)
            file->addSeparator();
        else
            file->addAction(m_actions.at(id));
    }

    QMenu* edit = AddMenu(nullptr, QStringLiteral("&Edit"),
                          {kIdEditCut, kIdEditCopy, kIdEditPaste, 0, kIdEditSelectAll, 0});
    AddMenu(edit, QStringLiteral("&Insert"),
            {kIdInsertGroup, kIdInsertCategory, kIdInsertFoodItem});
    AddMenu(edit, QStringLiteral("&Delete"),
            {kIdDeleteGroup, kIdDeleteCategory, kIdDeleteFoodItems, 0, kIdDeleteExerciseItems, 0,
             kIdDeleteCurrentDay, kIdDeleteRangeOfDays, kIdDeleteAllDays});
    edit->addSeparator();
    AddMenu(edit, QStringLiteral("&Reset"),
            {kIdResetPersonalInfo, kIdResetWeightGoals, kIdResetDietPlan});
    edit->addSeparator();
    AddMenu(edit, QStringLiteral("&Sort"), {kIdSortTimeBLDS, kIdSortAlphabetical});
    edit->addSeparator();
    edit->addAction(m_actions.at(kIdSaveAsFoodItem));

    AddMenu(nullptr, QStringLiteral("&View"),
            {kIdFirstDay, kIdPreviousDay, kIdNextDay, kIdLastDay, 0, kIdViewDietPlan,
             kIdViewLogbook, kIdViewMealLog, kIdViewDailyJournal, kIdViewSummaryTable,
             kIdViewNutrientTables, 0, kIdViewNutrientDetails});
    AddMenu(nullptr, QStringLiteral("&Options"), {kIdInstallHandheldSoftware, 0, kIdOptionsColors});
    AddMenu(nullptr, QStringLiteral("&Help"), {kIdUserGuide, kIdAppAbout});
}

void CMainFrame::CreateToolBars() {
    m_standardBar = new QToolBar(QStringLiteral("Standard"), this);
    m_standardBar->setObjectName(QStringLiteral("Standard"));
    m_standardBar->setIconSize(kToolbarImageSize);
    m_standardBar->setAllowedAreas(Qt::AllToolBarAreas);
    for (int id : std::initializer_list<int>{kIdFileNew,
                                             kIdFileOpen,
                                             kIdFileSaveAll,
                                             0,
                                             kIdFilePrint,
                                             kIdFilePrintPreview,
                                             0,
                                             kIdEditCut,
                                             kIdEditCopy,
                                             kIdEditPaste,
                                             0,
                                             kIdSortToggle,
                                             kIdNutrientToggle,
                                             0,
                                             kIdFirstDay,
                                             kIdPreviousDay,
                                             kIdNextDay,
                                             kIdLastDay,
                                             0,
                                             kIdViewNutrientDetails}) {
        if (id == 0)
            m_standardBar->addSeparator();
        else
            m_standardBar->addAction(m_actions.at(id));
    }
    addToolBar(Qt::TopToolBarArea, m_standardBar);

    m_userBar = new QToolBar(QStringLiteral("Current User"), this);
    m_userBar->setObjectName(QStringLiteral("Current User"));
    m_userBar->setAllowedAreas(Qt::AllToolBarAreas);
    // One slot of 185 pixels: the label at 0..35, the combo box from 40 on, 145 wide.
    auto* slot = new QWidget(m_userBar);
    slot->setFixedSize(185, 22);
    auto* label = new QLabel(QStringLiteral("User:"), slot);
    label->setFont(CustomFont());
    label->setGeometry(0, 4, 35, 16);
    m_userCombo = new QComboBox(slot);
    m_userCombo->setObjectName(QString::number(kIdUserComboBox));
    label->setBuddy(m_userCombo);
    m_userCombo->setFont(CustomFont());
    m_userCombo->setGeometry(40, 0, 145, 22);
    m_userCombo->setMaxVisibleItems(11);
    m_userCombo->setFocusPolicy(Qt::ClickFocus);
    m_userBar->addWidget(slot);
    addToolBar(Qt::TopToolBarArea, m_userBar);
    connect(m_userCombo, &QComboBox::activated, this, &CMainFrame::OnUserChosen);
}

void CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    // Every pane asks for the width of its text and may be squeezed below it, so that no width
    // of the window makes two panes draw over each other. The message pane stretches over what
    // the data panes leave (at least kStatusMessageMinimumWidth on a wide enough window).
    auto* message = new QLabel(QStringLiteral("Ready"), bar);
    message->setMinimumWidth(1);
    bar->addWidget(message, 1);
    const QFontMetrics metrics(bar->font());
    for (int i = 0; i < 4; ++i) {
        auto* pane = new QLabel(bar);
        pane->setMargin(4);
        pane->setMinimumWidth(1);
        bar->addPermanentWidget(pane);
        m_statusPanes.push_back(pane);
    }
    // The keyboard lock indicators: kept blank, as their state cannot be read portably.
    for (const char* sample : {"CAP", "NUM", "SCRL"}) {
        auto* pane = new QLabel(bar);
        pane->setObjectName(QString::fromLatin1(sample));
        pane->setMargin(metrics.horizontalAdvance(QString::fromLatin1(sample)) / 2 + 4);
        pane->setMinimumWidth(1);
        bar->addPermanentWidget(pane);
    }
}

void CMainFrame::CreateClientArea() {
    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setChildrenCollapsible(false);
    m_foodPane = new CFoodPane(m_data, m_splitter);
    m_foodPane->setMinimumWidth(kMinimumPaneWidth);
    m_view = new CDietView(m_data, m_splitter);
    m_view->setMinimumWidth(kMinimumPaneWidth);
    m_splitter->addWidget(m_foodPane);
    m_splitter->addWidget(m_view);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({kFoodPaneWidth, kViewWidth});
    setCentralWidget(m_splitter);

    auto paintFoodPane = [this] {
        if (auto* pane = qobject_cast<CPlaceholderPane*>(m_foodPane))
            pane->SetColors(m_data.GetTextColor(), m_data.GetBackColor());
    };
    connect(&m_data, &CDietData::ColorsChanged, this, paintFoodPane);
    paintFoodPane();
}

QLabel* CMainFrame::StatusPane(int pane) const {
    if (pane < 0 || pane >= static_cast<int>(m_statusPanes.size()))
        return nullptr;
    return m_statusPanes[static_cast<size_t>(pane)];
}

QWidget* CMainFrame::FoodPane() const {
    return m_foodPane;
}

void CMainFrame::SetFoodPane(QWidget* pane) {
    if (!pane || pane == m_foodPane)
        return;
    pane->setMinimumWidth(kMinimumPaneWidth);
    QWidget* old = m_splitter->replaceWidget(0, pane);
    m_foodPane = pane;
    delete old;
    m_splitter->setSizes({kFoodPaneWidth, m_splitter->sizes().value(1, kViewWidth)});
    UpdateCommandStates();
}

CPageTabCtrl* CMainFrame::PageTabCtrl() const {
    return m_view->PageTabCtrl();
}

CCalendarPair* CMainFrame::CalendarPair() const {
    return PageTabCtrl()->Container()->CalendarPair();
}

QAction* CMainFrame::Action(int id) const {
    auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

// --- Placement ---

SEdges CMainFrame::DefaultPlacement(std::optional<QSize> desktop) {
    if (!desktop)
        return {0, 0, kDefaultWidth, 700};
    SEdges edges;
    if (desktop->width() < kDefaultWidth) {
        edges.left = 0;
        edges.right = desktop->width();
    } else {
        edges.left = (desktop->width() - kDefaultWidth) / 2;
        edges.right = edges.left + kDefaultWidth;
    }
    if (desktop->height() < kDefaultHeight) {
        edges.top = 0;
        edges.bottom = desktop->height();
    } else {
        edges.top = (desktop->height() - kDefaultHeight) / 2;
        edges.bottom = edges.top + kDefaultHeight;
    }
    return edges;
}

void CMainFrame::ShowAtSavedPlacement() {
    m_restored = m_data.Settings().ReadPlacement();
    SEdges edges = m_restored.normal;
    if (!m_restored.HasNormalPosition()) {
        std::optional<QSize> desktop;
        if (QScreen* screen = QGuiApplication::primaryScreen())
            desktop = screen->geometry().size();
        edges = DefaultPlacement(desktop);
    }
    m_data.LoadViewSettings();
    setGeometry(edges.left, edges.top, edges.Width(), edges.Height());
    // Whatever state was saved (minimised, maximised), the window comes back normal.
    showNormal();
}

SWindowPlacement CMainFrame::CurrentPlacement() const {
    SWindowPlacement placement = m_restored;
    placement.length = 44;
    placement.flags = 0;
    placement.showCmd = isMinimized()   ? SWindowPlacement::kShowMinimized
                        : isMaximized() ? SWindowPlacement::kShowMaximized
                                        : SWindowPlacement::kShowNormal;
    QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
    placement.normal = {normal.left(), normal.top(), normal.left() + normal.width(),
                        normal.top() + normal.height()};
    return placement;
}

void CMainFrame::SavePlacement() {
    m_data.Settings().WritePlacement(CurrentPlacement());
}

// --- Start-up, users and outside requests ---

void CMainFrame::SelectStartUser() {
    QString name = m_data.GetCurrentUserName();
    if (m_data.Users().UserCount() > 0) {
        if (!m_data.UserExists(name)) {
            CUsersDialog dialog(m_data, EUserDialogMode::StartUp, this);
            // Only an ending program takes the dialog down without a choice.
            if (dialog.exec() != QDialog::Accepted)
                return;
            name = dialog.ChosenName();
        }
    } else {
        CUserNameDialog dialog(m_data, EUserDialogMode::StartUp, this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        name = dialog.Name();
    }
    if (!m_data.OpenUser(name))
        return;
    m_data.SelectUserInToolbar(name);
    m_data.NotifyDayChanged();
    UpdateCommandStates();
}

void CMainFrame::OnUserToolbarFilled(const QStringList& entries, int selected) {
    const QSignalBlocker quiet(m_userCombo);
    m_userCombo->clear();
    m_userCombo->addItems(entries);
    m_userCombo->setCurrentIndex(selected);
}

void CMainFrame::OnUserChosen(int index) {
    if (index < 0)
        return;
    if (index == m_userCombo->count() - 1) {
        OpenUserDialog();
        return;
    }
    const QString name = m_userCombo->itemText(index);
    const QString current = m_data.GetCurrentUserName();
    if (name.isEmpty() || name == current)
        return;
    if (!m_data.AskSaveBeforeSwitching(this)) {
        m_data.SelectUserInToolbar(current);
        return;
    }
    m_data.OpenUser(name);
    m_data.SelectUserInToolbar(name);
}

void CMainFrame::OnHotSyncNotice(uint32_t palmUserId) {
    if (m_hotSyncNoticeShown || !m_data.HasOpenUser())
        return;
    // A user that cannot be looked up is not the one being synchronised; a message from
    // outside must not end the program and lose the open changes.
    UserHandle user = 0;
    if (!m_data.Users().FindUserByName(ToStored(m_data.GetCurrentUserName()), user))
        return;
    if (user != palmUserId)
        return;
    m_hotSyncNoticeShown = true;
    ShowPrompt(this, QString::fromUtf8("HotSync\u00AE Operation"),
               QStringLiteral("Please close the desktop application to synchronize data with "
                              "your handheld device."),
               EPromptIcon::Warning, EPromptButtons::Ok);
}

void CMainFrame::BringToFront() {
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
    // A dialog that is up belongs in front of the window.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!m_data.AskSaveBeforeSwitching(this)) {
        event->ignore();
        return;
    }
    SavePlacement();
    m_data.SaveViewSettings();
    event->accept();
}

// --- Command routing ---

std::vector<ICommandTarget*> CMainFrame::Route() const {
    std::vector<ICommandTarget*> route;
    // The food pane takes part once it handles commands of its own.
    if (auto* food = dynamic_cast<ICommandTarget*>(m_foodPane))
        route.push_back(food);
    route.push_back(m_view);
    route.push_back(m_docCommands.get());
    route.push_back(const_cast<CMainFrame*>(this));
    route.push_back(m_appCommands.get());
    return route;
}

bool CMainFrame::IsCommandEnabled(int id) {
    for (ICommandTarget* target : Route()) {
        bool enabled = false;
        if (target->QueryCommand(id, enabled))
            return enabled;
    }
    // Nobody handles it (yet): greyed.
    return false;
}

void CMainFrame::UpdateCommandStates() {
    for (auto& [id, action] : m_actions)
        action->setEnabled(IsCommandEnabled(id));
    // The meal log's toggle buttons show pressed while their second state is on.
    for (auto [id, pressed] : {std::pair{kIdSortToggle, m_data.SortMode() == 1},
                               std::pair{kIdNutrientToggle, m_data.NutrientToggle() == 1}}) {
        m_actions.at(id)->setCheckable(true);
        m_actions.at(id)->setChecked(pressed);
    }
}

void CMainFrame::RunCommand(int id) {
    if (!IsCommandEnabled(id))
        return;
    // Commands that work on the focused box itself leave its text where it is; every other
    // command first takes what is typed, as leaving the box would.
    static constexpr int kOnTheFocusedBox[] = {kIdEditCut,       kIdEditCopy, kIdEditPaste,
                                               kIdEditSelectAll, kIdEditUndo, kIdNextPane,
                                               kIdPreviousPane};
    if (std::find(std::begin(kOnTheFocusedBox), std::end(kOnTheFocusedBox), id) ==
        std::end(kOnTheFocusedBox))
        m_data.CommitPendingEdit();
    for (ICommandTarget* target : Route()) {
        if (target->ExecuteCommand(id))
            break;
    }
    UpdateCommandStates();
}

bool CMainFrame::QueryCommand(int id, bool& enabled) {
    const bool userOpen = m_data.HasOpenUser();
    switch (id) {
    case kIdFileNew:
    case kIdFileOpen:
    case kIdOptionsColors:
    case kIdUserGuide:
    case kIdInstallHandheldSoftware:
    case kIdImportFromFile:
    case kIdImportAutomaticUpdate:
    case kIdExportFoodData:
    case kIdExportUserData:
    case kIdNextPane:
    case kIdPreviousPane:
        enabled = true;
        return true;
    case kIdDeleteCurrentDay:
    case kIdDeleteAllDays:
    case kIdDeleteRangeOfDays:
    case kIdResetPersonalInfo:
    case kIdResetWeightGoals:
    case kIdResetDietPlan:
    case kIdFirstDay:
    case kIdPreviousDay:
    case kIdNextDay:
    case kIdLastDay:
    case kIdViewNutrientDetails:
        enabled = userOpen;
        return true;
    case kIdInsertFoodItem:
        enabled = m_data.SelectedPage() == 2;
        return true;
    case kIdEditCut:
    case kIdEditCopy:
    case kIdEditPaste:
        // A focused control that handles them enables them itself.
        enabled = false;
        return true;
    default:
        return false;
    }
}

bool CMainFrame::ExecuteCommand(int id) {
    CJournalDB& journal = m_data.Journal();
    switch (id) {
    case kIdFileNew:
        NewUser();
        return true;
    case kIdFileOpen:
        OpenUserDialog();
        return true;
    case kIdFirstDay:
        journal.FirstDay();
        m_data.NotifyDayChanged();
        return true;
    case kIdPreviousDay:
        journal.PreviousDay();
        m_data.NotifyDayChanged();
        return true;
    case kIdNextDay:
        journal.NextDay();
        m_data.NotifyDayChanged();
        return true;
    case kIdLastDay:
        journal.LastDay();
        m_data.NotifyDayChanged();
        return true;
    case kIdDeleteCurrentDay:
        DeleteCurrentDay();
        return true;
    case kIdDeleteAllDays:
        DeleteAllDays();
        return true;
    case kIdDeleteRangeOfDays:
        DeleteRangeOfDays();
        return true;
    case kIdResetPersonalInfo:
    case kIdResetWeightGoals:
    case kIdResetDietPlan:
        Reset(id);
        return true;
    case kIdOptionsColors:
        ChooseColors();
        return true;
    case kIdUserGuide:
        OpenUsersGuide(this, m_data.Users(), CProgramPaths::FromApplication().DataFolder());
        return true;
    case kIdInsertFoodItem:
        InsertFoodItem();
        return true;
    case kIdViewNutrientDetails: {
        // One window, kept (hidden when closed) while the main window lives.
        auto* details = findChild<CNutrientDetailsWindow*>();
        if (!details)
            details = new CNutrientDetailsWindow(m_data, this);
        details->Refresh();
        details->show();
        details->raise();
        details->activateWindow();
        return true;
    }
    case kIdNextPane:
    case kIdPreviousPane:
        SwitchPane(id == kIdNextPane);
        return true;
    case kIdInstallHandheldSoftware:
        RunInstallHandheldSoftware(FromPath(m_data.Users().InstallPath()),
                                   m_data.Settings().PalmDesktopFolder(), this);
        return true;
    case kIdImportAutomaticUpdate:
        if (m_data.HasOpenUser())
            RunAutomaticUpdate(m_data, this);
        return true;
    case kIdImportFromFile:
        ImportFoodData(m_data, this);
        return true;
    case kIdExportFoodData:
        ExportFoodData(m_data, this);
        return true;
    case kIdExportUserData:
        ExportUserData(m_data, this);
        return true;
    default:
        return false;
    }
}

void CMainFrame::ReportNotAvailable(int id) {
    const SCommandInfo* info = FindCommand(id);
    ShowPrompt(this, info ? info->toolTip : QString::fromLatin1(kMainWindowTitle),
               NotAvailableText(id), EPromptIcon::Information, EPromptButtons::Ok);
}

// --- Frame commands ---

void CMainFrame::NewUser() {
    CUserNameDialog dialog(m_data, EUserDialogMode::Switching, this);
    dialog.exec();
    m_data.NotifyDayChanged();
    m_data.RefreshViews();
}

void CMainFrame::OpenUserDialog() {
    CUsersDialog dialog(m_data, EUserDialogMode::Switching, this);
    dialog.exec();
}

void CMainFrame::DeleteCurrentDay() {
    if (ShowPrompt(this, QStringLiteral("Current Day"),
                   QStringLiteral("Are you sure you want to delete current day?"),
                   EPromptIcon::Question, EPromptButtons::YesNo) != EPromptAnswer::Yes)
        return;
    m_data.Journal().DeleteCurrentDay();
    m_data.SetModified();
    m_data.RefreshViews();
}

void CMainFrame::DeleteAllDays() {
    if (ShowPrompt(this, QStringLiteral("All Days"),
                   QStringLiteral("Are you sure you want to delete all days?"),
                   EPromptIcon::Question, EPromptButtons::YesNo) != EPromptAnswer::Yes)
        return;
    m_data.Journal().DeleteAllDays(true);
    m_data.SetModified();
    m_data.Journal().GoToDate(CJournalDate::Today());
    m_data.NotifyDayChanged();
}

void CMainFrame::DeleteRangeOfDays() {
    CDeleteRangeDialog dialog(m_data.HasOpenUser(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_data.Journal().DeleteRange(dialog.From(), dialog.To());
    m_data.SetModified();
    m_data.RefreshViews();
}

void CMainFrame::Reset(int id) {
    if (!m_data.HasOpenUser())
        return;
    QString caption;
    QString text;
    switch (id) {
    case kIdResetDietPlan:
        caption = QStringLiteral("Reset Diet Plan");
        text = QStringLiteral("Do you wish to reset your diet plan to the default setting?");
        break;
    case kIdResetWeightGoals:
        caption = QStringLiteral("Reset Goals");
        text = QStringLiteral("Do you wish to reset (clear) your weight goals?");
        break;
    default:
        caption = QStringLiteral("Personal Information");
        text = QStringLiteral("Do you wish to reset (clear) your personal information?");
        break;
    }
    if (ShowPrompt(this, caption, text, EPromptIcon::Question, EPromptButtons::YesNo) !=
        EPromptAnswer::Yes)
        return;
    CUserProfile& profile = m_data.Journal().Profile();
    if (id == kIdResetDietPlan)
        profile.ResetDietPlan();
    else if (id == kIdResetWeightGoals)
        profile.ResetWeightGoals();
    else
        profile.ResetPersonalInfo();
    m_data.SetModified();
    m_data.RefreshViews();
}

void CMainFrame::ChooseColors() {
    CColorsDialog dialog(m_data.Colors(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // Every window re-reads the colours and repaints.
    m_data.ApplyColors(dialog.Colors());
}

void CMainFrame::InsertFoodItem() {
    if (auto* grid = dynamic_cast<ICommandTarget*>(m_data.MealLogGrid())) {
        grid->ExecuteCommand(kIdInsertFoodItem);
        return;
    }
    ReportNotAvailable(kIdInsertFoodItem);
}

void CMainFrame::SwitchPane(bool forward) {
    // Two panes: either direction moves to the other one.
    Q_UNUSED(forward);
    QWidget* focused = QApplication::focusWidget();
    if (focused && (focused == m_foodPane || m_foodPane->isAncestorOf(focused)))
        m_view->setFocus();
    else
        m_foodPane->setFocus();
}

void CMainFrame::OnStatusBarChanged() {
    const SStatusPanes panes = m_data.StatusPanes();
    m_statusPanes[0]->setText(panes.nutrients);
    m_statusPanes[1]->setText(panes.goal);
    m_statusPanes[2]->setText(panes.record);
    m_statusPanes[3]->setText(panes.modified);
    // The title stays exactly the program's name: other programs look for it.
    setWindowTitle(QString::fromLatin1(kMainWindowTitle));
    UpdateCommandStates();
}

} // namespace fitquill
