// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/journal_date.h"
#include "desktop/views/report_renderer.h"

#include <QDialog>

#include <array>
#include <vector>

class QCheckBox;
class QLabel;
class QPrinter;
class QPushButton;
class QRadioButton;

namespace fitquill {

class CDietData;

// What the print dialog is opened for.
enum class EPrintDialogMode {
    Print,     // OK prints on the chosen printer
    ExportPdf, // OK goes on to choose the PDF file
};

// The print dialog: the printer, the "Options" group (the six reports), the "Print Range"
// group and "Preview". The range is stored in the document at every change; the report flags
// when the dialog closes with OK or "Preview".
class CDietPrintDialog : public QDialog {
    Q_OBJECT

public:
    // The dialog's result when "Preview" closed it.
    static constexpr int kPreview = 2;

    // `printer` (Print mode only, may be null) is the one "Printer..." sets up; `unavailable`
    // are the reports this version cannot print: their boxes are off and disabled.
    CDietPrintDialog(CDietData& data, EPrintDialogMode mode, QPrinter* printer,
                     std::vector<EReportKind> unavailable, QWidget* parent = nullptr);

    QCheckBox* ReportBox(EReportKind kind) const;
    QRadioButton* AllButton() const { return m_all; }
    QRadioButton* RangeButton() const { return m_range; }
    QLabel* StartLabel() const { return m_startText; }
    QLabel* EndLabel() const { return m_endText; }
    QPushButton* StartButton() const { return m_startButton; }
    QPushButton* EndButton() const { return m_endButton; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* PreviewButton() const { return m_preview; }

    // What "Set Date..." does once a date was chosen; public for the tests.
    void SetStart(const CJournalDate& date);
    void SetEnd(const CJournalDate& date);

private:
    void ChooseAll();
    void ChooseRange();
    void ChooseDate(bool start);
    void SetDateControlsEnabled(bool enabled);
    void StoreRange(const CJournalDate& start, const CJournalDate& end);
    void UpdateButtons();
    void UpdatePrinterName();
    void StoreFlags();
    void Finish(int result);

    CDietData& m_data;
    QPrinter* m_printer = nullptr;
    std::array<QCheckBox*, 6> m_boxes{};
    QRadioButton* m_all = nullptr;
    QRadioButton* m_range = nullptr;
    QLabel* m_startText = nullptr;
    QLabel* m_endText = nullptr;
    QPushButton* m_startButton = nullptr;
    QPushButton* m_endButton = nullptr;
    QLabel* m_printerName = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_preview = nullptr;
};

} // namespace fitquill
