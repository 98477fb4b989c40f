#include <gtest/gtest.h>

#include <random>
#include <algorithm>
#include <string>
#include <vector>

#include "editor/core/CellMap.h"
#include "editor/core/ShiftJis.h"
#include "editor/core/TEditorCore.h"
#include "EditorUnderTest.h"

namespace {

using RC = std::pair<int, int>;

const std::string Kanji = "\x8a\xbf";  // 漢, 2 bytes, 2 cells
const std::string Aa = "\x82\xa0";     // あ

// --- caret rules -----------------------------------------------------------

TEST(TEditorCoreCaret, NeverRestsOnASecondCellNorInsideTabFillerUnlessInTab)
{
    for (bool inTab : {false, true})
        for (bool freeCaret : {false, true})
            for (bool wrap : {false, true}) {
                Editor e("a" + Kanji + "\tb" + Aa + "\t\txy\r\n\t" + Kanji + Kanji + "z\r\n" + Aa + "q\t" + Kanji);
                e.ed.Caret().SetInTab(inTab);
                e.ed.Caret().SetFreeCaret(freeCaret);
                if (wrap)
                    e.Wrap(9);
                std::mt19937 rng(7);
                bool sawInsideTab = false;
                for (int i = 0; i < 400; ++i) {
                    const TEditorKey keys[] = {TEditorKey::Left, TEditorKey::Right, TEditorKey::Up,
                                               TEditorKey::Down, TEditorKey::Home, TEditorKey::End};
                    if (rng() % 7 == 0)
                        e.ed.SetCol(static_cast<int>(rng() % 30));
                    else
                        e.Key(keys[rng() % 6]);
                    const int row = e.ed.Row();
                    ASSERT_GE(row, 0);
                    ASSERT_LE(row, e.ed.RowCount());
                    const std::string map = BuildCellMap(e.ed.RowText(row),
                                                         {8, wrap, e.ed.WrapOption().WrapByte()});
                    const int col = e.ed.Col();
                    ASSERT_GE(col, 0);
                    if (!freeCaret) {
                        ASSERT_LE(col, static_cast<int>(map.size()));
                    }
                    if (col < static_cast<int>(map.size())) {
                        ASSERT_NE(map[col], '5') << "row " << row << " col " << col;
                        if (!inTab) {
                            ASSERT_NE(map[col], '3') << "row " << row << " col " << col;
                        }
                        sawInsideTab |= map[col] == '3';
                    }
                }
                if (inTab) {
                    EXPECT_TRUE(sawInsideTab);
                }
            }
}

TEST(TEditorCoreCaret, RightAndLeftStepOverWholeCharactersAndTabs)
{
    Editor e("a" + Kanji + "\tb");
    e.Key(TEditorKey::Right);
    EXPECT_EQ(e.ed.Col(), 1);
    e.Key(TEditorKey::Right);
    EXPECT_EQ(e.ed.Col(), 3);  // over the double-byte character
    e.Key(TEditorKey::Right);
    EXPECT_EQ(e.ed.Col(), 8);  // over the TAB's filler
    e.Key(TEditorKey::Left);
    EXPECT_EQ(e.ed.Col(), 3);
    e.Key(TEditorKey::Left);
    EXPECT_EQ(e.ed.Col(), 1);

    e.ed.Caret().SetInTab(true);
    e.At(0, 3);
    e.Key(TEditorKey::Right);
    EXPECT_EQ(e.ed.Col(), 4);
    e.ed.SetRowCol(0, 2);  // snapped back onto the character's first cell
    EXPECT_EQ(e.ed.Col(), 1);
}

TEST(TEditorCoreCaret, RowIsClampedAndTheRowAfterTheLastExistsOnlyAfterALineBreak)
{
    Editor ended("a\r\nb\r\n");
    ended.ed.SetRow(100);
    EXPECT_EQ(ended.ed.Row(), 2);
    ended.ed.SetRow(-4);
    EXPECT_EQ(ended.ed.Row(), 0);

    Editor open("a\r\nb");
    open.ed.SetRow(100);
    EXPECT_EQ(open.ed.Row(), 1);
    open.Key(TEditorKey::Down);
    EXPECT_EQ(open.ed.Row(), 1);
    open.Key(TEditorKey::End, ssCtrl);
    EXPECT_EQ(open.Caret(), RC(1, 1));

    open.ed.SetCol(5000);
    EXPECT_EQ(open.ed.Col(), 1000);
}

TEST(TEditorCoreCaret, FixedCaretKeepsItsColumnAcrossShortRowsWithKeepCaret)
{
    Editor e("abcdefghij\r\nab\r\nabcdefghij\r\n");
    e.ed.Caret().SetFreeCaret(false);
    e.At(0, 8);
    e.Key(TEditorKey::Down);
    EXPECT_EQ(e.Caret(), RC(1, 2));
    e.Key(TEditorKey::Down);
    EXPECT_EQ(e.Caret(), RC(2, 2));  // without KeepCaret the column is lost

    e.ed.Caret().SetKeepCaret(true);
    e.At(0, 8);
    e.Key(TEditorKey::Down);
    EXPECT_EQ(e.Caret(), RC(1, 2));
    e.Key(TEditorKey::Down);
    EXPECT_EQ(e.Caret(), RC(2, 8));
    e.Key(TEditorKey::Up);
    e.Key(TEditorKey::Left);  // a horizontal move forgets the column
    e.Key(TEditorKey::Down);
    EXPECT_EQ(e.Caret(), RC(2, 1));

    // FreeRow: keyboard moves keep the column beyond a short row's end.
    e.ed.Caret().SetKeepCaret(false);
    e.ed.Caret().SetFreeRow(true);
    e.At(0, 8);
    e.Key(TEditorKey::Down);
    EXPECT_EQ(e.Caret(), RC(1, 8));
    e.ed.SetRow(2);  // not a keyboard move: cut to the row end
    e.ed.SetRow(1);
    EXPECT_EQ(e.Caret(), RC(1, 2));
}

TEST(TEditorCoreCaret, RowEndsAreCrossedOnlyWithNextLineOrAtAWrap)
{
    Editor e("abc\r\ndef");
    e.ed.Caret().SetFreeCaret(false);
    e.At(0, 3);
    e.Key(TEditorKey::Right);
    EXPECT_EQ(e.Caret(), RC(0, 3));
    e.ed.Caret().SetNextLine(true);
    e.Key(TEditorKey::Right);
    EXPECT_EQ(e.Caret(), RC(1, 0));
    e.Key(TEditorKey::Left);
    EXPECT_EQ(e.Caret(), RC(0, 3));

    Editor w("abcdefghijklm");
    w.Wrap(6);  // rows of at most 6 cells, the last character of a full row unreachable at its end
    ASSERT_GT(w.ed.RowCount(), 1);
    const int first = static_cast<int>(w.ed.RowText(0).size());
    w.Key(TEditorKey::End);
    EXPECT_EQ(w.Caret(), RC(0, first - 1));
    w.Key(TEditorKey::Right);
    EXPECT_EQ(w.Caret(), RC(1, 0));
    w.Key(TEditorKey::Left);
    EXPECT_EQ(w.Caret(), RC(0, first - 1));
}

TEST(TEditorCoreCaret, CharIndexConversionsCountWrappedRowsAndLineBreaks)
{
    Editor e("abcdefghijkl\r\nxy");
    e.Wrap(5);
    ASSERT_EQ(e.ed.RowToLine(e.ed.RowCount() - 1), 1);
    const int r1 = static_cast<int>(e.ed.RowText(0).size());
    EXPECT_EQ(e.ed.RowColToCharIndex(1, 1), r1 + 1);
    EXPECT_EQ(e.ed.RowColToCharIndex(1, 99), r1 + static_cast<int>(e.ed.RowText(1).size()));
    EXPECT_EQ(e.ed.RowColToCharIndex(-1, 0), -1);
    EXPECT_EQ(e.ed.RowColToCharIndex(0, -1), -1);
    EXPECT_EQ(e.ed.RowColToCharIndex(e.ed.RowCount() + 1, 0), -1);

    e.ed.SetCaretByIndex(0, 7);
    EXPECT_EQ(e.ed.RowColToCharIndex(e.ed.Row(), e.ed.Col()), 7);
    e.ed.SetCaretByIndex(0, 12 + 2 + 1);  // across the line break into "xy"
    EXPECT_EQ(e.Caret(), RC(e.ed.RowCount() - 1, 1));
    e.ed.SetCaretByIndex(0, 999);
    EXPECT_EQ(e.Caret(), RC(e.ed.RowCount() - 1, 2));
    EXPECT_EQ(e.ed.SelStart(), 12 + 2 + 2);

    Editor k("a" + Kanji + "b\r\n");
    k.ed.SetCaretByIndex(0, 3);
    EXPECT_EQ(k.Caret(), RC(0, 3));
    k.ed.SetCaretByIndex(0, 6);  // beyond the final line break: the row after it
    EXPECT_EQ(k.Caret(), RC(1, 0));

    // From the middle of line 0 to the start of line 1.
    Editor s("hello\r\nworld");
    s.At(0, 2);
    s.Key(TEditorKey::Down, ssShift);
    s.Key(TEditorKey::Home, ssShift);
    EXPECT_EQ(s.ed.SelStart(), 2);
    EXPECT_EQ(s.ed.SelChars().EndRow, 1);
    EXPECT_EQ(s.ed.SelChars().EndCol, 0);
}

// --- keeping the caret in view ---------------------------------------------

TEST(TEditorCoreView, GeometryFollowsTheOptionObjects)
{
    Editor e;
    EXPECT_EQ(e.ed.TextAreaLeft(), 19 + 12);
    EXPECT_EQ(e.ed.TextAreaTop(), 2);
    EXPECT_EQ(e.ed.RowHeight(), 16);
    EXPECT_EQ(e.ed.VisibleRows(), (400 - 2 - 5) / 16);
    EXPECT_EQ(e.ed.VisibleCols(), (800 - 31 - 4) / 8);
    e.ed.Ruler().SetVisible(true);
    e.ed.Marks().Underline.SetVisible(true);
    e.ed.Margin().SetLine(3);
    e.ed.Leftbar().SetVisible(true);
    e.ed.Imagebar().SetVisible(false);
    EXPECT_EQ(e.ed.TextAreaTop(), 2 + 11);
    EXPECT_EQ(e.ed.RowHeight(), 16 + 3 + 1);
    EXPECT_EQ(e.ed.TextAreaLeft(), 19 + 8 + 4 * 8 + 4 + 2);
    e.ed.SetScrollBars(ssBoth);
    EXPECT_EQ(e.ed.VisibleRows(), (400 - 13 - 5 - 16) / 20);
    EXPECT_EQ(e.ed.VisibleCols(), (800 - 65 - 4 - 16) / 8);
}

TEST(TEditorCoreView, RowsScrollToTheCaretAndColumnsJumpByAQuarter)
{
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += std::string(300, 'a') + "\r\n";
    Editor e(text);
    const int rows = e.ed.VisibleRows();  // 24
    const int cols = e.ed.VisibleCols();  // 95
    int topRowChanges = 0;
    e.ed.OnTopRowChange = [&] { ++topRowChanges; };

    e.ed.SetRow(rows);  // one past the last visible row
    EXPECT_EQ(e.ed.TopRow(), 1);
    EXPECT_EQ(topRowChanges, 1);
    EXPECT_EQ(e.view.scrolledY, -16);
    e.ed.SetRow(50);
    EXPECT_EQ(e.ed.TopRow(), 50 - rows + 1);
    e.ed.SetRow(3);
    EXPECT_EQ(e.ed.TopRow(), 3);

    e.ed.SetCol(cols);  // one past the right edge: a jump of a quarter width
    EXPECT_EQ(e.ed.TopCol(), cols / 4);
    e.ed.SetCol(cols / 4 + cols + 40);
    EXPECT_EQ(e.ed.TopCol(), cols / 4 + 41);
    e.ed.SetCol(cols / 4 + 40);  // left of the view, less than a quarter back
    EXPECT_EQ(e.ed.TopCol(), cols / 4 + 41 - cols / 4);
    e.ed.SetCol(2);
    EXPECT_EQ(e.ed.TopCol(), 2);
    e.ed.SetCol(0);
    EXPECT_EQ(e.ed.TopCol(), 0);
    e.ed.SetCol(1000);
    EXPECT_EQ(e.ed.TopCol(), 1000 - cols + 1);
    e.ed.SetTopCol(5000);  // the horizontal range ends half a screen past column 1000
    EXPECT_EQ(e.ed.TopCol(), 1000 + cols / 2);

    e.ed.SetRowCol(5, 7);
    EXPECT_EQ(e.view.caretX, e.ed.TextAreaLeft() + (7 - e.ed.TopCol()) * 8);
    EXPECT_EQ(e.view.caretY, e.ed.TextAreaTop() + (5 - e.ed.TopRow()) * 16);
    e.ed.Caret().SetStyle(csBrief);
    EXPECT_EQ(e.view.caretY, e.ed.TextAreaTop() + (5 - e.ed.TopRow()) * 16 + 14);
    EXPECT_EQ(e.view.caretH, 2);

    // Without the focus the view does not follow the caret.
    e.view.focus = false;
    const int top = e.ed.TopRow();
    e.ed.SetRow(90);
    EXPECT_EQ(e.ed.TopRow(), top);
}

TEST(TEditorCoreView, PagesAndCtrlScrollMoveByTheSpeedSettings)
{
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += "line\r\n";
    Editor e(text);
    const int half = (e.ed.VisibleRows() - 1) / 2;  // 11
    e.Key(TEditorKey::PageDown);
    EXPECT_EQ(e.ed.Row(), half * 2);
    EXPECT_EQ(e.ed.TopRow(), half * 2);
    e.ed.Speed().SetPageVerticalRangeAc(4);
    e.Key(TEditorKey::PageDown, 0, true);
    EXPECT_EQ(e.ed.Row(), half * 6);
    e.Key(TEditorKey::PageUp);
    EXPECT_EQ(e.ed.Row(), half * 4);

    // Ctrl+Down scrolls; the caret follows only when it would leave the view.
    e.ed.SetTopRow(10);
    e.ed.SetRow(20);
    e.Key(TEditorKey::Down, ssCtrl);
    EXPECT_EQ(e.ed.TopRow(), 11);
    EXPECT_EQ(e.ed.Row(), 20);
    for (int i = 0; i < 10; ++i)
        e.Key(TEditorKey::Down, ssCtrl);
    EXPECT_EQ(e.ed.Row(), 21);

    // Auto-repeat at the bottom row steps by CaretVerticalAc.
    e.ed.SetRow(e.ed.TopRow() + e.ed.VisibleRows() - 1);
    const int before = e.ed.Row();
    e.Key(TEditorKey::Down, 0, true);
    EXPECT_EQ(e.ed.Row(), before + 2);
}

// --- notifications ---------------------------------------------------------

TEST(TEditorCoreEvents, ChangeFiresBeforeTheCaretMovesPastTheText)
{
    Editor e("abc");
    e.At(0, 1);
    std::vector<std::string> log;
    e.ed.OnChange = [&] {
        log.push_back("change " + e.Text() + " at " + std::to_string(e.ed.Col()));
    };
    e.ed.OnCaretMoved = [&] { log.push_back("caret " + std::to_string(e.ed.Col())); };
    e.Type("X");
    EXPECT_EQ(log, (std::vector<std::string>{"change aXbc at 1", "caret 2"}));
    EXPECT_TRUE(e.ed.Modified());

    log.clear();
    e.Type("\r");
    EXPECT_EQ(log, (std::vector<std::string>{"change aX\r\nbc at 2", "caret 0"}));

    // Inside an outer update block each fires once, at its end.
    log.clear();
    e.ed.Lines().BeginUpdate();
    e.Type("12");
    e.Key(TEditorKey::End);
    EXPECT_TRUE(log.empty());
    e.ed.Lines().EndUpdate();
    EXPECT_EQ(log, (std::vector<std::string>{"change aX\r\n12bc at 4", "caret 4"}));

    // One OnCaretMoved per caret-setting sequence; none when nothing moves.
    log.clear();
    e.ed.SetRowCol(0, 1);
    e.ed.SetRowCol(0, 1);
    e.Key(TEditorKey::End, ssCtrl);
    EXPECT_EQ(log, (std::vector<std::string>{"caret 1", "caret 4"}));
}

TEST(TEditorCoreEvents, ShiftNavigationAnchorsExtendsAndClears)
{
    Editor e("hello world");
    std::vector<bool> changes;
    e.ed.OnSelectionChange = [&](bool selected) { changes.push_back(selected); };
    e.At(0, 6);
    e.Key(TEditorKey::End, ssShift);
    EXPECT_TRUE(e.ed.Selected());
    EXPECT_EQ(e.ed.SelChars().StartCol, 6);
    EXPECT_EQ(e.ed.SelChars().EndCol, 11);
    e.Key(TEditorKey::Left, ssShift);
    EXPECT_EQ(e.ed.SelChars().EndCol, 10);
    e.Key(TEditorKey::Left);
    EXPECT_FALSE(e.ed.Selected());
    EXPECT_EQ(changes, (std::vector<bool>{true, true, false}));

    e.At(0, 5);
    e.Key(TEditorKey::Home, ssShift);  // backwards: start and end swap
    EXPECT_EQ(e.ed.SelChars().StartCol, 0);
    EXPECT_EQ(e.ed.SelChars().EndCol, 5);
    e.Type("Bye");
    EXPECT_EQ(e.Text(), "Bye world");
    EXPECT_EQ(e.Caret(), RC(0, 3));
}

// --- editing ---------------------------------------------------------------

// The logical position of the caret: line and byte index in it.
std::pair<int, int> LogicalCaret(Editor& e)
{
    const int row = e.ed.Row();
    if (row >= e.ed.RowCount())
        return {e.ed.Lines().GetCount(), 0};
    return {e.ed.RowToLine(row), e.ed.RowColToCharIndex(row, e.ed.Col())};
}

struct TextModel {
    std::vector<std::string> lines;
    bool endsWithBreak = false;

    explicit TextModel(const std::string& text)
    {
        std::string cur;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                lines.push_back(cur);
                cur.clear();
                ++i;
            } else {
                cur += text[i];
            }
        }
        endsWithBreak = !text.empty() && text.back() == '\n';
        if (!endsWithBreak && !(text.empty()))
            lines.push_back(cur);
    }
    std::string Text() const
    {
        std::string s;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            s += lines[i];
            if (i + 1 < lines.size() || endsWithBreak)
                s += "\r\n";
        }
        return s;
    }
    // The caret may stand on the empty line after a final break.
    std::string& Line(int n)
    {
        if (n == static_cast<int>(lines.size())) {
            lines.emplace_back();
            endsWithBreak = false;
        }
        return lines[n];
    }
};

void RandomEditsMatchAStringModel(int wrapByte, unsigned seed)
{
    const std::string start = "alpha beta\r\n\t" + Kanji + "x" + Aa + "yz\r\n\r\nlast line here" + Kanji;
    Editor e(start);
    e.ed.Caret().SetFreeCaret(false);
    e.ed.Caret().SetAutoIndent(false);
    e.ed.Caret().SetBackSpaceUnIndent(false);
    if (wrapByte > 0)
        e.Wrap(wrapByte);
    TextModel model(start);
    std::mt19937 rng(seed);
    int edits = 0;
    for (int step = 0; step < 600; ++step) {
        auto [line, index] = LogicalCaret(e);
        const int op = static_cast<int>(rng() % 10);
        SCOPED_TRACE("step " + std::to_string(step) + " op " + std::to_string(op) + " line "
                     + std::to_string(line) + " index " + std::to_string(index));
        int lines = static_cast<int>(model.lines.size());
        std::pair<int, int> expected{-1, -1};
        if (op <= 2) {
            const std::string ch = op == 0 ? std::string(1, static_cast<char>('a' + rng() % 26))
                                 : op == 1 ? Aa
                                           : std::string(" ");
            e.Type(ch);
            model.Line(line).insert(static_cast<std::size_t>(index), ch);
            expected = {line, index + static_cast<int>(ch.size())};
            ++edits;
        } else if (op == 3) {
            e.Type("\r");
            std::string& l = model.Line(line);
            std::string rest = l.substr(static_cast<std::size_t>(index));
            l.erase(static_cast<std::size_t>(index));
            if (line + 1 == static_cast<int>(model.lines.size()) && !model.endsWithBreak && rest.empty())
                model.endsWithBreak = true;
            else
                model.lines.insert(model.lines.begin() + line + 1, rest);
            expected = {line + 1, 0};
            ++edits;
        } else if (op == 4) {
            e.Type("\b");
            if (index > 0) {
                std::string& l = model.lines[line];
                const std::size_t at = PrevCharStart(l, static_cast<std::size_t>(index));
                l.erase(at, static_cast<std::size_t>(index) - at);
                expected = {line, static_cast<int>(at)};
                ++edits;
            } else if (line > 0) {
                expected = {line - 1, static_cast<int>(model.lines[line - 1].size())};
                if (line == lines) {
                    model.endsWithBreak = false;
                } else {
                    model.lines[line - 1] += model.lines[line];
                    model.lines.erase(model.lines.begin() + line);
                }
                ++edits;
            }
        } else if (op == 5) {
            e.Key(TEditorKey::Delete);
            if (line < lines) {
                std::string& l = model.lines[line];
                if (index < static_cast<int>(l.size())) {
                    l.erase(static_cast<std::size_t>(index), static_cast<std::size_t>(CharLength(l, index)));
                    ++edits;
                } else if (line + 1 < lines) {
                    l += model.lines[line + 1];
                    model.lines.erase(model.lines.begin() + line + 1);
                    ++edits;
                } else if (model.endsWithBreak) {
                    model.endsWithBreak = false;
                    ++edits;
                }
            }
            expected = {line, index};
        } else {
            const TEditorKey keys[] = {TEditorKey::Left, TEditorKey::Right, TEditorKey::Up, TEditorKey::Down};
            e.Key(keys[op - 6]);
        }
        ASSERT_EQ(e.Text(), model.Text());
        if (expected.first >= 0 && expected.second >= 0) {
            ASSERT_EQ(LogicalCaret(e), expected);
        }
    }
    // Every edit was one undo step; undoing them all gives the start back.
    int undone = 0;
    while (e.ed.Store().UndoObj().CanUndo()) {
        e.ed.Undo();
        ++undone;
    }
    EXPECT_EQ(undone, std::min(edits, e.ed.UndoListMax()));
    if (edits <= e.ed.UndoListMax()) {
        EXPECT_EQ(e.Text(), start);
    }
}

TEST(TEditorCoreEditing, RandomEditsMatchAStringModelWithWrapOff)
{
    RandomEditsMatchAStringModel(0, 1);
    RandomEditsMatchAStringModel(0, 2);
}

TEST(TEditorCoreEditing, RandomEditsMatchAStringModelWithWrapOn)
{
    RandomEditsMatchAStringModel(8, 3);
    RandomEditsMatchAStringModel(13, 4);
}

TEST(TEditorCoreEditing, UndoOfEveryKindOfEditRestoresTheStart)
{
    const std::string start = "    one\r\n\ttwo" + Kanji + "\r\nthree";
    for (bool wrap : {false, true}) {
        Editor e(start);
        e.ed.SetUndoListMax(200);
        if (wrap)
            e.Wrap(6);
        e.At(1, 9);
        e.Type("\r\r\t x" + Aa);
        e.Type("\r", ssShift);
        e.Key(TEditorKey::End, ssCtrl);
        e.Type("\r\b\b\b");
        e.At(0, 4);
        e.Type("\b");
        e.ed.SetRowCol(0, 20);
        e.Key(TEditorKey::Delete);
        e.Key(TEditorKey::Home, ssCtrl);
        e.Key(TEditorKey::Down, ssShift);
        e.Type("Z");
        e.ed.ImeResult(Kanji + Aa);
        ASSERT_NE(e.Text(), start);
        while (e.ed.Store().UndoObj().CanUndo())
            e.ed.Undo();
        EXPECT_EQ(e.Text(), start) << "wrap " << wrap;
    }
}

TEST(TEditorCoreEditing, EditsOfALongLineRecordOnlyWhatChangedAndUndoToTheExactBytes)
{
    // 300 KB in one line: blanks, TABs, kanji (one with a 0x5C trail byte)
    // and a run of bytes that repeats, so that edits fall between equal bytes.
    std::string line;
    while (line.size() < 300000)
        line += "ab\tcd " + Kanji + "\x95\x5c" + "aaaa" + std::to_string(line.size());
    const std::string start = "first\r\n" + line + "\r\nlast";
    for (bool wrap : {false, true}) {
        Editor e(start);
        e.ed.SetUndoListMax(200);
        if (wrap)
            e.Wrap(80);
        const int row = wrap ? e.ed.LineToRow(1) + e.ed.Store().LineEndRow(e.ed.LineToRow(1)) / 2 : 1;
        e.At(row, 40);
        std::vector<std::string> texts{e.Text()};
        auto step = [&](auto&& edit) {
            edit();
            texts.push_back(e.Text());
            const TUndoData& record = e.ed.Store().UndoObj().UndoList().back();
            EXPECT_LE(record.Text.size(), 16u) << "wrap " << wrap << ", step " << texts.size();
        };
        step([&] { e.Type("a"); });
        step([&] { e.Type(Kanji); });
        step([&] { e.Type("\t"); });
        step([&] { e.Type("\b"); });
        step([&] { e.Key(TEditorKey::Delete); });
        step([&] { e.Type("\r"); });
        step([&] { e.Type("\b"); });
        step([&] { e.ed.ImeResult("x\r\ny" + Kanji, false); });
        step([&] {
            e.Key(TEditorKey::Right, ssShift);
            e.Key(TEditorKey::Right, ssShift);
            e.Type("Q");
        });
        EXPECT_LT(e.ed.Store().UndoObj().TextBytes(), 1000u) << "wrap " << wrap;

        // Where two long texts first differ, rather than both in full.
        auto firstDifference = [](const std::string& a, const std::string& b) -> std::size_t {
            const auto d = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
            return d.first == a.end() && d.second == b.end() ? std::string::npos
                                                             : static_cast<std::size_t>(d.first - a.begin());
        };
        for (std::size_t k = texts.size() - 1; k > 0; --k) {
            e.ed.Undo();
            ASSERT_EQ(firstDifference(e.Text(), texts[k - 1]), std::string::npos)
                << "wrap " << wrap << ", undo to " << k - 1;
        }
        for (std::size_t k = 1; k < texts.size(); ++k) {
            e.ed.Redo();
            ASSERT_EQ(firstDifference(e.Text(), texts[k]), std::string::npos) << "wrap " << wrap << ", redo to " << k;
        }
        // The records an undo and a redo leave are no bigger.
        e.ed.Undo();
        EXPECT_LE(e.ed.Store().UndoObj().RedoList().back().Text.size(), 16u);
        EXPECT_TRUE(e.Text() == texts[texts.size() - 2]);
    }
}

TEST(TEditorCoreEditing, TypingBeyondTheRowEndPadsAndDeleteThereJoins)
{
    Editor e("ab\r\ncd");
    e.At(0, 5);
    e.Type("x");
    EXPECT_EQ(e.Text(), "ab   x\r\ncd");
    e.At(0, 8);
    e.Key(TEditorKey::Delete);
    EXPECT_EQ(e.Text(), "ab   x  cd");
    EXPECT_EQ(e.Caret(), RC(0, 8));
    e.At(0, 12);
    e.Type("\b");  // beyond the end BackSpace only moves the caret
    EXPECT_EQ(e.Text(), "ab   x  cd");
    EXPECT_EQ(e.Caret(), RC(0, 11));

    // Delete on a TAB's filler and BackSpace inside it take the whole TAB.
    Editor t("a\tb");
    t.ed.Caret().SetInTab(true);
    t.At(0, 4);
    t.Key(TEditorKey::Delete);
    EXPECT_EQ(t.Text(), "ab");
    Editor u("a\tb");
    u.ed.Caret().SetInTab(true);
    u.ed.Caret().SetBackSpaceUnIndent(false);
    u.At(0, 4);
    u.Type("\b");
    EXPECT_EQ(u.Text(), "ab");
    EXPECT_EQ(u.Caret(), RC(0, 1));
}

TEST(TEditorCoreEditing, BackSpaceAtAContinuedRowDeletesTheCharacterBeforeTheWrap)
{
    Editor e("abcdefghij");
    e.Wrap(5);
    ASSERT_EQ(e.ed.RowToLine(1), 0);
    const int first = static_cast<int>(e.ed.RowText(0).size());
    e.At(1, 0);
    e.Type("\b");
    EXPECT_EQ(e.Text(), std::string("abcdefghij").erase(first - 1, 1));
    EXPECT_EQ(e.ed.RowColToCharIndex(e.ed.Row(), e.ed.Col()), first - 1);
}

TEST(TEditorCoreEditing, TabInsertsSpacesToTheNextStopLimitedByTheWrap)
{
    Editor e("abc");
    e.ed.Caret().SetSoftTab(true);
    e.At(0, 3);
    e.Type("\t");
    EXPECT_EQ(e.Text(), "abc     ");
    EXPECT_EQ(e.ed.Col(), 8);

    Editor w("123456789");
    w.ed.Caret().SetSoftTab(true);
    w.Wrap(12);
    w.At(0, 9);
    w.Type("\t");
    EXPECT_EQ(w.Text(), "123456789   ");

    Editor n("ab");
    n.At(0, 1);
    n.Type("\t", ssShift);  // Shift+TAB is not ours
    n.ed.SetWantTabs(false);
    EXPECT_FALSE(n.ed.KeyPress("\t"));
    EXPECT_EQ(n.Text(), "ab");
    n.ed.SetWantTabs(true);
    n.Type("\t");
    EXPECT_EQ(n.Text(), "a\tb");
    EXPECT_EQ(n.ed.Col(), 8);
}

TEST(TEditorCoreEditing, EnterIndentsLikeTheLinesFirstRow)
{
    Editor e("    abc");
    e.At(0, 7);
    e.Type("\r");
    EXPECT_EQ(e.Text(), "    abc\r\n    ");
    EXPECT_EQ(e.Caret(), RC(1, 4));

    Editor t(std::string(10, ' ') + "x");
    t.ed.Caret().SetTabIndent(true);
    t.At(0, 11);
    t.Type("\r");
    EXPECT_EQ(t.Text(), std::string(10, ' ') + "x\r\n\t  ");
    EXPECT_EQ(t.Caret(), RC(1, 10));

    // Caret inside the indent: the new line is indented by the caret column.
    Editor c("      x");
    c.At(0, 2);
    c.Type("\r");
    EXPECT_EQ(c.Text(), "  \r\n      x");
    EXPECT_EQ(c.Caret(), RC(1, 2));

    // On a continued row the indent is the line's first row's.
    Editor w("  abcdefghijklmnop");
    w.Wrap(6);
    w.At(2, 2);
    const int index = w.ed.RowColToCharIndex(2, 2);
    w.Type("\r");
    std::string expected = "  abcdefghijklmnop";
    expected.insert(static_cast<std::size_t>(index), "\r\n  ");
    EXPECT_EQ(w.Text(), expected);

    // PrevSpaceIndent: an empty line takes the indent of the nearest text above.
    Editor p("   a\r\n\r\n\r\nb");
    p.ed.Caret().SetPrevSpaceIndent(true);
    p.At(2, 0);
    p.Type("\r");
    EXPECT_EQ(p.Text(), "   a\r\n\r\n\r\n   \r\nb");

    // Shift+Enter: an indented empty line above the logical line.
    Editor s("x\r\n  yz");
    s.At(1, 3);
    s.Type("\r", ssShift);
    EXPECT_EQ(s.Text(), "x\r\n  \r\n  yz");
    EXPECT_EQ(s.Caret(), RC(1, 2));

    // Off: no indent; on the row after the last: a bare line break.
    Editor o("  q\r\n");
    o.ed.Caret().SetAutoIndent(false);
    o.At(0, 3);
    o.Type("\r");
    EXPECT_EQ(o.Text(), "  q\r\n\r\n");
    o.ed.SetRow(99);
    o.Type("\r");
    EXPECT_EQ(o.Text(), "  q\r\n\r\n\r\n");
    EXPECT_EQ(o.Caret(), RC(3, 0));
}

TEST(TEditorCoreEditing, BackSpaceAtTheIndentReturnsToTheEnclosingLevel)
{
    Editor e("a\r\n    b\r\n        c");
    e.At(2, 8);
    e.Type("\b");
    EXPECT_EQ(e.Text(), "a\r\n    b\r\n    c");
    EXPECT_EQ(e.Caret(), RC(2, 4));
    e.Type("\b");
    EXPECT_EQ(e.Text(), "a\r\n    b\r\nc");
    EXPECT_EQ(e.Caret(), RC(2, 0));

    // A TAB cut by the target becomes spaces; blank rows are passed over.
    Editor t("  a\r\n\r\n\t\tb");
    t.At(2, 16);
    t.Type("\b");
    EXPECT_EQ(t.Text(), "  a\r\n\r\n  b");
    EXPECT_EQ(t.Caret(), RC(2, 2));

    // Not at the indent: an ordinary BackSpace.
    Editor n("    ab");
    n.At(0, 5);
    n.Type("\b");
    EXPECT_EQ(n.Text(), "    b");
}

TEST(TEditorCoreEditing, DoubleByteInputAndInputMethodResultsInsertOnce)
{
    Editor e("");
    e.Type(Kanji);  // lead and trail queued together
    EXPECT_EQ(e.Text(), Kanji);
    EXPECT_EQ(e.ed.Col(), 2);
    e.Type("\x82");  // a lone lead byte below 160 is not a character
    EXPECT_EQ(e.Text(), Kanji);

    e.ed.ImeResult(Aa + "b");
    EXPECT_EQ(e.Text(), Kanji + Aa + "b");
    EXPECT_EQ(e.ed.ImePending(), 3);
    e.Type(Aa);   // the same result echoed as characters is swallowed
    e.Type("b");
    EXPECT_EQ(e.Text(), Kanji + Aa + "b");
    EXPECT_EQ(e.ed.ImePending(), 0);
    e.Type("c");
    EXPECT_EQ(e.Text(), Kanji + Aa + "bc");

    e.ed.ImeResult("z", false);
    e.Type("y");
    EXPECT_EQ(e.Text(), Kanji + Aa + "bczy");
}

TEST(TEditorCoreEditing, ReadOnlyIgnoresEditsButNotNavigation)
{
    Editor e("abc\r\ndef");
    e.ed.SetReadOnly(true);
    e.Type("x\r\b\t");
    e.Key(TEditorKey::Delete);
    e.ed.ImeResult("y");
    e.Key(TEditorKey::Down);
    EXPECT_EQ(e.Text(), "abc\r\ndef");
    EXPECT_EQ(e.Caret(), RC(1, 0));
    EXPECT_FALSE(e.ed.Modified());

    // A cut is an edit: ignored whole, the clipboard left alone. Copy works.
    e.view.clip = "before";
    e.Key(TEditorKey::Right, ssShift);
    e.ed.CutToClipboard();
    EXPECT_EQ(e.view.clip, "before");
    EXPECT_EQ(e.Text(), "abc\r\ndef");
    e.ed.CopyToClipboard();
    EXPECT_EQ(e.view.clip, "d");
}

TEST(TEditorCoreEditing, ShiftSelectionIsReplacedOrDeletedAsOneStep)
{
    Editor e("one\r\ntwo\r\nthree");
    e.At(0, 1);
    e.Key(TEditorKey::Down, ssShift);
    e.Key(TEditorKey::Right, ssShift);
    e.Key(TEditorKey::Delete);
    EXPECT_EQ(e.Text(), "oo\r\nthree");
    EXPECT_EQ(e.Caret(), RC(0, 1));
    e.ed.Undo();
    EXPECT_EQ(e.Text(), "one\r\ntwo\r\nthree");

    e.At(1, 0);
    e.Key(TEditorKey::End, ssShift | ssCtrl);
    e.Type("\b");
    EXPECT_EQ(e.Text(), "one\r\n");
    e.Type("x");
    EXPECT_EQ(e.Text(), "one\r\nx");
}

// --- word jumps ------------------------------------------------------------

TEST(TEditorCoreWords, CtrlArrowsJumpBetweenScannerWords)
{
    Editor e("foo bar(baz)\r\n  " + Kanji + Kanji + "abc");
    std::vector<int> cols;
    for (int i = 0; i < 3; ++i) {
        e.Key(TEditorKey::Right, ssCtrl);
        cols.push_back(e.ed.Col());
    }
    EXPECT_EQ(cols, (std::vector<int>{4, 8, 12}));  // symbols are no words; then the row end
    e.Key(TEditorKey::Right, ssCtrl);
    EXPECT_EQ(e.Caret(), RC(1, 2));
    e.Key(TEditorKey::Right, ssCtrl);
    EXPECT_EQ(e.Caret(), RC(1, 6));  // the kanji run, then the identifier

    e.At(1, 0);
    e.Key(TEditorKey::Left, ssCtrl);
    EXPECT_EQ(e.Caret(), RC(0, 12));  // stops at the end of the line above
    e.Key(TEditorKey::Left, ssCtrl);
    EXPECT_EQ(e.Caret(), RC(0, 8));
    e.Key(TEditorKey::Left, ssCtrl, false);
    e.Key(TEditorKey::Left, ssCtrl);
    EXPECT_EQ(e.Caret(), RC(0, 0));

    // A bracket pair of the scheme does not hide the words inside it.
    e.ed.View().Brackets().Add("(", ")");
    e.At(0, 4);
    e.Key(TEditorKey::Right, ssCtrl);
    EXPECT_EQ(e.ed.Col(), 8);
}

}  // namespace

namespace {

// --- selection text and the clipboard --------------------------------------

TEST(TEditorCoreSelection, NormalSelectionTextCountsLineBreaksAsTwo)
{
    Editor e("hello\r\nworld");
    e.At(0, 2);
    e.Key(TEditorKey::Down, ssShift);
    e.Key(TEditorKey::Home, ssShift);
    EXPECT_EQ(e.ed.SelText(), "llo\r\n");
    EXPECT_EQ(e.ed.SelLength(), 5);
    e.ed.CutToClipboard();
    EXPECT_EQ(e.view.clip, "llo\r\n");
    EXPECT_FALSE(e.view.clipBox);
    EXPECT_EQ(e.Text(), "heworld");
    e.At(0, 7);
    e.ed.PasteFromClipboard();
    EXPECT_EQ(e.Text(), "heworldllo\r\n");
    EXPECT_EQ(e.Caret(), RC(1, 0));

    e.ed.SelectAll();
    EXPECT_EQ(e.ed.SelText(), e.Text());
    e.ed.SetSelText("");
    EXPECT_EQ(e.Text(), "");
}

TEST(TEditorCoreSelection, BoxTakesCharactersByTheirFirstCell)
{
    // Row 1: a kanji on cells 1-2 is cut by the left edge (2); row 2: one on
    // cells 3-4 is cut by the right edge (4).
    Editor e("abcdef\r\nx" + Kanji + "yz\r\nabc" + Kanji + "d");
    e.ed.SetBoxMode(true);
    e.At(0, 4);
    e.Key(TEditorKey::Down, ssShift);
    e.Key(TEditorKey::Down, ssShift);  // onto the kanji's first cell, 3
    e.Key(TEditorKey::Left, ssShift);
    ASSERT_EQ(e.ed.SelDisplay().StartCol, 2);
    ASSERT_EQ(e.ed.SelDisplay().EndCol, 4);
    EXPECT_EQ(e.ed.SelText(), "cd\r\ny\r\nc" + Kanji);
    e.ed.CopyToClipboard();
    EXPECT_TRUE(e.view.clipBox);

    // Pasted elsewhere, a box goes in row by row, padding and adding rows.
    Editor other("12345\r\n1");
    other.view.clip = e.view.clip;
    other.view.clipBox = true;
    other.At(0, 3);
    other.ed.PasteFromClipboard();
    EXPECT_EQ(other.Text(), "123cd45\r\n1  y\r\n   c" + Kanji);
    EXPECT_EQ(other.Caret(), RC(0, 5));
    other.ed.Undo();
    EXPECT_EQ(other.Text(), "12345\r\n1");

    // A final line break ends the box's last line and adds no row.
    Editor ended("xxxx\r\nyyyy\r\nz");
    ended.At(0, 3);
    ended.ed.PasteBox("AB\r\nCD\r\n");
    EXPECT_EQ(ended.Text(), "xxxABx\r\nyyyCDy\r\nz");

    e.Key(TEditorKey::Delete);
    EXPECT_EQ(e.Text(), "abef\r\nx" + Kanji + "z\r\nabd");
    e.ed.Undo();
    EXPECT_EQ(e.Text(), "abcdef\r\nx" + Kanji + "yz\r\nabc" + Kanji + "d");
}

}  // namespace

namespace {

TEST(TEditorCoreView, ScrollBarRequestsStayInRangeAndLockScrollDragsTheCaret)
{
    std::string text;
    for (int i = 0; i < 60; ++i)
        text += "row\r\n";
    Editor e(text);
    e.ed.ScrollRequest(true, TScrollRequest::LineBack);
    EXPECT_EQ(e.ed.TopRow(), 0);
    e.ed.ScrollRequest(true, TScrollRequest::PageForward);
    EXPECT_EQ(e.ed.TopRow(), e.ed.VisibleRows());
    EXPECT_EQ(e.ed.Row(), 0);  // the caret stays where it was
    e.ed.ScrollRequest(true, TScrollRequest::ToEnd);
    EXPECT_EQ(e.ed.TopRow(), 60);  // MaxTopRow, clamped to the row count
    e.ed.ScrollRequest(true, TScrollRequest::Thumb, 10);
    EXPECT_EQ(e.ed.TopRow(), 10);

    e.ed.Caret().SetLockScroll(true);  // rebuilding the caret brings it back into view
    EXPECT_EQ(e.ed.TopRow(), 0);
    e.ed.ScrollRequest(true, TScrollRequest::Thumb, 10);
    e.ed.SetRow(12);
    e.ed.ScrollRequest(true, TScrollRequest::LineForward);
    EXPECT_EQ(e.ed.TopRow(), 11);
    EXPECT_EQ(e.ed.Row(), 13);

    e.ed.ScrollRequest(false, TScrollRequest::ToEnd);
    EXPECT_EQ(e.ed.TopCol(), e.ed.VisibleCols() / 2 + 1000);
}

}  // namespace

TEST(TEditorCoreCaret, TheCaretStopsAtColumn1000OnACharactersFirstCell)
{
    // Wrap off: the caret never goes past column 1000. When a double-byte
    // character covers columns 999 and 1000, it stops on the character.
    Editor e(std::string(999, 'a') + "\x82\xa0\x82\xa2\x82\xa4");
    e.ed.SetRowCol(0, 1005);
    EXPECT_EQ(e.ed.Col(), 999);
    e.ed.SetRowCol(0, 999);
    e.ed.SetSelText("\x82\xa9\x82\xab");  // two more: the caret would stand at 1003
    EXPECT_EQ(e.ed.Col(), 999);
    Editor plain(std::string(1200, 'a'));
    plain.ed.SetRowCol(0, 1100);
    EXPECT_EQ(plain.ed.Col(), 1000);
}
