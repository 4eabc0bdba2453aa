// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/palm/sync_manager.h"

#include "core/io/atomic_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fitquill {
namespace {

namespace fs = std::filesystem;

constexpr uint8_t kConduitMode = 0xD0;
constexpr uint32_t kFixedTime = 0xBC000000;

std::vector<uint8_t> Bytes(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

class SyncManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        m_folder = fs::path(::testing::TempDir()) /
                   (std::string("fitquill_") + test->test_suite_name() + "_" + test->name());
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        m_handheld = {m_folder, "Pat Doe", 4242};
    }
    void TearDown() override { fs::remove_all(m_folder); }

    // The journal database as a handheld would hold it: a live record, a deleted one, an
    // archived one, a secret one in category 5.
    CPalmDatabase Journal() const {
        CPalmDatabase db;
        db.SetName("FQA-AppDB");
        db.SetType(PalmFourCC("DATA"));
        db.SetCreator(PalmFourCC("FQui"));
        db.SetAttributes(kPalmDbAttrBackup);
        db.SetModificationNumber(7);
        db.SetUniqueIdSeed(0x00A00004);
        db.SetAppInfo(Bytes("app"));
        db.Records().push_back({kPalmRecAttrDirty | 2, 0xA00001, Bytes("header")});
        db.Records().push_back({kPalmRecAttrDelete, 0xA00002, Bytes("gone")});
        db.Records().push_back({kPalmRecAttrDelete | kPalmRecAttrArchive, 0xA00003, Bytes("kept")});
        db.Records().push_back({kPalmRecAttrSecret | 5, 0xA00004, Bytes("private")});
        return db;
    }

    fs::path SaveJournal(const std::string& fileName = "FQA-AppDB.pdb") const {
        const auto path = m_folder / fileName;
        EXPECT_TRUE(Journal().Save(path));
        return path;
    }

    CPalmDatabase Reload(const fs::path& path) const {
        CPalmDatabase db;
        EXPECT_TRUE(db.Load(path));
        return db;
    }

    std::unique_ptr<CSyncManager> Manager() const {
        auto manager = std::make_unique<CSyncManager>(m_handheld);
        manager->SetClock([] { return kFixedTime; });
        return manager;
    }

    static int32_t Read(CSyncManager& sync, uint8_t handle, uint16_t index,
                        std::vector<uint8_t>& buffer, SRawRecordInfo& info) {
        info = {};
        info.fileHandle = handle;
        info.recordIndex = index;
        info.totalBytes = uint16_t(buffer.size());
        info.bytes = buffer.data();
        return sync.ReadRecordByIndex(info);
    }

    static int32_t Write(CSyncManager& sync, uint8_t handle, std::vector<uint8_t> data, uint32_t id,
                         SRawRecordInfo& info) {
        info = {};
        info.fileHandle = handle;
        info.recordId = id;
        info.recordSize = uint32_t(data.size());
        info.bytes = data.data();
        return sync.WriteRec(info);
    }

    fs::path m_folder;
    SHandheld m_handheld;
};

TEST_F(SyncManagerTest, OpensByHeaderNameNotFileName) {
    SaveJournal("journal-copy.PDB");
    auto sync = Manager();
    uint8_t handle = 0;
    EXPECT_EQ(sync->OpenDB("FQA-AppDB", 0, handle, kConduitMode), kSyncErrNone);
    EXPECT_NE(handle, 0);
    EXPECT_EQ(sync->CloseDB(handle), kSyncErrNone);
}

TEST_F(SyncManagerTest, OpenFailuresHaveDistinctStatuses) {
    SaveJournal();
    std::vector<uint8_t> damaged = Bytes(std::string("Damaged") + std::string(25, '\0'));
    damaged.resize(78, 0xFF); // unterminated list, impossible offsets
    ASSERT_TRUE(ReplaceFileAtomically(m_folder / "Damaged.pdb", damaged));

    auto sync = Manager();
    uint8_t handle = 0;
    EXPECT_EQ(sync->OpenDB("NoSuchDB", 0, handle, kConduitMode), kSyncErrNotFound);
    EXPECT_EQ(sync->OpenDB("fqa-appdb", 0, handle, kConduitMode), kSyncErrNotFound);
    EXPECT_EQ(sync->OpenDB("FQA-AppDB", 1, handle, kConduitMode), kSyncErrNotFound);
    EXPECT_EQ(sync->OpenDB("Damaged", 0, handle, kConduitMode), kSyncErrFileNotOpen);

    CSyncManager missingFolder({m_folder / "nowhere", "", 0});
    EXPECT_EQ(missingFolder.OpenDB("FQA-AppDB", 0, handle, kConduitMode), kSyncErrNotFound);
}

TEST_F(SyncManagerTest, ADatabaseCannotBeOpenedTwice) {
    SaveJournal();
    CPalmDatabase food;
    food.SetName("FQA-FoodDB");
    ASSERT_TRUE(food.Save(m_folder / "FQA-FoodDB.pdb"));

    auto sync = Manager();
    uint8_t handle = 0, second = 0;
    ASSERT_EQ(sync->OpenDB("FQA-AppDB", 0, handle, kConduitMode), kSyncErrNone);
    EXPECT_EQ(sync->OpenDB("FQA-AppDB", 0, second, kConduitMode), kSyncErrFileAlreadyOpen);
    EXPECT_EQ(sync->OpenDB("FQA-FoodDB", 0, second, kConduitMode), kSyncErrTooManyOpenFiles);
    // Another manager on the same handheld is refused too.
    auto other = Manager();
    EXPECT_EQ(other->OpenDB("FQA-AppDB", 0, second, kConduitMode), kSyncErrFileAlreadyOpen);
    EXPECT_EQ(other->OpenDB("FQA-FoodDB", 0, second, kConduitMode), kSyncErrNone);
    EXPECT_EQ(other->CloseDB(second), kSyncErrNone);

    EXPECT_EQ(sync->CloseDB(handle), kSyncErrNone);
    EXPECT_EQ(sync->CloseDB(handle), kSyncErrFileNotOpen);
    EXPECT_EQ(other->OpenDB("FQA-AppDB", 0, second, kConduitMode), kSyncErrNone);
    EXPECT_EQ(other->CloseDB(second), kSyncErrNone);
}

TEST_F(SyncManagerTest, ReadsInformationAndRecordsWithTheirAttributes) {
    SaveJournal();
    auto sync = Manager();
    uint8_t handle = 0;
    ASSERT_EQ(sync->OpenDB("FQA-AppDB", 0, handle, kConduitMode), kSyncErrNone);

    SSyncDatabaseInfo info;
    ASSERT_EQ(sync->ReadOpenDbInfo({kSyncDbInfoGetSize, handle}, info), kSyncErrNone);
    EXPECT_EQ(info.numRecords, 4u);
    EXPECT_EQ(info.dataBytes, 6u + 4 + 4 + 7);
    EXPECT_EQ(info.appBlockSize, 3u);
    EXPECT_EQ(info.totalBytes, 78u + 4 * 8 + 2 + 3 + 21);
    EXPECT_EQ(info.baseInfo.name, "") << "base information only when asked for";
    ASSERT_EQ(sync->ReadOpenDbInfo({kSyncDbInfoGetBase | kSyncDbInfoGetMaxRecSize, handle}, info),
              kSyncErrNone);
    EXPECT_EQ(info.baseInfo.name, "FQA-AppDB");
    EXPECT_EQ(info.baseInfo.creator, PalmFourCC("FQui"));
    EXPECT_EQ(info.baseInfo.dbType, PalmFourCC("DATA"));
    EXPECT_EQ(info.baseInfo.modificationNumber, 7u);
    EXPECT_EQ(info.maxRecordSize, 0xFFF0u);
    EXPECT_EQ(sync->ReadOpenDbInfo({kSyncDbInfoGetSize, uint8_t(handle + 1)}, info),
              kSyncErrFileNotOpen);

    struct SExpected {
        uint32_t id;
        uint8_t attributes;
        int16_t category;
        std::string data;
    };
    const std::vector<SExpected> expected = {
        {0xA00001, kSyncRecAttrDirty, 2, "header"},
        {0xA00002, kSyncRecAttrDeleted, 0, "gone"},
        {0xA00003, kSyncRecAttrDeleted | kSyncRecAttrArchived, 0, "kept"},
        {0xA00004, kSyncRecAttrSecret, 5, "private"},
    };
    std::vector<uint8_t> buffer(kSyncMaxRecordSize);
    for (uint16_t i = 0; i < expected.size(); ++i) {
        SRawRecordInfo record;
        ASSERT_EQ(Read(*sync, handle, i, buffer, record), kSyncErrNone) << i;
        EXPECT_EQ(record.recordId, expected[i].id) << i;
        EXPECT_EQ(record.attributes, expected[i].attributes) << i;
        EXPECT_EQ(record.categoryId, expected[i].category) << i;
        ASSERT_EQ(record.recordSize, expected[i].data.size()) << i;
        EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + record.recordSize),
                  expected[i].data);
    }
    SRawRecordInfo record;
    EXPECT_EQ(Read(*sync, handle, 4, buffer, record), kSyncErrBadIndex);
    EXPECT_EQ(Read(*sync, handle, 0xFFFF, buffer, record), kSyncErrBadIndex);
    EXPECT_EQ(Read(*sync, uint8_t(handle + 1), 0, buffer, record), kSyncErrFileNotOpen);
    EXPECT_EQ(sync->CloseDB(handle), kSyncErrNone);
}

TEST_F(SyncManagerTest, ARecordLargerThanTheBufferIsNotCutShort) {
    CPalmDatabase db = Journal();
    db.Records()[1].data.assign(kSyncMaxRecordSize + 1, 0x5A); // from a file made elsewhere
    ASSERT_TRUE(db.Save(m_folder / "FQA-AppDB.pdb"));
    auto sync = Manager();
    uint8_t handle = 0;
    ASSERT_EQ(sync->OpenDB("FQA-AppDB", 0, handle, kConduitMode), kSyncErrNone);

    std::vector<uint8_t> small(3, 0xEE);
    SRawRecordInfo record;
    EXPECT_EQ(Read(*sync, handle, 0, small, record), kSyncErrBufferTooSmall);
    EXPECT_EQ(record.recordSize, 6u);
    EXPECT_EQ(small, std::vector<uint8_t>(3, 0xEE));
    std::vector<uint8_t> exact(6);
    EXPECT_EQ(Read(*sync, handle, 0, exact, record), kSyncErrNone);
    EXPECT_EQ(exact, Bytes("header"));

    std::vector<uint8_t> buffer(kSyncMaxRecordSize, 0xEE);
    EXPECT_EQ(Read(*sync, handle, 1, buffer, record), kSyncErrBufferTooSmall);
    EXPECT_EQ(record.recordSize, kSyncMaxRecordSize + 1);
    EXPECT_EQ(buffer, std::vector<uint8_t>(kSyncMaxRecordSize, 0xEE));

    record.bytes = nullptr;
    record.recordIndex = 0;
    EXPECT_EQ(sync->ReadRecordByIndex(record), kSyncErrArgMissing);
}

TEST_F(SyncManagerTest, SecretRecordsNeedShowSecret) {
    SaveJournal();
    auto sync = Manager();
    uint8_t handle = 0;
    ASSERT_EQ(sync->OpenDB("FQA-AppDB", 0, handle, kSyncModeRead), kSyncErrNone);
    std::vector<uint8_t> buffer(kSyncMaxRecordSize);
    SRawRecordInfo record;
    EXPECT_EQ(Read(*sync, handle, 3, buffer, record), kSyncErrRecordHidden);
    EXPECT_EQ(Read(*sync, handle, 0, buffer, record), kSyncErrNone);
    ASSERT_EQ(sync->CloseDB(handle), kSyncErrNone);
    ASSERT_EQ(sync->OpenDB("FQA-AppDB", 0, handle, kSyncModeWrite), kSyncErrNone);
    EXPECT_EQ(Read(*sync, handle, 0, buffer, record), kSyncErrBadOperation);
    ASSERT_EQ(sync->CloseDB(handle), kSyncErrNone);
}

TEST_F(SyncManagerTest, PurgeDeletedRemovesDeletedAndArchivedAtClose) {
    const auto path = SaveJournal();
    const auto before = ReadWholeFile(path);
    auto sync = Manager();
    uint8_t handle = 0;
    ASSERT_EQ(sync->OpenDB("FQA-AppDB", 0, handle, kConduitMode), kSyncErrNone);
    ASSERT_EQ(sync->PurgeDeletedRecs(handle), kSyncErrNone);
    SSyncDatabaseInfo info;
    ASSERT_EQ(sync->ReadOpenDbInfo({kSyncDbInfoGetSize, handle}, info), kSyncErrNone);
    EXPECT_EQ(info.numRecords, 2u);
    EXPECT_EQ(ReadWholeFile(path), before) << "nothing reaches the file before the close";
    ASSERT_EQ(sync->CloseDB(handle), kSyncErrNone);

    CPalmDatabase expected = Journal();
    expected.Records().erase(expected.Records().begin() + 1, expected.Records().begin() + 3);
    expected.SetModificationNumber(8);
    expected.SetModificationDate(kFixedTime);
    EXPECT_EQ(ReadWholeFile(path), expected.Write());
}

TEST_F(SyncManagerTest, PurgeAllKeepsTheDatabaseAndNewIdsDoNotRepeat) {
    const auto path = SaveJournal();
    auto sync = Manager();
    uint8_t handle = 0;
    ASSERT_EQ(sync->OpenDB("FQA-AppDB", 0, handle, kConduitMode), kSyncErrNone);
    ASSERT_EQ(sync->PurgeAllRecs(handle), kSyncErrNone);
    SSyncDatabaseInfo info;
    ASSERT_EQ(sync->ReadOpenDbInfo({kSyncDbInfoGetSize, handle}, info), kSyncErrNone);
    EXPECT_EQ(info.numRecords, 0u);
    std::vector<uint32_t> ids;
    for (const char* text : {"r0", "r1", "r2"}) {
        SRawRecordInfo record;
        ASSERT_EQ(Write(*sync, handle, Bytes(text), 0, record), kSyncErrNone);
        ids.push_back(record.recordId);
    }
    EXPECT_EQ(ids, (std::vector<uint32_t>{0xA00005, 0xA00006, 0xA00007}));
    ASSERT_EQ(sync->CloseDB(handle), kSyncErrNone);

    const CPalmDatabase back = Reload(path);
    EXPECT_EQ(back.Name(), "FQA-AppDB");
    EXPECT_EQ(back.Type(), PalmFourCC("DATA"));
    EXPECT_EQ(back.Creator(), PalmFourCC("FQui"));
    EXPECT_EQ(back.Attributes(), kPalmDbAttrBackup);
    EXPECT_EQ(back.AppInfo(), Bytes("app"));
    EXPECT_EQ(back.UniqueIdSeed(), 0x00A00007u);
    EXPECT_EQ(back.ModificationNumber(), 7u + 4);
    ASSERT_EQ(back.Records().size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(back.Records()[i], (SPalmRecord{0, ids[i], Bytes("r" + std::to_string(i))}));
    }
}

TEST_F(SyncManagerTest, WrittenRecordsReadBackInIndexOrder) {
    CPalmDatabase empty;
    empty.SetName("FQA-FoodDB");
    ASSERT_TRUE(empty.Save(m_folder / "FQA-FoodDB.pdb"));
    auto sync = Manager();
    uint8_t handle = 0;
    ASSERT_EQ(sync->OpenDB("FQA-FoodDB", 0, handle, kConduitMode), kSyncErrNone);
    std::vector<std::vector<uint8_t>> written;
    for (int i = 0; i < 300; ++i) {
        std::vector<uint8_t> data(size_t(i * 7 % 50), uint8_t(i));
        SRawRecordInfo record;
        ASSERT_EQ(Write(*sync, handle, data, 0, record), kSyncErrNone);
        written.push_back(data);
    }
    // The largest record the conduits' buffer holds passes; one byte more is refused.
    SRawRecordInfo record;
    ASSERT_EQ(Write(*sync, handle, std::vector<uint8_t>(kSyncMaxRecordSize, 9), 0, record),
              kSyncErrNone);
    written.push_back(std::vector<uint8_t>(kSyncMaxRecordSize, 9));
    EXPECT_EQ(Write(*sync, handle, std::vector<uint8_t>(kSyncMaxRecordSize + 1, 9), 0, record),
              kSyncErrBadArgument);
    ASSERT_EQ(sync->CloseDB(handle), kSyncErrNone);

    auto again = Manager();
    ASSERT_EQ(again->OpenDB("FQA-FoodDB", 0, handle, kConduitMode), kSyncErrNone);
    std::vector<uint8_t> buffer(kSyncMaxRecordSize);
    for (uint16_t i = 0; i < written.size(); ++i) {
        ASSERT_EQ(Read(*again, handle, i, buffer, record), kSyncErrNone);
        ASSERT_EQ(record.recordSize, written[i].size());
        EXPECT_TRUE(std::equal(written[i].begin(), written[i].end(), buffer.begin())) << i;
        EXPECT_EQ(record.recordId, uint32_t(i + 1));
    }
    EXPECT_EQ(Read(*again, handle, uint16_t(written.size()), buffer, record), kSyncErrBadIndex);
}

TEST_F(SyncManagerTest, WriteWithAnExistingIdReplacesInPlace) {
    const auto path = SaveJournal();
    auto sync = Manager();
    uint8_t handle = 0;
    ASSERT_EQ(sync->OpenDB("FQA-AppDB", 0, handle, kConduitMode), kSyncErrNone);
    std::vector<uint8_t> data = Bytes("new header");
    SRawRecordInfo record = {
        handle, 0xA00001, 0, kSyncRecAttrSecret, 4, 0, uint32_t(data.size()), 0, data.data(), 0};
    ASSERT_EQ(sync->WriteRec(record), kSyncErrNone);
    EXPECT_EQ(record.recordId, 0xA00001u);
    // An ID the database does not hold yet is taken as given.
    ASSERT_EQ(Write(*sync, handle, Bytes("restored"), 0x000777, record), kSyncErrNone);
    EXPECT_EQ(record.recordId, 0x000777u);
    ASSERT_EQ(sync->CloseDB(handle), kSyncErrNone);

    const CPalmDatabase back = Reload(path);
    ASSERT_EQ(back.Records().size(), 5u);
    EXPECT_EQ(back.Records()[0],
              (SPalmRecord{kPalmRecAttrSecret | 4, 0xA00001, Bytes("new header")}));
    EXPECT_EQ(back.Records()[4], (SPalmRecord{0, 0x000777, Bytes("restored")}));
}

TEST_F(SyncManagerTest, AttributesAndCategoryTravelAsTheFileStoresThem) {
    const auto path = SaveJournal();
    struct SCase {
        uint8_t attributes;
        int16_t category;
        uint8_t stored; // the file's attribute byte
        uint8_t readAttributes;
        int16_t readCategory;
    };
    const std::vector<SCase> cases = {
        {0, 0, 0x00, 0, 0},
        {0, 15, 0x0F, 0, 15},
        {kSyncRecAttrSecret | kSyncRecAttrDirty, 7, 0x57, kSyncRecAttrSecret | kSyncRecAttrDirty,
         7},
        // A deleted record keeps no category; archived implies deleted.
        {kSyncRecAttrDeleted, 9, 0x80, kSyncRecAttrDeleted, 0},
        {kSyncRecAttrArchived, 3, 0x88, kSyncRecAttrDeleted | kSyncRecAttrArchived, 0},
        {kSyncRecAttrDeleted | kSyncRecAttrArchived | kSyncRecAttrSecret, 0, 0x98,
         kSyncRecAttrDeleted | kSyncRecAttrArchived | kSyncRecAttrSecret, 0},
    };
    auto sync = Manager();
    uint8_t handle = 0;
    ASSERT_EQ(sync->OpenDB("FQA-AppDB", 0, handle, kConduitMode), kSyncErrNone);
    ASSERT_EQ(sync->PurgeAllRecs(handle), kSyncErrNone);
    std::vector<uint8_t> data = Bytes("r");
    for (const auto& c : cases) {
        SRawRecordInfo record{handle, 0, 0, c.attributes, c.category, 0, 1, 0, data.data(), 0};
        ASSERT_EQ(sync->WriteRec(record), kSyncErrNone);
    }
    std::vector<uint8_t> buffer(kSyncMaxRecordSize);
    for (uint16_t i = 0; i < cases.size(); ++i) {
        SRawRecordInfo record;
        ASSERT_EQ(Read(*sync, handle, i, buffer, record), kSyncErrNone);
        EXPECT_EQ(record.attributes, cases[i].readAttributes) << i;
        EXPECT_EQ(record.categoryId, cases[i].readCategory) << i;
    }
    ASSERT_EQ(sync->CloseDB(handle), kSyncErrNone);
    const CPalmDatabase back = Reload(path);
    ASSERT_EQ(back.Records().size(), cases.size());
    for (size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(back.Records()[i].attributes, cases[i].stored) << i;
}

TEST_F(SyncManagerTest, RefusesBadWrites) {
    SaveJournal();
    auto sync = Manager();
    uint8_t handle = 0;
    ASSERT_EQ(sync->OpenDB("FQA-AppDB", 0, handle, kConduitMode), kSyncErrNone);
    std::vector<uint8_t> data = Bytes("x");
    struct SCase {
        const char* what;
        SRawRecordInfo record;
        int32_t status;
    };
    const std::vector<SCase> cases = {
        {"busy", {handle, 0, 0, kSyncRecAttrBusy, 0, 0, 1, 0, data.data(), 0}, kSyncErrBadArgument},
        {"unknown bit", {handle, 0, 0, 0x01, 0, 0, 1, 0, data.data(), 0}, kSyncErrBadArgument},
        {"category 16", {handle, 0, 0, 0, 16, 0, 1, 0, data.data(), 0}, kSyncErrBadArgument},
        {"category -1", {handle, 0, 0, 0, -1, 0, 1, 0, data.data(), 0}, kSyncErrBadArgument},
        {"ID over 24 bits",
         {handle, 1u << 24, 0, 0, 0, 0, 1, 0, data.data(), 0},
         kSyncErrBadArgument},
        {"no bytes", {handle, 0, 0, 0, 0, 0, 1, 0, nullptr, 0}, kSyncErrArgMissing},
        {"bad handle",
         {uint8_t(handle + 1), 0, 0, 0, 0, 0, 1, 0, data.data(), 0},
         kSyncErrFileNotOpen},
    };
    for (auto c : cases)
        EXPECT_EQ(sync->WriteRec(c.record), c.status) << c.what;
    SSyncDatabaseInfo info;
    ASSERT_EQ(sync->ReadOpenDbInfo({kSyncDbInfoGetSize, handle}, info), kSyncErrNone);
    EXPECT_EQ(info.numRecords, 4u);
    ASSERT_EQ(sync->CloseDB(handle), kSyncErrNone);
}

TEST_F(SyncManagerTest, ChangesNeedWriteAccess) {
    const auto path = SaveJournal();
    CPalmDatabase readOnly = Journal();
    readOnly.SetName("ROM");
    readOnly.SetAttributes(kPalmDbAttrReadOnly);
    ASSERT_TRUE(readOnly.Save(m_folder / "ROM.pdb"));
    const auto before = ReadWholeFile(path);

    auto sync = Manager();
    for (const auto& [name, mode] : {std::pair<std::string, uint8_t>{"FQA-AppDB", 0x90},
                                     std::pair<std::string, uint8_t>{"ROM", kConduitMode}}) {
        uint8_t handle = 0;
        ASSERT_EQ(sync->OpenDB(name, 0, handle, mode), kSyncErrNone) << name;
        SRawRecordInfo record;
        EXPECT_EQ(Write(*sync, handle, Bytes("x"), 0, record), kSyncErrReadOnly) << name;
        EXPECT_EQ(sync->PurgeDeletedRecs(handle), kSyncErrReadOnly) << name;
        EXPECT_EQ(sync->PurgeAllRecs(handle), kSyncErrReadOnly) << name;
        EXPECT_EQ(sync->CloseDB(handle), kSyncErrNone) << name;
    }
    EXPECT_EQ(ReadWholeFile(path), before);
}

TEST_F(SyncManagerTest, CloseWithoutChangesLeavesTheFileAlone) {
    const auto path = SaveJournal();
    const auto before = ReadWholeFile(path);
    auto sync = Manager();
    uint8_t handle = 0;
    ASSERT_EQ(sync->OpenDB("FQA-AppDB", 0, handle, kConduitMode), kSyncErrNone);
    std::vector<uint8_t> buffer(kSyncMaxRecordSize);
    SRawRecordInfo record;
    ASSERT_EQ(Read(*sync, handle, 0, buffer, record), kSyncErrNone);
    ASSERT_EQ(sync->CloseDB(handle), kSyncErrNone);
    EXPECT_EQ(ReadWholeFile(path), before);
}

TEST_F(SyncManagerTest, AFailedWriteAtCloseKeepsTheOldFileAndReleasesTheHandle) {
    const auto path = SaveJournal();
    const auto before = ReadWholeFile(path);
    auto sync = Manager();
    uint8_t handle = 0;
    ASSERT_EQ(sync->OpenDB("FQA-AppDB", 0, handle, kConduitMode), kSyncErrNone);
    ASSERT_EQ(sync->PurgeAllRecs(handle), kSyncErrNone);
    {
        CFileFaultInjection fault(EFileFault::Rename);
        EXPECT_EQ(sync->CloseDB(handle), kSyncErrWriteFailed);
        EXPECT_TRUE(fault.Triggered());
    }
    EXPECT_EQ(ReadWholeFile(path), before);
    ASSERT_EQ(sync->OpenDB("FQA-AppDB", 0, handle, kConduitMode), kSyncErrNone);
    EXPECT_EQ(sync->CloseDB(handle), kSyncErrNone);
}

TEST_F(SyncManagerTest, DestroyingAManagerKeepsWhatWasWritten) {
    const auto path = SaveJournal();
    {
        auto sync = Manager();
        uint8_t handle = 0;
        ASSERT_EQ(sync->OpenDB("FQA-AppDB", 0, handle, kConduitMode), kSyncErrNone);
        ASSERT_EQ(sync->PurgeAllRecs(handle), kSyncErrNone);
    }
    EXPECT_TRUE(Reload(path).Records().empty());
    auto sync = Manager();
    uint8_t handle = 0;
    EXPECT_EQ(sync->OpenDB("FQA-AppDB", 0, handle, kConduitMode), kSyncErrNone);
}

TEST_F(SyncManagerTest, InstallingReplacesADatabaseOfTheSameName) {
    const auto installed = SaveJournal("journal.pdb");
    const fs::path queue = m_folder / "queue";
    CPalmDatabase newer = Journal();
    newer.Records().resize(1);
    ASSERT_TRUE(newer.Save(queue / "FQA-AppDB.pdb"));
    CPalmDatabase app;
    app.SetName("Fit/quill");
    app.SetAttributes(kPalmDbAttrResourceDb);
    ASSERT_TRUE(app.Save(queue / "Fitquill.prc"));
    ASSERT_TRUE(ReplaceFileAtomically(queue / "Garbage.pdb", Bytes("not a database")));

    auto sync = Manager();
    EXPECT_EQ(sync->InstallDatabase(queue / "FQA-AppDB.pdb"), kSyncErrNone);
    EXPECT_EQ(ReadWholeFile(installed), ReadWholeFile(queue / "FQA-AppDB.pdb"));
    EXPECT_EQ(sync->InstallDatabase(queue / "Fitquill.prc"), kSyncErrNone);
    EXPECT_EQ(ReadWholeFile(m_folder / "Fit_quill.prc"), ReadWholeFile(queue / "Fitquill.prc"));
    EXPECT_EQ(sync->FindDatabaseFile("Fit/quill"), m_folder / "Fit_quill.prc");
    EXPECT_EQ(sync->InstallDatabase(queue / "Garbage.pdb"), kSyncErrBadArgument);
    EXPECT_EQ(sync->InstallDatabase(queue / "Missing.pdb"), kSyncErrBadArgument);

    uint8_t handle = 0;
    ASSERT_EQ(sync->OpenDB("FQA-AppDB", 0, handle, kConduitMode), kSyncErrNone);
    EXPECT_EQ(sync->InstallDatabase(queue / "FQA-AppDB.pdb"), kSyncErrFileAlreadyOpen);
    EXPECT_EQ(sync->CloseDB(handle), kSyncErrNone);
    EXPECT_FALSE(fs::exists(m_folder / "FQA-AppDB.pdb")) << "replaced where it was found";
}

} // namespace
} // namespace fitquill
