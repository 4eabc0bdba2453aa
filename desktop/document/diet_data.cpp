// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/document/diet_data.h"

#include "core/calc/diet_plan.h"
#include "core/calc/energy_balance.h"
#include "core/calc/units.h"
#include "core/food/nutrient.h"
#include "core/internal_error.h"
#include "core/journal/journal_file.h"
#include "desktop/document/program_paths.h"
#include "desktop/document/prompt.h"
#include "desktop/document/recovery.h"
#include "desktop/document/stored_text.h"
#include "desktop/document/wait_cursor.h"
#include "platform/palm/user_store.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>

namespace fitquill {
namespace {

CDietData*& TheInstance() {
    static CDietData* instance = nullptr;
    return instance;
}

QString FromStd(const std::string& text) {
    return FromStored(text);
}

} // namespace

CDietData::CDietData(SDietDataSetup setup, QObject* parent)
    : QObject(parent), m_foodFile(EFoodFileMode::Desktop, setup.dataFolder) {
    TheInstance() = this;
    m_users = std::make_unique<CUserDirectory>(std::move(setup.library), setup.installPath,
                                               static_cast<INoticeSink*>(this));
    m_printStart = CJournalDate::Today();
    m_printEnd = m_printStart;
    m_recovery = std::make_unique<CRecovery>(m_journal, m_foodDB);
}

CDietData::~CDietData() {
    if (TheInstance() == this)
        TheInstance() = nullptr;
}

CDietData* CDietData::Instance() {
    return TheInstance();
}

SDietDataSetup CDietData::ProgramSetup(const CProgramPaths& paths, const CShellSettings& settings) {
    SDietDataSetup setup;
    setup.library = std::make_shared<CUserStore>(
        CUserStore::PalmRoot(ToPath(settings.PalmDesktopFolder()).string()));
    std::optional<std::string> setting;
    if (const std::optional<QString> name = settings.InstallPathName())
        setting = ToPath(*name).string();
    setup.installPath = SInstallPath{true, CProgramPaths::InstallPath(setting)};
    setup.dataFolder = paths.DataFolder();
    return setup;
}

void CDietData::ShowNotice(std::string_view caption, std::string_view text) {
    ShowPrompt(m_mainWindow, FromStd(std::string(caption)), FromStd(std::string(text)),
               EPromptIcon::None, EPromptButtons::Ok);
}

// --- Notifications and status ---

void CDietData::SetModified() {
    m_journal.SetModified(true);
    if (m_userOpen)
        m_recovery->Edited();
    UpdateStatusBar();
}

void CDietData::RefreshViews() {
    emit RefreshViewsSent();
    UpdateStatusBar();
}

void CDietData::NotifyDayChanged() {
    emit DayChangedSent();
}

void CDietData::NotifyDayEdited() {
    emit DayEditedSent();
}

void CDietData::NotifyWeightChanged() {
    emit WeightChangedSent();
}

void CDietData::ShowPage(int page, int subScreen) {
    if (m_pageTabCtrl)
        emit ShowPageSent(page, subScreen);
    UpdateStatusBar();
}

void CDietData::UpdateStatusBar() {
    emit StatusBarChanged();
}

SStatusPanes CDietData::StatusPanes() const {
    SStatusPanes panes;
    double calories = 0;
    double carbohydrate = 0;
    double protein = 0;
    double fat = 0;
    if (const CDayRecord* day = m_journal.CurrentRecord()) {
        const CDayFoodLog& food = day->FoodLog();
        calories = food.TotalValue(kNutrientCalories);
        carbohydrate = food.TotalValue(kNutrientCarbohydrate);
        protein = food.TotalValue(kNutrientProtein);
        fat = food.TotalValue(kNutrientFat);
    }
    if (calories <= 0)
        calories = carbohydrate = protein = fat = 0;
    SCaloriePercentTexts percent = PercentOfCalories(calories, carbohydrate, protein, fat);
    panes.nutrients =
        QStringLiteral("%1 cal     Carb:  %2%     Prot:  %3%     Fat:  %4%")
            .arg(FromStd(NumberToText(calories, 0, false)), FromStd(percent.carbohydrate),
                 FromStd(percent.protein), FromStd(percent.fat));

    // The summary is recomputed on a copy: showing the status must not touch the journal.
    CUserProfile profile = m_journal.Profile();
    ComputeGoalSummary(profile);
    if (m_userOpen && profile.GoalSummary().IsValid())
        panes.goal = QStringLiteral("Goal: %1 cal")
                         .arg(-static_cast<long>(profile.GoalSummary().DailyCalories()));
    panes.record = FromStd(m_journal.StatusText());
    if (m_journal.IsModified())
        panes.modified = QStringLiteral("MOD");
    return panes;
}

CDayRecord* CDietData::GetCurrentDay(bool create) {
    CDayRecord* day = m_journal.CurrentDay(false);
    if (day || !create)
        return day;
    if (!m_journal.AddDay()) {
        ReportDatabaseError();
        return nullptr;
    }
    day = m_journal.CurrentDay(false);
    NotifyDayEdited();
    SetModified();
    return day;
}

// --- Users ---

QString CDietData::GetCurrentUserName() const {
    return m_settings.CurrentUserName();
}

void CDietData::SetCurrentUserName(const QString& name) {
    m_settings.SetCurrentUserName(name);
}

QStringList CDietData::UserNames() const {
    QStringList names;
    const int count = m_users->UserCount();
    for (int i = 0; i < count; ++i) {
        UserHandle user = 0;
        std::string name;
        if (m_users->GetUserHandle(i, user) && m_users->GetUserName(user, name))
            names.append(FromStd(name));
    }
    return names;
}

bool CDietData::UserExists(const QString& name) const {
    return !name.isEmpty() && UserNames().contains(name, Qt::CaseSensitive);
}

void CDietData::SelectUserInToolbar(const QString& name) {
    QStringList entries = UserNames();
    // The exact name first: two users may differ in letter case only, and the one asked for
    // must be the one shown.
    int selected = entries.indexOf(name);
    if (selected < 0 && !name.isEmpty()) {
        for (int i = 0; i < entries.size() && selected < 0; ++i)
            if (entries[i].compare(name, Qt::CaseInsensitive) == 0)
                selected = i;
    }
    QString found = selected >= 0 ? entries[selected] : QString();
    entries.append(QString::fromLatin1(kEditUserEntry));
    emit UserToolbarFilled(entries, selected);
    if (selected < 0)
        return;
    SetCurrentUserName(found);
    NotifyDayChanged();
    RefreshViews();
}

bool CDietData::OpenUser(const QString& name) {
    CWaitCursor wait;
    std::string userName = ToStored(name);
    std::string error;
    if (!CJournalFile::Open(m_journal, *m_users, userName, &error)) {
        m_userOpen = false;
        ReportDatabaseError();
        return false;
    }
    // A fresh database first: a load that finds nothing must not leave the previous user's
    // foods in place.
    m_foodDB = CFoodDB();
    if (!CFoodDBFile::SetPaths(m_foodDB, *m_users, m_journal.FilePath())) {
        m_userOpen = false;
        ReportDatabaseError();
        return false;
    }
    const EFoodLoadResult loaded = m_foodFile.Load(m_foodDB);
    m_userOpen = true;
    m_recovery->Started();
    if (loaded == EFoodLoadResult::Partial) {
        ShowPrompt(m_mainWindow, QStringLiteral("Food Database"),
                   QStringLiteral("Only part of the food database could be read. The damaged "
                                  "file will be kept as FoodDB.ddb.bak when you save."),
                   EPromptIcon::Warning, EPromptButtons::Ok);
    }
    if (m_recovery->OfferAfterOpen(m_mainWindow))
        SetModified();
    if (m_foodTree)
        emit ReloadFoodTreeSent();
    return true;
}

void CDietData::ReloadFoodTree() {
    CWaitCursor wait;
    emit ReloadFoodTreeSent();
}

void CDietData::FollowRenamedUser(const QString& newName) {
    std::string name = ToStored(newName);
    UserHandle user = 0;
    std::string folder;
    if (m_userOpen && m_users->FindUserByName(name, user) &&
        m_users->GetProgramFolder(user, folder)) {
        m_journal.SetFolderPath(folder);
        m_journal.SetFilePath(folder + kPathSeparator + kJournalFileName);
        m_journal.Profile().SetUserName(name);
        CFoodDBFile::SetPaths(m_foodDB, *m_users, m_journal.FilePath());
    }
    SetCurrentUserName(newName);
}

void CDietData::CommitPendingEdit() {
    emit CommitPendingEditSent();
}

bool CDietData::AskSaveBeforeSwitching(QWidget* owner) {
    // A value still in its box counts as a change to save.
    CommitPendingEdit();
    if (!IsModified()) {
        m_recovery->Discard();
        return true;
    }
    EPromptAnswer answer =
        ShowPrompt(owner, QStringLiteral("Save"),
                   QStringLiteral("Do you want to save changes to '%1'?").arg(GetCurrentUserName()),
                   EPromptIcon::Question, EPromptButtons::YesNoCancel);
    if (answer == EPromptAnswer::Cancel)
        return false;
    if (answer == EPromptAnswer::Yes)
        return SaveAll();
    m_recovery->Discard();
    return true;
}

bool CDietData::SaveAll() {
    CommitPendingEdit();
    bool journalWritten = true;
    {
        CWaitCursor wait;
        std::string error;
        journalWritten = CJournalFile::Write(m_journal, &error);
        if (!journalWritten) {
            // Not fatal: the changes are still here, and the user can make room and save again.
            ShowPrompt(m_mainWindow, QStringLiteral("Save"),
                       QStringLiteral("The journal of '%1' could not be saved. Your changes are "
                                      "kept open; check the disk and save again.\n\n%2")
                           .arg(GetCurrentUserName(), FromStd(error)),
                       EPromptIcon::Warning, EPromptButtons::Ok);
        }
        if (!m_foodFile.Save(m_foodDB)) {
            ReportDatabaseError();
            return false;
        }
    }
    if (journalWritten) {
        m_recovery->Started();
        m_recovery->Discard();
    }
    RefreshViews();
    return journalWritten;
}

void CDietData::ReportDatabaseError() {
    if (!m_mainWindow)
        return;
    SetCurrentUserName(QString());
    ShowPrompt(m_mainWindow, QStringLiteral("Database Error"),
               QStringLiteral("Could not perform database operations."), EPromptIcon::Warning,
               EPromptButtons::Ok);
    RaiseInternalError(kInternalErrorGeneral, "database operation failed");
}

// --- View state ---

void CDietData::SetSelectedPage(int page) {
    m_selectedPage = std::clamp(page, 0, kPageCount - 1);
}

QColor CDietData::GetTextColor() const {
    return EffectiveTextColor(m_colors);
}

QColor CDietData::GetBackColor() const {
    return EffectiveBackColor(m_colors);
}

void CDietData::SetTextColor(const QColor& color, bool overrideColor) {
    m_colors.foreColor = color;
    m_colors.overrideFore = overrideColor;
}

void CDietData::SetBackColor(const QColor& color, bool overrideColor) {
    m_colors.backColor = color;
    m_colors.overrideBack = overrideColor;
}

void CDietData::ApplyColors(const SColorSettings& colors) {
    m_colors = colors;
    m_settings.WriteColors(colors);
    emit ColorsChanged();
}

void CDietData::LoadViewSettings() {
    m_colors = m_settings.ReadColors();
    m_timeBLDS = m_settings.TimeBLDS();
    m_nutrientTable = m_settings.NutrientTable();
    emit ColorsChanged();
}

void CDietData::SaveViewSettings() {
    m_settings.SetTimeBLDS(m_timeBLDS);
    m_settings.SetNutrientTable(m_nutrientTable);
}

void CDietData::SetPrintRange(const CJournalDate& start, const CJournalDate& end) {
    m_printStart = start;
    m_printEnd = end;
}

bool CDietData::ReportFlag(int report) const {
    if (report < 0 || report >= kReportCount)
        RaiseInternalError(kInternalErrorGeneral, "report flag out of range");
    return m_reportFlags[static_cast<size_t>(report)];
}

void CDietData::SetReportFlag(int report, bool on) {
    if (report < 0 || report >= kReportCount)
        RaiseInternalError(kInternalErrorGeneral, "report flag out of range");
    m_reportFlags[static_cast<size_t>(report)] = on;
}

QString CDietData::GetProgramFolder() const {
    QString folder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    if (!folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    return folder;
}

} // namespace fitquill
