// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/journal_date.h"

#include <QScrollArea>

#include <array>
#include <functional>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace fitquill {

class CDietData;
class CNumericEdit;

// The "Diet Plan" page: the profile that every calculation rests on, entered on two screens
// inside one scrolling window. The first holds personal information and weight goals, the
// second the diet plan with its percentages and daily targets. Every change goes into the
// profile at once.
class CDietPlanPage : public QScrollArea {
    Q_OBJECT

public:
    // Chooses a date in a dialog with this title; nothing when cancelled. Tests put their own.
    using DateChooser =
        std::function<std::optional<CJournalDate>(const QString& title, const CJournalDate&)>;

    explicit CDietPlanPage(CDietData& data, QWidget* parent = nullptr);

    void SetDateChooser(DateChooser chooser) { m_chooseDate = std::move(chooser); }

    // Sets every control from the profile; an edit box that has the focus keeps its text.
    void Reload();
    void ShowFirstScreen();
    void ShowSecondScreen();
    bool IsFirstScreenShown() const;

    // The controls, for tests and the page's own wiring.
    QComboBox* Units() const { return m_units; }
    QComboBox* HeightMajor() const { return m_heightMajor; }
    QComboBox* Inches() const { return m_inches; }
    QLabel* HeightMajorLabel() const { return m_heightMajorLabel; }
    QLineEdit* Age() const { return m_age; }
    QComboBox* Gender() const { return m_gender; }
    CNumericEdit* StartWeight() const { return m_weights[0]; }
    CNumericEdit* GoalWeight() const { return m_weights[1]; }
    QLabel* StartDate() const { return m_dates[0]; }
    QLabel* GoalDate() const { return m_dates[1]; }
    QPushButton* SetStartDateButton() const { return m_setDate[0]; }
    QPushButton* SetGoalDateButton() const { return m_setDate[1]; }
    QLabel* GoalSentence() const { return m_goalSentence; }
    QPushButton* FirstNext() const { return m_firstNext; }
    QRadioButton* PlanButton(int plan) const { return m_plans[static_cast<size_t>(plan)]; }
    QLabel* PercentLabel(int index) const { return m_percentLabels[static_cast<size_t>(index)]; }
    QLineEdit* PercentBox(int index) const { return m_percentBoxes[static_cast<size_t>(index)]; }
    QPushButton* SetPercentages() const { return m_setPercentages; }
    QLabel* CalorieTarget() const { return m_calories; }
    CNumericEdit* TargetBox(int index) const { return m_targets[static_cast<size_t>(index)]; }
    QCheckBox* Automatic() const { return m_automatic; }
    QPushButton* Back() const { return m_back; }
    QPushButton* SecondNext() const { return m_secondNext; }

protected:
    void hideEvent(QHideEvent* event) override;
    // The page passes the focus on to the first control of the screen shown.
    void focusInEvent(QFocusEvent* event) override;

private:
    QWidget* BuildFirstScreen();
    QWidget* BuildSecondScreen();
    void LoadFirstScreen();
    void LoadSecondScreen();
    void FillHeightLists(bool metric);

    // Stores the first screen into the profile; false when the age was refused.
    bool StoreFirstScreen(bool unitsChange);
    void OnHeightChanged();
    void OnAgeEdited();
    void OnGenderChanged();
    void OnUnitsChanged();
    void OnWeightEdited();
    void OnSetDate(int which);
    void AfterGoalChange();
    void OnPlanChosen(int plan);
    // Checks and stores the custom percentages; false when they were refused.
    bool StoreCustomPercentages();
    void OnTargetEdited();
    void OnAutomaticClicked(bool on);
    void OnSecondNext();
    void ScrollHome();

    CDietData& m_data;
    DateChooser m_chooseDate;
    QWidget* m_first = nullptr;
    QWidget* m_second = nullptr;

    QComboBox* m_units = nullptr;
    QComboBox* m_heightMajor = nullptr; // feet or centimetres
    QLabel* m_heightMajorLabel = nullptr;
    QComboBox* m_inches = nullptr;
    QLabel* m_inchesLabel = nullptr;
    QLineEdit* m_age = nullptr;
    QComboBox* m_gender = nullptr;
    std::array<CNumericEdit*, 2> m_weights{};
    std::array<QLabel*, 2> m_weightUnits{};
    std::array<QLabel*, 2> m_dates{};
    std::array<QPushButton*, 2> m_setDate{};
    QLabel* m_goalSentence = nullptr;
    QPushButton* m_firstNext = nullptr;

    QButtonGroup* m_planGroup = nullptr;
    std::array<QRadioButton*, 4> m_plans{};
    std::array<QLabel*, 3> m_percentLabels{};
    std::array<QLineEdit*, 3> m_percentBoxes{};
    QPushButton* m_setPercentages = nullptr;
    QLabel* m_calories = nullptr;
    std::array<CNumericEdit*, 5> m_targets{}; // carbohydrate, protein, fiber, fat, sat. fat
    QCheckBox* m_automatic = nullptr;
    QPushButton* m_back = nullptr;
    QPushButton* m_secondNext = nullptr;
};

// The message and caption of a refused age.
inline constexpr const char* kAgeInvalidText =
    "The age entered is not valid, please enter a value between 1 and 100.";
inline constexpr const char* kAgeCaption = "Age";

} // namespace fitquill
