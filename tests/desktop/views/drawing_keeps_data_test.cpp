// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing never changes data: every page's renderer, drawn for every day of a demonstration
// journal, leaves the journal's packed bytes as they were, also right after a profile edit
// that the days' stored values do not reflect yet.
#include "tests/desktop/frame/shell_test_support.h"

#include "core/journal/journal_records.h"
#include "desktop/views/report_renderer.h"
#include "desktop/views/table_renderer.h"
#include "tools/fitquill/demo_journal.h"

#include <QImage>
#include <QPainter>

using namespace fitquill;
using namespace fitquill::test;

namespace {

using DrawingKeepsData = ShellTest;

void DrawWhole(IReportRenderer& renderer, const SReportScope& scope) {
    QImage image(500, 4000, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const int count = renderer.UnitCount(scope);
    for (int unit = 0; unit < count; ++unit)
        renderer.UnitHeight(painter, scope, unit, image.width());
    if (count > 0)
        renderer.Draw(painter, image.rect(), scope, 0, count - 1);
}

} // namespace

TEST_F(DrawingKeepsData, EveryPageOfEveryDayLeavesTheJournalsBytesAlone) {
    Create();
    CJournalDB& journal = m_data->Journal();
    SDemoOptions options;
    options.days = 45;
    options.lastDay = CJournalDate(30, 6, 2004);
    CDemoJournal::Fill(journal, CDemoJournal::BuiltInFoods(), options);
    CJournalDate first = options.lastDay;
    first.StepDays(1 - options.days);

    std::vector<std::unique_ptr<IReportRenderer>> renderers;
    for (EReportKind kind :
         {EReportKind::DietPlan, EReportKind::Logbook, EReportKind::MealLog,
          EReportKind::DailyJournal, EReportKind::SummaryTable, EReportKind::WeightChart})
        renderers.push_back(CreateReportRenderer(kind, *m_data));
    CTableRenderer nutrientTables(*m_data, CTableRenderer::EKind::Nutrient);

    int age = journal.Profile().Age();
    for (CJournalDate day = first; !(options.lastDay < day); day.StepDays(1)) {
        journal.GoToDate(day);
        // An edit of the profile since the day was visited: its stored BMR is behind now.
        journal.Profile().SetAge(age = age == 40 ? 41 : 40);
        const auto before = PackJournalRecords(journal);
        const SReportScope scope{day, first, options.lastDay};
        for (const auto& renderer : renderers)
            DrawWhole(*renderer, scope);
        for (int table = 0; table < kNutrientTableCount; ++table) {
            m_data->SetNutrientTable(table);
            DrawWhole(nutrientTables, scope);
        }
        const auto after = PackJournalRecords(journal);
        ASSERT_EQ(after.size(), before.size()) << day.LongText();
        for (size_t record = 0; record < after.size(); ++record)
            ASSERT_TRUE(after[record] == before[record])
                << "record " << record << " changed drawing " << day.LongText();
        ASSERT_EQ(journal.CurrentDate(), day);
    }
}
