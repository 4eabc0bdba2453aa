// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/frame/page_tab_ctrl.h"

#include "desktop/document/diet_data.h"
#include "desktop/frame/page_container.h"
#include "desktop/widgets/fonts.h"

#include <QSignalBlocker>
#include <QTabBar>

#include <algorithm>

namespace fitquill {

CPageTabCtrl::CPageTabCtrl(CDietData& data, QWidget* parent) : QWidget(parent), m_data(data) {
    m_tabs = new QTabBar(this);
    m_tabs->setFont(CustomFont());
    m_tabs->setExpanding(false);
    m_tabs->setDrawBase(true);
    for (const QString& title : PageTitles())
        m_tabs->addTab(title);
    m_container = new CPageContainer(data, this);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Pages"));
    m_data.SetPageTabCtrl(this);

    connect(m_tabs, &QTabBar::currentChanged, this, [this](int page) {
        if (page >= 0)
            SwitchTo(page, 0);
    });
    connect(&m_data, &CDietData::ShowPageSent, this, &CPageTabCtrl::SwitchTo);
    SwitchTo(m_data.SelectedPage(), 0);
}

void CPageTabCtrl::SwitchTo(int page, int subScreen) {
    m_data.CommitPendingEdit();
    page = std::clamp(page, 0, CDietData::kPageCount - 1);
    m_data.SetSelectedPage(page);
    {
        const QSignalBlocker quiet(m_tabs);
        m_tabs->setCurrentIndex(page);
    }
    m_container->ShowPage(page);
    emit PageShown(page, subScreen);
}

void CPageTabCtrl::resizeEvent(QResizeEvent*) {
    const int tabHeight = m_tabs->sizeHint().height();
    m_tabs->setGeometry(0, 0, width(), tabHeight);
    // The display area below the tabs, less 2 pixels of height.
    m_container->setGeometry(0, tabHeight, width(), std::max(0, height() - tabHeight - 2));
}

void CPageTabCtrl::focusInEvent(QFocusEvent*) {
    if (QWidget* page = m_container->Page(m_container->ShownPage()))
        page->setFocus();
}

} // namespace fitquill
