// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/food/food_records.h"

#include "core/internal_error.h"
#include "core/io/byte_order.h"

#include <array>
#include <bit>
#include <optional>
#include <string>
#include <utility>

namespace fitquill {
namespace {

// Stored size of a text of the food layouts: length field, bytes and NUL.
std::size_t TextSize(const std::string& text) {
    return 2 + text.size() + 1;
}

// The order in which the old layouts store the six basic nutrients.
constexpr int kOldNutrientOrder[kBasicNutrientCount] = {
    kNutrientCalories, kNutrientCarbohydrate, kNutrientFiber,
    kNutrientProtein,  kNutrientFat,          kNutrientSaturatedFat,
};

} // namespace

std::string_view ReadStoredTextView(CByteReader& in) {
    const std::string_view text = in.ReadTextView(ETextNul::Optional);
    if (text.size() > CByteWriter::kMaxTextLength) {
        in.MarkFailed();
        return {};
    }
    return text;
}

std::string ReadStoredText(CByteReader& in) {
    return std::string(ReadStoredTextView(in));
}

void PackServingMeasure(const CServingMeasure& measure, CByteWriter& out) {
    out.AppendFloat(measure.Amount());
    out.AppendUint8(measure.Unit());
    out.AppendUint8(measure.UnitSet());
}

CServingMeasure UnpackServingMeasure(CByteReader& in) {
    const float amount = in.ReadFloat();
    const uint8_t unit = in.ReadUint8();
    const uint8_t unitSet = in.ReadUint8();
    return CServingMeasure(amount, unit, unitSet);
}

namespace {

// The fields are stored into room the writer made beforehand, a run at a time: a journal save
// packs some two million of them.
uint8_t* StoreFloat(uint8_t* at, float value) {
    StoreUint32BE(at, std::bit_cast<uint32_t>(value));
    return at + 4;
}

uint8_t* StoreServingMeasure(uint8_t* at, const CServingMeasure& measure) {
    at = StoreFloat(at, measure.Amount());
    at[0] = measure.Unit();
    at[1] = measure.UnitSet();
    return at + 2;
}

uint8_t* StoreNutrientList(uint8_t* at, std::span<const CNutrientValue> nutrients) {
    if (nutrients.size() > 0xFFFF)
        RaiseInternalError(kInternalErrorFoodDb, "too many nutrients for a 16-bit count");
    StoreUint16BE(at, static_cast<uint16_t>(nutrients.size()));
    at += 2;
    for (const CNutrientValue& nutrient : nutrients) {
        at[0] = nutrient.Index();
        at = StoreFloat(at + 1, nutrient.Value());
    }
    return at;
}

} // namespace

void PackNutrientList(std::span<const CNutrientValue> nutrients, CByteWriter& out) {
    StoreNutrientList(out.Extend(2 + kNutrientEntrySize * nutrients.size()), nutrients);
}

namespace {

// The entries of a stored nutrient list, each handed to `take` in order. False, with the
// reader marked failed, when the list runs past the record or an index lies outside the
// nutrient table; an entry handed over before that is then to be dropped.
template <typename TTake>
bool ReadNutrientEntries(CByteReader& in, std::size_t maxCount, TTake take) {
    const uint16_t count = in.ReadCount(kNutrientEntrySize);
    if (count > maxCount)
        in.MarkFailed();
    // ReadCount made sure the entries are there: they are taken in one read.
    const std::span<const uint8_t> entries = in.ReadBytes(kNutrientEntrySize * count);
    if (in.Failed())
        return false;
    for (std::size_t at = 0; at < entries.size(); at += kNutrientEntrySize) {
        const uint8_t index = entries[at];
        if (index >= kNutrientCount) {
            in.MarkFailed();
            return false;
        }
        take(CNutrientValue(index, std::bit_cast<float>(LoadUint32BE(&entries[at + 1]))));
    }
    return true;
}

} // namespace

std::vector<CNutrientValue> UnpackNutrientList(CByteReader& in) {
    std::vector<CNutrientValue> nutrients;
    const bool read = ReadNutrientEntries(
        in, 0xFFFF, [&](const CNutrientValue& value) { nutrients.push_back(value); });
    if (!read)
        nutrients.clear();
    return nutrients;
}

std::vector<CNutrientValue> UnpackOldNutrients(CByteReader& in) {
    float values[kBasicNutrientCount] = {};
    for (int stored = 0; stored < kBasicNutrientCount; ++stored)
        values[kOldNutrientOrder[stored]] = in.ReadFloat();
    std::vector<CNutrientValue> nutrients;
    nutrients.reserve(kBasicNutrientCount);
    for (int index = 0; index < kBasicNutrientCount; ++index)
        nutrients.emplace_back(index, values[index]);
    return nutrients;
}

std::size_t FoodItemRecordSize(const CFoodItem& item) {
    return 13 + TextSize(item.Name()) + TextSize(item.SearchName()) + 3 * kServingMeasureSize + 2 +
           kNutrientEntrySize * item.Nutrients().size();
}

void PackFoodItem(const CFoodItem& item, CByteWriter& out) {
    const std::size_t size = FoodItemRecordSize(item);
    if (size > 0xFFFF)
        RaiseInternalError(kInternalErrorFoodDb, "a food item does not fit its 16-bit size");
    const std::size_t start = out.Size();
    out.AppendUint16(static_cast<uint16_t>(size));
    out.AppendText(item.Name(), EEmptyText::StoreNul);
    out.AppendText(item.SearchName(), EEmptyText::StoreNul);
    // The fields after the texts have fixed sizes: room for them all at once.
    uint8_t* at = out.Extend(4 + 1 + 3 * kServingMeasureSize + 2 +
                             kNutrientEntrySize * item.Nutrients().size() + 2 + 4);
    StoreUint32BE(at, item.Id());
    at[4] = item.Modified();
    at = StoreServingMeasure(at + 5, item.Serving());
    at = StoreServingMeasure(at, item.VolumeOrItemMeasure());
    at = StoreServingMeasure(at, item.WeightMeasure());
    at = StoreNutrientList(at, item.Nutrients());
    StoreUint16BE(at, item.MealType());
    StoreFloat(at + 2, item.ServingRatio());
    if (out.Size() - start != size)
        RaiseInternalError(kInternalErrorFoodDb, "a food item was packed to another size");
}

namespace {

// The fields both layouts share, stored straight into a new item. Nothing, with the reader
// marked failed, when the nutrients are not a food item's list or the item could not be
// written again.
std::optional<CFoodItem> StoreItem(CByteReader& in, std::span<const CNutrientValue> nutrients,
                                   std::string_view name, std::string_view searchName, uint32_t id,
                                   uint8_t modified, const CServingMeasure& serving,
                                   const CServingMeasure& volumeOrItem,
                                   const CServingMeasure& weight, uint16_t mealType, float ratio) {
    std::optional<CFoodItem> item = CFoodItem::WithStoredNutrients(nutrients);
    if (!item) {
        in.MarkFailed();
        return std::nullopt;
    }
    item->SetName(name, false);
    item->SetSearchName(searchName);
    item->SetId(id);
    item->SetModified(modified);
    item->SetStoredMeasures(serving, volumeOrItem, weight);
    item->SetMealType(mealType);
    item->SetStoredServingRatio(ratio);
    if (FoodItemRecordSize(*item) > 0xFFFF) {
        in.MarkFailed();
        return std::nullopt;
    }
    return item;
}

bool Assign(std::optional<CFoodItem> read, CFoodItem& item) {
    if (!read)
        return false;
    item = std::move(*read);
    return true;
}

} // namespace

std::optional<CFoodItem> UnpackFoodItem(CByteReader& in) {
    in.ReadUint16(); // the record size: the fields below are read one by one instead
    // Views into the record: the item keeps its own trimmed copies.
    const std::string_view name = ReadStoredTextView(in);
    const std::string_view searchName = ReadStoredTextView(in);
    const uint32_t id = in.ReadUint32();
    const uint8_t modified = in.ReadUint8();
    const CServingMeasure serving = UnpackServingMeasure(in);
    const CServingMeasure volumeOrItem = UnpackServingMeasure(in);
    const CServingMeasure weight = UnpackServingMeasure(in);
    // An item holds each nutrient at most once: its list is read into a buffer on the stack,
    // and a longer one is damage.
    std::array<CNutrientValue, kNutrientCount> buffer;
    std::size_t count = 0;
    ReadNutrientEntries(in, buffer.size(),
                        [&](const CNutrientValue& value) { buffer[count++] = value; });
    const uint16_t mealType = in.ReadUint16();
    const float ratio = in.ReadFloat();
    if (in.Failed())
        return std::nullopt;
    return StoreItem(in, std::span(buffer).first(count), name, searchName, id, modified, serving,
                     volumeOrItem, weight, mealType, ratio);
}

bool UnpackFoodItem(CByteReader& in, CFoodItem& item) {
    return Assign(UnpackFoodItem(in), item);
}

std::optional<CFoodItem> UnpackOldFoodItem(CByteReader& in) {
    const uint32_t id = in.ReadUint32();
    const uint8_t modified = in.ReadUint8();
    const std::string_view name = ReadStoredTextView(in);
    const std::string_view searchName = ReadStoredTextView(in);
    const CServingMeasure serving = UnpackServingMeasure(in);
    const CServingMeasure volumeOrItem = UnpackServingMeasure(in);
    const CServingMeasure weight = UnpackServingMeasure(in);
    // Always the six basic nutrients, in order.
    std::vector<CNutrientValue> nutrients = UnpackOldNutrients(in);
    const uint16_t mealType = in.ReadUint16();
    const float ratio = in.ReadFloat();
    in.Skip(2);
    if (in.Failed())
        return std::nullopt;
    return StoreItem(in, nutrients, name, searchName, id, modified, serving, volumeOrItem, weight,
                     mealType, ratio);
}

bool UnpackOldFoodItem(CByteReader& in, CFoodItem& item) {
    return Assign(UnpackOldFoodItem(in), item);
}

} // namespace fitquill
