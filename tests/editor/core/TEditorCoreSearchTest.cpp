#include <gtest/gtest.h>

#include <string>

#include "EditorUnderTest.h"

namespace {

using RC = std::pair<int, int>;

std::string Numbered(int lines, const std::string& at = {}, int where = -1)
{
    std::string text;
    for (int i = 0; i < lines; ++i)
        text += (i == where ? at : "line " + std::to_string(i)) + "\r\n";
    return text;
}

TEST(TEditorCoreSearch, HitsBecomeTheSelectionAndRepeatedSearchesWalkOn)
{
    Editor e("foo bar foo\r\nbaz foo\r\n");
    ASSERT_TRUE(e.ed.Search("foo", soDown));
    EXPECT_EQ(e.ed.SelText(), "foo");
    EXPECT_EQ(e.Caret(), RC(0, 3));
    EXPECT_EQ(e.ed.HitLength(), 3);
    ASSERT_TRUE(e.ed.Search("foo", soDown));
    EXPECT_EQ(e.ed.SelChars().StartCol, 8);
    ASSERT_TRUE(e.ed.Search("foo", soDown));
    EXPECT_EQ(e.ed.SelChars().StartRow, 1);
    // Nothing further: the hit stays, no wrap-around.
    EXPECT_FALSE(e.ed.Search("foo", soDown));
    EXPECT_EQ(e.ed.SelChars().StartRow, 1);
    // Backward from the selection's start.
    ASSERT_TRUE(e.ed.Search("foo", 0));
    EXPECT_EQ(e.ed.SelChars().StartRow, 0);
    EXPECT_EQ(e.ed.SelChars().StartCol, 8);

    EXPECT_FALSE(e.ed.Search("", soDown));
    Editor empty;
    EXPECT_FALSE(empty.ed.Search("x", soDown));
}

TEST(TEditorCoreSearch, HitsBeyondTheCaretsLastColumnAreSelectedAndPassed)
{
    // Wrap off, the caret stops at column 1000; the hits lie past it.
    const std::string line = std::string(1500, 'a') + " needle " + std::string(300, 'b') + " needle ";
    for (TEditorHitStyle style : {hsSelect, hsDraw, hsCaret}) {
        Editor e(line + "\r\nneedle");
        e.ed.SetHitStyle(style);
        ASSERT_TRUE(e.ed.Search("needle", soDown));
        EXPECT_EQ(e.ed.SelChars().StartCol, 1501);
        EXPECT_EQ(e.ed.SelChars().EndCol, 1507);
        EXPECT_EQ(e.ed.SelDisplay().StartCol, 1501);
        EXPECT_EQ(e.ed.Row(), 0);
        EXPECT_LE(e.ed.Col(), 1000);
        if (style != hsDraw) {
            EXPECT_EQ(e.ed.SelText(), "needle");
        }
        ASSERT_TRUE(e.ed.Search("needle", soDown));
        EXPECT_EQ(e.ed.SelChars().StartCol, 1809);
        ASSERT_TRUE(e.ed.Search("needle", soDown));
        EXPECT_EQ(e.ed.SelChars().StartRow, 1);
        EXPECT_FALSE(e.ed.Search("needle", soDown));
        // And back up the same way.
        ASSERT_TRUE(e.ed.Search("needle", 0));
        EXPECT_EQ(e.ed.SelChars().StartCol, 1809);
        ASSERT_TRUE(e.ed.Search("needle", 0));
        EXPECT_EQ(e.ed.SelChars().StartCol, 1501);
        EXPECT_FALSE(e.ed.Search("needle", 0));
    }
}

TEST(TEditorCoreSearch, HitStylesDrawOrWidenTheCaret)
{
    {
        Editor e("abc XYZ abc XYZ");
        e.ed.SetHitStyle(hsDraw);
        ASSERT_TRUE(e.ed.Search("xyz", soDown));
        EXPECT_EQ(e.ed.SelectionState(), 3);
        EXPECT_FALSE(e.ed.Selected());
        ASSERT_TRUE(e.ed.Search("xyz", soDown));
        EXPECT_EQ(e.ed.SelChars().StartCol, 12);
        // Typing replaces nothing of a drawn hit: it just goes away.
        e.At(0, 0);
        e.Type("!");
        EXPECT_EQ(e.Text(), "!abc XYZ abc XYZ");
    }
    {
        Editor e("abc XYZ abc XYZ");
        e.ed.SetHitStyle(hsCaret);
        ASSERT_TRUE(e.ed.Search("XYZ", soDown | soMatchCase));
        EXPECT_EQ(e.Caret(), RC(0, 4));
        EXPECT_EQ(e.view.caretW, 3 * e.ed.ColWidth());
        // The repeated search starts after the hit, not at the caret.
        ASSERT_TRUE(e.ed.Search("XYZ", soDown | soMatchCase));
        EXPECT_EQ(e.Caret(), RC(0, 12));
        e.Key(TEditorKey::Left);
        EXPECT_EQ(e.view.caretW, 2);
    }
}

TEST(TEditorCoreSearch, HitsAcrossLineBreaksAndWrapsAreSelectedWhole)
{
    Editor e("first par\r\nt of text\r\n");
    ASSERT_TRUE(e.ed.Search("part", 387));
    EXPECT_EQ(e.ed.SelText(), "par\r\nt");
    EXPECT_EQ(e.Caret(), RC(1, 1));

    Editor w("0123456789abcdefghij");
    w.Wrap(8);
    ASSERT_GT(w.ed.RowCount(), 1);
    ASSERT_TRUE(w.ed.Search("789a", soDown));
    EXPECT_EQ(w.ed.SelText(), "789a");
}

TEST(TEditorCoreSearch, AFarHitIsScrolledIntoView)
{
    Editor e(Numbered(1000, "needle here", 700));
    ASSERT_TRUE(e.ed.Search("needle", soDown));
    EXPECT_EQ(e.ed.Row(), 700);
    EXPECT_LE(e.ed.TopRow(), 700);
    EXPECT_GT(e.ed.TopRow() + e.ed.VisibleRows(), 700);
}

TEST(TEditorCoreMarks, DigitMarksAreUniqueAndJumpsCentreFarRows)
{
    Editor e(Numbered(1000));
    e.ed.PutMark(2, 3);
    e.ed.PutMark(10, 3);
    EXPECT_EQ(e.ed.GetRowMarks(2), 0);
    EXPECT_EQ(e.ed.GetRowMarks(10), 1 << 3);

    // Marks 10..15 may stand on several rows.
    e.ed.PutMark(4, 12);
    e.ed.PutMark(5, 12);
    EXPECT_EQ(e.ed.GetRowMarks(4), 1 << 12);
    EXPECT_EQ(e.ed.GetRowMarks(5), 1 << 12);

    e.ed.PutMark(800, 7);
    e.ed.GotoMark(7);
    EXPECT_EQ(e.ed.Row(), 800);
    EXPECT_EQ(e.ed.TopRow(), 800 - e.ed.VisibleRows() / 2);

    // A visible row: the caret goes there without scrolling.
    e.ed.PutMark(805, 1);
    const int top = e.ed.TopRow();
    e.ed.GotoMark(1);
    EXPECT_EQ(e.ed.Row(), 805);
    EXPECT_EQ(e.ed.TopRow(), top);

    e.ed.DeleteMark(800, 7);
    e.ed.GotoMark(7);
    EXPECT_EQ(e.ed.Row(), 805);
    EXPECT_FALSE(e.ed.Store().UsedMarks() & (1 << 7));

    // Out-of-range rows and marks do nothing.
    e.ed.PutMark(5000, 2);
    e.ed.PutMark(3, 16);
    e.ed.GotoMark(-1);
    EXPECT_EQ(e.ed.GetRowMarks(3), 0);
}

}  // namespace

namespace {

TEST(TEditorCoreMarks, AMarkStaysWithItsTextWhenLinesAreInsertedAtColumnZero)
{
    // TABs that stop at the wrap width: the line's rows break differently
    // once their text starts a line of its own.
    for (bool autoIndent : {false, true}) {
        Editor e("x\r\n\tab\tcd\tef\tgh\tij\tkl\r\nlast");
        e.ed.Caret().SetAutoIndent(autoIndent);
        e.Wrap(10);
        ASSERT_GT(e.ed.Store().LineEndRow(1), 3);
        e.ed.PutMark(1, 3);
        e.ed.PutMark(3, 5);

        // Enter at the start of the line's second row: the first row keeps
        // its text, and its mark; the mark of the row split off goes along.
        e.At(2, 0);
        e.Type("\r");
        EXPECT_EQ(e.ed.RowText(1), "\tab");
        EXPECT_EQ(e.ed.GetRowMarks(1), 1 << 3) << "auto indent " << autoIndent;
        EXPECT_EQ(e.ed.Store().UsedMarks(), (1 << 3) | (1 << 5));

        // Enter at the start of the line's first row pushes the mark down
        // with the text.
        e.At(1, 0);
        e.Type("\r");
        EXPECT_EQ(e.ed.RowText(2), "\tab");
        EXPECT_EQ(e.ed.GetRowMarks(2), 1 << 3) << "auto indent " << autoIndent;
        EXPECT_EQ(e.ed.GetRowMarks(1), 0);
    }
}

}  // namespace
