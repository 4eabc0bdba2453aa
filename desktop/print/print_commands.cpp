// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/print/print_commands.h"

#include "desktop/document/diet_data.h"
#include "desktop/document/prompt.h"
#include "desktop/document/wait_cursor.h"
#include "desktop/print/diet_print_dialog.h"
#include "desktop/print/pdf_report.h"
#include "desktop/widgets/commands.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>

namespace fitquill {
namespace {

constexpr int kProgressSteps = 2000;

// A progress dialog that comes up when a run takes longer than a moment; its Cancel stops it.
class CPrintProgress {
public:
    CPrintProgress(QWidget* owner, const QString& text)
        : m_dialog(text, QStringLiteral("Cancel"), 0, kProgressSteps, owner) {
        m_dialog.setWindowTitle(QStringLiteral("Fitquill Desktop"));
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setMinimumDuration(400);
        m_dialog.setAutoReset(false);
    }
    PrintProgress Callback() {
        return [this](int done, int total) {
            m_dialog.setValue(static_cast<int>(static_cast<long long>(done) * kProgressSteps /
                                               std::max(1, total)));
            return !m_dialog.wasCanceled();
        };
    }

private:
    QProgressDialog m_dialog;
};

QString DefaultPdfName(const QString& user) {
    QString name = user.isEmpty() ? QStringLiteral("Fitquill") : user;
    name += QStringLiteral(" reports.pdf");
    return QDir(QDir::homePath()).filePath(name);
}

} // namespace

CPrintCommands::CPrintCommands(CDietData& data, QWidget* owner, ReportRendererFactory factory)
    : m_data(data), m_owner(owner), m_engine(data, std::move(factory)) {
    m_chooseFile = [](QWidget* parent, const QString& suggested) {
        return QFileDialog::getSaveFileName(parent, QStringLiteral("Export as PDF"), suggested,
                                            QStringLiteral("PDF files (*.pdf)"));
    };
}

CPrintCommands::~CPrintCommands() = default;

QPrinter& CPrintCommands::Printer() {
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        // The reports lay out their own margins, title and page number on the whole sheet.
        QPageLayout layout = DefaultReportLayout();
        layout.setMode(QPageLayout::FullPageMode);
        m_printer->setPageLayout(layout);
        m_printer->setFullPage(true);
    }
    return *m_printer;
}

bool CPrintCommands::QueryCommand(int id, bool& enabled) {
    switch (id) {
    case kIdFilePrint:
    case kIdFilePrintPreview:
    case kIdFileExportPdf:
        enabled = m_data.HasOpenUser();
        return true;
    case kIdFilePrintSetup:
    case kIdFilePageSetup:
        enabled = true;
        return true;
    default:
        return false;
    }
}

bool CPrintCommands::ExecuteCommand(int id) {
    switch (id) {
    case kIdFilePrint:
        Print();
        return true;
    case kIdFilePrintPreview:
        Preview();
        return true;
    case kIdFilePrintSetup:
        PrintSetup();
        return true;
    case kIdFilePageSetup:
        PageSetup();
        return true;
    case kIdFileExportPdf:
        ExportPdf();
        return true;
    default:
        return false;
    }
}

void CPrintCommands::Tell(const QString& caption, const QString& text) {
    ShowPrompt(m_owner, caption, text, EPromptIcon::Warning, EPromptButtons::Ok);
}

bool CPrintCommands::PrintOn(QPrinter& printer) {
    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer)) {
        Tell(QStringLiteral("Print"), QStringLiteral("The printer could not be started."));
        return false;
    }
    int printed = 0;
    {
        const CWaitCursor wait;
        CPrintProgress progress(m_owner, QStringLiteral("Printing..."));
        printed = m_engine.PrintAll(painter, printer, progress.Callback(), printer.fromPage(),
                                    printer.toPage());
    }
    if (printed < 0) {
        // The pages so far are thrown away rather than sent.
        printer.abort();
        painter.end();
        return false;
    }
    painter.end();
    if (printed == 0)
        Tell(QStringLiteral("Print"), CPrintEngine::NothingToPrintText());
    return printed > 0;
}

void CPrintCommands::Print() {
    CDietPrintDialog dialog(m_data, EPrintDialogMode::Print, &Printer(),
                            m_engine.UnavailableReports(), m_owner);
    const int result = dialog.exec();
    if (result == CDietPrintDialog::kPreview)
        Preview();
    else if (result == QDialog::Accepted)
        PrintOn(Printer());
}

void CPrintCommands::Preview() {
    if (!m_engine.AnySelectedPrintable()) {
        Tell(QStringLiteral("Print Preview"), CPrintEngine::NothingToPrintText());
        return;
    }
    QPrintPreviewDialog preview(&Printer(), m_owner);
    preview.setWindowTitle(QStringLiteral("Print Preview"));
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [this](QPrinter* printer) { PrintOn(*printer); });
    preview.resize(900, 1000);
    preview.exec();
}

void CPrintCommands::PrintSetup() {
    QPrintDialog dialog(&Printer(), m_owner);
    dialog.setWindowTitle(QStringLiteral("Print Setup"));
    dialog.exec();
    Printer().setFullPage(true);
}

void CPrintCommands::PageSetup() {
    QPageSetupDialog dialog(&Printer(), m_owner);
    dialog.exec();
    Printer().setFullPage(true);
}

void CPrintCommands::ExportPdf() {
    CDietPrintDialog dialog(m_data, EPrintDialogMode::ExportPdf, nullptr,
                            m_engine.UnavailableReports(), m_owner);
    const int result = dialog.exec();
    if (result == CDietPrintDialog::kPreview) {
        Preview();
        return;
    }
    if (result != QDialog::Accepted)
        return;
    QString path = m_chooseFile(m_owner, DefaultPdfName(m_data.GetCurrentUserName()));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    WritePdf(path);
}

bool CPrintCommands::WritePdf(const QString& path) {
    SPdfResult result;
    {
        const CWaitCursor wait;
        CPrintProgress progress(m_owner, QStringLiteral("Writing %1...").arg(path));
        result = WritePdfReport(m_engine, path, Printer().pageLayout(), progress.Callback());
    }
    if (!result.error.isEmpty())
        Tell(QStringLiteral("Export as PDF"), result.error);
    return result.pages > 0;
}

} // namespace fitquill
