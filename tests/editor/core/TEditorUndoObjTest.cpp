#include <gtest/gtest.h>

#include "FakeEditor.h"
#include "editor/core/TEditorScreenStrings.h"

namespace {

// Types one character at the caret the way the editor does: the caret's
// row is replaced by its new text.
void Type(TEditorScreenStrings& s, FakeEditor& e, char c)
{
    std::string row = e.row < s.GetCount() ? s.Get(e.row) : std::string();
    row.insert(static_cast<size_t>(e.col), 1, c);
    if (e.row < s.GetCount() && s.GetRowAttribute(e.row) == raLineBreak)
        row += "\r\n";
    s.ReplaceRows(e.row, e.row < s.GetCount() ? 1 : 0, row);
    ++e.col;
}

TEST(TEditorUndoObj, KeepsAtMostUndoListMaxStepsNeverFewerThan64)
{
    TEditorScreenStrings s;
    FakeEditor e(s);
    s.UndoObj().SetUndoListMax(10);
    EXPECT_EQ(s.UndoObj().UndoListMax(), 64);
    for (int i = 0; i < 70; ++i)
        Type(s, e, 'a');
    int undone = 0;
    while (s.UndoObj().CanUndo()) {
        s.Undo();
        ++undone;
    }
    EXPECT_EQ(undone, 64);
    EXPECT_EQ(s.GetTextStr(), "aaaaaa");
    s.Undo();  // nothing left: nothing happens
    EXPECT_EQ(s.GetTextStr(), "aaaaaa");
}

TEST(TEditorUndoObj, UndoAndRedoPutTheCaretBeforeAndAfterTheChange)
{
    TEditorScreenStrings s;
    FakeEditor e(s);
    s.SetPlainText("abc");
    e.col = 1;
    Type(s, e, 'X');
    EXPECT_EQ(s.GetTextStr(), "aXbc");
    EXPECT_EQ(e.col, 2);
    s.Undo();
    EXPECT_EQ(s.GetTextStr(), "abc");
    EXPECT_EQ(e.row, 0);
    EXPECT_EQ(e.col, 1);
    s.Redo();
    EXPECT_EQ(s.GetTextStr(), "aXbc");
    EXPECT_EQ(e.col, 2);  // where it stood when the change was undone: after it
    EXPECT_TRUE(s.UndoObj().CanUndo());
    EXPECT_FALSE(s.UndoObj().CanRedo());
}

TEST(TEditorUndoObj, NewEditEmptiesRedoButRedoDoesNot)
{
    TEditorScreenStrings s;
    FakeEditor e(s);
    Type(s, e, 'a');
    Type(s, e, 'b');
    s.Undo();
    s.Undo();
    EXPECT_EQ(s.UndoObj().RedoList().size(), 2u);
    s.Redo();
    EXPECT_EQ(s.UndoObj().RedoList().size(), 1u);
    EXPECT_EQ(s.GetTextStr(), "a");
    e.col = 1;
    Type(s, e, 'z');
    EXPECT_FALSE(s.UndoObj().CanRedo());
    EXPECT_EQ(s.GetTextStr(), "az");
}

TEST(TEditorUndoObj, UndoOfALineSplitRestoresTheLineAndItsMark)
{
    TEditorScreenStrings s;
    FakeEditor e(s);
    s.SetPlainText("before\r\nmarked line\r\nafter");
    s.SetRowMarks(1, 1 << 2);
    s.IncludeMarks(1 << 2);
    e.row = 1;
    e.col = 6;
    s.ReplaceRows(1, 1, "marked\r\n line\r\n");
    EXPECT_EQ(s.GetCount(), 4);
    s.Undo();
    EXPECT_EQ(s.GetTextStr(), "before\r\nmarked line\r\nafter");
    EXPECT_EQ(s.GetRowMarks(1), 1 << 2);
    EXPECT_EQ(s.GetRowMarks(2), 0);
}

TEST(TEditorUndoObj, UndoOfDeletedLinesPutsThemBackWithoutTouchingTheirNeighbours)
{
    TEditorScreenStrings s;
    FakeEditor e(s);
    s.SetPlainText("a\r\nb\r\nc\r\nd\r\n");
    s.ReplaceRows(1, 2, std::nullopt);
    EXPECT_EQ(s.GetTextStr(), "a\r\nd\r\n");
    s.Undo();
    EXPECT_EQ(s.GetTextStr(), "a\r\nb\r\nc\r\nd\r\n");
    s.Redo();
    EXPECT_EQ(s.GetTextStr(), "a\r\nd\r\n");
    s.Undo();
    EXPECT_EQ(s.GetTextStr(), "a\r\nb\r\nc\r\nd\r\n");

    s.ReplaceRows(3, 1, std::nullopt);  // the last line
    EXPECT_EQ(s.GetTextStr(), "a\r\nb\r\nc\r\n");
    s.Undo();
    EXPECT_EQ(s.GetTextStr(), "a\r\nb\r\nc\r\nd\r\n");
}

TEST(TEditorUndoObj, UndoReachesAnEmptyDocumentAndBack)
{
    TEditorScreenStrings s;
    FakeEditor e(s);
    s.ReplaceRows(0, 0, "x");
    s.ReplaceRows(0, 1, "");
    EXPECT_EQ(s.GetCount(), 0);
    s.Undo();
    EXPECT_EQ(s.GetTextStr(), "x");
    s.Undo();
    EXPECT_EQ(s.GetCount(), 0);
    s.Redo();
    s.Redo();
    EXPECT_EQ(s.GetCount(), 0);
    s.Undo();
    EXPECT_EQ(s.GetTextStr(), "x");
}

TEST(TEditorUndoObj, RecordsTheFocusedEditorsCaret)
{
    TEditorScreenStrings s;
    FakeEditor owner(s);
    FakeEditor other(s);
    s.SetPlainText("abc\r\ndef");
    owner.row = 0;
    owner.col = 1;
    other.row = 1;
    other.col = 2;
    other.focused = true;
    s.ReplaceRows(1, 1, "DEF");
    EXPECT_EQ(s.UndoObj().UndoList().back().CaretRow, 1);
    EXPECT_EQ(s.UndoObj().UndoList().back().CaretCol, 2);
    other.focused = false;
    s.ReplaceRows(0, 1, "ABC\r\n");
    EXPECT_EQ(s.UndoObj().UndoList().back().CaretRow, 0);
    EXPECT_EQ(s.UndoObj().UndoList().back().CaretCol, 1);
}

}  // namespace
