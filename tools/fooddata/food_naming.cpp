// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/fooddata/food_naming.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace fitquill {
namespace {

// Cooking methods: "cooked, braised" says "braised".
constexpr const char* kCookingMethods[] = {
    "braised",     "roasted",     "broiled",    "grilled",    "boiled",  "baked",
    "fried",       "pan-fried",   "stewed",     "simmered",   "steamed", "microwaved",
    "pan-broiled", "pan-browned", "stir-fried", "poached",    "smoked",  "moist heat",
    "dry heat",    "scrambled",   "deep-fried", "rotisserie",
};

constexpr const char* kAcronyms[] = {"USDA", "NFS", "BBQ", "USA", "DHA",  "EPA", "KFC", "NLEA",
                                     "UHT",  "TGI", "II",  "III", "XL",   "GMO", "RTE", "RTS",
                                     "RTD",  "RTH", "MSG", "US",  "UK",   "NY",  "A&W", "BLT",
                                     "IHOP", "PB",  "ABC", "DQ",  "HFCS", "TV",  "CA",  "ALA"};

constexpr const char* kSmallWords[] = {"and", "or",  "of", "with", "in", "the", "a",
                                       "an",  "for", "to", "on",   "w/", "w/o", "&"};

bool IsAlnum(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

// ASCII only, without the locale: the texts are Windows-1252 and only ASCII letters fold.
char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    }
    return true;
}

// Replaces every whole-word occurrence of from (ignoring case); a replacement of a match
// that starts with a capital starts with a capital.
std::string ReplaceWords(std::string_view text, std::string_view from, std::string_view to) {
    // Most texts hold none of the phrases: look before walking.
    const size_t first = LowerAscii(text).find(LowerAscii(from));
    if (first == std::string::npos)
        return std::string(text);
    std::string out(text.substr(0, first));
    size_t pos = first;
    while (pos < text.size()) {
        const bool startOk = pos == 0 || !IsAlnum(text[pos - 1]) || !IsAlnum(from.front());
        const size_t end = pos + from.size();
        if (startOk && end <= text.size() &&
            EqualsIgnoringCase(text.substr(pos, from.size()), from) &&
            (end == text.size() || !IsAlnum(text[end]) || !IsAlnum(from.back()))) {
            std::string replacement(to);
            if (!replacement.empty() && std::isupper(static_cast<unsigned char>(text[pos])))
                replacement[0] =
                    static_cast<char>(std::toupper(static_cast<unsigned char>(replacement[0])));
            out += replacement;
            pos = end;
            continue;
        }
        out += text[pos++];
    }
    return out;
}

// The tables' phrases are lower case, so a lowered copy of the text tells which apply.
std::string ApplyRewrites(std::string_view text, const std::vector<SPhrase>& table) {
    std::string out(text);
    std::string lower = LowerAscii(out);
    for (const auto& rewrite : table) {
        if (lower.find(rewrite.from) == std::string::npos)
            continue;
        out = ReplaceWords(out, rewrite.from, rewrite.to);
        lower = LowerAscii(out);
    }
    return CollapseSpaces(out);
}

bool IsCookingMethod(std::string_view part) {
    const std::string lower = LowerAscii(part);
    for (const char* method : kCookingMethods) {
        if (lower == method)
            return true;
    }
    return false;
}

bool IsFiller(std::string_view part) {
    return CFoodNameRules::Default().IsFiller(LowerAscii(part));
}

const std::vector<SPhrase>& ShortForms() {
    return CFoodNameRules::Default().ShortForms();
}

const std::vector<SPhrase>& Abbreviations() {
    return CFoodNameRules::Default().Abbreviations();
}

std::string Join(const std::vector<std::string>& parts, std::string_view separator) {
    std::string out;
    for (const auto& part : parts) {
        if (part.empty())
            continue;
        if (!out.empty())
            out += separator;
        out += part;
    }
    return out;
}

// Cuts at the last word boundary within maxLength; inside the word when there is none.
std::string CutAtWord(std::string_view text, size_t maxLength) {
    if (text.size() <= maxLength)
        return std::string(text);
    size_t cut = maxLength;
    while (cut > 0 && text[cut] != ' ' && text[cut] != ',')
        --cut;
    std::string out(text.substr(0, cut > 0 ? cut : maxLength));
    while (!out.empty() && (out.back() == ' ' || out.back() == ',' || out.back() == '&' ||
                            out.back() == '/' || out.back() == '-'))
        out.pop_back();
    return out;
}

// Words of a category name that an item name need not repeat.
std::vector<std::string> CategoryWords(std::string_view category) {
    std::vector<std::string> words;
    std::string word;
    for (char c : std::string(category) + " ") {
        if (c == ' ' || c == ',') {
            if (word.size() > 2)
                words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    return words;
}

bool IsSmallWord(std::string_view word) {
    const std::string lower = LowerAscii(word);
    return std::any_of(std::begin(kSmallWords), std::end(kSmallWords),
                       [&](const char* w) { return lower == w; });
}

// How much a part tells, for the order in which parts are left out of a long name.
constexpr int kMinorPart = 1; // bone-in, with added solution, imported: rarely what one looks for
constexpr int kPlainPart = 2;
constexpr int kGradePart = 3; // lean or with fat, trim, grade
constexpr int kStatePart = 4; // raw, the cooking method, canned, frozen, dry, salted

constexpr const char* kMinorParts[] = {
    "bone-in",
    "bnls",
    "boneless",
    "w/ added solution",
    "w/added solution",
    "imp",
    "imported",
    "fresh",
    "whl",
    "whole",
    "not reconstituted",
    "not recon",
    "reg pack",
    "regular pack",
    "enhanced",
    "dom",
    "domestic",
    "all grades",
};
constexpr const char* kGradeParts[] = {
    "lean", "w/ fat", "w/fat", "lean & fat", "fat",     "choice",    "select",    "prime",
    "0\"",  "1/8\"",  "1/4\"", "1/2\"",      "0\" fat", "1/8\" fat", "1/4\" fat", "1/2\" fat",
};
constexpr const char* kStateParts[] = {
    "raw",      "cooked",   "ckd",       "canned",     "cnd",     "frozen", "frzn",    "dry",
    "dried",    "prepared", "prep",      "unprepared", "unprep",  "salted", "no salt", "w/ salt",
    "w/o salt", "heated",   "drained",   "drnd",       "boil",    "rst",    "brsd",    "brld",
    "grld",     "micro",    "simmrd",    "stwd",       "pan-fry", "rstd",   "cond",    "RTS",
    "RTE",      "RTD",      "condensed", "homemade",   "home",
};

int PartImportance(std::string_view part) {
    const std::string lower = LowerAscii(part);
    const auto in = [&](const auto& list) {
        return std::any_of(std::begin(list), std::end(list),
                           [&](const char* word) { return EqualsIgnoringCase(lower, word); });
    };
    if (in(kMinorParts))
        return kMinorPart;
    if (in(kGradeParts))
        return kGradePart;
    if (in(kStateParts) || IsCookingMethod(lower))
        return kStatePart;
    return kPlainPart;
}

// The text without its last word and without a joining word left dangling at the end.
std::string WithoutLastWord(std::string_view text) {
    std::string out(text.substr(0, text.rfind(' ')));
    for (;;) {
        out = CollapseSpaces(out);
        const size_t space = out.rfind(' ');
        if (space == std::string::npos || !IsSmallWord(out.substr(space + 1)))
            break;
        out.erase(space);
    }
    while (!out.empty() && (out.back() == '&' || out.back() == ',' || out.back() == '-'))
        out.pop_back();
    return CollapseSpaces(out);
}

// The indexes (among the space-separated words) of the first and the last word that name a
// food: "Potato" and "Soup" of "Baked Potato w/ Cheddar & Bacon Bits Soup". When they are all
// that is left, the last one may go too.
std::vector<size_t> OuterFoodWords(const std::string& part) {
    std::vector<size_t> found;
    const std::vector<std::string> words = SpacedWords(part);
    for (size_t i = 0; i < words.size(); ++i) {
        if (CFoodNameRules::Default().NamesAFood(words[i]))
            found.push_back(i);
    }
    if (found.size() > 2)
        found.erase(found.begin() + 1, found.end() - 1);
    if (found.size() == words.size() && words.size() > 1)
        found.pop_back();
    return found;
}

// The part without the word most siblings share (the last of equals), or without its last
// word when nothing is known of the siblings.
std::string WithoutCommonestWord(const std::string& part, const std::map<std::string, int>* counts,
                                 const std::vector<size_t>& keep = {}) {
    if (!counts)
        return WithoutLastWord(part);
    std::vector<std::string> words = SpacedWords(part);
    size_t drop = words.size() - 1;
    while (drop > 0 && std::find(keep.begin(), keep.end(), drop) != keep.end())
        --drop;
    int most = -1;
    for (size_t i = 0; i < words.size(); ++i) {
        if (IsSmallWord(words[i]) || std::find(keep.begin(), keep.end(), i) != keep.end())
            continue;
        const auto found = counts->find(LowerAscii(words[i]));
        const int count = found == counts->end() ? 0 : found->second;
        if (count >= most) {
            most = count;
            drop = i;
        }
    }
    words.erase(words.begin() + static_cast<long>(drop));
    // A joining word goes with the word it joined ("Potato with Cheddar Soup" -> "Potato Soup").
    if (drop > 0 && drop < words.size() && IsSmallWord(words[drop - 1]))
        words.erase(words.begin() + static_cast<long>(drop - 1));
    // Joining words left at either end go too ("of mushroom" -> "mushroom").
    while (words.size() > 1 && IsSmallWord(words.front()))
        words.erase(words.begin());
    while (words.size() > 1 && IsSmallWord(words.back()))
        words.pop_back();
    std::string out;
    for (const auto& word : words)
        out += (out.empty() ? "" : " ") + word;
    return out;
}

// Leaves out leading words that repeat the category name ("Kellogg's Corn Flakes" in
// "Cereal Kellogg's"); keeps the part when nothing, or only a joining word, would lead.
std::string DropCategoryWords(const std::string& part, const std::vector<std::string>& words) {
    std::string rest = part;
    for (;;) {
        const size_t space = rest.find(' ');
        if (space == std::string::npos)
            break;
        const std::string first = rest.substr(0, space);
        const bool repeats = std::any_of(words.begin(), words.end(), [&](const std::string& w) {
            return EqualsIgnoringCase(first, w);
        });
        if (!repeats)
            break;
        // Keep at least two words: "meat only" in "Chicken Dark Meat" stays as it is.
        std::string next = CollapseSpaces(rest.substr(space + 1));
        if (next.find(' ') == std::string::npos || IsSmallWord(next.substr(0, next.find(' '))))
            break;
        rest = next;
    }
    return rest;
}

bool ContainsWord(std::string_view text, std::string_view word) {
    const std::string lower = LowerAscii(text);
    const std::string singular = SingularWord(LowerAscii(word));
    for (const auto& w : TextWords(lower)) {
        if (SingularWord(w) == singular)
            return true;
    }
    return false;
}

// The brand as the tree names it when it is written the same ignoring case, else the part.
std::string TitleCaseBrand(const std::string& part, std::string_view brand) {
    return LowerAscii(part) == LowerAscii(brand) ? std::string(brand) : CalmCapitals(part);
}

// Leaves out what shortening left dangling: joining words and separators at either end of a
// part ("w/", "& bacon", "chkn-"), doubled joining words ("orange & & banana"), empty parts.
std::string TidyName(const std::string& name) {
    const bool spaced = name.find(", ") != std::string::npos;
    std::vector<std::string> segments;
    size_t start = 0;
    while (start <= name.size()) {
        size_t comma = name.find(',', start);
        if (comma == std::string::npos)
            comma = name.size();
        std::vector<std::string> words;
        for (auto& word : SpacedWords(std::string_view(name).substr(start, comma - start))) {
            const bool joining = IsSmallWord(word) || word == "&/or" || word == "-";
            if (!(joining && !words.empty() && IsSmallWord(words.back())))
                words.push_back(std::move(word));
        }
        const auto dangling = [](const std::string& w) {
            return IsSmallWord(w) || w == "&/or" || w == "-" || w == "/";
        };
        // "w/ skin" stays; "& bacon" loses its "&".
        const auto joiningFront = [](const std::string& w) {
            return w == "&" || w == "and" || w == "or" || w == "-" || w == "/" || w == "&/or";
        };
        while (!words.empty() && joiningFront(words.front()))
            words.erase(words.begin());
        while (!words.empty() && dangling(words.back()))
            words.pop_back();
        std::string tidy;
        for (const auto& word : words)
            tidy += (tidy.empty() ? "" : " ") + word;
        while (!tidy.empty() && (tidy.back() == '-' || tidy.back() == '/' || tidy.back() == '&'))
            tidy.pop_back();
        while (!tidy.empty() && (tidy.front() == '-' || tidy.front() == '/' || tidy.front() == '&'))
            tidy.erase(tidy.begin());
        tidy = CollapseSpaces(tidy);
        if (!tidy.empty())
            segments.push_back(tidy);
        start = comma + 1;
    }
    std::string out;
    for (const auto& segment : segments)
        out += (out.empty() ? "" : spaced ? ", " : ",") + segment;
    return out;
}

} // namespace

namespace {

// Without a food after the class ("Babyfood, cereal, mixed"), skipClasses gives nothing and
// the class leads after all.
std::vector<std::string> NamePartsOf(std::string_view description, std::string_view brand,
                                     bool skipClasses) {
    const CFoodNameRules& rules = CFoodNameRules::Default();
    std::vector<std::string> parts = SplitDescription(description);
    if (parts.empty())
        return parts;
    // "USDA Commodity" says who bought the food, not what it is.
    if (LowerAscii(parts[0]).rfind("usda commodity", 0) == 0 && parts.size() > 1) {
        std::string rest = CollapseSpaces(parts[0].substr(14));
        if (LowerAscii(rest) == "food" || rest.empty())
            parts.erase(parts.begin());
        else
            parts[0] = rest;
    }
    const std::string brandLower = LowerAscii(CalmCapitals(brand));
    std::vector<std::string> facts;
    std::vector<std::string> brands;
    std::optional<std::string> head;
    // "Fish, tuna" or "Babyfood, dinner, beef": the class goes, the food leads.
    size_t classParts = 0;
    std::string classWord;
    std::string leading;
    for (size_t i = 0; i < parts.size() && skipClasses; ++i) {
        leading += (i ? ", " : "") + LowerAscii(StripParentheses(parts[i]));
        if (rules.IsClass(leading)) {
            classParts = i + 1;
            classWord = rules.ClassWord(leading);
        }
    }
    const auto allCapitals = [](const std::string& part) {
        bool letters = false;
        for (char c : part) {
            if (std::islower(static_cast<unsigned char>(c)))
                return false;
            letters = letters || std::isalpha(static_cast<unsigned char>(c));
        }
        return letters;
    };
    for (size_t i = classParts; i < parts.size(); ++i) {
        const std::string& part = parts[i];
        if (IsFiller(LowerAscii(RewritePart(part))))
            continue;
        // "MEAD JOHNSON, ENFAMIL, ..." or "Gravy, CAMPBELL'S, beef": a name in capitals before
        // another one or before the food is the maker; it goes last.
        if (!head && allCapitals(part) && i + 1 < parts.size() &&
            (allCapitals(parts[i + 1]) || rules.NamesAFood(parts[i + 1]))) {
            brands.push_back(part);
            continue;
        }
        std::string text = part;
        const std::string calmLower = LowerAscii(CalmCapitals(part));
        bool productLine = false;
        if (!brandLower.empty() && calmLower.rfind(brandLower, 0) == 0) {
            // The brand tells products of one maker from the rest; it goes last.
            std::string rest = part.substr(brandLower.size());
            while (!rest.empty() && (rest.front() == ' ' || rest.front() == '-'))
                rest.erase(rest.begin());
            rest = CollapseSpaces(rest);
            if (rest.empty()) {
                // As the category writes it ("McDonald's", not "McDONALD'S").
                brands.push_back(TitleCaseBrand(part, brand));
                continue;
            }
            text = rest;
            productLine = true;
        }
        // "ARCHWAY Home Style Cookies, Oatmeal": a maker's product line gives way to the food
        // that follows it.
        const bool foodFollows = i + 1 < parts.size() && rules.NamesAFood(parts[i + 1]) &&
                                 !IsFiller(LowerAscii(RewritePart(parts[i + 1])));
        if (!head && rules.NamesAFood(text) && !(productLine && foodFollows)) {
            head = text;
            continue;
        }
        facts.push_back(text);
    }
    std::vector<std::string> result;
    if (!head && classParts > 0)
        return result;
    if (head) {
        // "Squash, winter, acorn": "Acorn squash".
        if (!classWord.empty() && !ContainsWord(*head, classWord))
            head = CapitalizeFirst(*head) + " " + classWord;
        result.push_back(*head);
    } else if (!facts.empty()) {
        result.push_back(facts.front());
        facts.erase(facts.begin());
    } else if (!brands.empty()) {
        result.push_back(brands.front());
        brands.erase(brands.begin());
    } else {
        result.push_back(parts.front());
    }
    result.insert(result.end(), facts.begin(), facts.end());
    result.insert(result.end(), brands.begin(), brands.end());
    return result;
}

} // namespace

std::vector<std::string> NameParts(std::string_view description, std::string_view brand) {
    std::vector<std::string> parts = NamePartsOf(description, brand, true);
    return parts.empty() ? NamePartsOf(description, brand, false) : parts;
}

std::vector<std::string> SplitDescription(std::string_view description) {
    std::vector<std::string> parts;
    std::string current;
    int depth = 0;
    const auto flush = [&] {
        std::string part = CollapseSpaces(current);
        if (!part.empty())
            parts.push_back(part);
        current.clear();
    };
    for (char c : description) {
        if (c == '(')
            ++depth;
        else if (c == ')' && depth > 0)
            --depth;
        if ((c == ',' || c == ';') && depth == 0) {
            flush();
            continue;
        }
        current += c;
    }
    flush();
    return parts;
}

std::string LowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = AsciiLower(c);
    return out;
}

std::string CollapseSpaces(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == ' ' && (out.empty() || out.back() == ' '))
            continue;
        out += c;
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

std::string StripParentheses(std::string_view text) {
    std::string out;
    int depth = 0;
    for (char c : text) {
        if (c == '(') {
            ++depth;
            continue;
        }
        if (c == ')' && depth > 0) {
            --depth;
            continue;
        }
        if (depth == 0) {
            // No space stays in front of the comma that followed the parentheses.
            while ((c == ',' || c == ';') && !out.empty() && out.back() == ' ')
                out.pop_back();
            out += c;
        }
    }
    return CollapseSpaces(out);
}

std::string CalmCapitals(std::string_view text) {
    std::string out;
    size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] == ' ') {
            out += text[pos++];
            continue;
        }
        size_t end = pos;
        while (end < text.size() && text[end] != ' ')
            ++end;
        std::string word(text.substr(pos, end - pos));
        pos = end;
        int letters = 0;
        bool lower = false;
        bool digit = false;
        for (char c : word) {
            if (std::isalpha(static_cast<unsigned char>(c))) {
                ++letters;
                lower = lower || std::islower(static_cast<unsigned char>(c));
            }
            digit = digit || std::isdigit(static_cast<unsigned char>(c));
        }
        // The word without surrounding punctuation decides whether it is an acronym.
        size_t first = 0;
        size_t last = word.size();
        while (first < last && !IsAlnum(word[first]))
            ++first;
        while (last > first && !IsAlnum(word[last - 1]) && word[last - 1] != '&')
            --last;
        const std::string core = word.substr(first, last - first);
        const bool acronym =
            std::any_of(std::begin(kAcronyms), std::end(kAcronyms),
                        [&](const char* a) { return core == a || core == std::string(a) + "'S"; });
        if (letters < 2 || lower || digit || acronym) {
            out += word;
            continue;
        }
        bool startOfWord = true;
        for (char c : word) {
            if (std::isalpha(static_cast<unsigned char>(c))) {
                out += startOfWord ? c
                                   : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
                startOfWord = false;
            } else {
                out += c;
                // A new capital after these ("Malt-O-Meal", "M&M"), not after an apostrophe.
                startOfWord = c == '-' || c == '&' || c == '.' || c == '/' || c == '(';
            }
        }
    }
    return out;
}

std::string TitleCase(std::string_view text) {
    std::string out;
    size_t pos = 0;
    bool firstWord = true;
    while (pos < text.size()) {
        if (text[pos] == ' ') {
            out += text[pos++];
            continue;
        }
        size_t end = pos;
        while (end < text.size() && text[end] != ' ')
            ++end;
        std::string word(text.substr(pos, end - pos));
        pos = end;
        const std::string lower = LowerAscii(word);
        const bool small = std::any_of(std::begin(kSmallWords), std::end(kSmallWords),
                                       [&](const char* w) { return lower == w; });
        if (!small || firstWord) {
            for (char& c : word) {
                if (std::isalpha(static_cast<unsigned char>(c))) {
                    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
                    break;
                }
            }
        } else {
            word = lower;
        }
        out += word;
        firstWord = false;
    }
    return out;
}

std::string CapitalizeFirst(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (std::isalpha(static_cast<unsigned char>(c))) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            break;
        }
        if (IsAlnum(c))
            break;
    }
    return out;
}

std::string AbbreviatePart(std::string_view part) {
    return ApplyRewrites(part, Abbreviations());
}

int PartWeight(std::string_view part) {
    return PartImportance(part);
}

std::string TidyNameText(const std::string& name) {
    return TidyName(name);
}

std::string RewritePart(std::string_view part) {
    return ApplyRewrites(StripParentheses(CalmCapitals(part)), ShortForms());
}

std::vector<std::string> NameKeys(const std::vector<std::string>& parts) {
    std::vector<std::string> keys;
    for (const auto& part : parts) {
        std::string key = LowerAscii(RewritePart(part));
        if (!key.empty() && !IsFiller(key))
            keys.push_back(key);
    }
    // "cooked" says nothing next to the method that follows it.
    if (std::any_of(keys.begin(), keys.end(), IsCookingMethod))
        std::erase(keys, "cooked");
    // Every boiled vegetable is drained.
    if (std::find(keys.begin(), keys.end(), "boiled") != keys.end())
        std::erase(keys, "drained");
    return keys;
}

SShortName ShortenName(const SNameParts& input, size_t maxLength) {
    std::vector<std::string> parts;
    for (const auto& part : input.parts) {
        std::string calm = CollapseSpaces(CalmCapitals(part));
        if (!calm.empty())
            parts.push_back(calm);
    }
    // The first part names the food; a brand that the category names need not lead it, as
    // long as a food word stays ("Corn Flakes" among Kellogg's cereals).
    if (!parts.empty()) {
        std::string rest = DropCategoryWords(parts.front(), CategoryWords(input.category));
        if (CFoodNameRules::Default().NamesAFood(StripParentheses(rest)))
            parts.front() = rest;
    }

    SShortName result;
    const auto fits = [&](const std::string& untidy) {
        const std::string name = TidyName(untidy);
        if (name.size() > maxLength || name.empty())
            return false;
        result.name = CapitalizeFirst(name);
        return true;
    };
    if (fits(Join(parts, ", ")))
        return result;

    // Readable short forms, without filler and without what every sibling says too.
    result.shortening = EShortening::kRewritten;
    const auto listed = [](const std::vector<std::string>& list, const std::string& key) {
        return std::find(list.begin(), list.end(), key) != list.end();
    };
    std::vector<std::string> keys = NameKeys(parts);
    std::vector<std::string> kept;
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::string rewritten = RewritePart(parts[i]);
        const std::string key = LowerAscii(rewritten);
        if (key.empty() || !listed(keys, key))
            continue;
        // What every sibling says goes; the first part names the food and stays.
        if (listed(input.shared, key) && i > 0)
            continue;
        kept.push_back(i == 0 ? CapitalizeFirst(rewritten) : rewritten);
    }
    if (!kept.empty())
        parts = kept;

    const auto compact = [](const std::vector<std::string>& list) {
        return ReplaceWords(TidyName(Join(list, ",")), "w/ ", "w/");
    };
    const auto abbreviated = [](std::vector<std::string> list) {
        for (auto& part : list)
            part = ApplyRewrites(part, Abbreviations());
        std::erase_if(list, [](const std::string& p) { return p.empty(); });
        return list;
    };
    const auto render = [&](const std::vector<std::string>& list) {
        return fits(Join(list, ", ")) || fits(Join(abbreviated(list), ", ")) ||
               fits(compact(abbreviated(list)));
    };
    if (render(parts))
        return result;

    // Parts that do not tell this food from its siblings go, least telling first and from
    // the end; so do parts that clashing siblings share. The first part names the food.
    result.shortening = EShortening::kDropped;
    const auto optional = [&](const std::string& part) {
        const std::string key = LowerAscii(part);
        return !listed(input.required, key) || listed(input.lessTelling, key);
    };
    for (int importance : {kMinorPart, kPlainPart, kGradePart, kStatePart}) {
        for (size_t i = parts.size(); i-- > 0 && parts.size() > 1;) {
            if (PartImportance(parts[i]) != importance || !optional(parts[i]))
                continue;
            // The first part names the food.
            if (i == 0)
                continue;
            parts.erase(parts.begin() + static_cast<long>(i));
            if (render(parts))
                return result;
        }
    }

    // Then words from the end of the longest plain part, then parts from the end.
    std::vector<std::string> partKeys;
    for (auto& part : parts) {
        partKeys.push_back(LowerAscii(part));
        part = ApplyRewrites(part, Abbreviations());
    }
    bool headLocked = false;
    for (;;) {
        size_t longest = parts.size();
        for (size_t i = headLocked ? 1 : 0; i < parts.size(); ++i) {
            if (parts[i].find(' ') != std::string::npos && PartImportance(parts[i]) <= kPlainPart &&
                (longest == parts.size() || parts[i].size() > parts[longest].size()))
                longest = i;
        }
        if (longest == parts.size())
            break;
        std::string shorter;
        const size_t lastSpace = parts[0].rfind(' ');
        if (longest == 0 && lastSpace != std::string::npos &&
            CFoodNameRules::Default().IsClassWord(LowerAscii(parts[0].substr(lastSpace + 1)))) {
            // A class word put after the food ("Acorn squash") is the first to go: the food
            // before it tells more.
            shorter = parts[0].substr(0, lastSpace);
        } else if (longest == 0) {
            // The first and last words that name a food stay ("Baked Potato w/ Cheddar & Bacon
            // Bits Soup" keeps "Potato" and "Soup" while the words its siblings share go).
            shorter = WithoutCommonestWord(parts[0], input.wordCounts, OuterFoodWords(parts[0]));
        } else {
            shorter = WithoutCommonestWord(parts[longest], input.wordCounts);
        }
        // The food's own words stay in the lead.
        if (longest == 0 && !CFoodNameRules::Default().NamesAFood(shorter)) {
            headLocked = true;
            continue;
        }
        parts[longest] = shorter;
        if (fits(compact(parts)))
            return result;
    }
    // Raw or cooked matters most to the numbers, so the state goes last; what tells the
    // food from the names it clashed with goes after everything else.
    for (bool dropTelling : {false, true}) {
        for (int importance : {kMinorPart, kGradePart, kPlainPart, kStatePart}) {
            for (size_t i = parts.size(); i-- > 1;) {
                if (PartImportance(partKeys[i]) != importance ||
                    (!dropTelling && listed(input.telling, partKeys[i])))
                    continue;
                parts.erase(parts.begin() + static_cast<long>(i));
                partKeys.erase(partKeys.begin() + static_cast<long>(i));
                if (fits(compact(parts)))
                    return result;
            }
        }
    }

    result.shortening = EShortening::kCut;
    result.name = CapitalizeFirst(TidyName(CutAtWord(TidyName(compact(parts)), maxLength)));
    return result;
}

std::string CutName(std::string_view name, size_t maxLength) {
    std::string compact = ReplaceWords(ReplaceWords(name, ", ", ","), "w/ ", "w/");
    const auto count = [](const std::string& text) {
        return std::count(text.begin(), text.end(), ',');
    };
    const auto parts = count(compact);
    if (compact.size() > maxLength)
        compact.resize(maxLength);
    std::string cut = CapitalizeFirst(TidyName(CollapseSpaces(compact)));
    // Every part keeps at least two characters, or the cut says too little.
    const size_t last = cut.rfind(',');
    if (count(cut) != parts || (last != std::string::npos && cut.size() - last - 1 < 2))
        return {};
    return cut;
}

std::string ShortenTitle(std::string_view title, size_t maxLength) {
    std::string text = CollapseSpaces(title);
    if (text.size() <= maxLength)
        return text;
    text = StripParentheses(text);
    if (text.size() <= maxLength)
        return text;
    text = ReplaceWords(text, "and", "&");
    if (text.size() <= maxLength)
        return text;
    // Abbreviations when they are enough (keeping a title's capitals), else the full words
    // up to the last one that fits.
    std::string abbreviated = TitleCase(ApplyRewrites(text, Abbreviations()));
    if (abbreviated.size() <= maxLength)
        return abbreviated;
    const auto trim = [&](std::string t) {
        while (t.size() > maxLength && t.find(' ') != std::string::npos)
            t = WithoutLastWord(t);
        return CutAtWord(t, maxLength);
    };
    const auto words = [](const std::string& t) { return std::count(t.begin(), t.end(), ' '); };
    // Whichever keeps more words says more ("NZ Lamb Tunnel-boned", not "New Zealand Lamb").
    text = trim(text);
    abbreviated = trim(abbreviated);
    return words(abbreviated) > words(text) ? abbreviated : text;
}

bool IsDescriptivePart(std::string_view part) {
    const int importance = PartImportance(RewritePart(part));
    return importance != kMinorPart && importance != kStatePart && importance != kGradePart &&
           !IsFiller(LowerAscii(RewritePart(part)));
}

std::string NumberedName(std::string_view name, int number, size_t maxLength) {
    const std::string suffix = " " + std::to_string(number);
    std::string base(name);
    if (base.size() + suffix.size() > maxLength) {
        base = base.substr(0, maxLength > suffix.size() ? maxLength - suffix.size() : 0);
        while (!base.empty() && (base.back() == ' ' || base.back() == ','))
            base.pop_back();
    }
    return base + suffix;
}

} // namespace fitquill
