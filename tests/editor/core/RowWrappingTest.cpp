#include <gtest/gtest.h>

#include <random>
#include <string>

#include "FakeEditor.h"
#include "editor/core/ShiftJis.h"
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

namespace {

// The rows of a document as a full re-break of its text gives them.
std::vector<std::string> FullBreak(const std::string& text, const TEditorWrapOption& option)
{
    TEditorScreenStrings fresh;
    fresh.WrapOption().Assign(option);
    fresh.SetWordWrap(true);
    TEditorStrings(fresh).SetTextStr(text);
    std::vector<std::string> rows;
    for (int r = 0; r < fresh.GetCount(); ++r)
        rows.push_back(fresh.Get(r) + "LWE?"[fresh.GetRowAttribute(r)]);
    return rows;
}

// Where two row lists first differ, for failure messages.
std::string FirstDifference(const std::vector<std::string>& a, const std::vector<std::string>& b)
{
    for (size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        std::string x = i < a.size() ? a[i] : "(none)";
        std::string y = i < b.size() ? b[i] : "(none)";
        if (x != y)
            return "row " + std::to_string(i) + ": [" + x + "] vs [" + y + "]";
    }
    return "none";
}

std::vector<std::string> RowsOf(const TEditorScreenStrings& s)
{
    std::vector<std::string> rows;
    for (int r = 0; r < s.GetCount(); ++r)
        rows.push_back(s.Get(r) + "LWE?"[s.GetRowAttribute(r)]);
    return rows;
}

// Typing re-breaks a long line only from the touched row until the rows line
// up again; the rows must still be exactly those of a full re-break, after
// edits and after undo and redo of them.
TEST(IncrementalRewrap, EditsGiveTheRowsOfAFullRebreak)
{
    std::mt19937 rng(99);
    const char* pieces[] = {"a", "word ", "\x82\xa0", "\x95\x5c", "\x81\x42", "\x81\x75", "\x81\x76", "\t", ",",
                            "\r\n", "long-identifier", " ", "\x81\x41"};
    auto randomText = [&](int n) {
        std::string t;
        for (int i = 0; i < n; ++i)
            t += pieces[rng() % 13];
        return t;
    };
    for (int round = 0; round < 6; ++round) {
        TEditorScreenStrings s;
        FakeEditor editor(s);
        s.UndoObj().SetUndoListMax(1000);
        TEditorWrapOption& option = s.WrapOption();
        option.SetWrapByte(8 + static_cast<int>(rng() % 40));
        option.SetWordBreak(rng() % 2);
        option.SetFollowPunctuation(rng() % 2);
        option.SetLeading(rng() % 2);
        option.SetFollowRetMark(rng() % 2);
        s.SetWordWrap(true);
        std::string original;
        for (int l = 0; l < 4; ++l)
            original += randomText(static_cast<int>(rng() % 120)) + "\r\n";
        original += randomText(200);
        TEditorStrings(s).SetTextStr(original);
        ASSERT_EQ(RowsOf(s), FullBreak(original, option));
        std::vector<std::string> texts{original};
        for (int step = 0; step < 150; ++step) {
            const int rows = s.GetCount();
            const int index = static_cast<int>(rng() % (rows + 1));
            const int count = std::min(static_cast<int>(rng() % 3), rows - index);
            std::string text = randomText(static_cast<int>(rng() % 4));
            if (index < rows && rng() % 2) {
                // Typing: the row's own text with a piece inserted.
                std::string row = s.Get(index);
                size_t at = rng() % (row.size() + 1);
                while (at > 0 && at < row.size() && IsSecondByteAt(row, at))
                    --at;
                row.insert(at, text);
                if (s.GetRowAttribute(index) == raLineBreak)
                    row += "\r\n";
                s.ReplaceRows(index, 1, row);
            } else {
                s.ReplaceRows(index, count, text);
            }
            texts.push_back(s.GetTextStr());
            ASSERT_EQ(RowsOf(s), FullBreak(texts.back(), option))
                << "round " << round << " step " << step << " index " << index << " count " << count << " "
                << FirstDifference(RowsOf(s), FullBreak(texts.back(), option));
        }
        for (size_t k = texts.size() - 1; k > 0; --k) {
            s.Undo();
            ASSERT_EQ(s.GetTextStr(), texts[k - 1]);
            ASSERT_EQ(RowsOf(s), FullBreak(texts[k - 1], option)) << "undo to " << k - 1;
        }
        while (s.UndoObj().CanRedo())
            s.Redo();
        EXPECT_EQ(RowsOf(s), FullBreak(texts.back(), option));
    }
}

TEST(IncrementalRewrap, TypingIntoALongLineTouchesOnlyNearbyRows)
{
    TEditorScreenStrings s;
    FakeEditor editor(s);
    s.WrapOption().SetWrapByte(80);
    s.WrapOption().SetWordBreak(true);
    s.WrapOption().SetFollowRetMark(true);
    s.SetWordWrap(true);
    std::string line;
    while (line.size() < 200000)
        line += "\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x95\xb6\x8f\xcd some words here, ";
    TEditorStrings(s).SetTextStr(line + "\r\nnext\r\n");
    const int rows = s.GetCount();
    const int row = rows / 2;
    std::string text = s.Get(row);
    s.ReplaceRows(row, 1, "x" + text);
    EXPECT_LE(s.UndoObj().UndoList().back().Text.size(), 2000u);
    EXPECT_EQ(RowsOf(s), FullBreak(s.GetTextStr(), s.WrapOption()));
    s.Undo();
    EXPECT_EQ(s.GetTextStr(), line + "\r\nnext\r\n");
}

}  // namespace

namespace {

TEST(RowWrappingTabs, ChangingTheTabWidthRewrapsWithWrapOn)
{
    TEditorScreenStrings s;
    FakeEditor editor(s);
    s.WrapOption().SetWrapByte(10);
    s.SetWordWrap(true);
    TEditorStrings(s).SetTextStr("a\tb\tc\td\te\r\n");
    const int rowsAtEight = s.GetCount();
    s.SetTabSpaceCount(2);
    EXPECT_LT(s.GetCount(), rowsAtEight);
    EXPECT_EQ(editor.rewraps, 2);
    EXPECT_EQ(s.GetTextStr(), "a\tb\tc\td\te\r\n");
}

}  // namespace
