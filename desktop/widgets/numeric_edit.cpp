// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/widgets/numeric_edit.h"

#include "desktop/document/prompt.h"
#include "desktop/document/stored_text.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace fitquill {
namespace {

const QLatin1Char kMinus('-');
const QLatin1Char kPoint('.');
const QLatin1Char kSeparator(',');

// The leading number of a text, like the C library's text-to-double conversion but
// independent of the C locale (Qt sets it from the environment). Nothing usable gives 0.
double LeadingNumber(const QString& text) {
    const std::string ascii = ToStored(text.trimmed());
    double value = 0.0;
    const char* first = ascii.data();
    const char* last = first + ascii.size();
    auto [end, error] = std::from_chars(first, last, value);
    if (end == first || error != std::errc() || !std::isfinite(value))
        return 0.0;
    return value;
}

// Plain fixed-point digits with a point and the decimals, and a minus for a value below 0
// that does not show as zero.
QString FixedText(double value, int decimals) {
    char buffer[512];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::fixed, decimals);
    if (error != std::errc())
        return QString();
    QString text = QString::fromLatin1(buffer, static_cast<int>(end - buffer));
    const bool showsZero = std::all_of(
        text.cbegin(), text.cend(), [](QChar c) { return c == QLatin1Char('0') || c == kPoint; });
    if (value < 0 && !showsZero)
        text.prepend(kMinus);
    return text;
}

void InsertThousandsSeparators(QString& text) {
    const int start = text.startsWith(kMinus) ? 1 : 0;
    int end = text.indexOf(kPoint);
    if (end < 0)
        end = text.size();
    for (int position = end - 3; position > start; position -= 3)
        text.insert(position, kSeparator);
}

} // namespace

CNumericEdit::CNumericEdit(QWidget* parent) : QLineEdit(parent) {
    // Text may enter only by typing or pasting, where the number rules are applied.
    setAcceptDrops(false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    ShowValue(true);
}

void CNumericEdit::SetValue(double value) {
    m_value = value;
    m_hasValue = true;
    ShowValue(true);
}

void CNumericEdit::SetDecimals(int decimals, bool thousandsSeparators) {
    m_decimals = std::clamp(decimals, 0, kMaxDecimals);
    m_thousandsSeparators = thousandsSeparators;
    ShowValue(true);
}

void CNumericEdit::SetRange(double minimum, double maximum) {
    m_minimum = minimum;
    m_maximum = maximum;
}

double CNumericEdit::RoundToDecimals(double value, int decimals) {
    const double p = std::pow(10.0, std::clamp(decimals, 0, kMaxDecimals));
    const double rounded = std::trunc(value * p + (value < 0 ? -0.5 : 0.5)) / p;
    if (!(std::fabs(rounded - value) <= 1.0 / p))
        return value;
    return rounded;
}

QString CNumericEdit::Undecorated(QString text) const {
    if (!m_prefix.isEmpty() && text.startsWith(m_prefix))
        text.remove(0, m_prefix.size());
    if (!m_suffix.isEmpty() && text.endsWith(m_suffix))
        text.chop(m_suffix.size());
    // Separators come only from decoration: typing and pasting never let one in.
    text.remove(kSeparator);
    return text;
}

void CNumericEdit::ClampValue() {
    // "Not at most the maximum" also takes a NaN to the maximum.
    if (m_value < m_minimum)
        m_value = m_minimum;
    else if (!(m_value <= m_maximum))
        m_value = m_maximum;
}

double CNumericEdit::ReadValue() {
    const QString current = text();
    if (current.isEmpty()) {
        m_value = 0.0;
        m_hasValue = false;
        return m_value;
    }
    m_value = RoundToDecimals(LeadingNumber(Undecorated(current)), m_decimals);
    // The box's range holds for a value read while the box still has the focus, too.
    ClampValue();
    m_hasValue = true;
    return m_value;
}

QString CNumericEdit::FormatValue(bool decorated) {
    ClampValue();
    if (m_emptyWhenZero && m_value == 0.0)
        return QString();

    QString number = FixedText(m_value, m_decimals);
    // Only a final ".0" of the number itself goes ("1.05" and a suffix stay whole).
    if (m_dropTrailingZero && number.endsWith(QLatin1String(".0")))
        number.chop(2);
    if (decorated && m_thousandsSeparators)
        InsertThousandsSeparators(number);
    if (number.startsWith(kPoint))
        number.prepend(QLatin1Char('0'));
    return decorated ? m_prefix + number + m_suffix : number;
}

void CNumericEdit::ShowValue(bool decorated) {
    setText(FormatValue(decorated));
}

bool CNumericEdit::AcceptsCharacter(QChar character, int position, const QString& outside) {
    if (character.isDigit() && character.unicode() < 128)
        return true;
    if (!character.isPrint())
        return true;
    if (character == kMinus)
        return position == 0 && !outside.contains(kMinus);
    if (character == kPoint)
        return !outside.contains(kPoint);
    return false;
}

int CNumericEdit::SelectionStartOrCursor() const {
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

QString CNumericEdit::TextOutsideSelection() const {
    if (!hasSelectedText())
        return text();
    return text().left(selectionStart()) + text().mid(selectionEnd());
}

void CNumericEdit::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        if (!isReadOnly())
            Paste();
        event->accept();
        return;
    }
    const QString typed = event->text();
    const int position = SelectionStartOrCursor();
    const QString outside = TextOutsideSelection();
    for (QChar character : typed) {
        if (!AcceptsCharacter(character, position, outside)) {
            event->accept(); // swallowed
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void CNumericEdit::Paste(QClipboard::Mode mode) {
    const QString clip = QGuiApplication::clipboard()->text(mode);
    if (clip.isEmpty())
        return;
    const int start = SelectionStartOrCursor();
    const QString current = text();
    const QString before = current.left(start);
    const QString after = hasSelectedText() ? current.mid(selectionEnd()) : current.mid(start);
    // Each character is judged as if typed in turn, so the characters pasted before it
    // count as present: "1.2.3" is refused like its second point would be when typed.
    QString accepted;
    bool passes = true;
    for (int i = 0; i < clip.size(); ++i) {
        const QChar character = clip.at(i);
        if (!AcceptsCharacter(character, start + i, before + accepted + after)) {
            passes = false;
            break;
        }
        // Control characters pass as they do when typed, but they put nothing in the text.
        if (character.isPrint())
            accepted.append(character);
    }
    if (!passes) {
        ShowPrompt(this, QStringLiteral("Paste"),
                   QStringLiteral("Format of the following value is not compatible with this "
                                  "control\n\"%1\"\nPaste Command Ignored")
                       .arg(clip),
                   EPromptIcon::Warning, EPromptButtons::Ok);
        return;
    }
    insert(accepted);
}

QMenu* CNumericEdit::CreateContextMenu() {
    QMenu* menu = createStandardContextMenu();
    // The paste entry is the one wired to QLineEdit::paste; it is rewired to Paste.
    const QList<QAction*> actions = menu->actions();
    for (QAction* action : actions) {
        // Qt has wired it by name in some versions and by member pointer in others.
        const bool byName = disconnect(action, SIGNAL(triggered()), this, SLOT(paste()));
        const bool byMember = disconnect(action, &QAction::triggered, this, &QLineEdit::paste);
        if (byName || byMember)
            connect(action, &QAction::triggered, this, [this] { Paste(); });
    }
    return menu;
}

void CNumericEdit::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = CreateContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void CNumericEdit::mouseReleaseEvent(QMouseEvent* event) {
    // The selection paste of the middle button passes the same test as any other paste.
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
        if (!isReadOnly()) {
            deselect();
            Paste(QClipboard::Selection);
        }
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void CNumericEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // A context menu borrows the focus without the user leaving the box.
    if (event->reason() == Qt::PopupFocusReason)
        return;
    if (m_hasValue)
        ShowValue(false);
    selectAll();
}

void CNumericEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason)
        return;
    ReadValue();
    // A box left empty stays empty: it holds no value, and showing 0 would make it read
    // back as one.
    if (m_hasValue)
        ShowValue(true);
}

} // namespace fitquill
