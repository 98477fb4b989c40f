#include "build/Markings.h"

#include <gtest/gtest.h>

#include <string>

#include "../editor/core/EditorUnderTest.h"

namespace {

using namespace Markings;

std::string Lines(int n)
{
    std::string text;
    for (int i = 0; i < n; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    return text;
}

TEST(Markings, ToggleMarksTheCaretRowWithOneAndClearsAnyOtherSet)
{
    Editor e(Lines(5));
    e.At(2, 3);
    ToggleMarking(e.ed);
    EXPECT_EQ(e.ed.GetRowMarks(2), 1);
    EXPECT_EQ(e.Caret(), (std::pair{2, 3}));
    ToggleMarking(e.ed);
    EXPECT_EQ(e.ed.GetRowMarks(2), 0);
    e.ed.SetRowMarks(2, 0x0402);
    ToggleMarking(e.ed);
    EXPECT_EQ(e.ed.GetRowMarks(2), 0);
}

TEST(Markings, JumpsGoToTheNearestRowMarkedExactlyOneAndNeverToTheCaretRowOrAround)
{
    Editor e(Lines(30));
    for (int row : {3, 10, 20})
        e.ed.SetRowMarks(row, 1);
    e.ed.SetRowMarks(17, 3);   // mark 0 with another: not a marking
    e.ed.SetRowMarks(12, 2);
    e.At(15, 4);
    GoToMarkingAbove(e.ed);
    EXPECT_EQ(e.Caret(), (std::pair{10, 0}));
    GoToMarkingAbove(e.ed);
    EXPECT_EQ(e.Caret(), (std::pair{3, 0}));
    GoToMarkingAbove(e.ed);
    EXPECT_EQ(e.Caret(), (std::pair{3, 0}));
    e.At(10, 2);
    GoToMarkingBelow(e.ed);
    EXPECT_EQ(e.Caret(), (std::pair{20, 0}));
    e.At(20, 2);
    GoToMarkingBelow(e.ed);
    EXPECT_EQ(e.Caret(), (std::pair{20, 2}));
    // From the row after the last line, and on the last row.
    e.At(30, 0);
    GoToMarkingAbove(e.ed);
    EXPECT_EQ(e.ed.Row(), 20);
    e.ed.SetRowMarks(29, 1);
    e.At(29, 0);
    GoToMarkingBelow(e.ed);
    EXPECT_EQ(e.ed.Row(), 29);
    EXPECT_EQ(MarkedRowBelow(e.ed.Store(), -5), 3);
    EXPECT_EQ(MarkedRowAbove(e.ed.Store(), 1000), 29);
}

TEST(Markings, AMarkedSecondRowOfAWrappedLineIsATarget)
{
    Editor e("short\r\nabcdefghijklmnopqrstuvwxyz\r\nend\r\n");
    e.Wrap(8);
    const int second = e.ed.LineToRow(1) + 1;
    e.At(second, 0);
    ToggleMarking(e.ed);
    e.At(0, 0);
    GoToMarkingBelow(e.ed);
    EXPECT_EQ(e.Caret(), (std::pair{second, 0}));
    e.At(e.ed.LineToRow(2), 1);
    GoToMarkingAbove(e.ed);
    EXPECT_EQ(e.ed.Row(), second);
}

}  // namespace
