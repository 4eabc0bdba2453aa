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

struct CFileReader::SState {
    std::filesystem::path path;
    std::ifstream in;
    std::uintmax_t read = 0;
    // Reads of a few bytes (a chunk frame) would otherwise cost a system call each few kB.
    std::unique_ptr<char[]> buffer;
};

CFileReader::CFileReader() = default;
CFileReader::~CFileReader() = default;

bool CFileReader::Open(const fs::path& path, std::string* error, bool* missing) {
    m_state.reset();
    m_error.clear();
    if (missing != nullptr) {
        *missing = false;
    }
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status)) {
        if (status.type() == fs::file_type::not_found) {
            if (missing != nullptr) {
                *missing = true;
            }
            return Fail(error, "The file " + Quoted(path) + " does not exist.");
        }
        return Fail(error,
                    "Could not look at the file " + Quoted(path) + ": " + ec.message() + ".");
    }
    if (fs::is_directory(status)) {
        return Fail(error, "Could not read " + Quoted(path) + ": it is a folder.");
    }
    // Large enough that a long file takes few system calls, no larger than a small one needs.
    constexpr std::uintmax_t kLargestBuffer = 256 * 1024;
    std::uintmax_t bufferSize = kLargestBuffer;
    if (fs::is_regular_file(status)) {
        const std::uintmax_t size = fs::file_size(path, ec);
        if (!ec && size > kMaxReadFileSize) {
            return Fail(error, "The file " + Quoted(path) + " is too large to be read.");
        }
        if (!ec) {
            bufferSize = std::clamp<std::uintmax_t>(size + 1, 4096, kLargestBuffer);
        }
    }

    auto state = std::make_unique<SState>();
    state->path = path;
    state->buffer = std::make_unique_for_overwrite<char[]>(bufferSize);
    state->in.rdbuf()->pubsetbuf(state->buffer.get(), static_cast<std::streamsize>(bufferSize));
    errno = 0;
    state->in.open(path, std::ios::binary);
    if (!state->in.is_open()) {
        return Fail(error, "Could not open the file " + Quoted(path) + SystemReason(errno) + ".");
    }
    m_state = std::move(state);
    return true;
}

std::size_t CFileReader::ReadInto(std::vector<uint8_t>& into, std::size_t count) {
    if (!m_state || Failed()) {
        return 0;
    }
    // In growing steps, so that a count from a damaged length grows the buffer only about as
    // fast as bytes come.
    constexpr std::size_t kLargestStep = 4 * 1024 * 1024;
    std::size_t step = 64 * 1024;
    std::size_t got = 0;
    while (got < count && m_state->in) {
        const std::size_t want = std::min(count - got, step);
        step = std::min(2 * step, kLargestStep);
        const std::size_t start = into.size();
        into.resize(start + want);
        errno = 0;
        m_state->in.read(reinterpret_cast<char*>(into.data() + start),
                         static_cast<std::streamsize>(want));
        const auto came =
            static_cast<std::size_t>(std::max<std::streamsize>(0, m_state->in.gcount()));
        into.resize(start + came);
        got += came;
        m_state->read += came;
        if (m_state->in.bad()) {
            m_error =
                "Could not read the file " + Quoted(m_state->path) + SystemReason(errno) + ".";
            return got;
        }
        if (m_state->read > kMaxReadFileSize) {
            m_error = "The file " + Quoted(m_state->path) + " is too large to be read.";
            return got;
        }
    }
    return got;
}

std::optional<std::vector<uint8_t>> ReadWholeFile(const fs::path& path, std::string* error,
                                                  bool* missing) {
    CFileReader file;
    if (!file.Open(path, error, missing)) {
        return std::nullopt;
    }
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(path, ec);
    std::vector<uint8_t> data;
    // The size taken when opening straight into the result, then blocks rather than trusting
    // the size: the file may change while it is read.
    if (!ec) {
        data.reserve(static_cast<std::size_t>(size));
        file.ReadInto(data, static_cast<std::size_t>(size));
    }
    // Past the reserved size only when the file grew: blocks on the side, so that finding
    // the end costs the result no regrowth.
    std::vector<uint8_t> more;
    while (!file.Failed()) {
        more.clear();
        if (file.ReadInto(more, 64 * 1024) == 0) {
            break;
        }
        data.insert(data.end(), more.begin(), more.end());
    }
    if (file.Failed()) {
        Fail(error, file.Error());
        return std::nullopt;
    }
    return data;
}

} // namespace fitquill
