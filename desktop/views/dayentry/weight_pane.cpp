// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/dayentry/weight_pane.h"

#include "desktop/document/diet_data.h"
#include "desktop/document/stored_text.h"
#include "desktop/widgets/numeric_edit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitquill {
namespace {

QLabel* Note(const char* text, QWidget* parent) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

CWeightPane::CWeightPane(CDietData& data, QWidget* parent)
    : CDayEntryPane(data, QStringLiteral("Weight"), parent) {
    m_date = new QLabel(this);
    Body()->addWidget(m_date);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Weight:"), this));
    m_weight = new CNumericEdit(this);
    m_weight->setObjectName(QStringLiteral("Weight"));
    m_weight->SetDecimals(1, false);
    m_weight->SetRange(0, 999.9);
    m_weight->SetEmptyWhenZero(true);
    m_weight->setMaxLength(5);
    m_weight->setFixedWidth(60);
    row->addWidget(m_weight);
    m_unit = new QLabel(this);
    row->addWidget(m_unit);
    row->addStretch(1);
    auto* charts = new QPushButton(QStringLiteral("Charts..."), this);
    row->addWidget(charts);
    Body()->addLayout(row);
    Body()->addWidget(
        Note("Each day a default weight is created for you.  The value is based on your recorded "
             "weight for the previous day(s).  If you advance the Logbook into the future you may "
             "wish to delete future weight values for better weight chart viewing.",
             this));
    Body()->addWidget(Note("Weight and personal information is needed to calculate BMR, food "
                           "budget, and the calories you burn through exercise.",
                           this));
    Body()->addStretch(1);
    connect(m_weight, &QLineEdit::editingFinished, this, &CWeightPane::StorePending);
    connect(charts, &QPushButton::clicked, this, &CWeightPane::ChartsRequested);
    Refresh();
}

QWidget* CWeightPane::FirstControl() {
    return m_weight;
}

void CWeightPane::Refresh() {
    CDayEntryPane::Refresh();
    const bool metric = m_data.Journal().Profile().IsMetric();
    m_date->setText(FromStored(m_data.Journal().CurrentDate().LongText()));
    m_unit->setText(metric ? QStringLiteral("kg") : QStringLiteral("lbs"));
    const CDayRecord* day = m_data.GetCurrentDay(false);
    const double weight = day ? day->Weight().Get(metric).value_or(0) : 0.0;
    // A weight being typed stays; the one shown already stays untouched under the caret.
    if (m_weight->isModified() ||
        (m_weight->hasFocus() && m_weight->HasValue() && m_weight->Value() == weight))
        return;
    m_weight->SetValue(weight);
    m_weight->ShowValue(false);
    m_weight->setModified(false);
}

void CWeightPane::StorePending() {
    if (!m_weight->isModified())
        return;
    m_weight->setModified(false);
    const double value = m_weight->ReadValue();
    CDayRecord* day = m_data.GetCurrentDay(true);
    if (!day)
        return;
    CJournalDB& journal = m_data.Journal();
    day->SetWeight(value, journal.Profile().IsMetric(), journal.Profile());
    m_data.SetModified();
    m_data.NotifyWeightChanged();
    m_data.RefreshViews();
}

} // namespace fitquill
