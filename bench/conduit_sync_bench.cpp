// SPDX-License-Identifier: GPL-3.0-or-later
// One synchronize run of each conduit at full size, from opening the handheld database to
// closing it: reading the .pdb file and the desktop file, merging, writing both. The journal
// covers ten years on both sides, the food database 8,000 items on both sides; on each side
// 5 % of the days (items) changed since the last HotSync.
#include "conduit/sync/conduit_run.h"
#include "core/food/food_db_file.h"
#include "core/journal/journal_file.h"
#include "core/journal/journal_records.h"
#include "platform/palm/palm_database.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

using namespace fitquill;
namespace fs = std::filesystem;

namespace {

constexpr int kDays = 3653;
constexpr int kGroups = 20;
constexpr int kCategoriesPerGroup = 8;
constexpr int kItemsPerCategory = 50;

// The one Palm user "Ann", whose folder "Ann" lies in the users root.
class CAnnLibrary final : public IUserLibrary {
public:
    explicit CAnnLibrary(std::string root) : m_root(std::move(root)) {}
    int32_t UserCount() override { return 1; }
    int32_t GetUserHandle(int32_t, UserHandle& user) override { return user = 1, 0; }
    int32_t GetUserName(UserHandle, std::string& name, uint16_t& size) override {
        name = "Ann";
        return size = 4;
    }
    int32_t GetUserFolderName(UserHandle, std::string& folder, uint16_t& size) override {
        folder = "Ann";
        size = 4;
        return 0;
    }
    int32_t GetUsersRoot(std::string& root, uint16_t& size) override {
        root = m_root;
        return size = static_cast<uint16_t>(m_root.size() + 1);
    }
    int32_t RenameUser(UserHandle, std::string_view) override { return -1; }
    int32_t AddUser(std::string_view) override { return -1; }
    int32_t DeleteUser(UserHandle) override { return -1; }
    int32_t FindUserByName(std::string_view, UserHandle& user) override { return user = 1, 0; }
    int32_t FindUserByPath(std::string_view path, UserHandle& user) override {
        user = 1;
        return path == m_root + "Ann" ? 0 : -1;
    }

private:
    std::string m_root;
};

class CNoDesktop final : public IDesktopPresence {
public:
    bool CheckRunning(std::optional<uint32_t>) override { return false; }
};

CFoodItem Food(const std::string& name, float calories, int meal = 0) {
    CFoodItem item;
    item.SetName(name, true);
    item.SetBaseMeasure({100, kUnitGram}, false);
    item.SetNutrientValue(kNutrientCalories, calories);
    item.SetNutrientValue(kNutrientProtein, calories / 20);
    item.SetServing({150, kUnitGram});
    item.SetMealType(static_cast<uint16_t>(meal));
    return item;
}

std::vector<uint8_t> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// A handheld folder, a Palm Desktop folder with Ann's desktop file, and the bytes of both
// files, to be put back before each run.
class CWorld {
public:
    CWorld() : m_folder(fs::temp_directory_path() / "fitquill_conduit_bench") {
        fs::remove_all(m_folder);
        fs::create_directories(m_folder / "handheld");
        fs::create_directories(m_folder / "palm" / "Ann" / "Fitquill");
        m_users = std::make_unique<CUserDirectory>(
            std::make_shared<CAnnLibrary>((m_folder / "palm").string() + "/"),
            SInstallPath{true, m_folder.string()});
    }
    ~CWorld() { fs::remove_all(m_folder); }

    fs::path DesktopFile(const char* name) const {
        return m_folder / "palm" / "Ann" / "Fitquill" / name;
    }

    void Store(const char* databaseName, const std::vector<std::vector<uint8_t>>& records,
               const fs::path& desktopFile, const std::vector<uint8_t>& desktopBytes) {
        CPalmDatabase db;
        db.SetName(databaseName);
        db.SetType(PalmFourCC("DATA"));
        db.SetCreator(PalmFourCC("FQui"));
        uint32_t id = 1;
        for (const auto& record : records)
            db.Records().push_back({0, id++, record});
        m_handheldFile = m_folder / "handheld" / (std::string(databaseName) + ".pdb");
        db.Save(m_handheldFile);
        m_handheldBytes = ReadAll(m_handheldFile);
        m_desktopFile = desktopFile;
        m_desktopBytes = desktopBytes;
        m_databaseName = databaseName;
    }

    void Restore() const {
        WriteAll(m_handheldFile, m_handheldBytes);
        WriteAll(m_desktopFile, m_desktopBytes);
    }

    // One whole run; false when it failed.
    bool Run(uint16_t selector, const char* localName) {
        CSyncManager manager(SHandheld{m_folder / "handheld", "Ann", 1});
        CSyncManagerChannel channel(manager);
        CMemoryLog log;
        CNoDesktop presence;
        SSyncProperties properties;
        properties.pathName = (m_folder / "palm" / "Ann").string();
        properties.localName = localName;
        properties.remoteName = m_databaseName;
        CConduitRun run(selector, properties, {channel, log, presence, *m_users});
        run.Run();
        run.End();
        return run.Error() == ERunError::None;
    }

private:
    fs::path m_folder;
    std::unique_ptr<CUserDirectory> m_users;
    fs::path m_handheldFile;
    std::vector<uint8_t> m_handheldBytes;
    fs::path m_desktopFile;
    std::vector<uint8_t> m_desktopBytes;
    std::string m_databaseName;
};

CJournalDB TenYearJournal() {
    std::mt19937 random(7);
    CJournalDB journal;
    journal.Profile().SetAge(40);
    journal.Profile().SetHeightFeetInches(5, 9);
    journal.Profile().SetStartingWeight(190, false);
    CJournalDate date(1, 1, 2014);
    const char* foods[] = {"Oatmeal", "Apple", "Chicken salad", "Rice", "Yogurt", "Soup"};
    for (int i = 0; i < kDays; ++i, date.StepDays(1)) {
        CDayRecord day(date);
        day.SetWeight(190.0 - i / 100.0, false, journal.Profile());
        day.SetWater(static_cast<int>(random() % 9));
        for (int meal = 0; meal < kMealCount; ++meal)
            day.FoodLog().AddEntry(kSortByMeal, Food(foods[random() % 6], 100.0f + meal, meal),
                                   journal.IdGenerator());
        CExerciseEntry walk;
        walk.SetName("Walking");
        walk.SetMinutes(30 + static_cast<int>(random() % 30));
        day.Exercises().Add(walk, journal.IdGenerator());
        journal.InsertDay(std::move(day));
    }
    journal.ClearAllChangeBits();
    return journal;
}

void BM_JournalSynchronize(benchmark::State& state) {
    CWorld world;
    CJournalDB desktop = TenYearJournal();
    CJournalDB handheld = desktop;
    handheld.Header().SetIdGenerator(CIdGenerator::Seeded(CJournalDate(2, 2, 2020)));
    // 5 % of the days changed on each side, different days.
    for (int i = 0; i < kDays; i += 20) {
        desktop.Day(i).SetWater(12);
        CDayRecord& day = handheld.Day(i + 10);
        day.SetNote("walked to work");
        day.FoodLog().AddEntry(kSortByMeal, Food("Banana", 90, kMealSnack), handheld.IdGenerator());
    }
    const fs::path file = world.DesktopFile("UserDB.ddb");
    world.Store("FQA-AppDB", PackJournalRecords(handheld), file, CJournalFile::Pack(desktop));
    for (auto _ : state) {
        state.PauseTiming();
        world.Restore();
        state.ResumeTiming();
        if (!world.Run(1, "Fitquill/UserDB.dat"))
            state.SkipWithError("the run failed");
    }
}
BENCHMARK(BM_JournalSynchronize)->Unit(benchmark::kMillisecond);

CFoodDB FullFoodDB() {
    CFoodDB db;
    for (int g = 0; g < kGroups; ++g) {
        const int group = db.AddGroup(CFoodGroup("Group " + std::to_string(g)));
        for (int c = 0; c < kCategoriesPerGroup; ++c) {
            const int category =
                db.AddCategory(uint16_t(group), CFoodCategory("Category " + std::to_string(c)));
            for (int i = 0; i < kItemsPerCategory; ++i)
                db.AddFoodItem(uint16_t(group), uint16_t(category),
                               Food("Item " + std::to_string(g) + "." + std::to_string(c) + "." +
                                        std::to_string(i),
                                    float(i * 7)));
        }
    }
    db.ClearModifiedFlags();
    return db;
}

void BM_FoodSynchronize(benchmark::State& state) {
    CWorld world;
    CFoodDB desktop = FullFoodDB();
    CFoodDB handheld = desktop;
    handheld.SetIdGenerator(CIdGenerator::Seeded(CJournalDate(2, 2, 2020)));
    // 5 % of the items changed on each side: 400 here, 400 there.
    for (int n = 0; n < 400; ++n) {
        const auto g = uint16_t(n % kGroups);
        const auto c = uint16_t(n / kGroups % kCategoriesPerGroup);
        const auto i = uint16_t(n % kItemsPerCategory);
        CFoodItem item = desktop.GetFoodItem(g, c, i);
        item.SetNutrientValue(kNutrientCalories, 1);
        desktop.ReplaceFoodItem(g, c, i, item);
        const auto other = uint16_t((i + 25) % kItemsPerCategory);
        CFoodItem changed = handheld.GetFoodItem(g, c, other);
        changed.SetNutrientValue(kNutrientFat, 3);
        handheld.ReplaceFoodItem(g, c, other, changed);
    }
    const fs::path file = world.DesktopFile("FoodDB.ddb");
    world.Store("FQA-FoodDB", CFoodDBFile::PackRecords(handheld), file, CFoodDBFile::Pack(desktop));
    for (auto _ : state) {
        state.PauseTiming();
        world.Restore();
        state.ResumeTiming();
        if (!world.Run(0, "Fitquill/FoodDB.dat"))
            state.SkipWithError("the run failed");
    }
}
BENCHMARK(BM_FoodSynchronize)->Unit(benchmark::kMillisecond);

} // namespace
