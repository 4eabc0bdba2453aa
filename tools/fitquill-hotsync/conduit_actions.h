// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace fitquill {

// A conduit's HotSync actions as the HotSync Manager keeps them for one user: the permanent
// action and the action of the next HotSync operation only.
struct SConduitActions {
    std::optional<int32_t> permanent;
    std::optional<int32_t> next;
};

// The kept actions of one user, in "HotSyncActions.ini" in the user's folder:
//   [Fitquill]
//   PermanentAction=0
//   NextAction=3
// A missing or empty value is no action. The file is replaced atomically on every change, and
// one that exists but cannot be read is never overwritten.
class CConduitActionStore {
public:
    static constexpr const char* kFileName = "HotSyncActions.ini";

    explicit CConduitActionStore(std::filesystem::path userFolder);

    std::filesystem::path FilePath() const { return m_userFolder / kFileName; }

    // False, with a reason, when the file exists but cannot be read.
    bool Read(std::string_view conduit, SConduitActions& actions, std::string* error) const;
    // A new permanent action replaces any action for the next HotSync operation.
    bool SetPermanent(std::string_view conduit, int32_t action, std::string* error) const;
    bool SetNext(std::string_view conduit, int32_t action, std::string* error) const;
    bool ClearNext(std::string_view conduit, std::string* error) const;

    // The action of a run: the one the user gave, else the next-HotSync action, else the
    // permanent one, else the conduit's default. `usesNext` tells whether the next-HotSync
    // action was taken (and must then be cleared).
    static int32_t Choose(std::optional<int32_t> given, const SConduitActions& kept,
                          int32_t defaultAction, bool& usesNext);

    // "sync", "handheld", "desktop" or "none" as a HotSync action; nothing for another word.
    static std::optional<int32_t> ParseActionName(std::string_view name);
    // How the action reads in messages: "Synchronize the files", ...
    static std::string Describe(int32_t action);

private:
    bool Change(std::string_view conduit,
                std::initializer_list<std::pair<std::string_view, std::string>> values,
                std::string* error) const;
    std::optional<std::string> ReadText(std::string* error) const;

    std::filesystem::path m_userFolder;
};

} // namespace fitquill
