// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/docs/guide_pdf.h"

#include <QDir>
#include <QImage>
#include <QPageLayout>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>

#include <vector>

namespace fitquill {
namespace {

// Shrinks every picture to the width of the text; says which ones cannot be read.
bool FitImages(QTextDocument& document, const QString& imageFolder, double textWidth,
               QString* error) {
    struct SImage {
        int position;
        int length;
        QTextImageFormat format;
    };
    std::vector<SImage> images;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.isValid() && fragment.charFormat().isImageFormat())
                images.push_back({fragment.position(), fragment.length(),
                                  fragment.charFormat().toImageFormat()});
        }
    }
    for (SImage& image : images) {
        const QString path = QDir(imageFolder).filePath(image.format.name());
        const QImage picture(path);
        if (picture.isNull()) {
            if (error)
                *error = QStringLiteral("cannot read the picture %1").arg(path);
            return false;
        }
        const double width = std::min<double>(picture.width(), textWidth);
        image.format.setName(path);
        image.format.setWidth(width);
        image.format.setHeight(width * picture.height() / picture.width());
        document.addResource(QTextDocument::ImageResource, QUrl(path), picture);
        QTextCursor cursor(&document);
        cursor.setPosition(image.position);
        cursor.setPosition(image.position + image.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(image.format);
    }
    return true;
}

// Each chapter (a second-level heading) starts on a page of its own.
void BreakBeforeChapters(QTextDocument& document) {
    QTextCursor cursor(&document);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() != 2)
            continue;
        QTextBlockFormat format = block.blockFormat();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        cursor.setPosition(block.position());
        cursor.setBlockFormat(format);
    }
}

} // namespace

bool RenderGuidePdf(const QString& markdown, const QString& imageFolder, const QString& output,
                    QString* error) {
    QSaveFile file(output);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(output, file.errorString());
        return false;
    }
    QPdfWriter writer(&file);
    writer.setTitle(QStringLiteral("Fitquill User Guide"));
    writer.setCreator(QStringLiteral("Fitquill"));
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter));

    QTextDocument document;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(10);
    document.setDefaultFont(font);
    document.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
    // The text width in the document's units (points) once print() lays it out on the page.
    const double textWidth = writer.pageLayout().paintRect(QPageLayout::Point).width() - 20;
    if (!FitImages(document, imageFolder, textWidth, error))
        return false;
    BreakBeforeChapters(document);
    document.print(&writer);
    if (!file.commit()) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(output, file.errorString());
        return false;
    }
    return true;
}

} // namespace fitquill
