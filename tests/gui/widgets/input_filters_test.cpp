// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/input_filters.h"
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace k3n {
namespace {

struct Case {
    const char* filter;
    InputFilter input;
    QString typedKeys;   // each key of it is typed into an empty box
    QString typedKept;   // what the box shows afterwards
    QString pasted;   // pasted over everything
    QString pastedKept;
};

// Typing goes through the key filter and the text rule; pasting only through the rule.
TEST(InputFilters, KeepWhatEachFilterAllowsWhetherTypedOrPasted)
{
    const Case cases[] = {
        {"digits", DigitsInput(4), "3a1-0.55", "3105", "2x9 99", "2999"},
        {"digits, empty", DigitsInput(4), "-.", "", "ab", ""},
        {"decimal", DecimalInput(4), "1.2.3", "1.23", "2,5s", "25"},
        {"decimal, lone point", DecimalInput(4), ".", "", ".", ""},
        {"decimal, point typed first", DecimalInput(4), ".5", "5", ".5", ".5"},
        {"decimal, length", DecimalInput(4), "12345", "1234", "12.345", "12.3"},
        {"frequency", FrequencyInput(), "1a4b5.x.5", "145.5", "14x6.0.25", "146.025"},
        {"frequency, nine characters", FrequencyInput(), "145.512345678", "145.51234", "1234567890", "123456789"},
        {"digit code", DigitCodeInput(8), "1a2bC*#d", "12C*#", "1x2", "12"},
        {"digit code, capacity", DigitCodeInput(3), "ABCD", "ABC", "#*#*", "#*#"},
    };
    for (const Case& c : cases) {
        QLineEdit box;
        FilterInput(&box, c.input);
        box.show();
        QTest::keyClicks(&box, c.typedKeys);
        EXPECT_EQ(box.text(), c.typedKept) << c.filter;
        EXPECT_EQ(box.cursorPosition(), box.text().size()) << c.filter;

        QApplication::clipboard()->setText(c.pasted);
        box.setModified(false);
        QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(box.text(), c.pastedKept) << c.filter;
        EXPECT_EQ(box.cursorPosition(), box.text().size()) << c.filter;
        EXPECT_TRUE(box.isModified()) << c.filter;
    }
}

TEST(InputFilters, ControlKeysAndShortcutsPassTheKeyFilter)
{
    QLineEdit box;
    FilterInput(&box, DigitsInput(6));
    box.show();
    QTest::keyClicks(&box, "1234");
    QTest::keyClick(&box, Qt::Key_Left);
    QTest::keyClick(&box, Qt::Key_Backspace);
    EXPECT_EQ(box.text(), "124");
    QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);   // select all, not the letter
    QTest::keyClick(&box, Qt::Key_Delete);
    EXPECT_EQ(box.text(), "");
}

TEST(InputFilters, TextSetByTheProgramIsNotFiltered)
{
    QLineEdit box;
    FilterInput(&box, DigitsInput(2));
    box.setText("2632");   // a stored value shown as it is
    EXPECT_EQ(box.text(), "2632");
    EXPECT_FALSE(box.isModified());
}

TEST(InputFilters, KeepDecimalTextKeepsDigitsAndTheFirstPoint)
{
    const struct {
        const char* text;
        int maxLength;
        const char* kept;
    } cases[] = {{"", 9, ""},
                 {".", 9, ""},
                 {"..", 9, ""},
                 {"1..2", 9, "1.2"},
                 {"146.025", 9, "146.025"},
                 {"146.0250000", 9, "146.02500"},
                 {"12345", 4, "1234"},
                 {"٣4", 4, "4"}};
    for (const auto& c : cases)
        EXPECT_EQ(KeepDecimalText(QString::fromUtf8(c.text), c.maxLength), c.kept) << c.text;
}

}   // namespace
}   // namespace k3n
