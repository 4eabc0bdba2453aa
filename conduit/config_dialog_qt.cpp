// SPDX-License-Identifier: GPL-3.0-or-later
#include "conduit/config_dialog_qt.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QUrl>
#include <QVBoxLayout>

#include <cstdlib>
#include <map>

namespace fitquill {
namespace {

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString ObjectName(int control) {
    return QStringLiteral("control%1").arg(control);
}

bool DisplayAvailable() {
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0')
            return true;
    }
    return false;
}

// One picture per action, drawn on the current button face: arrows between a desktop (left)
// and a handheld (right).
QPixmap ActionPicture(int button, const QPalette& palette) {
    constexpr int kSize = 32;
    QPixmap picture(kSize, kSize);
    picture.fill(palette.color(QPalette::Button));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette.color(QPalette::ButtonText), 2));
    painter.drawRect(2, 9, 10, 8);  // desktop screen
    painter.drawRect(23, 6, 7, 14); // handheld
    auto arrow = [&](int y, bool toRight) {
        const int from = toRight ? 13 : 21;
        const int to = toRight ? 21 : 13;
        const int head = toRight ? -3 : 3;
        painter.drawLine(from, y, to, y);
        painter.drawLine(to, y, to + head, y - 3);
        painter.drawLine(to, y, to + head, y + 3);
    };
    switch (button) {
    case kControlSynchronize:
        arrow(10, true);
        arrow(16, false);
        break;
    case kControlDesktopOverwrites:
        arrow(13, true);
        break;
    case kControlHandheldOverwrites:
        arrow(13, false);
        break;
    default:
        painter.drawLine(12, 26, 22, 26);
        break;
    }
    return picture;
}

class CConfigDialogWidget : public QDialog {
public:
    CConfigDialogWidget(CConfigDialog& procedure, std::filesystem::path moduleFolder,
                        QWidget* owner)
        : QDialog(owner), m_procedure(procedure), m_moduleFolder(std::move(moduleFolder)) {
        setObjectName(QStringLiteral("dialog%1").arg(procedure.DialogId()));
        setWindowTitle(Text(procedure.Title()));
        auto* layout = new QVBoxLayout(this);

        auto* group = new QGroupBox(Text(procedure.GroupCaption()), this);
        group->setObjectName(ObjectName(kControlActionGroup));
        auto* grid = new QGridLayout(group);
        int row = 0;
        for (int button = kControlSynchronize; button <= kControlDoNothing; ++button, ++row) {
            auto* picture = new QLabel(group);
            picture->setObjectName(ObjectName(CConfigDialog::PictureFor(button)));
            auto* radio = new QRadioButton(Text(CConfigDialog::ControlText(button)), group);
            radio->setObjectName(ObjectName(button));
            // The procedure decides which button is on; Qt's own grouping stays out of it.
            radio->setAutoExclusive(false);
            connect(radio, &QRadioButton::clicked, this, [this, button] {
                m_procedure.Click(button);
                ShowSelection();
            });
            grid->addWidget(picture, row, 0);
            grid->addWidget(radio, row, 1);
            m_pictures[button] = picture;
            m_buttons[button] = radio;
        }
        m_default = new QCheckBox(Text(CConfigDialog::ControlText(kControlSetAsDefault)), group);
        m_default->setObjectName(ObjectName(kControlSetAsDefault));
        m_default->setChecked(procedure.SetAsDefault());
        grid->addWidget(m_default, row, 1);
        layout->addWidget(group);

        if (procedure.DialogId() == kDialogCurrentSettings)
            AddCurrentSettings(layout);

        auto* buttons = new QDialogButtonBox(
            QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
        buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ok"));
        buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancel"));
        buttons->button(QDialogButtonBox::Help)->setObjectName(ObjectName(kControlHelp));
        connect(buttons, &QDialogButtonBox::accepted, this, [this] {
            m_procedure.SetSetAsDefault(m_default->isChecked());
            done(m_procedure.Ok() == kDialogResultOk ? Accepted : Rejected);
        });
        connect(buttons, &QDialogButtonBox::rejected, this, [this] { reject(); });
        connect(buttons, &QDialogButtonBox::helpRequested, this, [this] { ShowHelp(); });
        auto* helpKey = new QShortcut(QKeySequence::HelpContents, this);
        connect(helpKey, &QShortcut::activated, this, [this] { ShowHelp(); });
        layout->addWidget(buttons);

        SetPictures();
        ShowSelection();
    }

protected:
    void changeEvent(QEvent* event) override {
        if (event->type() == QEvent::PaletteChange)
            SetPictures();
        QDialog::changeEvent(event);
    }

private:
    void AddCurrentSettings(QVBoxLayout* layout) {
        auto* group = new QGroupBox(Text(m_procedure.CurrentSettingsCaption()), this);
        group->setObjectName(ObjectName(kControlSettingsGroup));
        auto* grid = new QGridLayout(group);
        int row = 0;
        for (const auto& [control, value] :
             {std::pair{kControlDefaultAction, m_procedure.DefaultActionText()},
              std::pair{kControlNextAction, m_procedure.NextActionText()}}) {
            grid->addWidget(new QLabel(Text(CConfigDialog::ControlText(control)), group), row, 0);
            auto* label = new QLabel(Text(value), group);
            label->setObjectName(ObjectName(control));
            grid->addWidget(label, row++, 1);
        }
        layout->addWidget(group);
    }

    void ShowSelection() {
        for (auto& [button, radio] : m_buttons)
            radio->setChecked(button == m_procedure.SelectedButton());
    }

    void SetPictures() {
        for (auto& [button, label] : m_pictures)
            label->setPixmap(ActionPicture(button, palette()));
    }

    void ShowHelp() {
        const SHelpTopic topic = CConfigDialog::Help(m_moduleFolder);
        QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(topic.file.string())));
    }

    CConfigDialog& m_procedure;
    std::filesystem::path m_moduleFolder;
    std::map<int, QRadioButton*> m_buttons;
    std::map<int, QLabel*> m_pictures;
    QCheckBox* m_default = nullptr;
};

int RunDialog(CConfigDialog& procedure, const std::filesystem::path& moduleFolder) {
    CConfigDialogWidget dialog(procedure, moduleFolder, QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted ? kDialogResultOk : kDialogResultCancel;
}

} // namespace

int ShowConfigDialog(CConfigDialog& procedure, const std::filesystem::path& moduleFolder) {
    if (QCoreApplication::instance() != nullptr) {
        if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
            return kDialogNotShown;
        return RunDialog(procedure, moduleFolder);
    }
    // Without a display QApplication would end the host process.
    if (!DisplayAvailable())
        return kDialogNotShown;
    static int argc = 1;
    static char name[] = "fitquill-conduit";
    static char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    return RunDialog(procedure, moduleFolder);
}

} // namespace fitquill
