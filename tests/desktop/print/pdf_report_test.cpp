// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/print/pdf_report.h"

#include "tests/desktop/print/test_renderer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace fitquill;
using namespace fitquill::test;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class PdfReportTest : public PrintTestBase {
protected:
    QString PathOf(const QString& name) const { return m_folder.filePath(name); }

    // The text of each page, by pdftotext; empty when the tool is missing.
    static QStringList PageTexts(const QString& pdf) {
        QProcess tool;
        tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, "-"});
        if (!tool.waitForFinished(20000) || tool.exitCode() != 0)
            return {};
        QStringList pages = QString::fromUtf8(tool.readAllStandardOutput()).split(QChar('\f'));
        if (!pages.isEmpty() && pages.back().trimmed().isEmpty())
            pages.removeLast();
        return pages;
    }
};

} // namespace

TEST_F(PdfReportTest, EveryPageHasItsTitleNumberAndContent) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    for (int day = 1; day <= 3; ++day)
        AddDay(D(day, 3, 2024));
    m_data->SetPrintRange(D(1, 3, 2024), D(3, 3, 2024));
    Report(EReportKind::Logbook, 2, 40);
    Report(EReportKind::SummaryTable, 3, 40);
    Report(EReportKind::DietPlan, 1, 40);

    const QString pdf = PathOf("reports.pdf");
    const SPdfResult result = WritePdfReport(Engine(), pdf, DefaultReportLayout());
    EXPECT_TRUE(result.error.isEmpty()) << result.error.toStdString();
    ASSERT_EQ(result.pages, 5);
    const QStringList pages = PageTexts(pdf);
    ASSERT_EQ(pages.size(), 5);
    const QStringList titles{"Diet Plan", "Logbook - Friday March 1, 2024",
                             "Logbook - Saturday March 2, 2024", "Logbook - Sunday March 3, 2024",
                             "Summary Table"};
    for (int page = 0; page < 5; ++page) {
        EXPECT_TRUE(pages[page].contains(titles[page]))
            << page << ": " << pages[page].toStdString();
        EXPECT_TRUE(pages[page].contains(QStringLiteral("Page %1 of 5").arg(page + 1)))
            << pages[page].toStdString();
    }
    EXPECT_TRUE(pages[2].contains("unit 1 of 3/2"));
    // A picture of the second page stays in the build folder for a person to look at.
    QProcess::execute(QStringLiteral("pdftoppm"),
                      {"-png", "-r", "60", "-f", "2", "-l", "2", "-singlefile", pdf,
                       QDir::current().filePath(QStringLiteral("pdf_report_test_page"))});
    EXPECT_TRUE(pages[4].contains("unit 2 of 3/15"));
    // The pages are laid out after the printout's own geometry, and the day is back.
    EXPECT_EQ(m_data->Journal().CurrentDate(), D(15, 3, 2024));
}

TEST_F(PdfReportTest, AFailedOrCancelledRunLeavesTheOldFile) {
    AddDay(D(1, 3, 2024));
    m_data->SetPrintRange(D(1, 3, 2024), D(1, 3, 2024));
    const QString pdf = PathOf("kept.pdf");
    Write(pdf, "the old report");

    // Nothing selected: nothing to print, nothing written.
    SPdfResult result = WritePdfReport(Engine(), pdf, DefaultReportLayout());
    EXPECT_EQ(result.error, CPrintEngine::NothingToPrintText());
    EXPECT_EQ(result.pages, 0);
    EXPECT_EQ(ReadAll(pdf), "the old report");

    Report(EReportKind::Logbook, 3, 40);
    result = WritePdfReport(Engine(), pdf, DefaultReportLayout(), [](int done, int) {
        return done < 1500; // while drawing
    });
    EXPECT_TRUE(result.cancelled);
    EXPECT_TRUE(result.error.isEmpty());
    EXPECT_EQ(ReadAll(pdf), "the old report");
    // No temporary file is left behind either.
    EXPECT_EQ(QDir(m_folder.path()).entryList(QDir::Files), QStringList{"kept.pdf"});

    // A folder that does not exist: a readable reason.
    result = WritePdfReport(Engine(), PathOf("missing/report.pdf"), DefaultReportLayout());
    EXPECT_TRUE(result.error.startsWith("Cannot write ")) << result.error.toStdString();
    EXPECT_EQ(result.pages, 0);

    // And a run to the end replaces the file.
    result = WritePdfReport(Engine(), pdf, DefaultReportLayout());
    EXPECT_EQ(result.pages, 1);
    EXPECT_TRUE(ReadAll(pdf).startsWith("%PDF-"));
}
