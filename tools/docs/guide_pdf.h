// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace fitquill {

// Renders the user guide, written in (GitHub) Markdown, to an A4 PDF file with page numbers.
// Pictures are looked up relative to `imageFolder` and shrunk to the text width; a picture
// that cannot be read is an error rather than a hole in the guide. The file is replaced whole
// or not at all. On failure `error` says why.
bool RenderGuidePdf(const QString& markdown, const QString& imageFolder, const QString& output,
                    QString* error);

} // namespace fitquill
