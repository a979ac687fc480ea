#include "editor/shared_routines.h"
#include "support/scripted_services.h"

#include <QApplication>
#include <QLineEdit>
#include <gtest/gtest.h>

using namespace xo;

TEST(NumberField, AcceptsEmptySignedWholeNumbersAndRefusesTheRestWithItsMessage) {
    test::ScriptedServices s;
    QLineEdit field;
    for (const char *ok : {"", "0", "12", "-5", "+7", "2147483647", "-2147483648"}) {
        field.setText(ok);
        EXPECT_TRUE(CheckNumberField(&field)) << ok;
    }
    for (const char *bad : {"12a", "a", "-", "1 2", " 1", "1.5", "2147483648", "-2147483649", "99999999999999999999"}) {
        s.expectMessage(QStringLiteral("V tomto políčku zadejte číselnou hodnotu"));
        field.setText(bad);
        EXPECT_FALSE(CheckNumberField(&field)) << bad;
    }
    EXPECT_EQ(s.pendingMessages(), 0);
}

TEST(NumberField, RefusalMovesTheFocusToTheField) {
    test::ScriptedServices s;
    QWidget window;
    QLineEdit other(&window), field(&window);
    window.show();
    other.setFocus();
    QApplication::setActiveWindow(&window);
    field.setText("x");
    s.expectMessage(QStringLiteral("V tomto políčku zadejte číselnou hodnotu"));
    EXPECT_FALSE(CheckNumberField(&field));
    EXPECT_EQ(window.focusWidget(), &field);
}

TEST(NumberField, InfiniteInAnyCaseOrANumber) {
    test::ScriptedServices s;
    QLineEdit field;
    for (const char *ok : {"", "-3", "INFINITE", "infinite", "InFiNiTe"}) {
        field.setText(ok);
        EXPECT_TRUE(CheckNumberOrInfiniteField(&field)) << ok;
    }
    s.expectMessage(QStringLiteral("V tomto políčku zadejte číselnou hodnotu nebo klíčové slovo INFINITE"));
    field.setText("infinity");
    EXPECT_FALSE(CheckNumberOrInfiniteField(&field));
}

TEST(IntFromText, WholeNumbersOrMinusOne) {
    EXPECT_EQ(IntFromText("12"), 12);
    EXPECT_EQ(IntFromText("-40"), -40);
    EXPECT_EQ(IntFromText("a"), -1);
    EXPECT_EQ(IntFromText(""), -1);
    EXPECT_EQ(IntFromText("12px"), -1);
    EXPECT_EQ(IntFromText("2147483647"), 2147483647);
    EXPECT_EQ(IntFromText("2147483648"), -1);
    EXPECT_EQ(IntFromText("-99999999999"), -1);
}

TEST(DateAndTimeTexts, FollowThePlatformClockWithoutLeadingZeros) {
    test::ScriptedServices s;
    s.clock = QDateTime(QDate(2026, 12, 5), QTime(9, 5, 7));
    EXPECT_EQ(DateText(), "5.12.2026");
    EXPECT_EQ(TimeText(), "9:05:07");
    s.clock = QDateTime(QDate(1999, 3, 25), QTime(23, 59, 0));
    EXPECT_EQ(DateText(), "25.3.1999");
    EXPECT_EQ(TimeText(), "23:59:00");
    s.clock = QDateTime(QDate(2001, 1, 1), QTime(0, 0, 9));
    EXPECT_EQ(TimeText(), "0:00:09");
    EXPECT_EQ(FileTimeText(QDateTime(QDate(2026, 1, 2), QTime(10, 11, 12))), "2.1.2026  10:11:12");
}

TEST(FileSizeText, BoundariesBetweenBytesKilobytesAndMegabytes) {
    EXPECT_EQ(FileSizeText(0, 2), "0 B");
    EXPECT_EQ(FileSizeText(1024, 2), "1024 B");
    EXPECT_EQ(FileSizeText(1025, 2), "1.00 kB");
    EXPECT_EQ(FileSizeText(1536, 1), "1.5 kB");
    EXPECT_EQ(FileSizeText(1048576, 2), "1024.00 kB");
    EXPECT_EQ(FileSizeText(1048577, 2), "1.00 MB");
    EXPECT_EQ(FileSizeText(5 * 1048576 + 524288, 2), "5.50 MB");
    EXPECT_EQ(FileSizeText(3000000000LL, 0), "2861 MB");
}

TEST(FileNamesEqual, IgnoresCaseButNotLength) {
    EXPECT_TRUE(FileNamesEqual("Index.HTM", "index.htm"));
    EXPECT_FALSE(FileNamesEqual("index.htm", "index.html"));
    EXPECT_TRUE(FileNamesEqual(QStringLiteral("ŽLUŤ.htm"), QStringLiteral("žluť.HTM")));
}

TEST(WaitCursor, NestsAndRestoresOnlyAtTheOutermostLeave) {
    test::ScriptedServices s;
    ASSERT_EQ(WaitDepth(), 0);
    EnterWait();
    EnterWait();
    EXPECT_TRUE(s.waitCursor);
    LeaveWait();
    EXPECT_TRUE(s.waitCursor);
    LeaveWait();
    EXPECT_FALSE(s.waitCursor);
    EXPECT_EQ(s.waitCursorSets, 2);
    LeaveWait(); // unbalanced: nothing
    EXPECT_EQ(s.waitCursorSets, 2);
    EXPECT_EQ(WaitDepth(), 0);
}
