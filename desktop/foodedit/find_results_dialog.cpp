// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/foodedit/find_results_dialog.h"

#include "core/food/food_db.h"
#include "desktop/document/stored_text.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

namespace fitquill {

CFindResultsDialog::CFindResultsDialog(const CFoodDB& db, QWidget* parent)
    : QDialog(parent), m_db(db) {
    setWindowTitle(QStringLiteral("Find Results"));
    auto* layout = new QVBoxLayout(this);
    m_list = new QListWidget(this);
    m_list->setAccessibleName(QStringLiteral("Found food items"));
    for (const SFoodSearchResult& result : db.SearchResults())
        m_list->addItem(FromStored(result.item.Name()));
    m_list->setCurrentRow(0);
    layout->addWidget(m_list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    resize(260, 320);
}

void CFindResultsDialog::accept() {
    const int row = m_list->currentRow();
    if (row < 0 || row >= m_db.SearchResultCount())
        return;
    const SFoodSearchResult& result = m_db.GetSearchResult(static_cast<uint16_t>(row));
    m_group = result.group;
    m_category = result.category;
    m_item = result.itemIndex;
    QDialog::accept();
}

} // namespace fitquill
