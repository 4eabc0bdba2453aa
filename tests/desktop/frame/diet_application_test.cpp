// SPDX-License-Identifier: GPL-3.0-or-later
// The program's catch-all: an error raised while an event is handled ends the program with the
// internal-error message and exit code 0, also from inside a dialog's own event loop.
#include "core/internal_error.h"
#include "desktop/document/prompt.h"
#include "desktop/frame/diet_application.h"

#include <QDialog>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace fitquill;

namespace {

// This test program's application object is the program's own, not the tests' usual one.
CDietApplication& App() {
    static int argc = 1;
    static char name[] = "diet_application_test";
    static char* argv[] = {name, nullptr};
    static CDietApplication* app = [] {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        return new CDietApplication(argc, argv);
    }();
    return *app;
}

class DietApplication : public ::testing::Test {
protected:
    void SetUp() override {
        App();
        SetExitHook([this](int code) {
            m_exits.push_back(code);
            // Leaves every running event loop, as ending the process would.
            QCoreApplication::exit(code);
        });
    }
    void TearDown() override { SetExitHook({}); }

    void ExpectEndedWithTheInternalErrorMessage() {
        ASSERT_EQ(m_exits, std::vector<int>{0});
        ASSERT_EQ(m_prompt.Shown().size(), 1u);
        const auto& shown = m_prompt.Shown()[0];
        EXPECT_EQ(shown.caption, "Fitquill");
        EXPECT_EQ(shown.text, "An internal error occured.  In order to try and protect your data "
                              "files the application will automatically close without saving.");
        EXPECT_EQ(shown.owner, nullptr);
        EXPECT_EQ(shown.buttons, EPromptButtons::Ok);
    }

    CScriptedPrompt m_prompt;
    std::vector<int> m_exits;
};

} // namespace

TEST_F(DietApplication, AnErrorInAnEventHandlerEndsTheProgram) {
    QTimer::singleShot(0, [] { RaiseInternalError(kInternalErrorGeneral, "broken"); });
    QTimer::singleShot(2000, [] { QCoreApplication::exit(5); }); // a missed catch
    EXPECT_EQ(QCoreApplication::exec(), 0);
    ExpectEndedWithTheInternalErrorMessage();
}

TEST_F(DietApplication, AnErrorInsideADialogEndsTheProgramToo) {
    QDialog dialog;
    QTimer::singleShot(0, [] { throw std::runtime_error("not even an internal error"); });
    QTimer::singleShot(2000, [&] { dialog.reject(); });
    const int result = dialog.exec();
    EXPECT_EQ(result, QDialog::Rejected);
    ExpectEndedWithTheInternalErrorMessage();
}

TEST_F(DietApplication, WorkThatFinishesIsNotReported) {
    int ran = 0;
    EXPECT_TRUE(RunGuarded([&] { ++ran; }));
    EXPECT_EQ(ran, 1);
    EXPECT_TRUE(m_prompt.Shown().empty());
    EXPECT_TRUE(m_exits.empty());
}
