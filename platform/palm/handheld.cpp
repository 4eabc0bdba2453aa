// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/palm/handheld.h"

#include "core/io/atomic_file.h"

#include <algorithm>
#include <charconv>
#include <string_view>
#include <system_error>

namespace fitquill {

namespace {

bool Fail(std::string* error, const std::string& reason) {
    if (error)
        *error = reason;
    return false;
}

bool IsValidUserName(std::string_view name) {
    return name.size() <= kHandheldMaxUserName &&
           std::none_of(name.begin(), name.end(), [](char c) {
               const auto byte = static_cast<unsigned char>(c);
               return byte < 0x20 || byte == 0x7F;
           });
}

} // namespace

bool LoadHandheld(const std::filesystem::path& folder, SHandheld& handheld, std::string* error) {
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec))
        return Fail(error, "no handheld folder " + folder.string());
    SHandheld loaded{folder, {}, 0};
    bool missing = false;
    const auto bytes = ReadWholeFile(folder / kHandheldUserFile, error, &missing);
    if (!bytes) {
        if (!missing)
            return false;
        handheld = std::move(loaded);
        return true;
    }
    std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.starts_with("UserName=")) {
            line.remove_prefix(9);
            if (!IsValidUserName(line))
                return Fail(error, "handheld user name is damaged");
            loaded.userName = line;
        } else if (line.starts_with("UserID=")) {
            line.remove_prefix(7);
            const char* last = line.data() + line.size();
            const auto [next, result] = std::from_chars(line.data(), last, loaded.userId);
            if (result != std::errc() || next != last || line.empty())
                return Fail(error, "handheld user ID is damaged");
        }
    }
    handheld = std::move(loaded);
    return true;
}

bool SaveHandheldUser(const SHandheld& handheld, std::string* error) {
    if (!IsValidUserName(handheld.userName))
        return Fail(error, "handheld user name too long or holding control characters");
    const std::string text =
        "UserName=" + handheld.userName + "\nUserID=" + std::to_string(handheld.userId) + "\n";
    return ReplaceFileAtomically(handheld.folder / kHandheldUserFile, text, error);
}

} // namespace fitquill
