// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/fooddata/name_check.h"

#include "tools/fooddata/food_naming.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

namespace fitquill {
namespace {

// The words of a text that may name a food, singular.
std::vector<std::string> NamingWords(std::string_view text) {
    std::vector<std::string> words;
    for (const auto& word : TextWords(text)) {
        if (!IsJoiningWord(word) && !IsNumberWord(word))
            words.push_back(word);
    }
    return words;
}

bool IsSeparator(char c) {
    return c == ',' || c == ';' || c == '&' || c == '/';
}

} // namespace

bool IsPreparationOnly(std::string_view name, const CFoodNameRules& rules) {
    const auto words = NamingWords(name);
    return std::all_of(words.begin(), words.end(),
                       [&](const std::string& word) { return rules.IsDescriptiveWord(word); });
}

bool HoldsFoodWord(std::string_view name, std::string_view description,
                   const CFoodNameRules& rules) {
    std::set<std::string> foodWords;
    for (const auto& word : NamingWords(description)) {
        if (!rules.IsDescriptiveWord(word))
            foodWords.insert(SingularWord(word));
    }
    for (const auto& word : NamingWords(name)) {
        if (foodWords.count(SingularWord(rules.Expand(word))) ||
            foodWords.count(SingularWord(word)))
            return true;
    }
    return false;
}

bool EndsInAddedNumber(std::string_view name, std::string_view description) {
    size_t start = name.size();
    while (start > 0 && name[start - 1] >= '0' && name[start - 1] <= '9')
        --start;
    if (start == name.size() || (start > 0 && name[start - 1] != ' ' && name[start - 1] != ','))
        return false;
    const std::string number(name.substr(start));
    const auto words = TextWords(description);
    return std::find(words.begin(), words.end(), number) == words.end();
}

bool IsWellFormedName(std::string_view name) {
    if (name.empty() || name.size() > kMaxNameLength || name.front() == ' ' || name.back() == ' ')
        return false;
    if (name.find("  ") != std::string_view::npos)
        return false;
    if (IsSeparator(name.front()) || IsSeparator(name.back()) || name.back() == '-')
        return false;
    char previous = ' ';
    for (char c : name) {
        if (c == ' ')
            continue;
        // "&/or" is the one pair of separators a name may hold.
        if (IsSeparator(c) && IsSeparator(previous) && !(previous == '&' && c == '/'))
            return false;
        previous = c;
    }
    return true;
}

SNameCheck CheckNames(const CFoodDB& db, const CFoodNameRules& rules) {
    SNameCheck check;
    std::map<std::string, size_t> uses;
    for (const auto& group : db.Groups()) {
        for (const auto& category : group.Categories()) {
            for (const auto& item : category.Items())
                ++uses[LowerAscii(item.Name())];
        }
    }
    for (const auto& group : db.Groups()) {
        for (const auto& category : group.Categories()) {
            std::set<std::string> inCategory;
            for (const auto& item : category.Items()) {
                const std::string& name = item.Name();
                const std::string& description = item.SearchName();
                const std::string place =
                    group.Name() + " / " + category.Name() + " / " + name + " <- " + description;
                ++check.names;
                const auto breaks = [&](size_t& count, const char* rule) {
                    ++count;
                    check.breakers.push_back(std::string(rule) + ": " + place);
                };
                if (IsPreparationOnly(name, rules))
                    breaks(check.preparationOnly, "preparation words only");
                else if (!HoldsFoodWord(name, description, rules))
                    breaks(check.withoutFoodWord, "no food word");
                if (EndsInAddedNumber(name, description))
                    breaks(check.addedNumbers, "added number");
                if (!IsWellFormedName(name))
                    breaks(check.badlyFormed, "badly formed");
                if (!inCategory.insert(LowerAscii(name)).second)
                    breaks(check.categoryClashes, "twice in its category");
                check.uniqueInDatabase += uses[LowerAscii(name)] == 1 ? 1 : 0;
            }
        }
    }
    // A name made only of preparation words holds no food word either.
    check.withoutFoodWord += check.preparationOnly;

    std::vector<std::pair<size_t, std::string>> shared;
    for (const auto& [name, count] : uses) {
        if (count > 1)
            shared.emplace_back(count, name);
    }
    check.sharedNames = shared.size();
    std::stable_sort(shared.begin(), shared.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (size_t i = 0; i < shared.size() && i < 15; ++i)
        check.mostShared.push_back(std::to_string(shared[i].first) + " x " + shared[i].second);
    return check;
}

std::string SNameCheck::Text() const {
    std::string out;
    char line[160];
    const auto share = [&](size_t count) { return names ? 100.0 * count / names : 0.0; };
    const auto add = [&](const char* label, size_t count) {
        std::snprintf(line, sizeof line, "  %-42s %5zu (%.2f %%)\n", label, count, share(count));
        out += line;
    };
    std::snprintf(line, sizeof line, "Item names checked:           %zu\n", names);
    out += line;
    add("made only of preparation or state words:", preparationOnly);
    add("without a food word of their description:", withoutFoodWord);
    add("unique in the whole database:", uniqueInDatabase);
    add("items whose name another item has too:", names - uniqueInDatabase);
    std::snprintf(line, sizeof line, "  %-42s %5zu\n",
                  "names shared by two or more items:", sharedNames);
    out += line;
    add("ending in an added number:", addedNumbers);
    add("badly formed (length, spaces, separators):", badlyFormed);
    add("twice in one category:", categoryClashes);
    if (!mostShared.empty()) {
        out += "  Most shared names:";
        for (const auto& name : mostShared)
            out += (&name == &mostShared.front() ? " " : "; ") + name;
        out += "\n";
    }
    std::snprintf(line, sizeof line, "Names that break a rule:      %zu\n", breakers.size());
    out += line;
    for (const auto& breaker : breakers)
        out += "  " + breaker + "\n";
    return out;
}

} // namespace fitquill
