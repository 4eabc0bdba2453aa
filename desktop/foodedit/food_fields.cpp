// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/foodedit/food_fields.h"

#include "core/calc/units.h"
#include "core/food/nutrient.h"
#include "core/journal/day_food_log.h"
#include "desktop/document/prompt.h"
#include "desktop/document/stored_text.h"
#include "desktop/widgets/numeric_edit.h"
#include "desktop/widgets/stored_text_guard.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <cmath>

namespace fitquill {
namespace {

int& MealTypeOfThisRun() {
    static int mealType = kMealBreakfast;
    return mealType;
}

constexpr const char* kNutrientLabels[kBasicNutrientCount] = {
    "Cal:", "Carb:", "Prot:", "Fiber:", "Fat:", "SFat:"};

} // namespace

int CFoodFields::RememberedMealType() {
    const int mealType = MealTypeOfThisRun();
    return mealType >= 0 && mealType < kMealCount ? mealType : kMealCount - 1;
}

void CFoodFields::RememberMealType(int mealType) {
    MealTypeOfThisRun() = mealType;
}

CFoodFields::CFoodFields(const SOptions& options, QWidget* parent)
    : QWidget(parent), m_options(options) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    if (options.name) {
        layout->addWidget(new QLabel(QStringLiteral("Enter a food name:"), this));
        m_name = new QLineEdit(this);
        GuardStoredText(m_name);
        m_name->setMaxLength(kMaxNameLength);
        layout->addWidget(m_name);
        connect(m_name, &QLineEdit::textChanged, this, &CFoodFields::NameChanged);
    }

    auto* serving = new QHBoxLayout;
    serving->addWidget(new QLabel(QStringLiteral("Serving Size:"), this));
    m_amount = new CNumericEdit(this);
    m_amount->SetDecimals(2, false);
    m_amount->SetRange(0.0, CServingMeasure::kMaxAmount);
    m_amount->setMaxLength(8);
    serving->addWidget(m_amount);
    m_unit = new QComboBox(this);
    serving->addWidget(m_unit);
    layout->addLayout(serving);

    auto* box = new QGroupBox(QStringLiteral("Nutrient Information"), this);
    auto* grid = new QGridLayout(box);
    for (int slot = 0; slot < kBasicNutrientCount; ++slot) {
        auto* edit = new CNumericEdit(box);
        if (slot == kNutrientCalories) {
            edit->SetDecimals(0, false);
            edit->SetRange(0.0, kMaxCalories);
            // Five characters, so that the cap of 10000 fits in the box.
            edit->setMaxLength(5);
            // A pasted value above the cap is replaced at once.
            connect(edit, &QLineEdit::textChanged, this, [edit] {
                if (edit->text().trimmed().toDouble() > kMaxCalories)
                    edit->SetValue(kMaxCalories);
            });
        } else {
            edit->SetDecimals(1, false);
            edit->SetRange(0.0, 9999.9);
            edit->setMaxLength(6);
        }
        const int row = slot % 3;
        const int column = (slot / 3) * 2;
        grid->addWidget(new QLabel(QString::fromLatin1(kNutrientLabels[slot]), box), row, column);
        grid->addWidget(edit, row, column + 1);
        m_nutrients[static_cast<size_t>(slot)] = edit;
    }
    layout->addWidget(box);

    if (options.mealType) {
        auto* meal = new QHBoxLayout;
        auto* mealLabel = new QLabel(QStringLiteral("Meal Type (BLDS)"), this);
        meal->addWidget(mealLabel);
        m_meal = new QComboBox(this);
        mealLabel->setBuddy(m_meal);
        for (int type = 0; type < kMealCount; ++type)
            m_meal->addItem(QString::fromLatin1(CDayFoodLog::MealName(type)));
        m_meal->setCurrentIndex(RememberedMealType());
        meal->addWidget(m_meal);
        layout->addLayout(meal);
    }

    connect(m_amount, &QLineEdit::editingFinished, this, &CFoodFields::OnAmountLeft);
    connect(m_unit, &QComboBox::activated, this, &CFoodFields::OnUnitChosen);
    Clear();
}

void CFoodFields::SetItem(const CFoodItem& item) {
    m_item = item;
    m_hasItem = true;
    if (m_name) {
        // A longer stored name (from an import or the handheld) is shown whole; only a name
        // the user changes must keep to the limit.
        const QString name = FromStored(item.Name());
        m_name->setMaxLength(std::max(kMaxNameLength, static_cast<int>(name.size())));
        m_name->setText(name);
    }
    m_amount->setEnabled(true);
    m_unit->setEnabled(true);
    for (CNumericEdit* edit : m_nutrients)
        edit->setEnabled(true);
    m_amount->SetValue(item.Serving().Amount());
    FillUnits();
    ShowNutrients(false);
}

void CFoodFields::Clear() {
    m_hasItem = false;
    m_item = CFoodItem();
    m_amount->setText(QString());
    m_amount->ReadValue();
    m_amount->setEnabled(false);
    m_unit->clear();
    m_unit->setEnabled(false);
    for (size_t slot = 0; slot < m_nutrients.size(); ++slot) {
        m_nutrients[slot]->setText(QString());
        m_nutrients[slot]->ReadValue();
        m_nutrients[slot]->setEnabled(false);
        m_shownTexts[slot].clear();
    }
}

void CFoodFields::FillUnits() {
    m_unit->clear();
    const SUnitSetInfo set = UnitSetInfo(m_options.allUnits ? 0 : m_item.Serving().UnitSet());
    for (int unit = set.firstIndex; unit < set.firstIndex + set.count; ++unit) {
        m_unit->addItem(QString::fromLatin1(UnitInfo(unit)->name), unit);
        if (unit == m_item.Serving().Unit())
            m_unit->setCurrentIndex(m_unit->count() - 1);
    }
}

void CFoodFields::ShowNutrients(bool roundCalories) {
    for (int slot = 0; slot < kBasicNutrientCount; ++slot) {
        double value = m_item.NutrientValue(slot);
        if (slot == kNutrientCalories)
            value = roundCalories ? std::round(value) : std::floor(value);
        CNumericEdit* edit = m_nutrients[static_cast<size_t>(slot)];
        edit->SetValue(value);
        m_shownTexts[static_cast<size_t>(slot)] = edit->text();
    }
}

CServingMeasure CFoodFields::ServingFromFields() {
    const double amount = m_amount->ReadValue();
    const int unit =
        m_unit->currentIndex() >= 0 ? m_unit->currentData().toInt() : m_item.Serving().Unit();
    return CServingMeasure(static_cast<float>(amount), static_cast<uint8_t>(unit),
                           m_item.Serving().UnitSet());
}

void CFoodFields::OnAmountLeft() {
    if (!m_hasItem)
        return;
    const CServingMeasure serving = ServingFromFields();
    if (!m_amount->HasValue() || serving == m_item.Serving())
        return;
    TakeEditedNutrients();
    m_item.SetServing(serving);
    ShowNutrients(false);
}

void CFoodFields::OnUnitChosen() {
    if (!m_hasItem || m_unit->currentIndex() < 0)
        return;
    TakeEditedNutrients();
    m_item.SetServing(ServingFromFields());
    ShowNutrients(m_options.roundCaloriesOnUnitChange);
}

void CFoodFields::TakeEditedNutrients() {
    const float ratio = m_item.ServingRatio();
    for (int slot = 0; slot < kBasicNutrientCount; ++slot) {
        CNumericEdit* edit = m_nutrients[static_cast<size_t>(slot)];
        if (edit->text() == m_shownTexts[static_cast<size_t>(slot)])
            continue;
        const double typed = edit->ReadValue();
        // The box shows the serving's value; the item keeps it per base portion, so that the
        // entry reads back what was typed.
        const double stored = ratio > 0.0f ? typed / ratio : typed;
        m_item.SetNutrientValue(slot, static_cast<float>(stored));
        m_shownTexts[static_cast<size_t>(slot)] = edit->text();
    }
}

bool CFoodFields::Validate(const QString& caption) {
    QWidget* bad = nullptr;
    const double amount = m_amount->ReadValue();
    if (!m_hasItem || !m_amount->HasValue() || amount < kMinServing)
        bad = m_amount;
    else if (m_unit->currentIndex() < 0)
        bad = m_unit;
    else {
        for (CNumericEdit* edit : m_nutrients) {
            edit->ReadValue();
            if (!edit->HasValue() && edit->text().trimmed().isEmpty()) {
                bad = edit;
                break;
            }
        }
    }
    if (!bad)
        return true;
    ShowPrompt(window(), caption, QStringLiteral("You have an invalid nutrient value."),
               EPromptIcon::Warning, EPromptButtons::Ok);
    bad->setFocus();
    return false;
}

CFoodItem CFoodFields::Item() {
    const CServingMeasure serving = ServingFromFields();
    if (!(serving == m_item.Serving())) {
        TakeEditedNutrients();
        m_item.SetServing(serving);
        ShowNutrients(false);
    }
    TakeEditedNutrients();
    return m_item;
}

QString CFoodFields::Name() const {
    return m_name ? m_name->text().trimmed() : QString();
}

void CFoodFields::SetName(const QString& name) {
    if (m_name)
        m_name->setText(name);
}

int CFoodFields::MealType() const {
    return m_meal ? m_meal->currentIndex() : RememberedMealType();
}

} // namespace fitquill
