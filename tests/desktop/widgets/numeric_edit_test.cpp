// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/document/prompt.h"
#include "desktop/widgets/numeric_edit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

using namespace fitquill;

namespace {

// A window with the box and a second control to move the focus to.
class NumericEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_window = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(m_window.get());
        m_box = new CNumericEdit(m_window.get());
        m_other = new QLineEdit(m_window.get());
        layout->addWidget(m_box);
        layout->addWidget(m_other);
        m_window->show();
        m_window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
        // The box starts without the focus, so that entering it is an event.
        m_other->setFocus();
    }

    void Enter() {
        m_box->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(m_box->hasFocus());
    }
    void Leave() {
        m_other->setFocus(Qt::TabFocusReason);
        ASSERT_FALSE(m_box->hasFocus());
    }

    // Puts a text in the box and selects [start, start + length), or places the caret at
    // start when length is 0.
    void Prepare(const QString& text, int start, int length) {
        m_box->setText(text);
        if (length > 0)
            m_box->setSelection(start, length);
        else
            m_box->setCursorPosition(start);
    }

    std::unique_ptr<QWidget> m_window;
    CNumericEdit* m_box = nullptr;
    QLineEdit* m_other = nullptr;
};

QString RefusedMessage(const QString& clip) {
    return QStringLiteral("Format of the following value is not compatible with this control\n"
                          "\"") +
           clip + QStringLiteral("\"\nPaste Command Ignored");
}

} // namespace

TEST_F(NumericEditTest, StartsWithItsDefaults) {
    EXPECT_DOUBLE_EQ(m_box->Value(), 1.0);
    EXPECT_TRUE(m_box->HasValue());
    EXPECT_EQ(m_box->Decimals(), 2);
    EXPECT_FALSE(m_box->HasThousandsSeparators());
    EXPECT_DOUBLE_EQ(m_box->Maximum(), 999.99);
    EXPECT_EQ(m_box->text(), QStringLiteral("1.00"));
}

TEST_F(NumericEditTest, ValuesOutsideTheRangeBecomeTheNearestBound) {
    m_box->SetRange(0, 9999.9);
    m_box->SetDecimals(1, false);
    Enter();
    QTest::keyClicks(m_box, QStringLiteral("12345"));
    EXPECT_EQ(m_box->text(), QStringLiteral("12345"));
    Leave();
    EXPECT_EQ(m_box->text(), QStringLiteral("9999.9"));
    EXPECT_DOUBLE_EQ(m_box->ReadValue(), 9999.9);

    // Read while the focus is still in the box (a dialog's default button pressed with
    // Enter), the value is clamped as well.
    Enter();
    QTest::keyClicks(m_box, QStringLiteral("20000"));
    EXPECT_DOUBLE_EQ(m_box->ReadValue(), 9999.9);

    m_box->SetRange(10, 20);
    m_box->SetValue(3);
    EXPECT_DOUBLE_EQ(m_box->Value(), 10);
    EXPECT_EQ(m_box->text(), QStringLiteral("10.0"));
    m_box->SetValue(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(m_box->text(), QStringLiteral("20.0"));
}

TEST_F(NumericEditTest, TypingAcceptsOnlyTheCharactersOfANumber) {
    struct {
        const char* text;
        int start, length;
        const char* typed;
        const char* expected;
    } cases[] = {
        {"12", 2, 0, "3", "123"},    {"12", 2, 0, "a ,+e", "12"},
        {"12.5", 4, 0, ".", "12.5"}, // a second point
        {"12.5", 2, 2, ".", "12."},  // the point being replaced does not count
        {"12", 2, 0, ".5.", "12.5"}, // the second typed point
        {"12", 1, 0, "-", "12"},     // minus after the first character
        {"-12", 0, 0, "-", "-12"},   // a second minus at the start
        {"12", 0, 0, "-", "-12"},    // minus at the start
        {"-12", 0, 3, "-", "-"},     // the minus being replaced does not count
        {"5-", 0, 0, "-", "5-"},     // a minus anywhere outside the selection
        {"12", 1, 1, "-", "12"},     // the selection must start at 0
        {"", 0, 0, "-1.5", "-1.5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << " + " << c.typed);
        Prepare(QString::fromLatin1(c.text), c.start, c.length);
        QTest::keyClicks(m_box, QString::fromLatin1(c.typed));
        EXPECT_EQ(m_box->text(), QString::fromLatin1(c.expected));
    }
    // Keys that are not characters still edit.
    Prepare(QStringLiteral("123"), 3, 0);
    QTest::keyClick(m_box, Qt::Key_Backspace);
    QTest::keyClick(m_box, Qt::Key_Home);
    QTest::keyClick(m_box, Qt::Key_Delete);
    EXPECT_EQ(m_box->text(), QStringLiteral("2"));
}

TEST_F(NumericEditTest, PastePassesOnlyWhatTypingWould) {
    struct {
        const char* text;
        int start, length;
        const char* clip;
        const char* expected; // nullptr: refused
    } cases[] = {
        {"12.5", 1, 3, "7.25", "17.25"}, // the replaced point does not count
        {"3", 0, 0, "-5", "-53"},
        {"", 0, 0, "12\n", "12"}, // a trailing line break passes but adds nothing
        {"12a", 0, 3, "42", "42"},
        {"12", 2, 0, "3a", nullptr},
        {"1.5", 3, 0, ".3", nullptr},
        {"3", 1, 0, "-5", nullptr},
        {"", 0, 0, "5-", nullptr},
        {"", 0, 0, "1.2.3", nullptr}, // as the second point would be when typed
        {"", 0, 0, "1,000", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << " <- " << c.clip);
        CScriptedPrompt prompt;
        Prepare(QString::fromLatin1(c.text), c.start, c.length);
        const QString clip = QString::fromLatin1(c.clip);
        QGuiApplication::clipboard()->setText(clip);
        QTest::keyClick(m_box, Qt::Key_V, Qt::ControlModifier);
        if (c.expected) {
            EXPECT_EQ(m_box->text(), QString::fromLatin1(c.expected));
            EXPECT_TRUE(prompt.Shown().empty());
            continue;
        }
        EXPECT_EQ(m_box->text(), QString::fromLatin1(c.text));
        ASSERT_EQ(prompt.Shown().size(), 1u);
        EXPECT_EQ(prompt.Shown()[0].text, RefusedMessage(clip));
        EXPECT_EQ(prompt.Shown()[0].icon, EPromptIcon::Warning);
        EXPECT_EQ(prompt.Shown()[0].buttons, EPromptButtons::Ok);
        EXPECT_EQ(prompt.Shown()[0].owner, m_box);
    }
}

TEST_F(NumericEditTest, EveryPasteRouteIsChecked) {
    CScriptedPrompt prompt;
    QGuiApplication::clipboard()->setText(QStringLiteral("abc"));
    Prepare(QStringLiteral("7"), 1, 0);
    QTest::keyClick(m_box, Qt::Key_Insert, Qt::ShiftModifier);
    std::unique_ptr<QMenu> menu(m_box->CreateContextMenu());
    // Whichever entry pastes, it must go through the check.
    for (QAction* action : menu->actions()) {
        if (action->text().contains(QStringLiteral("Paste")))
            action->trigger();
    }
    EXPECT_EQ(m_box->text(), QStringLiteral("7"));
    EXPECT_EQ(prompt.Shown().size(), 2u);
}

TEST_F(NumericEditTest, EmptyBoxReadsZeroWithoutAValueAndStaysEmpty) {
    Enter();
    m_box->clear();
    EXPECT_DOUBLE_EQ(m_box->ReadValue(), 0.0);
    EXPECT_FALSE(m_box->HasValue());
    Leave();
    EXPECT_EQ(m_box->text(), QString());
    EXPECT_FALSE(m_box->HasValue());
    Enter();
    EXPECT_EQ(m_box->text(), QString());
    EXPECT_FALSE(m_box->HasValue());
    // The has-value flag comes back with a number.
    QTest::keyClicks(m_box, QStringLiteral("4"));
    Leave();
    EXPECT_TRUE(m_box->HasValue());
    EXPECT_EQ(m_box->text(), QStringLiteral("4.00"));
}

TEST_F(NumericEditTest, EnteringShowsTheValueUndecoratedAndSelected) {
    m_box->SetRange(0, 1e7);
    m_box->SetPrefix(QStringLiteral("$"));
    m_box->SetSuffix(QStringLiteral(" lb"));
    m_box->SetDecimals(2, true);
    m_box->SetValue(1234567.5);
    EXPECT_EQ(m_box->text(), QStringLiteral("$1,234,567.50 lb"));
    // Dialogs read the value after the focus has left, from the decorated text.
    EXPECT_DOUBLE_EQ(m_box->ReadValue(), 1234567.5);

    Enter();
    EXPECT_EQ(m_box->text(), QStringLiteral("1234567.50"));
    EXPECT_EQ(m_box->selectedText(), m_box->text());
    QTest::keyClicks(m_box, QStringLiteral("2500.125"));
    Leave();
    EXPECT_EQ(m_box->text(), QStringLiteral("$2,500.13 lb"));
    EXPECT_DOUBLE_EQ(m_box->Value(), 2500.13);
}

TEST_F(NumericEditTest, ReadingRoundsHalfAwayFromZero) {
    struct {
        const char* text;
        int decimals;
        double expected;
    } cases[] = {
        {"1.25", 1, 1.3},  {"-1.25", 1, -1.3},   {"2.5", 0, 3.0}, {"-2.5", 0, -3.0},
        {"0.004", 2, 0.0}, {"12.344", 2, 12.34}, {"7", 2, 7.0},   {".5", 1, 0.5},
        {"-.5", 0, -1.0},  {"-", 2, 0.0},        {".", 2, 0.0},   {"0.0049", 3, 0.005},
    };
    m_box->SetRange(-1000, 1000);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        m_box->SetDecimals(c.decimals, false);
        m_box->setText(QString::fromLatin1(c.text));
        EXPECT_DOUBLE_EQ(m_box->ReadValue(), c.expected);
        EXPECT_TRUE(m_box->HasValue());
    }
    // Far beyond what a whole number type holds the value is kept as it is.
    EXPECT_EQ(CNumericEdit::RoundToDecimals(1e300, 2), 1e300);
    EXPECT_EQ(CNumericEdit::RoundToDecimals(-9.5e18, 2), -9.5e18);
}

TEST_F(NumericEditTest, FormattingSteps) {
    struct {
        double value;
        int decimals;
        bool separators;
        const char* prefix;
        const char* suffix;
        bool emptyWhenZero;
        bool dropZero;
        const char* decorated;
        const char* plain;
    } cases[] = {
        {0.5, 2, false, "", "", false, false, "0.50", "0.50"},
        {0.05, 2, false, "", "", false, false, "0.05", "0.05"},
        {1000, 0, true, "", "", false, false, "1,000", "1000"},
        {100, 0, true, "", "", false, false, "100", "100"},
        {999999, 0, true, "", "", false, false, "999,999", "999999"},
        {-1234.5, 2, true, "", "", false, false, "-1,234.50", "-1234.50"},
        {-0.5, 2, false, "", "", false, false, "-0.50", "-0.50"},
        {-0.001, 2, false, "", "", false, false, "0.00", "0.00"}, // no minus before zero
        {0, 1, false, "", "", true, false, "", ""},
        {0.04, 1, false, "", "", true, false, "0.0", "0.0"}, // shows as zero, is not zero
        {5, 1, false, "", "", false, true, "5", "5"},
        {5.5, 1, false, "", "", false, true, "5.5", "5.5"},
        {1.05, 2, false, "", "", false, true, "1.05", "1.05"},
        {5, 1, false, "", " lb", false, true, "5 lb", "5"},
        {12.5, 1, true, "~", "%", false, false, "~12.5%", "12.5"},
    };
    m_box->SetRange(-1e6, 1e6);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.decorated);
        m_box->SetPrefix(QString::fromLatin1(c.prefix));
        m_box->SetSuffix(QString::fromLatin1(c.suffix));
        m_box->SetEmptyWhenZero(c.emptyWhenZero);
        m_box->SetDropTrailingZero(c.dropZero);
        m_box->SetDecimals(c.decimals, c.separators);
        m_box->SetValue(c.value);
        EXPECT_EQ(m_box->text(), QString::fromLatin1(c.decorated));
        EXPECT_EQ(m_box->FormatValue(false), QString::fromLatin1(c.plain));
    }
}
