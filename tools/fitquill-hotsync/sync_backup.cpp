// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/fitquill-hotsync/sync_backup.h"

#include "core/io/atomic_file.h"
#include "core/users/user_directory.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <optional>
#include <system_error>
#include <utility>

namespace fitquill {
namespace {

namespace fs = std::filesystem;

constexpr size_t kStampLength = 17; // YYYY-MM-DD_hhmmss

std::string Stamp(const SLocalTime& now) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d_%02d%02d%02d", now.year, now.month, now.day,
                  now.hour, now.minute, now.second);
    return text;
}

bool AllDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

// The stamp and the number of a backup folder's name (1 for the first of its second), or
// nothing for a name that is not a backup's.
std::optional<std::pair<std::string, unsigned>> ParseName(const std::string& name) {
    if (name.size() < kStampLength)
        return std::nullopt;
    const std::string stamp = name.substr(0, kStampLength);
    for (size_t i = 0; i < kStampLength; ++i) {
        const bool separator = i == 4 || i == 7 || i == 10;
        const char expected = i == 10 ? '_' : '-';
        if (separator ? stamp[i] != expected : !std::isdigit(static_cast<unsigned char>(stamp[i])))
            return std::nullopt;
    }
    if (name.size() == kStampLength)
        return std::pair{stamp, 1u};
    const std::string_view rest = std::string_view(name).substr(kStampLength);
    if (rest.size() < 2 || rest.size() > 7 || rest[0] != '_' || rest[1] == '0' ||
        !AllDigits(rest.substr(1)))
        return std::nullopt;
    const unsigned number = static_cast<unsigned>(std::stoul(std::string(rest.substr(1))));
    if (number < 2)
        return std::nullopt;
    return std::pair{stamp, number};
}

bool IsDatabaseFile(const fs::path& file) {
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".pdb" || extension == ".prc" || extension == ".pqa";
}

// Copies the regular files of `from` that `wanted` accepts into `to` (created); a missing
// `from` has nothing to copy.
template <class Filter>
bool CopyFiles(const fs::path& from, const fs::path& to, Filter wanted, std::string* error) {
    std::error_code ec;
    if (!fs::create_directories(to, ec) && ec) {
        if (error)
            *error = "cannot create " + to.string() + ": " + ec.message();
        return false;
    }
    if (!fs::is_directory(from, ec))
        return true;
    for (fs::directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path file = it->path();
        if (!it->is_regular_file(ec) || !wanted(file))
            continue;
        // Through the one file writer of the program, so that failures can be injected.
        std::string reason;
        const auto bytes = ReadWholeFile(file, &reason);
        if (!bytes || !ReplaceFileAtomically(to / file.filename(), *bytes, &reason)) {
            if (error)
                *error = "cannot copy " + file.string() + ": " + reason;
            return false;
        }
    }
    if (ec) {
        if (error)
            *error = "cannot list " + from.string() + ": " + ec.message();
        return false;
    }
    return true;
}

constexpr std::string_view kPartialSuffix = ".partial";

// Backups that an interrupted operation left half made.
void RemovePartialBackups(const fs::path& root) {
    std::error_code ec;
    std::vector<fs::path> partial;
    for (fs::directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() > kPartialSuffix.size() && name.ends_with(kPartialSuffix) &&
            ParseName(name.substr(0, name.size() - kPartialSuffix.size())))
            partial.push_back(it->path());
    }
    for (const fs::path& folder : partial)
        fs::remove_all(folder, ec);
}

} // namespace

std::vector<fs::path> CSyncBackup::List(const fs::path& userFolder) {
    std::vector<std::pair<std::pair<std::string, unsigned>, fs::path>> found;
    std::error_code ec;
    for (fs::directory_iterator it(userFolder / kFolderName, ec), end; !ec && it != end;
         it.increment(ec)) {
        if (!it->is_directory(ec) || it->is_symlink(ec))
            continue;
        if (auto key = ParseName(it->path().filename().string()))
            found.emplace_back(std::move(*key), it->path());
    }
    std::sort(found.begin(), found.end());
    std::vector<fs::path> backups;
    for (auto& entry : found)
        backups.push_back(std::move(entry.second));
    return backups;
}

bool CSyncBackup::Make(const fs::path& handheldFolder, const fs::path& userFolder,
                       const SLocalTime& now, fs::path& made, std::string* error) {
    const fs::path root = userFolder / kFolderName;
    std::error_code ec;
    if (!fs::create_directories(root, ec) && ec) {
        if (error)
            *error = "cannot create " + root.string() + ": " + ec.message();
        return false;
    }
    // After the last backup of the same second, so that the order stays the order of making.
    const std::string stamp = Stamp(now);
    unsigned next = 1;
    for (const fs::path& backup : List(userFolder)) {
        const auto key = ParseName(backup.filename().string());
        if (key->first == stamp)
            next = std::max(next, key->second + 1);
    }
    // A backup is built under a name that is not a backup's and renamed when complete, so
    // that an operation killed while copying leaves no half backup among the real ones.
    RemovePartialBackups(root);
    fs::path folder;
    for (;; ++next) {
        if (next > 999999) {
            if (error)
                *error = "too many backups in one second in " + root.string();
            return false;
        }
        folder = root / (next == 1 ? stamp : stamp + "_" + std::to_string(next));
        if (!fs::exists(fs::symlink_status(folder, ec)))
            break;
    }
    const fs::path partial = folder.string() + std::string(kPartialSuffix);
    if (!fs::create_directory(partial, ec)) {
        if (error)
            *error = "cannot create " + partial.string() + ": " + ec.message();
        return false;
    }

    const bool copied =
        CopyFiles(handheldFolder, partial / kHandheldFolder, IsDatabaseFile, error) &&
        CopyFiles(
            userFolder / kProgramFolderName, partial / kDesktopFolder,
            [](const fs::path&) { return true; }, error);
    if (copied)
        fs::rename(partial, folder, ec);
    if (!copied || ec) {
        if (copied && error)
            *error = "cannot complete " + folder.string() + ": " + ec.message();
        fs::remove_all(partial, ec);
        return false;
    }
    made = folder;
    return true;
}

bool CSyncBackup::Rotate(const fs::path& userFolder, const fs::path& keep, size_t kept) {
    std::vector<fs::path> backups = List(userFolder);
    std::erase(backups, keep);
    // `keep` is one of those kept.
    const size_t others = kept > 0 ? kept - 1 : 0;
    bool removed = true;
    for (size_t i = 0; i + others < backups.size(); ++i) {
        std::error_code ec;
        fs::remove_all(backups[i], ec);
        removed = removed && !ec;
    }
    return removed;
}

} // namespace fitquill
