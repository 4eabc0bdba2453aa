// SPDX-License-Identifier: GPL-3.0-or-later
// The printed meal and exercise log and the printed daily journal, drawn on an image.
#include "tests/desktop/frame/shell_test_support.h"

#include "desktop/views/journal/daily_journal_renderer.h"
#include "desktop/views/report_renderer.h"
#include "desktop/widgets/fonts.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

using namespace fitquill;
using namespace fitquill::test;

namespace {

const CJournalDate kMarch15(15, 3, 2024);

// Ann's 15 March with two food entries, one exercise and a three-line note.
class DayReports : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        Create();
        CJournalDB& journal = m_data->Journal();
        journal.GoToDate(kMarch15);
        CDayRecord* day = journal.CurrentDay(true);
        for (const char* name : {"Toast", "Soup"}) {
            CFoodItem item;
            item.SetName(name, true);
            item.SetBaseMeasure({1, kUnitCup}, false);
            item.SetNutrientValue(kNutrientCalories, 100);
            item.SetServing({1, kUnitCup});
            day->FoodLog().AddEntry(kSortAlphabetical, item, journal.IdGenerator());
        }
        CExerciseEntry walk;
        walk.SetName("Walking");
        walk.SetMinutes(30);
        walk.SetCalories(120);
        day->Exercises().Add(walk, journal.IdGenerator());
        day->SetNote("Walked to work\nLong day\r\n" + std::string(300, 'x'));
        m_data->SetSortMode(kSortAlphabetical);
        scope.day = kMarch15;
        image.fill(Qt::white);
    }

    static int InkedRows(const QImage& picture) {
        int rows = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if (picture.pixelColor(x, y) != QColor(Qt::white)) {
                    ++rows;
                    break;
                }
        return rows;
    }

    SReportScope scope;
    QImage image{400, 800, QImage::Format_ARGB32};
};

} // namespace

TEST_F(DayReports, MealLogPrintsEveryRowInThreeLines) {
    std::unique_ptr<IReportRenderer> renderer = CreateReportRenderer(EReportKind::MealLog, *m_data);
    ASSERT_NE(renderer, nullptr);
    EXPECT_EQ(renderer->UnitCount(scope), 2 + 1 + 9);
    QPainter painter(&image);
    const int line = QFontMetrics(CustomFont(), &image).height();
    EXPECT_EQ(renderer->UnitHeight(painter, scope, 0, 400), 3 * line);
    renderer->Draw(painter, image.rect(), scope, 0, renderer->UnitCount(scope) - 1);
    painter.end();
    EXPECT_GT(InkedRows(image), 0);
    EXPECT_LT(InkedRows(image), 12 * 3 * line) << "nothing drawn below the last row";

    SReportScope empty;
    empty.day = CJournalDate(1, 1, 2020);
    EXPECT_EQ(renderer->UnitCount(empty), 9) << "a day without a record";
}

TEST_F(DayReports, DailyJournalWrapsEachNoteLineToTheWidth) {
    std::unique_ptr<IReportRenderer> renderer =
        CreateReportRenderer(EReportKind::DailyJournal, *m_data);
    ASSERT_NE(renderer, nullptr);
    ASSERT_EQ(renderer->UnitCount(scope), 3);
    QPainter painter(&image);
    const int line = QFontMetrics(CustomFont(), &image).height();
    EXPECT_EQ(renderer->UnitHeight(painter, scope, 0, 400), line);
    const int longHeight = renderer->UnitHeight(painter, scope, 2, 100);
    EXPECT_GT(longHeight, 3 * line) << "300 letters do not fit 100 pixels";
    renderer->Draw(painter, QRect(0, 0, 100, 800), scope, 0, 2);
    painter.end();
    EXPECT_GT(InkedRows(image), 0);

    SReportScope empty;
    empty.day = CJournalDate(1, 1, 2020);
    EXPECT_EQ(renderer->UnitCount(empty), 0);
}

TEST_F(DayReports, WrappingBreaksAtBlanksAndLineEndsAndCutsLongWords) {
    const QFont font = CustomFont();
    const QFontMetrics metrics(font, &image);
    const int width = metrics.horizontalAdvance(QStringLiteral("alpha beta")) + 1;
    const QStringList lines = CDailyJournalRenderer::WrapLines(
        QStringLiteral("alpha beta gamma\r\ndelta\rword"), font, &image, width);
    EXPECT_EQ(lines, (QStringList{"alpha beta", "gamma", "delta", "word"}));

    const QStringList cut =
        CDailyJournalRenderer::WrapLines(QString(50, QLatin1Char('m')), font, &image, width);
    ASSERT_GT(cut.size(), 1);
    EXPECT_EQ(cut.join(QString()), QString(50, QLatin1Char('m'))) << "nothing lost";
    for (const QString& piece : cut)
        EXPECT_LE(metrics.horizontalAdvance(piece), width);
}
