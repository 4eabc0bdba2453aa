// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/print/pdf_report.h"

#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace fitquill {

SPdfResult WritePdfReport(CPrintEngine& engine, const QString& path, const QPageLayout& layout,
                          const PrintProgress& progress) {
    SPdfResult result;
    // The pages stream into a temporary file beside the target, renamed over it at the end:
    // memory does not grow with the page count, and a failed run destroys nothing.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        result.error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
        return result;
    }
    QPdfWriter writer(&file);
    writer.setResolution(kPdfResolution);
    writer.setCreator(QStringLiteral("Fitquill Desktop"));
    writer.setTitle(QStringLiteral("Fitquill Desktop reports"));
    QPageLayout fullPage = layout;
    fullPage.setMode(QPageLayout::FullPageMode);
    writer.setPageLayout(fullPage);

    QPainter painter;
    if (!painter.begin(&writer)) {
        file.cancelWriting();
        result.error = QStringLiteral("Cannot write %1: the PDF could not be started.").arg(path);
        return result;
    }
    const int printed = engine.PrintAll(painter, writer, progress);
    painter.end();
    if (printed <= 0) {
        file.cancelWriting();
        result.cancelled = printed < 0;
        if (printed == 0)
            result.error = CPrintEngine::NothingToPrintText();
        return result;
    }
    if (!file.commit()) {
        result.error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
        return result;
    }
    result.pages = printed;
    return result;
}

QPageLayout DefaultReportLayout() {
    const QLocale::Territory territory = QLocale().territory();
    const bool letter = territory == QLocale::UnitedStates || territory == QLocale::Canada ||
                        territory == QLocale::Mexico;
    return QPageLayout(QPageSize(letter ? QPageSize::Letter : QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
}

} // namespace fitquill
