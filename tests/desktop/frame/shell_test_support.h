// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A private world for the shell's widget tests: temporary home, settings, runtime and Palm
// Desktop folders, a 1024 x 768 offscreen desktop, a fixed today (15 March 2024) and scripted
// message boxes.

#include "core/journal/journal_date.h"
#include "core/journal/journal_db.h"
#include "desktop/document/diet_data.h"
#include "desktop/document/prompt.h"
#include "desktop/frame/main_frame.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <vector>

// Readable QString values in test failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace fitquill::test {

// The folder that holds the whole test world of this test program.
const std::filesystem::path& WorldFolder();

// Lets the event loop run for a while (timers, queued calls, socket notifiers).
void ProcessEventsFor(int milliseconds);

// Runs `act` on the first modal dialog of type TDialog that comes up within a few seconds; a
// test failure when none does. Set it up before the call that opens the dialog.
template <typename TDialog> void WhenModal(std::function<void(TDialog&)> act) {
    auto* poll = new QTimer;
    auto* clock = new QElapsedTimer;
    clock->start();
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, clock, act] {
        auto* dialog = qobject_cast<TDialog*>(QApplication::activeModalWidget());
        if (!dialog && clock->elapsed() < 5000)
            return;
        poll->stop();
        poll->deleteLater();
        delete clock;
        if (!dialog) {
            ADD_FAILURE() << "no " << TDialog::staticMetaObject.className() << " came up";
            return;
        }
        act(*dialog);
    });
    poll->start();
}

class ShellTest : public ::testing::Test {
protected:
    static constexpr uint32_t kAnnId = 1234;
    static constexpr uint32_t kBobId = 5678;

    void SetUp() override;
    void TearDown() override;

    // Users are HotSync users of a Palm Desktop folder by default; this switches to the
    // program's own list below the installation folder (before Create()).
    void UseOwnUserList();
    void AddUser(const std::string& name, uint32_t id = 0);
    void Remember(const QString& name);
    // Writes a journal file for a user with a record for each date; `edit` may change the
    // journal before it is written.
    void WriteJournal(const std::string& name, const std::vector<CJournalDate>& days,
                      const std::function<void(CJournalDB&)>& edit = {});
    std::filesystem::path ProgramFolderOf(const std::string& name) const;

    // Builds the document and the main window as the program does, without showing it.
    CMainFrame& Create();
    // Create(), then shows the window and lets the start-up user selection run.
    CMainFrame& Start();
    // Ends the window and the document (the window's destructor writes its settings).
    void Stop();

    // The texts of the message boxes shown so far.
    std::vector<QString> ShownTexts() const;

    std::filesystem::path m_folder;
    std::filesystem::path m_palmRoot;
    std::filesystem::path m_installPath;
    std::filesystem::path m_programFolder;
    bool m_ownUserList = false;
    std::unique_ptr<CScriptedPrompt> m_prompt;
    std::unique_ptr<CDietData> m_data;
    std::unique_ptr<CMainFrame> m_frame;
};

} // namespace fitquill::test
