// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/dayentry/exercise_entry_form.h"

#include "core/report/day_entry_texts.h"
#include "desktop/document/diet_data.h"
#include "desktop/document/prompt.h"
#include "desktop/document/stored_text.h"
#include "desktop/widgets/stored_text_guard.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace fitquill {
namespace {

QLineEdit* DigitsBox(int digits, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setMaxLength(digits);
    box->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("\\d{0,%1}").arg(digits)), box));
    return box;
}

} // namespace

CExerciseEntryForm::CExerciseEntryForm(CDietData& data, bool refreshAfterCalories, QWidget* parent)
    : QWidget(parent), m_data(data), m_refreshAfterCalories(refreshAfterCalories) {
    m_activity = new QComboBox(this);
    m_activity->setObjectName(QStringLiteral("Activity"));
    m_variant = new QComboBox(this);
    m_variant->setObjectName(QStringLiteral("Variant"));
    m_intensity = new QComboBox(this);
    m_intensity->setObjectName(QStringLiteral("Intensity"));
    m_activity->setAccessibleName(QStringLiteral("Activity"));
    m_variant->setAccessibleName(QStringLiteral("Variant"));
    m_intensity->setAccessibleName(QStringLiteral("Intensity"));
    m_nameLabel = new QLabel(QStringLiteral("Name:"), this);
    m_name = new QLineEdit(this);
    GuardStoredText(m_name);
    m_name->setMaxLength(kMaxNameLength);
    m_minutes = DigitsBox(3, this);
    m_minutes->setObjectName(QStringLiteral("Minutes"));
    m_calories = DigitsBox(4, this);
    m_calories->setObjectName(QStringLiteral("Calories"));
    m_caloriesButton = new QPushButton(QStringLiteral("Calories"), this);
    m_log = new QPushButton(QStringLiteral("Log"), this);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_activity, 0, 0, 1, 4);
    layout->addWidget(m_variant, 1, 0, 1, 4);
    layout->addWidget(m_intensity, 2, 0, 1, 4);
    layout->addWidget(m_nameLabel, 1, 0);
    layout->addWidget(m_name, 1, 1, 1, 3);
    layout->addWidget(new QLabel(QStringLiteral("Minutes:"), this), 3, 0);
    layout->addWidget(m_minutes, 3, 1);
    layout->addWidget(new QLabel(QStringLiteral("Calories:"), this), 3, 2);
    layout->addWidget(m_calories, 3, 3);
    layout->addWidget(m_caloriesButton, 4, 0, 1, 2);
    layout->addWidget(m_log, 4, 2, 1, 2);

    FillList(m_activity, m_cursor.Activities(), m_cursor.Activity());
    ChooseActivity(m_cursor.Activity());

    connect(m_activity, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_filling)
            ChooseActivity(static_cast<int16_t>(index));
    });
    connect(m_variant, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_filling)
            ChooseVariant(index);
    });
    connect(m_intensity, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_filling)
            return;
        m_cursor.SetIntensity(static_cast<int16_t>(index));
        ClearTimes();
    });
    connect(m_minutes, &QLineEdit::textChanged, this, &CExerciseEntryForm::UpdateEnabling);
    connect(m_calories, &QLineEdit::textChanged, this, &CExerciseEntryForm::UpdateEnabling);
    connect(m_caloriesButton, &QPushButton::clicked, this, &CExerciseEntryForm::ComputeCalories);
    connect(m_log, &QPushButton::clicked, this, &CExerciseEntryForm::LogClicked);
    UpdateEnabling();
}

void CExerciseEntryForm::FillList(QComboBox* box, const SExerciseList& list, int selected) {
    m_filling = true;
    box->clear();
    for (int i = 0; i < list.count; ++i)
        box->addItem(FromStored(list.Name(i)));
    box->setCurrentIndex(list.Contains(selected) ? selected : -1);
    box->setEnabled(!list.Empty());
    m_filling = false;
}

void CExerciseEntryForm::ChooseActivity(int activity) {
    m_cursor.SetActivity(static_cast<int16_t>(activity));
    const bool userDefined = IsUserDefined();
    m_variant->setVisible(!userDefined);
    m_intensity->setVisible(!userDefined);
    m_nameLabel->setVisible(userDefined);
    m_name->setVisible(userDefined);
    FillList(m_variant, m_cursor.Variants(), m_cursor.Variant());
    FillList(m_intensity, m_cursor.Intensities(), m_cursor.Intensity());
    ClearTimes();
}

void CExerciseEntryForm::ChooseVariant(int variant) {
    m_cursor.SetVariant(static_cast<int16_t>(variant));
    FillList(m_intensity, m_cursor.Intensities(), m_cursor.Intensity());
    ClearTimes();
}

void CExerciseEntryForm::ClearTimes() {
    m_minutes->clear();
    m_calories->clear();
    UpdateEnabling();
}

void CExerciseEntryForm::UpdateEnabling() {
    const bool minutes = !m_minutes->text().isEmpty();
    m_log->setEnabled(minutes && !m_calories->text().isEmpty());
    m_caloriesButton->setEnabled(minutes && !IsUserDefined());
}

void CExerciseEntryForm::Load(const CExerciseEntry& entry) {
    m_filling = true;
    m_activity->setCurrentIndex(entry.Activity());
    m_filling = false;
    ChooseActivity(entry.Activity());
    m_cursor.SetVariant(entry.Variant());
    FillList(m_variant, m_cursor.Variants(), m_cursor.Variant());
    m_cursor.SetIntensity(entry.Intensity());
    FillList(m_intensity, m_cursor.Intensities(), m_cursor.Intensity());
    if (IsUserDefined())
        m_name->setText(FromStored(entry.Name()));
    m_minutes->setText(QString::number(entry.Minutes()));
    m_calories->setText(QString::number(entry.Calories()));
    UpdateEnabling();
}

void CExerciseEntryForm::ComputeCalories() {
    const CDayRecord* day = m_data.GetCurrentDay(false);
    if (!day || !day->Weight().IsSet()) {
        ShowPrompt(window(), QString::fromLatin1(kCaloriesCaption),
                   QString::fromLatin1(kNeedWeightText), EPromptIcon::Warning, EPromptButtons::Ok);
        return;
    }
    const int minutes = m_minutes->text().toInt();
    if (minutes <= 0) {
        ShowPrompt(window(), QString::fromLatin1(kCaloriesCaption),
                   QString::fromLatin1(kNeedTimeText), EPromptIcon::Warning, EPromptButtons::Ok);
        return;
    }
    const std::optional<uint16_t> calories =
        m_cursor.Calories(day->Weight(), static_cast<int16_t>(minutes));
    // A failed calculation leaves the box empty (and Log disabled) rather than offering 0.
    m_calories->setText(calories ? QString::number(*calories) : QString());
    if (m_refreshAfterCalories)
        m_data.RefreshViews();
}

std::optional<CExerciseEntry> CExerciseEntryForm::EntryToLog() {
    const int minutes = m_minutes->text().toInt();
    const int calories = m_calories->text().toInt();
    if (minutes <= 0 || calories <= 0) {
        ShowPrompt(window(), QString::fromLatin1(kExerciseLogCaption),
                   QString::fromLatin1(kExerciseLogRefusedText), EPromptIcon::Warning,
                   EPromptButtons::Ok);
        return std::nullopt;
    }
    CExerciseEntry entry;
    entry.SetCalories(calories);
    entry.SetMinutes(minutes);
    entry.SetActivity(m_cursor.Activity());
    entry.SetVariant(m_cursor.Variant());
    entry.SetIntensity(m_cursor.Intensity());
    const QString name = IsUserDefined()
                             ? m_name->text().left(kMaxNameRead)
                             : FromStored(m_cursor.Activities().Name(m_cursor.Activity()));
    entry.SetName(ToStored(name));
    return entry;
}

} // namespace fitquill
