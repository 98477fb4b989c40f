#include <gtest/gtest.h>

#include <string>

#include "EditorUnderTest.h"

namespace {

using RC = std::pair<int, int>;

// Pixel positions inside a cell, and on its left edge.
struct Pointer {
    const TEditorCore& ed;
    int X(int col, int dx = 1) const { return ed.TextAreaLeft() + (col - ed.TopCol()) * ed.ColWidth() + dx; }
    int Y(int row) const { return ed.TextAreaTop() + (row - ed.TopRow()) * ed.RowHeight() + 1; }
};

TEST(TEditorCoreMouse, ClicksGoToTheNearerBoundaryAndSnapToCharacterStarts)
{
    Editor e("abcdef\r\n\x8a\xbf\x95\x5cxyz\r\nlast");
    Pointer p{e.ed};
    const int w = e.ed.ColWidth();

    // Left half of cell 2 puts the caret before it, right half after it.
    e.ed.MouseDown(p.X(2, 1), p.Y(0), 0);
    e.ed.MouseUp(p.X(2, 1), p.Y(0), 0);
    EXPECT_EQ(e.Caret(), RC(0, 2));
    e.ed.MouseDown(p.X(2, w - 1), p.Y(0), 0);
    e.ed.MouseUp(p.X(2, w - 1), p.Y(0), 0);
    EXPECT_EQ(e.Caret(), RC(0, 3));

    // The middle of a kanji's cells: never on its second cell, even when the
    // second byte of the character is a backslash.
    for (int dx = 0; dx < 2 * w; ++dx) {
        e.ed.MouseDown(p.X(2, dx), p.Y(1), 0);
        e.ed.MouseUp(p.X(2, dx), p.Y(1), 0);
        EXPECT_TRUE(e.ed.Col() == 2 || e.ed.Col() == 4) << dx;
    }

    // Left of the text area (with row selection off) goes to column 0; below
    // the text goes to the last row.
    e.ed.Caret().SetRowSelect(false);
    e.ed.MouseDown(0, p.Y(1), 0);
    e.ed.MouseUp(0, p.Y(1), 0);
    EXPECT_EQ(e.Caret(), RC(1, 0));
    e.ed.MouseDown(p.X(1), p.Y(20), 0);
    e.ed.MouseUp(p.X(1), p.Y(20), 0);
    EXPECT_EQ(e.ed.Row(), 2);
    EXPECT_EQ(e.ed.SelectionState(), 1);  // anchored, nothing selected
}

TEST(TEditorCoreMouse, DragSelectsOnlyAfterHalfACellAndShiftClickExtends)
{
    Editor e("0123456789\r\nabcdefghij\r\nklmnopqrst");
    Pointer p{e.ed};
    const int half = e.ed.ColWidth() / 2;

    e.ed.MouseDown(p.X(2), p.Y(0), 0);
    e.ed.MouseMove(p.X(2) + half - 1, p.Y(0), true);
    EXPECT_FALSE(e.ed.Selected());
    EXPECT_TRUE(e.ed.MouseCaptured());
    e.ed.MouseMove(p.X(5), p.Y(1), true);
    ASSERT_TRUE(e.ed.Selected());
    EXPECT_EQ(e.ed.SelText(), "23456789\r\nabcde");
    e.ed.MouseUp(p.X(5), p.Y(1), 0);
    EXPECT_FALSE(e.ed.MouseCaptured());
    EXPECT_EQ(e.ed.SelText(), "23456789\r\nabcde");

    // Characters typed while the button is held are dropped.
    e.ed.MouseDown(p.X(0), p.Y(2), 0);
    e.Type("zz");
    e.ed.MouseUp(p.X(0), p.Y(2), 0);
    EXPECT_EQ(e.Text(), "0123456789\r\nabcdefghij\r\nklmnopqrst");

    // Shift+click extends from the caret, which stays the anchor.
    e.ed.MouseDown(p.X(3), p.Y(2), ssShift);
    e.ed.MouseUp(p.X(3), p.Y(2), ssShift);
    EXPECT_EQ(e.ed.SelText(), "klm");
    e.ed.MouseDown(p.X(8), p.Y(1), ssShift);
    e.ed.MouseUp(p.X(8), p.Y(1), ssShift);
    EXPECT_EQ(e.ed.SelText(), "ij\r\n");
}

TEST(TEditorCoreMouse, PointerAboveTheTextScrollsUpARowPerMove)
{
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    Editor e(text);
    e.ed.Ruler().SetVisible(true);  // a strip above the text area
    e.ed.SetTopRow(50);
    Pointer p{e.ed};
    e.ed.MouseDown(p.X(1), p.Y(52), 0);
    const int above = e.ed.TextAreaTop() - 2;
    ASSERT_GT(above, 0);
    e.ed.MouseMove(p.X(1), above, true);
    EXPECT_EQ(e.ed.Row(), 49);
    EXPECT_EQ(e.ed.TopRow(), 49);
    e.ed.MouseMove(p.X(1), above, true);
    EXPECT_EQ(e.ed.TopRow(), 48);
    e.ed.MouseUp(p.X(1), above, 0);
    EXPECT_EQ(e.ed.SelText().substr(0, 8), "ine 48\r\n");
    EXPECT_EQ(e.ed.CursorAt(p.X(1), above, 0), TEditorCursor::TopMargin);
}

TEST(TEditorCoreMouse, LeftBarSelectsWholeRows)
{
    Editor e("one\r\ntwo\r\nthree\r\nfour");
    Pointer p{e.ed};
    e.ed.Leftbar().SetVisible(true);
    ASSERT_GT(e.ed.TextAreaLeft(), 4);
    EXPECT_EQ(e.ed.CursorAt(2, p.Y(1), 0), TEditorCursor::LeftMargin);

    e.ed.MouseDown(2, p.Y(1), 0);
    EXPECT_EQ(e.ed.SelText(), "two\r\n");
    e.ed.MouseMove(2, p.Y(3), true);
    EXPECT_EQ(e.ed.SelText(), "two\r\nthree\r\nfour");
    e.ed.MouseMove(2, p.Y(0), true);
    EXPECT_EQ(e.ed.SelText(), "one\r\ntwo\r\n");
    e.ed.MouseUp(2, p.Y(0), 0);
    EXPECT_EQ(e.Caret(), RC(0, 0));
}

TEST(TEditorCoreMouse, APressOutlivesNoChangeOfTheRowsUnderIt)
{
    // Wrap on, five rows; the press in the left bar on row 3 is followed by
    // an unwrap that leaves two rows.
    Editor e("0123456789abcdefghij\r\nxyz");
    e.Wrap(8);
    ASSERT_EQ(e.ed.RowCount(), 4);
    Pointer p{e.ed};
    e.ed.Leftbar().SetVisible(true);
    e.ed.MouseDown(2, p.Y(3), 0);
    e.ed.SetWordWrap(false);
    ASSERT_EQ(e.ed.RowCount(), 2);
    e.ed.MouseMove(2, p.Y(0), true);
    EXPECT_FALSE(e.ed.Selected());
    e.ed.MouseUp(2, p.Y(0), 0);

    // The same for a drag of the selection.
    e.ed.MouseDown(p.X(0), p.Y(0), 0);
    e.ed.MouseMove(p.X(5), p.Y(0), true);
    e.ed.MouseUp(p.X(5), p.Y(0), 0);
    ASSERT_EQ(e.ed.SelText(), "01234");
    e.ed.MouseDown(p.X(2), p.Y(0), 0);
    ASSERT_EQ(e.ed.DragState(), 1);
    e.Wrap(4);
    EXPECT_EQ(e.ed.DragState(), 0);
    e.ed.MouseMove(p.X(1), p.Y(2), true);
    e.ed.MouseUp(p.X(1), p.Y(2), 0);
    EXPECT_EQ(e.Text(), "0123456789abcdefghij\r\nxyz");
}

struct DragCase {
    Editor e{"alpha beta\r\ngamma delta\r\nepsilon"};
    Pointer p{e.ed};
    DragCase()
    {
        // Select "beta".
        e.ed.MouseDown(p.X(6, 0), p.Y(0), 0);
        e.ed.MouseMove(p.X(10, 0), p.Y(0), true);
        e.ed.MouseUp(p.X(10, 0), p.Y(0), 0);
        EXPECT_EQ(e.ed.SelText(), "beta");
    }
    void Drag(int row, int col, TShiftState shift)
    {
        e.ed.MouseDown(p.X(7), p.Y(0), 0);
        EXPECT_EQ(e.ed.DragState(), 1);
        e.ed.MouseMove(p.X(col), p.Y(row), true);
        EXPECT_EQ(e.ed.DragState(), 2);
        e.ed.MouseUp(p.X(col), p.Y(row), shift);
        EXPECT_EQ(e.ed.DragState(), 0);
    }
};

TEST(TEditorCoreMouse, DraggingTheSelectionMovesOrCopiesIt)
{
    {
        DragCase d;
        EXPECT_EQ(d.e.ed.CursorAt(d.p.X(7), d.p.Y(0), 0), TEditorCursor::InSel);
        d.Drag(1, 6, 0);
        EXPECT_EQ(d.e.Text(), "alpha \r\ngamma betadelta\r\nepsilon");
        EXPECT_EQ(d.e.ed.SelText(), "beta");
        d.e.ed.Undo();
        d.e.ed.Undo();
        EXPECT_EQ(d.e.Text(), "alpha beta\r\ngamma delta\r\nepsilon");
    }
    {
        DragCase d;
        d.Drag(0, 0, ssCtrl);
        EXPECT_EQ(d.e.Text(), "betaalpha beta\r\ngamma delta\r\nepsilon");
    }
    {
        // Moved to a later place on the same line: the removal shifts it.
        DragCase d;
        d.e.Type("");
        d.Drag(0, 10, 0);
        EXPECT_EQ(d.e.Text(), "alpha beta\r\ngamma delta\r\nepsilon");
        EXPECT_EQ(d.e.ed.SelText(), "beta");
    }
    {
        // Beyond the end of a row: padded with spaces up to the drop cell.
        DragCase d;
        d.Drag(2, 9, 0);
        EXPECT_EQ(d.e.Text(), "alpha \r\ngamma delta\r\nepsilon  beta");
    }
}

TEST(TEditorCoreMouse, DragsAreCancelledInsideTheSelectionOutsideTheWindowAndByEscape)
{
    {
        DragCase d;
        d.Drag(0, 8, 0);  // dropped inside itself
        EXPECT_EQ(d.e.Text(), "alpha beta\r\ngamma delta\r\nepsilon");
        EXPECT_FALSE(d.e.ed.Selected());
    }
    {
        DragCase d;
        d.e.ed.MouseDown(d.p.X(7), d.p.Y(0), 0);
        d.e.ed.MouseMove(d.p.X(2), d.p.Y(1), true);
        d.e.ed.MouseUp(-5, d.p.Y(1), 0);
        EXPECT_EQ(d.e.Text(), "alpha beta\r\ngamma delta\r\nepsilon");
    }
    {
        DragCase d;
        d.e.ed.MouseDown(d.p.X(7), d.p.Y(0), 0);
        d.e.ed.MouseMove(d.p.X(2), d.p.Y(1), true);
        EXPECT_EQ(d.e.ed.CursorAt(d.p.X(2), d.p.Y(1), ssCtrl), TEditorCursor::DragSelCopy);
        EXPECT_EQ(d.e.ed.CursorAt(d.p.X(2), d.p.Y(1), 0), TEditorCursor::DragSel);
        EXPECT_TRUE(d.e.ed.CancelDrag());
        d.e.ed.MouseMove(d.p.X(3), d.p.Y(2), true);
        d.e.ed.MouseUp(d.p.X(3), d.p.Y(2), 0);
        EXPECT_EQ(d.e.Text(), "alpha beta\r\ngamma delta\r\nepsilon");
        EXPECT_EQ(d.e.ed.SelText(), "beta");
    }
    {
        // A press inside the selection without moving is a plain click.
        DragCase d;
        d.e.ed.MouseDown(d.p.X(7), d.p.Y(0), 0);
        d.e.ed.MouseUp(d.p.X(7), d.p.Y(0), 0);
        EXPECT_FALSE(d.e.ed.Selected());
        EXPECT_EQ(d.e.Caret(), RC(0, 7));
    }
    {
        // Box selections and read-only text are not dragged.
        DragCase d;
        d.e.ed.SetReadOnly(true);
        EXPECT_EQ(d.e.ed.CursorAt(d.p.X(7), d.p.Y(0), 0), TEditorCursor::Default);
        d.e.ed.MouseDown(d.p.X(7), d.p.Y(0), 0);
        EXPECT_EQ(d.e.ed.DragState(), 0);
        d.e.ed.MouseUp(d.p.X(7), d.p.Y(0), 0);
    }
}

}  // namespace
