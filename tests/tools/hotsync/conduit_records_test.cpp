// SPDX-License-Identifier: GPL-3.0-or-later
// The offsets themselves are checked by a test module that decodes the records on its own
// (hotsync_tool_test); here the limits of building them.
#include "tools/fitquill-hotsync/conduit_records.h"

#include "conduit/conduit_api.h"

#include <gtest/gtest.h>

using namespace fitquill;

namespace {

TEST(ConduitRecordsTest, SyncPropertiesRefuseTextsThatWouldBeCut) {
    SSyncRunProperties properties;
    properties.pathName = std::string(255, 'p');
    properties.localName = "Fitquill/UserDB.dat";
    properties.userName = "Ann";
    properties.remoteName = "FQA-AppDB";
    const auto record = CConduitRecords::SyncProperties(properties);
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->at(kSyncPropsPathName + 255), 0);
    properties.pathName += 'p';
    EXPECT_FALSE(CConduitRecords::SyncProperties(properties).has_value());
    properties.pathName = "/palm/Ann/";
    properties.userName = std::string("A\0nn", 4);
    EXPECT_FALSE(CConduitRecords::SyncProperties(properties).has_value());
}

TEST(ConduitRecordsTest, ConfigurationAnswerOnlyWhenTheDialogStoredAKind) {
    std::vector<uint8_t> record =
        CConduitRecords::Configuration(kConduitCreator, 42, std::string(100, 'n'), 0, 3);
    ASSERT_EQ(record.size(), kConfigurationSize);
    // A long name is shown cut, with its NUL inside the field.
    EXPECT_EQ(record[kConfigUserName + kConfigUserNameSize - 1], 0);
    EXPECT_EQ(record[kConfigUserName + kConfigUserNameSize - 2], 'n');
    EXPECT_FALSE(CConduitRecords::ConfigurationAnswer(record).has_value());
    for (int32_t kind : {kPreferencePermanent, kPreferenceTemporary}) {
        CConduitRecords::PutU32(record, kConfigNewAction, 2);
        CConduitRecords::PutU32(record, kConfigPreferenceKind, static_cast<uint32_t>(kind));
        const auto answer = CConduitRecords::ConfigurationAnswer(record);
        ASSERT_TRUE(answer.has_value());
        EXPECT_EQ(answer->action, 2);
        EXPECT_EQ(answer->kind, kind);
    }
    CConduitRecords::PutU32(record, kConfigPreferenceKind, 3);
    EXPECT_FALSE(CConduitRecords::ConfigurationAnswer(record).has_value());
}

} // namespace
