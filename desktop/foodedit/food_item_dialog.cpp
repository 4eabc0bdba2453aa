// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/foodedit/food_item_dialog.h"

#include "core/food/food_db.h"
#include "core/food/nutrient.h"
#include "core/food/recipe.h"
#include "desktop/document/prompt.h"
#include "desktop/document/stored_text.h"
#include "desktop/foodedit/food_fields.h"
#include "desktop/foodedit/food_name_dialog.h"
#include "desktop/widgets/numeric_edit.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace fitquill {

CFoodItemDialog* CFoodItemDialog::NewItem(CFoodDB& db, int group, int category, QWidget* parent) {
    return new CFoodItemDialog(db, false, group, category, -1, parent);
}

CFoodItemDialog* CFoodItemDialog::NewRecipe(CFoodDB& db, int group, int category,
                                            std::vector<CFoodItem> entries, QWidget* parent) {
    auto* dialog = new CFoodItemDialog(db, false, group, category, -1, parent);
    dialog->m_recipe = std::move(entries);
    dialog->AddRecipeFields();
    return dialog;
}

CFoodItemDialog* CFoodItemDialog::EditItem(CFoodDB& db, int group, int category, int item,
                                           QWidget* parent) {
    return new CFoodItemDialog(db, true, group, category, item, parent);
}

CFoodItemDialog::CFoodItemDialog(CFoodDB& db, bool editing, int group, int category, int item,
                                 QWidget* parent)
    : QDialog(parent), m_db(db), m_editing(editing), m_group(group), m_category(category),
      m_item(item) {
    setWindowTitle(editing ? QStringLiteral("Edit Food Item") : QStringLiteral("New Food Item"));
    auto* layout = new QVBoxLayout(this);
    CFoodFields::SOptions options;
    options.name = true;
    options.allUnits = !editing;
    m_fields = new CFoodFields(options, this);
    layout->addWidget(m_fields);

    if (editing) {
        m_fields->SetItem(db.GetFoodItem(static_cast<uint16_t>(group),
                                         static_cast<uint16_t>(category),
                                         static_cast<uint16_t>(item)));
    } else {
        // A new item starts from one serving of nothing, in any unit.
        CFoodItem blank;
        blank.SetServing(CServingMeasure(1.0f, kUnitItem));
        m_fields->SetItem(blank);
        m_fields->SetName(QString());
        auto* where = new QGridLayout;
        where->addWidget(new QLabel(QStringLiteral("Select a food group:"), this), 0, 0);
        m_groupCombo = new QComboBox(this);
        where->addWidget(m_groupCombo, 0, 1);
        auto* newGroup = new QPushButton(QStringLiteral("New..."), this);
        where->addWidget(newGroup, 0, 2);
        where->addWidget(new QLabel(QStringLiteral("Select a category:"), this), 1, 0);
        m_categoryCombo = new QComboBox(this);
        where->addWidget(m_categoryCombo, 1, 1);
        auto* newCategory = new QPushButton(QStringLiteral("New..."), this);
        where->addWidget(newCategory, 1, 2);
        layout->addLayout(where);
        connect(newGroup, &QPushButton::clicked, this, &CFoodItemDialog::NewGroup);
        connect(newCategory, &QPushButton::clicked, this, &CFoodItemDialog::NewCategory);
        connect(m_groupCombo, &QComboBox::activated, this, [this](int index) {
            m_group = index;
            FillCategories(0);
        });
        connect(m_categoryCombo, &QComboBox::activated, this,
                [this](int index) { m_category = index; });
        FillGroups(group < db.GroupCount() ? group : 0);
        FillCategories(category);
    }

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void CFoodItemDialog::FillGroups(int select) {
    m_groupCombo->clear();
    for (const CFoodGroup& group : m_db.Groups())
        m_groupCombo->addItem(FromStored(group.Name()));
    m_group = m_db.GroupCount() == 0 ? -1 : std::clamp(select, 0, m_db.GroupCount() - 1);
    m_groupCombo->setCurrentIndex(m_group);
}

void CFoodItemDialog::FillCategories(int select) {
    m_categoryCombo->clear();
    const auto* categories =
        m_group < 0 ? nullptr : m_db.GetCategories(static_cast<uint16_t>(m_group));
    if (categories)
        for (const CFoodCategory& category : *categories)
            m_categoryCombo->addItem(FromStored(category.Name()));
    const int count = m_categoryCombo->count();
    m_category = count == 0 ? -1 : std::clamp(select, 0, count - 1);
    m_categoryCombo->setCurrentIndex(m_category);
}

void CFoodItemDialog::NewGroup() {
    CFoodNameDialog dialog(m_db, CFoodNameDialog::EKind::Group, false, 0, 0, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_createdContainers = true;
    FillGroups(dialog.Index());
    FillCategories(0);
}

void CFoodItemDialog::NewCategory() {
    if (m_group < 0)
        return;
    CFoodNameDialog dialog(m_db, CFoodNameDialog::EKind::Category, false, m_group, 0, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_createdContainers = true;
    FillCategories(dialog.Index());
}

void CFoodItemDialog::AddRecipeFields() {
    auto* layout = qobject_cast<QVBoxLayout*>(this->layout());
    auto* row = new QGridLayout;
    auto* servingsLabel = new QLabel(QStringLiteral("Servings the recipe makes:"), this);
    m_servings = new QSpinBox(this);
    m_servings->setRange(1, kMaxRecipeServings);
    m_servings->setValue(1);
    m_servings->setAccessibleName(QStringLiteral("Servings the recipe makes"));
    servingsLabel->setBuddy(m_servings);
    row->addWidget(servingsLabel, 0, 0);
    row->addWidget(m_servings, 0, 1);
    m_ingredients = new QLabel(this);
    m_ingredients->setWordWrap(true);
    row->addWidget(new QLabel(QStringLiteral("Ingredients:"), this), 1, 0, Qt::AlignTop);
    row->addWidget(m_ingredients, 1, 1);
    layout->insertLayout(1, row);
    connect(m_servings, &QSpinBox::valueChanged, this, &CFoodItemDialog::ShowRecipe);
    ShowRecipe();
}

void CFoodItemDialog::ShowRecipe() {
    const QString name = m_fields->Name();
    const CFoodItem recipe = RecipeFoodItem(m_recipe, m_servings->value());
    m_fields->SetItem(recipe);
    m_fields->SetName(name);
    const std::string& ingredients = recipe.SearchName();
    m_ingredients->setText(FromStored(ingredients));
}

CFoodItem CFoodItemDialog::RecipeItem(const std::string& name) {
    const CFoodItem shown = m_fields->Item();
    const CServingMeasure serving(
        static_cast<float>(m_fields->AmountEdit()->ReadValue()),
        static_cast<uint8_t>(m_fields->UnitCombo()->currentData().toInt()));
    std::vector<CNutrientValue> nutrients;
    for (const CNutrientValue& value : shown.Nutrients())
        nutrients.emplace_back(value.Index(), shown.NutrientValue(value.Index()));
    CFoodItem item;
    item.SetName(name, false);
    item.SetSearchName(RecipeFoodItem(m_recipe).SearchName());
    item.SetBaseMeasure(serving, false);
    item.SetServing(serving);
    item.SetStoredNutrients(nutrients);
    return item;
}

void CFoodItemDialog::accept() {
    const QString caption = windowTitle();
    // Every field must be filled, the name too: an empty one is an invalid value like an
    // empty nutrient box, not a duplicate name.
    if (m_fields->Name().isEmpty()) {
        ShowPrompt(this, caption, QStringLiteral("You have an invalid nutrient value."),
                   EPromptIcon::Warning, EPromptButtons::Ok);
        m_fields->NameEdit()->setFocus();
        return;
    }
    if (!m_fields->Validate(caption))
        return;
    const std::string name = ToStored(m_fields->Name());
    // A stored name longer than the limit may stay as it is; a changed one must keep to it.
    const bool tooLong = static_cast<int>(m_fields->Name().size()) > CFoodFields::kMaxNameLength &&
                         !(m_editing && name == m_db.GetFoodItem(static_cast<uint16_t>(m_group),
                                                                 static_cast<uint16_t>(m_category),
                                                                 static_cast<uint16_t>(m_item))
                                                    .Name());
    const auto group = static_cast<uint16_t>(m_group);
    const auto category = static_cast<uint16_t>(m_category);
    int index = -1;
    if (tooLong) {
        index = -1;
    } else if (m_editing) {
        CFoodItem edited = m_fields->Item();
        edited.SetName(name, true);
        index = m_db.ReplaceFoodItem(group, category, static_cast<uint16_t>(m_item), edited);
    } else {
        if (m_category < 0) {
            ShowPrompt(this, caption, QStringLiteral("You have an invalid nutrient value."),
                       EPromptIcon::Warning, EPromptButtons::Ok);
            m_categoryCombo->setFocus();
            return;
        }
        // The count is checked before the name is looked at.
        if (m_db.ItemCount(group, category) >= kMaxItems) {
            ShowPrompt(this, caption,
                       QStringLiteral("You can enter a maximum of %1 food items per category.")
                           .arg(kMaxItems),
                       EPromptIcon::Warning, EPromptButtons::Ok);
            m_buttons->button(QDialogButtonBox::Cancel)->setFocus();
            return;
        }
        const CServingMeasure serving(
            static_cast<float>(m_fields->AmountEdit()->ReadValue()),
            static_cast<uint8_t>(m_fields->UnitCombo()->currentData().toInt()));
        CFoodItem item;
        if (!m_recipe.empty()) {
            item = RecipeItem(name);
        } else {
            item.SetName(name, true);
            item.SetBaseMeasure(serving, false);
            item.SetServing(serving);
            for (int slot = 0; slot < kBasicNutrientCount; ++slot)
                item.SetNutrientValue(
                    slot, static_cast<float>(m_fields->NutrientEdit(slot)->ReadValue()));
        }
        index = m_db.AddFoodItem(group, category, item);
    }
    if (index < 0) {
        ShowPrompt(this, m_editing ? QStringLiteral("Rename Food") : caption,
                   QStringLiteral("You entered a duplicate or invalid name."), EPromptIcon::Warning,
                   EPromptButtons::Ok);
        m_fields->NameEdit()->selectAll();
        m_fields->NameEdit()->setFocus();
        return;
    }
    m_item = index;
    QDialog::accept();
}

} // namespace fitquill
