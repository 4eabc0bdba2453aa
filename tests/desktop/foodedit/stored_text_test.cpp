// SPDX-License-Identifier: GPL-3.0-or-later
// Stored text end to end: what people type is kept as its Windows-1252 bytes and shown, printed
// and exported as the same characters; what the code page cannot hold is refused at the box.
#include "core/calc/units.h"
#include "core/journal/day_record.h"
#include "desktop/foodedit/food_data_dialogs.h"
#include "desktop/foodedit/food_fields.h"
#include "desktop/foodedit/food_item_dialog.h"
#include "desktop/print/pdf_report.h"
#include "desktop/views/journal/daily_notes_page.h"
#include "desktop/widgets/numeric_edit.h"
#include "tests/desktop/foodedit/food_test_support.h"

#include <QKeyEvent>
#include <QProcess>
#include <QStandardPaths>
#include <QToolTip>

#include <fstream>
#include <memory>

namespace fitquill::test {
namespace {

// Types text as key presses that carry it, one character (or surrogate pair) at a time, as an
// input method does for characters without a key of their own.
void Type(QWidget* widget, const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text[i].isHighSurrogate() ? 2 : 1;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text.mid(i, length));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, text.mid(i, length));
        QApplication::sendEvent(widget, &release);
        i += length - 1;
    }
}

QString PdfText(const QString& pdf) {
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, "-"});
    if (!tool.waitForFinished(20000) || tool.exitCode() != 0)
        return {};
    return QString::fromUtf8(tool.readAllStandardOutput());
}

using StoredTextTest = FoodEditTest;

TEST_F(StoredTextTest, TypedTextIsStoredAsWindows1252AndShownAsTyped) {
    const QString name = QStringLiteral("Café crème ½");
    const QString note = QStringLiteral("Müsli – 2 €");
    const std::string storedName = "Caf\xE9 cr\xE8me \xBD";
    const std::string storedNote = "M\xFCsli \x96 2 \x80";

    std::unique_ptr<CFoodItemDialog> dialog(CFoodItemDialog::NewItem(Db(), 1, 0, nullptr));
    CFoodFields& fields = *dialog->Fields();
    fields.NameEdit()->setFocus();
    Type(fields.NameEdit(), name);
    Type(fields.NameEdit(), QStringLiteral("寿"));
    EXPECT_EQ(fields.NameEdit()->text(), name) << "refused at the box";
    EXPECT_TRUE(QToolTip::text().contains(QStringLiteral("cannot store \"寿\"")))
        << QToolTip::text().toStdString();
    fields.AmountEdit()->setText(QStringLiteral("1"));
    emit fields.AmountEdit()->editingFinished();
    const int unit = fields.UnitCombo()->findData(kUnitItem);
    ASSERT_GE(unit, 0);
    fields.UnitCombo()->setCurrentIndex(unit);
    emit fields.UnitCombo()->activated(unit);
    fields.NutrientEdit(0)->setText(QStringLiteral("250"));
    dialog->accept();
    ASSERT_EQ(dialog->result(), QDialog::Accepted) << ShownTexts().size();
    const CFoodItem item = Db().GetFoodItem(1, 0, static_cast<uint16_t>(dialog->Item()));
    EXPECT_EQ(item.Name(), storedName);
    EXPECT_EQ(item.SearchName(), storedName);
    Tree().Fill();
    EXPECT_TRUE(Labels(Tree().topLevelItem(1)->child(0)).contains(name));

    CJournalDB& journal = m_data->Journal();
    m_data->GetCurrentDay(true)->FoodLog().AddEntry(0, item, journal.IdGenerator());
    m_data->ShowPage(3);
    auto* notes = m_frame->findChild<CDailyNotesPage*>();
    ASSERT_NE(notes, nullptr);
    notes->setFocus();
    Type(notes, note + QStringLiteral("🍎"));
    EXPECT_EQ(notes->toPlainText(), note);
    EXPECT_EQ(journal.CurrentRecord()->Note(), storedNote);

    // The meal log and the daily journal as printed (the logbook shows meal totals, no names).
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    for (int report = 0; report < CDietData::kReportCount; ++report)
        m_data->SetReportFlag(report, false);
    for (EReportKind kind : {EReportKind::Logbook, EReportKind::MealLog, EReportKind::DailyJournal})
        m_data->SetReportFlag(static_cast<int>(kind), true);
    m_data->SetPrintRange(journal.CurrentDate(), journal.CurrentDate());
    const QString pdf = QString::fromStdString((WorldFolder() / "accents.pdf").string());
    {
        CPrintEngine engine(*m_data);
        const SPdfResult result = WritePdfReport(engine, pdf, DefaultReportLayout());
        ASSERT_TRUE(result.error.isEmpty()) << result.error.toStdString();
    }
    const QString printed = PdfText(pdf);
    EXPECT_TRUE(printed.contains(name)) << printed.toStdString();
    EXPECT_TRUE(printed.contains(note)) << printed.toStdString();
}

TEST_F(StoredTextTest, TheImportDialogSaysWhichEncodingItRead) {
    const std::filesystem::path path = WorldFolder() / "desserts.csv";
    std::ofstream(path, std::ios::binary) << "\xEF\xBB\xBFMousse,x,1.00,item,Y,0.00,,N,300,30.0,0."
                                             "0,4.0,15.0,9.0,Desserts,Crèmes,\r\n";
    CImportDialog dialog(*m_data);
    dialog.SetMode(0);
    dialog.SetFile(QString::fromStdString(path.string()));
    m_prompt->Answer(EPromptAnswer::Yes); // one food in place of the sample's eight
    dialog.Import();
    ASSERT_TRUE(dialog.Imported());
    EXPECT_TRUE(dialog.FileLabel()->text().endsWith(QStringLiteral("Read as UTF-8 text.")));
    EXPECT_EQ(Db().GetGroup(0).Categories()[0].Name(), "Cr\xE8mes");
    EXPECT_EQ(Labels(Tree().topLevelItem(0)), QStringList{QStringLiteral("Crèmes")});
}

} // namespace
} // namespace fitquill::test
