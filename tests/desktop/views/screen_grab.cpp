// SPDX-License-Identifier: GPL-3.0-or-later
// screen_grab FILE: writes a PNG picture of the whole X display named by DISPLAY.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: screen_grab FILE\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || !screen->grabWindow(0).save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "%s: could not grab the screen\n", argv[1]);
        return 1;
    }
    return 0;
}
