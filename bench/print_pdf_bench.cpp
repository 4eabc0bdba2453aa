// SPDX-License-Identifier: GPL-3.0-or-later
// PDF reports at the scale of a year of daily use: a demo journal of 365 days, all six reports
// (those this build can print), written to a PDF file as "Export as PDF..." and --print-pdf do.
// A month is timed beside the year, and the most memory a run needs is taken for both: drawn
// one page at a time, a year must not need much more memory than a month.
#include "bench/bench_files.h"
#include "bench/bench_food_db.h"
#include "desktop/document/diet_data.h"
#include "desktop/print/pdf_report.h"
#include "desktop/widgets/fonts.h"
#include "tools/fitquill/demo_journal.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fstream>
#include <map>
#include <memory>
#include <string>

using namespace fitquill;

namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "print_pdf_bench";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        auto* made = new QApplication(argc, argv);
        RegisterTahoma();
        return made;
    }();
    return *app;
}

// A document holding a demo journal of `days` days ending 15 March 2024, every report chosen
// for the whole journal.
struct SPrintWorld {
    QTemporaryDir folder;
    std::unique_ptr<CDietData> data;
};

SPrintWorld& World(int64_t days) {
    static std::map<int64_t, SPrintWorld> made;
    auto it = made.find(days);
    if (it == made.end()) {
        App();
        SPrintWorld& world = made[days];
        SDietDataSetup setup;
        setup.installPath = SInstallPath{true, world.folder.path().toStdString() + "/"};
        world.data = std::make_unique<CDietData>(std::move(setup));
        SDemoOptions options;
        options.days = static_cast<int>(days);
        options.seed = 2024;
        options.lastDay = CJournalDate(15, 3, 2024);
        CDemoJournal::Fill(world.data->Journal(), BenchFoodDB(), options);
        const auto& all = world.data->Journal().Days();
        world.data->SetPrintRange(all.front().Date(), all.back().Date());
        for (int report = 0; report < CDietData::kReportCount; ++report)
            world.data->SetReportFlag(report, true);
        it = made.find(days);
    }
    return it->second;
}

// A "Vm...:" line of /proc/self/status in KiB, or -1.
int64_t ResidentKiB(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0)
            return std::stoll(line.substr(field.size()));
    }
    return -1;
}

void PrintPdf(benchmark::State& state) {
    SPrintWorld& world = World(state.range(0));
    const CBenchFile file("reports_" + std::to_string(state.range(0)) + ".pdf");
    const QString path = QString::fromStdString(file.Path().string());
    CPrintEngine engine(*world.data);
    const std::vector<EReportKind> missing = engine.SelectedUnavailable();
    if (!engine.AnySelectedPrintable()) {
        state.SkipWithError("this build cannot print any report yet");
        return;
    }
    SPdfResult result;
    for (auto _ : state) {
        result = WritePdfReport(engine, path, DefaultReportLayout());
        if (!result.error.isEmpty())
            state.SkipWithError(result.error.toStdString().c_str());
    }
    state.counters["pages"] = result.pages;
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(file.Path())) / 1e6;
    state.SetLabel(missing.empty() ? std::string("all six reports")
                                   : "without " + CPrintEngine::ReportNames(missing).toStdString());

    // The most memory one run needs on top of what the process held before it. The toolkit
    // allocates with malloc as much as with new, so the process's resident peak is taken
    // (Linux: the peak is reset through /proc/self/clear_refs); -1 where it cannot be read.
    const int64_t before = ResidentKiB("VmRSS:");
    std::ofstream("/proc/self/clear_refs") << "5";
    WritePdfReport(engine, path, DefaultReportLayout());
    const int64_t peak = ResidentKiB("VmHWM:");
    const double grown = before < 0 || peak < 0 ? -1.0 : static_cast<double>(peak - before);
    state.counters["peak_rss_growth_MB"] = grown < 0 ? -1.0 : grown / 1024.0;
    state.counters["peak_rss_growth_kB_per_page"] =
        grown < 0 ? -1.0 : grown / std::max(1, result.pages);
}
BENCHMARK(PrintPdf)->Arg(31)->Arg(365)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
