// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/dayentry/exercise_list_ctrl.h"

#include "core/journal/journal_clipboard.h"
#include "core/report/day_entry_texts.h"
#include "core/report/meal_log_rows.h"
#include "desktop/document/diet_data.h"
#include "desktop/document/prompt.h"
#include "desktop/document/stored_text.h"
#include "desktop/views/dayentry/edit_exercise_dialog.h"
#include "desktop/widgets/command_menu.h"
#include "desktop/widgets/commands.h"

#include <QApplication>
#include <QKeyEvent>

namespace fitquill {

CExerciseListCtrl::CExerciseListCtrl(CDietData& data, QWidget* parent)
    : CGridCtrl(parent), m_data(data) {
    setObjectName(QStringLiteral("ExerciseList"));
    setAccessibleName(QStringLiteral("Exercise list"));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SetColumnCount(4);
    SetRowHeight(kRowHeight);
    SetRowCount(kMinimumRows);
    SetFixedRows(1);
    SetTextSource([this](int row, int column) {
        const CDayRecord* day = m_data.GetCurrentDay(false);
        return FromStored(ExerciseListCell(day ? &day->Exercises() : nullptr, row, column));
    });
    connect(&m_data, &CDietData::RefreshViewsSent, this, &CExerciseListCtrl::Refresh);
    connect(&m_data, &CDietData::ColorsChanged, this,
            [this] { SetColors(m_data.GetTextColor(), m_data.GetBackColor()); });
    connect(this, &CGridCtrl::CellDoubleClicked, this, [this] { ExecuteCommand(kIdEditItem); });
    connect(this, &CGridCtrl::ContextMenuAt, this, [this](const QPoint& at) {
        ShowCommandMenu(this, m_data.CommandRouter(), *this,
                        {{kIdEditCut, {}, {}},
                         {kIdEditCopy, {}, {}},
                         {kIdEditPaste, {}, {}},
                         {kIdEditSelectAll, {}, {}},
                         {0, {}, {}},
                         {kIdEditItem, QStringLiteral("&Edit..."), {}},
                         {kIdDeleteExerciseItems, QStringLiteral("&Delete"), {}}},
                        at);
    });
    SetColors(m_data.GetTextColor(), m_data.GetBackColor());
    Refresh();
}

int CExerciseListCtrl::EntryCount() const {
    const CDayRecord* day = m_data.GetCurrentDay(false);
    return day ? day->Exercises().Count() : 0;
}

void CExerciseListCtrl::Refresh() {
    SetRowCount(std::max(kMinimumRows, EntryCount() + 1));
    UpdateColumnWidths();
    viewport()->update();
}

void CExerciseListCtrl::UpdateColumnWidths() {
    const int c = (viewport()->width() - 235) / 3 - 1;
    SetColumnWidth(0, 25);
    SetColumnWidth(1, std::max(0, c + 130));
    SetColumnWidth(2, std::max(0, c + 40));
    SetColumnWidth(3, std::max(0, c + 40));
}

void CExerciseListCtrl::resizeEvent(QResizeEvent* event) {
    CGridCtrl::resizeEvent(event);
    UpdateColumnWidths();
}

void CExerciseListCtrl::focusInEvent(QFocusEvent* event) {
    CGridCtrl::focusInEvent(event);
    if (CurrentRow() < 0)
        SetCurrentCell(1, 1);
}

bool CExerciseListCtrl::SelectionHoldsEntries() const {
    return FirstSelectedRow() >= 1 && FirstSelectedRow() <= EntryCount();
}

bool CExerciseListCtrl::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::NoModifier &&
            (key->key() == Qt::Key_Delete || key->key() == Qt::Key_F2)) {
            event->accept();
            return true;
        }
    }
    return CGridCtrl::event(event);
}

void CExerciseListCtrl::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::NoModifier && event->key() == Qt::Key_Delete) {
        ExecuteCommand(kIdDeleteExerciseItems);
        return;
    }
    if (event->modifiers() == Qt::NoModifier && event->key() == Qt::Key_F2) {
        ExecuteCommand(kIdEditItem);
        return;
    }
    CGridCtrl::keyPressEvent(event);
}

bool CExerciseListCtrl::QueryCommand(int id, bool& enabled) {
    switch (id) {
    case kIdEditItem:
        enabled = FirstSelectedRow() == LastSelectedRow() && SelectionHoldsEntries();
        return true;
    case kIdDeleteExerciseItems:
    case kIdEditCopy:
    case kIdEditCut:
        enabled = SelectionHoldsEntries();
        return true;
    case kIdEditPaste:
        enabled = !CJournalClipboard::Exercises().empty();
        return true;
    case kIdEditSelectAll:
        enabled = EntryCount() > 0;
        return true;
    default:
        return false;
    }
}

bool CExerciseListCtrl::ExecuteCommand(int id) {
    switch (id) {
    case kIdEditItem:
        EditExercise();
        return true;
    case kIdDeleteExerciseItems:
        DeleteExercises();
        return true;
    case kIdEditCopy:
    case kIdEditCut:
        CopyExercises(id == kIdEditCut);
        return true;
    case kIdEditPaste:
        PasteExercises();
        return true;
    case kIdEditSelectAll:
        if (EntryCount() > 0)
            SelectRows(1, EntryCount());
        return true;
    default:
        return false;
    }
}

void CExerciseListCtrl::EditExercise() {
    bool enabled = false;
    QueryCommand(kIdEditItem, enabled);
    if (!enabled)
        return;
    CEditExerciseDialog dialog(m_data, FirstSelectedRow() - 1, window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_data.RefreshViews();
    SetCurrentCell(dialog.NewPosition() + 1, CurrentColumn());
}

void CExerciseListCtrl::DeleteExercises() {
    CDayRecord* day = m_data.GetCurrentDay(false);
    if (!day || !SelectionHoldsEntries())
        return;
    const int first = FirstSelectedRow();
    const int last = std::min(LastSelectedRow(), day->Exercises().Count());
    const EPromptAnswer answer = ShowPrompt(window(), QString::fromLatin1(kExerciseCaption),
                                            QString::fromLatin1(kDeleteExercisesText),
                                            EPromptIcon::Question, EPromptButtons::YesNo);
    setFocus();
    // Ctrl or Shift held while answering keeps the entries.
    const Qt::KeyboardModifiers held = QApplication::queryKeyboardModifiers();
    if (answer != EPromptAnswer::Yes || (held & (Qt::ControlModifier | Qt::ShiftModifier)))
        return;
    day->Exercises().Delete(first - 1, last - first + 1);
    m_data.SetModified();
    SetCurrentCell(first, CurrentColumn());
    m_data.RefreshViews();
}

void CExerciseListCtrl::CopyExercises(bool cut) {
    CDayRecord* day = m_data.GetCurrentDay(false);
    if (!day || !SelectionHoldsEntries())
        return;
    const int first = FirstSelectedRow();
    const int count = std::min(LastSelectedRow(), day->Exercises().Count()) - first + 1;
    if (!cut) {
        day->Exercises().Copy(first - 1, count);
        return;
    }
    day->Exercises().Cut(first - 1, count);
    m_data.SetModified();
    m_data.RefreshViews();
}

void CExerciseListCtrl::PasteExercises() {
    if (CJournalClipboard::Exercises().empty())
        return;
    CDayRecord* day = m_data.GetCurrentDay(true);
    if (!day)
        return;
    day->Exercises().Paste(m_data.Journal().IdGenerator());
    m_data.SetModified();
    m_data.RefreshViews();
}

} // namespace fitquill
