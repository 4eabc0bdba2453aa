// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/document/prompt.h"

#include <QMessageBox>

namespace fitquill {
namespace {

CPrompt*& Installed() {
    static CPrompt* installed = nullptr;
    return installed;
}

QMessageBox::Icon ToQtIcon(EPromptIcon icon) {
    switch (icon) {
    case EPromptIcon::Information:
        return QMessageBox::Information;
    case EPromptIcon::Question:
        return QMessageBox::Question;
    case EPromptIcon::Warning:
        return QMessageBox::Warning;
    case EPromptIcon::Error:
        return QMessageBox::Critical;
    case EPromptIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

EPromptAnswer ToAnswer(QMessageBox::StandardButton button) {
    switch (button) {
    case QMessageBox::Yes:
        return EPromptAnswer::Yes;
    case QMessageBox::No:
        return EPromptAnswer::No;
    case QMessageBox::Cancel:
        return EPromptAnswer::Cancel;
    default:
        return EPromptAnswer::Ok;
    }
}

} // namespace

CPrompt& CPrompt::Current() {
    static CQtPrompt qtPrompt;
    CPrompt* installed = Installed();
    return installed ? *installed : qtPrompt;
}

void CPrompt::SetCurrent(CPrompt* prompt) {
    Installed() = prompt;
}

EPromptAnswer CPrompt::DefaultAnswer(EPromptButtons buttons) {
    switch (buttons) {
    case EPromptButtons::YesNo:
    case EPromptButtons::YesNoCancel:
        return EPromptAnswer::Yes;
    case EPromptButtons::YesNoDefaultNo:
        return EPromptAnswer::No;
    case EPromptButtons::Ok:
    case EPromptButtons::OkCancel:
        break;
    }
    return EPromptAnswer::Ok;
}

EPromptAnswer ShowPrompt(QWidget* owner, const QString& caption, const QString& text,
                         EPromptIcon icon, EPromptButtons buttons) {
    return CPrompt::Current().Show(owner, caption, text, icon, buttons);
}

EPromptAnswer CQtPrompt::Show(QWidget* owner, const QString& caption, const QString& text,
                              EPromptIcon icon, EPromptButtons buttons) {
    QMessageBox box(ToQtIcon(icon), caption, text, QMessageBox::NoButton, owner);
    // Plain text: user data (a clipboard text, a user name) must not be read as markup.
    box.setTextFormat(Qt::PlainText);
    QMessageBox::StandardButton first = QMessageBox::Ok;
    QMessageBox::StandardButton escape = QMessageBox::Ok;
    switch (buttons) {
    case EPromptButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case EPromptButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        escape = QMessageBox::Cancel;
        break;
    case EPromptButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        first = QMessageBox::Yes;
        escape = QMessageBox::No;
        break;
    case EPromptButtons::YesNoDefaultNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        first = QMessageBox::No;
        escape = QMessageBox::No;
        break;
    case EPromptButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        first = QMessageBox::Yes;
        escape = QMessageBox::Cancel;
        break;
    }
    box.setDefaultButton(first);
    box.setEscapeButton(escape);
    // A box closed from its window frame answers with its escape button.
    int result = box.exec();
    return ToAnswer(result == QMessageBox::NoButton
                        ? escape
                        : static_cast<QMessageBox::StandardButton>(result));
}

CScriptedPrompt::CScriptedPrompt() : m_previous(Installed()) {
    SetCurrent(this);
}

CScriptedPrompt::~CScriptedPrompt() {
    if (Installed() == this)
        SetCurrent(m_previous);
}

EPromptAnswer CScriptedPrompt::Show(QWidget* owner, const QString& caption, const QString& text,
                                    EPromptIcon icon, EPromptButtons buttons) {
    EPromptAnswer answer = DefaultAnswer(buttons);
    if (!m_script.empty()) {
        answer = m_script.front();
        m_script.pop_front();
    }
    m_shown.push_back({owner, caption, text, icon, buttons, answer});
    return answer;
}

void CScriptedPrompt::Clear() {
    m_script.clear();
    m_shown.clear();
}

} // namespace fitquill
