// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/frame/diet_application.h"

#include "desktop/document/prompt.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace fitquill {
namespace {

void EndProcess(int code) {
    std::fflush(nullptr);
    std::cout.flush();
    std::cerr.flush();
    // No destructors, no atexit handlers: whatever is open stays unsaved.
    std::_Exit(code);
}

ExitHook& TheExitHook() {
    static ExitHook hook = EndProcess;
    return hook;
}

} // namespace

void SetExitHook(ExitHook hook) {
    TheExitHook() = hook ? std::move(hook) : ExitHook(EndProcess);
}

void ReportUnhandledError() {
    ShowPrompt(nullptr, QString::fromLatin1(kInternalErrorCaption),
               QString::fromLatin1(kInternalErrorText), EPromptIcon::None, EPromptButtons::Ok);
    TheExitHook()(0);
}

bool RunGuarded(const std::function<void()>& work) {
    try {
        work();
        return true;
    } catch (const std::exception& error) {
        std::cerr << "fitquill-desktop: " << error.what() << '\n';
    } catch (...) {
        std::cerr << "fitquill-desktop: unknown exception\n";
    }
    ReportUnhandledError();
    return false;
}

CDietApplication::CDietApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool CDietApplication::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    RunGuarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

} // namespace fitquill
