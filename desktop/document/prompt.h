// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <deque>
#include <vector>

class QWidget;

namespace fitquill {

enum class EPromptIcon {
    None,
    Information,
    Question,
    Warning, // the exclamation icon too: the two are one and the same
    Error,
};

enum class EPromptButtons {
    Ok,
    OkCancel,
    YesNo,
    YesNoCancel,
    YesNoDefaultNo, // Yes and No with No as the default button: the cautious answer first
};

enum class EPromptAnswer {
    Ok,
    Cancel,
    Yes,
    No,
};

// Every message box of the program goes through this interface, so that tests can see what
// was shown and script the answers. Show blocks until the user answers.
class CPrompt {
public:
    virtual ~CPrompt() = default;

    // owner may be null (a box that belongs to no window).
    virtual EPromptAnswer Show(QWidget* owner, const QString& caption, const QString& text,
                               EPromptIcon icon, EPromptButtons buttons) = 0;

    // The prompt that the program uses: a Qt message box unless a test installed another.
    static CPrompt& Current();
    // Installs a prompt (not owned; it must outlive its use); null restores the Qt one.
    static void SetCurrent(CPrompt* prompt);

    // The answer that a box with these buttons gives for its default button (the first one; No for
    // YesNoDefaultNo).
    static EPromptAnswer DefaultAnswer(EPromptButtons buttons);
};

// Shorthand for CPrompt::Current().Show(...).
EPromptAnswer ShowPrompt(QWidget* owner, const QString& caption, const QString& text,
                         EPromptIcon icon, EPromptButtons buttons);

// Modal QMessageBox.
class CQtPrompt : public CPrompt {
public:
    EPromptAnswer Show(QWidget* owner, const QString& caption, const QString& text,
                       EPromptIcon icon, EPromptButtons buttons) override;
};

// For tests: records every box and answers from a script. Without a scripted answer left,
// a box answers with its default button. While it exists it is the current prompt.
class CScriptedPrompt : public CPrompt {
public:
    struct SShown {
        QWidget* owner = nullptr;
        QString caption;
        QString text;
        EPromptIcon icon = EPromptIcon::None;
        EPromptButtons buttons = EPromptButtons::Ok;
        EPromptAnswer answer = EPromptAnswer::Ok;
    };

    CScriptedPrompt();
    ~CScriptedPrompt() override;
    CScriptedPrompt(const CScriptedPrompt&) = delete;
    CScriptedPrompt& operator=(const CScriptedPrompt&) = delete;

    EPromptAnswer Show(QWidget* owner, const QString& caption, const QString& text,
                       EPromptIcon icon, EPromptButtons buttons) override;

    void Answer(EPromptAnswer answer) { m_script.push_back(answer); }
    const std::vector<SShown>& Shown() const { return m_shown; }
    size_t ScriptedAnswersLeft() const { return m_script.size(); }
    void Clear();

private:
    CPrompt* m_previous = nullptr;
    std::deque<EPromptAnswer> m_script;
    std::vector<SShown> m_shown;
};

} // namespace fitquill
