// SPDX-License-Identifier: GPL-3.0-or-later
// fitquill-docs: renders the user guide to PDF and draws the program's icon, at build time and
// without a display.
#include "tools/docs/app_icon.h"
#include "tools/docs/guide_pdf.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>

#include <cstdio>

namespace {

const char kUsage[] =
    "Usage: fitquill-docs guide GUIDE.md IMAGE_FOLDER OUTPUT.pdf\n"
    "       fitquill-docs icons THEME_FOLDER\n"
    "  guide  render the Markdown user guide to a PDF file\n"
    "  icons  write the program's icon into an icon theme folder:\n"
    "         scalable/apps/fitquill-desktop.svg and NxN/apps/fitquill-desktop.png\n";

constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

int Fail(const QString& text) {
    std::fprintf(stderr, "fitquill-docs: %s\n", qPrintable(text));
    return 1;
}

bool Save(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

int Guide(const QStringList& arguments) {
    QFile source(arguments[2]);
    if (!source.open(QIODevice::ReadOnly))
        return Fail(QStringLiteral("cannot read %1: %2").arg(arguments[2], source.errorString()));
    QString error;
    if (!fitquill::RenderGuidePdf(QString::fromUtf8(source.readAll()), arguments[3], arguments[4],
                                  &error))
        return Fail(error);
    return 0;
}

int Icons(const QString& folder) {
    const QString name = QStringLiteral("apps/fitquill-desktop");
    if (!Save(folder + QStringLiteral("/scalable/") + name + QStringLiteral(".svg"),
              fitquill::CAppIcon::Svg().toUtf8()))
        return Fail(QStringLiteral("cannot write the icons below %1").arg(folder));
    for (int size : kIconSizes) {
        const QString path = QStringLiteral("%1/%2x%2/%3.png").arg(folder).arg(size).arg(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) ||
            !fitquill::CAppIcon::Image(size).save(&file, "PNG") || !file.commit())
            return Fail(QStringLiteral("cannot write %1").arg(path));
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    // Runs during the build, where there is no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 5 && arguments[1] == QStringLiteral("guide"))
        return Guide(arguments);
    if (arguments.size() == 3 && arguments[1] == QStringLiteral("icons"))
        return Icons(arguments[2]);
    std::fputs(kUsage,
               arguments.size() == 2 && arguments[1] == QStringLiteral("--help") ? stdout : stderr);
    return arguments.size() == 2 && arguments[1] == QStringLiteral("--help") ? 0 : 2;
}
