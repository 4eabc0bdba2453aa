// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/fitquill-hotsync/hotsync_arguments.h"

#include <charconv>

namespace fitquill {

CHotSyncArguments::CHotSyncArguments(const std::vector<std::string>& words,
                                     const std::set<std::string>& options) {
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
        if (options.count(name) == 0)
            throw CHotSyncFailure("Unknown option " + word + " (see fitquill-hotsync --help).");
        if (Option(name))
            throw CHotSyncFailure("The option " + word + " is given twice.");
        if (i + 1 >= words.size())
            throw CHotSyncFailure("The option " + word + " needs a value.");
        m_options.emplace_back(name, words[++i]);
    }
}

std::optional<std::string> CHotSyncArguments::Option(std::string_view name) const {
    for (const auto& [key, value] : m_options)
        if (key == name)
            return value;
    return std::nullopt;
}

std::string CHotSyncArguments::RequiredOption(std::string_view name) const {
    std::optional<std::string> value = Option(name);
    if (!value)
        throw CHotSyncFailure("The option --" + std::string(name) + " is missing.");
    return *value;
}

void CHotSyncArguments::ExpectPositional(size_t count, std::string_view usage) const {
    if (m_positional.size() != count)
        throw CHotSyncFailure("Usage: fitquill-hotsync " + std::string(usage));
}

uint64_t CHotSyncArguments::ParseUnsigned(std::string_view text, std::string_view what,
                                          uint64_t minimum, uint64_t maximum) {
    uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || at != end || value < minimum || value > maximum)
        throw CHotSyncFailure(std::string(what) + " must be a whole number from " +
                              std::to_string(minimum) + " to " + std::to_string(maximum) +
                              ", not '" + std::string(text) + "'.");
    return value;
}

} // namespace fitquill
