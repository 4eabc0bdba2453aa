// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/journal/journal_records.h"

#include "core/food/food_records.h"
#include "core/internal_error.h"
#include "core/io/byte_reader.h"
#include "core/io/byte_writer.h"
#include "core/io/chunk_writer.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace fitquill {
namespace {

// Smallest readable exercise entry: id, flag, three indexes, a text of length 0, minutes,
// calories.
constexpr std::size_t kMinExerciseSize = 4 + 1 + 3 * 2 + 2 + 2 + 2;
// Meal lists of the day records: four in the current layout, eight in the old one.
constexpr int kOldMealLists = 8;

void CheckReadableVersion(uint16_t version, const char* what) {
    if (version < kJournalOldestVersion)
        RaiseInternalError(kInternalErrorGeneral, std::string("journal: a ") + what +
                                                      " of format version " +
                                                      std::to_string(version) + " cannot be read");
}

// A text of the journal: one that holds nothing is stored as length 0 without bytes.
void AppendJournalText(CByteWriter& out, const std::string& text) {
    out.AppendText(text, EEmptyText::StoreNothing);
}

// A view into the record: the model keeps its own trimmed copy.
std::string_view ReadJournalText(CByteReader& in) {
    return ReadStoredTextView(in);
}

void AppendDate(CByteWriter& out, const CJournalDate& date) {
    out.AppendInt16(date.Month());
    out.AppendInt16(date.Day());
    out.AppendInt16(date.Year());
}

CJournalDate ReadDate(CByteReader& in) {
    const int16_t month = in.ReadInt16();
    const int16_t day = in.ReadInt16();
    const int16_t year = in.ReadInt16();
    CJournalDate date;
    date.SetDate(day, month, year);
    return date;
}

CWeightValue ReadWeight(CByteReader& in) {
    CWeightValue weight;
    weight.SetRawPounds(in.ReadFloat());
    return weight;
}

// ---- day record parts ----

struct SDayOffsets {
    std::size_t foodLog = 0;
    std::size_t exerciseList = 0;
};

void PackFoodLog(const CDayFoodLog& log, CByteWriter& out) {
    PackNutrientList(log.Totals(), out);
    for (int meal = 0; meal < kMealCount; ++meal) {
        const std::vector<CFoodItem>& entries = log.MealEntries(meal);
        if (entries.size() > 0xFFFF)
            RaiseInternalError(kInternalErrorGeneral, "journal: too many entries in a meal");
        out.AppendUint16(static_cast<uint16_t>(entries.size()));
        for (const CFoodItem& entry : entries)
            PackFoodItem(entry, out);
    }
}

void PackExercises(const CExerciseList& exercises, CByteWriter& out) {
    if (exercises.Entries().size() > 0xFFFF)
        RaiseInternalError(kInternalErrorGeneral, "journal: too many exercises in a day");
    out.AppendUint16(static_cast<uint16_t>(exercises.Entries().size()));
    for (const CExerciseEntry& entry : exercises.Entries()) {
        out.AppendUint32(entry.Id());
        out.AppendUint8(entry.Changed());
        out.AppendInt16(entry.Activity());
        out.AppendInt16(entry.Variant());
        out.AppendInt16(entry.Intensity());
        AppendJournalText(out, entry.Name());
        out.AppendUint16(entry.Minutes());
        out.AppendUint16(entry.Calories());
    }
}

// The version-6 day record with the offsets left 0, appended to `out`; returns where the food
// log and the exercise list begin, counted from the record's start.
SDayOffsets PackDayBody(const CDayRecord& day, CByteWriter& out) {
    const std::size_t start = out.Size();
    AppendDate(out, day.Date());
    out.AppendUint16(0);
    out.AppendUint16(0);
    out.AppendFloat(day.Weight().Pounds());
    out.AppendInt16(day.ActivityLevel());
    out.AppendInt16(day.BMR());
    AppendJournalText(out, day.Note());
    out.AppendInt16(day.Water());
    out.AppendUint16(day.ChangeBits());

    const CBodyMeasurements& measurements = day.Measurements();
    for (int girth = 0; girth < kGirthCount; ++girth)
        out.AppendFloat(measurements.RawGirth(girth));
    out.AppendFloat(measurements.StoredPercentBodyFat());
    out.AppendUint8(measurements.RawAutomaticBodyFat());
    out.AppendUint16(measurements.ChangeBits());

    const CBloodPressure& pressure = day.BloodPressure();
    out.AppendInt16(pressure.Systolic());
    out.AppendInt16(pressure.Diastolic());
    out.AppendInt16(pressure.Pulse());
    out.AppendInt16(pressure.Hour());
    out.AppendInt16(pressure.Minute());
    out.AppendUint8(pressure.AmPm());
    out.AppendUint16(pressure.ChangeBits());

    SDayOffsets offsets;
    offsets.foodLog = out.Size() - start;
    PackFoodLog(day.FoodLog(), out);
    offsets.exerciseList = out.Size() - start;
    PackExercises(day.Exercises(), out);
    return offsets;
}

constexpr std::size_t kFoodLogOffsetField = 6;
constexpr std::size_t kExerciseOffsetField = 8;

void ReadMeasurements(CByteReader& in, bool withBodyFat, CBodyMeasurements& measurements) {
    for (int girth = 0; girth < kGirthCount; ++girth)
        measurements.SetRawGirth(girth, in.ReadFloat());
    if (withBodyFat) {
        measurements.SetRawPercentBodyFat(in.ReadFloat());
        measurements.SetRawAutomaticBodyFat(in.ReadUint8());
    }
    measurements.SetRawChangeBits(in.ReadUint16());
}

void ReadBloodPressure(CByteReader& in, CBloodPressure& pressure) {
    pressure.SetRawSystolic(in.ReadInt16());
    pressure.SetRawDiastolic(in.ReadInt16());
    pressure.SetRawPulse(in.ReadInt16());
    const int16_t hour = in.ReadInt16();
    const int16_t minute = in.ReadInt16();
    const uint8_t amPm = in.ReadUint8();
    pressure.SetRawTime(hour, minute, amPm);
    pressure.SetRawChangeBits(in.ReadUint16());
}

void ReadFoodLog(CByteReader& in, uint16_t version, CDayFoodLog& log) {
    const bool old = version < 6;
    log.SetStoredTotals(old ? UnpackOldNutrients(in) : UnpackNutrientList(in));
    const int lists = old ? kOldMealLists : kMealCount;
    for (int list = 0; list < lists && !in.Failed(); ++list) {
        const uint16_t count = in.ReadCount(old ? kMinOldFoodItemSize : kMinFoodItemSize);
        // The entries of a list are normally of its meal: room for them at once.
        if (!old)
            log.ReserveMeal(list, count);
        for (uint16_t i = 0; i < count && !in.Failed(); ++i) {
            std::optional<CFoodItem> entry = old ? UnpackOldFoodItem(in) : UnpackFoodItem(in);
            if (entry && !log.InsertStoredEntry(std::move(*entry)))
                in.MarkFailed();
        }
    }
}

void ReadExercises(CByteReader& in, CExerciseList& exercises) {
    const uint16_t count = in.ReadCount(kMinExerciseSize);
    exercises.Reserve(count);
    for (uint16_t i = 0; i < count && !in.Failed(); ++i) {
        CExerciseEntry entry;
        entry.SetId(in.ReadUint32());
        entry.SetChanged(in.ReadUint8());
        entry.SetActivity(in.ReadInt16());
        entry.SetVariant(in.ReadInt16());
        entry.SetIntensity(in.ReadInt16());
        entry.SetName(ReadJournalText(in));
        entry.SetMinutes(in.ReadUint16());
        entry.SetCalories(in.ReadUint16());
        if (!in.Failed())
            exercises.AppendStored(std::move(entry));
    }
}

void SetDamage(std::string* damage, const std::string& text) {
    if (damage != nullptr)
        *damage = text;
}

} // namespace

// ---- header and day index ----

namespace {

void PackJournalHeader(const CJournalHeader& header, CByteWriter& out) {
    out.AppendUint16(kJournalWrittenVersion);
    out.AppendUint16(header.Reserved());
    out.AppendUint32LE(header.IdGenerator().Value());
    out.AppendUint16(header.HistoryLength());
}

void PackDayIndex(const CDayIndex& index, CByteWriter& out) {
    out.AppendUint16(index.FirstRecord());
    out.AppendUint16(index.Count());
}

void PackUserProfile(const CUserProfile& profile, CByteWriter& out);

} // namespace

std::vector<uint8_t> PackJournalHeader(const CJournalHeader& header) {
    CByteWriter out(10);
    PackJournalHeader(header, out);
    return out.Release();
}

bool UnpackJournalHeader(std::span<const uint8_t> payload, CJournalHeader& header) {
    CByteReader in(payload);
    const uint16_t version = in.ReadUint16();
    const uint16_t reserved = in.ReadUint16();
    const uint32_t generator = in.ReadUint32LE();
    const uint16_t history = in.ReadUint16();
    if (in.Failed())
        return false;
    header.SetVersion(version);
    header.SetReserved(reserved);
    header.SetIdGenerator(CIdGenerator(generator));
    header.SetHistoryLength(history);
    return true;
}

std::vector<uint8_t> PackDayIndex(const CDayIndex& index) {
    CByteWriter out(4);
    PackDayIndex(index, out);
    return out.Release();
}

bool UnpackDayIndex(std::span<const uint8_t> payload, CDayIndex& index) {
    CByteReader in(payload);
    const uint16_t first = in.ReadUint16();
    const uint16_t count = in.ReadUint16();
    if (in.Failed())
        return false;
    index = CDayIndex(first, count);
    return true;
}

// ---- profile ----

std::vector<uint8_t> PackUserProfile(const CUserProfile& profile) {
    CByteWriter out;
    PackUserProfile(profile, out);
    return out.Release();
}

namespace {

void PackUserProfile(const CUserProfile& profile, CByteWriter& out) {
    out.AppendUint8(profile.Status());
    AppendJournalText(out, profile.FirstText());
    AppendJournalText(out, profile.SecondText());
    AppendJournalText(out, profile.UserName());
    out.AppendFloat(profile.Height().Inches());
    out.AppendInt16(profile.Age());
    out.AppendInt16(profile.Sex());
    out.AppendFloat(profile.StartingWeight().Pounds());
    AppendDate(out, profile.StartingDate());
    out.AppendFloat(profile.GoalWeight().Pounds());
    AppendDate(out, profile.GoalDate());
    const CGoalSummary& summary = profile.GoalSummary();
    out.AppendUint8(summary.Valid());
    out.AppendFloat(summary.WeightChange());
    out.AppendInt32(summary.Days());
    out.AppendInt32(summary.DailyCalories());
    out.AppendInt16(profile.DefaultActivityLevel());
    out.AppendInt16(profile.UnitChoice());
    out.AppendUint16(profile.ChangeBits());
    out.AppendInt16(profile.DietPlan());
    out.AppendInt16(profile.CarbohydratePercent());
    out.AppendInt16(profile.ProteinPercent());
    out.AppendInt16(profile.FatPercent());
    out.AppendUint8(profile.TargetMode());
    PackNutrientList(profile.OwnTargets(), out);
}

} // namespace

bool UnpackUserProfile(std::span<const uint8_t> payload, uint16_t version, CUserProfile& profile) {
    CheckReadableVersion(version, "profile");
    CByteReader in(payload);
    CUserProfile read;
    read.SetStatus(in.ReadUint8());
    read.SetFirstText(ReadJournalText(in));
    read.SetSecondText(ReadJournalText(in));
    read.SetUserName(ReadJournalText(in));
    CHeightValue height;
    height.SetRawInches(in.ReadFloat());
    read.SetHeight(height);
    read.SetStoredAge(in.ReadInt16());
    read.SetStoredSex(in.ReadInt16());
    read.SetStartingWeight(ReadWeight(in));
    read.SetStartingDate(ReadDate(in));
    read.SetGoalWeight(ReadWeight(in));
    read.SetGoalDate(ReadDate(in));

    CGoalSummary summary;
    const uint8_t valid = in.ReadUint8();
    // Versions 4 and 5 hold the weight change as a whole number of pounds.
    const float weightChange = version < 6 ? static_cast<float>(in.ReadInt32()) : in.ReadFloat();
    const int32_t days = in.ReadInt32();
    const int32_t calories = in.ReadInt32();
    summary.SetRaw(valid, weightChange, days, calories);
    read.SetGoalSummary(summary);

    read.SetStoredDefaultActivityLevel(in.ReadInt16());
    read.SetStoredUnitChoice(in.ReadInt16());
    const uint16_t changeBits = in.ReadUint16();
    if (version >= 5) {
        read.SetStoredDietPlan(in.ReadInt16());
        const int16_t carbohydrate = in.ReadInt16();
        const int16_t protein = in.ReadInt16();
        const int16_t fat = in.ReadInt16();
        read.SetStoredPercentages(carbohydrate, protein, fat);
    }
    if (version >= 6) {
        read.SetStoredTargetMode(in.ReadUint8());
        const std::vector<CNutrientValue> targets = UnpackNutrientList(in);
        if (!in.Failed() && !read.SetStoredTargets(targets))
            in.MarkFailed();
    }
    if (in.Failed())
        return false;
    // The setters above mark what they changed; the record's own bits are what counts.
    read.SetChangeBits(changeBits);
    profile = std::move(read);
    return true;
}

// ---- day record ----

namespace {

// Enough room for a day's record in one allocation: the fixed fields, the texts and the entries.
std::size_t DayRecordCapacity(const CDayRecord& day) {
    std::size_t size = 256 + day.Note().size();
    for (int meal = 0; meal < kMealCount; ++meal)
        for (const CFoodItem& entry : day.FoodLog().MealEntries(meal))
            size += FoodItemRecordSize(entry);
    for (const CExerciseEntry& exercise : day.Exercises().Entries())
        size += 32 + exercise.Name().size();
    return size;
}

std::size_t ProfileCapacity(const CUserProfile& profile) {
    return 128 + profile.FirstText().size() + profile.SecondText().size() +
           profile.UserName().size() + kNutrientEntrySize * profile.OwnTargets().size();
}

} // namespace

void PackDayRecord(CDayRecord& day, CByteWriter& out) {
    day.FoodLog().RecomputeTotals();
    const std::size_t start = out.Size();
    const SDayOffsets offsets = PackDayBody(day, out);
    // PatchUint16 refuses offsets that do not fit, as a programming error.
    out.PatchUint16(start + kFoodLogOffsetField, offsets.foodLog);
    out.PatchUint16(start + kExerciseOffsetField, offsets.exerciseList);
    day.SetStoredOffsets(static_cast<uint16_t>(offsets.foodLog),
                         static_cast<uint16_t>(offsets.exerciseList));
}

std::vector<uint8_t> PackDayRecord(CDayRecord& day) {
    CByteWriter out(DayRecordCapacity(day));
    PackDayRecord(day, out);
    return out.Release();
}

namespace {

// UnpackDayRecord into a new day of the caller's, which is left half read on damage.
bool ReadDayRecord(std::span<const uint8_t> payload, uint16_t version, CDayRecord& read) {
    CheckReadableVersion(version, "day record");
    CByteReader in(payload);
    read.SetDate(ReadDate(in));
    if (version >= 5) {
        const uint16_t foodLog = in.ReadUint16();
        const uint16_t exerciseList = in.ReadUint16();
        read.SetStoredOffsets(foodLog, exerciseList);
    }
    read.SetStoredWeight(ReadWeight(in));
    if (version >= 5) {
        read.SetStoredActivityLevel(in.ReadInt16());
        read.SetStoredBMR(in.ReadInt16());
        read.SetStoredNote(ReadJournalText(in));
        read.SetStoredWater(in.ReadInt16());
        read.SetChangeBits(in.ReadUint16());
        ReadMeasurements(in, version >= 6, read.Measurements());
        ReadBloodPressure(in, read.BloodPressure());
    } else {
        read.SetStoredNote(ReadJournalText(in));
        read.SetStoredWater(in.ReadInt16());
        read.SetStoredActivityLevel(in.ReadInt16());
        read.SetStoredBMR(in.ReadInt16());
        read.SetChangeBits(in.ReadUint16());
    }
    ReadFoodLog(in, version, read.FoodLog());
    ReadExercises(in, read.Exercises());
    if (in.Failed())
        return false;

    // The day as the writer would store it: its offsets must fit their 16 bits, or the day
    // could not be saved again (the frame of a file allows a longer record than the handheld).
    // Rewriting a day grows it by far less than a quarter (a text's missing NUL, the fields
    // older versions lack), so only a large day needs the trial packing.
    if (version < 5 || payload.size() + payload.size() / 4 + 256 > 0xFFFF) {
        CByteWriter probe;
        const SDayOffsets offsets = PackDayBody(read, probe);
        if (offsets.exerciseList > 0xFFFF) {
            in.MarkFailed();
            return false;
        }
        if (version < 5)
            read.SetStoredOffsets(static_cast<uint16_t>(offsets.foodLog),
                                  static_cast<uint16_t>(offsets.exerciseList));
    }
    return true;
}

} // namespace

bool UnpackDayRecord(std::span<const uint8_t> payload, uint16_t version, CDayRecord& day) {
    CDayRecord read;
    if (!ReadDayRecord(payload, version, read))
        return false;
    day = std::move(read);
    return true;
}

// ---- whole journal ----

std::vector<std::vector<uint8_t>> PackJournalRecords(CJournalDB& journal) {
    journal.Header().SetVersion(kJournalWrittenVersion);
    std::vector<std::vector<uint8_t>> records;
    records.reserve(3 + static_cast<std::size_t>(journal.DayCount()));
    records.push_back(PackJournalHeader(journal.Header()));
    records.push_back(PackUserProfile(journal.Profile()));
    records.push_back(PackDayIndex(journal.DayIndex()));
    for (int position = 0; position < journal.DayCount(); ++position)
        records.push_back(PackDayRecord(journal.Day(position)));
    return records;
}

std::size_t JournalFileCapacity(const CJournalDB& journal) {
    std::size_t capacity =
        3 * CChunkWriter::kFrameSize + 10 + 4 + ProfileCapacity(journal.Profile());
    for (const CDayRecord& day : journal.Days())
        capacity += CChunkWriter::kFrameSize + DayRecordCapacity(day);
    return capacity;
}

void PackJournalRecords(CJournalDB& journal, CChunkWriter& file) {
    journal.Header().SetVersion(kJournalWrittenVersion);
    // Room for the whole file at once, so that it is packed without a copy or a regrowth.
    file.Reserve(file.Bytes().size() + JournalFileCapacity(journal));
    PackJournalHeader(journal.Header(), file.BeginChunk());
    file.EndChunk();
    PackUserProfile(journal.Profile(), file.BeginChunk());
    file.EndChunk();
    PackDayIndex(journal.DayIndex(), file.BeginChunk());
    file.EndChunk();
    for (int position = 0; position < journal.DayCount(); ++position) {
        PackDayRecord(journal.Day(position), file.BeginChunk());
        file.EndChunk();
    }
}

bool CJournalRecordReader::WantsMore() const {
    return !m_damaged && m_taken < CDayIndex::kFirstDayRecord + m_days;
}

bool CJournalRecordReader::Damaged(std::string text) {
    m_damaged = true;
    m_damage = std::move(text);
    return false;
}

bool CJournalRecordReader::Take(std::span<const uint8_t> record) {
    if (!WantsMore())
        return false;
    const std::size_t number = m_taken++;
    if (number == 0) {
        CJournalHeader header;
        if (!UnpackJournalHeader(record, header))
            return Damaged("the header is missing or damaged");
        m_journal.Header() = header;
        m_version = header.Version();
        return true;
    }
    if (number == 1) {
        if (!UnpackUserProfile(record, m_version, m_journal.Profile()))
            return Damaged("the profile is missing or damaged");
        return true;
    }
    if (number == 2) {
        CDayIndex index;
        if (!UnpackDayIndex(record, index))
            return Damaged("the day index is missing or damaged");
        m_days = index.Count();
        m_journal.ReserveDays(std::min(m_days, m_maxDays));
        return true;
    }
    CDayRecord day;
    if (!ReadDayRecord(record, m_version, day))
        return Damaged("day record " + std::to_string(number) + " is damaged");
    if (m_journal.InsertDay(std::move(day)) < 0)
        return Damaged("the journal holds more days than it can");
    return true;
}

bool CJournalRecordReader::Finish(std::string* damage) const {
    std::string text = m_damage;
    if (!m_damaged) {
        if (m_taken == 0)
            text = "the header is missing or damaged";
        else if (m_taken == 1)
            text = "the profile is missing or damaged";
        else if (m_taken == 2)
            text = "the day index is missing or damaged";
        else if (WantsMore())
            text = "the day index counts " + std::to_string(m_days) + " days, but only " +
                   std::to_string(m_taken - CDayIndex::kFirstDayRecord) + " are present";
        else
            return true;
    }
    SetDamage(damage, text);
    return false;
}

bool UnpackJournalRecords(std::span<const std::span<const uint8_t>> records, CJournalDB& journal,
                          std::string* damage) {
    CJournalRecordReader reader(journal, records.size());
    for (const std::span<const uint8_t> record : records) {
        if (!reader.WantsMore() || !reader.Take(record))
            break;
    }
    return reader.Finish(damage);
}

} // namespace fitquill
