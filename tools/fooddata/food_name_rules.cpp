// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/fooddata/food_name_rules.h"

#include <algorithm>
#include <cctype>

namespace fitquill {

extern const std::string_view kFoodNamesText;

namespace {

std::string Trim(std::string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t' || text[begin] == '\r'))
        ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t' || text[end - 1] == '\r'))
        --end;
    return std::string(text.substr(begin, end - begin));
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsWordChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '\'' || c == '-' ||
           static_cast<unsigned char>(c) >= 0x80;
}

} // namespace

const CFoodNameRules& CFoodNameRules::Default() {
    static const CFoodNameRules rules = [] {
        std::string error;
        auto parsed = Parse(kFoodNamesText, error);
        // The text is part of the program: a broken table is a build fault, caught by the tests.
        return parsed ? std::move(*parsed) : CFoodNameRules();
    }();
    return rules;
}

std::optional<CFoodNameRules> CFoodNameRules::Parse(std::string_view text, std::string& error) {
    CFoodNameRules rules;
    enum class ESection { kNone, kShortForms, kFiller, kAbbreviations, kClasses, kWords };
    ESection section = ESection::kNone;
    std::set<std::string> seen[2];
    size_t lineNumber = 0;
    size_t pos = 0;
    const auto fail = [&](const std::string& what) {
        error = "line " + std::to_string(lineNumber) + ": " + what;
        return std::nullopt;
    };
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string line = Trim(text.substr(pos, end - pos));
        pos = end + 1;
        ++lineNumber;
        if (line.empty() || line[0] == '#')
            continue;
        if (line.front() == '[') {
            if (line == "[short forms]")
                section = ESection::kShortForms;
            else if (line == "[filler]")
                section = ESection::kFiller;
            else if (line == "[abbreviations]")
                section = ESection::kAbbreviations;
            else if (line == "[classes]")
                section = ESection::kClasses;
            else if (line == "[preparation]" || line == "[state]" || line == "[cut]" ||
                     line == "[packing]")
                section = ESection::kWords;
            else
                return fail("unknown section " + line);
            continue;
        }
        switch (section) {
        case ESection::kNone:
            return fail("text before the first section");
        case ESection::kShortForms:
        case ESection::kAbbreviations: {
            const size_t equals = line.find(" =");
            if (equals == std::string::npos)
                return fail("no '=' in '" + line + "'");
            SPhrase phrase{Trim(line.substr(0, equals)), Trim(line.substr(equals + 2))};
            const bool shortForm = section == ESection::kShortForms;
            if (phrase.from.empty() || !seen[shortForm ? 0 : 1].insert(phrase.from).second)
                return fail("'" + phrase.from + "' is given twice or empty");
            // A one-word abbreviation reads back as the first word it stands for.
            if (!shortForm && phrase.from.find(' ') == std::string::npos && !phrase.to.empty() &&
                phrase.to.find(' ') == std::string::npos) {
                std::string to;
                for (char c : phrase.to)
                    to += Lower(c);
                rules.m_expansions.emplace(to, phrase.from);
            }
            (shortForm ? rules.m_shortForms : rules.m_abbreviations).push_back(std::move(phrase));
            break;
        }
        case ESection::kFiller:
            rules.m_filler.insert(line);
            break;
        case ESection::kClasses:
            if (const size_t equals = line.find(" ="); equals != std::string::npos)
                rules.m_classes[Trim(line.substr(0, equals))] = Trim(line.substr(equals + 2));
            else
                rules.m_classes[line];
            break;
        case ESection::kWords:
            for (const auto& word : TextWords(line))
                rules.m_descriptive.insert(SingularWord(word));
            // Abbreviations written with other characters ("ln&fat", "w/o") are kept whole.
            for (auto& word : SpacedWords(line))
                rules.m_descriptive.insert(std::move(word));
            break;
        }
    }
    return rules;
}

bool CFoodNameRules::IsDescriptiveWord(std::string_view word) const {
    const std::string lower = Expand(word);
    return m_descriptive.count(lower) > 0 || m_descriptive.count(SingularWord(lower)) > 0;
}

std::string CFoodNameRules::Expand(std::string_view word) const {
    std::string lower;
    for (char c : word)
        lower += Lower(c);
    const auto found = m_expansions.find(lower);
    return found == m_expansions.end() ? lower : found->second;
}

bool CFoodNameRules::NamesAFood(std::string_view text) const {
    for (const auto& word : TextWords(text)) {
        if (!IsJoiningWord(word) && !IsNumberWord(word) && !IsDescriptiveWord(word))
            return true;
    }
    return false;
}

bool IsJoiningWord(std::string_view word) {
    for (const char* joining : {"and", "or", "of", "with", "in", "the", "a", "an", "for", "to",
                                "on", "w", "o", "wo", "from", "as", "by", "at"}) {
        if (word == joining)
            return true;
    }
    return false;
}

bool IsNumberWord(std::string_view word) {
    return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
        return (c >= '0' && c <= '9') || c == '.' || c == '-';
    });
}

std::string SingularWord(std::string_view word) {
    std::string w(word);
    const auto ends = [&](std::string_view suffix) {
        return w.size() > suffix.size() + 2 &&
               w.compare(w.size() - suffix.size(), suffix.size(), suffix) == 0;
    };
    if (ends("ies"))
        return w.substr(0, w.size() - 3) + "y";
    if (ends("ches") || ends("shes") || ends("sses") || ends("xes") || ends("oes"))
        return w.substr(0, w.size() - 2);
    if (ends("s") && !ends("ss") && !ends("us") && !ends("is"))
        return w.substr(0, w.size() - 1);
    return w;
}

std::vector<std::string> SpacedWords(std::string_view text) {
    std::vector<std::string> words;
    size_t start = 0;
    while (start < text.size()) {
        size_t space = text.find(' ', start);
        if (space == std::string_view::npos)
            space = text.size();
        if (space > start)
            words.emplace_back(text.substr(start, space - start));
        start = space + 1;
    }
    return words;
}

std::vector<std::string> TextWords(std::string_view text) {
    std::vector<std::string> words;
    std::string word;
    for (char c : std::string(text) + " ") {
        if (IsWordChar(c)) {
            word += Lower(c);
            continue;
        }
        // Hyphens and apostrophes at a word's ends are punctuation.
        while (!word.empty() && (word.front() == '-' || word.front() == '\''))
            word.erase(word.begin());
        while (!word.empty() && (word.back() == '-' || word.back() == '\''))
            word.pop_back();
        if (!word.empty())
            words.push_back(word);
        word.clear();
    }
    return words;
}

} // namespace fitquill
