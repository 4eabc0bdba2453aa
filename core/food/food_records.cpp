// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/food/food_records.h"

#include "core/internal_error.h"

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

std::string ReadStoredText(CByteReader& in) {
    std::string text = in.ReadText(ETextNul::Optional);
    if (text.size() > CByteWriter::kMaxTextLength) {
        in.MarkFailed();
        text.clear();
    }
    return text;
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

void PackNutrientList(const std::vector<CNutrientValue>& nutrients, CByteWriter& out) {
    if (nutrients.size() > 0xFFFF)
        RaiseInternalError(kInternalErrorFoodDb, "too many nutrients for a 16-bit count");
    out.AppendUint16(static_cast<uint16_t>(nutrients.size()));
    for (const CNutrientValue& nutrient : nutrients) {
        out.AppendUint8(nutrient.Index());
        out.AppendFloat(nutrient.Value());
    }
}

std::vector<CNutrientValue> UnpackNutrientList(CByteReader& in) {
    const uint16_t count = in.ReadCount(kNutrientEntrySize);
    std::vector<CNutrientValue> nutrients;
    nutrients.reserve(count);
    for (uint16_t i = 0; i < count && !in.Failed(); ++i) {
        const uint8_t index = in.ReadUint8();
        const float value = in.ReadFloat();
        if (index >= kNutrientCount) {
            in.MarkFailed();
            break;
        }
        nutrients.emplace_back(index, value);
    }
    if (in.Failed())
        nutrients.clear();
    return nutrients;
}

std::vector<CNutrientValue> UnpackOldNutrients(CByteReader& in) {
    float values[kBasicNutrientCount] = {};
    for (int stored = 0; stored < kBasicNutrientCount; ++stored)
        values[kOldNutrientOrder[stored]] = in.ReadFloat();
    std::vector<CNutrientValue> nutrients;
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
    out.AppendUint32(item.Id());
    out.AppendUint8(item.Modified());
    PackServingMeasure(item.Serving(), out);
    PackServingMeasure(item.VolumeOrItemMeasure(), out);
    PackServingMeasure(item.WeightMeasure(), out);
    PackNutrientList(item.Nutrients(), out);
    out.AppendUint16(item.MealType());
    out.AppendFloat(item.ServingRatio());
    if (out.Size() - start != size)
        RaiseInternalError(kInternalErrorFoodDb, "a food item was packed to another size");
}

namespace {

// The fields both layouts share after the texts: stored straight into the item.
void StoreItem(CFoodItem& item, std::string name, std::string searchName, uint32_t id,
               uint8_t modified, const CServingMeasure& serving,
               const CServingMeasure& volumeOrItem, const CServingMeasure& weight) {
    item.SetName(name, false);
    item.SetSearchName(searchName);
    item.SetId(id);
    item.SetModified(modified);
    item.SetStoredMeasures(serving, volumeOrItem, weight);
}

} // namespace

bool UnpackFoodItem(CByteReader& in, CFoodItem& item) {
    in.ReadUint16(); // the record size: the fields below are read one by one instead
    std::string name = ReadStoredText(in);
    std::string searchName = ReadStoredText(in);
    const uint32_t id = in.ReadUint32();
    const uint8_t modified = in.ReadUint8();
    const CServingMeasure serving = UnpackServingMeasure(in);
    const CServingMeasure volumeOrItem = UnpackServingMeasure(in);
    const CServingMeasure weight = UnpackServingMeasure(in);
    std::vector<CNutrientValue> nutrients = UnpackNutrientList(in);
    const uint16_t mealType = in.ReadUint16();
    const float ratio = in.ReadFloat();
    if (in.Failed())
        return false;

    CFoodItem read;
    StoreItem(read, std::move(name), std::move(searchName), id, modified, serving, volumeOrItem,
              weight);
    if (!read.SetStoredNutrients(std::move(nutrients))) {
        in.MarkFailed();
        return false;
    }
    read.SetMealType(mealType);
    read.SetStoredServingRatio(ratio);
    if (FoodItemRecordSize(read) > 0xFFFF) {
        in.MarkFailed();
        return false;
    }
    item = std::move(read);
    return true;
}

bool UnpackOldFoodItem(CByteReader& in, CFoodItem& item) {
    const uint32_t id = in.ReadUint32();
    const uint8_t modified = in.ReadUint8();
    std::string name = ReadStoredText(in);
    std::string searchName = ReadStoredText(in);
    const CServingMeasure serving = UnpackServingMeasure(in);
    const CServingMeasure volumeOrItem = UnpackServingMeasure(in);
    const CServingMeasure weight = UnpackServingMeasure(in);
    std::vector<CNutrientValue> nutrients = UnpackOldNutrients(in);
    const uint16_t mealType = in.ReadUint16();
    const float ratio = in.ReadFloat();
    in.Skip(2);
    if (in.Failed())
        return false;

    CFoodItem read;
    StoreItem(read, std::move(name), std::move(searchName), id, modified, serving, volumeOrItem,
              weight);
    read.SetStoredNutrients(std::move(nutrients)); // always the six basic ones, in order
    read.SetMealType(mealType);
    read.SetStoredServingRatio(ratio);
    if (FoodItemRecordSize(read) > 0xFFFF) {
        in.MarkFailed();
        return false;
    }
    item = std::move(read);
    return true;
}

} // namespace fitquill
