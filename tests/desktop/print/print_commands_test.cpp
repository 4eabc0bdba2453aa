// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/print/print_commands.h"

#include "tests/desktop/frame/shell_test_support.h"
#include "tests/desktop/print/test_renderer.h"

#include "desktop/document/prompt.h"
#include "desktop/print/diet_print_dialog.h"
#include "desktop/widgets/commands.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace fitquill;
using namespace fitquill::test;

namespace {

class PrintCommandsTest : public PrintTestBase {
protected:
    void SetUp() override {
        PrintTestBase::SetUp();
        m_prompt = std::make_unique<CScriptedPrompt>();
        for (int day = 1; day <= 2; ++day)
            AddDay(D(day, 3, 2024));
        m_data->SetPrintRange(D(1, 3, 2024), D(2, 3, 2024));
    }
    void TearDown() override {
        m_commands.reset();
        m_prompt.reset();
        PrintTestBase::TearDown();
    }

    CPrintCommands& Commands() {
        if (!m_commands)
            m_commands = std::make_unique<CPrintCommands>(*m_data, nullptr, Factory());
        return *m_commands;
    }

    std::unique_ptr<CScriptedPrompt> m_prompt;
    std::unique_ptr<CPrintCommands> m_commands;
};

bool StartsLikeAPdf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-";
}

} // namespace

TEST_F(PrintCommandsTest, PrintingNeedsAnOpenUserButTheSetupsDoNot) {
    bool enabled = true;
    for (int id : {kIdFilePrint, kIdFilePrintPreview, kIdFileExportPdf}) {
        ASSERT_TRUE(Commands().QueryCommand(id, enabled)) << id;
        EXPECT_FALSE(enabled) << id;
    }
    for (int id : {kIdFilePrintSetup, kIdFilePageSetup}) {
        ASSERT_TRUE(Commands().QueryCommand(id, enabled)) << id;
        EXPECT_TRUE(enabled) << id;
    }
    EXPECT_FALSE(Commands().QueryCommand(kIdFileSaveAll, enabled));
    // The printer starts on whole sheets with margins of its own for the reports.
    EXPECT_TRUE(Commands().Printer().fullPage());
    EXPECT_NEAR(Commands().Printer().pageLayout().margins(QPageLayout::Millimeter).top(), 15, 0.01);
}

TEST_F(PrintCommandsTest, ExportAsPdfWritesTheChosenFile) {
    Report(EReportKind::Logbook, 3, 40);
    QString suggested;
    Commands().SetSaveFileChooser([&](QWidget*, const QString& name) {
        suggested = name;
        return m_folder.filePath("march");
    });
    QString title;
    WhenModal<CDietPrintDialog>([&](CDietPrintDialog& dialog) {
        title = dialog.windowTitle();
        dialog.OkButton()->click();
    });
    ASSERT_TRUE(Commands().ExecuteCommand(kIdFileExportPdf));
    EXPECT_EQ(title, "Export as PDF");
    EXPECT_TRUE(suggested.endsWith(".pdf"));
    // The name gets its suffix.
    EXPECT_TRUE(StartsLikeAPdf(m_folder.filePath("march.pdf")));
    EXPECT_EQ(Commands().Engine().PageCount(), 2);
    EXPECT_TRUE(m_prompt->Shown().empty());
}

TEST_F(PrintCommandsTest, PrintGoesToThePrinterAndPreviewThroughTheSameEngine) {
    Report(EReportKind::Logbook, 3, 40);
    Report(EReportKind::SummaryTable, 3, 40);
    const QString printed = m_folder.filePath("printed.pdf");
    Commands().Printer().setOutputFormat(QPrinter::PdfFormat);
    Commands().Printer().setOutputFileName(printed);
    QString printerShown;
    WhenModal<CDietPrintDialog>([&printerShown](CDietPrintDialog& dialog) {
        for (QLabel* label : dialog.findChildren<QLabel*>())
            printerShown += label->text() + "\n";
        dialog.grab().save(QStringLiteral("print_dialog_printer.png"));
        dialog.OkButton()->click();
    });
    ASSERT_TRUE(Commands().ExecuteCommand(kIdFilePrint));
    EXPECT_TRUE(printerShown.contains("File: " + printed)) << printerShown.toStdString();
    EXPECT_TRUE(StartsLikeAPdf(printed));
    EXPECT_EQ(Commands().Engine().PageCount(), 3);

    // "Preview" in the dialog opens the preview with the reports chosen there.
    WhenModal<CDietPrintDialog>([](CDietPrintDialog& dialog) {
        dialog.ReportBox(EReportKind::Logbook)->setChecked(false);
        dialog.PreviewButton()->click();
        WhenModal<QPrintPreviewDialog>([](QPrintPreviewDialog& preview) { preview.reject(); });
    });
    ASSERT_TRUE(Commands().ExecuteCommand(kIdFilePrint));
    EXPECT_EQ(Commands().Engine().PageCount(), 1);
    EXPECT_EQ(Commands().Engine().Pages()[0].kind, EReportKind::SummaryTable);
    EXPECT_TRUE(m_prompt->Shown().empty());
}

TEST_F(PrintCommandsTest, NothingToPrintIsSaidPlainly) {
    // No report can be printed: the preview does not open.
    ASSERT_TRUE(Commands().ExecuteCommand(kIdFilePrintPreview));
    ASSERT_EQ(m_prompt->Shown().size(), 1u);
    EXPECT_EQ(m_prompt->Shown()[0].caption, "Print Preview");
    EXPECT_EQ(m_prompt->Shown()[0].text, CPrintEngine::NothingToPrintText());

    // A report that gives no page for the range: the file is not written.
    m_prompt->Clear();
    Report(EReportKind::WeightChart, 0, 40);
    Commands().SetSaveFileChooser(
        [this](QWidget*, const QString&) { return m_folder.filePath("empty.pdf"); });
    WhenModal<CDietPrintDialog>([](CDietPrintDialog& dialog) { dialog.OkButton()->click(); });
    ASSERT_TRUE(Commands().ExecuteCommand(kIdFileExportPdf));
    ASSERT_EQ(m_prompt->Shown().size(), 1u);
    EXPECT_EQ(m_prompt->Shown()[0].caption, "Export as PDF");
    EXPECT_FALSE(QFile::exists(m_folder.filePath("empty.pdf")));
}
