// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/settings/user_data_move.h"

#include "core/io/atomic_file.h"
#include "core/users/user_directory.h"
#include "core/users/user_list_file.h"

#include <system_error>
#include <vector>

#if !defined(_WIN32)
#include <pwd.h>
#include <unistd.h>
#endif

namespace fitquill {
namespace {

namespace fs = std::filesystem;

// The path with its links resolved as far as it exists, without a trailing separator.
fs::path Resolved(const fs::path& path) {
    std::error_code ec;
    fs::path resolved = fs::weakly_canonical(path, ec);
    if (ec)
        resolved = fs::absolute(path, ec).lexically_normal();
    return resolved.has_filename() ? resolved : resolved.parent_path();
}

bool SamePlace(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    if (fs::exists(a, ec) && fs::exists(b, ec))
        return fs::equivalent(a, b, ec);
    return Resolved(a) == Resolved(b);
}

// True when the folder is missing, or holds nothing but a user list without users; such a list
// is removed so that the move can take its place.
bool ClearUnusedUsersFolder(const fs::path& folder, std::string& error) {
    std::error_code ec;
    if (!fs::exists(folder, ec))
        return true;
    const fs::path list = folder / kUserListFileName;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
        if (entry.path() != list)
            return false;
    }
    if (ec) {
        error = ec.message();
        return false;
    }
    if (fs::exists(list, ec)) {
        const auto bytes = ReadWholeFile(list, &error);
        std::vector<std::string> names;
        if (!bytes || !CUserListFile::Unpack(*bytes, names) || !names.empty())
            return false;
    }
    fs::remove(list, ec);
    if (!ec)
        fs::remove(folder, ec);
    if (ec)
        error = ec.message();
    return !ec;
}

// A rename, or across file systems a copy to a temporary sibling of the target, renamed into
// place, after which the source is removed.
bool MoveFolder(const fs::path& from, const fs::path& to, std::string& error) {
    std::error_code ec;
    fs::create_directories(to.parent_path(), ec);
    if (ec) {
        error = "cannot create " + to.parent_path().string() + ": " + ec.message();
        return false;
    }
    fs::rename(from, to, ec);
    if (!ec)
        return true;
    if (ec != std::errc::cross_device_link) {
        error = ec.message();
        return false;
    }
    const fs::path partial = to.parent_path() / (to.filename().string() + ".moving");
    fs::remove_all(partial, ec);
    fs::copy(from, partial, fs::copy_options::recursive, ec);
    if (!ec)
        fs::rename(partial, to, ec);
    if (ec) {
        error = ec.message();
        std::error_code ignored;
        fs::remove_all(partial, ignored);
        return false;
    }
    fs::remove_all(from, ec);
    return true;
}

} // namespace

fs::path AccountHomeFolder() {
#if defined(_WIN32)
    return {};
#else
    const passwd* account = getpwuid(getuid());
    if (account == nullptr || account->pw_dir == nullptr)
        return {};
    return fs::path(account->pw_dir);
#endif
}

SUserDataMove MoveEarlierUserDataAtStart(const fs::path& dataFolder, const fs::path& installPath,
                                         const fs::path& accountHome) {
    if (accountHome.empty() ||
        !SamePlace(installPath, accountHome / ".local" / "share" / "fitquill"))
        return SUserDataMove{};
    return MoveEarlierUserData(dataFolder, installPath);
}

std::string SUserDataMove::Message() const {
    switch (outcome) {
    case EOutcome::Nothing:
        break;
    case EOutcome::Moved:
        return "The users and journals that an earlier version kept in " + from.string() +
               " were moved to " + to.string() +
               ", where rebuilding or removing the program cannot delete them.";
    case EOutcome::LeftInPlace:
        return "An earlier version left users and journals in " + from.string() + ", but " +
               to.string() +
               " already holds users, so nothing was moved. Copy the user folders you still "
               "need by hand.";
    case EOutcome::Failed:
        return "The users and journals that an earlier version kept in " + from.string() +
               " could not be moved to " + to.string() + " (" + error +
               "). They were left where they are.";
    }
    return {};
}

SUserDataMove MoveEarlierUserData(const fs::path& dataFolder, const fs::path& installPath) {
    SUserDataMove move;
    if (dataFolder.empty() || installPath.empty())
        return move;
    move.from = CUserDirectory::FallbackUsersFolder(dataFolder);
    move.to = CUserDirectory::FallbackUsersFolder(installPath);
    std::error_code ec;
    if (!fs::is_directory(move.from, ec) || SamePlace(move.from, move.to))
        return SUserDataMove{};

    if (!ClearUnusedUsersFolder(move.to, move.error)) {
        move.outcome = move.error.empty() ? SUserDataMove::EOutcome::LeftInPlace
                                          : SUserDataMove::EOutcome::Failed;
        return move;
    }
    if (!MoveFolder(move.from, move.to, move.error)) {
        move.outcome = SUserDataMove::EOutcome::Failed;
        return move;
    }
    move.outcome = SUserDataMove::EOutcome::Moved;
    // The emptied "Fitquill/Desktop" folders of the old place go too; they hold nothing else.
    fs::remove(move.from.parent_path(), ec);
    fs::remove(move.from.parent_path().parent_path(), ec);
    return move;
}

} // namespace fitquill
