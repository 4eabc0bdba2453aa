// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/dayentry/exercise_pane.h"

#include "desktop/document/diet_data.h"
#include "desktop/views/dayentry/exercise_entry_form.h"
#include "desktop/views/dayentry/exercise_list_ctrl.h"

#include <QComboBox>
#include <QVBoxLayout>

namespace fitquill {

CExercisePane::CExercisePane(CDietData& data, QWidget* parent)
    : CDayEntryPane(data, QStringLiteral("Exercise"), parent) {
    m_form = new CExerciseEntryForm(data, true, this);
    m_list = new CExerciseListCtrl(data, this);
    m_list->setMinimumHeight(CExerciseListCtrl::kRowHeight * 6);
    Body()->addWidget(m_form);
    Body()->addWidget(m_list, 1);
    connect(m_form, &CExerciseEntryForm::LogClicked, this, &CExercisePane::Log);
    Refresh();
}

QWidget* CExercisePane::FirstControl() {
    return m_form->ActivityBox();
}

void CExercisePane::Log() {
    const std::optional<CExerciseEntry> entry = m_form->EntryToLog();
    if (!entry)
        return;
    CDayRecord* day = m_data.GetCurrentDay(true);
    if (!day)
        return;
    const int position = day->Exercises().Add(*entry, m_data.Journal().IdGenerator());
    m_form->ClearTimes();
    m_data.SetModified();
    m_data.RefreshViews();
    m_list->EnsureRowVisible(position + 1);
}

} // namespace fitquill
