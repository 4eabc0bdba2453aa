// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QClipboard>
#include <QLineEdit>
#include <QString>

class QMenu;

namespace fitquill {

// The edit box of every decimal number: accepts only the characters of a number, keeps the
// number as a double and shows it with a fixed number of decimals, clamped to its range.
// Out-of-range values are not refused; they become the nearest bound.
class CNumericEdit : public QLineEdit {
    Q_OBJECT

public:
    static constexpr double kDefaultValue = 1.0;
    static constexpr int kDefaultDecimals = 2;
    static constexpr double kDefaultMinimum = 0.0;
    static constexpr double kDefaultMaximum = 999.99;
    // More decimals than a double holds would only show noise.
    static constexpr int kMaxDecimals = 15;

    explicit CNumericEdit(QWidget* parent = nullptr);

    // Stores the value, marks the box as having one and shows it decorated.
    void SetValue(double value);
    // Stores the number of decimals and the separator choice and shows the value decorated.
    void SetDecimals(int decimals, bool thousandsSeparators);
    // Stores the range; the value is clamped to it the next time it is shown.
    void SetRange(double minimum, double maximum);
    void SetPrefix(const QString& prefix) { m_prefix = prefix; }
    void SetSuffix(const QString& suffix) { m_suffix = suffix; }
    void SetEmptyWhenZero(bool on) { m_emptyWhenZero = on; }
    void SetDropTrailingZero(bool on) { m_dropTrailingZero = on; }

    // Parses the current text into the value and returns it: an empty text is 0 and no
    // value; otherwise the number, rounded to the decimals and kept within the range.
    // Dialogs call this before they use the value.
    double ReadValue();

    double Value() const { return m_value; }
    bool HasValue() const { return m_hasValue; }
    int Decimals() const { return m_decimals; }
    bool HasThousandsSeparators() const { return m_thousandsSeparators; }
    double Minimum() const { return m_minimum; }
    double Maximum() const { return m_maximum; }

    // Clamps and stores the value, then returns its text: decorated adds the thousands
    // separators (when on), the prefix and the suffix.
    QString FormatValue(bool decorated);
    // FormatValue shown in the box.
    void ShowValue(bool decorated);

    // Rounds half away from zero to the decimals; a result further than one unit of the last
    // decimal from the value (beyond what a double can round) leaves the value unrounded.
    static double RoundToDecimals(double value, int decimals);
    // Whether a character typed at position passes when the text outside the selection is
    // outside.
    static bool AcceptsCharacter(QChar character, int position, const QString& outside);

    // Pastes the clipboard text when every character passes the typing rule; otherwise shows
    // the paste-refused message and leaves the text as it was.
    void Paste(QClipboard::Mode mode = QClipboard::Clipboard);
    // The standard edit menu with its paste entry going through Paste.
    QMenu* CreateContextMenu();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void ClampValue();
    int SelectionStartOrCursor() const;
    QString TextOutsideSelection() const;
    // The text without this box's decoration, as the number parser needs it.
    QString Undecorated(QString text) const;

    double m_value = kDefaultValue;
    bool m_hasValue = true;
    int m_decimals = kDefaultDecimals;
    bool m_thousandsSeparators = false;
    double m_minimum = kDefaultMinimum;
    double m_maximum = kDefaultMaximum;
    QString m_prefix;
    QString m_suffix;
    bool m_emptyWhenZero = false;
    bool m_dropTrailingZero = false;
};

} // namespace fitquill
