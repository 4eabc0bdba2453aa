// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/fooddata/food_name_rules.h"

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace fitquill {

// Names of groups, categories and food items hold at most this many characters (the food
// dialogs and the food-data import refuse longer ones).
constexpr size_t kMaxNameLength = 20;

// The comma- or semicolon-separated parts of a USDA description, trimmed, empty ones left
// out; separators inside parentheses do not split ("Chickpeas (garbanzo beans, bengal
// gram), mature seeds" has two parts).
std::vector<std::string> SplitDescription(std::string_view description);

// The parts an item name is made of: the first part that names the food (not a class such
// as "Fish" or "Beverages", not the brand, not "raw"), then the other parts in the
// description's order, the brand last; filler left out. "Fish, tuna, light, canned in oil"
// gives "tuna", "light", "canned in oil".
std::vector<std::string> NameParts(std::string_view description, std::string_view brand = {});

std::string LowerAscii(std::string_view text);
// Collapses runs of spaces and trims the ends.
std::string CollapseSpaces(std::string_view text);
// Removes "(...)" parts (nested ones too) and the spaces they leave.
std::string StripParentheses(std::string_view text);
// Words written in capitals ("KELLOGG'S CORN FLAKES") in title case ("Kellogg's Corn
// Flakes"); acronyms people know in capitals (BBQ, USDA, KFC...) and words with digits stay.
std::string CalmCapitals(std::string_view text);
// Every word capitalized except short joining words after the first ("Orange Juice",
// "Beans and Rice").
std::string TitleCase(std::string_view text);
// The first letter in capitals, the rest as written.
std::string CapitalizeFirst(std::string_view text);

// How far a name had to be shortened to fit.
enum class EShortening {
    kNone,      // the description as written
    kRewritten, // readable short forms, filler and shared parts left out, abbreviations
    kDropped,   // trailing parts of the description left out
    kCut,       // cut at a word boundary (or inside a word longer than the limit)
};

// One food item's description parts (after its category's part) and which of them its
// siblings share. Parts are shortened in steps until the name fits: readable short forms,
// filler and shared parts left out, abbreviations, words from the end of the longest part,
// trailing parts, and last a cut.
struct SNameParts {
    std::vector<std::string> parts;
    // Parts, in their rewritten form (see RewritePart), that every item of the category
    // has: left out once the readable forms do not fit.
    std::vector<std::string> shared;
    // Parts (rewritten form) that tell this item from its siblings: left out only when
    // nothing else is left to shorten.
    std::vector<std::string> required;
    // Parts that a set of clashing names share: left out early even when required.
    std::vector<std::string> lessTelling;
    // Parts that told this item from names it clashed with: the last to go.
    std::vector<std::string> telling;
    // In how many sibling items each lower-case word occurs: a long part loses its most
    // common words first ("Cream of mushroom" keeps "mushroom" among cream soups). Without
    // it, words go from the end.
    const std::map<std::string, int>* wordCounts = nullptr;
    // The category's name: a first part that repeats it is left out, and so are leading
    // words of the first part that it holds ("Kellogg's Corn Flakes" in "Cereal Kellogg's").
    std::string category;
};

struct SShortName {
    std::string name;
    EShortening shortening = EShortening::kNone;
};

// The readable short form of a part: "separable lean only" -> "lean", "without salt" ->
// "no salt", parentheses removed.
std::string RewritePart(std::string_view part);
// A rewritten part with the table's abbreviations ("frozen, boiled" -> "frzn, bld").
std::string AbbreviatePart(std::string_view part);
// How much a part tells, for the order in which parts go: 1 minor (bone-in, imported), 2 plain,
// 3 grade (lean, trim, choice), 4 state (raw, cooked, canned, salted).
int PartWeight(std::string_view part);
// A name without dangling joining words or separators and without empty parts.
std::string TidyNameText(const std::string& name);

// The parts an item name may show, as lower-case rewritten forms: filler such as "all
// grades" left out, "cooked" left out beside its method. Used to compare items.
std::vector<std::string> NameKeys(const std::vector<std::string>& parts);

// Builds the name of at most maxLength characters.
SShortName ShortenName(const SNameParts& parts, size_t maxLength = kMaxNameLength);

// The name in its compact form (",", "w/"), cut at maxLength characters even inside a word,
// with nothing left dangling: the last resort before a number.
std::string CutName(std::string_view name, size_t maxLength = kMaxNameLength);

// A category or group name of at most maxLength characters: abbreviations first, then a
// cut at a word boundary.
std::string ShortenTitle(std::string_view title, size_t maxLength = kMaxNameLength);

// False for parts that say how a food is kept, cut or cooked rather than what it is
// ("imported", "fresh", "frozen", "raw", "lean", "choice"): such parts do not name a
// category.
bool IsDescriptivePart(std::string_view part);

// The name with " n" appended, cut so that the whole stays within maxLength.
std::string NumberedName(std::string_view name, int number, size_t maxLength = kMaxNameLength);

} // namespace fitquill
