// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/fitquill/demo_journal.h"

#include "core/calc/energy_balance.h"
#include "core/food/exercise_cursor.h"
#include "core/food/exercise_table.h"
#include "core/internal_error.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace fitquill {
namespace {

// SplitMix64 with its own helpers: the standard distributions differ between libraries, and a
// seed must give the same journal everywhere.
class CDemoRandom {
public:
    explicit CDemoRandom(uint64_t seed) : m_state(seed) {}

    uint64_t Next() {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 <= result < count; count must be above 0.
    int Below(int count) { return static_cast<int>((Next() >> 11) % static_cast<uint64_t>(count)); }
    int Between(int low, int high) { return low + Below(high - low + 1); }
    bool Chance(int percent) { return Below(100) < percent; }
    double Unit() { return static_cast<double>(Next() >> 11) / 9007199254740992.0; }
    // Roughly normal with mean 0 and standard deviation 1 (sum of four uniforms).
    double Normal() { return (Unit() + Unit() + Unit() + Unit() - 2.0) * 1.7320508; }

private:
    uint64_t m_state;
};

struct SBuiltInFood {
    const char* group;
    const char* category;
    const char* name;
    float amount;
    EUnit unit; // a volume unit or "item": the serving
    float grams;
    float nutrients[kBasicNutrientCount]; // calories, carbohydrate, protein, fiber, fat, sat. fat
};

// Everyday foods with their usual portion; names stay within the 20 characters that a food-data
// line carries, so that the list survives an export and an import.
// clang-format off
constexpr SBuiltInFood kBuiltInFoods[] = {
    {"Breads & Cereals", "Breakfast Cereals", "Oatmeal",
     1, kUnitCup, 234, {166, 28.1f, 5.9f, 4.0f, 3.6f, 0.6f}},
    {"Breads & Cereals", "Breakfast Cereals", "Corn Flakes",
     1, kUnitCup, 28, {100, 24.0f, 2.0f, 0.7f, 0.1f, 0.0f}},
    {"Breads & Cereals", "Breads", "Whole Wheat Bread",
     1, kUnitItem, 32, {81, 13.8f, 4.0f, 1.9f, 1.1f, 0.2f}},
    {"Breads & Cereals", "Breads", "Bagel",
     1, kUnitItem, 105, {277, 55.0f, 11.0f, 2.4f, 1.4f, 0.2f}},
    {"Dairy & Eggs", "Milk & Yogurt", "Skim Milk",
     1, kUnitCup, 245, {83, 12.2f, 8.3f, 0.0f, 0.2f, 0.1f}},
    {"Dairy & Eggs", "Milk & Yogurt", "Yogurt, Plain",
     1, kUnitCup, 245, {149, 11.4f, 8.5f, 0.0f, 8.0f, 5.1f}},
    {"Dairy & Eggs", "Eggs", "Egg, Boiled",
     1, kUnitItem, 50, {78, 0.6f, 6.3f, 0.0f, 5.3f, 1.6f}},
    {"Dairy & Eggs", "Cheese", "Cheddar Cheese",
     1, kUnitItem, 28, {113, 0.4f, 7.0f, 0.0f, 9.3f, 5.3f}},
    {"Fruits", "Fresh", "Apple",
     1, kUnitItem, 182, {95, 25.1f, 0.5f, 4.4f, 0.3f, 0.1f}},
    {"Fruits", "Fresh", "Banana",
     1, kUnitItem, 118, {105, 27.0f, 1.3f, 3.1f, 0.4f, 0.1f}},
    {"Fruits", "Fresh", "Orange",
     1, kUnitItem, 131, {62, 15.4f, 1.2f, 3.1f, 0.2f, 0.0f}},
    {"Fruits", "Fresh", "Strawberries",
     1, kUnitCup, 152, {49, 11.7f, 1.0f, 3.0f, 0.5f, 0.0f}},
    {"Fruits", "Juices", "Orange Juice",
     1, kUnitCup, 248, {112, 25.8f, 1.7f, 0.5f, 0.5f, 0.1f}},
    {"Vegetables", "Cooked", "Broccoli, Steamed",
     1, kUnitCup, 156, {55, 11.2f, 3.7f, 5.1f, 0.6f, 0.1f}},
    {"Vegetables", "Cooked", "Baked Potato",
     1, kUnitItem, 173, {161, 36.6f, 4.3f, 3.8f, 0.2f, 0.1f}},
    {"Vegetables", "Raw", "Carrot",
     1, kUnitItem, 61, {25, 5.8f, 0.6f, 1.7f, 0.1f, 0.0f}},
    {"Vegetables", "Raw", "Green Salad",
     2, kUnitCup, 94, {16, 3.2f, 1.2f, 2.0f, 0.2f, 0.0f}},
    {"Meat, Fish & Poultry", "Poultry", "Chicken Breast",
     1, kUnitItem, 120, {198, 0.0f, 37.0f, 0.0f, 4.3f, 1.2f}},
    {"Meat, Fish & Poultry", "Fish", "Salmon Fillet",
     1, kUnitItem, 154, {280, 0.0f, 39.0f, 0.0f, 12.5f, 2.0f}},
    {"Meat, Fish & Poultry", "Beef", "Hamburger Patty",
     1, kUnitItem, 85, {213, 0.0f, 21.0f, 0.0f, 13.7f, 5.3f}},
    {"Pasta & Grains", "Cooked", "Spaghetti",
     1, kUnitCup, 140, {221, 43.2f, 8.1f, 2.5f, 1.3f, 0.2f}},
    {"Pasta & Grains", "Cooked", "Brown Rice",
     1, kUnitCup, 195, {216, 44.8f, 5.0f, 3.5f, 1.8f, 0.4f}},
    {"Snacks", "Nuts", "Almonds",
     0.25f, kUnitCup, 36, {207, 7.7f, 7.6f, 4.4f, 17.8f, 1.4f}},
    {"Snacks", "Sweets", "Choc. Chip Cookie",
     1, kUnitItem, 16, {78, 9.3f, 0.9f, 0.4f, 4.5f, 1.4f}},
    {"Snacks", "Bars", "Granola Bar",
     1, kUnitItem, 28, {126, 18.0f, 2.8f, 1.5f, 5.0f, 0.6f}},
    {"Beverages", "Hot", "Coffee with Milk",
     1, kUnitCup, 240, {30, 3.0f, 2.0f, 0.0f, 1.0f, 0.6f}},
    {"Beverages", "Hot", "Tea",
     1, kUnitCup, 237, {2, 0.7f, 0.0f, 0.0f, 0.0f, 0.0f}},
    {"Mixed Dishes", "Soups", "Chicken Noodle Soup",
     1, kUnitCup, 241, {62, 7.3f, 3.2f, 0.5f, 2.4f, 0.7f}},
    {"Mixed Dishes", "Fast Food", "Cheese Pizza",
     1, kUnitItem, 107, {285, 35.7f, 12.2f, 2.5f, 10.4f, 4.8f}},
    {"Mixed Dishes", "Sandwiches", "Turkey Sandwich",
     1, kUnitItem, 200, {330, 36.0f, 24.0f, 3.0f, 9.0f, 2.5f}},
};
// clang-format on

// Activities people log often, with how often; the user-defined exercise stands for the rest.
struct SActivityWeight {
    int16_t activity;
    int weight;
};
constexpr SActivityWeight kActivities[] = {
    {23, 30}, // Walking
    {15, 12}, // Running
    {2, 12},  // Bicycling
    {24, 10}, // Weight Lifting
    {20, 8},  // Swimming
    {0, 8},   // Aerobics
    {25, 8},  // Other Activities
    {21, 4},  // Tennis
    {6, 3},   // Golf
    {kActivityUserDefined, 5},
};
constexpr const char* kOwnExercises[] = {"Yoga", "Pilates", "Dancing", "Stretching"};

constexpr const char* kNotes[] = {
    "Felt great today.",
    "Long day at work, skipped the gym.",
    "Slept badly.",
    "Birthday dinner with the family.",
    "New running shoes!",
    "Sore legs after yesterday's workout.",
    "Ate out for lunch.",
    "Rainy day, stayed in.",
    "Meal prep for the week.",
    "Weekend hike with friends.",
    "Doctor's visit.\nBlood pressure fine.",
    "Too many snacks.\nBack on track tomorrow.",
};

// Girth of each body part for a body weight in pounds: a base and a share of the weight.
constexpr std::array<std::array<double, 2>, kGirthCount> kGirthModel = {{
    {10.5, 0.025}, // neck
    {25.0, 0.075}, // chest
    {14.0, 0.110}, // waist
    {24.0, 0.080}, // hips
    {12.0, 0.050}, // thighs
    {10.0, 0.026}, // calves
    {7.0, 0.040},  // upper arms
    {7.0, 0.018},  // forearms
}};

constexpr int kMinFoodEntries = 8;
constexpr int kMaxVariedFoodEntries = 15;
constexpr int kMaxVariedExercises = 2;
// Ids of one journal differ only in the 18-bit counter of its generator.
constexpr int64_t kIdCounterSize = int64_t{1} << 18;
constexpr size_t kPantrySize = 48;
constexpr float kServingFactors[] = {0.5f, 1.0f, 1.0f, 1.0f, 1.0f, 1.5f, 2.0f};

double Round(double value, double step) {
    return std::round(value / step) * step;
}

// An item can be logged when its serving has an amount and is one of its base measures.
bool CanBeLogged(const CFoodItem& item) {
    const CServingMeasure& serving = item.Serving();
    return serving.Amount() > 0.0f &&
           (serving == item.VolumeOrItemMeasure() || serving == item.WeightMeasure());
}

// Groups of a full food database that an adult's everyday meals do not come from.
constexpr const char* kSkippedGroups[] = {"Baby Foods", "Spices, Herbs"};

std::vector<const CFoodItem*> LoggableItems(const CFoodDB& foods) {
    std::vector<const CFoodItem*> items;
    for (const CFoodGroup& group : foods.Groups()) {
        if (std::find(std::begin(kSkippedGroups), std::end(kSkippedGroups), group.Name()) !=
            std::end(kSkippedGroups))
            continue;
        for (const CFoodCategory& category : group.Categories())
            for (const CFoodItem& item : category.Items())
                if (CanBeLogged(item))
                    items.push_back(&item);
    }
    return items;
}

// The foods this person eats: a fixed choice from the database, split into four menus so
// that breakfast foods come back at breakfast.
class CPantry {
public:
    CPantry(std::vector<const CFoodItem*> items, CDemoRandom& random) {
        const size_t size = std::min(kPantrySize, items.size());
        for (size_t i = 0; i < size; ++i) {
            const size_t pick =
                i + static_cast<size_t>(random.Below(static_cast<int>(items.size() - i)));
            std::swap(items[i], items[pick]);
        }
        items.resize(size);
        m_items = std::move(items);
    }

    // The menu of a meal: its own slice of the pantry, or all of a small pantry.
    std::vector<const CFoodItem*> Menu(int meal) const {
        const size_t size = m_items.size();
        if (size < 2 * kMealCount)
            return m_items;
        const size_t slice = size / kMealCount;
        const auto first =
            m_items.begin() + static_cast<std::ptrdiff_t>(slice * static_cast<size_t>(meal));
        return std::vector<const CFoodItem*>(first, first + static_cast<std::ptrdiff_t>(slice));
    }

private:
    std::vector<const CFoodItem*> m_items;
};

// The body weight in pounds: a set point that moves towards the goal at a realistic pace, with
// breaks, then holds around it, plus the day-to-day swing of water and food.
class CWeightModel {
public:
    CWeightModel(double start, double goal) : m_setPoint(start), m_goal(goal) {}

    double NextDay(CDemoRandom& random) {
        if (m_breakDays > 0) {
            --m_breakDays;
            m_setPoint += 0.02;
        } else if (m_setPoint > m_goal) {
            m_setPoint -= 0.07 + 0.05 * random.Unit();
            if (random.Chance(2))
                m_breakDays = random.Between(10, 30);
        } else {
            // Maintenance: a slow wander, pulled back towards a little above the goal.
            m_setPoint += 0.05 * random.Normal() + 0.01 * (m_goal + 3.0 - m_setPoint);
        }
        m_swing = 0.7 * m_swing + 0.6 * random.Normal();
        return std::clamp(m_setPoint + m_swing, 90.0, 400.0);
    }

private:
    double m_setPoint;
    double m_goal;
    double m_swing = 0.0;
    int m_breakDays = 0;
};

void FillProfile(CUserProfile& profile, int sex, const CJournalDate& firstDay, double startPounds,
                 double goalPounds, CDemoRandom& random) {
    const int heightInches = sex == 0 ? random.Between(66, 75) : random.Between(60, 69);
    profile.SetSex(sex);
    profile.SetHeightFeetInches(heightInches / 12, heightInches % 12);
    profile.SetAge(random.Between(24, 62));
    profile.SetUnitChoice(random.Chance(25) ? 1 : 0);
    profile.SetDefaultActivityLevel(random.Between(kActivityLevelSitting, kActivityLevelStanding));
    profile.SetDietPlan(random.Below(3));
    profile.SetStartingWeight(startPounds, false);
    profile.SetGoalWeight(goalPounds, false);
    profile.SetStartingDate(firstDay);
    // About a pound a week, and a fortnight to spare.
    CJournalDate goalDate = firstDay;
    const int goalDays = static_cast<int>((startPounds - goalPounds) * 7.0) + 14;
    for (int i = 0; i < goalDays; ++i)
        goalDate.StepDays(1);
    profile.SetGoalDate(goalDate);
    ComputeGoalSummary(profile);
}

void AddFoodEntries(CDayRecord& day, int count, const CPantry& pantry, CIdGenerator& ids,
                    CDemoRandom& random) {
    const int breakfast = count * 25 / 100;
    const int lunch = count * 30 / 100;
    const int snack = count * 10 / 100;
    const std::array<int, kMealCount> perMeal = {breakfast, lunch,
                                                 count - breakfast - lunch - snack, snack};
    for (int meal = 0; meal < kMealCount; ++meal) {
        // Different foods within a meal, as long as the menu has enough of them.
        std::vector<const CFoodItem*> menu = pantry.Menu(meal);
        const int menuSize = static_cast<int>(menu.size());
        for (int i = 0; i < perMeal[static_cast<size_t>(meal)]; ++i) {
            const int left = menuSize - i % menuSize;
            const int pick = menuSize - left + random.Below(left);
            std::swap(menu[static_cast<size_t>(menuSize - left)], menu[static_cast<size_t>(pick)]);
            CFoodItem entry = *menu[static_cast<size_t>(menuSize - left)];
            const float factor =
                kServingFactors[random.Below(static_cast<int>(std::size(kServingFactors)))];
            const CServingMeasure& usual = entry.Serving();
            const auto amount = static_cast<float>(Round(usual.Amount() * factor, 0.01));
            entry.SetMealType(static_cast<uint16_t>(meal));
            entry.SetServing(
                CServingMeasure(std::max(amount, 0.01f), usual.Unit(), usual.UnitSet()));
            day.FoodLog().AddEntry(kSortByMeal, entry, ids);
        }
    }
}

int16_t PickActivity(CDemoRandom& random) {
    int total = 0;
    for (const SActivityWeight& a : kActivities)
        total += a.weight;
    int pick = random.Below(total);
    for (const SActivityWeight& a : kActivities) {
        if (pick < a.weight)
            return a.activity;
        pick -= a.weight;
    }
    return kActivities[0].activity;
}

CExerciseEntry OwnExercise(int minutes, CDemoRandom& random) {
    CExerciseEntry entry;
    entry.SetActivity(kActivityUserDefined);
    entry.SetName(kOwnExercises[random.Below(static_cast<int>(std::size(kOwnExercises)))]);
    entry.SetMinutes(minutes);
    entry.SetCalories(minutes * random.Between(3, 6));
    return entry;
}

CExerciseEntry MakeExercise(const CWeightValue& weight, CDemoRandom& random) {
    // A few tries find a table exercise that burns something; the typed kind always works.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const int16_t activity = PickActivity(random);
        const int minutes = activity == 6 ? random.Between(60, 180) : random.Between(15, 75);
        if (activity == kActivityUserDefined)
            return OwnExercise(minutes, random);
        CExerciseCursor cursor;
        cursor.SetActivity(activity);
        // The first variant is the everyday kind ("General", "Stationary", ...).
        if (!cursor.Variants().Empty() && random.Chance(40))
            cursor.SetVariant(static_cast<int16_t>(random.Below(cursor.Variants().count)));
        if (!cursor.Intensities().Empty())
            cursor.SetIntensity(static_cast<int16_t>(random.Below(cursor.Intensities().count)));
        const std::optional<uint16_t> calories =
            cursor.Calories(weight, static_cast<int16_t>(minutes));
        if (!calories || *calories == 0)
            continue;
        CExerciseEntry entry;
        entry.SetActivity(cursor.Activity());
        entry.SetVariant(cursor.Variant());
        entry.SetIntensity(cursor.Intensity());
        entry.SetName(ExerciseActivityList().Name(activity));
        entry.SetMinutes(minutes);
        entry.SetCalories(*calories);
        return entry;
    }
    return OwnExercise(random.Between(15, 75), random);
}

void AddMeasurements(CDayRecord& day, double pounds, bool metric, CDemoRandom& random) {
    for (int girth = 0; girth < kGirthCount; ++girth) {
        const auto& model = kGirthModel[static_cast<size_t>(girth)];
        const double inches = model[0] + model[1] * pounds + 0.3 * random.Normal();
        if (metric)
            day.Measurements().SetGirth(girth, Round(inches * kCentimetresPerInch, 0.5), true);
        else
            day.Measurements().SetGirth(girth, Round(inches, 0.1), false);
    }
}

void AddBloodPressure(CDayRecord& day, CDemoRandom& random) {
    CBloodPressure& pressure = day.BloodPressure();
    const int systolic = random.Between(108, 142);
    pressure.SetSystolic(systolic);
    pressure.SetDiastolic(std::min(systolic - 30, random.Between(66, 92)));
    pressure.SetPulse(random.Between(56, 88));
    if (random.Chance(60))
        pressure.SetTime(random.Between(6, 9), random.Between(0, 59), CBloodPressure::kAm);
    else
        pressure.SetTime(random.Between(6, 10), random.Between(0, 59), CBloodPressure::kPm);
}

} // namespace

std::string CDemoJournal::CheckOptions(const SDemoOptions& options) {
    if (options.days < 1 || options.days > kMaxDays)
        return "The number of days must be from 1 to " + std::to_string(kMaxDays) + ".";
    if (!options.lastDay.IsSet() || options.lastDay.Year() > 2031)
        return "The last day must lie between 1904 and 2031.";
    if (DaysBefore(options.lastDay, options.days - 1).Year() < 1904)
        return "The first day would lie before 1904.";
    if (options.foodEntriesPerDay < 0 || options.foodEntriesPerDay > kMaxFoodEntriesPerDay)
        return "The food entries per day must be from 0 to " +
               std::to_string(kMaxFoodEntriesPerDay) + ".";
    if (options.exercisesPerDay < -1 || options.exercisesPerDay > kMaxExercisesPerDay)
        return "The exercises per day must be from -1 to " + std::to_string(kMaxExercisesPerDay) +
               ".";
    const int64_t perDay =
        (options.foodEntriesPerDay > 0 ? options.foodEntriesPerDay : kMaxVariedFoodEntries) +
        (options.exercisesPerDay >= 0 ? options.exercisesPerDay : kMaxVariedExercises);
    if (perDay * options.days > kIdCounterSize)
        return "So many entries would run out of entry ids; ask for fewer days.";
    return {};
}

void CDemoJournal::Fill(CJournalDB& journal, const CFoodDB& foods, const SDemoOptions& options) {
    if (const std::string problem = CheckOptions(options); !problem.empty())
        RaiseInternalError(kInternalErrorGeneral, "demo journal: " + problem);

    CDemoRandom random(options.seed);
    std::vector<const CFoodItem*> items = LoggableItems(foods);
    CFoodDB builtIn;
    if (items.empty()) {
        builtIn = BuiltInFoods();
        items = LoggableItems(builtIn);
    }
    const CPantry pantry(std::move(items), random);

    const CJournalDate firstDay = DaysBefore(options.lastDay, options.days - 1);
    const std::string userName = journal.Profile().UserName();
    journal.Clear();
    journal.Profile().SetUserName(userName);
    journal.Header().SetIdGenerator(CIdGenerator::Seeded(firstDay));

    const int sex = random.Below(2);
    const double start =
        sex == 0 ? random.Between(1750, 2400) / 10.0 : random.Between(1400, 2000) / 10.0;
    const double goal = std::max(110.0, start - random.Between(10, 40));
    CUserProfile& profile = journal.Profile();
    FillProfile(profile, sex, firstDay, start, goal, random);
    const bool metric = profile.IsMetric();

    CWeightModel weightModel(start, goal);
    CJournalDate date = firstDay;
    for (int d = 0; d < options.days; ++d, date.StepDays(1)) {
        CDayRecord day(date);
        const double pounds = weightModel.NextDay(random);
        const CWeightValue bodyWeight = CWeightValue::FromPounds(static_cast<float>(pounds));

        const int exercises =
            options.exercisesPerDay >= 0
                ? options.exercisesPerDay
                : (random.Chance(40) ? 0 : (random.Chance(75) ? 1 : kMaxVariedExercises));
        // Most days start on the scale; an active day is logged as one.
        if (random.Chance(85)) {
            if (exercises > 0 && random.Chance(30))
                day.SetActivityLevel(kActivityLevelStanding);
            if (metric)
                day.SetWeight(Round(pounds / 2.2046, 0.1), true, profile);
            else
                day.SetWeight(Round(pounds, 0.1), false, profile);
        }

        const int foodEntries = options.foodEntriesPerDay > 0
                                    ? options.foodEntriesPerDay
                                    : random.Between(kMinFoodEntries, kMaxVariedFoodEntries);
        AddFoodEntries(day, foodEntries, pantry, journal.IdGenerator(), random);
        for (int e = 0; e < exercises; ++e)
            day.Exercises().Add(MakeExercise(bodyWeight, random), journal.IdGenerator());

        day.SetWater(random.Chance(5) ? 12 : random.Between(4, 10));
        if (random.Chance(20))
            day.SetNote(kNotes[random.Below(static_cast<int>(std::size(kNotes)))]);
        if (d % 7 == 0 && random.Chance(70))
            AddMeasurements(day, pounds, metric, random);
        if (random.Chance(25))
            AddBloodPressure(day, random);

        day.Refresh(profile);
        journal.InsertDay(std::move(day));
    }
    journal.GoToDate(options.lastDay);
    journal.SetModified(true);
}

CFoodDB CDemoJournal::BuiltInFoods() {
    CFoodDB db;
    for (const SBuiltInFood& food : kBuiltInFoods) {
        int group = db.FindGroup(food.group);
        if (group < 0)
            group = db.AddGroup(CFoodGroup(food.group));
        const auto g = static_cast<uint16_t>(group);
        int category = db.FindCategory(g, food.category);
        if (category < 0)
            category = db.AddCategory(g, CFoodCategory(food.category));

        CFoodItem item;
        item.SetName(food.name, true);
        const CServingMeasure usual(food.amount, food.unit);
        item.SetBaseMeasure(CServingMeasure(food.grams, kUnitGram), true);
        item.SetBaseMeasure(usual, true);
        item.SetServing(usual);
        for (int n = 0; n < kBasicNutrientCount; ++n)
            item.SetNutrientValue(n, food.nutrients[n]);
        db.AddFoodItem(g, static_cast<uint16_t>(category), item);
    }
    return db;
}

} // namespace fitquill
