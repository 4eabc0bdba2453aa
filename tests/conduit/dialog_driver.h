// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Answers the conduit's modal dialog from inside its event loop, as a user would: waits for a
// visible dialog, then lets the test read and press its controls.

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>
#include <memory>

namespace fitquill::testing {

class CDialogDriver {
public:
    using Answer = std::function<void(QDialog&)>;

    // Starts watching; the answer runs once, on the first visible dialog.
    explicit CDialogDriver(Answer answer) : m_state(std::make_shared<SState>()) {
        m_state->answer = std::move(answer);
        Schedule(m_state, 0);
    }
    ~CDialogDriver() { m_state->stopped = true; }
    CDialogDriver(const CDialogDriver&) = delete;
    CDialogDriver& operator=(const CDialogDriver&) = delete;

    bool DialogSeen() const { return m_state->seen; }

private:
    struct SState {
        Answer answer;
        bool seen = false;
        bool stopped = false;
    };

    static void Schedule(const std::shared_ptr<SState>& state, int delayMs) {
        QTimer::singleShot(delayMs, qApp, [state] {
            if (state->stopped || state->seen)
                return;
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                auto* dialog = qobject_cast<QDialog*>(widget);
                if (dialog != nullptr && dialog->isVisible()) {
                    state->seen = true;
                    state->answer(*dialog);
                    return;
                }
            }
            Schedule(state, 10);
        });
    }

    std::shared_ptr<SState> m_state;
};

} // namespace fitquill::testing
