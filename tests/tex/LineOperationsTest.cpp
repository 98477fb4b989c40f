#include "tex/LineOperations.h"

#include <gtest/gtest.h>

#include <string>

#include "../editor/core/EditorUnderTest.h"

namespace {

using namespace LineOperations;

const std::string Hyou = "\x95\x5c";  // 表: its trail byte is a backslash

TEST(LineOperations, CommentMarksGoInFrontOfEveryLineAndComeOffOnlyAtTheVeryStart)
{
    EXPECT_EQ(AddCommentMarks("a\r\n%b\r\n\r\nc"), "%a\r\n%%b\r\n%\r\n%c");
    // A final line break starts no new line.
    EXPECT_EQ(AddCommentMarks("a\r\nb\r\n"), "%a\r\n%b\r\n");
    EXPECT_EQ(AddCommentMarks(""), "%");
    EXPECT_EQ(RemoveCommentMarks("%a\r\n%%b\r\n  %c\r\nd%\r\n%"), "a\r\n%b\r\n  %c\r\nd%\r\n");
    // A trail byte never starts a line, and a lone CR is no line break.
    EXPECT_EQ(RemoveCommentMarks(Hyou + "%\r%x"), Hyou + "%\r%x");
}

TEST(LineOperations, CommentingASelectionAndUncommentingItRestoresTheTextWithOneUndoStepEach)
{
    for (bool wrap : {false, true}) {
        const std::string text = "first line\r\n" + Hyou + " second\r\n%third\r\nlast";
        Editor e(text);
        if (wrap)
            e.Wrap(8);
        const int undoBefore = static_cast<int>(e.ed.Store().UndoObj().UndoList().size());
        // From inside the first line to column 0 of the third: that line counts too.
        e.ed.Select(0, 3, e.ed.LineToRow(2), 0);
        CommentLines(e.ed);
        EXPECT_EQ(e.Text(), "%first line\r\n%" + Hyou + " second\r\n%%third\r\nlast") << wrap;
        EXPECT_EQ(static_cast<int>(e.ed.Store().UndoObj().UndoList().size()), undoBefore + 1);
        // The selection still covers the same lines, so the reverse takes them all.
        ASSERT_TRUE(e.ed.Selected());
        EXPECT_EQ((TargetLines(e.ed).First), 0);
        EXPECT_EQ((TargetLines(e.ed).Last), 2);
        UncommentLines(e.ed);
        EXPECT_EQ(e.Text(), text);
        EXPECT_EQ(static_cast<int>(e.ed.Store().UndoObj().UndoList().size()), undoBefore + 2);
        e.ed.Undo();
        e.ed.Undo();
        EXPECT_EQ(e.Text(), text);
    }
}

TEST(LineOperations, UncommentChangesOnlyLinesThatBeginWithTheMarkAndRecordsNothingOtherwise)
{
    Editor e("%a\r\n b\r\n%%c\r\n");
    e.ed.Select(0, 0, 2, 1);
    UncommentLines(e.ed);
    EXPECT_EQ(e.Text(), "a\r\n b\r\n%c\r\n");
    Editor plain("a\r\n %b\r\n");
    plain.ed.Select(0, 0, 1, 2);
    UncommentLines(plain.ed);
    EXPECT_EQ(plain.Text(), "a\r\n %b\r\n");
    EXPECT_TRUE(plain.ed.Store().UndoObj().UndoList().empty());
    EXPECT_FALSE(plain.ed.Modified());
}

TEST(LineOperations, WithoutASelectionTheCaretLineIsTheTargetAndTheCaretKeepsItsText)
{
    Editor e("ab\r\ncd\r\nef");
    e.At(1, 1);
    CommentLines(e.ed);
    EXPECT_EQ(e.Text(), "ab\r\n%cd\r\nef");
    EXPECT_EQ(e.Caret(), (std::pair{1, 2}));
    UncommentLines(e.ed);
    EXPECT_EQ(e.Text(), "ab\r\ncd\r\nef");
    EXPECT_EQ(e.Caret(), (std::pair{1, 1}));
}

TEST(LineOperations, TheEmptyRowAfterTheLastLineBecomesALineHoldingTheMark)
{
    Editor e("a\r\nb\r\n");
    e.At(2, 0);
    CommentLines(e.ed);
    EXPECT_EQ(e.Text(), "a\r\nb\r\n%");
    Editor sel("a\r\nb\r\n");
    sel.ed.Select(1, 0, 2, 0);
    CommentLines(sel.ed);
    EXPECT_EQ(sel.Text(), "a\r\n%b\r\n%");
    Editor empty;
    CommentLines(empty.ed);
    EXPECT_EQ(empty.Text(), "%");
    // Emptied, the last line is that row again: nothing is left to select.
    Editor emptied("x\r\n%");
    emptied.ed.Select(1, 0, 1, 1);
    UncommentLines(emptied.ed);
    EXPECT_EQ(emptied.Text(), "x\r\n");
    EXPECT_FALSE(emptied.ed.Selected());
    EXPECT_EQ(emptied.Caret(), (std::pair{1, 0}));
    // Nothing to take off there.
    Editor below("%a\r\n");
    below.At(1, 0);
    UncommentLines(below.ed);
    EXPECT_EQ(below.Text(), "%a\r\n");
}

TEST(LineOperations, CutLineTakesTheWholeLogicalLineToTheClipboardAndLeavesTheRest)
{
    Editor e("one\r\ntwo " + Hyou + " long enough to wrap\r\nthree");
    e.Wrap(8);
    e.At(e.ed.LineToRow(1) + 1, 2);
    CutLine(e.ed);
    EXPECT_EQ(e.view.clip, "two " + Hyou + " long enough to wrap");
    EXPECT_EQ(e.Text(), "one\r\nthree");
    e.ed.Undo();
    EXPECT_EQ(e.Text(), "one\r\ntwo " + Hyou + " long enough to wrap\r\nthree");

    Editor only("single");
    CutLine(only.ed);
    EXPECT_EQ(only.view.clip, "single");
    EXPECT_EQ(only.Text(), "");

    Editor after("x\r\n");
    after.view.clip = "kept";
    after.At(1, 0);
    CutLine(after.ed);
    EXPECT_EQ(after.view.clip, "kept");
    EXPECT_EQ(after.Text(), "x\r\n");
}

TEST(LineOperations, LineStartAndEndAreThoseOfTheLogicalLineOverAllItsRows)
{
    Editor e("abcdefghijklmnopqrstu\r\nxy\r\n");
    e.Wrap(8);
    const int second = e.ed.LineToRow(1);
    ASSERT_GE(second, 3);
    e.At(1, 3);
    MoveToLineEnd(e.ed);
    EXPECT_EQ(e.ed.Row(), second - 1);
    EXPECT_EQ(e.ed.RowColToCharIndex(e.ed.Row(), e.ed.Col()), 21);
    MoveToLineStart(e.ed);
    EXPECT_EQ(e.Caret(), (std::pair{0, 0}));
    // The row after the last line has nowhere else to go.
    e.At(e.ed.RowCount(), 0);
    MoveToLineEnd(e.ed);
    EXPECT_EQ(e.Caret(), (std::pair{e.ed.RowCount(), 0}));
    // A TAB is one byte but fills several columns: the end is the text's end.
    Editor tab("x\ty\r\n");
    MoveToLineEnd(tab.ed);
    EXPECT_EQ(tab.Caret(), (std::pair{0, 9}));
}

TEST(LineOperations, CharacterCountLeavesOutLineBreaksAndCountsADoubleByteCharacterOnce)
{
    EXPECT_EQ(CountCharacters("ab\r\n\x82\xa0\x8a\xbf"), 4);
    EXPECT_EQ(CountCharacters(""), 0);
    EXPECT_EQ(CountCharacters(" \t" + Hyou + "\\"), 4);
    // Only whole CR LF pairs go; a lone lead byte is a character of its own.
    EXPECT_EQ(CountCharacters("a\rb\nc\x81"), 6);
    Editor e("ab\r\n\x82\xa0\x8a\xbf\r\n");
    e.ed.Select(0, 0, 1, 4);
    EXPECT_EQ(CountCharacters(e.ed.SelText()), 4);
}

}  // namespace
