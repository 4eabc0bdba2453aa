// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/food/food_csv.h"

#include "core/calc/units.h"
#include "core/food/nutrient.h"
#include "core/internal_error.h"
#include "core/io/atomic_file.h"
#include "core/names.h"
#include "core/windows1252.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <span>
#include <vector>

namespace fitquill {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
// The nutrient each of fields 9-14 carries: fibre is written before protein.
constexpr std::array<int, 6> kNutrientFields = {kNutrientCalories, kNutrientCarbohydrate,
                                                kNutrientFiber,    kNutrientProtein,
                                                kNutrientFat,      kNutrientSaturatedFat};
// How often the progress callback hears from a running import.
constexpr size_t kProgressInterval = 256;

std::string Replaced(std::string_view text, char from, char to) {
    std::string result(text);
    std::replace(result.begin(), result.end(), from, to);
    return result;
}

// A name field as read: trimmed, with the stand-in turned back into commas.
std::string NameFromField(std::string_view field) {
    return Replaced(TrimSpaces(field), CFoodCsv::kCommaStandIn, ',');
}

void AppendField(std::string& line, std::string_view field) {
    line += field;
    line += ',';
}

void AppendMeasure(std::string& line, const CServingMeasure& measure, bool isServing) {
    AppendField(line, NumberToText(measure.Amount(), 2, true));
    AppendField(line, measure.Amount() > 0.0f ? UnitInfo(measure.Unit())->name : "");
    AppendField(line, isServing ? "Y" : "N");
}

// Unit index of an exact unit name, or -1.
int UnitByName(std::string_view name) {
    for (int unit = 0; unit < kUnitCount; ++unit) {
        if (name == UnitInfo(unit)->name)
            return unit;
    }
    return -1;
}

std::optional<std::string> ExportScope(const CFoodDB& db, int group, int category) {
    std::string text;
    const uint16_t firstGroup = group < 0 ? 0 : static_cast<uint16_t>(group);
    const uint16_t endGroup = group < 0 ? db.GroupCount() : static_cast<uint16_t>(group + 1);
    for (uint16_t g = firstGroup; g < endGroup; ++g) {
        const CFoodGroup& foodGroup = db.GetGroup(g);
        const uint16_t firstCategory = category < 0 ? 0 : static_cast<uint16_t>(category);
        const uint16_t endCategory =
            category < 0 ? foodGroup.CategoryCount() : static_cast<uint16_t>(category + 1);
        for (uint16_t c = firstCategory; c < endCategory; ++c) {
            const CFoodCategory& foodCategory = db.GetCategory(g, c);
            for (const CFoodItem& item : foodCategory.Items()) {
                std::optional<std::string> line =
                    CFoodCsv::ItemLine(item, foodGroup.Name(), foodCategory.Name());
                if (!line)
                    return std::nullopt;
                text += *line;
            }
        }
    }
    return text;
}

bool WriteExport(const CFoodDB& db, const std::filesystem::path& requested, int group, int category,
                 std::string* error) {
    const std::filesystem::path path =
        requested.empty() ? CFoodCsv::DefaultExportPath(db) : requested;
    if (path.empty()) {
        if (error)
            *error = "no file to export to";
        return false;
    }
    const std::optional<std::string> text = ExportScope(db, group, category);
    if (!text) {
        if (error)
            *error = "a food item's serving matches neither of its measures";
        return false;
    }
    return ReplaceFileAtomically(path, *text, error);
}

// Sorted lists of the database are ordered by CompareNames, which calls two names equal only
// when they are byte-identical, so an exact lookup can bisect instead of scanning: an import
// of thousands of lines must not cost a scan of every list per line.
template <class T> int FindByName(const std::vector<T>& list, std::string_view name) {
    const auto it =
        std::lower_bound(list.begin(), list.end(), name, [](const T& entry, std::string_view key) {
            return CompareNames(entry.Name(), key) < 0;
        });
    if (it == list.end() || it->Name() != name)
        return -1;
    return static_cast<int>(it - list.begin());
}

// One line cut out of the file.
struct SLine {
    std::string_view text;       // without its line end
    const char* fault = nullptr; // why the line cannot be read, or nullptr
};

constexpr const char* kOverlong = "the line is longer than 1024 bytes";
constexpr const char* kBareLineFeed = "the line ends with a line feed alone";

// Splits the file into lines as the reader meets them. A line ends with CR LF and holds at
// most kMaxLineBytes bytes with it. A line feed without its carriage return fails the line
// (instead of letting it run on into the next lines). A last line without CR LF is still a line:
// dropping it would lose an item while reporting success; only a tail of nothing but spaces and
// control bytes (such as an end-of-file mark) is ignored.
class CLineReader {
public:
    explicit CLineReader(std::string_view text) : m_text(text) {}

    // Nothing at the end of the text.
    std::optional<SLine> Next() {
        if (m_pos >= m_text.size())
            return std::nullopt;
        const std::string_view rest = m_text.substr(m_pos);
        const size_t window = std::min(rest.size(), CFoodCsv::kMaxLineBytes);
        const size_t feed = rest.substr(0, window).find('\n');
        if (feed != std::string_view::npos) {
            m_pos += feed + 1;
            if (feed == 0 || rest[feed - 1] != '\r')
                return SLine{rest.substr(0, feed), kBareLineFeed};
            return SLine{rest.substr(0, feed - 1)};
        }
        if (rest.size() > CFoodCsv::kMaxLineBytes) {
            m_pos = m_text.size();
            return SLine{rest.substr(0, window), kOverlong};
        }
        m_pos = m_text.size();
        const bool blank = std::all_of(rest.begin(), rest.end(), [](char c) {
            return static_cast<unsigned char>(c) <= 0x20 || c == 0x7F;
        });
        if (blank)
            return std::nullopt;
        // Unterminated: it must leave room for the CR LF it lacks.
        if (rest.size() + kLineEnd.size() > CFoodCsv::kMaxLineBytes)
            return SLine{rest, kOverlong};
        return SLine{rest};
    }

private:
    std::string_view m_text;
    size_t m_pos = 0;
};

size_t CountLines(std::string_view text) {
    CLineReader reader(text);
    size_t count = 0;
    while (reader.Next())
        ++count;
    return count;
}

// The import of one text: the line loop, the parse of a line and the placing of its item.
class CImporter {
public:
    CImporter(CFoodDB& db, EFoodImportMode mode) : m_db(db), m_mode(mode) {}

    // Whether the line parses as a food line; the database is not touched.
    bool IsFoodLine(std::string_view line) {
        std::string error;
        return ParseLine(line, error);
    }

    // Runs one pass over the text; false with the failing line's number and reason.
    bool Pass(std::string_view text, bool prePass, long& lineNumber, std::string& error,
              const std::function<void()>& lineDone) {
        CLineReader reader(text);
        lineNumber = 1;
        while (std::optional<SLine> line = reader.Next()) {
            if (line->fault) {
                error = line->fault;
                return false;
            }
            if (!ParseLine(line->text, error))
                return false;
            if (!Place(prePass, error))
                return false;
            lineDone();
            ++lineNumber;
        }
        return true;
    }

private:
    // Fills m_item, m_groupName and m_categoryName from one line.
    bool ParseLine(std::string_view line, std::string& error) {
        std::array<std::string_view, CFoodCsv::kFieldCount> fields;
        size_t count = 0;
        size_t start = 0;
        while (count < CFoodCsv::kFieldCount) {
            const size_t comma = line.find(',', start);
            fields[count++] = line.substr(
                start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
            if (comma == std::string_view::npos)
                break;
            start = comma + 1;
        }
        if (count < CFoodCsv::kFieldCount) {
            error = "the line has fewer than 16 fields";
            return false;
        }
        if (line.find('\0') != std::string_view::npos) {
            error = "the line holds a zero byte";
            return false;
        }

        m_item = CFoodItem();
        if (fields[0].size() > CFoodCsv::kMaxNameLength) {
            error = "the name is longer than 20 characters";
            return false;
        }
        m_item.SetName(NameFromField(fields[0]), false);
        // The database takes no nameless item: such a line would vanish while the import
        // reports success (and a replacing import would leave no food behind).
        if (m_item.Name().empty()) {
            error = "the name is empty";
            return false;
        }
        m_item.SetSearchName(NameFromField(fields[1]));

        if (TrimSpaces(fields[8]).empty()) {
            error = "the calories are missing";
            return false;
        }

        std::optional<CServingMeasure> first, second;
        if (!ParseMeasure(fields[2], fields[3], first, error) ||
            !ParseMeasure(fields[5], fields[6], second, error))
            return false;
        if (!first && !second) {
            error = "both measures are empty";
            return false;
        }
        // Each measure goes to the slot of its unit's kind; an empty one is skipped so that it
        // cannot wipe the other from a slot of the same kind.
        if (second)
            m_item.SetBaseMeasure(*second, true);
        if (first)
            m_item.SetBaseMeasure(*first, true);

        const std::optional<CServingMeasure>* serving = nullptr;
        if (IsYes(fields[4]))
            serving = &first;
        else if (IsYes(fields[7]))
            serving = &second;
        if (serving == nullptr) {
            error = "neither measure is marked as the serving";
            return false;
        }
        // A serving without an amount would make every nutrient of the item read 0.
        if (!*serving) {
            error = "the measure marked as the serving is empty";
            return false;
        }
        m_item.SetServing(**serving);

        for (size_t i = 0; i < kNutrientFields.size(); ++i)
            m_item.SetNutrientValue(kNutrientFields[i],
                                    static_cast<float>(TextToNumber(TrimSpaces(fields[8 + i]))));

        m_groupName = NameFromField(fields[14]);
        m_categoryName = NameFromField(fields[15]);
        if (m_groupName.empty() || m_categoryName.empty()) {
            error = "the group or category name is empty";
            return false;
        }
        return true;
    }

    static bool IsYes(std::string_view field) {
        return !field.empty() && (field[0] == 'Y' || field[0] == 'y');
    }

    static bool ParseMeasure(std::string_view amountField, std::string_view unitField,
                             std::optional<CServingMeasure>& measure, std::string& error) {
        const auto amount = static_cast<float>(TextToNumber(TrimSpaces(amountField)));
        if (!(amount > 0.0f))
            return true;
        if (amount > CServingMeasure::kMaxAmount) {
            error = "a measure's amount is above 9999.99";
            return false;
        }
        const int unit = UnitByName(unitField);
        if (unit < 0) {
            error = "a measure's unit is not one of the unit names";
            return false;
        }
        measure = CServingMeasure(amount, static_cast<uint8_t>(unit));
        return true;
    }

    bool Place(bool prePass, std::string& error) {
        const int group = GroupIndex();
        if (group < 0) {
            error = "the group could not be added";
            return false;
        }
        const auto g = static_cast<uint16_t>(group);
        const int category = FindByName(*m_db.GetCategories(g), m_categoryName);
        if (prePass) {
            if (category >= 0)
                m_db.DeleteCategory(g, static_cast<uint16_t>(category));
            return true;
        }
        int c = category;
        if (c < 0) {
            c = m_db.AddCategory(g, CFoodCategory(m_categoryName));
            if (c < 0) {
                error = "the category could not be added";
                return false;
            }
        }
        const auto cat = static_cast<uint16_t>(c);
        const int existing = FindByName(m_db.GetCategory(g, cat).Items(), m_item.Name());
        if (existing < 0)
            m_db.AddFoodItem(g, cat, m_item);
        else if (m_mode != EFoodImportMode::ExistingWins)
            m_db.ReplaceFoodItem(g, cat, static_cast<uint16_t>(existing), m_item);
        return true;
    }

    int GroupIndex() {
        const int found = FindByName(m_db.Groups(), m_groupName);
        if (found >= 0)
            return found;
        return m_db.AddGroup(CFoodGroup(m_groupName));
    }

    CFoodDB& m_db;
    EFoodImportMode m_mode;
    CFoodItem m_item;
    std::string m_groupName;
    std::string m_categoryName;
};

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// A file's bytes as stored bytes. A character Windows-1252 cannot hold becomes a zero byte, which
// fails its line like any other zero byte; `badLine` tells which line that is.
struct SStoredCsv {
    std::string text;
    ECsvEncoding encoding = ECsvEncoding::Windows1252;
    long badLine = 0;
};

SStoredCsv ToStoredCsv(std::string_view bytes) {
    SStoredCsv stored;
    stored.encoding = CFoodCsv::DetectEncoding(bytes);
    if (stored.encoding == ECsvEncoding::Windows1252) {
        stored.text = bytes;
        return stored;
    }
    if (bytes.starts_with(kByteOrderMark))
        bytes.remove_prefix(kByteOrderMark.size());
    stored.text.reserve(bytes.size());
    size_t pos = 0;
    while (pos < bytes.size()) {
        char32_t c = 0;
        DecodeUtf8(bytes, pos, c);
        const std::optional<char> byte = UnicodeToWindows1252(c);
        if (!byte && stored.badLine == 0)
            stored.badLine = 1 + std::count(stored.text.begin(), stored.text.end(), '\n');
        stored.text += byte.value_or('\0');
    }
    return stored;
}

} // namespace

ECsvEncoding CFoodCsv::DetectEncoding(std::string_view bytes) {
    if (!IsValidUtf8(bytes))
        return ECsvEncoding::Windows1252;
    const bool nonAscii = std::any_of(bytes.begin(), bytes.end(),
                                      [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    return nonAscii ? ECsvEncoding::Utf8 : ECsvEncoding::Windows1252;
}

const char* CFoodCsv::EncodingName(ECsvEncoding encoding) {
    return encoding == ECsvEncoding::Utf8 ? "UTF-8" : "Windows-1252";
}

std::filesystem::path CFoodCsv::DefaultExportPath(const CFoodDB& db) {
    std::string path = db.FilePath().string();
    if (path.empty())
        return {};
    constexpr std::string_view kDatabaseExtension = ".ddb";
    if (path.size() >= kDatabaseExtension.size()) {
        const std::string_view tail =
            std::string_view(path).substr(path.size() - kDatabaseExtension.size());
        const bool isDatabase =
            std::equal(tail.begin(), tail.end(), kDatabaseExtension.begin(), [](char a, char b) {
                return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
            });
        if (isDatabase)
            path.resize(path.size() - kDatabaseExtension.size());
    }
    return path + ".csv";
}

std::optional<std::string> CFoodCsv::ItemLine(const CFoodItem& item, std::string_view groupName,
                                              std::string_view categoryName) {
    bool volumeIsServing = false;
    if (item.Serving() == item.VolumeOrItemMeasure())
        volumeIsServing = true;
    else if (!(item.Serving() == item.WeightMeasure()))
        return std::nullopt;

    std::string line;
    line.reserve(128);
    AppendField(line, Replaced(item.Name(), ',', kCommaStandIn));
    AppendField(line, Replaced(item.SearchName(), ',', kCommaStandIn));
    AppendMeasure(line, item.VolumeOrItemMeasure(), volumeIsServing);
    AppendMeasure(line, item.WeightMeasure(), !volumeIsServing);
    for (size_t i = 0; i < kNutrientFields.size(); ++i) {
        const int nutrient = kNutrientFields[i];
        AppendField(line, NumberToText(item.NutrientValue(nutrient),
                                       nutrient == kNutrientCalories ? 0 : 1, true));
    }
    AppendField(line, Replaced(groupName, ',', kCommaStandIn));
    AppendField(line, Replaced(categoryName, ',', kCommaStandIn));
    line += kLineEnd;
    return line;
}

std::optional<std::string> CFoodCsv::ExportText(const CFoodDB& db, int group, int category) {
    return ExportScope(db, group, category);
}

bool CFoodCsv::ExportAll(const CFoodDB& db, const std::filesystem::path& path, std::string* error) {
    return WriteExport(db, path, -1, -1, error);
}

bool CFoodCsv::ExportGroup(const CFoodDB& db, const std::filesystem::path& path, uint16_t group,
                           std::string* error) {
    db.GetGroup(group);
    return WriteExport(db, path, group, -1, error);
}

bool CFoodCsv::ExportCategory(const CFoodDB& db, const std::filesystem::path& path, uint16_t group,
                              uint16_t category, std::string* error) {
    db.GetCategory(group, category);
    return WriteExport(db, path, group, category, error);
}

SFoodImportResult CFoodCsv::Import(CFoodDB& db, const std::filesystem::path& path,
                                   EFoodImportMode mode, const ProgressCallback& progress) {
    SFoodImportResult result;
    if (path.empty()) {
        result.error = "no file to import";
        return result;
    }
    std::optional<std::vector<uint8_t>> bytes = ReadWholeFile(path, &result.error);
    if (!bytes)
        return result;
    const SStoredCsv stored =
        ToStoredCsv(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
    result = ImportText(db, stored.text, mode, progress);
    result.encoding = stored.encoding;
    if (!result.ok && result.lineNumber == stored.badLine)
        result.error = "the line holds a character that Windows-1252 cannot hold";
    return result;
}

SFoodImportResult CFoodCsv::ImportText(CFoodDB& db, std::string_view text, EFoodImportMode mode,
                                       const ProgressCallback& progress) {
    const int modeValue = static_cast<int>(mode);
    if (modeValue < 0 || modeValue > static_cast<int>(EFoodImportMode::ExistingWins))
        RaiseInternalError(kInternalErrorFoodDb, "food import: unknown import mode");

    const bool prePass = mode == EFoodImportMode::ReplaceCategories;
    size_t total = 0;
    size_t done = 0;
    size_t reported = 0;
    if (progress)
        total = CountLines(text) * (prePass ? 2 : 1);
    const std::function<void()> lineDone = [&] {
        ++done;
        if (progress && done % kProgressInterval == 0) {
            progress(done, total);
            reported = done;
        }
    };

    SFoodImportResult result;
    if (!HoldsFoodData(text)) {
        result.noFoodData = true;
        result.error = kNoFoodDataText;
        return result;
    }
    CImporter importer(db, mode);
    if (mode == EFoodImportMode::ReplaceDatabase)
        db.DeleteAllGroups();
    if (prePass && !importer.Pass(text, true, result.lineNumber, result.error, lineDone))
        return result;
    if (!importer.Pass(text, false, result.lineNumber, result.error, lineDone))
        return result;
    result.ok = true;
    if (progress && (reported != total || total == 0))
        progress(total, total);
    return result;
}

bool CFoodCsv::HoldsFoodData(std::string_view text) {
    // Usually decided by the first line; a file of foreign lines is read to its end.
    CFoodDB scratch;
    CImporter probe(scratch, EFoodImportMode::ImportedWins);
    CLineReader reader(text);
    while (std::optional<SLine> line = reader.Next()) {
        if (!line->fault && probe.IsFoodLine(line->text))
            return true;
    }
    return false;
}

std::string CFoodCsv::ImportFailedText(long lineNumber) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "Importing of food data failed on line %ld.  A partial import was complete up "
                  "to the point of encountering the error.",
                  lineNumber);
    return text;
}

} // namespace fitquill
