// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/foodedit/food_pane.h"

#include "core/food/food_db.h"
#include "desktop/document/diet_data.h"
#include "desktop/document/prompt.h"
#include "desktop/document/stored_text.h"
#include "desktop/foodedit/find_results_dialog.h"
#include "desktop/foodedit/food_images.h"
#include "desktop/foodedit/food_tree_ctrl.h"
#include "desktop/widgets/fonts.h"
#include "desktop/widgets/stored_text_guard.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace fitquill {

CFoodPane::CFoodPane(CDietData& data, QWidget* parent) : QWidget(parent), m_data(data) {
    setObjectName(QStringLiteral("FoodPane"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    auto* strip = new QHBoxLayout;
    strip->setContentsMargins(4, 3, 2, 1);
    strip->setSpacing(4);
    auto* icon = new QLabel(this);
    icon->setPixmap(FoodImage(kFoodImageGroup));
    strip->addWidget(icon);
    auto* label = new QLabel(QStringLiteral("Find:"), this);
    label->setFont(CustomFont());
    strip->addWidget(label);
    m_find = new QComboBox(this);
    m_find->setObjectName(QStringLiteral("FindCombo"));
    m_find->setEditable(true);
    GuardStoredText(m_find);
    m_find->setInsertPolicy(QComboBox::NoInsert);
    m_find->setFont(CustomFont());
    m_find->lineEdit()->setMaxLength(kMaxFindLength);
    m_find->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    strip->addWidget(m_find, 1);
    m_findButton = new QToolButton(this);
    m_findButton->setIcon(FoodIcon(kFoodImageFind));
    m_findButton->setToolTip(QStringLiteral("Find"));
    m_findButton->setAutoRaise(true);
    strip->addWidget(m_findButton);
    layout->addLayout(strip);

    m_tree = new CFoodTreeCtrl(data, this);
    layout->addWidget(m_tree, 1);
    setFocusProxy(m_tree);

    connect(m_findButton, &QToolButton::clicked, this, &CFoodPane::Find);
    connect(m_find->lineEdit(), &QLineEdit::returnPressed, this, &CFoodPane::Find);
    connect(&data, &CDietData::ReloadFoodTreeSent, this, &CFoodPane::FillHistory);
    FillHistory();
}

void CFoodPane::FillHistory() {
    const QString text = m_find->currentText();
    m_find->clear();
    for (const std::string& entry : m_data.FoodDB().FindHistory())
        m_find->addItem(FromStored(entry));
    m_find->setEditText(text);
}

void CFoodPane::Find() {
    const QString text = m_find->currentText().trimmed();
    CFoodDB& db = m_data.FoodDB();
    auto finish = [this] {
        m_find->lineEdit()->selectAll();
        m_find->setFocus();
    };
    if (text.isEmpty()) {
        ShowPrompt(this, QStringLiteral("Find"), QStringLiteral("Please enter a find string."),
                   EPromptIcon::Warning, EPromptButtons::Ok);
        finish();
        return;
    }
    db.Find(ToStored(text));
    FillHistory();
    m_find->setEditText(text);
    if (db.SearchResultCount() == 0) {
        ShowPrompt(this, QStringLiteral("Find"), QStringLiteral("No matching food items found."),
                   EPromptIcon::Warning, EPromptButtons::Ok);
        finish();
        return;
    }
    CFindResultsDialog dialog(db, window());
    if (dialog.exec() == QDialog::Accepted)
        m_tree->SelectAddress({dialog.Group(), dialog.Category(), dialog.Item()});
    finish();
}

bool CFoodPane::TreeHasFocus() const {
    QWidget* focused = QApplication::focusWidget();
    return focused && (focused == m_tree || m_tree->isAncestorOf(focused));
}

bool CFoodPane::QueryCommand(int id, bool& enabled) {
    return TreeHasFocus() && m_tree->QueryCommand(id, enabled);
}

bool CFoodPane::ExecuteCommand(int id) {
    return TreeHasFocus() && m_tree->ExecuteCommand(id);
}

} // namespace fitquill
