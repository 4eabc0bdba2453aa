// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/widgets/command_target.h"
#include "desktop/widgets/grid_ctrl.h"

namespace fitquill {

class CDietData;

// The day's logged exercises: row 0 heads "Exercise", "Cal" and "Min", row k shows entry
// k - 1. Handles the exercise commands while it has the focus.
class CExerciseListCtrl : public CGridCtrl, public ICommandTarget {
    Q_OBJECT

public:
    static constexpr int kMinimumRows = 11;
    static constexpr int kRowHeight = 16;

    explicit CExerciseListCtrl(CDietData& data, QWidget* parent = nullptr);

    void Refresh();
    int EntryCount() const;

    bool QueryCommand(int id, bool& enabled) override;
    bool ExecuteCommand(int id) override;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void UpdateColumnWidths();
    bool SelectionHoldsEntries() const;
    void EditExercise();
    void DeleteExercises();
    void CopyExercises(bool cut);
    void PasteExercises();

    CDietData& m_data;
};

} // namespace fitquill
