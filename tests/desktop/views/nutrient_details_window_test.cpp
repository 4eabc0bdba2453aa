// SPDX-License-Identifier: GPL-3.0-or-later
// The Nutrient Details window on a day of three logged foods: what it reads out, that it
// follows the current day and the chosen period, and a picture of it in the build folder.
#include "tests/desktop/frame/shell_test_support.h"

#include "desktop/print/pdf_report.h"
#include "desktop/views/nutrients/nutrient_details_window.h"

#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

using namespace fitquill;
using namespace fitquill::test;

namespace {

const CJournalDate kMarch15(15, 3, 2024);

// A food entry whose nutrient n holds base * (n + 1), iron (12) as given.
CFoodItem Food(const char* name, float base, float iron) {
    CFoodItem entry;
    entry.SetName(name, true);
    std::vector<CNutrientValue> values;
    for (int n = 0; n < kNutrientCount; ++n)
        values.emplace_back(n, n == 12 ? iron : base * static_cast<float>(n + 1));
    EXPECT_TRUE(entry.SetStoredNutrients(values));
    entry.SetStoredServingRatio(1.0f);
    return entry;
}

class NutrientDetailsWindowTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        Create();
        CJournalDB& journal = m_data->Journal();
        journal.Profile().SetAge(34);
        journal.Profile().SetSex(1);
        journal.GoToDate(kMarch15);
        CDayRecord* day = journal.CurrentDay(true);
        // 30 + 20 + 10 mg of iron: above the upper limit of 45 mg.
        for (const CFoodItem& food :
             {Food("Lentil soup", 2.0f, 30), Food("Spinach", 1.0f, 20), Food("Orange", 3.0f, 10)})
            day->FoodLog().AddEntry(kSortByMeal, food, journal.IdGenerator());
    }

    static QString Described(const CNutrientDetailsWindow& window) {
        return window.View()->accessibleDescription();
    }
};

} // namespace

TEST_F(NutrientDetailsWindowTest, ShowsTheDayAgainstTheReferencesAndFollowsTheDay) {
    CNutrientDetailsWindow window(*m_data);
    window.show();
    window.SetTopFoodsNutrient(12);
    const QString text = Described(window);
    // Vitamin C (24): (2 + 1 + 3) * 25 = 150 mg of a woman's 75 mg.
    EXPECT_TRUE(text.contains("\nVit C             150 mg           75   200%        2000\n"))
        << text.toStdString();
    EXPECT_TRUE(text.contains("Iron             60.0 mg           18   333%          45  above "
                              "the upper limit"))
        << text.toStdString();
    EXPECT_TRUE(text.contains("References for a female aged 34"));
    EXPECT_TRUE(text.endsWith("Top Foods - Iron\nLentil soup, 30.0 mg, 50%\nSpinach, 20.0 mg, 33%\n"
                              "Orange, 10.0 mg, 17%"))
        << text.toStdString();

    // The picture shows iron's amount and bar in the warning colour.
    const QImage picture = window.grab().toImage();
    ASSERT_FALSE(picture.isNull());
    EXPECT_TRUE(picture.save(QDir::current().filePath("nutrient_details_window.png")));
    int warning = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            warning += picture.pixelColor(x, y) == CNutrientDetailsRenderer::WarningColor();
    EXPECT_GT(warning, 50);

    // The window follows the current day and the chosen period.
    m_data->Journal().GoToDate(CJournalDate(16, 3, 2024));
    m_data->NotifyDayChanged();
    EXPECT_TRUE(Described(window).contains("No food was logged in this period."));
    window.SetPeriod(ENutrientPeriod::Last7Days);
    EXPECT_TRUE(Described(window).contains("Sunday March 10, 2024 to Saturday March 16, 2024\n"
                                           "Daily average of 1 day with food logged (of 7 days)"))
        << Described(window).toStdString();
}

// The seventh report prints the print range's details; pdftotext reads the page back.
TEST_F(NutrientDetailsWindowTest, PrintsThePrintRangeReadBackWithPdftotext) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    for (int report = 0; report < CDietData::kReportCount; ++report)
        m_data->SetReportFlag(report, report == static_cast<int>(EReportKind::NutrientDetails));
    m_data->SetPrintRange(CJournalDate(14, 3, 2024), kMarch15);
    CPrintEngine engine(*m_data);
    const QString pdf = QDir::current().filePath("nutrient_details_print.pdf");
    const SPdfResult result = WritePdfReport(engine, pdf, DefaultReportLayout());
    ASSERT_TRUE(result.error.isEmpty()) << result.error.toStdString();
    EXPECT_EQ(result.pages, 1);
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(tool.waitForFinished(20000));
    const QString page = QString::fromUtf8(tool.readAllStandardOutput());
    for (const char* expected :
         {"Nutrient Details", "Thursday March 14, 2024 to Friday March 15, 2024",
          "Daily average of 1 day with food logged (of 2 days)", "Page 1 of 1",
          "Energy from Carbohydrate, Protein and Fat", "Top Foods - Calorie"})
        EXPECT_TRUE(page.contains(QString::fromLatin1(expected))) << expected << "\n"
                                                                  << page.toStdString();
    // The nutrient rows as the window shows them, columns apart.
    const QRegularExpression vitaminC(QStringLiteral("Vit C\\s+150\\s+mg\\s+75\\s+200%\\s+2000"));
    EXPECT_TRUE(page.contains(vitaminC)) << page.toStdString();
    const QRegularExpression selenium(QStringLiteral("Selenium\\s+126000\\s+mcg\\s+55"));
    EXPECT_TRUE(page.contains(selenium)) << page.toStdString();
    QProcess::execute(QStringLiteral("pdftoppm"),
                      {"-png", "-r", "60", "-singlefile", pdf,
                       QDir::current().filePath(QStringLiteral("nutrient_details_print"))});
}
