// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace fitquill {

// What differs between the two builds of the conduit module; everything else is shared.
struct SConduitIdentity {
    uint16_t selector;              // 1 journal, 0 food (the run's routine and log tags)
    std::string_view moduleName;    // file name of the built module
    std::string_view productName;   // the version block's product name
    std::string_view conduitName;   // string 1
    std::string_view actionCaption; // string 8009
    uint32_t version;               // GetConduitVersion
};

inline constexpr uint16_t kJournalSelector = 1;
inline constexpr uint16_t kFoodSelector = 0;

inline constexpr SConduitIdentity kJournalConduit{kJournalSelector,
                                                  "Fitquill.so",
                                                  "FitquillConduit",
                                                  "Fitquill",
                                                  "HotSync Action for Fitquill",
                                                  4};
inline constexpr SConduitIdentity kFoodConduit{
    kFoodSelector, "Larderon.so", "LarderonConduit", "Larderon", "HotSync Action for Larderon",
    0x300};

// String resource ids, the same in both builds.
inline constexpr int kStringConduitName = 1;
inline constexpr int kStringCurrentSettings = 8004;
inline constexpr int kStringSynchronize = 8005;
inline constexpr int kStringDesktopOverwrites = 8006;
inline constexpr int kStringHandheldOverwrites = 8007;
inline constexpr int kStringDoNothing = 8008;
inline constexpr int kStringActionCaption = 8009;

// The text of a string resource of the build; empty for an id the build does not have.
std::string_view ConduitString(const SConduitIdentity& identity, int id);

// Copies a string resource into a caller's buffer the way a resource loader does: at most
// capacity - 1 bytes and a NUL. Returns the bytes copied without the NUL; 0 means nothing was
// loaded (no buffer, a capacity below 2, or no such string), and then the buffer holds an
// empty text when it has room for one.
size_t LoadConduitString(const SConduitIdentity& identity, int id, char* buffer, size_t capacity);

} // namespace fitquill
