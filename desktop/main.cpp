// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/shell/fonts.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvel"));
    QCoreApplication::setApplicationName(QStringLiteral("Fitquill"));
    // Some platforms add the display name to window titles; as it equals the title, the main
    // window's title stays exactly what other programs look for.
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Fitquill Desktop"));
    fitquill::RegisterTahoma();

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Fitquill Desktop"));
    window.resize(960, 740);
    window.show();
    return app.exec();
}
