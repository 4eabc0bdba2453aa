// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/dayentry/day_entry_tabs.h"

#include "desktop/views/dayentry/blood_pressure_pane.h"
#include "desktop/views/dayentry/bmr_pane.h"
#include "desktop/views/dayentry/charts_pane.h"
#include "desktop/views/dayentry/exercise_pane.h"
#include "desktop/views/dayentry/measurements_pane.h"
#include "desktop/views/dayentry/targets_pane.h"
#include "desktop/views/dayentry/weight_pane.h"

#include <QTabBar>

namespace fitquill {

namespace {
constexpr int kChartsTab = 4;
} // namespace

CDayEntryTabs::CDayEntryTabs(CDietData& data, QTabBar* tabs, QWidget* parent)
    : QStackedWidget(parent), m_tabs(tabs) {
    setObjectName(QStringLiteral("DayEntryTabs"));
    auto* weight = new CWeightPane(data, this);
    m_panes = {weight,
               new CBmrPane(data, this),
               new CExercisePane(data, this),
               new CTargetsPane(data, this),
               new CChartsPane(data, this),
               new CBloodPressurePane(data, this),
               new CMeasurementsPane(data, this)};
    for (CDayEntryPane* pane : m_panes)
        addWidget(pane);
    connect(weight, &CWeightPane::ChartsRequested, this, [this] { ShowTab(kChartsTab); });
    connect(m_tabs, &QTabBar::currentChanged, this, [this](int tab) {
        // Edits still in a box belong to the day shown now, whichever tab comes next.
        for (CDayEntryPane* pane : m_panes)
            pane->StorePending();
        if (CDayEntryPane* pane = Pane(tab)) {
            setCurrentWidget(pane);
            if (QWidget* first = pane->FirstControl())
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
