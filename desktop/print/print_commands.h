// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/print/print_engine.h"
#include "desktop/widgets/command_target.h"

#include <QString>

#include <functional>
#include <memory>

class QPrinter;
class QWidget;

namespace fitquill {

class CDietData;

// The main view's printing: Print, Print Preview, Print Setup, Page Setup and Export as PDF.
// It owns the print engine and the printer, whose paper and margins last for the run.
class CPrintCommands : public ICommandTarget {
public:
    // Asks for the PDF file's name; empty for cancel.
    using SaveFileChooser = std::function<QString(QWidget* parent, const QString& suggested)>;

    // Without a factory the program's report renderers are used.
    CPrintCommands(CDietData& data, QWidget* owner, ReportRendererFactory factory = {});
    ~CPrintCommands() override;
    CPrintCommands(const CPrintCommands&) = delete;
    CPrintCommands& operator=(const CPrintCommands&) = delete;

    bool QueryCommand(int id, bool& enabled) override;
    bool ExecuteCommand(int id) override;

    // The printer, made on first use with the default paper and margins.
    QPrinter& Printer();
    CPrintEngine& Engine() { return m_engine; }
    void SetSaveFileChooser(SaveFileChooser chooser) { m_chooseFile = std::move(chooser); }

    void Print();
    void Preview();
    void PrintSetup();
    void PageSetup();
    void ExportPdf();
    // Writes the PDF report to `path` with progress; tells the user about a failure.
    bool WritePdf(const QString& path);

private:
    // Prints on `printer` with progress and cancel; false when nothing was printed.
    bool PrintOn(QPrinter& printer);
    void Tell(const QString& caption, const QString& text);

    CDietData& m_data;
    QWidget* m_owner;
    CPrintEngine m_engine;
    std::unique_ptr<QPrinter> m_printer;
    SaveFileChooser m_chooseFile;
};

} // namespace fitquill
