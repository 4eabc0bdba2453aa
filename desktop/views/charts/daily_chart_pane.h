// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <functional>
#include <optional>

class QLabel;
class QPushButton;

namespace fitquill {

class CChartArea;
class CDietData;

// What the weight-for-height chart shows, in the user's unit system.
struct SDailyChartData {
    int sex = 0;
    bool metric = false;
    std::optional<double> height; // inches or centimetres
    std::optional<double> weight; // the current day's, pounds or kilograms
    std::optional<double> goal;
};

// The "Daily" pane of the Charts tab: the weight-for-height zones for the user's sex with
// the day's weight and the goal weight at the user's height, and "Close".
class CDailyChartPane : public QWidget {
    Q_OBJECT

public:
    CDailyChartPane(CDietData& data, std::function<void()> onClose, QWidget* parent = nullptr);

    // Read from the document's journal each time the pane paints.
    SDailyChartData ChartData() const;
    QLabel* Caption() const { return m_caption; }
    CChartArea* Area() const { return m_area; }
    QPushButton* CloseButton() const { return m_close; }

private:
    void Refresh();

    CDietData& m_data;
    QLabel* m_caption = nullptr;
    CChartArea* m_area = nullptr;
    QPushButton* m_close = nullptr;
};

} // namespace fitquill
