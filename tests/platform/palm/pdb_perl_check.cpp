// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a journal-like database through the Sync Manager and has an independent reader,
// Perl's Palm::PDB, read it back. Exits 77 (skipped) when Perl or the module is missing.
// Usage: pdb_perl_check PERL SCRIPT WORK_FOLDER
#include "platform/palm/sync_manager.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace fitquill;

constexpr int kSkipped = 77;

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string Hex(const std::vector<uint8_t>& bytes) {
    if (bytes.empty())
        return "-";
    std::string hex;
    char digits[3];
    for (uint8_t b : bytes) {
        std::snprintf(digits, sizeof digits, "%02x", b);
        hex += digits;
    }
    return hex;
}

struct SWritten {
    uint8_t attributes;
    int16_t category;
    std::vector<uint8_t> data;
    const char* flags; // as the Perl script spells them
};

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
    CPalmDatabase empty;
    empty.SetName("FQA-AppDB");
    empty.SetType(PalmFourCC("DATA"));
    empty.SetCreator(PalmFourCC("FQui"));
    empty.SetVersion(6);
    empty.SetAttributes(kPalmDbAttrBackup);
    empty.SetUniqueIdSeed(0x00345000);
    empty.SetAppInfo(std::vector<uint8_t>{0, 1, 2, 0xFE, 0xFF});
    std::string error;
    if (!empty.Save(folder / "FQA-AppDB.pdb", &error)) {
        std::fprintf(stderr, "cannot create the database: %s\n", error.c_str());
        return 1;
    }

    std::vector<uint8_t> large(0xFFF0);
    for (size_t i = 0; i < large.size(); ++i)
        large[i] = uint8_t(i * 31 + 7);
    const std::vector<SWritten> written = {
        {0, 0, {'h', 'e', 'a', 'd', 0, 6}, "-"},
        {kSyncRecAttrSecret, 3, {0x00, 0x80, 0xFF}, "S"},
        {kSyncRecAttrDirty, 15, {0x7F}, "M"},
        {kSyncRecAttrDeleted, 0, {'o', 'l', 'd'}, "D"},
        {kSyncRecAttrArchived, 0, {'a', 'r', 'c'}, "DA"},
        {0, 0, large, "-"},
    };

    CSyncManager sync({folder, "Pat Doe", 4242});
    uint8_t handle = 0;
    if (sync.OpenDB("FQA-AppDB", 0, handle, 0xD0) != kSyncErrNone)
        return 1;
    std::vector<uint32_t> ids;
    for (const auto& w : written) {
        std::vector<uint8_t> data = w.data;
        SRawRecordInfo record;
        record.fileHandle = handle;
        record.attributes = w.attributes;
        record.categoryId = w.category;
        record.recordSize = uint32_t(data.size());
        record.bytes = data.data();
        if (sync.WriteRec(record) != kSyncErrNone)
            return 1;
        ids.push_back(record.recordId);
        // New records take the seed plus one, in writing order.
        if (record.recordId != 0x345001 + ids.size() - 1) {
            std::fprintf(stderr, "record %zu got unique ID %u\n", ids.size() - 1,
                         unsigned(record.recordId));
            return 1;
        }
    }
    if (sync.CloseDB(handle) != kSyncErrNone)
        return 1;

    const fs::path expected = folder / "expected.txt";
    {
        std::ofstream out(expected);
        out << "name FQA-AppDB\ntype DATA\ncreator FQui\nversion 6\n";
        out << "appinfo 000102feff\n";
        for (size_t i = 0; i < written.size(); ++i) {
            out << "record " << ids[i] << ' ' << written[i].category << ' ' << written[i].flags
                << ' ' << Hex(written[i].data) << '\n';
        }
    }
    const std::string command = Quoted(perl) + ' ' + Quoted(script.string()) + ' ' +
                                Quoted((folder / "FQA-AppDB.pdb").string()) + ' ' +
                                Quoted(expected.string());
    const int status = std::system(command.c_str());
    return status == 0 ? 0 : 1;
}
