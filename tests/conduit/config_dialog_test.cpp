// SPDX-License-Identifier: GPL-3.0-or-later
#include "conduit/config_dialog.h"

#include "conduit/conduit_api.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

using namespace fitquill;

namespace {

using Record = std::array<uint8_t, kConfigurationSize>;

void Put(Record& record, size_t offset, int32_t value) {
    for (int i = 0; i < 4; ++i)
        record[offset + i] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
}

int32_t Get(const Record& record, size_t offset) {
    return static_cast<int32_t>(record[offset] | record[offset + 1] << 8 |
                                record[offset + 2] << 16 | uint32_t(record[offset + 3]) << 24);
}

Record MakeRecord(int32_t permanent, int32_t next, uint32_t creator = 0, const char* user = "") {
    Record record{};
    Put(record, 0x000, 1);
    Put(record, 0x004, 0x160);
    Put(record, 0x008, static_cast<int32_t>(creator));
    std::memcpy(record.data() + 0x010, user, std::strlen(user));
    Put(record, 0x150, permanent);
    Put(record, 0x154, next);
    Put(record, 0x158, 0x55);
    Put(record, 0x15C, 0x55);
    return record;
}

TEST(ConfigDialog, NextActionPreselectsItsButtonAndOkStoresTheButtonsAction) {
    struct SCase {
        int32_t next;
        int button;
        const char* text;
        int32_t stored; // after OK without a change
    };
    const SCase cases[] = {
        {0, 404, "Synchronize the files.", 0},
        {1, 404, "Synchronize the files.", 0},
        {2, 406, "Palm organizer overwrites Desktop.", 2},
        {3, 405, "Desktop overwrites Palm organizer.", 3},
        {4, 407, "Do Nothing.", 6},
        {5, 407, "Do Nothing.", 6},
        {6, 407, "Do Nothing.", 6},
        {-1, 407, "Do Nothing.", 6},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.next);
        Record record = MakeRecord(0, c.next, 0x46517569, "Ann");
        CConfigDialog dialog(kJournalConduit, kDialogCurrentSettings, record.data());
        EXPECT_EQ(dialog.SelectedButton(), c.button);
        EXPECT_EQ(dialog.NextActionText(), c.text);
        EXPECT_EQ(dialog.Ok(), kDialogResultOk);
        EXPECT_EQ(Get(record, 0x158), c.stored);
        EXPECT_EQ(Get(record, 0x15C), 2);
    }
}

TEST(ConfigDialog, CurrentSettingsOnlyWithACreatorAndTheNameTakenAsText) {
    Record none = MakeRecord(3, 2, 0, "Ann");
    CConfigDialog without(kJournalConduit, kDialogCurrentSettings, none.data());
    EXPECT_FALSE(without.ShowsCurrentSettings());
    EXPECT_EQ(without.CurrentSettingsCaption(), "");
    EXPECT_EQ(without.NextActionText(), "");

    Record record = MakeRecord(3, 2, 1, "%s%n Bob");
    CConfigDialog with(kFoodConduit, kDialogCurrentSettings, record.data());
    EXPECT_EQ(with.CurrentSettingsCaption(), "%s%n Bob's Current Settings:");
    EXPECT_EQ(with.DefaultActionText(), "Desktop overwrites Palm organizer.");
    EXPECT_EQ(with.NextActionText(), "Palm organizer overwrites Desktop.");
    EXPECT_EQ(with.Title(), "Larderon");
    EXPECT_EQ(with.GroupCaption(), "HotSync Action for Larderon");

    // A name that fills its whole field without a NUL is cut at the field's end.
    std::memset(record.data() + 0x010, 'x', 64);
    record[0x050] = 'y';
    EXPECT_EQ(with.CurrentSettingsCaption(), std::string(64, 'x') + "'s Current Settings:");
}

TEST(ConfigDialog, HelpIsTheHotSyncHelpBesideTheModule) {
    const SHelpTopic topic = CConfigDialog::Help("/opt/conduits");
    EXPECT_EQ(topic.file, std::filesystem::path("/opt/conduits/hotsync.hlp"));
    EXPECT_EQ(topic.context, 131471u);
}

} // namespace
