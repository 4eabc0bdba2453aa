// SPDX-License-Identifier: GPL-3.0-or-later
// The chart dialogs and the Daily pane, rendered offscreen and read back pixel by pixel. The
// pictures stay in the test's folder for people to look at.
#include "core/clock.h"
#include "core/report/chart_scales.h"
#include "core/report/historic_chart.h"
#include "core/report/weight_for_height.h"
#include "desktop/document/diet_data.h"
#include "desktop/document/prompt.h"
#include "desktop/views/charts/chart_dialogs.h"
#include "desktop/views/charts/chart_painting.h"
#include "desktop/views/charts/daily_chart_pane.h"
#include "desktop/views/charts/historic_weight_dialog.h"
#include "desktop/views/charts/history_chart_dialog.h"
#include "desktop/views/report_renderer.h"
#include "desktop/widgets/month_calendar.h"
#include "tools/fitquill/demo_journal.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

using namespace fitquill;

namespace {

const QColor kText(0, 0, 0);
const QColor kBack(255, 255, 255);

bool IsBack(const QImage& image, int x, int y) {
    return image.pixelColor(x, y) == kBack;
}

// The bounding box of the pixels in region that are not background.
QRect InkBox(const QImage& image, const QRect& region, int* count = nullptr) {
    QRect box;
    int found = 0;
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            if (!IsBack(image, x, y)) {
                box |= QRect(x, y, 1, 1);
                ++found;
            }
    if (count)
        *count = found;
    return box;
}

int CountColour(const QImage& image, const QColor& colour) {
    int found = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == colour)
                ++found;
    return found;
}

void Keep(const QImage& image, const char* name) {
    EXPECT_TRUE(image.save(QString::fromLatin1(name))) << name;
}

class ChartsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { QStandardPaths::setTestModeEnabled(true); }

    void SetUp() override {
        CClock::SetFixedDate(CClock::ParseIsoDate("2004-06-30"));
        ASSERT_TRUE(m_folder.isValid());
        m_data = std::make_unique<CDietData>(
            SDietDataSetup{nullptr, SInstallPath{true, m_folder.path().toStdString() + "/"}, {}});
        m_data->SetTextColor(kText, true);
        m_data->SetBackColor(kBack, true);
    }
    void TearDown() override {
        m_data.reset();
        CClock::SetFixedDate(std::nullopt);
    }

    CJournalDB& Journal() { return m_data->Journal(); }

    void Weigh(const CJournalDate& date, double weight) {
        Journal().GoToDate(date);
        Journal().CurrentDay(true)->SetWeight(weight, false, Journal().Profile());
    }

    void Demo(int days) {
        SDemoOptions options;
        options.days = days;
        options.lastDay = CJournalDate(30, 6, 2004);
        CDemoJournal::Fill(Journal(), CDemoJournal::BuiltInFoods(), options);
        Journal().GoToDate(options.lastDay);
    }

    QTemporaryDir m_folder;
    CScriptedPrompt m_prompt;
    std::unique_ptr<CDietData> m_data;
};

// Week charts: the axis is 45 pixels in, the first day 15 pixels further, days 30 apart.
constexpr int kAxisX = 45;
int WeekDayX(int day) {
    return kAxisX + 15 + day * 30;
}

} // namespace

TEST_F(ChartsTest, OneWeightInAWeekIsOneCrossOrTheTwoValuesText) {
    Weigh(CJournalDate(15, 6, 2004), 150); // a Tuesday
    m_data->ChartSettings().style = kStylePoint;
    CHistoryChartDialog dialog(*m_data, CHistoryChartDialog::kWeightChart);
    dialog.ShowDate(CJournalDate(15, 6, 2004));
    EXPECT_EQ(dialog.windowTitle(), "Weight Chart");
    EXPECT_EQ(dialog.PeriodLabel()->text(), "6/13/2004 - 6/19/2004");
    EXPECT_EQ(dialog.StyleList()->currentText(), "Point");

    QImage image = dialog.Area()->grab().toImage();
    // One step, top label 154: 150 sits four labels down, 20 + 4 x 20 pixels from the top.
    int ink = 0;
    const QRect cross = InkBox(image, QRect(kAxisX + 2, 0, image.width() - kAxisX - 2, 198), &ink);
    EXPECT_GE(ink, 7);
    EXPECT_TRUE(QRect(WeekDayX(2) - 5, 100 - 5, 11, 11).contains(cross))
        << cross.x() << "," << cross.y() << " " << cross.width() << "x" << cross.height();
    EXPECT_FALSE(IsBack(image, kAxisX, 100)); // the axis
    Keep(dialog.grab().toImage(), "weight_chart_week_point.png");

    dialog.StyleList()->setCurrentIndex(kStyleLine);
    EXPECT_EQ(m_data->ChartSettings().style, kStyleLine);
    EXPECT_STREQ(PeriodWeightChartMessage(dialog.Series(), kStyleLine), kLineNeedsTwoText);
    image = dialog.Area()->grab().toImage();
    EXPECT_TRUE(IsBack(image, kAxisX, 100)) << "no axis under the text";
    EXPECT_TRUE(IsBack(image, WeekDayX(2), 100)) << "no cross either";
    const QRect text = InkBox(image, image.rect());
    EXPECT_TRUE(text.contains(image.rect().center()) || text.height() < 60) << "centred text";
    EXPECT_GT(text.width(), 100);

    // A second weight two days later draws a line between the two.
    Weigh(CJournalDate(17, 6, 2004), 151);
    dialog.ShowDate(CJournalDate(17, 6, 2004));
    image = dialog.Area()->grab().toImage();
    // 151 and 150 with the top label 155: 100 and 120 pixels down, at Tuesday and Thursday.
    EXPECT_FALSE(IsBack(image, (WeekDayX(2) + WeekDayX(4)) / 2, 110));
    EXPECT_TRUE(IsBack(image, WeekDayX(5) + 10, 120));
    Keep(dialog.grab().toImage(), "weight_chart_week_line.png");
    // What a screen reader says of it.
    EXPECT_EQ(dialog.Area()->accessibleName(), "Weight, 6/13/2004 - 6/19/2004");
    EXPECT_EQ(dialog.Area()->accessibleDescription(),
              "first 150 on 6/15/2004, last 151 on 6/17/2004, lowest 150, highest 151");
}

TEST_F(ChartsTest, WeightsFarApartShowTheLargeDeltaTextAndTheMonthRemembersItsChoices) {
    Weigh(CJournalDate(14, 6, 2004), 100);
    Weigh(CJournalDate(16, 6, 2004), 300);
    CHistoryChartDialog dialog(*m_data, CHistoryChartDialog::kWeightChart);
    dialog.ShowDate(CJournalDate(16, 6, 2004));
    EXPECT_STREQ(PeriodWeightChartMessage(dialog.Series(), kStyleLine), kLargeDeltaText);
    EXPECT_STREQ(PeriodWeightChartMessage(dialog.Series(), kStylePoint), kLargeDeltaText);
    const QImage image = dialog.Area()->grab().toImage();
    EXPECT_TRUE(IsBack(image, kAxisX, 100));
    EXPECT_GT(InkBox(image, image.rect()).width(), 100);

    dialog.DurationList()->setCurrentIndex(1);
    EXPECT_EQ(dialog.PeriodLabel()->text(), "June 2004");
    EXPECT_EQ(dialog.Series().DayCount(), 30);
    dialog.StyleList()->setCurrentIndex(kStylePoint);
    // The next dialog starts with the month and points.
    CHistoryChartDialog again(*m_data, CHistoryChartDialog::kWeightChart);
    EXPECT_EQ(again.DurationList()->currentText(), "Month");
    EXPECT_EQ(again.StyleList()->currentText(), "Point");
    EXPECT_EQ(again.ChartList()->count(), 1);
}

TEST_F(ChartsTest, HistogramBarsAreRedOverTheTargetAndTheStepFollowsTheRules) {
    Demo(60);
    m_data->ChartSettings().duration = 0;
    m_data->ChartSettings().nutrient = 0;
    CHistoryChartDialog dialog(*m_data, CHistoryChartDialog::kHistogram);
    EXPECT_EQ(dialog.windowTitle(), "Histogram");
    ASSERT_EQ(dialog.ChartList()->count(), 6);
    EXPECT_EQ(dialog.ChartList()->itemText(5), "S.Fat");

    // Weeks of June until both colours were seen; every bar's colour follows its target.
    const int openedStep = dialog.Scale().Step();
    EXPECT_EQ(openedStep, CHistogramScale::StepFor(dialog.Series().Maximum(), false));
    int red = 0, blue = 0;
    const int baseline = 22 + 9 * 20;
    for (int day = 1; day <= 28 && (red == 0 || blue == 0); day += 7) {
        dialog.ShowDate(CJournalDate(day, 6, 2004));
        const CPeriodSeries& series = dialog.Series();
        EXPECT_EQ(dialog.Scale().Step(), openedStep) << "the step opened with stays";
        const QImage image = dialog.Area()->grab().toImage();
        for (int i = 0; i < 7; ++i) {
            if (series.Value(i) < 100)
                continue;
            const bool over = series.Target(i) >= 0 && series.Value(i) > series.Target(i);
            const QColor pixel = image.pixelColor(WeekDayX(i) + 10, baseline - 2);
            EXPECT_EQ(pixel, over ? kDarkRed : kDarkBlue) << "day " << day << " + " << i;
            (over ? red : blue)++;
            if (over && red == 1)
                Keep(dialog.grab().toImage(), "histogram_calories_week.png");
        }
    }
    EXPECT_GT(red, 0);
    EXPECT_GT(blue, 0);

    // A new nutrient takes the step of its largest value, a new duration keeps it, and the
    // scale list sets it directly.
    dialog.ChartList()->setCurrentIndex(3); // fiber
    const int fiberStep = CHistogramScale::StepFor(dialog.Series().Maximum(), false);
    EXPECT_EQ(dialog.Scale().Step(), fiberStep);
    EXPECT_EQ(dialog.StyleList()->currentText(), QString::number(fiberStep));
    dialog.DurationList()->setCurrentIndex(1);
    EXPECT_EQ(dialog.Scale().Step(), fiberStep);
    dialog.StyleList()->setCurrentIndex(CHistogramScale::StepIndex(200));
    EXPECT_EQ(dialog.Scale().Step(), 200);
    EXPECT_EQ(dialog.Scale().Top(), 1800);
    Keep(dialog.grab().toImage(), "histogram_fiber_month.png");
    EXPECT_EQ(m_data->ChartSettings().nutrient, 3);
}

TEST_F(ChartsTest, HistoricChartFramesItsTextBelowTwoWeighedDaysAndDrawsTheTrendWhenAsked) {
    Weigh(CJournalDate(28, 6, 2004), 180);
    m_data->ChartSettings().historicPeriod = 0;
    CHistoricWeightDialog dialog(*m_data);
    dialog.ShowDate(CJournalDate(30, 6, 2004));
    EXPECT_EQ(dialog.windowTitle(), "Historic Weight (7-Day)");
    QImage image = dialog.Area()->grab().toImage();
    // The frame's top edge runs 20 pixels in from the edges.
    for (int x = 20; x < image.width() - 20; x += 10)
        ASSERT_EQ(image.pixelColor(x, 20), kText) << x;
    EXPECT_TRUE(IsBack(image, 10, 10));
    Keep(dialog.grab().toImage(), "historic_weight_too_few.png");

    Weigh(CJournalDate(25, 6, 2004), 182);
    dialog.PeriodButton(1)->click();
    EXPECT_EQ(dialog.windowTitle(), "Historic Weight (14-Day)");
    EXPECT_EQ(m_data->ChartSettings().historicPeriod, 1);
    image = dialog.Area()->grab().toImage();
    EXPECT_TRUE(IsBack(image, 100, 20)) << "no frame";
    EXPECT_EQ(CountColour(image, QColor(0, 128, 0)), 0) << "no trend";

    dialog.TrendBox()->setChecked(true);
    EXPECT_TRUE(m_data->ChartSettings().historicTrend);
    image = dialog.Area()->grab().toImage();
    EXPECT_GT(CountColour(image, QColor(0, 128, 0)), 20);
    EXPECT_EQ(dialog.Renderer().TrendText(),
              "Trend: at least 14 days of weights are needed to tell its weekly rate.");
    CHistoricWeightDialog again(*m_data);
    EXPECT_TRUE(again.TrendBox()->isChecked());
    EXPECT_EQ(again.windowTitle(), "Historic Weight (14-Day)");
}

TEST_F(ChartsTest, FiveYearsWithTheTrendOnTenYearsOfJournal) {
    Demo(3653);
    Journal().Profile().SetGoalWeight(150, false);
    m_data->ChartSettings().historicPeriod = 6;
    m_data->ChartSettings().historicTrend = true;
    CHistoricWeightDialog dialog(*m_data);
    EXPECT_EQ(dialog.windowTitle(), "Historic Weight (5-Year)");
    const CHistoricWeightSeries& series = dialog.Renderer().Series();
    EXPECT_EQ(series.Label(0), "6/30/1999");
    EXPECT_EQ(series.Label(5), "6/30/2004");
    EXPECT_TRUE(dialog.Renderer().TrendText().startsWith("Trend: "));
    const QImage image = dialog.Area()->grab().toImage();
    EXPECT_GT(CountColour(image, QColor(0, 128, 0)), 200);
    Keep(dialog.grab().toImage(), "historic_weight_5_year_trend.png");
}

TEST_F(ChartsTest, DailyChartMarksTheWeightsAtTheHeightOrSaysWhatIsMissing) {
    bool closed = false;
    CChartDialogs dialogs(*m_data);
    EXPECT_EQ(m_data->ChartDialogs(), &dialogs);
    std::unique_ptr<QWidget> widget(
        dialogs.CreateDailyChart(nullptr, [&closed] { closed = true; }));
    auto* pane = qobject_cast<CDailyChartPane*>(widget.get());
    ASSERT_NE(pane, nullptr);
    // About as wide as the column of the day entry tabs.
    pane->resize(270, 400);
    pane->show();
    Weigh(CJournalDate(30, 6, 2004), 180);
    m_data->RefreshViews();
    EXPECT_EQ(pane->Caption()->text(), "Male Weight Chart");
    QImage image = pane->Area()->grab().toImage();
    EXPECT_TRUE(IsBack(image, 150, 100)) << "text only without height and goal";
    EXPECT_GT(InkBox(image, image.rect()).width(), 100);

    CUserProfile& profile = Journal().Profile();
    profile.SetHeightFeetInches(5, 10);
    profile.SetGoalWeight(160, false);
    profile.SetSex(1);
    m_data->RefreshViews();
    EXPECT_EQ(pane->Caption()->text(), "Female Weight Chart");
    image = pane->Area()->grab().toImage();
    const CWeightForHeightChart chart(1, false);
    const QRect area = pane->Area()->rect();
    const QPoint weight = WeightForHeightPoint(area, chart, 70, 180).toPoint();
    const QPoint goal = WeightForHeightPoint(area, chart, 70, 160).toPoint();
    EXPECT_EQ(image.pixelColor(weight), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(goal), QColor(Qt::white));
    EXPECT_LT(weight.y(), goal.y()); // heavier is higher up
    // 180 lbs at 5'10" is over (25.8), 160 is normal: different zone colours beside them.
    EXPECT_NE(image.pixelColor(weight - QPoint(8, 0)), image.pixelColor(goal - QPoint(8, 0)));
    Keep(pane->grab().toImage(), "daily_weight_for_height.png");

    pane->CloseButton()->click();
    EXPECT_TRUE(closed);
}

TEST_F(ChartsTest, ChartsTabButtonsOpenTheirDialogsWithTheirChoices) {
    CChartDialogs dialogs(*m_data);
    // Each call runs its dialog modally; the check runs inside and closes it.
    auto inspect = [](std::function<void(QDialog&)> check) {
        QTimer::singleShot(0, [check] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            check(*dialog);
            dialog->accept();
        });
    };
    inspect([](QDialog& dialog) {
        auto& chart = dynamic_cast<CHistoryChartDialog&>(dialog);
        EXPECT_EQ(chart.windowTitle(), "Histogram");
        EXPECT_EQ(chart.ChartList()->currentText(), "Fiber");
    });
    dialogs.ShowHistogram(nullptr, 3);
    inspect([](QDialog& dialog) {
        auto& chart = dynamic_cast<CHistoryChartDialog&>(dialog);
        EXPECT_EQ(chart.windowTitle(), "Weight Chart");
        EXPECT_EQ(chart.DurationList()->currentText(), "Month");
    });
    dialogs.ShowWeightChart(nullptr, 1);
    m_data->ChartSettings().historicPeriod = 4;
    inspect([](QDialog& dialog) { EXPECT_EQ(dialog.windowTitle(), "Historic Weight (6-Month)"); });
    dialogs.ShowHistoricWeight(nullptr);
    EXPECT_EQ(m_data->ChartSettings().nutrient, 3);
    EXPECT_EQ(m_data->ChartSettings().duration, 1);
}

TEST_F(ChartsTest, PrintedChartCoversTheScopeWithTheSmallestRange) {
    struct {
        CJournalDate start, end;
        int type;
    } cases[] = {
        {CJournalDate(24, 6, 2004), CJournalDate(30, 6, 2004), 0},
        {CJournalDate(23, 6, 2004), CJournalDate(30, 6, 2004), 0}, // eight days
        {CJournalDate(22, 6, 2004), CJournalDate(30, 6, 2004), 1},
        {CJournalDate(28, 2, 2004), CJournalDate(31, 3, 2004), 2},
        {CJournalDate(27, 2, 2004), CJournalDate(31, 3, 2004), 3},
        // Month steps that pass a February keep its 28th: the year starts on 6/28/2003.
        {CJournalDate(28, 6, 2003), CJournalDate(30, 6, 2004), 5},
        {CJournalDate(27, 6, 2003), CJournalDate(30, 6, 2004), 6},
        {CJournalDate(1, 1, 1990), CJournalDate(30, 6, 2004), 6},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CHistoricWeightRenderer::RangeTypeCovering(c.start, c.end), c.type)
            << c.start.Day() << "/" << c.start.Month() << "/" << c.start.Year();

    Demo(40);
    auto renderer = CreateReportRenderer(EReportKind::WeightChart, *m_data);
    ASSERT_NE(renderer, nullptr);
    const SReportScope scope{{}, CJournalDate(1, 6, 2004), CJournalDate(30, 6, 2004)};
    EXPECT_EQ(renderer->UnitCount(scope), 1);
    EXPECT_EQ(renderer->UnitCount(SReportScope{}), 0);
    QImage page(800, 700, QImage::Format_RGB32);
    page.fill(kBack);
    QPainter painter(&page);
    const int height = renderer->UnitHeight(painter, scope, 0, 800);
    EXPECT_GT(height, 400);
    renderer->Draw(painter, QRect(0, 0, 800, height), scope, 0, 0);
    painter.end();
    // The title line, then a chart whose plot starts 40 pixels in.
    EXPECT_GT(InkBox(page, QRect(0, 0, 300, 20)).width(), 50);
    EXPECT_FALSE(IsBack(page, 40, 300));

    // On paper: pens of 2 units, dashes 5 units long every 10 units.
    const auto paper = CHistoricWeightRenderer::Pens(true, 3.125, kText);
    EXPECT_DOUBLE_EQ(paper.line.widthF(), 6.25);
    ASSERT_EQ(paper.dotted.dashPattern().size(), 2);
    EXPECT_DOUBLE_EQ(paper.dotted.dashPattern()[0] * paper.dotted.widthF(), 5 * 3.125);
    EXPECT_DOUBLE_EQ(paper.dotted.dashPattern()[1] * paper.dotted.widthF(), 5 * 3.125);
    EXPECT_EQ(paper.dotted.capStyle(), Qt::FlatCap);
    const auto screen = CHistoricWeightRenderer::Pens(false, 1, kText);
    EXPECT_EQ(screen.line.width(), 1);
    EXPECT_EQ(screen.dotted.style(), Qt::DotLine);

    // A PDF page is paper: the same chart, written out and kept for people to look at.
    const QString pdf = QStringLiteral("historic_weight_print.pdf");
    {
        QPdfWriter writer(pdf);
        QPainter pdfPainter(&writer);
        const int width = writer.width();
        renderer->Draw(pdfPainter,
                       QRect(0, 0, width, renderer->UnitHeight(pdfPainter, scope, 0, width)), scope,
                       0, 0);
    }
    EXPECT_GT(QFileInfo(pdf).size(), 1000);
}
