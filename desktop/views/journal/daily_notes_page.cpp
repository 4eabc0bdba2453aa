// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/journal/daily_notes_page.h"

#include "core/report/meal_log_rows.h"
#include "desktop/document/diet_data.h"
#include "desktop/document/stored_text.h"
#include "desktop/widgets/commands.h"
#include "desktop/widgets/fonts.h"
#include "desktop/widgets/stored_text_guard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace fitquill {

CDailyNotesPage::CDailyNotesPage(CDietData& data, QWidget* parent)
    : QPlainTextEdit(parent), m_data(data) {
    setObjectName(QStringLiteral("DailyNotes"));
    setAccessibleName(QStringLiteral("Daily notes"));
    setFont(CustomFont());
    GuardStoredText(this);
    connect(this, &QPlainTextEdit::textChanged, this, &CDailyNotesPage::OnTextChanged);
    connect(&m_data, &CDietData::RefreshViewsSent, this, &CDailyNotesPage::Refresh);
    connect(&m_data, &CDietData::DayChangedSent, this, &CDailyNotesPage::Refresh);
    connect(&m_data, &CDietData::ColorsChanged, this, &CDailyNotesPage::ApplyColors);
    ApplyColors();
    Refresh();
}

void CDailyNotesPage::Refresh() {
    const CDayRecord* day = m_data.GetCurrentDay(false);
    const QString note = day ? FromStored(day->Note()) : QString();
    // A day without a record shows the hint as a placeholder, never as text: typing must not
    // store the hint into the new note.
    setPlaceholderText(day ? QString() : QString::fromLatin1(kDailyNotesPlaceholder));
    const CJournalDB& journal = m_data.Journal();
    const std::string shownDay = journal.FilePath() + '\n' + journal.CurrentDate().LongText();
    // Every keystroke is stored already; rewriting the text being typed from the stored note
    // would drop a trailing space and move the caret to the start.
    const bool typing = hasFocus() && shownDay == m_shownDay;
    m_shownDay = shownDay;
    if (note == toPlainText() || typing)
        return;
    m_settingText = true;
    setPlainText(note);
    m_settingText = false;
}

void CDailyNotesPage::OnTextChanged() {
    if (m_settingText)
        return;
    QString text = toPlainText();
    if (ToStored(text).size() > kMaxNoteBytes) {
        // Keep what fits, as an edit control with a limit refuses the rest of the input.
        while (ToStored(text).size() > kMaxNoteBytes)
            text.chop(1);
        const int position = std::min(textCursor().position(), static_cast<int>(text.size()));
        m_settingText = true;
        setPlainText(text);
        QTextCursor cursor = textCursor();
        cursor.setPosition(position);
        setTextCursor(cursor);
        m_settingText = false;
    }
    CDayRecord* day = m_data.GetCurrentDay(true);
    if (!day)
        return;
    day->SetNoteFromEdit(ToStored(text));
    setPlaceholderText(QString());
    m_data.SetModified();
}

void CDailyNotesPage::ApplyColors() {
    QPalette colors = palette();
    colors.setColor(QPalette::Text, m_data.GetTextColor());
    colors.setColor(QPalette::Base, m_data.GetBackColor());
    QColor hint = m_data.GetTextColor();
    hint.setAlpha(128);
    colors.setColor(QPalette::PlaceholderText, hint);
    setPalette(colors);
}

void CDailyNotesPage::showEvent(QShowEvent* event) {
    QPlainTextEdit::showEvent(event);
    moveCursor(QTextCursor::Start);
    setFocus();
}

namespace {

// An empty clipboard on X11 hands out data without a single format, which Qt 6.4's text control
// reads past; such a paste inserts nothing.
bool HasData(const QMimeData* source) {
    return source && !source->formats().isEmpty();
}

} // namespace

bool CDailyNotesPage::canInsertFromMimeData(const QMimeData* source) const {
    return HasData(source) && QPlainTextEdit::canInsertFromMimeData(source);
}

void CDailyNotesPage::insertFromMimeData(const QMimeData* source) {
    if (HasData(source))
        QPlainTextEdit::insertFromMimeData(source);
}

bool CDailyNotesPage::QueryCommand(int id, bool& enabled) {
    switch (id) {
    case kIdEditCut:
    case kIdEditCopy:
        enabled = textCursor().hasSelection();
        return true;
    case kIdEditPaste: {
        const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
        enabled = mime && mime->hasText();
        return true;
    }
    case kIdEditSelectAll:
        enabled = true;
        return true;
    case kIdEditUndo:
        enabled = document()->isUndoAvailable();
        return true;
    default:
        return false;
    }
}

bool CDailyNotesPage::ExecuteCommand(int id) {
    switch (id) {
    case kIdEditCut:
        cut();
        return true;
    case kIdEditCopy:
        copy();
        return true;
    case kIdEditPaste:
        paste();
        return true;
    case kIdEditSelectAll:
        selectAll();
        ensureCursorVisible();
        return true;
    case kIdEditUndo:
        undo();
        return true;
    default:
        return false;
    }
}

} // namespace fitquill
