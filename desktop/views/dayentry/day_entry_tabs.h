// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStackedWidget>

#include <vector>

class QTabBar;

namespace fitquill {

class CDayEntryPane;
class CDietData;

// The panes of the day entry tabs, one per tab of the given tab bar, showing the selected
// one. Before a switch every pane stores its pending edits.
class CDayEntryTabs : public QStackedWidget {
    Q_OBJECT

public:
    CDayEntryTabs(CDietData& data, QTabBar* tabs, QWidget* parent = nullptr);

    CDayEntryPane* Pane(int tab) const;
    template <typename TPane> TPane* PaneOf() const {
        for (CDayEntryPane* pane : m_panes)
            if (auto* typed = dynamic_cast<TPane*>(pane))
                return typed;
        return nullptr;
    }
    void ShowTab(int tab);

private:
    CDietData& m_data;
    QTabBar* m_tabs;
    std::vector<CDayEntryPane*> m_panes;
};

} // namespace fitquill
