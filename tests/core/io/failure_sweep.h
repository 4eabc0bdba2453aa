// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The failure sweep every writer goes through: one save is repeated with its 1st, 2nd, ...
// file replacement failing at each step (creating the temporary file, writing, flushing,
// closing, renaming) until a save gets through untouched. After each failed save the files
// must be as before, the failure reported and no temporary file left behind.

#include "core/io/atomic_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace fitquill::testing {

// Every regular file below a folder with its bytes.
inline std::map<std::string, std::vector<uint8_t>>
FolderContents(const std::filesystem::path& folder) {
    std::map<std::string, std::vector<uint8_t>> contents;
    std::error_code ec;
    for (std::filesystem::recursive_directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec))
        if (it->is_regular_file())
            contents[std::filesystem::relative(it->path(), folder).string()] =
                ReadWholeFile(it->path()).value_or(std::vector<uint8_t>{});
    return contents;
}

struct SSweepResult {
    int failedSaves = 0; // saves that an injected fault made fail
    int cleanSaves = 0;  // saves the fault never reached (one per fault kind)
};

// Runs the sweep of the save `save` (true when it reports success) and prints its count.
// `prepare` brings the world to the state before the save and runs before every attempt;
// `folder` holds the files a failed save must leave exactly as they were, except `mayChange`
// (relative names: a backup made before the file that failed). A save that reports success
// while a fault struck, or failure without one, is a test failure too.
inline SSweepResult RunFailureSweep(const std::string& name, const std::filesystem::path& folder,
                                    const std::function<void()>& prepare,
                                    const std::function<bool()>& save,
                                    const std::vector<std::string>& mayChange = {}) {
    struct SKind {
        const char* name;
        EFileFault fault;
        std::uintmax_t afterBytes;
    };
    static const SKind kKinds[] = {
        {"create", EFileFault::OpenTemporary, 0}, {"write", EFileFault::Write, 0},
        {"short write", EFileFault::Write, 7},    {"flush", EFileFault::Flush, 0},
        {"close", EFileFault::Close, 0},          {"rename", EFileFault::Rename, 0},
    };
    constexpr unsigned kMaxCalls = 1000; // no single save replaces this many files
    SSweepResult result;
    for (const SKind& kind : kKinds) {
        for (unsigned skip = 0; skip < kMaxCalls; ++skip) {
            SCOPED_TRACE(name + ": " + kind.name + " failing in file replacement " +
                         std::to_string(skip + 1));
            prepare();
            auto before = FolderContents(folder);
            CFileFaultInjection injection(kind.fault, kind.afterBytes, skip);
            const bool saved = save();
            if (!injection.Triggered()) {
                EXPECT_TRUE(saved) << "the save failed without an injected fault";
                ++result.cleanSaves;
                break;
            }
            ++result.failedSaves;
            EXPECT_FALSE(saved) << "an injected failure was reported as success";
            auto after = FolderContents(folder);
            for (const std::string& file : mayChange) {
                before.erase(file);
                after.erase(file);
            }
            EXPECT_EQ(after, before) << "a failed save changed the files or left some behind";
            if (after != before)
                break; // one report per kind is enough
        }
    }
    std::printf("failure sweep %s: %d saves failed by injected faults, each left the files as "
                "they were; %d clean saves\n",
                name.c_str(), result.failedSaves, result.cleanSaves);
    EXPECT_GT(result.failedSaves, 0);
    return result;
}

} // namespace fitquill::testing
