// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/frame/diet_view.h"

#include "desktop/document/diet_data.h"
#include "desktop/frame/page_tab_ctrl.h"
#include "desktop/print/print_commands.h"
#include "desktop/widgets/commands.h"

#include <QApplication>
#include <QVBoxLayout>

namespace fitquill {

int PageOfViewCommand(int id) {
    switch (id) {
    case kIdViewDietPlan:
        return 0;
    case kIdViewLogbook:
        return 1;
    case kIdViewMealLog:
        return 2;
    case kIdViewDailyJournal:
        return 3;
    case kIdViewSummaryTable:
        return 4;
    case kIdViewNutrientTables:
        return 5;
    default:
        return -1;
    }
}

CDietView::CDietView(CDietData& data, QWidget* parent) : QWidget(parent), m_data(data) {
    m_tabs = new CPageTabCtrl(data, this);
    m_printing = std::make_unique<CPrintCommands>(data, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tabs);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Journal"));
}

CDietView::~CDietView() = default;

void CDietView::focusInEvent(QFocusEvent*) {
    m_tabs->setFocus();
}

ICommandTarget* CDietView::FocusedTarget() const {
    QWidget* focused = QApplication::focusWidget();
    if (!focused || !isAncestorOf(focused))
        return nullptr;
    for (QWidget* widget = focused; widget && widget != this; widget = widget->parentWidget()) {
        if (auto* target = dynamic_cast<ICommandTarget*>(widget))
            return target;
    }
    return nullptr;
}

bool CDietView::QueryCommand(int id, bool& enabled) {
    if (ICommandTarget* target = FocusedTarget(); target && target->QueryCommand(id, enabled))
        return true;
    if (m_printing->QueryCommand(id, enabled))
        return true;
    if (PageOfViewCommand(id) >= 0) {
        enabled = true;
        return true;
    }
    return false;
}

bool CDietView::ExecuteCommand(int id) {
    if (ICommandTarget* target = FocusedTarget(); target && target->ExecuteCommand(id))
        return true;
    if (m_printing->ExecuteCommand(id))
        return true;
    if (int page = PageOfViewCommand(id); page >= 0) {
        m_data.ShowPage(page, 0);
        return true;
    }
    return false;
}

} // namespace fitquill
