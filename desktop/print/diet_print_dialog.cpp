// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/print/diet_print_dialog.h"

#include "desktop/document/diet_data.h"
#include "desktop/document/stored_text.h"
#include "desktop/print/print_engine.h"
#include "desktop/widgets/date_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace fitquill {
namespace {

// The check boxes' labels in report order ("&&" shows one ampersand).
constexpr const char* kReportLabels[] = {
    "Logbook",       "Meal && Exercise Log",  "Daily Journal",
    "Summary Table", "Historic Weight Chart", "Diet PLan",
};

QString LongText(const CJournalDate& date) {
    return FromStored(date.LongText());
}

} // namespace

CDietPrintDialog::CDietPrintDialog(CDietData& data, EPrintDialogMode mode, QPrinter* printer,
                                   std::vector<EReportKind> unavailable, QWidget* parent)
    : QDialog(parent), m_data(data),
      m_printer(mode == EPrintDialogMode::Print ? printer : nullptr) {
    setWindowTitle(mode == EPrintDialogMode::Print ? QStringLiteral("Print")
                                                   : QStringLiteral("Export as PDF"));
    auto* layout = new QVBoxLayout(this);

    if (m_printer) {
        auto* printerGroup = new QGroupBox(QStringLiteral("Printer"), this);
        auto* row = new QHBoxLayout(printerGroup);
        m_printerName = new QLabel(printerGroup);
        auto* choose = new QPushButton(QStringLiteral("Printer..."), printerGroup);
        row->addWidget(m_printerName, 1);
        row->addWidget(choose);
        layout->addWidget(printerGroup);
        connect(choose, &QPushButton::clicked, this, [this] {
            QPrintDialog dialog(m_printer, this);
            dialog.exec();
            UpdatePrinterName();
        });
        UpdatePrinterName();
    }

    auto* options = new QGroupBox(QStringLiteral("Options"), this);
    auto* optionsLayout = new QVBoxLayout(options);
    for (int report = 0; report < kPrintReportCount; ++report) {
        auto* box = new QCheckBox(QString::fromLatin1(kReportLabels[report]), options);
        const bool missing = std::find(unavailable.begin(), unavailable.end(),
                                       static_cast<EReportKind>(report)) != unavailable.end();
        box->setChecked(!missing && m_data.ReportFlag(report));
        box->setEnabled(!missing);
        optionsLayout->addWidget(box);
        connect(box, &QCheckBox::toggled, this, &CDietPrintDialog::UpdateButtons);
        m_boxes[static_cast<size_t>(report)] = box;
    }
    if (!unavailable.empty()) {
        auto* note = new QLabel(QStringLiteral("This version cannot print yet: %1.")
                                    .arg(CPrintEngine::ReportNames(unavailable)),
                                options);
        note->setWordWrap(true);
        optionsLayout->addWidget(note);
    }
    layout->addWidget(options);

    auto* range = new QGroupBox(QStringLiteral("Print Range"), this);
    auto* rangeLayout = new QGridLayout(range);
    m_all = new QRadioButton(QStringLiteral("All"), range);
    m_range = new QRadioButton(QStringLiteral("Range"), range);
    rangeLayout->addWidget(m_all, 0, 0, 1, 3);
    rangeLayout->addWidget(m_range, 1, 0, 1, 3);
    m_startText = new QLabel(range);
    m_endText = new QLabel(range);
    m_startButton = new QPushButton(QStringLiteral("Set Date..."), range);
    m_endButton = new QPushButton(QStringLiteral("Set Date..."), range);
    rangeLayout->addWidget(new QLabel(QStringLiteral("Start:"), range), 2, 0);
    rangeLayout->addWidget(m_startText, 2, 1);
    rangeLayout->addWidget(m_startButton, 2, 2);
    rangeLayout->addWidget(new QLabel(QStringLiteral("End:"), range), 3, 0);
    rangeLayout->addWidget(m_endText, 3, 1);
    rangeLayout->addWidget(m_endButton, 3, 2);
    rangeLayout->setColumnStretch(1, 1);
    layout->addWidget(range);

    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(mode == EPrintDialogMode::Print ? QStringLiteral("OK")
                                                              : QStringLiteral("Save..."),
                              QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    m_preview = buttons->addButton(QStringLiteral("Preview"), QDialogButtonBox::ActionRole);
    m_ok->setDefault(true);
    layout->addWidget(buttons);

    connect(m_all, &QRadioButton::clicked, this, &CDietPrintDialog::ChooseAll);
    connect(m_range, &QRadioButton::clicked, this, &CDietPrintDialog::ChooseRange);
    connect(m_startButton, &QPushButton::clicked, this, [this] { ChooseDate(true); });
    connect(m_endButton, &QPushButton::clicked, this, [this] { ChooseDate(false); });
    connect(m_ok, &QPushButton::clicked, this, [this] { Finish(QDialog::Accepted); });
    connect(m_preview, &QPushButton::clicked, this, [this] { Finish(kPreview); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    // Opening: "Range" with the document's range.
    m_range->setChecked(true);
    StoreRange(m_data.PrintStart(), m_data.PrintEnd());
    UpdateButtons();
}

QCheckBox* CDietPrintDialog::ReportBox(EReportKind kind) const {
    return m_boxes.at(static_cast<size_t>(kind));
}

void CDietPrintDialog::StoreRange(const CJournalDate& start, const CJournalDate& end) {
    m_data.SetPrintRange(start, end);
    m_startText->setText(LongText(start));
    m_endText->setText(LongText(end));
}

void CDietPrintDialog::ChooseAll() {
    const std::vector<CDayRecord>& days = m_data.Journal().Days();
    const CJournalDate current = m_data.Journal().CurrentDate();
    if (days.empty())
        StoreRange(current, current);
    else
        StoreRange(days.front().Date(), days.back().Date());
    SetDateControlsEnabled(false);
}

void CDietPrintDialog::ChooseRange() {
    const std::vector<CDayRecord>& days = m_data.Journal().Days();
    const CJournalDate current = m_data.Journal().CurrentDate();
    const CJournalDate first = days.empty() ? current : days.front().Date();
    StoreRange(first, std::max(current, first));
    SetDateControlsEnabled(true);
}

void CDietPrintDialog::SetDateControlsEnabled(bool enabled) {
    for (QWidget* control :
         std::initializer_list<QWidget*>{m_startText, m_endText, m_startButton, m_endButton})
        control->setEnabled(enabled);
}

void CDietPrintDialog::SetStart(const CJournalDate& date) {
    StoreRange(date, std::max(date, m_data.PrintEnd()));
}

void CDietPrintDialog::SetEnd(const CJournalDate& date) {
    StoreRange(std::min(date, m_data.PrintStart()), date);
}

void CDietPrintDialog::ChooseDate(bool start) {
    CDateDialog dialog(start ? m_data.PrintStart() : m_data.PrintEnd(), this);
    dialog.setWindowTitle(start ? QStringLiteral("Start Date") : QStringLiteral("End Date"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (start)
        SetStart(dialog.Date());
    else
        SetEnd(dialog.Date());
}

void CDietPrintDialog::UpdateButtons() {
    const bool any = std::any_of(m_boxes.begin(), m_boxes.end(), [](QCheckBox* box) {
        return box->isEnabled() && box->isChecked();
    });
    m_ok->setEnabled(any);
    m_preview->setEnabled(any);
}

void CDietPrintDialog::UpdatePrinterName() {
    if (!m_printerName)
        return;
    QString name = m_printer->printerName();
    if (name.isEmpty())
        name = m_printer->outputFileName().isEmpty()
                   ? QStringLiteral("(no printer)")
                   : QStringLiteral("File: %1").arg(m_printer->outputFileName());
    m_printerName->setText(name);
}

void CDietPrintDialog::StoreFlags() {
    for (int report = 0; report < kPrintReportCount; ++report) {
        QCheckBox* box = m_boxes[static_cast<size_t>(report)];
        // A report this version cannot print keeps its remembered choice.
        if (box->isEnabled())
            m_data.SetReportFlag(report, box->isChecked());
    }
}

void CDietPrintDialog::Finish(int result) {
    StoreFlags();
    done(result);
}

} // namespace fitquill
