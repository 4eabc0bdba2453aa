// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/dayentry/measurements_pane.h"

#include "core/calc/body_fat.h"
#include "core/report/day_entry_texts.h"
#include "desktop/document/diet_data.h"
#include "desktop/document/prompt.h"
#include "desktop/document/stored_text.h"

#include <QCheckBox>
#include <QDoubleValidator>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace fitquill {
namespace {

constexpr const char* kGirthNames[] = {
    "Neck:", "Chest:", "Waist:", "Hips:", "Thighs:", "Calves:", "Upper arms:", "Forearms:"};
constexpr const char* kBodyFatExplanation =
    "Fat is one of the basic components that make up the structure of your body. Some of it is "
    "essential: it stores energy, cushions the organs and carries vitamins. Too much of it, "
    "especially around the waist, raises the risk of heart disease and diabetes.\n\n"
    "Healthy ranges are commonly given as about 10 to 20 percent for men and 18 to 28 percent "
    "for women; athletes are often below them.";

QLineEdit* NumberBox(const QString& name, double maximum, int length, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setMaxLength(length);
    box->setFixedWidth(60);
    auto* validator = new QDoubleValidator(0, maximum, 2, box);
    validator->setNotation(QDoubleValidator::StandardNotation);
    validator->setLocale(QLocale::c());
    box->setValidator(validator);
    return box;
}

QString NumberText(const std::optional<double>& value) {
    return value ? QString::number(*value, 'f', 2) : QString();
}

} // namespace

CMeasurementsPane::CMeasurementsPane(CDietData& data, QWidget* parent)
    : CDayEntryPane(data, QStringLiteral("Body Measurements"), parent) {
    auto* choices = new QHBoxLayout;
    m_girthChoice = new QRadioButton(QStringLiteral("Body Measurements"), this);
    m_bodyFatChoice = new QRadioButton(QStringLiteral("Percent Body Fat"), this);
    m_girthChoice->setChecked(true);
    choices->addWidget(m_girthChoice);
    choices->addWidget(m_bodyFatChoice);
    choices->addStretch(1);
    Body()->addLayout(choices);
    m_views = new QStackedWidget(this);
    m_views->addWidget(BuildGirthView());
    m_views->addWidget(BuildBodyFatView());
    Body()->addWidget(m_views, 1);
    connect(m_bodyFatChoice, &QRadioButton::toggled, this, [this](bool on) {
        StorePending();
        m_views->setCurrentIndex(on ? 1 : 0);
    });
    Refresh();
}

QWidget* CMeasurementsPane::BuildGirthView() {
    auto* view = new QWidget(this);
    auto* grid = new QGridLayout(view);
    grid->setContentsMargins(0, 0, 0, 0);
    for (int girth = 0; girth < kGirthCount; ++girth) {
        const QString name = QString::fromLatin1(kGirthNames[girth]);
        grid->addWidget(new QLabel(name, view), girth, 0);
        QLineEdit* box = NumberBox(name.chopped(1), 999.99, 6, view);
        m_girths[static_cast<size_t>(girth)] = box;
        grid->addWidget(box, girth, 1);
        m_units[static_cast<size_t>(girth)] = new QLabel(view);
        grid->addWidget(m_units[static_cast<size_t>(girth)], girth, 2);
        connect(box, &QLineEdit::editingFinished, this, &CMeasurementsPane::StorePending);
    }
    grid->addWidget(new QLabel(QStringLiteral("Topics:"), view), 0, 3);
    m_topics = new QListWidget(view);
    for (const SMeasurementTopic& topic : kMeasurementTopics)
        m_topics->addItem(QString::fromLatin1(topic.name));
    grid->addWidget(m_topics, 1, 3, 4, 1);
    m_help = new QLabel(view);
    m_help->setWordWrap(true);
    m_help->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    grid->addWidget(m_help, 5, 3, 4, 1);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(8, 1);
    connect(m_topics, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row < static_cast<int>(kMeasurementTopics.size()))
            m_help->setText(QString::fromLatin1(kMeasurementTopics[static_cast<size_t>(row)].help));
    });
    m_topics->setCurrentRow(0);
    return view;
}

QWidget* CMeasurementsPane::BuildBodyFatView() {
    auto* view = new QWidget(this);
    auto* layout = new QVBoxLayout(view);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* explanation = new QLabel(QString::fromLatin1(kBodyFatExplanation), view);
    explanation->setWordWrap(true);
    layout->addWidget(explanation);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Percent Body Fat:"), view));
    m_percent = NumberBox(QStringLiteral("PercentBodyFat"), 99.99, 5, view);
    row->addWidget(m_percent);
    m_percentText = new QLabel(view);
    m_percentText->setObjectName(QStringLiteral("PercentText"));
    row->addWidget(m_percentText);
    row->addStretch(1);
    layout->addLayout(row);
    m_automatic = new QCheckBox(QStringLiteral("Automatically calculate value"), view);
    layout->addWidget(m_automatic);
    layout->addStretch(1);
    connect(m_percent, &QLineEdit::editingFinished, this, &CMeasurementsPane::StorePending);
    connect(m_automatic, &QCheckBox::clicked, this, [this] {
        m_automaticChanged = true;
        StorePending();
    });
    return view;
}

QWidget* CMeasurementsPane::FirstControl() {
    return m_views->currentIndex() == 0 ? m_girths[0] : static_cast<QWidget*>(m_automatic);
}

void CMeasurementsPane::Refresh() {
    CDayEntryPane::Refresh();
    const CJournalDB& journal = m_data.Journal();
    const CDayRecord* day = m_data.GetCurrentDay(false);
    const CBodyMeasurements measurements = day ? day->Measurements() : CBodyMeasurements();
    const SMeasurementsPage page =
        FillMeasurementsPage(measurements, journal.Profile().Sex(),
                             day ? day->Weight() : CWeightValue(), journal.Profile().UnitChoice());
    for (size_t girth = 0; girth < m_girths.size(); ++girth) {
        ShowStored(m_girths[girth], NumberText(page.girths[girth]));
        m_units[girth]->setText(QString::fromLatin1(page.unitLabel));
    }
    m_automatic->setChecked(page.automatic);
    m_percent->setVisible(!page.automatic);
    ShowStored(m_percent, NumberText(page.typedPercent));
    m_percentText->setVisible(page.automatic);
    m_percentText->setText(FromStored(page.percentText));
    m_automaticChanged = false;
}

void CMeasurementsPane::DiscardPending() {
    CDayEntryPane::DiscardPending();
    m_automaticChanged = false;
}

bool CMeasurementsPane::AnyModified() const {
    for (const QLineEdit* box : m_girths)
        if (box->isModified())
            return true;
    return m_percent->isModified() || m_automaticChanged;
}

void CMeasurementsPane::StorePending() {
    if (!AnyModified())
        return;
    CDayRecord* day = m_data.GetCurrentDay(true);
    if (!day)
        return;
    SMeasurementsEntry entry;
    entry.automatic = m_automatic->isChecked();
    entry.typedPercent = m_percent->text().toDouble();
    for (size_t girth = 0; girth < m_girths.size(); ++girth)
        entry.girths[girth] = m_girths[girth]->text().toDouble();
    for (QLineEdit* box : m_girths)
        box->setModified(false);
    m_percent->setModified(false);
    m_automaticChanged = false;
    const SMeasurementsStored stored =
        StoreMeasurementsPage(day->Measurements(), entry, m_data.Journal().Profile().UnitChoice());
    m_data.SetModified();
    m_data.RefreshViews();
    if (stored.girthRefused) {
        ShowPrompt(window(), QString::fromLatin1(kMeasurementsCaption),
                   QString::fromLatin1(kMeasurementsRefusedText), EPromptIcon::Warning,
                   EPromptButtons::Ok);
        if (stored.focusGirth >= 0 && stored.focusGirth < kGirthCount) {
            QLineEdit* box = GirthBox(stored.focusGirth);
            box->setFocus();
            box->selectAll();
        }
    }
}

} // namespace fitquill
