// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/atomic_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <random>
#include <system_error>

namespace fitquill {

namespace fs = std::filesystem;

namespace {

struct SInjectedFault {
    bool active = false;
    EFileFault fault = EFileFault::None;
    std::uintmax_t afterBytes = 0;
    unsigned skipCalls = 0;
    bool spent = false;
    bool triggered = false;
};

std::mutex g_faultMutex;
SInjectedFault g_fault;

// The fault the current call must suffer, consuming the injection when its turn has come.
EFileFault TakeFault(std::uintmax_t& afterBytes) {
    std::lock_guard lock(g_faultMutex);
    if (!g_fault.active || g_fault.spent) {
        return EFileFault::None;
    }
    if (g_fault.skipCalls > 0) {
        --g_fault.skipCalls;
        return EFileFault::None;
    }
    g_fault.spent = true;
    afterBytes = g_fault.afterBytes;
    return g_fault.fault;
}

void MarkTriggered() {
    std::lock_guard lock(g_faultMutex);
    g_fault.triggered = true;
}

// Whether the injected fault strikes at `step`; records that it did.
bool Strikes(EFileFault injected, EFileFault step) {
    if (injected != step || step == EFileFault::None) {
        return false;
    }
    MarkTriggered();
    return true;
}

std::string Quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

// The reason of the last failed stream or C library call, when the platform left one.
std::string SystemReason(int savedErrno) {
    if (savedErrno == 0) {
        return std::string();
    }
    return ": " + std::generic_category().message(savedErrno);
}

bool Fail(std::string* error, const std::string& text) {
    if (error != nullptr) {
        *error = text;
    }
    return false;
}

// Follows a chain of symbolic links so that the linked file is replaced, not the link.
fs::path ResolveLinks(const fs::path& path) {
    fs::path current = path;
    for (int depth = 0; depth < 40; ++depth) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(current, ec)) || ec) {
            break;
        }
        fs::path link = fs::read_symlink(current, ec);
        if (ec) {
            break;
        }
        current = link.is_absolute() ? link : current.parent_path() / link;
    }
    return current;
}

fs::path UniqueTemporaryPath(const fs::path& target) {
    static std::mutex mutex;
    static std::mt19937 generator{std::random_device{}()};
    const fs::path folder = target.parent_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        unsigned value = 0;
        {
            std::lock_guard lock(mutex);
            value = static_cast<unsigned>(generator());
        }
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, ".%08x~", value);
        fs::path candidate = folder / (target.filename().string() + suffix);
        std::error_code ec;
        if (!fs::exists(fs::symlink_status(candidate, ec))) {
            return candidate;
        }
    }
    return fs::path();
}

} // namespace

CFileFaultInjection::CFileFaultInjection(EFileFault fault, std::uintmax_t afterBytes,
                                         unsigned skipCalls) {
    std::lock_guard lock(g_faultMutex);
    g_fault = SInjectedFault{true, fault, afterBytes, skipCalls, false, false};
}

CFileFaultInjection::~CFileFaultInjection() {
    std::lock_guard lock(g_faultMutex);
    g_fault = SInjectedFault{};
}

bool CFileFaultInjection::Triggered() const {
    std::lock_guard lock(g_faultMutex);
    return g_fault.triggered;
}

bool ReplaceFileAtomically(const fs::path& path, std::span<const uint8_t> bytes,
                           std::string* error) {
    std::uintmax_t faultAfterBytes = 0;
    const EFileFault fault = TakeFault(faultAfterBytes);

    if (path.empty() || !path.has_filename()) {
        return Fail(error, "No file name was given for saving.");
    }
    const fs::path target = ResolveLinks(path);
    fs::path folder = target.parent_path();

    std::error_code ec;
    if (fs::is_directory(fs::status(target, ec))) {
        return Fail(error, "Could not save " + Quoted(target) + ": it is a folder.");
    }
    if (!folder.empty()) {
        const fs::file_status folderStatus = fs::status(folder, ec);
        if (!fs::exists(folderStatus)) {
            if (Strikes(fault, EFileFault::CreateFolder)) {
                return Fail(error, "Could not create the folder " + Quoted(folder) +
                                       ": injected failure.");
            }
            ec.clear();
            fs::create_directories(folder, ec);
            if (ec) {
                return Fail(error,
                            "Could not create the folder " + Quoted(folder) + ": " + ec.message());
            }
        } else if (!fs::is_directory(folderStatus)) {
            return Fail(error, "Could not save " + Quoted(target) + ": " + Quoted(folder) +
                                   " is not a folder.");
        }
    }

    const fs::path temporary = UniqueTemporaryPath(target);
    if (temporary.empty()) {
        return Fail(error,
                    "Could not find a free temporary file name beside " + Quoted(target) + ".");
    }
    auto failAndClean = [&](const std::string& text) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return Fail(error, text);
    };

    std::ofstream out;
    errno = 0;
    if (!Strikes(fault, EFileFault::OpenTemporary)) {
        out.open(temporary, std::ios::binary | std::ios::trunc);
    }
    if (!out.is_open()) {
        return failAndClean("Could not create the temporary file " + Quoted(temporary) +
                            SystemReason(errno) + ".");
    }

    std::size_t toWrite = bytes.size();
    const bool shortWrite = fault == EFileFault::Write && faultAfterBytes < toWrite;
    if (shortWrite) {
        toWrite = static_cast<std::size_t>(faultAfterBytes);
    }
    errno = 0;
    if (toWrite > 0) {
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(toWrite));
    }
    if ((shortWrite && Strikes(fault, EFileFault::Write)) || !out) {
        const int savedErrno = errno;
        out.close();
        return failAndClean("Could not write the temporary file " + Quoted(temporary) +
                            SystemReason(savedErrno) + ".");
    }

    errno = 0;
    out.flush();
    if (Strikes(fault, EFileFault::Flush) || !out) {
        const int savedErrno = errno;
        out.close();
        return failAndClean("Could not flush the temporary file " + Quoted(temporary) +
                            SystemReason(savedErrno) + ".");
    }

    errno = 0;
    out.close();
    if (Strikes(fault, EFileFault::Close) || out.fail()) {
        return failAndClean("Could not close the temporary file " + Quoted(temporary) +
                            SystemReason(errno) + ".");
    }

    // Keep the old file's permission bits, so that a save does not widen or narrow access.
    const fs::file_status oldStatus = fs::status(target, ec);
    if (!ec && fs::is_regular_file(oldStatus)) {
        std::error_code ignored;
        fs::permissions(temporary, oldStatus.permissions(), fs::perm_options::replace, ignored);
    }

    if (Strikes(fault, EFileFault::Rename)) {
        return failAndClean("Could not replace " + Quoted(target) + ": injected failure.");
    }
    ec.clear();
    fs::rename(temporary, target, ec);
    if (ec) {
        return failAndClean("Could not replace " + Quoted(target) + ": " + ec.message() + ".");
    }
    return true;
}

bool ReplaceFileAtomically(const fs::path& path, std::string_view text, std::string* error) {
    return ReplaceFileAtomically(
        path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()), error);
}

std::optional<std::vector<uint8_t>> ReadWholeFile(const fs::path& path, std::string* error,
                                                  bool* missing) {
    if (missing != nullptr) {
        *missing = false;
    }
    auto fail = [&](const std::string& text) -> std::optional<std::vector<uint8_t>> {
        Fail(error, text);
        return std::nullopt;
    };

    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status)) {
        if (status.type() == fs::file_type::not_found) {
            if (missing != nullptr) {
                *missing = true;
            }
            return fail("The file " + Quoted(path) + " does not exist.");
        }
        return fail("Could not look at the file " + Quoted(path) + ": " + ec.message() + ".");
    }
    if (fs::is_directory(status)) {
        return fail("Could not read " + Quoted(path) + ": it is a folder.");
    }
    std::uintmax_t expected = 0;
    if (fs::is_regular_file(status)) {
        expected = fs::file_size(path, ec);
        if (ec) {
            expected = 0;
        } else if (expected > kMaxReadFileSize) {
            return fail("The file " + Quoted(path) + " is too large to be read.");
        }
    }

    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) {
        return fail("Could not open the file " + Quoted(path) + SystemReason(errno) + ".");
    }
    // The size taken above straight into the result, then blocks rather than trusting the
    // size: the file may change while it is read.
    std::vector<uint8_t> data(static_cast<std::size_t>(expected));
    if (!data.empty()) {
        in.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()));
        data.resize(static_cast<std::size_t>(std::max<std::streamsize>(0, in.gcount())));
    }
    char block[64 * 1024];
    while (in) {
        in.read(block, sizeof block);
        const std::streamsize got = in.gcount();
        if (got <= 0) {
            break;
        }
        if (data.size() + static_cast<std::size_t>(got) > kMaxReadFileSize) {
            return fail("The file " + Quoted(path) + " is too large to be read.");
        }
        data.insert(data.end(), block, block + got);
    }
    if (in.bad()) {
        return fail("Could not read the file " + Quoted(path) + SystemReason(errno) + ".");
    }
    return data;
}

} // namespace fitquill
