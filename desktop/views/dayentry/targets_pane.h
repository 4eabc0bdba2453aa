// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/journal_date.h"
#include "desktop/views/dayentry/day_entry_pane.h"

#include <array>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace fitquill {

class CNumericEdit;

// "Targets": the food budget with the weight goal, or the day's nutrient targets.
class CTargetsPane : public CDayEntryPane {
    Q_OBJECT

public:
    explicit CTargetsPane(CDietData& data, QWidget* parent = nullptr);

    void Refresh() override;
    void StorePending() override;

    // After a date was chosen: a target date on or before the start date becomes the day after.
    static CJournalDate TargetAfterStart(const CJournalDate& start, const CJournalDate& target);
    // Stores a chosen start (start = true) or target date and applies the rule above.
    void SetGoalDate(bool start, const CJournalDate& date);

    QRadioButton* BudgetChoice() const { return m_budgetChoice; }
    QRadioButton* TargetsChoice() const { return m_targetsChoice; }
    QLabel* BudgetText() const { return m_budgetText; }
    QLabel* GoalText() const { return m_goalText; }
    QCheckBox* Automatic() const { return m_automatic; }
    // Nutrient index 1-5 (carbohydrate ... saturated fat).
    QLineEdit* TargetBox(int index) const { return m_targetBoxes[static_cast<size_t>(index)]; }

private:
    QWidget* BuildBudgetView();
    QWidget* BuildTargetsView();
    void ChooseDate(bool start);
    void SetAutomatic(bool automatic);
    void Changed();
    void ShowWeight(CNumericEdit* box, double value);

    QRadioButton* m_budgetChoice = nullptr;
    QRadioButton* m_targetsChoice = nullptr;
    QStackedWidget* m_views = nullptr;
    CNumericEdit* m_startWeight = nullptr;
    CNumericEdit* m_goalWeight = nullptr;
    QLabel* m_weightUnits[2] = {nullptr, nullptr};
    QLabel* m_startDate = nullptr;
    QLabel* m_targetDate = nullptr;
    QLabel* m_budgetText = nullptr;
    QLabel* m_goalText = nullptr;
    QCheckBox* m_automatic = nullptr;
    QLabel* m_calories = nullptr;
    std::array<QLabel*, 6> m_targetLabels{};
    std::array<QLineEdit*, 6> m_targetBoxes{};
};

} // namespace fitquill
