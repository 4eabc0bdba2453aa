// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/frame/desktop_main.h"

#include "core/clock.h"
#include "desktop/document/diet_data.h"
#include "desktop/document/program_paths.h"
#include "desktop/document/stored_text.h"
#include "desktop/document/user_data_notice.h"
#include "desktop/frame/accessible_factory.h"
#include "desktop/frame/diet_application.h"
#include "desktop/frame/main_frame.h"
#include "desktop/print/print_pdf_command.h"
#include "desktop/widgets/fonts.h"
#include "platform/presence/presence_client.h"
#include "platform/presence/presence_server.h"

#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>

#ifndef FITQUILL_VERSION
#define FITQUILL_VERSION "0"
#endif

namespace fitquill {
namespace {

// Time the program gets to lay out and paint its window before a screenshot.
constexpr int kScreenshotDelayMs = 1500;

struct SOptions {
    std::optional<std::string> screenshot;
    bool help = false;
    std::string error;
};

SOptions ParseOptions(int argc, char* argv[]) {
    SOptions options;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (std::strcmp(argument, "--screenshot") == 0) {
            if (i + 1 >= argc) {
                options.error = "--screenshot needs a file name";
                return options;
            }
            options.screenshot = argv[++i];
        } else if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0) {
            options.help = true;
        }
        // Anything else is left to the toolkit (-platform, -display, ...).
    }
    return options;
}

bool HasDisplay() {
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(variable);
        if (value && *value)
            return true;
    }
    return false;
}

const char kUsage[] =
    "Usage: fitquill-desktop [--screenshot FILE]\n"
    "       fitquill-desktop --print-pdf FILE [--user NAME] [--from YYYY-MM-DD --to YYYY-MM-DD]\n"
    "                        [--reports logbook,meals,journal,summary,chart,plan]\n"
    "\n"
    "Fitquill Desktop, the diet and exercise journal.\n"
    "\n"
    "  --screenshot FILE  write a PNG picture of the main window once it is up, print the\n"
    "                     file's path and end\n"
    "  --print-pdf FILE   write the chosen reports of a user's journal (the user opened last\n"
    "                     unless --user names one) to a PDF file without a display: the whole\n"
    "                     journal unless --from and --to give the days, all six reports unless\n"
    "                     --reports names some; prints what it wrote\n"
    "\n"
    "FITQUILL_TODAY=YYYY-MM-DD fixes the date the program takes for today.\n";

// The main window as it looks, with a dialog that is up (the start-up user choice) drawn where
// it stands over the window.
QPixmap Picture(QWidget& window) {
    QPixmap picture = window.grab();
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog && dialog != &window) {
        QPoint at = dialog->mapToGlobal(QPoint(0, 0)) - window.mapToGlobal(QPoint(0, 0));
        at.setX(std::clamp(at.x(), 0, std::max(0, picture.width() - dialog->width())));
        at.setY(std::clamp(at.y(), 0, std::max(0, picture.height() - dialog->height())));
        QPainter painter(&picture);
        painter.drawPixmap(at, dialog->grab());
        painter.setPen(QColor(64, 64, 64));
        painter.drawRect(QRect(at, dialog->size()).adjusted(-1, -1, 0, 0));
    }
    return picture;
}

// The icon installed beside the program's data (<prefix>/share/icons/hicolor), so that it is
// found wherever the program was installed or unpacked; the icon theme's copy otherwise.
QIcon ProgramIcon(const CProgramPaths& paths) {
    QIcon icon;
    const QDir theme(
        FromPath((paths.DataFolder() / ".." / "icons" / "hicolor").lexically_normal()));
    for (const QString& size : theme.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString file = theme.filePath(size + QStringLiteral("/apps/fitquill-desktop.png"));
        if (QFileInfo::exists(file))
            icon.addFile(file);
    }
    return icon.isNull() ? QIcon::fromTheme(QStringLiteral("fitquill-desktop")) : icon;
}

} // namespace

int RunDesktop(int argc, char* argv[]) {
    // A PDF report needs neither a display nor the single-instance check.
    if (IsPrintPdfCommand(argc, argv))
        return RunPrintPdf(argc, argv);
    const SOptions options = ParseOptions(argc, argv);
    if (options.help) {
        std::cout << kUsage;
        return 0;
    }
    if (!options.error.empty()) {
        std::cerr << "fitquill-desktop: " << options.error << '\n' << kUsage;
        return 2;
    }

    // A second start hands over to the first and ends; this needs no display.
    CPresenceServer presence;
    switch (presence.Listen()) {
    case EPresenceListen::AlreadyRunning:
        if (!CPresenceClient(presence.SocketPath()).BringToFront())
            std::cerr << "fitquill-desktop: the running Fitquill Desktop did not answer.\n";
        if (options.screenshot) {
            std::cerr << "fitquill-desktop: Fitquill Desktop is already running; no screenshot "
                         "was taken.\n";
            return 1;
        }
        return 0;
    case EPresenceListen::Failed:
        std::cerr << "fitquill-desktop: cannot listen for other programs (" << presence.LastError()
                  << "); a second start will not find this one.\n";
        break;
    case EPresenceListen::Listening:
        break;
    }

    if (!HasDisplay()) {
        std::cerr << "fitquill-desktop: there is no graphical display here (neither DISPLAY nor "
                     "WAYLAND_DISPLAY is set).\n"
                     "To see the program anyway, let it draw on a virtual display and save a "
                     "picture:\n"
                     "  xvfb-run -a -s '-screen 0 1280x1024x24' fitquill-desktop --screenshot "
                     "fitquill.png\n";
        return 1;
    }

    CDietApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QString::fromLatin1(CShellSettings::kOrganization));
    QCoreApplication::setApplicationName(QString::fromLatin1(CShellSettings::kApplication));
    QCoreApplication::setApplicationVersion(QStringLiteral(FITQUILL_VERSION));
    // Some platforms add the display name to window titles; as it equals the title, the main
    // window's title stays exactly what other programs look for.
    QGuiApplication::setApplicationDisplayName(QString::fromLatin1(kMainWindowTitle));
    // Desktop shells match the window to fitquill-desktop.desktop and its icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("fitquill-desktop"));
    QApplication::setWindowIcon(ProgramIcon(CProgramPaths::FromApplication()));
    RegisterTahoma();
    InstallAccessibleFactory();

    int exitCode = 0;
    RunGuarded([&] {
        CShellSettings settings;
        const CProgramPaths paths = CProgramPaths::FromApplication();
        SDietDataSetup setup = CDietData::ProgramSetup(paths, settings);
        const SUserDataMove move =
            MoveEarlierUserDataAtStart(setup.dataFolder, setup.installPath.name);
        // A screenshot run has nobody to answer a message box.
        if (options.screenshot && move.outcome != SUserDataMove::EOutcome::Nothing)
            std::cerr << "fitquill-desktop: " << move.Message() << '\n';
        else
            TellUserDataMove(nullptr, move);
        CDietData data(std::move(setup));
        CMainFrame frame(data, presence.IsListening() ? &presence : nullptr);
        frame.ShowAtSavedPlacement();

        if (options.screenshot) {
            const QString file = FromPath(*options.screenshot);
            QTimer::singleShot(kScreenshotDelayMs, &frame, [&frame, file] {
                const QString path = QFileInfo(file).absoluteFilePath();
                if (Picture(frame).save(path, "PNG")) {
                    std::cout << ToUtf8(QDir::toNativeSeparators(path)) << std::endl;
                    QCoreApplication::exit(0);
                } else {
                    std::cerr << "fitquill-desktop: cannot write " << ToUtf8(path) << '\n';
                    QCoreApplication::exit(1);
                }
            });
        }
        exitCode = QApplication::exec();
    });
    return exitCode;
}

} // namespace fitquill
