// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/document/prompt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace fitquill;

namespace {

// Shows one box through the Qt prompt and lets act answer it once it is up.
EPromptAnswer ShowAndAct(EPromptButtons buttons, const QString& text,
                         const std::function<void(QMessageBox&)>& act) {
    QTimer::singleShot(0, [act] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            ADD_FAILURE() << "no message box is up";
            return;
        }
        act(*box);
    });
    CQtPrompt prompt;
    return prompt.Show(nullptr, QStringLiteral("Caption"), text, EPromptIcon::Question, buttons);
}

} // namespace

TEST(Prompt, QtBoxAnswersWithTheButtonPressedAndEscapeMeansTheLastChoice) {
    struct {
        EPromptButtons buttons;
        QMessageBox::StandardButton pressed; // NoButton: Escape
        EPromptAnswer expected;
    } cases[] = {
        {EPromptButtons::Ok, QMessageBox::Ok, EPromptAnswer::Ok},
        {EPromptButtons::Ok, QMessageBox::NoButton, EPromptAnswer::Ok},
        {EPromptButtons::OkCancel, QMessageBox::NoButton, EPromptAnswer::Cancel},
        {EPromptButtons::YesNo, QMessageBox::No, EPromptAnswer::No},
        {EPromptButtons::YesNo, QMessageBox::NoButton, EPromptAnswer::No},
        {EPromptButtons::YesNoCancel, QMessageBox::Yes, EPromptAnswer::Yes},
        {EPromptButtons::YesNoCancel, QMessageBox::NoButton, EPromptAnswer::Cancel},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.pressed));
        const QMessageBox::StandardButton pressed = c.pressed;
        EPromptAnswer answer =
            ShowAndAct(c.buttons, QStringLiteral("Sure?"), [pressed](QMessageBox& box) {
                if (pressed == QMessageBox::NoButton)
                    QTest::keyClick(&box, Qt::Key_Escape);
                else
                    box.button(pressed)->click();
            });
        EXPECT_EQ(answer, c.expected);
    }
}

TEST(Prompt, QtBoxShowsCaptionIconAndTextAsPlainText) {
    QString caption, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Qt::TextFormat format = Qt::AutoText;
    const QString shown = QStringLiteral("Delete <b>all</b> of '\"x\"'?");
    ShowAndAct(EPromptButtons::YesNo, shown, [&](QMessageBox& box) {
        caption = box.windowTitle();
        text = box.text();
        icon = box.icon();
        format = box.textFormat();
        box.button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(caption, QStringLiteral("Caption"));
    EXPECT_EQ(text, shown);
    EXPECT_EQ(icon, QMessageBox::Question);
    EXPECT_EQ(format, Qt::PlainText);
}

TEST(Prompt, ScriptedPromptRecordsAnswersAndRestoresThePreviousOne) {
    CPrompt* before = &CPrompt::Current();
    {
        CScriptedPrompt outer;
        outer.Answer(EPromptAnswer::No);
        {
            CScriptedPrompt inner;
            EXPECT_EQ(&CPrompt::Current(), &inner);
            EXPECT_EQ(
                ShowPrompt(nullptr, "a", "b", EPromptIcon::Warning, EPromptButtons::YesNoCancel),
                EPromptAnswer::Yes); // nothing scripted: the default button
        }
        EXPECT_EQ(&CPrompt::Current(), &outer);
        EXPECT_EQ(ShowPrompt(nullptr, "Save", "Do you want to save changes to 'x'?",
                             EPromptIcon::Question, EPromptButtons::YesNoCancel),
                  EPromptAnswer::No);
        EXPECT_EQ(ShowPrompt(nullptr, "c", "d", EPromptIcon::Warning, EPromptButtons::OkCancel),
                  EPromptAnswer::Ok);
        ASSERT_EQ(outer.Shown().size(), 2u);
        EXPECT_EQ(outer.Shown()[0].caption, QStringLiteral("Save"));
        EXPECT_EQ(outer.Shown()[0].answer, EPromptAnswer::No);
        EXPECT_EQ(outer.ScriptedAnswersLeft(), 0u);
    }
    EXPECT_EQ(&CPrompt::Current(), before);
}
