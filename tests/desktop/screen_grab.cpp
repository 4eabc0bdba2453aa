// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a PNG picture of the whole X screen: screen_grab FILE.png. For the tests that drive
// the real program, to show what a user saw at a step.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: screen_grab FILE.png\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || !screen->grabWindow(0).save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "screen_grab: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
