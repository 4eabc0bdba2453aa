// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/palm/sync_manager.h"

#include <cstdint>
#include <string>

namespace fitquill {

// The Sync Manager operations a conduit run calls, with the Sync Manager's statuses (0 for
// success). The run holds this interface so that tests can make any one call fail.
class ISyncChannel {
public:
    virtual ~ISyncChannel() = default;
    virtual int32_t OpenDB(const std::string& name, int cardNumber, uint8_t& handle,
                           uint8_t mode) = 0;
    virtual int32_t CloseDB(uint8_t handle) = 0;
    virtual int32_t PurgeDeletedRecs(uint8_t handle) = 0;
    virtual int32_t ReadOpenDbInfo(const SSyncReadOpenDbInfoParams& params,
                                   SSyncDatabaseInfo& info) = 0;
    virtual int32_t ReadRecordByIndex(SRawRecordInfo& record) = 0;
    virtual int32_t PurgeAllRecs(uint8_t handle) = 0;
    virtual int32_t WriteRec(SRawRecordInfo& record) = 0;
};

// The channel to a handheld folder through the Sync Manager stand-in.
class CSyncManagerChannel final : public ISyncChannel {
public:
    explicit CSyncManagerChannel(CSyncManager& manager) : m_manager(manager) {}

    int32_t OpenDB(const std::string& name, int cardNumber, uint8_t& handle,
                   uint8_t mode) override {
        return m_manager.OpenDB(name, cardNumber, handle, mode);
    }
    int32_t CloseDB(uint8_t handle) override { return m_manager.CloseDB(handle); }
    int32_t PurgeDeletedRecs(uint8_t handle) override { return m_manager.PurgeDeletedRecs(handle); }
    int32_t ReadOpenDbInfo(const SSyncReadOpenDbInfoParams& params,
                           SSyncDatabaseInfo& info) override {
        return m_manager.ReadOpenDbInfo(params, info);
    }
    int32_t ReadRecordByIndex(SRawRecordInfo& record) override {
        return m_manager.ReadRecordByIndex(record);
    }
    int32_t PurgeAllRecs(uint8_t handle) override { return m_manager.PurgeAllRecs(handle); }
    int32_t WriteRec(SRawRecordInfo& record) override { return m_manager.WriteRec(record); }

private:
    CSyncManager& m_manager;
};

} // namespace fitquill
