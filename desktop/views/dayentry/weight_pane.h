// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/views/dayentry/day_entry_pane.h"

namespace fitquill {

class CNumericEdit;

// "Weight": the day's date and weight in the user's unit.
class CWeightPane : public CDayEntryPane {
    Q_OBJECT

public:
    explicit CWeightPane(CDietData& data, QWidget* parent = nullptr);

    void Refresh() override;
    void StorePending() override;
    QWidget* FirstControl() override;

    CNumericEdit* WeightBox() const { return m_weight; }

signals:
    // "Charts..." asks for the Charts tab.
    void ChartsRequested();

private:
    QLabel* m_date = nullptr;
    CNumericEdit* m_weight = nullptr;
    QLabel* m_unit = nullptr;
};

} // namespace fitquill
