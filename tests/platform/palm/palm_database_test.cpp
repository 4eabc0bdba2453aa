// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/palm/palm_database.h"

#include "core/io/atomic_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace fitquill {
namespace {

// Builds expected file images field by field from the documented layout.
class CImage {
public:
    CImage& U8(uint8_t v) {
        m_bytes.push_back(v);
        return *this;
    }
    CImage& U16(uint16_t v) { return U8(uint8_t(v >> 8)).U8(uint8_t(v)); }
    CImage& U24(uint32_t v) { return U8(uint8_t(v >> 16)).U16(uint16_t(v)); }
    CImage& U32(uint32_t v) { return U16(uint16_t(v >> 16)).U16(uint16_t(v)); }
    CImage& Text(const std::string& s) {
        m_bytes.insert(m_bytes.end(), s.begin(), s.end());
        return *this;
    }
    CImage& Zeros(size_t n) {
        m_bytes.insert(m_bytes.end(), n, 0);
        return *this;
    }
    CImage& Bytes(const std::vector<uint8_t>& b) {
        m_bytes.insert(m_bytes.end(), b.begin(), b.end());
        return *this;
    }
    // Header from the name through the unique-ID seed (0x00-0x47).
    CImage& Header(const std::string& name, uint16_t attrs, uint32_t appInfo, uint32_t sortInfo,
                   uint32_t seed) {
        Text(name).Zeros(32 - name.size());
        U16(attrs).U16(3);                              // version
        U32(0xB8000000).U32(0xB8000100).U32(0).U32(17); // dates, modification number
        U32(appInfo).U32(sortInfo);
        return U32(PalmFourCC("DATA")).U32(PalmFourCC("FQui")).U32(seed);
    }
    std::vector<uint8_t>& Get() { return m_bytes; }
    size_t Size() const { return m_bytes.size(); }

private:
    std::vector<uint8_t> m_bytes;
};

const std::vector<uint8_t> kAppInfo{0xA1, 0xA2, 0xA3};
const std::vector<uint8_t> kSortInfo{0x51};
const std::vector<uint8_t> kFirst{'A', 'B'};
const std::vector<uint8_t> kSecond{'x', 'y', 'z', 0};

// Two records with AppInfo and SortInfo: 78 + 2*8 + 2 = 96 = AppInfo, 99 SortInfo, 100 data.
std::vector<uint8_t> TwoRecordImage() {
    CImage img;
    img.Header("FQA-AppDB", kPalmDbAttrBackup, 96, 99, 0x00123002);
    img.U32(0).U16(2);
    img.U32(100).U8(kPalmRecAttrDirty | 3).U24(0x123001);
    img.U32(102).U8(kPalmRecAttrDelete | kPalmRecAttrArchive).U24(0x123002);
    img.U16(0).Bytes(kAppInfo).Bytes(kSortInfo).Bytes(kFirst).Bytes(kSecond);
    return img.Get();
}

CPalmDatabase TwoRecordDatabase() {
    CPalmDatabase db;
    EXPECT_TRUE(db.SetName("FQA-AppDB"));
    db.SetAttributes(kPalmDbAttrBackup);
    db.SetVersion(3);
    db.SetCreationDate(0xB8000000);
    db.SetModificationDate(0xB8000100);
    db.SetModificationNumber(17);
    db.SetType(PalmFourCC("DATA"));
    db.SetCreator(PalmFourCC("FQui"));
    db.SetUniqueIdSeed(0x00123002);
    db.SetAppInfo(kAppInfo);
    db.SetSortInfo(kSortInfo);
    db.Records().push_back({kPalmRecAttrDirty | 3, 0x123001, kFirst});
    db.Records().push_back({kPalmRecAttrDelete | kPalmRecAttrArchive, 0x123002, kSecond});
    return db;
}

TEST(PalmDatabaseLayout, WritesTheDocumentedBytes) {
    const auto image = TwoRecordDatabase().Write();
    ASSERT_TRUE(image);
    EXPECT_EQ(*image, TwoRecordImage());
}

TEST(PalmDatabaseLayout, EmptyDatabaseIsHeaderAndGapOnly) {
    CPalmDatabase db;
    ASSERT_TRUE(db.SetName("Empty"));
    db.SetType(PalmFourCC("DATA"));
    db.SetCreator(PalmFourCC("FQui"));
    CImage expected;
    expected.Text("Empty").Zeros(27).U16(0).U16(0).Zeros(16).U32(0).U32(0);
    expected.U32(PalmFourCC("DATA")).U32(PalmFourCC("FQui")).U32(0).U32(0).U16(0).U16(0);
    ASSERT_EQ(expected.Size(), 80u);
    const auto image = db.Write();
    ASSERT_TRUE(image);
    EXPECT_EQ(*image, expected.Get());
}

TEST(PalmDatabaseLayout, ReadsEveryFieldAndWritesTheSameBytes) {
    CPalmDatabase db;
    std::string error;
    ASSERT_TRUE(db.Read(TwoRecordImage(), &error)) << error;
    EXPECT_EQ(db.Name(), "FQA-AppDB");
    EXPECT_EQ(db.Attributes(), kPalmDbAttrBackup);
    EXPECT_EQ(db.Version(), 3);
    EXPECT_EQ(db.CreationDate(), 0xB8000000u);
    EXPECT_EQ(db.ModificationDate(), 0xB8000100u);
    EXPECT_EQ(db.LastBackupDate(), 0u);
    EXPECT_EQ(db.ModificationNumber(), 17u);
    EXPECT_EQ(db.Type(), PalmFourCC("DATA"));
    EXPECT_EQ(db.Creator(), PalmFourCC("FQui"));
    EXPECT_EQ(db.UniqueIdSeed(), 0x00123002u);
    EXPECT_EQ(db.AppInfo(), kAppInfo);
    EXPECT_EQ(db.SortInfo(), kSortInfo);
    ASSERT_EQ(db.Records().size(), 2u);
    EXPECT_EQ(db.Records()[0], (SPalmRecord{kPalmRecAttrDirty | 3, 0x123001, kFirst}));
    EXPECT_EQ(db.Records()[1],
              (SPalmRecord{kPalmRecAttrDelete | kPalmRecAttrArchive, 0x123002, kSecond}));
    EXPECT_EQ(db.Write(), TwoRecordImage());
}

TEST(PalmDatabaseLayout, KeepsAnEmptyAppInfoApartFromNone) {
    CPalmDatabase db = TwoRecordDatabase();
    db.SetAppInfo(std::vector<uint8_t>{});
    db.SetSortInfo(std::nullopt);
    const auto image = db.Write();
    ASSERT_TRUE(image);
    CPalmDatabase back;
    ASSERT_TRUE(back.Read(*image));
    ASSERT_TRUE(back.AppInfo().has_value());
    EXPECT_TRUE(back.AppInfo()->empty());
    EXPECT_FALSE(back.SortInfo().has_value());
    EXPECT_EQ(back.Records(), db.Records());
}

TEST(PalmDatabaseLayout, ReadsAndWritesResourceDatabases) {
    // 78 + 2*10 + 2 = 100: first resource, 104: second (empty), no AppInfo.
    CImage img;
    img.Header("Fitquill", kPalmDbAttrResourceDb | kPalmDbAttrBackup, 0, 0, 0);
    img.U32(0).U16(2);
    img.U32(PalmFourCC("code")).U16(1).U32(100);
    img.U32(PalmFourCC("tAIN")).U16(1000).U32(104);
    img.U16(0).U32(0x4E754E75);

    CPalmDatabase db;
    std::string error;
    ASSERT_TRUE(db.Read(img.Get(), &error)) << error;
    EXPECT_TRUE(db.IsResourceDb());
    EXPECT_TRUE(db.Records().empty());
    ASSERT_EQ(db.Resources().size(), 2u);
    EXPECT_EQ(db.Resources()[0], (SPalmResource{PalmFourCC("code"), 1, {0x4E, 0x75, 0x4E, 0x75}}));
    EXPECT_EQ(db.Resources()[1], (SPalmResource{PalmFourCC("tAIN"), 1000, {}}));
    EXPECT_EQ(db.Write(), img.Get());
}

TEST(PalmDatabaseLayout, AcceptsAFileWithoutTheGap) {
    CImage img;
    img.Header("NoGap", 0, 0, 0, 5);
    img.U32(0).U16(1).U32(86).U8(0).U24(5).Text("data");
    CPalmDatabase db;
    ASSERT_TRUE(db.Read(img.Get()));
    ASSERT_EQ(db.Records().size(), 1u);
    EXPECT_EQ(db.Records()[0].data, (std::vector<uint8_t>{'d', 'a', 't', 'a'}));
}

TEST(PalmDatabaseLayout, NeverWritesTheBusyBit) {
    CPalmDatabase db = TwoRecordDatabase();
    db.Records()[0].attributes = kPalmRecAttrBusy | kPalmRecAttrSecret | 2;
    const auto image = db.Write();
    ASSERT_TRUE(image);
    EXPECT_EQ((*image)[78 + 4], kPalmRecAttrSecret | 2);
}

struct SDamage {
    const char* what;
    std::vector<uint8_t> image;
};

// Each starts from the valid two-record image and breaks one thing.
std::vector<SDamage> DamagedImages() {
    auto with = [](auto change) {
        auto image = TwoRecordImage();
        change(image);
        return image;
    };
    auto put32 = [](std::vector<uint8_t>& image, size_t pos, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            image[pos + size_t(i)] = uint8_t(v >> (24 - 8 * i));
    };
    const auto full = TwoRecordImage();
    return {
        {"empty file", {}},
        {"header cut short", std::vector<uint8_t>(full.begin(), full.begin() + 77)},
        {"entries cut short", std::vector<uint8_t>(full.begin(), full.begin() + 90)},
        {"name not terminated", with([](auto& im) { std::fill_n(im.begin(), 32, 'N'); })},
        {"next record list set", with([&](auto& im) { put32(im, 0x48, 1); })},
        {"count beyond the file", with([](auto& im) { im[0x4C] = 0x40; })},
        {"record offset past the end", with([&](auto& im) { put32(im, 78, 0x7FFFFFF0); })},
        {"record offset past the end by one", with([&](auto& im) { put32(im, 86, 107); })},
        {"record offset inside the entries", with([&](auto& im) { put32(im, 78, 80); })},
        {"record offsets out of order", with([&](auto& im) { put32(im, 86, 99); })},
        {"AppInfo after the first record", with([&](auto& im) { put32(im, 0x34, 101); })},
        {"AppInfo past the end", with([&](auto& im) { put32(im, 0x34, 0xFFFFFFFF); })},
        {"AppInfo inside the header", with([&](auto& im) { put32(im, 0x34, 4); })},
        {"SortInfo before AppInfo", with([&](auto& im) { put32(im, 0x38, 95); })},
        {"SortInfo after the first record", with([&](auto& im) { put32(im, 0x38, 104); })},
        {"record database flagged as resources",
         with([](auto& im) { im[0x21] |= kPalmDbAttrResourceDb; })},
    };
}

TEST(PalmDatabaseDamage, RefusesDamagedFilesAndKeepsTheOldContent) {
    for (const auto& damage : DamagedImages()) {
        CPalmDatabase db = TwoRecordDatabase();
        std::string error;
        EXPECT_FALSE(db.Read(damage.image, &error)) << damage.what;
        EXPECT_FALSE(error.empty()) << damage.what;
        EXPECT_EQ(db.Write(), TwoRecordImage()) << damage.what;
    }
}

TEST(PalmDatabaseDamage, EveryTruncationReadsSafely) {
    // A shortened file may still be well formed (the last record simply ends earlier), but
    // no prefix may yield more data than it holds.
    const auto full = TwoRecordImage();
    for (size_t size = 0; size < full.size(); ++size) {
        CPalmDatabase db;
        const std::vector<uint8_t> prefix(full.begin(), full.begin() + std::ptrdiff_t(size));
        if (!db.Read(prefix))
            continue;
        size_t total = kPalmHeaderSize + db.Records().size() * kPalmRecordEntrySize;
        for (const auto& record : db.Records())
            total += record.data.size();
        EXPECT_LE(total, size) << size;
    }
}

TEST(PalmDatabaseWrite, RefusesWhatAHandheldWouldNotAccept) {
    struct SCase {
        const char* what;
        std::function<void(CPalmDatabase&)> change;
    };
    const std::vector<SCase> cases = {
        {"unique ID 0", [](CPalmDatabase& db) { db.Records()[0].uniqueId = 0; }},
        {"repeated unique ID", [](CPalmDatabase& db) { db.Records()[1].uniqueId = 0x123001; }},
        {"unique ID over 24 bits", [](CPalmDatabase& db) { db.Records()[0].uniqueId = 1u << 24; }},
        {"65,536 records",
         [](CPalmDatabase& db) {
             db.Records().clear();
             for (uint32_t id = 1; id <= 0x10000; ++id)
                 db.Records().push_back({0, id, {}});
         }},
    };
    for (const auto& c : cases) {
        CPalmDatabase db = TwoRecordDatabase();
        c.change(db);
        std::string error;
        EXPECT_FALSE(db.Write(&error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
    }
    EXPECT_FALSE(CPalmDatabase().Write()) << "a database without a name";
}

TEST(PalmDatabaseWrite, NamesAreOneToThirtyOneBytes) {
    CPalmDatabase db;
    EXPECT_FALSE(db.SetName(""));
    EXPECT_FALSE(db.SetName(std::string(32, 'n')));
    EXPECT_FALSE(db.SetName(std::string("a\0b", 3)));
    EXPECT_TRUE(db.SetName(std::string(31, 'n')));
    const auto image = db.Write();
    ASSERT_TRUE(image);
    EXPECT_EQ((*image)[30], 'n');
    EXPECT_EQ((*image)[31], 0);
    EXPECT_EQ(CPalmDatabase::PeekName(*image), std::string(31, 'n'));
}

TEST(PalmDatabaseIds, NewIdsFollowTheSeedAndSkipUsedOnes) {
    struct SCase {
        uint32_t seed;
        std::vector<uint32_t> used;
        uint32_t expectedId;
        uint32_t expectedSeed;
    };
    const std::vector<SCase> cases = {
        {0x00005000, {}, 0x5001, 0x5001},
        {0x00005000, {0x5001, 0x5002}, 0x5003, 0x5003},
        {0x00FFFFFF, {}, 1, 1},             // wraps within 24 bits, never 0
        {0x00FFFFFE, {0xFFFFFF, 1}, 2, 2},  // wraps and skips
        {0x7A000010, {}, 0x11, 0x7A000011}, // the seed's upper byte is not part of an ID
    };
    for (const auto& c : cases) {
        CPalmDatabase db;
        db.SetUniqueIdSeed(c.seed);
        for (uint32_t id : c.used)
            db.Records().push_back({0, id, {}});
        EXPECT_EQ(db.NewUniqueId(), c.expectedId) << std::hex << c.seed;
        EXPECT_EQ(db.UniqueIdSeed(), c.expectedSeed) << std::hex << c.seed;
    }
}

class PalmDatabaseFile : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        m_folder = std::filesystem::path(::testing::TempDir()) /
                   (std::string("fitquill_") + test->test_suite_name() + "_" + test->name());
        std::filesystem::remove_all(m_folder);
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }
    std::filesystem::path m_folder;
};

TEST_F(PalmDatabaseFile, SaveAndLoadRoundTrip) {
    const auto path = m_folder / "FQA-AppDB.pdb";
    std::string error;
    ASSERT_TRUE(TwoRecordDatabase().Save(path, &error)) << error;
    EXPECT_EQ(ReadWholeFile(path), TwoRecordImage());
    CPalmDatabase db;
    ASSERT_TRUE(db.Load(path, &error)) << error;
    EXPECT_EQ(db.Write(), TwoRecordImage());
    EXPECT_FALSE(db.Load(m_folder / "missing.pdb", &error));
}

TEST_F(PalmDatabaseFile, FailedSaveKeepsTheOldFile) {
    const auto path = m_folder / "FQA-AppDB.pdb";
    ASSERT_TRUE(TwoRecordDatabase().Save(path));
    CPalmDatabase changed = TwoRecordDatabase();
    changed.Records().pop_back();
    {
        CFileFaultInjection fault(EFileFault::Write, 40);
        std::string error;
        EXPECT_FALSE(changed.Save(path, &error));
        EXPECT_TRUE(fault.Triggered());
        EXPECT_FALSE(error.empty());
    }
    EXPECT_EQ(ReadWholeFile(path), TwoRecordImage());
    // An image that cannot be written at all never touches the file.
    changed.Records()[0].uniqueId = 0;
    EXPECT_FALSE(changed.Save(path));
    EXPECT_EQ(ReadWholeFile(path), TwoRecordImage());
}

} // namespace
} // namespace fitquill
