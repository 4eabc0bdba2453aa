// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace fitquill {

// A command of the HotSync Manager stand-in that cannot be carried out; what() is the one line
// the user reads.
class CHotSyncFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The words after a command: options "--name value" anywhere, the other words positional; after
// "--" every word is positional. Unknown, repeated or value-less options raise CHotSyncFailure.
class CHotSyncArguments {
public:
    CHotSyncArguments(const std::vector<std::string>& words, const std::set<std::string>& options);

    std::optional<std::string> Option(std::string_view name) const;
    std::string RequiredOption(std::string_view name) const;
    const std::vector<std::string>& Positional() const { return m_positional; }
    // Raises CHotSyncFailure with the usage line unless exactly `count` positional words came.
    void ExpectPositional(size_t count, std::string_view usage) const;

    // A whole decimal number from `minimum` to `maximum`; raises CHotSyncFailure naming `what`
    // otherwise.
    static uint64_t ParseUnsigned(std::string_view text, std::string_view what, uint64_t minimum,
                                  uint64_t maximum);

private:
    std::vector<std::pair<std::string, std::string>> m_options;
    std::vector<std::string> m_positional;
};

} // namespace fitquill
