// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/print/print_pdf_command.h"

#include "core/clock.h"
#include "desktop/document/diet_data.h"
#include "desktop/document/program_paths.h"
#include "desktop/document/prompt.h"
#include "desktop/document/stored_text.h"
#include "desktop/print/pdf_report.h"
#include "desktop/print/print_engine.h"
#include "desktop/widgets/fonts.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <cstring>
#include <exception>
#include <iostream>
#include <map>
#include <sstream>

namespace fitquill {
namespace {

constexpr const char* kOption = "--print-pdf";
// The years that the journal's packed dates can hold.
constexpr int kFirstYear = 1904;
constexpr int kLastYear = 1904 + 127;

const std::map<std::string, EReportKind>& ReportWords() {
    static const std::map<std::string, EReportKind> words{
        {"logbook", EReportKind::Logbook},      {"meals", EReportKind::MealLog},
        {"journal", EReportKind::DailyJournal}, {"summary", EReportKind::SummaryTable},
        {"chart", EReportKind::WeightChart},    {"plan", EReportKind::DietPlan},
    };
    return words;
}

std::optional<CJournalDate> ParseDate(const std::string& text) {
    const std::optional<SLocalTime> parsed = CClock::ParseIsoDate(text);
    if (!parsed || parsed->year < kFirstYear || parsed->year > kLastYear)
        return std::nullopt;
    return CJournalDate(parsed->day, parsed->month, parsed->year);
}

// Without a person to answer, a message box becomes a line on standard error and takes its
// default answer.
class CConsolePrompt : public CPrompt {
public:
    CConsolePrompt() { CPrompt::SetCurrent(this); }
    ~CConsolePrompt() override { CPrompt::SetCurrent(nullptr); }
    CConsolePrompt(const CConsolePrompt&) = delete;
    CConsolePrompt& operator=(const CConsolePrompt&) = delete;

    EPromptAnswer Show(QWidget*, const QString& caption, const QString& text, EPromptIcon,
                       EPromptButtons buttons) override {
        std::cerr << "fitquill-desktop: " << ToUtf8(caption) << ": " << ToUtf8(text.simplified())
                  << '\n';
        return DefaultAnswer(buttons);
    }
};

// The toolkit's own notes (a missing runtime folder and the like) would break the promise of
// one line on standard error; real failures are reported by the command itself.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::cerr << "fitquill-desktop: " << ToUtf8(message) << '\n';
}

int Fail(const std::string& reason) {
    std::cerr << "fitquill-desktop: " << reason << '\n';
    return 1;
}

int Print(const SPrintPdfRequest& request) {
    CShellSettings settings;
    const CProgramPaths paths = CProgramPaths::FromApplication();
    CDietData data(CDietData::ProgramSetup(paths, settings));
    const QString user = request.user ? FromUtf8(*request.user) : data.GetCurrentUserName();
    if (user.isEmpty())
        return Fail("no user was opened before: name one with --user NAME");
    if (!data.UserExists(user))
        return Fail("unknown user '" + ToUtf8(user) + "'");
    if (!data.OpenUser(user))
        return Fail("cannot read the journal of '" + ToUtf8(user) + "'");

    const std::vector<CDayRecord>& days = data.Journal().Days();
    CJournalDate start = data.Journal().CurrentDate();
    CJournalDate end = start;
    if (request.from && request.to) {
        start = *request.from;
        end = *request.to;
    } else if (!days.empty()) {
        start = days.front().Date();
        end = days.back().Date();
    }
    data.SetPrintRange(start, end);
    for (int report = 0; report < kPrintReportCount; ++report)
        data.SetReportFlag(report, request.reports[static_cast<size_t>(report)]);

    CPrintEngine engine(data);
    const std::vector<EReportKind> missing = engine.SelectedUnavailable();
    if (!engine.AnySelectedPrintable()) {
        return Fail("this version cannot print the chosen reports yet (" +
                    ToUtf8(CPrintEngine::ReportNames(missing)) + ")");
    }
    if (!missing.empty()) {
        std::cerr << "fitquill-desktop: left out, as this version cannot print them yet: "
                  << ToUtf8(CPrintEngine::ReportNames(missing)) << '\n';
    }
    const QString path = QFileInfo(FromPath(request.file)).absoluteFilePath();
    const SPdfResult result = WritePdfReport(engine, path, DefaultReportLayout());
    if (!result.error.isEmpty())
        return Fail(ToUtf8(result.error));
    std::cout << "Wrote " << result.pages << (result.pages == 1 ? " page" : " pages") << " to "
              << ToUtf8(QDir::toNativeSeparators(path)) << std::endl;
    return 0;
}

} // namespace

bool IsPrintPdfCommand(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], kOption) == 0)
            return true;
    }
    return false;
}

std::optional<SPrintPdfRequest> ParsePrintPdfRequest(const std::vector<std::string>& words,
                                                     std::string& error) {
    std::map<std::string, std::string> values;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word != kOption && word != "--user" && word != "--from" && word != "--to" &&
            word != "--reports") {
            error = "unknown option '" + word + "'";
            return std::nullopt;
        }
        if (values.count(word)) {
            error = word + " is given twice";
            return std::nullopt;
        }
        if (i + 1 >= words.size()) {
            error = word + " needs a value";
            return std::nullopt;
        }
        values[word] = words[++i];
    }
    SPrintPdfRequest request;
    request.file = values[kOption];
    if (request.file.empty()) {
        error = "--print-pdf needs a file name";
        return std::nullopt;
    }
    if (values.count("--user"))
        request.user = values["--user"];
    if (values.count("--from") != values.count("--to")) {
        error = "--from and --to go together";
        return std::nullopt;
    }
    if (values.count("--from")) {
        for (const char* option : {"--from", "--to"}) {
            std::optional<CJournalDate> date = ParseDate(values[option]);
            if (!date) {
                error = std::string("bad date '") + values[option] + "' for " + option +
                        " (YYYY-MM-DD, years 1904 to 2031)";
                return std::nullopt;
            }
            (std::strcmp(option, "--from") == 0 ? request.from : request.to) = date;
        }
        if (*request.to < *request.from) {
            error = "the --from date is after the --to date";
            return std::nullopt;
        }
    }
    if (values.count("--reports")) {
        request.reports.fill(false);
        bool any = false;
        std::stringstream list(values["--reports"]);
        std::string name;
        while (std::getline(list, name, ',')) {
            // "logbook, meals" reads as meant.
            name.erase(0, name.find_first_not_of(" \t"));
            name.erase(name.find_last_not_of(" \t") + 1);
            if (name.empty())
                continue;
            auto it = ReportWords().find(name);
            if (it == ReportWords().end()) {
                error =
                    "unknown report '" + name + "' (logbook, meals, journal, summary, chart, plan)";
                return std::nullopt;
            }
            request.reports[static_cast<size_t>(it->second)] = true;
            any = true;
        }
        if (!any) {
            error = "no report chosen (logbook, meals, journal, summary, chart, plan)";
            return std::nullopt;
        }
    }
    return request;
}

int RunPrintPdf(int argc, char* argv[]) {
    std::string error;
    const std::optional<SPrintPdfRequest> request =
        ParsePrintPdfRequest(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!request)
        return Fail(error);

    // No display is needed: the pages are drawn offscreen. The toolkit sees none of the
    // options.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietMessages);
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    QCoreApplication::setOrganizationName(QString::fromLatin1(CShellSettings::kOrganization));
    QCoreApplication::setApplicationName(QString::fromLatin1(CShellSettings::kApplication));
    RegisterTahoma();
    CConsolePrompt prompt;
    try {
        return Print(*request);
    } catch (const std::exception& failure) {
        return Fail(std::string("internal error: ") + failure.what());
    }
}

} // namespace fitquill
