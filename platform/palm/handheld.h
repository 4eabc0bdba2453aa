// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace fitquill {

// A handheld: a folder of .pdb/.prc database files plus its user's name and ID (ID 0 and
// an empty name: a new or reset handheld that has no user yet). The user is kept in the
// text file "Handheld.txt" in the folder:
//   UserName=<name>
//   UserID=<decimal ID>
struct SHandheld {
    std::filesystem::path folder;
    std::string userName;
    uint32_t userId = 0;
};

constexpr const char* kHandheldUserFile = "Handheld.txt";
// The handheld's user-name buffer holds 64 bytes with the terminating zero.
constexpr size_t kHandheldMaxUserName = 63;

// Reads the handheld in a folder. A folder without the user file is a handheld without a
// user. Fails (with a reason) when the folder is missing or the user file is damaged.
bool LoadHandheld(const std::filesystem::path& folder, SHandheld& handheld,
                  std::string* error = nullptr);
// Stores the handheld's user name and ID (atomically). Refuses a name longer than 63 bytes
// or holding control characters.
bool SaveHandheldUser(const SHandheld& handheld, std::string* error = nullptr);

} // namespace fitquill
