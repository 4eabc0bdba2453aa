// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/food/exercise_cursor.h"
#include "core/journal/exercise_entry.h"

#include <QWidget>

#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace fitquill {

class CDietData;

// The controls of an exercise entry, shared by the Exercise pane and the "Edit Exercise"
// dialog: activity, variant and intensity (or a typed name for "User Defined Exercise"),
// minutes, calories, the Calories button and Log.
class CExerciseEntryForm : public QWidget {
    Q_OBJECT

public:
    static constexpr int kMaxNameLength = 20;
    static constexpr int kMaxNameRead = 200;

    // refreshAfterCalories: the pane refreshes the views after computing calories.
    CExerciseEntryForm(CDietData& data, bool refreshAfterCalories, QWidget* parent = nullptr);

    // Fills the controls from a logged entry.
    void Load(const CExerciseEntry& entry);
    // The entry to log; nullopt, after telling the user, when minutes or calories are 0 or empty.
    std::optional<CExerciseEntry> EntryToLog();
    void ClearTimes();

    QComboBox* ActivityBox() const { return m_activity; }
    QComboBox* VariantBox() const { return m_variant; }
    QComboBox* IntensityBox() const { return m_intensity; }
    QLineEdit* NameBox() const { return m_name; }
    QLineEdit* MinutesBox() const { return m_minutes; }
    QLineEdit* CaloriesBox() const { return m_calories; }
    QPushButton* CaloriesButton() const { return m_caloriesButton; }
    QPushButton* LogButton() const { return m_log; }

signals:
    void LogClicked();

private:
    void ChooseActivity(int activity);
    void ChooseVariant(int variant);
    void FillList(QComboBox* box, const SExerciseList& list, int selected);
    void UpdateEnabling();
    void ComputeCalories();
    bool IsUserDefined() const { return m_cursor.Activity() == kActivityUserDefined; }

    CDietData& m_data;
    bool m_refreshAfterCalories;
    CExerciseCursor m_cursor;
    bool m_filling = false;
    QComboBox* m_activity = nullptr;
    QComboBox* m_variant = nullptr;
    QComboBox* m_intensity = nullptr;
    QLabel* m_nameLabel = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_minutes = nullptr;
    QLineEdit* m_calories = nullptr;
    QPushButton* m_caloriesButton = nullptr;
    QPushButton* m_log = nullptr;
};

} // namespace fitquill
