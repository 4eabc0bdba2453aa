// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/widgets/stored_text_guard.h"

#include "desktop/document/stored_text.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QToolTip>
#include <QValidator>

namespace fitquill {
namespace {

QString Refused(const QString& text) {
    QString rest = text;
    rest.remove(QChar(0xFFFD));
    return FirstUnstorable(rest);
}

void ShowRefusal(QWidget* box, const QString& character) {
    QToolTip::showText(box->mapToGlobal(QPoint(0, box->height())), UnstorableText(character), box);
}

class CStoredTextValidator : public QValidator {
public:
    CStoredTextValidator(QWidget* box) : QValidator(box), m_box(box) {}

    State validate(QString& input, int&) const override {
        const QString refused = Refused(input);
        if (refused.isEmpty())
            return Acceptable;
        ShowRefusal(m_box, refused);
        return Invalid;
    }

private:
    QWidget* m_box;
};

} // namespace

QString UnstorableText(const QString& character) {
    return QStringLiteral("Fitquill cannot store \"%1\": names and notes hold only the "
                          "characters of Western European text (Windows-1252).")
        .arg(character);
}

void GuardStoredText(QLineEdit* edit) {
    edit->setValidator(new CStoredTextValidator(edit));
}

void GuardStoredText(QComboBox* editableCombo) {
    editableCombo->setValidator(new CStoredTextValidator(editableCombo));
}

void GuardStoredText(QPlainTextEdit* edit) {
    // A text edit has no validator: what it took is taken out again at once.
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit] {
        const QString text = edit->toPlainText();
        const QString refused = Refused(text);
        if (refused.isEmpty())
            return;
        QTextCursor cursor(edit->document());
        cursor.beginEditBlock();
        for (qsizetype i = text.size(); i-- > 0;) {
            const QChar c = text[i];
            const qsizetype length = c.isLowSurrogate() && i > 0 ? 2 : 1;
            const qsizetype start = i + 1 - length;
            if (c != QChar(0xFFFD) && !IsStorable(text.mid(start, length))) {
                cursor.setPosition(static_cast<int>(start));
                cursor.setPosition(static_cast<int>(start + length), QTextCursor::KeepAnchor);
                cursor.removeSelectedText();
            }
            i = start;
        }
        cursor.endEditBlock();
        ShowRefusal(edit, refused);
    });
}

} // namespace fitquill
