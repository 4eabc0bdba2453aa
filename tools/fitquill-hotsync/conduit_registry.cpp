// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/fitquill-hotsync/conduit_registry.h"

#include "core/io/atomic_file.h"
#include "platform/palm/palm_database.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <system_error>

namespace fitquill {
namespace {

namespace fs = std::filesystem;

constexpr std::array<std::string_view, 4> kKeys = {"Module", "Creator", "RemoteDatabase",
                                                   "LocalName"};

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool HasControlCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
}

// A value of one key, or why it cannot be used.
std::optional<std::string> CheckValue(std::string_view key, std::string_view value) {
    if (value.empty() || HasControlCharacter(value))
        return "an empty " + std::string(key) + " or one with control characters";
    if (key == "Creator" && value.size() != 4)
        return "a creator ID that is not four characters";
    if (key == "RemoteDatabase" && value.size() > kPalmMaxNameLength)
        return "a remote database name longer than 31 characters";
    // The conduit replaces the last four characters of the local name and joins it to the
    // user's folder: it must be a relative file name with an ending to replace.
    if (key == "LocalName" && (value.size() < 5 || fs::path(std::string(value)).is_absolute()))
        return "a local name that is not a relative file name";
    return std::nullopt;
}

} // namespace

std::optional<fs::path> CConduitRegistry::Locate(const fs::path& programFolder) {
    std::error_code ec;
    for (const fs::path& folder : {programFolder / ".." / "lib" / "fitquill" / "conduits",
                                   programFolder / ".." / "conduits"}) {
        const fs::path file = (folder / kFileName).lexically_normal();
        if (fs::is_regular_file(file, ec))
            return file;
    }
    return std::nullopt;
}

bool CConduitRegistry::Load(const fs::path& file, std::string* error) {
    std::string reason;
    const auto bytes = ReadWholeFile(file, &reason);
    if (!bytes) {
        if (error)
            *error = "Cannot read the conduit registrations " + file.string() + ": " + reason;
        return false;
    }
    std::error_code ec;
    const fs::path folder = fs::absolute(file, ec).parent_path();
    const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    if (!Parse(text, folder, &reason)) {
        if (error)
            *error = "The conduit registrations " + file.string() + " are damaged: " + reason;
        return false;
    }
    return true;
}

bool CConduitRegistry::Parse(std::string_view text, const fs::path& folder, std::string* error) {
    std::vector<SConduitRegistration> conduits;
    std::vector<std::vector<std::string_view>> seenKeys;
    size_t lineNumber = 0;
    bool atEnd = false;
    auto fail = [&](const std::string& why) {
        if (error)
            *error = (atEnd ? std::string("end of file") : "line " + std::to_string(lineNumber)) +
                     ": " + why + ".";
        return false;
    };
    auto complete = [&]() -> std::optional<std::string> {
        if (conduits.empty())
            return std::nullopt;
        for (std::string_view key : kKeys) {
            const auto& seen = seenKeys.back();
            if (std::find(seen.begin(), seen.end(), key) == seen.end())
                return "conduit " + conduits.back().name + " has no " + std::string(key);
        }
        return std::nullopt;
    };

    while (!text.empty()) {
        ++lineNumber;
        const size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[') {
            if (auto missing = complete())
                return fail(*missing);
            const std::string_view name =
                line.back() == ']' ? Trim(line.substr(1, line.size() - 2)) : std::string_view();
            // The name also keys the user's kept actions: no separators in it.
            if (name.empty() || HasControlCharacter(name) ||
                name.find_first_of("/\\") != std::string_view::npos)
                return fail("a conduit name that is empty, holds a separator or is not closed "
                            "by ']'");
            for (const auto& other : conduits)
                if (EqualIgnoringCase(other.name, name))
                    return fail("the conduit " + std::string(name) + " is registered twice");
            conduits.push_back({});
            conduits.back().name = name;
            seenKeys.emplace_back();
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            return fail("neither a [conduit] nor a Key=Value line");
        if (conduits.empty())
            return fail("a value before the first [conduit]");
        const std::string_view key = Trim(line.substr(0, equals));
        const std::string_view value = Trim(line.substr(equals + 1));
        if (std::find(kKeys.begin(), kKeys.end(), key) == kKeys.end())
            return fail("unknown key '" + std::string(key) + "'");
        auto& seen = seenKeys.back();
        if (std::find(seen.begin(), seen.end(), key) != seen.end())
            return fail(std::string(key) + " given twice");
        if (auto why = CheckValue(key, value))
            return fail(*why);
        seen.push_back(*std::find(kKeys.begin(), kKeys.end(), key));

        SConduitRegistration& conduit = conduits.back();
        if (key == "Module") {
            const fs::path module{std::string(value)};
            conduit.module = module.is_absolute() ? module : (folder / module).lexically_normal();
        } else if (key == "Creator") {
            conduit.creator = value;
            conduit.creatorId = 0;
            for (char c : value)
                conduit.creatorId = conduit.creatorId << 8 | static_cast<uint8_t>(c);
        } else if (key == "RemoteDatabase") {
            conduit.remoteDatabase = value;
        } else {
            conduit.localName = value;
        }
    }
    atEnd = true;
    if (auto missing = complete())
        return fail(*missing);
    m_conduits = std::move(conduits);
    return true;
}

const SConduitRegistration* CConduitRegistry::Find(std::string_view name) const {
    for (const auto& conduit : m_conduits)
        if (EqualIgnoringCase(conduit.name, name))
            return &conduit;
    return nullptr;
}

} // namespace fitquill
