// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/fooddata/food_db_builder.h"

#include "tools/fooddata/food_naming.h"
#include "tools/fooddata/food_tree_rules.h"
#include "tools/fooddata/serving_rules.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <limits>
#include <map>
#include <set>
#include <unordered_map>

namespace fitquill {

size_t ItemRecordBytes(const CFoodItem& item) {
    const size_t texts = (2 + item.Name().size() + 1) + (2 + item.SearchName().size() + 1);
    return 13 + texts + 18 + 2 + 5 * item.Nutrients().size();
}

size_t CategoryRecordBytes(const CFoodCategory& category) {
    size_t bytes = 2;
    for (const auto& item : category.Items())
        bytes += ItemRecordBytes(item);
    return bytes;
}

namespace {

// Splitting a category by its items' first part makes a sub-category only of this many.
constexpr size_t kMinSplitCategory = 3;
constexpr int kCollisionRounds = 6;

struct SPending {
    size_t food = 0;
    std::vector<std::string> parts; // what the category leaves to tell the items apart
    size_t estimatedBytes = 0;
    std::vector<std::string> nameParts; // the food first, then the facts (NameParts)
    // Facts (name keys) that tell this food from every other of the database led by the same
    // food; kept in the name while they fit.
    std::vector<std::string> globalRequired;
};

struct SCategoryKey {
    std::string group;
    std::string category;
    bool operator<(const SCategoryKey& o) const {
        return group != o.group ? group < o.group : category < o.category;
    }
};

using CategoryMap = std::map<SCategoryKey, std::vector<SPending>>;

std::string ReplacePlus(std::string text) {
    // The food CSV turns "+" back into a comma on import; "&" survives the round trip.
    std::replace(text.begin(), text.end(), '+', '&');
    return text;
}

std::string PartKey(const std::string& part) {
    return LowerAscii(StripParentheses(part));
}

size_t EstimatedBytes(const SUsdaFood& food) {
    size_t nutrients = kBasicNutrientCount;
    for (int i = kBasicNutrientCount; i < kNutrientCount; ++i)
        nutrients += food.per100g[i] ? 1 : 0;
    return 13 + (2 + kMaxNameLength + 1) + (2 + food.longDesc.size() + 1) + 18 + 2 + 5 * nutrients;
}

size_t TotalBytes(const std::vector<SPending>& foods) {
    size_t bytes = 2;
    for (const auto& f : foods)
        bytes += f.estimatedBytes;
    return bytes;
}

// "Loin" and "Top Loin" make "Loin Top Loin"; "Ham" and "Ham -- Water Added" make "Ham --
// Water Added" rather than repeat the parent's words.
std::string SplitCategoryName(const std::string& parent, const std::string& part) {
    const std::string lowerParent = LowerAscii(parent);
    const std::string lowerPart = LowerAscii(part);
    if (lowerPart.rfind(lowerParent, 0) == 0)
        return part;
    return parent + " " + part;
}

// Splits categories that are too large: by their items' first part where several share it
// ("Beef Round" -> "Beef Round Bottom"), else into alphabetical ranges.
void SplitLargeCategories(CategoryMap& categories, const SFoodDataOptions& options,
                          const std::vector<SUsdaFood>& foods, size_t& splitCount) {
    const auto tooLarge = [&](const SCategoryKey& key, const std::vector<SPending>& list) {
        // A catch-all ("Other Beef") holds what is too small for a category of its own;
        // splitting it early would make such categories after all.
        const bool catchAll = key.category.rfind("Other ", 0) == 0;
        const size_t threshold =
            catchAll ? options.splitItems : SplitThreshold(key.group, options.splitItems);
        return list.size() > threshold || TotalBytes(list) > options.splitBytes;
    };
    // Categories kept whole: large for their group, but within the general limits and
    // without parts to split by.
    std::set<SCategoryKey> keepWhole;
    for (int guard = 0; guard < 1000; ++guard) {
        auto it = std::find_if(categories.begin(), categories.end(), [&](const auto& entry) {
            return !keepWhole.count(entry.first) && tooLarge(entry.first, entry.second);
        });
        if (it == categories.end())
            return;
        const SCategoryKey key = it->first;
        std::vector<SPending> list = std::move(it->second);
        categories.erase(it);
        ++splitCount;

        // Each item's first part that says what it is ("bottom round", not "imported").
        // A part that every item has tells nothing: then the next one counts.
        std::vector<size_t> leading(list.size(), 0);
        const auto next = [&](size_t i, size_t from) {
            const auto& parts = list[i].parts;
            for (size_t p = from; p + 1 < parts.size(); ++p) {
                if (IsDescriptivePart(parts[p]))
                    return p;
            }
            return parts.size();
        };
        for (size_t i = 0; i < list.size(); ++i)
            leading[i] = next(i, 0);
        for (;;) {
            const auto keyOf = [&](size_t i) {
                return leading[i] < list[i].parts.size() ? PartKey(list[i].parts[leading[i]]) : "";
            };
            const std::string first = keyOf(0);
            bool allShare = !first.empty();
            for (size_t i = 1; i < list.size() && allShare; ++i)
                allShare = keyOf(i) == first;
            if (!allShare)
                break;
            for (size_t i = 0; i < list.size(); ++i)
                leading[i] = next(i, leading[i] + 1);
        }

        std::map<std::string, std::vector<size_t>> byFirst;
        for (size_t i = 0; i < list.size(); ++i) {
            if (leading[i] < list[i].parts.size())
                byFirst[PartKey(list[i].parts[leading[i]])].push_back(i);
        }
        std::vector<bool> moved(list.size(), false);
        bool any = false;
        for (const auto& [first, members] : byFirst) {
            if (members.size() < kMinSplitCategory || members.size() == list.size())
                continue;
            const size_t at = leading[members[0]];
            const std::string display =
                TitleCase(CalmCapitals(StripParentheses(list[members[0]].parts[at])));
            SCategoryKey sub{key.group, ShortenTitle(SplitCategoryName(key.category, display))};
            if (sub.category == key.category)
                continue;
            auto& target = categories[sub];
            for (size_t m : members) {
                SPending pending = list[m];
                pending.parts.erase(pending.parts.begin() + static_cast<long>(leading[m]));
                target.push_back(std::move(pending));
                moved[m] = true;
            }
            any = true;
        }
        std::vector<SPending> rest;
        for (size_t i = 0; i < list.size(); ++i) {
            if (!moved[i])
                rest.push_back(std::move(list[i]));
        }
        if (any) {
            if (!rest.empty()) {
                auto& target = categories[key];
                target.insert(target.end(), std::make_move_iterator(rest.begin()),
                              std::make_move_iterator(rest.end()));
            }
            continue;
        }

        if (rest.size() <= options.splitItems && TotalBytes(rest) <= options.splitBytes) {
            keepWhole.insert(key);
            categories[key] = std::move(rest);
            continue;
        }

        // Nothing shared: alphabetical ranges of the descriptions.
        std::sort(rest.begin(), rest.end(), [&](const SPending& a, const SPending& b) {
            return LowerAscii(foods[a.food].longDesc) < LowerAscii(foods[b.food].longDesc);
        });
        const size_t chunks =
            std::max<size_t>(2, (rest.size() + options.splitItems - 1) / options.splitItems);
        const size_t perChunk = (rest.size() + chunks - 1) / chunks;
        for (size_t start = 0; start < rest.size(); start += perChunk) {
            const size_t end = std::min(rest.size(), start + perChunk);
            const auto letter = [&](size_t i) {
                const std::string& parts0 =
                    rest[i].parts.empty() ? foods[rest[i].food].longDesc : rest[i].parts[0];
                return static_cast<char>(
                    std::toupper(static_cast<unsigned char>(parts0.empty() ? '?' : parts0[0])));
            };
            std::string range =
                std::string(1, letter(start)) + "-" + std::string(1, letter(end - 1));
            std::string base = ShortenTitle(key.category, kMaxNameLength - range.size() - 1);
            auto& target = categories[{key.group, base + " " + range}];
            for (size_t i = start; i < end; ++i)
                target.push_back(std::move(rest[i]));
        }
    }
}

// Parts (in rewritten form) that every one of the given items has.
std::vector<std::string> SharedParts(const std::vector<std::vector<std::string>>& rewritten,
                                     const std::vector<size_t>& members) {
    if (members.size() < 2)
        return {};
    std::vector<std::string> shared;
    for (const auto& part : rewritten[members[0]]) {
        const bool everywhere = std::all_of(members.begin() + 1, members.end(), [&](size_t m) {
            return std::find(rewritten[m].begin(), rewritten[m].end(), part) != rewritten[m].end();
        });
        if (everywhere && std::find(shared.begin(), shared.end(), part) == shared.end())
            shared.push_back(part);
    }
    return shared;
}

struct SNamed {
    std::string name;
    EShortening shortening = EShortening::kNone;
    bool numbered = false;
};

// The parts an item needs so that no sibling has them all: greedily the part that rules out
// the most remaining siblings.
std::vector<std::string> RequiredParts(const std::vector<std::vector<std::string>>& keys,
                                       size_t item) {
    const auto has = [&](size_t j, const std::string& key) {
        return std::find(keys[j].begin(), keys[j].end(), key) != keys[j].end();
    };
    std::vector<std::string> required;
    if (keys[item].empty())
        return required;
    std::vector<size_t> rivals;
    for (size_t j = 0; j < keys.size(); ++j) {
        if (j != item)
            rivals.push_back(j);
    }
    while (!rivals.empty()) {
        size_t bestCount = 0;
        const std::string* best = nullptr;
        for (const auto& key : keys[item]) {
            if (std::find(required.begin(), required.end(), key) != required.end())
                continue;
            const size_t count = static_cast<size_t>(std::count_if(
                rivals.begin(), rivals.end(), [&](size_t j) { return !has(j, key); }));
            if (count > bestCount) {
                bestCount = count;
                best = &key;
            }
        }
        if (!best)
            break;
        required.push_back(*best);
        std::erase_if(rivals, [&](size_t j) { return !has(j, *best); });
    }
    return required;
}

// For every food, the facts that tell it from the other foods of the database led by the
// same food ("Beef", "Tuna"): greedily the fact that rules out the most rivals. Sets of
// rivals are bit sets, since the largest family has near a thousand foods.
void FindGlobalRequired(CategoryMap& categories) {
    std::map<std::string, std::vector<SPending*>> byHead;
    for (auto& [key, items] : categories) {
        for (auto& item : items) {
            if (!item.nameParts.empty())
                byHead[SingularWord(LowerAscii(StripParentheses(item.nameParts[0])))].push_back(
                    &item);
        }
    }
    for (auto& [head, members] : byHead) {
        const size_t n = members.size();
        if (n < 2)
            continue;
        const size_t words = (n + 63) / 64;
        std::map<std::string, std::vector<uint64_t>> holders;
        std::vector<std::vector<std::string>> keys(n);
        for (size_t i = 0; i < n; ++i) {
            const auto& parts = members[i]->nameParts;
            keys[i] = NameKeys(std::vector<std::string>(parts.begin() + 1, parts.end()));
            for (const auto& key : keys[i]) {
                auto& bits = holders[key];
                bits.resize(words, 0);
                bits[i / 64] |= uint64_t{1} << (i % 64);
            }
        }
        for (size_t i = 0; i < n; ++i) {
            std::vector<uint64_t> rivals(words, ~uint64_t{0});
            if (n % 64)
                rivals.back() = (uint64_t{1} << (n % 64)) - 1;
            rivals[i / 64] &= ~(uint64_t{1} << (i % 64));
            std::vector<std::string>& required = members[i]->globalRequired;
            for (;;) {
                size_t bestCount = 0;
                const std::string* best = nullptr;
                for (const auto& key : keys[i]) {
                    const auto& bits = holders[key];
                    size_t count = 0;
                    for (size_t w = 0; w < words; ++w)
                        count += static_cast<size_t>(std::popcount(rivals[w] & ~bits[w]));
                    if (count > bestCount) {
                        bestCount = count;
                        best = &key;
                    }
                }
                if (!best)
                    break;
                required.push_back(*best);
                const auto& bits = holders[*best];
                for (size_t w = 0; w < words; ++w)
                    rivals[w] &= bits[w];
            }
        }
    }
}

// Every name of at most 20 characters that the food and a choice of its facts (in the
// description's order, at most eight of them) make, spaced or compact, full or abbreviated,
// best first: facts few of the category's siblings have and facts that told the item from its
// namesakes weigh most, then the state, the grade, the rest; a readable form beats a compact
// one of the same facts.
std::vector<std::pair<int, std::string>> NameChoices(const std::vector<std::string>& nameParts,
                                                     const std::vector<std::string>& telling,
                                                     const std::map<std::string, int>& keyCounts,
                                                     size_t siblings) {
    std::vector<std::pair<int, std::string>> choices;
    if (nameParts.empty())
        return choices;
    struct SFact {
        std::string full;
        std::string shortForm;
        int weight = 0;
    };
    const CFoodNameRules& rules = CFoodNameRules::Default();
    std::vector<std::string> heads = {CapitalizeFirst(RewritePart(nameParts[0]))};
    heads.push_back(CapitalizeFirst(AbbreviatePart(heads[0])));
    std::vector<SFact> facts;
    const std::vector<std::string> keys =
        NameKeys(std::vector<std::string>(nameParts.begin() + 1, nameParts.end()));
    for (const auto& key : keys) {
        if (facts.size() == 8)
            break;
        SFact fact;
        fact.full = key;
        fact.shortForm = AbbreviatePart(key);
        const bool tells = std::find(telling.begin(), telling.end(), key) != telling.end();
        // A fact few siblings have tells more than one most of them have.
        const auto found = keyCounts.find(key);
        const int having = found == keyCounts.end() ? 0 : found->second;
        const int rarity =
            siblings
                ? static_cast<int>(40 * (siblings - std::min<size_t>(siblings, having)) / siblings)
                : 0;
        fact.weight = (tells ? 30 : 0) + rarity + 10 * PartWeight(key);
        facts.push_back(fact);
    }
    std::set<std::string> seen;
    const size_t subsets = size_t{1} << facts.size();
    for (size_t mask = 0; mask < subsets; ++mask) {
        int weight = 0;
        for (size_t f = 0; f < facts.size(); ++f)
            weight += (mask >> f) & 1 ? facts[f].weight : 0;
        for (int form = 0; form < 3; ++form) {
            for (const auto& head : heads) {
                std::string name = head;
                for (size_t f = 0; f < facts.size(); ++f) {
                    if (!((mask >> f) & 1))
                        continue;
                    name += form == 2 ? "," : ", ";
                    name += form == 0 ? facts[f].full : facts[f].shortForm;
                }
                for (size_t at = 0; form == 2 && (at = name.find("w/ ", at)) != std::string::npos;)
                    name.erase(at + 2, 1);
                name = TidyNameText(name);
                if (name.empty() || name.size() > kMaxNameLength || !rules.NamesAFood(name) ||
                    !seen.insert(LowerAscii(name)).second)
                    continue;
                // Readable first: full words, spaces after commas, the head as written.
                const int readability = (form == 0   ? 2
                                         : form == 1 ? 1
                                                     : 0) +
                                        (head == heads[0] ? 1 : 0);
                choices.emplace_back(weight * 4 + readability, name);
            }
        }
    }
    std::stable_sort(choices.begin(), choices.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    return choices;
}

// Names for the items of one category, unique ignoring case.
std::vector<SNamed> NameCategory(const std::string& category, const std::vector<SPending>& items) {
    const size_t n = items.size();
    std::vector<std::vector<std::string>> keys(n);
    std::vector<size_t> all(n);
    for (size_t i = 0; i < n; ++i) {
        all[i] = i;
        keys[i] = NameKeys(items[i].nameParts);
    }
    const std::vector<std::string> categoryShared = SharedParts(keys, all);
    std::vector<std::vector<std::string>> distinct(n);
    for (size_t i = 0; i < n; ++i) {
        for (const auto& key : keys[i]) {
            if (std::find(categoryShared.begin(), categoryShared.end(), key) ==
                categoryShared.end())
                distinct[i].push_back(key);
        }
    }
    std::vector<std::vector<std::string>> required(n);
    std::vector<std::vector<std::string>> shared(n);
    std::vector<std::vector<std::string>> categoryRequired(n);
    for (size_t i = 0; i < n; ++i) {
        required[i] = categoryRequired[i] = RequiredParts(distinct, i);
        // What tells the food from namesakes elsewhere stays too while it fits.
        for (const auto& key : items[i].globalRequired) {
            if (std::find(required[i].begin(), required[i].end(), key) == required[i].end())
                required[i].push_back(key);
        }
        for (const auto& key : categoryShared) {
            if (std::find(required[i].begin(), required[i].end(), key) == required[i].end())
                shared[i].push_back(key);
        }
    }

    std::map<std::string, int> wordCounts;
    for (size_t i = 0; i < n; ++i) {
        std::set<std::string> words;
        for (const auto& key : keys[i]) {
            for (auto& word : SpacedWords(key))
                words.insert(std::move(word));
        }
        for (const auto& word : words)
            ++wordCounts[word];
    }
    std::vector<std::vector<std::string>> tellingSoFar(n);
    const auto nameWith = [&](size_t i, const std::vector<std::string>& lessTelling) {
        SNameParts parts{items[i].nameParts, shared[i],   required[i], lessTelling,
                         tellingSoFar[i],    &wordCounts, category};
        SShortName name = ShortenName(parts);
        const CFoodNameRules& rules = CFoodNameRules::Default();
        if (rules.NamesAFood(name.name))
            return name;
        // Shortening left no food word ("Tender Rounds" of "Tender Rounds with Gravy"): the
        // food words of the first part that has any (the maker's name as a last resort) lead.
        for (size_t p = 0; p < parts.parts.size(); ++p) {
            std::string food;
            for (const auto& word : SpacedWords(parts.parts[p])) {
                if (rules.NamesAFood(word))
                    food += (food.empty() ? "" : " ") + word;
            }
            if (food.empty())
                continue;
            SNameParts again = parts;
            again.parts.erase(again.parts.begin() + static_cast<long>(p));
            again.parts.insert(again.parts.begin(), food);
            again.category.clear();
            const SShortName other = ShortenName(again);
            if (rules.NamesAFood(other.name))
                return other;
            break;
        }
        return name;
    };
    std::vector<SNamed> named(n);
    for (size_t i = 0; i < n; ++i) {
        const SShortName shortName = nameWith(i, {});
        named[i].name = shortName.name;
        named[i].shortening = shortName.shortening;
    }

    // Clashing names are made again, leaving out first what the clashing items share.
    for (int round = 0; round < kCollisionRounds; ++round) {
        std::map<std::string, std::vector<size_t>> byName;
        for (size_t i = 0; i < n; ++i)
            byName[LowerAscii(named[i].name)].push_back(i);
        bool clash = false;
        for (const auto& [name, members] : byName) {
            if (members.size() < 2)
                continue;
            clash = true;
            // Within the clash, each item also needs what tells it from the others there;
            // what they all share (and no item needs) goes first.
            std::vector<std::vector<std::string>> local;
            for (size_t m : members)
                local.push_back(distinct[m]);
            const std::vector<std::string> clashShared = SharedParts(keys, members);
            for (size_t k = 0; k < members.size(); ++k) {
                const size_t m = members[k];
                // Being unique in the category comes before being unique in the database:
                // what only told the food from namesakes elsewhere may go.
                if (round == 0) {
                    required[m] = categoryRequired[m];
                    shared[m] = categoryShared;
                }
                const std::vector<std::string> telling = RequiredParts(local, k);
                for (const auto& key : telling) {
                    if (std::find(tellingSoFar[m].begin(), tellingSoFar[m].end(), key) ==
                        tellingSoFar[m].end())
                        tellingSoFar[m].push_back(key);
                }
                for (const auto& key : telling) {
                    if (std::find(required[m].begin(), required[m].end(), key) == required[m].end())
                        required[m].push_back(key);
                }
                // What all the clashing items have cannot tell them apart.
                std::vector<std::string> lessTelling;
                for (const auto& key : clashShared) {
                    if (std::find(telling.begin(), telling.end(), key) == telling.end())
                        lessTelling.push_back(key);
                }
                const SShortName shortName = nameWith(m, lessTelling);
                named[m].name = shortName.name;
                named[m].shortening = std::max(named[m].shortening, shortName.shortening);
            }
        }
        if (!clash)
            break;
    }

    // Names still the same: each of them tries every choice of its facts that fits, best first
    // (what told it from its namesakes, then the state, grade and the rest), and takes the best
    // one no other item of the category has; the items with the fewest choices choose first.
    {
        std::map<std::string, int> keyCounts;
        for (size_t i = 0; i < n; ++i) {
            for (const auto& key : std::set<std::string>(keys[i].begin(), keys[i].end()))
                ++keyCounts[key];
        }
        std::map<std::string, int> uses;
        for (size_t i = 0; i < n; ++i)
            ++uses[LowerAscii(named[i].name)];
        std::vector<size_t> clashing;
        std::set<std::string> takenNames;
        for (size_t i = 0; i < n; ++i) {
            if (uses[LowerAscii(named[i].name)] > 1)
                clashing.push_back(i);
            else
                takenNames.insert(LowerAscii(named[i].name));
        }
        std::vector<std::vector<std::pair<int, std::string>>> choices(clashing.size());
        for (size_t c = 0; c < clashing.size(); ++c)
            choices[c] =
                NameChoices(items[clashing[c]].nameParts, tellingSoFar[clashing[c]], keyCounts, n);
        std::vector<size_t> order(clashing.size());
        for (size_t c = 0; c < order.size(); ++c)
            order[c] = c;
        std::stable_sort(order.begin(), order.end(),
                         [&](size_t a, size_t b) { return choices[a].size() < choices[b].size(); });
        std::vector<bool> settled(clashing.size(), false);
        for (size_t c : order) {
            for (const auto& [score, name] : choices[c]) {
                if (takenNames.insert(LowerAscii(name)).second) {
                    named[clashing[c]].name = name;
                    named[clashing[c]].shortening = EShortening::kDropped;
                    settled[c] = true;
                    break;
                }
            }
        }
        // The unsettled keep their clashing name for the steps below, unless another item
        // took it meanwhile.
        for (size_t c = 0; c < clashing.size(); ++c) {
            if (!settled[c])
                takenNames.insert(LowerAscii(named[clashing[c]].name));
        }
    }

    // Names still the same: the name with everything that tells them apart, cut at the
    // limit, where that is enough ("Beef,inside,ln,ch,ra"); else a number.
    std::map<std::string, int> seen;
    for (size_t i = 0; i < n; ++i)
        ++seen[LowerAscii(named[i].name)];
    std::map<std::string, std::vector<size_t>> cutNames;
    std::vector<std::string> cuts(n);
    for (size_t i = 0; i < n; ++i) {
        if (seen[LowerAscii(named[i].name)] < 2)
            continue;
        SNameParts parts{items[i].nameParts, shared[i],   required[i], {},
                         tellingSoFar[i],    &wordCounts, category};
        cuts[i] = CutName(ShortenName(parts, 2 * kMaxNameLength).name, kMaxNameLength);
        cutNames[LowerAscii(cuts[i])].push_back(i);
    }
    for (size_t i = 0; i < n; ++i) {
        if (cuts[i].empty() || cutNames[LowerAscii(cuts[i])].size() > 1 ||
            seen.count(LowerAscii(cuts[i])) || !CFoodNameRules::Default().NamesAFood(cuts[i]))
            continue;
        --seen[LowerAscii(named[i].name)];
        named[i].name = cuts[i];
        named[i].shortening = EShortening::kCut;
    }
    for (auto it = seen.begin(); it != seen.end();)
        it = it->second == 0 ? seen.erase(it) : std::next(it);
    for (size_t i = 0; i < n; ++i)
        seen[LowerAscii(named[i].name)] += 0;

    // What is still the same gets a number.
    std::set<std::string> taken;
    for (size_t i = 0; i < n; ++i) {
        const std::string lower = LowerAscii(named[i].name);
        if (seen[lower] < 2 || !taken.count(lower)) {
            taken.insert(lower);
            continue;
        }
        for (int number = 2;; ++number) {
            const std::string candidate = NumberedName(named[i].name, number);
            if (!taken.count(LowerAscii(candidate)) && !seen.count(LowerAscii(candidate))) {
                named[i].name = candidate;
                named[i].numbered = true;
                taken.insert(LowerAscii(candidate));
                break;
            }
        }
    }
    return named;
}

CFoodItem MakeItem(const SUsdaFood& food, const std::string& name, SFoodDataReport& report) {
    CFoodItem item;
    item.SetName(name, false);
    item.SetSearchName(ReplacePlus(food.longDesc));

    // An entry holds at most 9999.9 (calories 9999): a portion whose values would be cut
    // is passed over for a lighter one (a cup of salt gives way to a teaspoon).
    double maxGrams = std::numeric_limits<double>::infinity();
    for (int index = 0; index < kNutrientCount; ++index) {
        const auto& per100g = food.per100g[index];
        const double limit = index == kNutrientCalories ? 9999.0 : 9999.9;
        if (per100g && *per100g > 0.0)
            maxGrams = std::min(maxGrams, limit * 100.0 / *per100g);
    }
    const SBasePortion base = ChooseBasePortion(food.portions, maxGrams);
    if (base.grams != ChooseBasePortion(food.portions).grams)
        ++report.portionsReduced;
    if (base.volumeOrItem.Amount() > 0.0f) {
        item.SetBaseMeasure(base.weight, false);
        item.SetBaseMeasure(base.volumeOrItem, true);
    } else {
        item.SetBaseMeasure(base.weight, false);
    }
    item.SetServing(base.serving);
    switch (base.source) {
    case EBaseSource::kVolume:
        ++report.servingVolume;
        break;
    case EBaseSource::kItem:
        ++report.servingItem;
        break;
    case EBaseSource::kWeight:
        ++report.servingWeight;
        break;
    case EBaseSource::kDefault100g:
        ++report.serving100g;
        break;
    }

    // Values per 100 g, stored for the base portion.
    std::vector<CNutrientValue> nutrients;
    for (int index = 0; index < kNutrientCount; ++index) {
        const auto& per100g = food.per100g[index];
        if (!per100g && index >= kBasicNutrientCount)
            continue;
        if (!per100g)
            ++report.missingBasic[index];
        const double value = per100g ? *per100g * base.grams / 100.0 : 0.0;
        const CNutrientValue stored(index, static_cast<float>(value));
        if (static_cast<double>(stored.Value()) + 0.05 < value)
            ++report.clampedValues;
        if (index >= kBasicNutrientCount)
            ++report.extendedValues;
        nutrients.push_back(stored);
    }
    item.SetStoredNutrients(nutrients);
    return item;
}

} // namespace

SFoodDataBuild BuildFoodDb(const SUsdaData& data, const SFoodDataOptions& options) {
    SFoodDataBuild build;
    SFoodDataReport& report = build.report;
    CFoodDB& db = build.db;
    db.SetIdGenerator(CIdGenerator::Seeded(options.idSeedDate));
    report.foodsRead = data.foods.size();
    report.portionsRead = data.portionCount;
    report.replacedCharacters = data.replacedCharacters;
    report.unitConversions = data.unitConversions;

    const std::vector<SFoodPlace> places = PlaceFoods(data.foods);
    CategoryMap categories;
    for (size_t i = 0; i < data.foods.size(); ++i) {
        std::vector<std::string> parts;
        for (const auto& part : places[i].parts)
            parts.push_back(ReplacePlus(part));
        std::vector<std::string> nameParts;
        for (const auto& part : NameParts(data.foods[i].longDesc, places[i].brand))
            nameParts.push_back(ReplacePlus(part));
        categories[{places[i].group, ReplacePlus(places[i].category)}].push_back(
            SPending{i, parts, EstimatedBytes(data.foods[i]), nameParts, {}});
    }
    SplitLargeCategories(categories, options, data.foods, report.categoriesSplit);
    FindGlobalRequired(categories);

    // Groups in the order of their table, categories added before their items so that the
    // items find their category by name.
    for (size_t g = 0; g < kFoodGroupCount; ++g) {
        const std::string groupName = kFoodGroupNames[g];
        const bool used = std::any_of(categories.begin(), categories.end(), [&](const auto& entry) {
            return entry.first.group == groupName;
        });
        if (used && db.AddGroup(CFoodGroup(groupName)) < 0)
            report.limitViolations.push_back("group refused: " + groupName);
    }
    for (const auto& [key, items] : categories) {
        const int group = db.FindGroup(key.group);
        if (group < 0 ||
            db.AddCategory(static_cast<uint16_t>(group), CFoodCategory(key.category)) < 0)
            report.limitViolations.push_back("category refused: " + key.group + " / " +
                                             key.category);
    }

    for (const auto& [key, items] : categories) {
        const int group = db.FindGroup(key.group);
        const int category =
            group < 0 ? -1 : db.FindCategory(static_cast<uint16_t>(group), key.category);
        const std::vector<SNamed> names = NameCategory(key.category, items);
        for (size_t i = 0; i < items.size(); ++i) {
            const SUsdaFood& food = data.foods[items[i].food];
            if (category < 0) {
                report.skipped.push_back({food.ndbNo, food.longDesc, "its category was refused"});
                continue;
            }
            const CFoodItem item = MakeItem(food, names[i].name, report);
            if (db.AddFoodItem(static_cast<uint16_t>(group), static_cast<uint16_t>(category),
                               item) < 0) {
                report.skipped.push_back(
                    {food.ndbNo, food.longDesc, "name '" + names[i].name + "' refused"});
                continue;
            }
            switch (names[i].shortening) {
            case EShortening::kNone:
                ++report.namesAsWritten;
                break;
            case EShortening::kRewritten:
                ++report.namesRewritten;
                break;
            case EShortening::kDropped:
                ++report.namesDropped;
                break;
            case EShortening::kCut:
                ++report.namesCut;
                break;
            }
            report.namesNumbered += names[i].numbered ? 1 : 0;
        }
    }

    // Figures and limits of what was built.
    report.groups = db.GroupCount();
    if (report.groups > kMaxGroups)
        report.limitViolations.push_back("more than 250 groups");
    std::vector<SCategorySize> sizes;
    for (const auto& group : db.Groups()) {
        report.categories += group.CategoryCount();
        if (group.CategoryCount() > kMaxCategoriesPerGroup)
            report.limitViolations.push_back("more than 250 categories in " + group.Name());
        for (const auto& category : group.Categories()) {
            SCategorySize size{group.Name(), category.Name(), category.ItemCount(),
                               CategoryRecordBytes(category)};
            report.items += size.items;
            if (IsHandheldGroup(group.Name())) {
                ++report.handheldCategories;
                report.handheldItems += size.items;
            }
            if (size.items > kMaxItemsPerCategory)
                report.limitViolations.push_back("more than 250 items in " + category.Name());
            if (size.recordBytes > kMaxRecordBytes)
                report.limitViolations.push_back("record of " + category.Name() + " too large");
            sizes.push_back(size);
        }
    }
    std::stable_sort(
        sizes.begin(), sizes.end(),
        [](const SCategorySize& a, const SCategorySize& b) { return a.items > b.items; });
    sizes.resize(std::min<size_t>(sizes.size(), 10));
    report.largest = sizes;
    report.naming = CheckNames(db, CFoodNameRules::Default());
    return build;
}

CFoodDB ExtensionSubset(const CFoodDB& db) {
    CFoodDB subset;
    subset.SetIdGenerator(db.IdGenerator());
    for (const auto& group : db.Groups()) {
        if (!IsHandheldGroup(group.Name()))
            subset.AppendStoredGroup(group);
    }
    return subset;
}

std::string SFoodDataReport::Text() const {
    std::string out;
    char line[256];
    const auto add = [&](const char* format, auto... values) {
        std::snprintf(line, sizeof line, format, values...);
        out += line;
    };
    add("USDA SR28 foods read:        %zu (%zu household measures)\n", foodsRead, portionsRead);
    add("Groups:                      %zu\n", groups);
    add("Categories:                  %zu (%zu made by splitting large ones)\n", categories,
        categoriesSplit);
    add("Food items:                  %zu\n", items);
    add("Skipped:                     %zu\n", skipped.size());
    for (const auto& s : skipped)
        add("  %s %.60s: %s\n", s.ndbNo.c_str(), s.description.c_str(), s.reason.c_str());
    add("Names as written:            %zu\n", namesAsWritten);
    add("Names shortened:             %zu\n", namesRewritten + namesDropped + namesCut);
    add("  short forms, abbreviations %zu\n", namesRewritten);
    add("  trailing parts left out:   %zu\n", namesDropped);
    add("  cut at a word:             %zu\n", namesCut);
    add("  told apart by a number:    %zu\n", namesNumbered);
    add("Servings: volume %zu, item %zu, weight %zu, 100 g or less (no usable measure) %zu\n",
        servingVolume, servingItem, servingWeight, serving100g);
    static const char* const kBasic[] = {"calories", "carbohydrate", "protein",
                                         "fiber",    "fat",          "saturated fat"};
    out += "Basic nutrients USDA does not give (stored as 0):";
    bool none = true;
    for (size_t i = 0; i < missingBasic.size(); ++i) {
        if (missingBasic[i] > 0) {
            add(" %s %zu", kBasic[i], missingBasic[i]);
            none = false;
        }
    }
    out += none ? " none\n" : "\n";
    add("Extended nutrient values:    %zu\n", extendedValues);
    out += "Units converted from USDA's:";
    for (const auto& conversion : unitConversions)
        out += (&conversion == &unitConversions.front() ? " " : "; ") + conversion;
    out += unitConversions.empty() ? " none\n" : "\n";
    add("Portions made lighter so that no value exceeds 9999.9: %zu\n", portionsReduced);
    add("Values clamped to 9999.9:    %zu\n", clampedValues);
    add("Characters not in Windows-1252: %zu\n", replacedCharacters);
    add("Handheld subset:             %zu categories, %zu items (the rest: Extensions.csv)\n",
        handheldCategories, handheldItems);
    out += "Largest categories:\n";
    for (const auto& size : largest)
        add("  %4zu items %6zu bytes  %s / %s\n", size.items, size.recordBytes, size.group.c_str(),
            size.category.c_str());
    add("Limit violations:            %zu\n", limitViolations.size());
    for (const auto& violation : limitViolations)
        add("  %s\n", violation.c_str());
    out += naming.Text();
    return out;
}

} // namespace fitquill
