// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/foodedit/insert_food_dialog.h"

#include "core/food/food_db.h"
#include "core/journal/day_record.h"
#include "desktop/document/diet_data.h"
#include "desktop/document/prompt.h"
#include "desktop/document/stored_text.h"
#include "desktop/foodedit/food_fields.h"
#include "desktop/foodedit/food_item_dialog.h"
#include "desktop/foodedit/food_name_dialog.h"
#include "desktop/widgets/numeric_edit.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace fitquill {
namespace {

QString Text(const std::string& text) {
    return FromStored(text);
}

// The position a selection moves to after a deletion: the same one, or the new last.
int AfterDeletion(int deleted, int countNow) {
    return countNow == 0 ? -1 : std::min(deleted, countNow - 1);
}

} // namespace

CInsertFoodDialog::CInsertFoodDialog(CDietData& data, EMode mode, int group, int category, int item,
                                     int sortMode, QWidget* parent)
    : QDialog(parent), m_data(data), m_mode(mode), m_group(group), m_category(category),
      m_item(item), m_sortMode(sortMode) {
    Build(mode);
}

CInsertFoodDialog::CInsertFoodDialog(CDietData& data, int position, int sortMode, QWidget* parent)
    : QDialog(parent), m_data(data), m_mode(EMode::EditEntry), m_group(-1), m_category(-1),
      m_item(-1), m_sortMode(sortMode), m_position(position) {
    Build(EMode::EditEntry);
}

void CInsertFoodDialog::Build(EMode mode) {
    setWindowTitle(mode == EMode::EditEntry ? QStringLiteral("Edit Food")
                                            : QStringLiteral("Insert Food"));
    auto* layout = new QVBoxLayout(this);
    if (mode == EMode::Browse)
        BuildSelectors();

    CFoodFields::SOptions options;
    options.mealType = true;
    options.name = mode == EMode::EditEntry;
    options.roundCaloriesOnUnitChange = mode == EMode::Browse;
    m_fields = new CFoodFields(options, this);
    if (mode == EMode::OneItem) {
        const CFoodItem& item = m_data.FoodDB().GetFoodItem(static_cast<uint16_t>(m_group),
                                                            static_cast<uint16_t>(m_category),
                                                            static_cast<uint16_t>(m_item));
        auto* name = new QLabel(Text(item.Name()), this);
        QFont bold = name->font();
        bold.setBold(true);
        name->setFont(bold);
        layout->addWidget(name);
        m_fields->SetItem(item);
    } else if (mode == EMode::EditEntry) {
        CDayRecord* day = m_data.GetCurrentDay(false);
        const CFoodItem* entry =
            day ? day->FoodLog().DisplayRow(m_sortMode, m_position).entry : nullptr;
        if (entry) {
            m_fields->SetItem(*entry);
            m_fields->MealCombo()->setCurrentIndex(entry->MealType());
        }
    }
    layout->addWidget(m_fields);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    if (mode != EMode::EditEntry)
        m_buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Log"));
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    if (mode == EMode::EditEntry) {
        auto enableOk = [this] {
            m_buttons->button(QDialogButtonBox::Ok)->setEnabled(!m_fields->Name().isEmpty());
        };
        connect(m_fields, &CFoodFields::NameChanged, this, enableOk);
        enableOk();
    }
    if (mode == EMode::Browse) {
        FillGroups(m_group);
        m_fields->AmountEdit()->setFocus();
    }
}

void CInsertFoodDialog::BuildSelectors() {
    auto* grid = new QGridLayout;
    const QString labels[3] = {QStringLiteral("Select a food group:"),
                               QStringLiteral("Select a category:"),
                               QStringLiteral("Select a food item:")};
    m_groupCombo = new QComboBox(this);
    m_categoryCombo = new QComboBox(this);
    m_itemList = new QListWidget(this);
    m_itemList->setMinimumHeight(120);
    QWidget* selectors[3] = {m_groupCombo, m_categoryCombo, m_itemList};
    for (int selector = 0; selector < 3; ++selector) {
        grid->addWidget(new QLabel(labels[selector], this), selector * 2, 0, 1, 4);
        grid->addWidget(selectors[selector], selector * 2 + 1, 0);
        const bool itemRow = selector == 2;
        const QString names[3] = {itemRow ? QStringLiteral("New...") : QStringLiteral("New"),
                                  QStringLiteral("Delete"),
                                  itemRow ? QStringLiteral("Edit...") : QStringLiteral("Edit")};
        for (int which = 0; which < 3; ++which) {
            auto* button = new QPushButton(names[which], this);
            button->setAutoDefault(false);
            grid->addWidget(button, selector * 2 + 1, 1 + which, Qt::AlignTop);
            m_selectorButtons[selector][which] = button;
            connect(button, &QPushButton::clicked, this, [this, selector, which] {
                if (which == 1)
                    Delete(selector);
                else
                    NewOrEdit(selector, which == 2);
            });
        }
    }
    grid->setColumnStretch(0, 1);
    static_cast<QVBoxLayout*>(layout())->addLayout(grid);
    connect(m_groupCombo, &QComboBox::activated, this, [this](int index) {
        m_group = index;
        m_item = 0;
        FillCategories(0);
    });
    connect(m_categoryCombo, &QComboBox::activated, this, [this](int index) {
        m_category = index;
        FillItems(0);
    });
    connect(m_itemList, &QListWidget::currentRowChanged, this, [this](int row) {
        m_item = row;
        ShowItem();
    });
}

QPushButton* CInsertFoodDialog::Button(int selector, int which) const {
    if (selector < 0 || selector > 2 || which < 0 || which > 2)
        return nullptr;
    return m_selectorButtons[selector][which];
}

void CInsertFoodDialog::FillGroups(int select) {
    const CFoodDB& db = m_data.FoodDB();
    m_groupCombo->clear();
    for (const CFoodGroup& group : db.Groups())
        m_groupCombo->addItem(Text(group.Name()));
    const int count = db.GroupCount();
    m_group = count == 0 ? -1 : std::clamp(select, 0, count - 1);
    m_groupCombo->setCurrentIndex(m_group);
    FillCategories(m_category);
}

void CInsertFoodDialog::FillCategories(int select) {
    const CFoodDB& db = m_data.FoodDB();
    m_categoryCombo->clear();
    const auto* categories =
        m_group < 0 ? nullptr : db.GetCategories(static_cast<uint16_t>(m_group));
    if (categories)
        for (const CFoodCategory& category : *categories)
            m_categoryCombo->addItem(Text(category.Name()));
    const int count = m_categoryCombo->count();
    m_category = count == 0 ? -1 : std::clamp(select, 0, count - 1);
    m_categoryCombo->setCurrentIndex(m_category);
    FillItems(m_item);
}

void CInsertFoodDialog::FillItems(int select) {
    const CFoodDB& db = m_data.FoodDB();
    const QSignalBlocker quiet(m_itemList);
    m_itemList->clear();
    if (m_category >= 0)
        for (const CFoodItem& item :
             db.GetCategory(static_cast<uint16_t>(m_group), static_cast<uint16_t>(m_category))
                 .Items())
            m_itemList->addItem(Text(item.Name()));
    const int count = m_itemList->count();
    m_item = count == 0 ? -1 : std::clamp(select, 0, count - 1);
    m_itemList->setCurrentRow(m_item);
    ShowItem();
}

void CInsertFoodDialog::ShowItem() {
    if (m_item < 0)
        m_fields->Clear();
    else
        m_fields->SetItem(m_data.FoodDB().GetFoodItem(static_cast<uint16_t>(m_group),
                                                      static_cast<uint16_t>(m_category),
                                                      static_cast<uint16_t>(m_item)));
    UpdateButtons();
}

void CInsertFoodDialog::UpdateButtons() {
    const bool has[3] = {m_group >= 0, m_category >= 0, m_item >= 0};
    for (int selector = 0; selector < 3; ++selector) {
        // New needs the container above; Delete and Edit need a selection.
        const bool container = selector == 0 || has[selector - 1];
        m_selectorButtons[selector][0]->setEnabled(container);
        m_selectorButtons[selector][1]->setEnabled(has[selector]);
        m_selectorButtons[selector][2]->setEnabled(has[selector]);
    }
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(m_item >= 0);
}

void CInsertFoodDialog::NewOrEdit(int selector, bool editing) {
    CFoodDB& db = m_data.FoodDB();
    int index = -1;
    if (selector < 2) {
        const auto kind =
            selector == 0 ? CFoodNameDialog::EKind::Group : CFoodNameDialog::EKind::Category;
        CFoodNameDialog dialog(db, kind, editing, std::max(m_group, 0), editing ? m_category : 0,
                               this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        index = dialog.Index();
    } else {
        std::unique_ptr<CFoodItemDialog> dialog(
            editing ? CFoodItemDialog::EditItem(db, m_group, m_category, m_item, this)
                    : CFoodItemDialog::NewItem(db, m_group, m_category, this));
        if (dialog->exec() != QDialog::Accepted) {
            if (dialog->CreatedContainers()) {
                m_result.foodDBChanged = true;
                m_data.SetModified();
                FillGroups(m_group);
            }
            return;
        }
        m_group = dialog->Group();
        m_category = dialog->Category();
        index = dialog->Item();
    }
    m_result.foodDBChanged = true;
    m_data.SetModified();
    if (selector == 0) {
        m_category = 0;
        m_item = 0;
        FillGroups(index);
    } else if (selector == 1) {
        m_item = 0;
        m_category = index;
        FillGroups(m_group);
    } else {
        m_item = index;
        FillGroups(m_group);
    }
}

void CInsertFoodDialog::Delete(int selector) {
    CFoodDB& db = m_data.FoodDB();
    const auto group = static_cast<uint16_t>(m_group);
    const auto category = static_cast<uint16_t>(m_category);
    QString caption;
    QString text;
    if (selector == 0) {
        caption = QStringLiteral("Delete Group");
        text = QStringLiteral("Do you wish to delete the group '%1' and all of its categories and "
                              "food items?")
                   .arg(Text(db.GetGroup(group).Name()));
    } else if (selector == 1) {
        caption = QStringLiteral("Delete Category");
        text = QStringLiteral("Do you wish to delete the category '%1' and all of its food items?")
                   .arg(Text(db.GetCategory(group, category).Name()));
    } else {
        caption = QStringLiteral("Delete Food");
        text =
            QStringLiteral("Do you wish to delete the food item '%1'?")
                .arg(Text(db.GetFoodItem(group, category, static_cast<uint16_t>(m_item)).Name()));
    }
    if (ShowPrompt(this, caption, text, EPromptIcon::Question, EPromptButtons::YesNo) !=
        EPromptAnswer::Yes)
        return;
    if (selector == 0) {
        db.DeleteGroup(group);
        m_category = 0;
        m_item = 0;
        FillGroups(AfterDeletion(m_group, db.GroupCount()));
    } else if (selector == 1) {
        db.DeleteCategory(group, category);
        m_item = 0;
        FillCategories(AfterDeletion(m_category, db.CategoryCount(group)));
    } else {
        db.DeleteFoodItem(group, category, static_cast<uint16_t>(m_item));
        FillItems(AfterDeletion(m_item, db.ItemCount(group, category)));
    }
    m_result.foodDBChanged = true;
    m_data.SetModified();
}

void CInsertFoodDialog::accept() {
    const QString caption = windowTitle();
    if (!m_fields->Validate(caption))
        return;
    const int mealType = m_fields->MealType();
    CFoodFields::RememberMealType(mealType);
    const bool editing = m_mode == EMode::EditEntry;
    CDayRecord* day = m_data.GetCurrentDay(!editing);
    if (!day)
        return;
    CFoodItem entry = m_fields->Item();
    entry.SetMealType(static_cast<uint16_t>(mealType));
    if (editing)
        entry.SetName(ToStored(m_fields->Name()), true);
    CDayFoodLog& log = day->FoodLog();
    m_result.position = editing ? log.ReplaceEntry(m_sortMode, m_position, entry)
                                : log.AddEntry(m_sortMode, entry, m_data.Journal().IdGenerator());
    day->Refresh(m_data.Journal().Profile());
    m_result.accepted = true;
    m_data.SetModified();
    QDialog::accept();
}

} // namespace fitquill
