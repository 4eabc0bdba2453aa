// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Stand-ins for what a conduit run reaches outside itself: a handheld database in memory and
// the desktop program's presence.

#include "conduit/sync/desktop_presence.h"
#include "conduit/sync/sync_channel.h"
#include "tests/conduit/conduit_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace fitquill::testing {

enum class ECall { Open, Close, PurgeDeleted, Info, Read, PurgeAll, Write };

// A handheld database in memory whose calls can be made to fail: the `failOn`-th call (1 for
// the first) of one kind returns `failStatus`.
class CMemoryChannel final : public ISyncChannel {
public:
    Records records;
    std::optional<ECall> failing;
    int failOn = 1;
    int32_t failStatus = 0x4015;
    std::vector<ECall> calls;

    int32_t OpenDB(const std::string& name, int, uint8_t& handle, uint8_t mode) override {
        EXPECT_EQ(mode, 0xD0);
        if (int32_t status = Call(ECall::Open))
            return status;
        handle = 7;
        return name == "FQA-AppDB" ? 0 : kSyncErrNotFound;
    }
    int32_t CloseDB(uint8_t) override { return Call(ECall::Close); }
    int32_t PurgeDeletedRecs(uint8_t) override { return Call(ECall::PurgeDeleted); }
    int32_t ReadOpenDbInfo(const SSyncReadOpenDbInfoParams& params,
                           SSyncDatabaseInfo& info) override {
        EXPECT_EQ(params.optFlags, 0x40);
        info.numRecords = static_cast<uint32_t>(records.size());
        return Call(ECall::Info);
    }
    int32_t ReadRecordByIndex(SRawRecordInfo& record) override {
        if (int32_t status = Call(ECall::Read))
            return status;
        const auto& data = records.at(record.recordIndex);
        EXPECT_EQ(record.totalBytes, 0xFFF0);
        // The size is the record's; only what fits the caller's buffer is copied.
        record.recordSize = static_cast<uint32_t>(data.size());
        std::copy_n(data.begin(), std::min<size_t>(data.size(), record.totalBytes), record.bytes);
        return 0;
    }
    int32_t PurgeAllRecs(uint8_t) override {
        if (int32_t status = Call(ECall::PurgeAll))
            return status;
        records.clear();
        return 0;
    }
    int32_t WriteRec(SRawRecordInfo& record) override {
        if (int32_t status = Call(ECall::Write))
            return status;
        EXPECT_EQ(record.recordIndex, records.size());
        records.emplace_back(record.bytes, record.bytes + record.recordSize);
        return 0;
    }

    int Count(ECall call) const {
        return static_cast<int>(std::count(calls.begin(), calls.end(), call));
    }

private:
    int32_t Call(ECall call) {
        calls.push_back(call);
        return failing == call && Count(call) == failOn ? failStatus : 0;
    }
};

class CFakePresence final : public IDesktopPresence {
public:
    bool running = false;
    std::vector<std::optional<uint32_t>> asked;
    bool CheckRunning(std::optional<uint32_t> palmUserId) override {
        asked.push_back(palmUserId);
        return running;
    }
};

} // namespace fitquill::testing
