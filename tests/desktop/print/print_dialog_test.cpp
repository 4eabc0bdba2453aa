// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/print/diet_print_dialog.h"

#include "core/clock.h"
#include "core/journal/day_record.h"
#include "desktop/document/diet_data.h"
#include "desktop/widgets/date_dialog.h"
#include "desktop/widgets/month_calendar.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

using namespace fitquill;

namespace {

CJournalDate D(int day, int month, int year) {
    return CJournalDate(day, month, year);
}

QString Long(const CJournalDate& date) {
    return QString::fromStdString(date.LongText());
}

class PrintDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        CClock::SetFixedDate(CClock::ParseIsoDate("2024-03-15"));
        SDietDataSetup setup;
        setup.installPath = SInstallPath{true, m_folder.path().toStdString() + "/"};
        m_data = std::make_unique<CDietData>(std::move(setup));
        for (const CJournalDate& day : {D(3, 3, 2024), D(9, 3, 2024), D(20, 3, 2024)})
            m_data->Journal().InsertDay(CDayRecord(day));
        m_data->Journal().GoToDate(D(12, 3, 2024));
        m_data->SetPrintRange(D(5, 3, 2024), D(7, 3, 2024));
    }
    void TearDown() override {
        m_data.reset();
        CClock::SetFixedDate(std::nullopt);
    }

    std::unique_ptr<CDietPrintDialog> Open(std::vector<EReportKind> unavailable = {}) {
        return std::make_unique<CDietPrintDialog>(*m_data, EPrintDialogMode::ExportPdf, nullptr,
                                                  std::move(unavailable));
    }

    QTemporaryDir m_folder;
    std::unique_ptr<CDietData> m_data;
};

} // namespace

TEST_F(PrintDialogTest, OpensWithRememberedFlagsAndTheDocumentsRange) {
    m_data->SetReportFlag(static_cast<int>(EReportKind::DailyJournal), false);
    auto dialog = Open({EReportKind::WeightChart});
    EXPECT_EQ(dialog->ReportBox(EReportKind::MealLog)->text(), "Meal && Exercise Log");
    EXPECT_EQ(dialog->ReportBox(EReportKind::DietPlan)->text(), "Diet PLan");
    EXPECT_TRUE(dialog->ReportBox(EReportKind::Logbook)->isChecked());
    EXPECT_FALSE(dialog->ReportBox(EReportKind::DailyJournal)->isChecked());
    // A report this version cannot print is shown off and cannot be chosen.
    EXPECT_FALSE(dialog->ReportBox(EReportKind::WeightChart)->isChecked());
    EXPECT_FALSE(dialog->ReportBox(EReportKind::WeightChart)->isEnabled());
    bool noted = false;
    for (QLabel* label : dialog->findChildren<QLabel*>())
        noted |= label->text() == "This version cannot print yet: Historic Weight Chart.";
    EXPECT_TRUE(noted);

    EXPECT_TRUE(dialog->RangeButton()->isChecked());
    EXPECT_TRUE(dialog->StartButton()->isEnabled());
    EXPECT_EQ(dialog->StartLabel()->text(), "Tuesday March 5, 2024");
    EXPECT_EQ(dialog->EndLabel()->text(), "Thursday March 7, 2024");
    EXPECT_EQ(dialog->OkButton()->text(), "Save...");
    // A picture for a person to look at, in the build folder.
    dialog->adjustSize();
    dialog->grab().save(QStringLiteral("print_dialog.png"));

    // OK stores the boxes; the unprintable report keeps its remembered choice.
    dialog->ReportBox(EReportKind::Logbook)->setChecked(false);
    dialog->OkButton()->click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(m_data->ReportFlag(static_cast<int>(EReportKind::Logbook)));
    EXPECT_TRUE(m_data->ReportFlag(static_cast<int>(EReportKind::WeightChart)));
}

TEST_F(PrintDialogTest, OkAndPreviewNeedAReport) {
    auto dialog = Open({EReportKind::DietPlan});
    for (EReportKind kind : {EReportKind::Logbook, EReportKind::MealLog, EReportKind::DailyJournal,
                             EReportKind::SummaryTable, EReportKind::WeightChart}) {
        EXPECT_TRUE(dialog->OkButton()->isEnabled());
        dialog->ReportBox(kind)->click();
    }
    // The plan is remembered as chosen but cannot be printed: it does not count.
    EXPECT_TRUE(m_data->ReportFlag(static_cast<int>(EReportKind::DietPlan)));
    EXPECT_FALSE(dialog->OkButton()->isEnabled());
    EXPECT_FALSE(dialog->PreviewButton()->isEnabled());
    dialog->ReportBox(EReportKind::SummaryTable)->click();
    EXPECT_TRUE(dialog->OkButton()->isEnabled());
    EXPECT_TRUE(dialog->PreviewButton()->isEnabled());

    // Preview closes the dialog with its own answer and stores the flags too.
    dialog->PreviewButton()->click();
    EXPECT_EQ(dialog->result(), CDietPrintDialog::kPreview);
    EXPECT_FALSE(m_data->ReportFlag(static_cast<int>(EReportKind::Logbook)));
    EXPECT_TRUE(m_data->ReportFlag(static_cast<int>(EReportKind::SummaryTable)));
}

TEST_F(PrintDialogTest, StartAfterEndAndEndBeforeStartMakeBothTheSame) {
    auto dialog = Open();
    dialog->SetStart(D(10, 3, 2024));
    EXPECT_EQ(m_data->PrintStart(), D(10, 3, 2024));
    EXPECT_EQ(m_data->PrintEnd(), D(10, 3, 2024));
    EXPECT_EQ(dialog->EndLabel()->text(), Long(D(10, 3, 2024)));

    dialog->SetEnd(D(1, 3, 2024));
    EXPECT_EQ(m_data->PrintStart(), D(1, 3, 2024));
    EXPECT_EQ(m_data->PrintEnd(), D(1, 3, 2024));
    EXPECT_EQ(dialog->StartLabel()->text(), "Friday March 1, 2024");

    // Dates in order stay as chosen.
    dialog->SetEnd(D(4, 3, 2024));
    EXPECT_EQ(m_data->PrintStart(), D(1, 3, 2024));
    EXPECT_EQ(m_data->PrintEnd(), D(4, 3, 2024));
}

TEST_F(PrintDialogTest, AllThenRangeLeavesFirstDayToCurrentDay) {
    auto dialog = Open();
    dialog->AllButton()->click();
    EXPECT_EQ(m_data->PrintStart(), D(3, 3, 2024));
    EXPECT_EQ(m_data->PrintEnd(), D(20, 3, 2024));
    EXPECT_FALSE(dialog->StartButton()->isEnabled());
    EXPECT_FALSE(dialog->EndButton()->isEnabled());
    EXPECT_FALSE(dialog->EndLabel()->isEnabled());
    EXPECT_EQ(dialog->EndLabel()->text(), "Wednesday March 20, 2024");

    dialog->RangeButton()->click();
    EXPECT_EQ(m_data->PrintStart(), D(3, 3, 2024));
    EXPECT_EQ(m_data->PrintEnd(), D(12, 3, 2024));
    EXPECT_TRUE(dialog->StartButton()->isEnabled());

    // A current day before the first record: the range is the first day alone.
    m_data->Journal().GoToDate(D(1, 2, 2024));
    dialog->RangeButton()->click();
    EXPECT_EQ(m_data->PrintStart(), D(3, 3, 2024));
    EXPECT_EQ(m_data->PrintEnd(), D(3, 3, 2024));
}

TEST_F(PrintDialogTest, SetDateOpensTheCaptionedDateDialog) {
    auto dialog = Open();
    QString caption;
    QTimer::singleShot(0, [&caption] {
        auto* date = qobject_cast<CDateDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(date, nullptr);
        caption = date->windowTitle();
        date->Calendar()->SetDate(D(25, 3, 2024));
        date->accept();
    });
    dialog->EndButton()->click();
    EXPECT_EQ(caption, "End Date");
    EXPECT_EQ(m_data->PrintEnd(), D(25, 3, 2024));
    EXPECT_EQ(m_data->PrintStart(), D(5, 3, 2024));
}
