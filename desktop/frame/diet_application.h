// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>

#include <functional>

namespace fitquill {

inline constexpr char kInternalErrorCaption[] = "Fitquill";
inline constexpr char kInternalErrorText[] =
    "An internal error occured.  In order to try and protect your data files the application "
    "will automatically close without saving.";

// The program's application object: every event is delivered inside a catch-all, so that an
// internal error (or any other exception) raised while handling it ends the program through
// ReportUnhandledError instead of unwinding through the event loop.
class CDietApplication : public QApplication {
    Q_OBJECT

public:
    CDietApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// How the program ends after an unhandled error; takes the exit code. The default ends the
// process at once, so that nothing (no document, no window) gets a chance to save.
using ExitHook = std::function<void(int)>;
void SetExitHook(ExitHook hook);

// Shows the internal-error message (no owner window) and ends the program with exit code 0.
void ReportUnhandledError();

// Runs `work`; an exception that escapes it goes to ReportUnhandledError. Returns whether the
// work finished normally.
bool RunGuarded(const std::function<void()>& work);

} // namespace fitquill
