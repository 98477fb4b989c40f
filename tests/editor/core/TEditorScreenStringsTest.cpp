#include <gtest/gtest.h>

#include <random>
#include <string>

#include "FakeEditor.h"
#include "HandMadeRows.h"
#include "../../support/TextModel.h"
#include "editor/core/TEditorScreenStrings.h"
#include "editor/core/TEditorStrings.h"

namespace {

// Rows as "text|attr" pieces, attr one of L (line break), W (wrapped), E (end of text).
std::string Dump(const TEditorScreenStrings& s)
{
    std::string out;
    for (int i = 0; i < s.GetCount(); ++i) {
        out += s.Get(i);
        out += "LWE?"[s.GetRowAttribute(i)];
        out += ' ';
    }
    return out;
}

TEST(TEditorScreenStrings, PlainTextSplitsAtEveryBreakAndKeepsTheFinalState)
{
    TEditorScreenStrings s;
    s.SetPlainText("a\r\nb\nc\rd");
    EXPECT_EQ(Dump(s), "aL bL cL dE ");
    EXPECT_EQ(s.GetTextStr(), "a\r\nb\r\nc\r\nd");
    EXPECT_EQ(s.MaxCaretRow(), 3);

    s.SetPlainText("a\r\n");
    EXPECT_EQ(Dump(s), "aL ");  // no empty row after a final break
    EXPECT_EQ(s.MaxCaretRow(), 1);  // but the caret may stand below it

    s.SetPlainText("\r\n\r\n");
    EXPECT_EQ(Dump(s), "L L ");
    s.SetPlainText("");
    EXPECT_EQ(s.GetCount(), 0);
}

TEST(TEditorScreenStrings, LinesAndRowsConvertOverWrappedRows)
{
    TEditorScreenStrings s;
    PutHandMadeRows(s, {{"ab", raWrapped}, {"cd", raWrapped}, {"e", raLineBreak}, {"f", raLineBreak},
                  {"gh", raWrapped}, {"i", raEndOfText}});
    EXPECT_EQ(s.LineCount(), 3);
    EXPECT_EQ(s.LineToRow(0), 0);
    EXPECT_EQ(s.LineToRow(1), 3);
    EXPECT_EQ(s.LineToRow(2), 4);
    EXPECT_EQ(s.LineToRow(3), 6);
    EXPECT_EQ(s.RowToLine(2), 0);
    EXPECT_EQ(s.RowToLine(3), 1);
    EXPECT_EQ(s.RowToLine(5), 2);
    EXPECT_EQ(s.LineStartRow(2), 0);
    EXPECT_EQ(s.LineEndRow(0), 2);
    EXPECT_EQ(s.LineEndRow(3), 3);
    EXPECT_EQ(s.LineStartRow(5), 4);
    EXPECT_EQ(s.LineEndRow(4), 5);

    TRowsText t = s.RowsText(1, -1);
    EXPECT_EQ(t.Text, "cde\r\n");
    EXPECT_EQ(t.RowCount, 2);
    EXPECT_EQ(t.LastAttribute, raLineBreak);
    EXPECT_EQ(s.RowsText(9, 1).LastAttribute, raNone);
    EXPECT_EQ(s.GetTextStr(), "abcde\r\nf\r\nghi");

    // A document whose last row is still marked wrapped ends a line there too.
    PutHandMadeRows(s, {{"ab", raWrapped}, {"cd", raWrapped}});
    EXPECT_EQ(s.LineCount(), 1);
    EXPECT_EQ(s.LineEndRow(0), 1);
}

TEST(TEditorScreenStrings, ReplaceRowsJoinsTextWithoutBreakToTheNextLine)
{
    TEditorScreenStrings s;
    s.SetPlainText("one\r\ntwo\r\nthree");
    s.ReplaceRows(0, 1, "ONE");
    EXPECT_EQ(Dump(s), "ONEtwoL threeE ");
    s.ReplaceRows(1, 1, "3\r\n4\r\n");
    EXPECT_EQ(Dump(s), "ONEtwoL 3L 4L ");
    s.ReplaceRows(3, 0, "tail");  // after the final break
    EXPECT_EQ(Dump(s), "ONEtwoL 3L 4L tailE ");
    s.ReplaceRows(4, 0, "!");  // after a last row without a break: the same line
    EXPECT_EQ(Dump(s), "ONEtwoL 3L 4L tail!E ");
    s.ReplaceRows(3, 1, "");
    EXPECT_EQ(s.GetTextStr(), "ONEtwo\r\n3\r\n4\r\n");
    s.ReplaceRows(0, 0, "x\r");  // a text ending in a lone CR keeps its break
    EXPECT_EQ(s.GetTextStr(), "x\r\nONEtwo\r\n3\r\n4\r\n");
}

TEST(TEditorScreenStrings, ReplaceRowsIgnoresRangesOutsideTheStore)
{
    TEditorScreenStrings s;
    s.SetPlainText("a\r\nb");
    s.ReplaceRows(-1, 1, "x");
    s.ReplaceRows(1, 2, "x");
    s.ReplaceRows(3, 0, "x");
    s.ReplaceRows(0, 0, std::nullopt);
    EXPECT_EQ(s.GetTextStr(), "a\r\nb");
    EXPECT_FALSE(s.UndoObj().CanUndo());
}

TEST(TEditorScreenStrings, DeletingWholeLinesMovesTheirMarksToTheRowTakingTheirPlace)
{
    TEditorScreenStrings s;
    FakeEditor editor(s);
    s.SetPlainText("a\r\nb\r\nc\r\n");
    s.SetRowMarks(1, 1 << 3);
    s.IncludeMarks(1 << 3);
    s.ReplaceRows(1, 1, std::nullopt);
    EXPECT_EQ(Dump(s), "aL cL ");
    EXPECT_EQ(s.GetRowMarks(1), 1 << 3);

    s.ReplaceRows(1, 1, std::nullopt);  // the last row: the mark goes up
    EXPECT_EQ(s.GetRowMarks(0), 1 << 3);
    s.ReplaceRows(0, 1, std::nullopt);  // nothing left: the mark is no longer used
    EXPECT_EQ(s.GetCount(), 0);
    EXPECT_EQ(s.UsedMarks(), 0);
}

TEST(TEditorScreenStrings, InsertingLinesAtColumnZeroPushesTheMarkDownWithItsText)
{
    TEditorScreenStrings s;
    FakeEditor editor(s);
    s.SetPlainText("marked\r\nnext\r\n");
    s.SetRowMarks(0, 1 << 5);
    editor.col = 0;
    s.ReplaceRows(0, 0, "new1\r\nnew2\r\n");
    EXPECT_EQ(Dump(s), "new1L new2L markedL nextL ");
    EXPECT_EQ(s.GetRowMarks(2), 1 << 5);
    EXPECT_EQ(s.GetRowMarks(0), 0);

    // Splitting a line with the caret inside it keeps the mark on its first part.
    editor.row = 2;
    editor.col = 3;
    s.ReplaceRows(2, 1, "mar\r\nked\r\n");
    EXPECT_EQ(Dump(s), "new1L new2L marL kedL nextL ");
    EXPECT_EQ(s.GetRowMarks(2), 1 << 5);
    EXPECT_EQ(s.GetRowMarks(3), 0);
}

TEST(TEditorScreenStrings, UpdateBlockNotifiesOnceThenClampsCarets)
{
    TEditorScreenStrings s;
    FakeEditor editor(s);
    s.SetPlainText("a\r\nb\r\nc");
    editor.row = 2;
    editor.listChanges = 0;
    s.BeginUpdate();
    s.ReplaceRows(1, 2, "z");
    s.ReplaceRows(0, 0, "y\r\n");
    EXPECT_EQ(editor.listChanges, 0);
    EXPECT_EQ(editor.row, 2);
    s.EndUpdate();
    EXPECT_EQ(editor.listChanges, 1);
    EXPECT_EQ(editor.changes, 1);
    EXPECT_TRUE(editor.modified);
    EXPECT_EQ(Dump(s), "yL aL zE ");
    EXPECT_EQ(editor.lastUpdate.FirstRow, 0);
    EXPECT_FALSE(s.PendingUpdate().Pending);

    s.ReplaceRows(0, 3, std::nullopt);
    EXPECT_EQ(editor.row, 0);  // nothing left: row 0 is the only place
}

TEST(TEditorScreenStrings, ClearEmptiesEverythingAndResetsEditors)
{
    TEditorScreenStrings s;
    FakeEditor editor(s);
    s.SetPlainText("a\r\nb");
    s.ReplaceRows(0, 1, "x\r\n");
    s.SetRowMarks(0, 1);
    s.IncludeMarks(1);
    editor.row = 1;
    editor.col = 4;
    s.Clear();
    EXPECT_EQ(s.GetCount(), 0);
    EXPECT_FALSE(s.UndoObj().CanUndo());
    EXPECT_EQ(s.UsedMarks(), 0);
    EXPECT_EQ(editor.row, 0);
    EXPECT_EQ(editor.col, 0);
    EXPECT_GE(editor.selectionClears, 1);
}

// Replacing rows is replacing their bytes in the text (with CR LF after
// each line-break row): checked on random edits, including undo of them all.
TEST(TEditorScreenStrings, RandomReplacementsMatchTheTextAndUndoRestoresIt)
{
    std::mt19937 rng(7);
    const char* pieces[] = {"", "a", "bc", "\r\n", "x\r\ny", "\r\n\r\n", "\x95\x5c", "end\r\n", "q\nr"};
    TEditorScreenStrings s;
    FakeEditor editor(s);
    s.UndoObj().SetUndoListMax(100000);
    const std::string original = "first\r\nsecond\r\nthird\r\n\r\nfifth";
    s.SetPlainText(original);
    std::string model = original;
    auto offset = [&](int row) {
        size_t off = 0;
        for (int r = 0; r < row; ++r)
            off += s.RowLength(r) + (s.GetRowAttribute(r) == raLineBreak ? 2 : 0);
        return off;
    };
    for (int step = 0; step < 3000; ++step) {
        const int rows = s.GetCount();
        int index = static_cast<int>(rng() % (rows + 1));
        int count = static_cast<int>(rng() % (rows - index + 1));
        if (count > 3)
            count = 3;
        bool absent = rng() % 5 == 0;
        std::string text = pieces[rng() % 9];
        if (absent && count == 0)
            continue;
        size_t from = offset(index);
        size_t to = offset(index + count);
        editor.col = static_cast<int>(rng() % 3);
        s.ReplaceRows(index, count, absent ? std::nullopt : std::optional<std::string_view>(text));
        model = model.substr(0, from) + TextModel::NormaliseBreaks(absent ? "" : text) + model.substr(to);
        ASSERT_EQ(s.GetTextStr(), model) << "step " << step;
        TEditorStrings lines(s);
        std::string joined;
        for (int i = 0; i < lines.GetCount(); ++i)
            joined += lines.Get(i) + "\r\n";
        std::string expect = model;
        if (!expect.empty() && expect.back() != '\n')
            expect += "\r\n";
        ASSERT_EQ(joined, expect) << "step " << step;
    }
    while (s.UndoObj().CanUndo())
        s.Undo();
    EXPECT_EQ(s.GetTextStr(), original);
    while (s.UndoObj().CanRedo())
        s.Redo();
    EXPECT_EQ(s.GetTextStr(), model);
}

}  // namespace

// With wrap off, bytes replaced inside one row change that row where it
// lies: after the first change has given the row a buffer of its own, the
// next ones move no row text elsewhere, the undo record holds only the
// removed bytes, and undo and redo work in place too.
TEST(TEditorScreenStrings, ReplaceInRowChangesOnlyThoseBytesInPlace)
{
    TEditorScreenStrings s;
    FakeEditor editor(s);
    editor.focused = true;
    const std::string line(100000, 'a');
    s.SetPlainText("top\r\n" + line + "\r\nend");
    s.SetRowMarks(1, 1 << 3);
    s.ReplaceInRow(1, 10, 0, "xy");
    const char* data = s.RowView(1).data();

    editor.lastUpdate = {};
    s.ReplaceInRow(1, 50000, 3, "Z");
    EXPECT_EQ(s.RowView(1).data(), data);
    EXPECT_EQ(editor.lastUpdate.FirstRow, 1);
    EXPECT_EQ(editor.lastUpdate.NewRowCount, 1);
    const TUndoData& record = s.UndoObj().UndoList().back();
    EXPECT_EQ(record.Text, "aaa");
    EXPECT_EQ(record.Prefix, 50000u);
    EXPECT_EQ(record.Suffix, line.size() + 2 - 50000 - 3 + 2);  // the rest of the row and its CR LF

    // The text put in may be a piece of the row itself.
    s.ReplaceInRow(1, 0, 1, s.RowView(1).substr(10, 2));
    EXPECT_EQ(s.RowView(1).substr(0, 14), "xyaaaaaaaaaxya");
    EXPECT_EQ(s.RowView(1).data(), data);

    std::string expected = line;
    expected.insert(10, "xy");
    s.Undo();
    s.Undo();
    EXPECT_EQ(s.RowView(1), expected);
    EXPECT_EQ(s.RowView(1).data(), data);
    s.Redo();
    expected.replace(50000, 3, "Z");
    EXPECT_EQ(s.RowView(1), expected);
    EXPECT_EQ(s.UndoObj().RedoList().back().Text, "xy");  // to redo the third change
    EXPECT_LT(s.UndoObj().TextBytes(), 100u);
    EXPECT_EQ(s.GetRowMarks(1), 1 << 3);
    EXPECT_EQ(Dump(s).substr(0, 5), "topL ");
    EXPECT_EQ(s.GetCount(), 3);
    while (s.UndoObj().CanUndo())
        s.Undo();
    EXPECT_EQ(s.GetTextStr(), "top\r\n" + line + "\r\nend");

    // A range past the row's end is cut to it; the last row has no break.
    s.ReplaceInRow(2, 2, 10, "!");
    EXPECT_EQ(s.GetTextStr(), "top\r\n" + line + "\r\nen!");
}

// Where the row would not stay one row by itself (a line break put in, or
// word wrap on), the replacement is that of the row's whole text.
TEST(TEditorScreenStrings, ReplaceInRowLaysOutAsReplaceRowsWhereRowsChange)
{
    for (bool wrap : {false, true}) {
        TEditorScreenStrings a, b;
        for (TEditorScreenStrings* s : {&a, &b}) {
            s->WrapOption().SetWrapByte(6);
            s->SetPlainText("abcdefghijkl mnop\r\nq");
            s->SetWordWrap(wrap);
        }
        a.ReplaceInRow(0, 3, 2, "X\r\nY");
        std::string row = b.Get(0);
        row.replace(3, 2, "X\r\nY");
        b.ReplaceRows(0, 1, std::string_view(row + (b.GetRowAttribute(0) == raLineBreak ? "\r\n" : "")));
        EXPECT_EQ(Dump(a), Dump(b)) << "wrap " << wrap;
        a.Undo();
        EXPECT_EQ(a.GetTextStr(), "abcdefghijkl mnop\r\nq") << "wrap " << wrap;
    }
}

// The last row, without a line break, emptied in place would stay as an
// empty row that no load of the text makes: it goes, as it does when its
// whole text is replaced.
TEST(TEditorScreenStrings, ReplaceInRowRemovesAnEmptiedLastRow)
{
    TEditorScreenStrings s;
    s.SetPlainText("ab\r\ncd");
    s.ReplaceInRow(1, 0, 2, "");
    EXPECT_EQ(Dump(s), "abL ");
    s.SetPlainText("xy");
    s.ReplaceInRow(0, 0, 2, "");
    EXPECT_EQ(s.GetCount(), 0);
    s.Undo();
    EXPECT_EQ(Dump(s), "xyE ");
    s.SetPlainText("ab\r\n");
    s.ReplaceInRow(0, 0, 2, "");
    EXPECT_EQ(Dump(s), "L ");  // a line break keeps its row
}
