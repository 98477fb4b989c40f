#include <gtest/gtest.h>

#include <string>

#include "FakeEditor.h"
#include "editor/core/TEditorStrings.h"

namespace {

class RowWrapping : public ::testing::Test {
protected:
    void SetUp() override
    {
        store.WrapOption().SetWrapByte(10);
        lines.SetTextStr(text);
    }
    std::vector<std::string> AllLines()
    {
        std::vector<std::string> out;
        for (int i = 0; i < lines.GetCount(); ++i)
            out.push_back(lines.Get(i));
        return out;
    }
    const std::string text =
        "short\r\n"
        "a line that is much longer than ten cells\r\n"
        "\r\n"
        "\x95\x5c\x94\x5c\x95\x5c\x94\x5c\x95\x5c\x94\x5c\x95\x5c\r\n"
        "tail without a break but long enough to wrap";
    TEditorScreenStrings store;
    FakeEditor editor{store};
    TEditorStrings lines{store, &editor};
};

TEST_F(RowWrapping, SwitchingWrapKeepsLinesTextAndTheFinalAttribute)
{
    const std::vector<std::string> before = AllLines();
    store.SetWordWrap(true);
    EXPECT_GT(store.GetCount(), 5);
    EXPECT_EQ(AllLines(), before);
    EXPECT_EQ(lines.GetTextStr(), text);
    EXPECT_EQ(store.GetRowAttribute(store.GetCount() - 1), raEndOfText);
    for (int r = 0; r < store.GetCount(); ++r)
        EXPECT_LE(store.RowLength(r), 12u) << "row " << r;

    store.SetWordWrap(false);
    EXPECT_EQ(store.GetCount(), 5);
    EXPECT_EQ(AllLines(), before);
    EXPECT_EQ(lines.GetTextStr(), text);
}

TEST_F(RowWrapping, SwitchingClearsHistoryAndSendsCaretsToColumnZero)
{
    store.ReplaceRows(0, 1, "SHORT\r\n");
    editor.col = 4;
    store.SetWordWrap(true);
    EXPECT_FALSE(store.UndoObj().CanUndo());
    EXPECT_EQ(editor.col, 0);
    EXPECT_EQ(editor.rewraps, 1);
    store.SetWordWrap(true);  // unchanged: nothing happens
    EXPECT_EQ(editor.rewraps, 1);

    store.ReplaceRows(0, 1, "short\r\n");
    store.WrapOption().SetWrapByte(20);  // an option change with wrap on re-wraps
    EXPECT_EQ(editor.rewraps, 2);
    EXPECT_FALSE(store.UndoObj().CanUndo());
    store.SetWordWrap(false);
    store.WrapOption().SetWrapByte(30);  // with wrap off it does not
    EXPECT_EQ(editor.rewraps, 3);
}

TEST_F(RowWrapping, JoiningRowsKeepsTheUnionOfTheirMarks)
{
    store.SetWordWrap(true);
    const int first = store.LineToRow(1);
    ASSERT_GE(store.LineEndRow(first), first + 2);
    store.SetRowMarks(first, 1 << 1);
    store.SetRowMarks(first + 2, 1 << 4);
    store.SetWordWrap(false);
    EXPECT_EQ(store.GetRowMarks(1), (1 << 1) | (1 << 4));
    EXPECT_EQ(store.GetRowMarks(0), 0);
    EXPECT_EQ(store.GetRowMarks(2), 0);

    // Wrapping again puts each mark on the row where it was, as far as rows go.
    store.SetWordWrap(true);
    EXPECT_EQ(store.GetRowMarks(store.LineToRow(1)), (1 << 1) | (1 << 4));
}

TEST_F(RowWrapping, EditsAndUndoWithWrapOnKeepTheText)
{
    store.SetWordWrap(true);
    const int row = store.LineToRow(1) + 1;  // a continuation row
    std::string rowText = store.Get(row);
    store.ReplaceRows(row, 1, "XY" + rowText);
    std::string expected = text;
    expected.insert(expected.find("a line") + store.Get(row - 1).size(), "XY");
    EXPECT_EQ(lines.GetTextStr(), expected);
    EXPECT_EQ(lines.GetCount(), 5);
    store.Undo();
    EXPECT_EQ(lines.GetTextStr(), text);
    store.Redo();
    EXPECT_EQ(lines.GetTextStr(), expected);
}

}  // namespace
