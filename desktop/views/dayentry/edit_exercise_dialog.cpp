// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/dayentry/edit_exercise_dialog.h"

#include "desktop/document/diet_data.h"
#include "desktop/views/dayentry/exercise_entry_form.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace fitquill {

CEditExerciseDialog::CEditExerciseDialog(CDietData& data, int position, QWidget* parent)
    : QDialog(parent), m_data(data), m_position(position) {
    setWindowTitle(QStringLiteral("Edit Exercise"));
    m_form = new CExerciseEntryForm(data, false, this);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_form);
    layout->addWidget(cancel, 0, Qt::AlignRight);
    if (const CDayRecord* day = m_data.GetCurrentDay(false);
        day && position >= 0 && position < day->Exercises().Count())
        m_form->Load(day->Exercises().Entry(position));
    m_form->LogButton()->setDefault(true);
    connect(m_form, &CExerciseEntryForm::LogClicked, this, &CEditExerciseDialog::Log);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CEditExerciseDialog::Log() {
    CDayRecord* day = m_data.GetCurrentDay(false);
    if (!day || m_position < 0 || m_position >= day->Exercises().Count())
        return reject();
    const std::optional<CExerciseEntry> entry = m_form->EntryToLog();
    if (!entry)
        return;
    m_newPosition = day->Exercises().Replace(m_position, *entry);
    m_data.SetModified();
    accept();
}

} // namespace fitquill
