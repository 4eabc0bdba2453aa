// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/document/view_services.h"

#include <QObject>

namespace fitquill {

class CDietData;

// The chart dialogs of the Charts tab. Registers itself with the document for its lifetime.
class CChartDialogs : public QObject, public IChartDialogs {
    Q_OBJECT

public:
    explicit CChartDialogs(CDietData& data, QObject* parent = nullptr);
    ~CChartDialogs() override;

    void ShowWeightChart(QWidget* parent, int duration) override;
    void ShowHistogram(QWidget* parent, int nutrient) override;
    void ShowHistoricWeight(QWidget* parent) override;
    QWidget* CreateDailyChart(QWidget* parent, std::function<void()> onClose) override;

private:
    CDietData& m_data;
};

} // namespace fitquill
