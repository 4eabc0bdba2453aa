// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/dayentry/day_entry_tabs.h"

#include "desktop/document/diet_data.h"
#include "desktop/views/dayentry/blood_pressure_pane.h"
#include "desktop/views/dayentry/bmr_pane.h"
#include "desktop/views/dayentry/charts_pane.h"
#include "desktop/views/dayentry/exercise_pane.h"
#include "desktop/views/dayentry/measurements_pane.h"
#include "desktop/views/dayentry/targets_pane.h"
#include "desktop/views/dayentry/weight_pane.h"

#include <QSpinBox>
#include <QTabBar>
#include <QToolButton>

namespace fitquill {

namespace {
constexpr int kChartsTab = 4;
} // namespace

CDayEntryTabs::CDayEntryTabs(CDietData& data, QTabBar* tabs, QWidget* parent)
    : QStackedWidget(parent), m_data(data), m_tabs(tabs) {
    setObjectName(QStringLiteral("DayEntryTabs"));
    auto* weight = new CWeightPane(data, this);
    m_panes = {weight,
               new CBmrPane(data, this),
               new CExercisePane(data, this),
               new CTargetsPane(data, this),
               new CChartsPane(data, this),
               new CBloodPressurePane(data, this),
               new CMeasurementsPane(data, this)};
    for (CDayEntryPane* pane : m_panes) {
        addWidget(pane);
        // The water count is built first but is the last stop of the pane's tab order.
        QWidget* last = nullptr;
        for (QWidget* child : pane->findChildren<QWidget*>())
            if ((child->focusPolicy() & Qt::TabFocus) && child != pane->WaterBox() &&
                !pane->WaterBox()->isAncestorOf(child))
                last = child;
        if (last)
            QWidget::setTabOrder(last, pane->WaterBox());
    }
    // The tab bar's scroll arrows are for the mouse; from a pane, Shift+Tab reaches the tabs.
    for (QToolButton* arrow : m_tabs->findChildren<QToolButton*>())
        arrow->setFocusPolicy(Qt::NoFocus);
    connect(weight, &CWeightPane::ChartsRequested, this, [this] { ShowTab(kChartsTab); });
    connect(m_tabs, &QTabBar::currentChanged, this, [this](int tab) {
        // Edits still in a box belong to the day shown now, whichever tab comes next.
        m_data.CommitPendingEdit();
        if (CDayEntryPane* pane = Pane(tab)) {
            setCurrentWidget(pane);
            // Stepping through the tabs with the arrow keys keeps the focus on the tab bar.
            if (QWidget* first = pane->FirstControl(); first && !m_tabs->hasFocus())
                first->setFocus();
        }
    });
    setCurrentIndex(std::max(0, m_tabs->currentIndex()));
}

CDayEntryPane* CDayEntryTabs::Pane(int tab) const {
    if (tab < 0 || tab >= static_cast<int>(m_panes.size()))
        return nullptr;
    return m_panes[static_cast<size_t>(tab)];
}

void CDayEntryTabs::ShowTab(int tab) {
    if (tab == m_tabs->currentIndex())
        return;
    m_tabs->setCurrentIndex(tab);
}

} // namespace fitquill
