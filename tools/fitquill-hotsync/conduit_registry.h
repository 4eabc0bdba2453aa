// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fitquill {

// One conduit as registered with the HotSync Manager.
struct SConduitRegistration {
    std::string name;             // the registration's name, e.g. "Fitquill"
    std::filesystem::path module; // the module file, absolute
    std::string creator;          // four characters
    uint32_t creatorId = 0;       // the same as the big-endian 32-bit code
    std::string remoteDatabase;   // the handheld database it synchronises
    std::string localName;        // relative to the user's folder
};

// The conduits registered with the HotSync Manager, in the order they run, read from a
// registration file that comes with the installation:
//
//   ; comment
//   [Fitquill]
//   Module=Fitquill.so            (relative to the file's folder, or absolute)
//   Creator=FQui
//   RemoteDatabase=FQA-AppDB
//   LocalName=Fitquill/UserDB.dat
//
// Every key is required once per conduit and no other key is accepted, so that a misspelt
// key is an error rather than a conduit that silently runs with a missing value.
class CConduitRegistry {
public:
    static constexpr const char* kFileName = "conduits.ini";
    // Names a registration file to use instead of the installed one.
    static constexpr const char* kFileVariable = "FITQUILL_CONDUITS";

    // Where the registration file of the installation lies for a program in `programFolder`:
    // <prefix>/lib/fitquill/conduits when installed, <build>/conduits in the build tree. The
    // first that exists; nothing when neither does.
    static std::optional<std::filesystem::path> Locate(const std::filesystem::path& programFolder);

    // False, with the file, the line and the reason in `error`, for a file that cannot be
    // read or holds anything but well-formed registrations; the registry is then unchanged.
    bool Load(const std::filesystem::path& file, std::string* error = nullptr);
    // The same from text; relative module paths are taken from `folder`.
    bool Parse(std::string_view text, const std::filesystem::path& folder,
               std::string* error = nullptr);

    const std::vector<SConduitRegistration>& Conduits() const { return m_conduits; }
    // The conduit of that name, ignoring case; null when none is registered.
    const SConduitRegistration* Find(std::string_view name) const;

private:
    std::vector<SConduitRegistration> m_conduits;
};

} // namespace fitquill
