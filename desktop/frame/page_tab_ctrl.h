// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QTabBar;

namespace fitquill {

class CDietData;
class CPageContainer;

// The page tab control of the main view: six tabs above the page container. It records itself
// in the document and switches pages on a tab click, on the document's ShowPage and on the
// View commands.
class CPageTabCtrl : public QWidget {
    Q_OBJECT

public:
    explicit CPageTabCtrl(CDietData& data, QWidget* parent = nullptr);

    // Switches to page n (cut to the last page). The sub-screen matters for the Diet Plan
    // page only.
    void SwitchTo(int page, int subScreen = 0);

    QTabBar* TabBar() const { return m_tabs; }
    CPageContainer* Container() const { return m_container; }

signals:
    // A page was shown, with the sub-screen asked for.
    void PageShown(int page, int subScreen);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    CDietData& m_data;
    QTabBar* m_tabs = nullptr;
    CPageContainer* m_container = nullptr;
};

} // namespace fitquill
