// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/dayentry/day_entry_pane.h"

#include "desktop/document/diet_data.h"
#include "desktop/widgets/fonts.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace fitquill {

CDayEntryPane::CDayEntryPane(CDietData& data, const QString& title, QWidget* parent)
    : QWidget(parent), m_data(data) {
    setObjectName(title);
    setFont(CustomFont());
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    auto* heading = new QLabel(title, this);
    QFont bold = CustomFont(10);
    bold.setBold(true);
    heading->setFont(bold);
    layout->addWidget(heading);
    m_body = new QVBoxLayout;
    layout->addLayout(m_body, 1);

    auto* waterRow = new QHBoxLayout;
    waterRow->addWidget(new QLabel(QStringLiteral("Water:"), this));
    m_water = new QSpinBox(this);
    m_water->setObjectName(QStringLiteral("Water"));
    m_water->setRange(0, kMaxWater);
    if (auto* text = m_water->findChild<QLineEdit*>())
        text->setMaxLength(2);
    m_water->setMinimumWidth(50);
    waterRow->addWidget(m_water);
    waterRow->addStretch(1);
    layout->addLayout(waterRow);
    connect(m_water, &QSpinBox::valueChanged, this, &CDayEntryPane::StoreWater);
    // The pane follows the document: every change of the data, the day or the profile.
    connect(&m_data, &CDietData::RefreshViewsSent, this, &CDayEntryPane::Refresh);
    connect(&m_data, &CDietData::DayEditedSent, this, &CDayEntryPane::Refresh);
    connect(&m_data, &CDietData::WeightChangedSent, this, &CDayEntryPane::Refresh);
    connect(&m_data, &CDietData::DayChangedSent, this, &CDayEntryPane::Refresh);
    connect(&m_data, &CDietData::CommitPendingEditSent, this, [this] { StorePending(); });
    connect(&m_data, &CDietData::ColorsChanged, this, &CDayEntryPane::ApplyColors);
    ApplyColors();
}

void CDayEntryPane::Refresh() {
    // Another day or user: what was typed for the previous one is not shown for this one.
    const CJournalDB& journal = m_data.Journal();
    const std::string shownDay = journal.FilePath() + '\n' + journal.CurrentDate().LongText();
    if (shownDay != m_shownDay)
        DiscardPending();
    m_shownDay = shownDay;
    const CDayRecord* day = m_data.GetCurrentDay(false);
    const QSignalBlocker quiet(m_water);
    m_water->setValue(day ? day->Water() : 0);
}

void CDayEntryPane::ShowStored(QLineEdit* box, const QString& text) {
    if (box->isModified() || box->text() == text)
        return;
    box->setText(text);
}

void CDayEntryPane::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Refresh();
}

void CDayEntryPane::DiscardPending() {
    for (QLineEdit* box : findChildren<QLineEdit*>())
        box->setModified(false);
}

QWidget* CDayEntryPane::FirstControl() {
    return m_water;
}

void CDayEntryPane::StoreWater(int glasses) {
    CDayRecord* day = m_data.GetCurrentDay(true);
    if (!day)
        return;
    day->SetWater(glasses);
    m_data.SetModified();
    m_data.RefreshViews();
}

void CDayEntryPane::ApplyColors() {
    QPalette colors = palette();
    colors.setColor(QPalette::Window, m_data.GetBackColor());
    colors.setColor(QPalette::WindowText, m_data.GetTextColor());
    setPalette(colors);
}

} // namespace fitquill
