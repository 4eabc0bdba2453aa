// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/install/install_dialog.h"

#include "core/users/user_directory_library.h"
#include "desktop/document/program_paths.h"
#include "desktop/document/prompt.h"
#include "desktop/document/stored_text.h"
#include "desktop/install/handheld_install.h"
#include "desktop/widgets/fonts.h"
#include "platform/palm/install_aid.h"
#include "platform/palm/user_store.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitquill {

namespace {

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

void Warn(QWidget* owner, std::string_view caption, std::string_view text,
          EPromptIcon icon = EPromptIcon::Warning) {
    ShowPrompt(owner, FromView(caption), FromView(text), icon, EPromptButtons::Ok);
}

// The dialog's picture: a handheld with the journal's page on its screen, drawn here.
QPixmap HandheldPicture() {
    QPixmap picture(56, 80);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(70, 78, 92));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(2, 2, 52, 76), 8, 8);
    painter.setBrush(QColor(200, 220, 170));
    painter.drawRect(QRectF(9, 9, 38, 44));
    painter.setPen(QPen(QColor(60, 90, 40), 2));
    for (int y = 17; y <= 45; y += 7)
        painter.drawLine(QPointF(14, y), QPointF(y == 45 ? 30 : 42, y));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(150, 158, 172));
    for (int x = 12; x <= 40; x += 14)
        painter.drawEllipse(QRectF(x, 61, 8, 8));
    return picture;
}

} // namespace

CInstallDialog::CInstallDialog(CInstallAid& installAid, QString installPath,
                               std::filesystem::path dataFolder, QWidget* parent)
    : QDialog(parent), m_installAid(installAid), m_installPath(std::move(installPath)),
      m_dataFolder(std::move(dataFolder)) {
    setWindowTitle(QStringLiteral("Install Handheld Software"));
    m_startProcess = [](const QString& program, const QString& folder) {
        return QProcess::startDetached(program, {}, folder);
    };

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* picture = new QLabel(this);
    picture->setPixmap(HandheldPicture());
    top->addWidget(picture, 0, Qt::AlignTop);
    auto* titles = new QVBoxLayout;
    auto* product = new QLabel(QStringLiteral("Fitquill"), this);
    QFont productFont = CustomFont();
    productFont.setPointSizeF(14.5);
    product->setFont(productFont);
    m_version = new QLabel(this);
    for (QLabel* label : {product, m_version}) {
        label->setAutoFillBackground(true);
        QPalette palette = label->palette();
        palette.setColor(QPalette::Window, Qt::white);
        label->setPalette(palette);
    }
    titles->addWidget(product);
    titles->addWidget(m_version);
    titles->addStretch(1);
    top->addLayout(titles, 1);
    layout->addLayout(top);

    layout->addWidget(new QLabel(QStringLiteral("Select the type of handheld device."), this));
    m_devices = new QComboBox(this);
    m_devices->addItem(QStringLiteral("Palm OS Device"), 1);
    m_devices->addItem(QStringLiteral("Pocket PC Device"), 0);
    layout->addWidget(m_devices);
    m_userLabel =
        new QLabel(QStringLiteral("Select the user name assigned to the handheld device."), this);
    layout->addWidget(m_userLabel);
    m_users = new QComboBox(this);
    layout->addWidget(m_users);
    m_instructions = new QLabel(this);
    m_instructions->setWordWrap(true);
    m_instructions->setFrameShape(QFrame::StyledPanel);
    m_instructions->setMargin(6);
    layout->addWidget(m_instructions);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* install =
        buttons->addButton(QStringLiteral("Install"), QDialogButtonBox::AcceptRole);
    QPushButton* upgrade =
        buttons->addButton(QStringLiteral("Upgrade"), QDialogButtonBox::ActionRole);
    QPushButton* cancel =
        buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    install->setDefault(true);
    connect(install, &QPushButton::clicked, this, &CInstallDialog::Install);
    connect(upgrade, &QPushButton::clicked, this, &CInstallDialog::Upgrade);
    connect(cancel, &QPushButton::clicked, this, &CInstallDialog::reject);
    layout->addWidget(buttons);
    setMinimumWidth(400);

    connect(m_devices, &QComboBox::currentIndexChanged, this, &CInstallDialog::OnDeviceChanged);
    FillUsers();
    OnDeviceChanged();
}

void CInstallDialog::FillUsers() {
    m_users->clear();
    const int32_t count = m_installAid.GetUserCount();
    for (int32_t index = 0; index < count; ++index) {
        std::string name;
        int16_t size = 256;
        if (m_installAid.GetUser(index, name, size) <= 0)
            break;
        m_users->addItem(FromStored(name));
    }
    if (m_users->count() > 0)
        m_users->setCurrentIndex(0);
}

bool CInstallDialog::PalmSelected() const {
    return m_devices->currentData().toInt() == 1;
}

void CInstallDialog::OnDeviceChanged() {
    const bool palm = PalmSelected();
    m_users->setVisible(palm);
    m_userLabel->setVisible(palm);
    m_instructions->setText(FromView(SHandheldInstall::kInstructions));
    m_version->setText(
        FromView(palm ? SHandheldInstall::kPalmVersion : SHandheldInstall::kPocketPcVersion));
}

void CInstallDialog::Install() {
    if (m_installPath.trimmed().isEmpty()) {
        Warn(this, SHandheldInstall::kRegistryCaption, SHandheldInstall::kNoKeyText,
             EPromptIcon::None);
        return;
    }
    if (!PalmSelected()) {
        StartPocketPcSetup();
        accept();
        return;
    }
    if (!QueueFor(SHandheldInstall::InstallFiles()))
        return;
    Warn(this, SHandheldInstall::kInstallCaption, SHandheldInstall::kInstalledText,
         EPromptIcon::Information);
    accept();
}

void CInstallDialog::Upgrade() {
    // The user list is hidden for a Pocket PC: its upgrade is the setup program too, never
    // Palm files queued for whichever user the hidden list still shows.
    if (!PalmSelected()) {
        StartPocketPcSetup();
        accept();
        return;
    }
    if (!QueueFor(SHandheldInstall::UpgradeFiles()))
        return;
    Warn(this, SHandheldInstall::kInstallCaption, SHandheldInstall::kUpgradedText,
         EPromptIcon::Information);
    accept();
}

bool CInstallDialog::QueueFor(const std::vector<std::string>& files) {
    std::string name;
    int16_t size = 256;
    const int index = m_users->currentIndex();
    if (index < 0 || m_installAid.GetUser(index, name, size) <= 0) {
        Warn(this, SHandheldInstall::kInstallCaption, SHandheldInstall::kNoUserText);
        return false;
    }
    if (SHandheldInstall::Queue(m_installAid, name, files, m_dataFolder) != files.size()) {
        Warn(this, SHandheldInstall::kInstallCaption, SHandheldInstall::kMissingFilesText);
        return false;
    }
    return true;
}

void CInstallDialog::StartPocketPcSetup() {
    const std::filesystem::path program =
        SHandheldInstall::Resolve(m_dataFolder, SHandheldInstall::kPocketPcSetup);
    const QString programPath = FromPath(program);
    const QString folder = FromPath(program.parent_path());
    // The setup program is not part of this installation everywhere; say so rather than
    // closing as if it had started.
    if (!QFileInfo(programPath).isExecutable() || !m_startProcess(programPath, folder)) {
        ShowPrompt(this, FromView(SHandheldInstall::kRegistryCaption),
                   QStringLiteral("The Pocket PC setup program could not be started: %1 is "
                                  "not installed on this computer.")
                       .arg(programPath),
                   EPromptIcon::Warning, EPromptButtons::Ok);
    }
}

void RunInstallHandheldSoftware(const QString& installPath, const QString& palmDesktopFolder,
                                QWidget* parent) {
    const std::optional<std::filesystem::path> palmRoot =
        CUserStore::PalmRoot(ToPath(palmDesktopFolder).string());
    CUserStore store(palmRoot);
    // Without a Palm Desktop folder the HotSync users are the program's own users.
    CUserDirectory ownUsers(nullptr, SInstallPath{true, ToPath(installPath).string()});
    CUserDirectoryLibrary ownLibrary(ownUsers);
    CInstallAid installAid(palmRoot ? static_cast<IUserLibrary&>(store) : ownLibrary);
    CInstallDialog dialog(installAid, installPath, CProgramPaths::FromApplication().DataFolder(),
                          parent);
    dialog.exec();
}

} // namespace fitquill
