// SPDX-License-Identifier: GPL-3.0-or-later
// Has an independent writer, Perl's Palm::PDB, write a record database and a resource
// database (write_pdb.pl) and checks that CPalmDatabase reads back exactly what was written.
// Exits 77 (skipped) when Perl or the module is missing.
// Usage: pdb_perl_write_check PERL SCRIPT WORK_FOLDER
#include "platform/palm/palm_database.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace fitquill;

constexpr int kSkipped = 77;
// Header attribute bits palm_database.h does not name; values from the format document.
constexpr uint16_t kAttrOkToInstallNewer = 0x0010;
constexpr uint16_t kAttrResetAfterInstall = 0x0020;
constexpr uint16_t kAttrCopyPrevention = 0x0040;
constexpr uint16_t kAttrStream = 0x0080;
constexpr uint16_t kAttrHidden = 0x0100;
constexpr uint16_t kAttrLaunchableData = 0x0200;
constexpr uint16_t kAttrRecyclable = 0x0400;
constexpr uint16_t kAttrBundle = 0x0800;

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", unsigned(value));
    return text;
}

// Collects every mismatch so that one run shows them all.
class CChecker {
public:
    void Equal(const std::string& what, uint32_t got, uint32_t expected) {
        if (got != expected)
            Fail(what + " is " + Hex(got) + ", expected " + Hex(expected));
    }
    void Equal(const std::string& what, const std::string& got, const std::string& expected) {
        if (got != expected)
            Fail(what + " is '" + got + "', expected '" + expected + "'");
    }
    void Bytes(const std::string& what, const std::vector<uint8_t>& got,
               const std::vector<uint8_t>& expected) {
        if (got == expected)
            return;
        size_t at = 0;
        while (at < got.size() && at < expected.size() && got[at] == expected[at])
            ++at;
        Fail(what + ": " + std::to_string(got.size()) + " bytes, expected " +
             std::to_string(expected.size()) + ", first difference at byte " + std::to_string(at));
    }
    void Fail(const std::string& message) {
        std::fprintf(stderr, "mismatch: %s\n", message.c_str());
        ++m_failures;
    }
    int Failures() const { return m_failures; }

private:
    int m_failures = 0;
};

std::vector<uint8_t> Pattern(size_t size, unsigned step, unsigned start) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = uint8_t(i * step + start);
    return bytes;
}

std::vector<uint8_t> Text(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

// What write_pdb.pl writes; its Unix times land in the file 1904-based.
CPalmDatabase ExpectedJournal() {
    CPalmDatabase db;
    db.SetName("FQW Journal written by Palm-PDB");
    db.SetAttributes(kPalmDbAttrReadOnly | kPalmDbAttrAppInfoDirty | kPalmDbAttrBackup |
                     kAttrOkToInstallNewer | kAttrHidden | kAttrLaunchableData | kAttrBundle);
    db.SetVersion(3);
    db.SetCreationDate(1000000000u + kPalmEpochOffset);
    db.SetModificationDate(1100000000u + kPalmEpochOffset);
    db.SetLastBackupDate(1200000000u + kPalmEpochOffset);
    db.SetModificationNumber(17);
    db.SetType(PalmFourCC("DATA"));
    db.SetCreator(PalmFourCC("FQui"));
    db.SetUniqueIdSeed(0xABC010);
    db.SetAppInfo(std::vector<uint8_t>{0x00, 0x01, 0x02, 0xFE, 0xFF});
    db.SetSortInfo(std::vector<uint8_t>{0x05, 0x04});
    db.Records() = {
        {0, 0xABC001, {'h', 'e', 'a', 'd', 0, 6}},
        {1, 0xABC002, {}},
        {kPalmRecAttrSecret | 15, 0xFFFFFF, std::vector<uint8_t>(16, 0xFF)},
        {kPalmRecAttrDirty | 7, 0x000001, Pattern(70000, 31, 7)},
        {kPalmRecAttrSecret | kPalmRecAttrDirty | 3, 0xABC005, {0x00, 0x80, 0x7F}},
        {kPalmRecAttrBusy | 2, 0xABC006, Text("busy")},
        {kPalmRecAttrDelete, 0xABC007, Text("gone")},
        {kPalmRecAttrDelete | kPalmRecAttrArchive, 0xABC008, {}},
    };
    return db;
}

CPalmDatabase ExpectedApp() {
    CPalmDatabase db;
    db.SetName("FQW-App");
    db.SetAttributes(kPalmDbAttrResourceDb | kAttrResetAfterInstall | kAttrCopyPrevention |
                     kAttrStream | kAttrRecyclable | kPalmDbAttrOpen);
    db.SetVersion(1);
    db.SetCreationDate(900000000u + kPalmEpochOffset);
    db.SetModificationDate(950000000u + kPalmEpochOffset);
    db.SetLastBackupDate(0);
    db.SetModificationNumber(2);
    db.SetType(PalmFourCC("appl"));
    db.SetCreator(PalmFourCC("FQui"));
    db.SetUniqueIdSeed(0x123000);
    db.Resources() = {
        {PalmFourCC("tAIN"), 1000, Text(std::string("Fitquill", 9))},
        {PalmFourCC("code"), 0, {}},
        {PalmFourCC("code"), 1, {0x4E, 0x56, 0x00, 0x00, 0x4E, 0x75}},
        {PalmFourCC("tSTR"), 0xFFFF, std::vector<uint8_t>(8, 0xFF)},
        {PalmFourCC("DATA"), 0x8000, Pattern(300, 1, 0)},
    };
    return db;
}

// The record attribute byte spelled out, so that a mismatch says which bit is wrong.
std::string RecordAttributes(uint8_t attributes) {
    std::string text = Hex(attributes);
    for (const auto& [bit, name] :
         {std::pair{kPalmRecAttrDelete, " delete"}, std::pair{kPalmRecAttrDirty, " dirty"},
          std::pair{kPalmRecAttrBusy, " busy"}, std::pair{kPalmRecAttrSecret, " secret"}}) {
        if (attributes & bit)
            text += name;
    }
    if (attributes & kPalmRecAttrDelete)
        return text + ((attributes & kPalmRecAttrArchive) ? " archive" : "");
    return text + " category " + std::to_string(attributes & kPalmRecAttrCategoryMask);
}

std::string FourCC(uint32_t code) {
    return {char(code >> 24), char(code >> 16), char(code >> 8), char(code)};
}

void Compare(CChecker& check, const fs::path& file, const CPalmDatabase& expected) {
    const std::string f = file.filename().string();
    CPalmDatabase got;
    std::string error;
    if (!got.Load(file, &error)) {
        check.Fail(f + ": CPalmDatabase refused it: " + error);
        return;
    }
    check.Equal(f + " name", got.Name(), expected.Name());
    check.Equal(f + " attributes", got.Attributes(), expected.Attributes());
    check.Equal(f + " version", got.Version(), expected.Version());
    check.Equal(f + " creation date", got.CreationDate(), expected.CreationDate());
    check.Equal(f + " modification date", got.ModificationDate(), expected.ModificationDate());
    check.Equal(f + " last backup date", got.LastBackupDate(), expected.LastBackupDate());
    check.Equal(f + " modification number", got.ModificationNumber(),
                expected.ModificationNumber());
    check.Equal(f + " type", FourCC(got.Type()), FourCC(expected.Type()));
    check.Equal(f + " creator", FourCC(got.Creator()), FourCC(expected.Creator()));
    check.Equal(f + " unique ID seed", got.UniqueIdSeed(), expected.UniqueIdSeed());
    for (const auto& [what, gotBlock, expectedBlock] :
         {std::tuple{"AppInfo", &got.AppInfo(), &expected.AppInfo()},
          std::tuple{"SortInfo", &got.SortInfo(), &expected.SortInfo()}}) {
        if (gotBlock->has_value() != expectedBlock->has_value())
            check.Fail(f + ' ' + what + (gotBlock->has_value() ? " present" : " absent"));
        else if (gotBlock->has_value())
            check.Bytes(f + ' ' + what, **gotBlock, **expectedBlock);
    }

    check.Equal(f + " record count", uint32_t(got.Records().size()),
                uint32_t(expected.Records().size()));
    check.Equal(f + " resource count", uint32_t(got.Resources().size()),
                uint32_t(expected.Resources().size()));
    for (size_t i = 0; i < got.Records().size() && i < expected.Records().size(); ++i) {
        const auto& g = got.Records()[i];
        const auto& e = expected.Records()[i];
        const std::string r = f + " record " + std::to_string(i);
        check.Equal(r + " attributes", RecordAttributes(g.attributes),
                    RecordAttributes(e.attributes));
        check.Equal(r + " unique ID", g.uniqueId, e.uniqueId);
        check.Bytes(r + " data", g.data, e.data);
    }
    for (size_t i = 0; i < got.Resources().size() && i < expected.Resources().size(); ++i) {
        const auto& g = got.Resources()[i];
        const auto& e = expected.Resources()[i];
        const std::string r = f + " resource " + std::to_string(i);
        check.Equal(r + " type", FourCC(g.type), FourCC(e.type));
        check.Equal(r + " ID", g.id, e.id);
        check.Bytes(r + " data", g.data, e.data);
    }

    // Both writers lay a file out the same way, so writing what we read must give the same
    // bytes, except the busy bit, which we never write.
    std::ifstream in(file, std::ios::binary);
    std::vector<uint8_t> image{std::istreambuf_iterator<char>(in), {}};
    if (!got.IsResourceDb()) {
        for (size_t i = 0; i < got.Records().size(); ++i) {
            const size_t at = kPalmHeaderSize + i * kPalmRecordEntrySize + 4;
            if (at < image.size())
                image[at] &= uint8_t(~kPalmRecAttrBusy);
        }
    }
    const auto written = got.Write(&error);
    if (!written)
        check.Fail(f + ": CPalmDatabase cannot write it back: " + error);
    else
        check.Bytes(f + " written back", *written, image);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s PERL SCRIPT WORK_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string perl = argv[1];
    const fs::path script = argv[2];
    const fs::path folder = argv[3];
    if (std::system((Quoted(perl) + " -MPalm::PDB -MPalm::Raw -e 1 2>/dev/null").c_str()) != 0) {
        std::printf("Perl module Palm::PDB not available: skipped\n");
        return kSkipped;
    }

    std::error_code ec;
    fs::remove_all(folder, ec);
    fs::create_directories(folder);
    // Palm::PDB warns about every empty record it writes; those two are on purpose.
    const std::string command =
        Quoted(perl) + ' ' + Quoted(script.string()) + ' ' + Quoted(folder.string());
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "write_pdb.pl failed\n");
        return 1;
    }

    CChecker check;
    Compare(check, folder / "journal.pdb", ExpectedJournal());
    Compare(check, folder / "app.prc", ExpectedApp());
    if (check.Failures() != 0) {
        std::fprintf(stderr, "%d mismatches\n", check.Failures());
        return 1;
    }
    std::printf("CPalmDatabase reads what Palm::PDB wrote: journal.pdb, app.prc\n");
    return 0;
}
