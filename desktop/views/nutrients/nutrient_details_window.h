// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/report/nutrient_details.h"
#include "desktop/views/nutrients/nutrient_details_renderer.h"

#include <QWidget>

class QComboBox;
class QScrollArea;

namespace fitquill {

class CDietData;

// The drawn report inside the window's scroll area.
class CNutrientDetailsView : public QWidget {
    Q_OBJECT

public:
    CNutrientDetailsView(CDietData& data, CNutrientDetailsRenderer& renderer, QWidget* parent);
    void SetScope(const SReportScope& scope);
    const SReportScope& Scope() const { return m_scope; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CDietData& m_data;
    CNutrientDetailsRenderer& m_renderer;
    SReportScope m_scope;
    int m_height = 0;
};

// "Nutrient Details": a window beside the main window (not modal) that follows the current
// day. The user picks the period and the nutrient whose top foods are listed.
class CNutrientDetailsWindow : public QWidget {
    Q_OBJECT

public:
    explicit CNutrientDetailsWindow(CDietData& data, QWidget* parent = nullptr);

    ENutrientPeriod Period() const;
    void SetPeriod(ENutrientPeriod period);
    void SetTopFoodsNutrient(int nutrient);
    // The days shown: the period counted from the current day, or the print range (the
    // current day while none is set).
    SReportScope Scope() const;

    QComboBox* PeriodCombo() const { return m_period; }
    QComboBox* NutrientCombo() const { return m_nutrient; }
    CNutrientDetailsView* View() const { return m_view; }

public slots:
    void Refresh();

private:
    CDietData& m_data;
    CNutrientDetailsRenderer m_renderer;
    QComboBox* m_period = nullptr;
    QComboBox* m_nutrient = nullptr;
    QScrollArea* m_scroll = nullptr;
    CNutrientDetailsView* m_view = nullptr;
};

} // namespace fitquill
