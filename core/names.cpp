// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/names.h"

#include <algorithm>

namespace fitquill {
namespace {

unsigned char Lower(char c) {
    auto u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}

} // namespace

std::string TrimSpaces(std::string_view text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

int CompareNames(std::string_view a, std::string_view b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char la = Lower(a[i]), lb = Lower(b[i]);
        if (la != lb)
            return la < lb ? -1 : 1;
    }
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    for (size_t i = 0; i < n; ++i) {
        auto ua = static_cast<unsigned char>(a[i]), ub = static_cast<unsigned char>(b[i]);
        if (ua != ub)
            return ua > ub ? -1 : 1; // the larger byte sorts first
    }
    return 0;
}

bool ContainsIgnoringCase(std::string_view text, std::string_view part) {
    if (part.empty())
        return true;
    auto it = std::search(text.begin(), text.end(), part.begin(), part.end(),
                          [](char x, char y) { return Lower(x) == Lower(y); });
    return it != text.end();
}

} // namespace fitquill
