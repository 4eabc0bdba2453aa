// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/print/print_engine.h"

#include <QPageLayout>
#include <QString>

namespace fitquill {

// Device units per inch of the PDF reports: fine enough for the charts, coarse enough for the
// renderers' pixel distances to stay visible.
inline constexpr int kPdfResolution = 300;

struct SPdfResult {
    int pages = 0;          // pages written
    bool cancelled = false; // the progress answered false; nothing was written
    QString error;          // why nothing was written; empty on success or cancel
};

// Writes the pages of the reports that the document chooses for its print range to a PDF file
// on paper `layout` (its margins are the reports' margins). The file is replaced only when the
// whole report was written: a failure or a cancel leaves an existing file as it was. An empty
// page list is an error ("nothing to print") and writes nothing.
SPdfResult WritePdfReport(CPrintEngine& engine, const QString& path, const QPageLayout& layout,
                          const PrintProgress& progress = {});

// The paper of a first printout: A4 or Letter after the locale, 15 mm margins.
QPageLayout DefaultReportLayout();

} // namespace fitquill
