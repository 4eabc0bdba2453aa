// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>

#include <vector>

class QTabBar;

namespace fitquill {

class CCalendarPair;
class CDietData;
class CPlaceholderPane;

// The page titles, in tab order; a page's index is what "CurrentTab" stores.
const std::vector<QString>& PageTitles();
// The tabs of the day entry area, in order.
const std::vector<QString>& DayEntryTabTitles();

// The one window that holds the six journal pages and shows one at a time under its painted
// title, with the pair of month calendars and the day entry tabs in a column at its right.
class CPageContainer : public QWidget {
    Q_OBJECT

public:
    static constexpr int kTitleHeight = 26;
    static constexpr int kMargin = 4;

    CPageContainer(CDietData& data, QWidget* parent = nullptr);

    // Shows page n (hiding the others), gives it the focus and takes its title.
    void ShowPage(int page);
    int ShownPage() const { return m_shown; }
    const QString& Title() const { return m_title; }
    QWidget* Page(int page) const;
    // Puts the real window of a page in place of its stand-in (the container takes it over and
    // deletes the stand-in). The page keeps its title and place.
    void ReplacePage(int page, QWidget* window);
    CCalendarPair* CalendarPair() const { return m_calendars; }
    QWidget* DayEntryTabs() const { return m_dayEntry; }
    QTabBar* DayEntryTabBar() const { return m_dayEntryBar; }

    // The area left of the right-hand column, below the title, where the pages lie.
    QRect PageArea() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ApplyColors();
    // Tab goes from the page to the calendars, then the day entry tabs and panes.
    void OrderTabs();
    void Arrange();

    CDietData& m_data;
    std::vector<QWidget*> m_pages;
    CCalendarPair* m_calendars = nullptr;
    QWidget* m_dayEntry = nullptr;
    QTabBar* m_dayEntryBar = nullptr;
    int m_shown = -1;
    QString m_title;
};

} // namespace fitquill
