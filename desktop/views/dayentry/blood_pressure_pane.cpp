// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/dayentry/blood_pressure_pane.h"

#include "core/report/day_entry_texts.h"
#include "desktop/document/diet_data.h"
#include "desktop/document/prompt.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace fitquill {
namespace {

QLineEdit* DigitsBox(int digits, const QString& name, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setMaxLength(digits);
    box->setFixedWidth(digits * 12 + 12);
    box->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("\\d{0,%1}").arg(digits)), box));
    return box;
}

QString ReadingText(int value, const char* format = "%1") {
    return value < 0 ? QString() : QString::fromLatin1(format).arg(value);
}

} // namespace

CBloodPressurePane::CBloodPressurePane(CDietData& data, QWidget* parent)
    : CDayEntryPane(data, QStringLiteral("Blood Pressure"), parent) {
    m_systolic = DigitsBox(3, QStringLiteral("Systolic"), this);
    m_diastolic = DigitsBox(3, QStringLiteral("Diastolic"), this);
    m_pulse = DigitsBox(3, QStringLiteral("Pulse"), this);
    m_hour = DigitsBox(2, QStringLiteral("Hour"), this);
    m_minute = DigitsBox(2, QStringLiteral("Minute"), this);
    m_minute->setAccessibleName(QStringLiteral("Minute"));
    m_amPm = new QComboBox(this);
    m_amPm->setAccessibleName(QStringLiteral("AM or PM"));
    m_amPm->addItems({QStringLiteral("AM"), QStringLiteral("PM")});

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Systolic:"), this), 0, 0);
    grid->addWidget(m_systolic, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("mmHg"), this), 0, 2, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Diastolic:"), this), 1, 0);
    grid->addWidget(m_diastolic, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("mmHg"), this), 1, 2, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Pulse:"), this), 2, 0);
    grid->addWidget(m_pulse, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("pulse/minute"), this), 2, 2, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Time:"), this), 3, 0);
    grid->addWidget(m_hour, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral(":"), this), 3, 2);
    grid->addWidget(m_minute, 3, 3);
    grid->addWidget(m_amPm, 3, 4);
    grid->setColumnStretch(5, 1);
    Body()->addLayout(grid);
    Body()->addStretch(1);

    for (QLineEdit* box : {m_systolic, m_diastolic, m_pulse, m_hour, m_minute})
        connect(box, &QLineEdit::editingFinished, this, &CBloodPressurePane::StorePending);
    connect(m_amPm, &QComboBox::currentIndexChanged, this, [this] {
        m_amPmChanged = true;
        StorePending();
    });
    Refresh();
}

QWidget* CBloodPressurePane::FirstControl() {
    return m_systolic;
}

bool CBloodPressurePane::AnyModified() const {
    for (const QLineEdit* box : {m_systolic, m_diastolic, m_pulse, m_hour, m_minute})
        if (box->isModified())
            return true;
    return m_amPmChanged;
}

void CBloodPressurePane::Refresh() {
    CDayEntryPane::Refresh();
    const CDayRecord* day = m_data.GetCurrentDay(false);
    // A reading still being typed (or one refused) stays in the boxes for correction.
    if (AnyModified())
        return;
    m_refusedTexts.clear();
    const CBloodPressure reading = day ? day->BloodPressure() : CBloodPressure();
    ShowStored(m_systolic, ReadingText(reading.Systolic()));
    ShowStored(m_diastolic, ReadingText(reading.Diastolic()));
    ShowStored(m_pulse, ReadingText(reading.Pulse()));
    ShowStored(m_hour, ReadingText(reading.Hour()));
    ShowStored(m_minute, reading.Minute() < 0
                             ? QString()
                             : QStringLiteral("%1").arg(reading.Minute(), 2, 10, QLatin1Char('0')));
    {
        const QSignalBlocker quiet(m_amPm);
        m_amPm->setCurrentIndex(reading.AmPm() == CBloodPressure::kPm ? 1 : 0);
    }
}

void CBloodPressurePane::DiscardPending() {
    CDayEntryPane::DiscardPending();
    m_amPmChanged = false;
    m_refusedTexts.clear();
}

QStringList CBloodPressurePane::Texts() const {
    return {m_systolic->text(), m_diastolic->text(), m_pulse->text(),
            m_hour->text(),     m_minute->text(),    QString::number(m_amPm->currentIndex())};
}

void CBloodPressurePane::StorePending() {
    if (!AnyModified())
        return;
    // The reading is checked whole on a copy before the day is touched: a refused value
    // stores nothing, creates no day, and the typed values stay in the boxes for correction.
    const CDayRecord* existing = m_data.GetCurrentDay(false);
    CBloodPressure reading = existing ? existing->BloodPressure() : CBloodPressure();
    bool accepted = reading.SetSystolic(m_systolic->text().toInt());
    accepted = reading.SetDiastolic(m_diastolic->text().toInt()) && accepted;
    accepted = reading.SetPulse(m_pulse->text().toInt()) && accepted;
    const int minute = m_minute->text().isEmpty() ? -1 : m_minute->text().toInt();
    accepted = reading.SetTime(m_hour->text().toInt(), minute, m_amPm->currentIndex()) && accepted;
    if (!accepted) {
        // Told once per refused reading, not again on every tab switch or save.
        if (Texts() == m_refusedTexts)
            return;
        m_refusedTexts = Texts();
        QWidget* focused = QApplication::focusWidget();
        ShowPrompt(window(), QString::fromLatin1(kBloodPressureCaption),
                   QString::fromLatin1(kBloodPressureRefusedText), EPromptIcon::Warning,
                   EPromptButtons::Ok);
        if (focused)
            focused->setFocus();
        return;
    }
    CDayRecord* day = m_data.GetCurrentDay(true);
    if (!day)
        return;
    for (QLineEdit* box : {m_systolic, m_diastolic, m_pulse, m_hour, m_minute})
        box->setModified(false);
    m_amPmChanged = false;
    m_refusedTexts.clear();
    day->BloodPressure() = reading;
    m_data.SetModified();
    m_data.RefreshViews();
}

} // namespace fitquill
