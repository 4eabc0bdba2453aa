// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/frame/page_container.h"

#include "desktop/document/diet_data.h"
#include "desktop/frame/placeholder_pane.h"
#include "desktop/views/calendar_pair.h"
#include "desktop/views/dayentry/day_entry_tabs.h"
#include "desktop/views/diet_plan_page.h"
#include "desktop/views/journal/daily_notes_page.h"
#include "desktop/views/journal/food_grid_ctrl.h"
#include "desktop/views/logbook_page.h"
#include "desktop/views/table_grid.h"
#include "desktop/widgets/commands.h"
#include "desktop/widgets/fonts.h"

#include <QPainter>
#include <QTabBar>
#include <QVBoxLayout>

namespace fitquill {

const std::vector<QString>& PageTitles() {
    static const std::vector<QString> titles = {
        QStringLiteral("Diet Plan"),     QStringLiteral("Logbook"),
        QStringLiteral("Meal Log"),      QStringLiteral("Daily Journal"),
        QStringLiteral("Summary Table"), QStringLiteral("Nutrient Tables"),
    };
    return titles;
}

const std::vector<QString>& DayEntryTabTitles() {
    static const std::vector<QString> titles = {
        QStringLiteral("Weight"),
        QStringLiteral(" BMR"),
        QStringLiteral("Exercise"),
        QStringLiteral("Targets"),
        QStringLiteral("Charts"),
        QStringLiteral("Blood Pressure"),
        QStringLiteral("Body Measurements"),
    };
    return titles;
}

CPageContainer::CPageContainer(CDietData& data, QWidget* parent) : QWidget(parent), m_data(data) {
    setObjectName(QStringLiteral("PageContainer%1").arg(kIdPageContainer));
    for (const QString& title : PageTitles()) {
        auto* page = new CPlaceholderPane(title, this);
        page->hide();
        m_pages.push_back(page);
    }
    m_calendars = new CCalendarPair(this);

    m_dayEntry = new QWidget(this);
    m_dayEntryBar = new QTabBar(m_dayEntry);
    m_dayEntryBar->setFont(CustomFont());
    m_dayEntryBar->setExpanding(false);
    m_dayEntryBar->setUsesScrollButtons(true);
    for (const QString& title : DayEntryTabTitles())
        m_dayEntryBar->addTab(title);
    auto* dayEntryPanes = new CDayEntryTabs(m_data, m_dayEntryBar, m_dayEntry);
    auto* entryLayout = new QVBoxLayout(m_dayEntry);
    entryLayout->setContentsMargins(0, 0, 0, 0);
    entryLayout->setSpacing(0);
    entryLayout->addWidget(m_dayEntryBar);
    entryLayout->addWidget(dayEntryPanes, 1);

    // A day chosen in the calendars becomes the document's current day.
    connect(m_calendars, &CCalendarPair::DayChosen, this, [this](const CJournalDate& date) {
        m_data.CommitPendingEdit();
        m_data.Journal().GoToDate(date);
        m_data.RefreshViews();
    });
    connect(&m_data, &CDietData::DayChangedSent, this, [this] {
        m_calendars->SetDate(m_data.Journal().CurrentDate());
        m_data.RefreshViews();
    });
    connect(&m_data, &CDietData::ColorsChanged, this, &CPageContainer::ApplyColors);
    ApplyColors();
    m_calendars->SetDate(m_data.Journal().CurrentDate());

    ReplacePage(0, new CDietPlanPage(m_data));
    ReplacePage(1, new CLogbookPage(m_data));
    ReplacePage(2, new CFoodGridCtrl(m_data));
    ReplacePage(3, new CDailyNotesPage(m_data));
    ReplacePage(4, new CSummaryGrid(m_data));
    ReplacePage(5, new CNutrientTablesPage(m_data));
}

QWidget* CPageContainer::Page(int page) const {
    if (page < 0 || page >= static_cast<int>(m_pages.size()))
        return nullptr;
    return m_pages[static_cast<size_t>(page)];
}

void CPageContainer::ReplacePage(int page, QWidget* window) {
    QWidget* old = Page(page);
    if (!old || !window || window == old)
        return;
    window->setParent(this);
    window->setGeometry(PageArea());
    window->setVisible(page == m_shown);
    m_pages[static_cast<size_t>(page)] = window;
    delete old;
    OrderTabs();
    if (page == m_shown)
        window->setFocus();
}

void CPageContainer::OrderTabs() {
    // Qt puts each new widget last in the Tab order: a page made after the calendars and the
    // day entry tabs would follow them, and Tab from the page would leave the column.
    std::vector<QWidget*> groups(m_pages.begin(), m_pages.end());
    groups.push_back(m_calendars);
    groups.push_back(m_dayEntry);
    QWidget* top = window();
    QList<QWidget*> order;
    for (QWidget* group : groups) {
        QWidget* widget = top;
        do {
            if (widget == group || group->isAncestorOf(widget))
                order.append(widget);
            widget = widget->nextInFocusChain();
        } while (widget && widget != top);
    }
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void CPageContainer::ShowPage(int page) {
    QWidget* shown = Page(page);
    if (!shown)
        return;
    for (QWidget* other : m_pages)
        if (other != shown)
            other->hide();
    shown->show();
    shown->setFocus();
    m_shown = page;
    if (m_title != PageTitles()[static_cast<size_t>(page)]) {
        m_title = PageTitles()[static_cast<size_t>(page)];
        update(0, 0, width(), kTitleHeight);
    }
}

QRect CPageContainer::PageArea() const {
    const int column = m_calendars->sizeHint().width();
    const int left = kMargin;
    const int right = width() - column - 3 * kMargin;
    return QRect(left, kTitleHeight, std::max(0, right - left),
                 std::max(0, height() - kTitleHeight - kMargin));
}

void CPageContainer::Arrange() {
    const QSize calendars = m_calendars->sizeHint();
    const int columnLeft = width() - calendars.width() - kMargin;
    m_calendars->setGeometry(columnLeft, kMargin, calendars.width(), calendars.height());
    const int entryTop = kMargin + calendars.height() + 2 * kMargin;
    m_dayEntry->setGeometry(columnLeft, entryTop, calendars.width(),
                            std::max(0, height() - entryTop - kMargin));
    const QRect area = PageArea();
    for (QWidget* page : m_pages)
        page->setGeometry(area);
}

void CPageContainer::resizeEvent(QResizeEvent*) {
    Arrange();
}

void CPageContainer::ApplyColors() {
    const QColor text = m_data.GetTextColor();
    const QColor back = m_data.GetBackColor();
    for (QWidget* page : m_pages)
        if (auto* standIn = qobject_cast<CPlaceholderPane*>(page))
            standIn->SetColors(text, back);
    m_calendars->SetColors(text, back);
    update();
}

void CPageContainer::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), m_data.GetBackColor());
    QFont font = CustomFont(12);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(m_data.GetTextColor());
    QRect title(kMargin + 2, 0, PageArea().width(), kTitleHeight);
    painter.drawText(title, Qt::AlignLeft | Qt::AlignVCenter, m_title);
}

} // namespace fitquill
