// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/foodedit/auto_update_dialog.h"

#include "core/food/food_csv.h"
#include "desktop/document/diet_data.h"
#include "desktop/document/program_paths.h"
#include "desktop/document/prompt.h"
#include "desktop/document/stored_text.h"
#include "desktop/document/wait_cursor.h"
#include "desktop/foodedit/food_data_dialogs.h"
#include "platform/settings/program_locations.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QNetworkInformation>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace fitquill {

namespace {

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

const char kExtensionsChoice[] =
    "Select this option to automatically update your food database to the most recent "
    "version.  New categories are released every couple of months.  This option will not "
    "overwite user defined food items.";
const char kReloadChoice[] =
    "Select this option if you need to reload the entire food database.  WARNING: User "
    "defined food items will be erased.  If you have a dial up connection, the download will "
    "take several minutes.";

} // namespace

bool CSystemConnectivity::IsOnline() {
    if (!QNetworkInformation::instance())
        QNetworkInformation::loadDefaultBackend();
    const QNetworkInformation* information = QNetworkInformation::instance();
    if (!information)
        return true;
    return information->reachability() != QNetworkInformation::Reachability::Disconnected;
}

CAutoUpdateDialog::CAutoUpdateDialog(CDietData& data, IConnectivity& connectivity,
                                     QString dataFolder, QString localFile, QWidget* parent)
    : QDialog(parent), m_data(data), m_connectivity(connectivity),
      m_dataFolder(std::move(dataFolder)), m_localFile(std::move(localFile)) {
    setWindowTitle(FromView(SFoodUpdate::kCaption));
    auto* layout = new QVBoxLayout(this);
    m_connection = new QLabel(this);
    layout->addWidget(m_connection);

    auto addChoice = [&](const char* text) {
        auto* button = new QRadioButton(this);
        // A radio button does not wrap; the text beside it does.
        auto* label = new QLabel(QString::fromLatin1(text), this);
        label->setWordWrap(true);
        label->setBuddy(button);
        auto* row = new QHBoxLayout;
        row->addWidget(button, 0, Qt::AlignTop);
        row->addWidget(label, 1);
        layout->addLayout(row);
        return button;
    };
    m_extensions = addChoice(kExtensionsChoice);
    m_reload = addChoice(kReloadChoice);
    m_extensions->setChecked(true);

    auto* buttons = new QDialogButtonBox(this);
    m_update = buttons->addButton(QStringLiteral("Update"), QDialogButtonBox::AcceptRole);
    m_close = buttons->addButton(QStringLiteral("Close"), QDialogButtonBox::RejectRole);
    m_update->setDefault(true);
    connect(m_update, &QPushButton::clicked, this, &CAutoUpdateDialog::Update);
    connect(m_close, &QPushButton::clicked, this, &CAutoUpdateDialog::reject);
    layout->addWidget(buttons);
    setMinimumWidth(420);

    ShowConnection();
}

CAutoUpdateDialog::~CAutoUpdateDialog() = default;

QString CAutoUpdateDialog::DefaultLocalFile() {
    const auto folder = CProgramLocations::CacheFolder(CSettingsStore::ProcessEnvironment);
    return FromPath(folder / "temp.csv");
}

void CAutoUpdateDialog::SetChoice(EFoodUpdateChoice choice) {
    (choice == EFoodUpdateChoice::Reload ? m_reload : m_extensions)->setChecked(true);
}

EFoodUpdateChoice CAutoUpdateDialog::Choice() const {
    return m_reload->isChecked() ? EFoodUpdateChoice::Reload : EFoodUpdateChoice::Extensions;
}

QString CAutoUpdateDialog::ConnectionText() const {
    return m_connection->text();
}

void CAutoUpdateDialog::ShowConnection() {
    m_connection->setText(FromStored(SFoodUpdate::ConnectionLine(m_connectivity.IsOnline())));
}

void CAutoUpdateDialog::Update() {
    if (IsDownloading())
        return;
    if (!SaveBeforeFoodImport(m_data, this))
        return;
    m_connection->setText(FromView(SFoodUpdate::kDownloadingLine));
    m_connection->repaint();
    m_update->setEnabled(false);

    m_running = Choice();
    const QUrl url =
        QUrl::fromUserInput(m_data.Settings().FoodUpdateAddress(m_running, m_dataFolder));
    // A local file needs no connection; anything else does, and without one the update ends
    // quietly, as a failed dial-up does.
    if (!url.isLocalFile() && !m_connectivity.IsOnline() && !m_connectivity.Connect()) {
        EndUpdate();
        return;
    }
    QDir().mkpath(QFileInfo(m_localFile).absolutePath());
    m_download = std::make_unique<CFoodDataDownload>(url, m_localFile, m_limits);
    connect(m_download.get(), &CFoodDataDownload::Finished, this, &CAutoUpdateDialog::OnDownloaded);
    setCursor(Qt::WaitCursor);
    m_download->Start();
}

void CAutoUpdateDialog::OnDownloaded(const SDownloadOutcome& outcome) {
    unsetCursor();
    if (outcome.cancelled) {
        EndUpdate();
        return;
    }
    if (!outcome.ok) {
        ShowConnection();
        m_update->setEnabled(true);
        ShowPrompt(this, windowTitle(),
                   FromUtf8(SFoodUpdate::TransferErrorText(ToUtf8(outcome.error))),
                   EPromptIcon::Warning, EPromptButtons::Ok);
        EndUpdate();
        return;
    }
    ShowConnection();
    Import();
}

void CAutoUpdateDialog::Import() {
    // The whole file goes into a copy first: the user's database changes only when every line
    // of it could be imported.
    CFoodDB updated = m_data.FoodDB();
    SFoodImportResult result;
    {
        CWaitCursor wait;
        result = CFoodCsv::Import(updated, ToPath(m_localFile), SFoodUpdate::ImportMode(m_running));
    }
    if (!result.ok) {
        m_update->setEnabled(true);
        ShowPrompt(this, windowTitle(),
                   FromStored(result.noFoodData ? std::string(CFoodCsv::kNoFoodDataText)
                                                : SFoodUpdate::BadLineText(result.lineNumber)),
                   EPromptIcon::Warning, EPromptButtons::Ok);
        EndUpdate();
        return;
    }
    if (!ConfirmFoodReplace(m_data, this, updated, result, SFoodUpdate::ImportMode(m_running))) {
        EndUpdate();
        return;
    }
    m_data.FoodDB() = std::move(updated);
    QFile::remove(m_localFile);
    m_data.ReloadFoodTree();
    m_data.SetModified();
    m_update->setEnabled(true);
    ShowPrompt(this, windowTitle(), FromView(SFoodUpdate::kSuccessText), EPromptIcon::Information,
               EPromptButtons::Ok);
    EndUpdate();
    QDialog::reject();
}

void CAutoUpdateDialog::EndUpdate() {
    ShowConnection();
    m_update->setEnabled(true);
    unsetCursor();
    emit UpdateEnded();
}

void CAutoUpdateDialog::reject() {
    // Closing forgets the transfer: it is cancelled and nothing of it reaches this dialog.
    if (m_download) {
        disconnect(m_download.get(), nullptr, this, nullptr);
        m_download.reset();
    }
    unsetCursor();
    QDialog::reject();
}

void RunAutomaticUpdate(CDietData& data, QWidget* parent) {
    CSystemConnectivity connectivity;
    CAutoUpdateDialog dialog(data, connectivity,
                             FromPath(CProgramPaths::FromApplication().DataFolder()),
                             CAutoUpdateDialog::DefaultLocalFile(), parent);
    dialog.exec();
}

} // namespace fitquill
