// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/common/command_line.h"

#include <charconv>

namespace fitquill {

CCommandLine::CCommandLine(const std::vector<std::string>& words,
                           const std::set<std::string>& options, std::string program,
                           const std::set<std::string>& flags)
    : m_program(std::move(program)) {
    bool onlyPositional = false;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (onlyPositional || word.size() < 2 || word.compare(0, 2, "--") != 0) {
            m_positional.push_back(word);
            continue;
        }
        if (word == "--") {
            onlyPositional = true;
            continue;
        }
        const std::string name = word.substr(2);
        const bool flag = flags.count(name) != 0;
        if (!flag && options.count(name) == 0)
            throw CToolFailure("Unknown option " + word + " (see " + m_program + " --help).");
        if (Option(name))
            throw CToolFailure("The option " + word + " is given twice.");
        if (flag) {
            m_options.emplace_back(name, std::string());
            continue;
        }
        if (i + 1 >= words.size())
            throw CToolFailure("The option " + word + " needs a value.");
        m_options.emplace_back(name, words[++i]);
    }
}

std::optional<std::string> CCommandLine::Option(std::string_view name) const {
    for (const auto& [key, value] : m_options)
        if (key == name)
            return value;
    return std::nullopt;
}

std::string CCommandLine::RequiredOption(std::string_view name) const {
    std::optional<std::string> value = Option(name);
    if (!value)
        throw CToolFailure("The option --" + std::string(name) + " is missing.");
    return *value;
}

void CCommandLine::ExpectPositional(size_t count, std::string_view usage) const {
    if (m_positional.size() != count)
        throw CToolFailure("Usage: " + m_program + " " + std::string(usage));
}

int64_t CCommandLine::ParseInteger(std::string_view text, std::string_view what) {
    int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || at != end)
        throw CToolFailure(std::string(what) + " must be a whole number, not '" +
                           std::string(text) + "'.");
    return value;
}

uint64_t CCommandLine::ParseUnsigned(std::string_view text, std::string_view what) {
    uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || at != end)
        throw CToolFailure(std::string(what) + " must be a whole number of 0 or more, not '" +
                           std::string(text) + "'.");
    return value;
}

uint64_t CCommandLine::ParseUnsigned(std::string_view text, std::string_view what, uint64_t minimum,
                                     uint64_t maximum) {
    uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || at != end || value < minimum || value > maximum)
        throw CToolFailure(std::string(what) + " must be a whole number from " +
                           std::to_string(minimum) + " to " + std::to_string(maximum) + ", not '" +
                           std::string(text) + "'.");
    return value;
}

} // namespace fitquill
