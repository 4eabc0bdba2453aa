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

// A command that cannot be carried out; what() is the one line the user reads.
class CToolFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The words after a command: options "--name value" anywhere, the other words positional; after
// "--" every word is positional (a user name may start with dashes). Unknown, repeated or
// value-less options raise CToolFailure. Flags are options without a value ("--force").
class CCommandLine {
public:
    // `program` names the tool in the messages ("see PROGRAM --help", "Usage: PROGRAM ...").
    CCommandLine(const std::vector<std::string>& words, const std::set<std::string>& options,
                 std::string program = "fitquill", const std::set<std::string>& flags = {});

    std::optional<std::string> Option(std::string_view name) const;
    bool Flag(std::string_view name) const { return Option(name).has_value(); }
    std::string RequiredOption(std::string_view name) const;
    const std::vector<std::string>& Positional() const { return m_positional; }
    // Raises CToolFailure unless exactly `count` positional words were given.
    void ExpectPositional(size_t count, std::string_view usage) const;

    // A whole decimal number; raises CToolFailure naming `what` otherwise.
    static int64_t ParseInteger(std::string_view text, std::string_view what);
    static uint64_t ParseUnsigned(std::string_view text, std::string_view what);
    // The same, refusing numbers outside minimum..maximum.
    static uint64_t ParseUnsigned(std::string_view text, std::string_view what, uint64_t minimum,
                                  uint64_t maximum);

private:
    std::string m_program;
    std::vector<std::pair<std::string, std::string>> m_options;
    std::vector<std::string> m_positional;
};

} // namespace fitquill
