// SPDX-License-Identifier: GPL-3.0-or-later
// The handheld's database files and the HotSync log under the failure sweep: each failed save
// leaves the previous file byte-identical and nothing behind.
#include "platform/palm/hotsync_log.h"
#include "platform/palm/palm_database.h"
#include "tests/core/io/failure_sweep.h"

#include <random>

namespace fitquill {
namespace {

namespace fs = std::filesystem;
using testing::RunFailureSweep;

CPalmDatabase Database(int records) {
    CPalmDatabase db;
    db.SetName("FQA-AppDB");
    db.SetCreator(0x46517569);
    for (int i = 0; i < records; ++i) {
        SPalmRecord record;
        record.uniqueId = static_cast<uint32_t>(i + 1);
        record.data.assign(static_cast<size_t>(40 + i), static_cast<uint8_t>(i));
        db.Records().push_back(record);
    }
    return db;
}

std::tm NoonOf(int day) {
    std::tm time{};
    time.tm_year = 2024 - 1900;
    time.tm_mon = 5;
    time.tm_mday = day;
    time.tm_hour = 12;
    return time;
}

class PalmSaveSweep : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = fs::temp_directory_path() /
                   ("fitquill-palm-sweep-" + std::to_string(std::random_device{}()));
        fs::create_directories(m_folder);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(m_folder, ec);
    }
    void Reset() {
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    fs::path m_folder;
};

TEST_F(PalmSaveSweep, HandheldDatabase) {
    const fs::path file = m_folder / "FQA-AppDB.pdb";
    const CPalmDatabase next = Database(25);
    RunFailureSweep(
        "handheld database", m_folder,
        [&] {
            Reset();
            ASSERT_TRUE(Database(3).Save(file));
        },
        [&] {
            std::string error;
            const bool saved = next.Save(file, &error);
            EXPECT_EQ(saved, error.empty()) << error;
            return saved;
        });
}

TEST_F(PalmSaveSweep, HotSyncLog) {
    std::optional<CHotSyncLog> log;
    RunFailureSweep(
        "HotSync log", m_folder,
        [&] {
            Reset();
            CHotSyncLog first(m_folder);
            first.SetClock([] { return NoonOf(1); });
            first.AddEntry("Fitquill", 20, false);
            ASSERT_TRUE(first.Save());
            log.emplace(m_folder);
            log->SetClock([] { return NoonOf(2); });
            log->AddEntry("Larderon", 21, false);
        },
        [&] {
            std::string error;
            const bool saved = log->Save(&error);
            EXPECT_EQ(saved, error.empty()) << error;
            // A failed save keeps the session for the next try.
            EXPECT_EQ(log->PendingLines().empty(), saved);
            return saved;
        });
}

} // namespace
} // namespace fitquill
