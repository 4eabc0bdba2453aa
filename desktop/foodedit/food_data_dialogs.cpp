// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/foodedit/food_data_dialogs.h"

#include "core/food/food_csv.h"
#include "core/food/food_import_guard.h"
#include "core/journal/user_data_export.h"
#include "desktop/document/diet_data.h"
#include "desktop/document/prompt.h"
#include "desktop/document/stored_text.h"
#include "desktop/document/wait_cursor.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <filesystem>
#include <memory>

namespace fitquill {
namespace {

const QString kCsvFilter = QStringLiteral("CSV (Comma delimited) (*.csv)");

QString ChooseFile(QWidget* parent, const QString& title, bool save) {
    QFileDialog dialog(parent, title);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.setNameFilter(kCsvFilter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().front();
}

} // namespace

// --- Export ---

CExportDialog::CExportDialog(CDietData& data, EKind kind, int group, int category, QWidget* parent)
    : QDialog(parent), m_data(data), m_kind(kind) {
    setWindowTitle(kind == EKind::FoodData ? QStringLiteral("Export Food Data")
                                           : QStringLiteral("Export User Data"));
    auto* layout = new QVBoxLayout(this);
    auto* fileRow = new QHBoxLayout;
    m_fileLabel = new QLabel(
        QStringLiteral("File: Use the browse button to specify a filename and location."), this);
    m_fileLabel->setWordWrap(true);
    fileRow->addWidget(m_fileLabel, 1);
    auto* browse = new QPushButton(QStringLiteral("Browse..."), this);
    fileRow->addWidget(browse);
    layout->addLayout(fileRow);
    connect(browse, &QPushButton::clicked, this, &CExportDialog::Browse);

    if (kind == EKind::FoodData) {
        auto* grid = new QGridLayout;
        grid->addWidget(new QLabel(QStringLiteral("Food Group:"), this), 0, 0);
        m_groupCombo = new QComboBox(this);
        for (const CFoodGroup& entry : data.FoodDB().Groups())
            m_groupCombo->addItem(FromStored(entry.Name()));
        m_groupCombo->addItem(QStringLiteral("All Food Groups"));
        grid->addWidget(m_groupCombo, 0, 1);
        grid->addWidget(new QLabel(QStringLiteral("Category:"), this), 1, 0);
        m_categoryCombo = new QComboBox(this);
        grid->addWidget(m_categoryCombo, 1, 1);
        layout->addLayout(grid);
        const int groups = data.FoodDB().GroupCount();
        m_groupCombo->setCurrentIndex(group >= 0 && group < groups ? group : groups);
        FillCategories(category);
        connect(m_groupCombo, &QComboBox::activated, this, [this] { FillCategories(-1); });
    }

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(false);
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(420, sizeHint().height());
}

void CExportDialog::FillCategories(int select) {
    m_categoryCombo->clear();
    const int group = m_groupCombo->currentIndex();
    const CFoodDB& db = m_data.FoodDB();
    // "All Food Groups" offers only "All Categories".
    if (group >= 0 && group < db.GroupCount())
        for (const CFoodCategory& entry : db.GetGroup(static_cast<uint16_t>(group)).Categories())
            m_categoryCombo->addItem(FromStored(entry.Name()));
    const int count = m_categoryCombo->count();
    m_categoryCombo->addItem(QStringLiteral("All Categories"));
    m_categoryCombo->setCurrentIndex(select >= 0 && select < count ? select : count);
}

void CExportDialog::Browse() {
    const QString file = ChooseFile(this, windowTitle(), true);
    if (!file.isEmpty())
        SetFile(file);
}

void CExportDialog::SetFile(const QString& path) {
    m_file = path;
    m_fileLabel->setText(QStringLiteral("File: ") + path);
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(!path.isEmpty());
}

void CExportDialog::accept() {
    if (m_file.isEmpty())
        return;
    bool ok = false;
    {
        CWaitCursor wait;
        const std::filesystem::path path = ToPath(m_file);
        if (m_kind == EKind::UserData) {
            ok = CUserDataExport::Export(m_data.Journal(), path);
        } else {
            const CFoodDB& db = m_data.FoodDB();
            const int group = m_groupCombo->currentIndex();
            const int category = m_categoryCombo->currentIndex();
            if (group < 0 || group >= db.GroupCount())
                ok = CFoodCsv::ExportAll(db, path);
            else if (category < 0 || category >= db.CategoryCount(static_cast<uint16_t>(group)))
                ok = CFoodCsv::ExportGroup(db, path, static_cast<uint16_t>(group));
            else
                ok = CFoodCsv::ExportCategory(db, path, static_cast<uint16_t>(group),
                                              static_cast<uint16_t>(category));
        }
    }
    const bool food = m_kind == EKind::FoodData;
    if (ok)
        ShowPrompt(this, windowTitle(),
                   food ? QStringLiteral("Food data was successfully exported.")
                        : QStringLiteral("User data was successfully exported."),
                   EPromptIcon::Information, EPromptButtons::Ok);
    else
        ShowPrompt(this, windowTitle(),
                   food ? QStringLiteral("The export of food data failed.")
                        : QStringLiteral("The export of user data failed."),
                   EPromptIcon::Warning, EPromptButtons::Ok);
    QDialog::accept();
}

// --- Import ---

CImportDialog::CImportDialog(CDietData& data, QWidget* parent) : QDialog(parent), m_data(data) {
    setWindowTitle(QStringLiteral("Import Food Data"));
    auto* layout = new QVBoxLayout(this);
    auto* fileRow = new QHBoxLayout;
    m_fileLabel = new QLabel(
        QStringLiteral("File: Use the browse button to locate the file to import."), this);
    m_fileLabel->setWordWrap(true);
    fileRow->addWidget(m_fileLabel, 1);
    auto* browse = new QPushButton(QStringLiteral("Browse..."), this);
    fileRow->addWidget(browse);
    layout->addLayout(fileRow);
    connect(browse, &QPushButton::clicked, this, &CImportDialog::Browse);

    m_modes = new QButtonGroup(this);
    const QString choices[4] = {
        QStringLiteral("Replace the entire food database with the imported file."),
        QStringLiteral("Add items to the existing database.  Replace the contents of each "
                       "category with the imported file."),
        QStringLiteral("Add items to the existing food database.  Resolve duplicates by "
                       "accepting the imported file over existing food items."),
        QStringLiteral("Add items to the existing food database.  Resolve duplicates by keeping "
                       "existing food items."),
    };
    for (int mode = 0; mode < 4; ++mode) {
        auto* choice = new QRadioButton(choices[mode], this);
        m_modes->addButton(choice, mode);
        layout->addWidget(choice);
    }
    SetMode(static_cast<int>(EFoodImportMode::ReplaceCategories));

    auto* buttons = new QDialogButtonBox(this);
    m_import = buttons->addButton(QStringLiteral("Import"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Close"), QDialogButtonBox::RejectRole);
    m_import->setEnabled(false);
    layout->addWidget(buttons);
    connect(m_import, &QPushButton::clicked, this, &CImportDialog::Import);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

int CImportDialog::Mode() const {
    return m_modes->checkedId();
}

void CImportDialog::SetMode(int mode) {
    if (QAbstractButton* choice = m_modes->button(mode))
        choice->setChecked(true);
}

void CImportDialog::Browse() {
    const QString file = ChooseFile(this, windowTitle(), false);
    if (!file.isEmpty())
        SetFile(file);
}

void CImportDialog::SetFile(const QString& path) {
    m_file = path;
    m_fileLabel->setText(QStringLiteral("File: ") + path);
    m_import->setEnabled(!path.isEmpty());
}

void CImportDialog::Import() {
    if (m_file.isEmpty())
        return;
    if (!SaveBeforeFoodImport(m_data, this))
        return;
    const auto mode = static_cast<EFoodImportMode>(Mode());
    // The file goes into a copy first, so that the questions below come before any change;
    // what the copy holds afterwards is what importing in place would have left.
    CFoodDB imported = m_data.FoodDB();
    SFoodImportResult result;
    {
        CWaitCursor wait;
        std::unique_ptr<QProgressDialog> progress;
        auto report = [this, &progress](size_t done, size_t total) {
            if (total <= kProgressLines)
                return;
            if (!progress) {
                progress = std::make_unique<QProgressDialog>(
                    QStringLiteral("Importing food data..."), QString(), 0, 1000, this);
                progress->setWindowTitle(windowTitle());
                progress->setWindowModality(Qt::WindowModal);
                progress->setMinimumDuration(0);
            }
            progress->setValue(static_cast<int>(done * 1000 / total));
        };
        result = CFoodCsv::Import(imported, ToPath(m_file), mode, report);
    }
    // Exports are Windows-1252 but spreadsheets write UTF-8: say which one the file was read as.
    m_fileLabel->setText(QStringLiteral("File: %1\nRead as %2 text.")
                             .arg(m_file, FromStored(CFoodCsv::EncodingName(result.encoding))));
    if (result.noFoodData) {
        ShowPrompt(this, windowTitle(), FromStored(CFoodCsv::kNoFoodDataText), EPromptIcon::Warning,
                   EPromptButtons::Ok);
        return;
    }
    if (!ConfirmFoodReplace(m_data, this, imported, result, mode))
        return;
    // Whatever the outcome the tree shows the database as it now is: a partial import changed
    // it, and the tree's positions must keep matching the database's.
    m_data.FoodDB() = std::move(imported);
    emit m_data.ReloadFoodTreeSent();
    if (!result.ok) {
        ShowPrompt(this, windowTitle(), FromStored(CFoodCsv::ImportFailedText(result.lineNumber)),
                   EPromptIcon::Warning, EPromptButtons::Ok);
        return;
    }
    m_imported = true;
    ShowPrompt(this, windowTitle(),
               QStringLiteral("All food data was successfully added to the food database."),
               EPromptIcon::Information, EPromptButtons::Ok);
    m_data.SetModified();
    m_data.RefreshViews();
}

// --- Commands ---

void ExportFoodData(CDietData& data, QWidget* parent, int group, int category) {
    CExportDialog dialog(data, CExportDialog::EKind::FoodData, group, category, parent);
    dialog.exec();
}

void ExportUserData(CDietData& data, QWidget* parent) {
    CExportDialog dialog(data, CExportDialog::EKind::UserData, -1, -1, parent);
    dialog.exec();
}

void ImportFoodData(CDietData& data, QWidget* parent) {
    CImportDialog dialog(data, parent);
    dialog.exec();
}

bool ConfirmFoodReplace(CDietData& data, QWidget* owner, const CFoodDB& imported,
                        const SFoodImportResult& result, EFoodImportMode mode) {
    const CFoodDB& current = data.FoodDB();
    if (result.ok) {
        const size_t newFoods = CFoodImportGuard::FoodCount(imported);
        const size_t currentFoods = CFoodImportGuard::FoodCount(current);
        if (CFoodImportGuard::NeedsConfirmation(mode, newFoods, currentFoods) &&
            ShowPrompt(owner, owner->windowTitle(),
                       FromStored(CFoodImportGuard::ReplaceQuestion(newFoods, currentFoods)),
                       EPromptIcon::Question, EPromptButtons::YesNoDefaultNo) != EPromptAnswer::Yes)
            return false;
    }
    if (!CFoodImportGuard::KeepsCopy(mode))
        return true;
    std::string error;
    if (CFoodImportGuard::KeepCopy(current.FilePath(), &error))
        return true;
    ShowPrompt(owner, owner->windowTitle(),
               QStringLiteral("The food database could not be copied to %1 before the import. The "
                              "food database was not changed.\n\n%2")
                   .arg(FromPath(CFoodImportGuard::CopyPath(current.FilePath())), FromUtf8(error)),
               EPromptIcon::Warning, EPromptButtons::Ok);
    return false;
}

bool SaveBeforeFoodImport(CDietData& data, QWidget* owner) {
    if (!data.IsModified())
        return true;
    const EPromptAnswer answer =
        ShowPrompt(owner, owner->windowTitle(), QString::fromLatin1(CFoodCsv::kSaveFirstQuestion),
                   EPromptIcon::Question, EPromptButtons::YesNoCancel);
    if (answer == EPromptAnswer::Cancel)
        return false;
    // A save that failed was reported; importing over unsaved data would risk it.
    return answer != EPromptAnswer::Yes || data.SaveAll();
}

} // namespace fitquill
