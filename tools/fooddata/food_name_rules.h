// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace fitquill {

// A phrase and what replaces it, both as written in the rules (the phrase in lower case).
struct SPhrase {
    std::string from;
    std::string to;
};

// The published words item names are made with (food_names.txt, compiled in): short forms,
// filler, the abbreviation table, class words and the words that describe rather than name
// a food. One table serves the naming and the check of the names.
class CFoodNameRules {
public:
    // The compiled-in rules; parsed once, valid for the whole run.
    static const CFoodNameRules& Default();
    // Nullopt, with the line and what is wrong, on an unknown section, a phrase line without
    // "=", or a phrase given twice (each word has one abbreviation).
    static std::optional<CFoodNameRules> Parse(std::string_view text, std::string& error);

    const std::vector<SPhrase>& ShortForms() const { return m_shortForms; }
    const std::vector<SPhrase>& Abbreviations() const { return m_abbreviations; }
    // Arguments in lower case.
    bool IsFiller(std::string_view part) const { return m_filler.count(std::string(part)) > 0; }
    bool IsClass(std::string_view part) const { return m_classes.count(std::string(part)) > 0; }
    // The word a class adds after the food that follows it ("squash": "Acorn squash"), empty
    // when the food stands alone ("fish": "Tuna").
    bool IsClassWord(std::string_view word) const {
        return std::any_of(m_classes.begin(), m_classes.end(),
                           [&](const auto& entry) { return entry.second == word; });
    }
    std::string ClassWord(std::string_view part) const {
        const auto found = m_classes.find(std::string(part));
        return found == m_classes.end() ? std::string() : found->second;
    }
    // A word that says how a food is prepared, kept, cut or packed (singular or plural).
    bool IsDescriptiveWord(std::string_view word) const;
    // The word an abbreviation of the table stands for, else the word itself (lower case).
    std::string Expand(std::string_view word) const;
    // True when a word of the text is none of the descriptive, joining or number words.
    bool NamesAFood(std::string_view text) const;

private:
    std::vector<SPhrase> m_shortForms;
    std::vector<SPhrase> m_abbreviations;
    std::set<std::string> m_filler;
    std::map<std::string, std::string> m_classes;
    std::set<std::string> m_descriptive;
    std::map<std::string, std::string> m_expansions;
};

// A word's singular as far as names need it: "cherries" -> "cherry", "peaches" -> "peach",
// "apples" -> "apple"; lower case in, lower case out.
std::string SingularWord(std::string_view word);

// Joining words ("and", "with"), with what is left of "w/" and "w/o" split into words.
bool IsJoiningWord(std::string_view word);
// Numbers and sizes ("2", "1.5").
bool IsNumberWord(std::string_view word);

// The lower-case words of a text: runs of letters, digits, apostrophes and hyphens.
std::vector<std::string> TextWords(std::string_view text);
// The words of a text as written, split at spaces (no empty words).
std::vector<std::string> SpacedWords(std::string_view text);

} // namespace fitquill
