#include <gtest/gtest.h>

#include <string>

#include "EditorUnderTest.h"
#include "editor/core/WordAtIndex.h"

namespace {

// The word holding byte `index`, as text; "-" for none.
std::string Word(std::string_view row, std::size_t index)
{
    const std::optional<WordRange> w = WordAtIndex(row, index);
    return w ? std::string(row.substr(w->Begin, w->End - w->Begin)) : "-";
}

const std::string Kan = "\x8a\xbf";      // 漢
const std::string Ji = "\x8e\x9a";       // 字
const std::string Hyou = "\x95\x5c";     // 表, its trail byte a backslash
const std::string A = "\x82\xa0";        // あ
const std::string I = "\x82\xa2";        // い
const std::string Ka = "\x83\x4a";       // カ
const std::string Long = "\x81\x5b";     // ー
const std::string Kuten = "\x81\x42";    // 。

TEST(WordAtIndex, RunsOfOneClassAndTexCommandsWithTheirBackslash)
{
    const std::string row = "see \\section{ab_1}" + Kan + Ji + A + I + Ka + Long + Kuten + "x";
    EXPECT_EQ(Word(row, 0), "see");
    EXPECT_EQ(Word(row, 2), "see");
    EXPECT_EQ(Word(row, 3), "-");           // a blank
    EXPECT_EQ(Word(row, 4), "\\section");   // on the backslash
    EXPECT_EQ(Word(row, 9), "\\section");   // on the letters
    EXPECT_EQ(Word(row, 12), "-");          // a brace
    EXPECT_EQ(Word(row, 13), "ab_1");
    const std::size_t kanji = row.find(Kan);
    EXPECT_EQ(Word(row, kanji), Kan + Ji);
    EXPECT_EQ(Word(row, kanji + 3), Kan + Ji);  // the trail byte of 字
    EXPECT_EQ(Word(row, kanji + 4), A + I);
    EXPECT_EQ(Word(row, kanji + 8), Ka + Long);  // the long mark goes with kana
    EXPECT_EQ(Word(row, kanji + 12), "-");        // a double-byte full stop
    EXPECT_EQ(Word(row, row.size() - 1), "x");
    EXPECT_EQ(Word(row, row.size()), "-");
}

TEST(WordAtIndex, ASecondByteBackslashStartsNoCommand)
{
    // 表 ends in 0x5C: "表abc" is a kanji and a word, never "\abc".
    const std::string row = Hyou + "abc \\\\ \\";
    EXPECT_EQ(Word(row, 0), Hyou);
    EXPECT_EQ(Word(row, 1), Hyou);
    EXPECT_EQ(Word(row, 2), "abc");
    EXPECT_EQ(Word(row, 6), "-");  // "\\" is a control symbol, not a word
    EXPECT_EQ(Word(row, 8), "-");  // a lone backslash at the end
}

TEST(TEditorCoreDoubleClick, SelectsTheWordUnderThePointerUnlessTheMouseIsCaptured)
{
    Editor e("x = \\alpha + " + Kan + Ji + A + "\r\n  ");
    auto x = [&](int col) { return e.ed.TextAreaLeft() + col * e.ed.ColWidth() + 1; };
    auto y = [&](int row) { return e.ed.TextAreaTop() + row * e.ed.RowHeight() + 1; };

    ASSERT_TRUE(e.ed.DoubleClick(x(6), y(0)));
    EXPECT_EQ(e.ed.SelText(), "\\alpha");
    EXPECT_EQ(e.Caret(), std::make_pair(0, 10));
    ASSERT_TRUE(e.ed.DoubleClick(x(14), y(0)));  // the second cell of 字
    EXPECT_EQ(e.ed.SelText(), Kan + Ji);
    e.ed.MouseUp(x(14), y(0), 0);  // the release that follows changes nothing
    EXPECT_EQ(e.ed.SelText(), Kan + Ji);

    // Not on a word: nothing happens, and the caller takes it as a press.
    EXPECT_FALSE(e.ed.DoubleClick(x(1), y(0)));  // a blank
    EXPECT_FALSE(e.ed.DoubleClick(x(30), y(0)));  // beyond the row end
    EXPECT_FALSE(e.ed.DoubleClick(x(0), y(5)));   // below the text
    EXPECT_EQ(e.ed.SelText(), Kan + Ji);

    // While the button is held (or a drag is armed) double clicks are discarded.
    e.ed.MouseDown(x(0), y(0), 0);
    EXPECT_FALSE(e.ed.DoubleClick(x(6), y(0)));
    EXPECT_FALSE(e.ed.Selected());
    e.ed.MouseUp(x(0), y(0), 0);
}

TEST(TEditorCoreDoubleClick, AWordCutByTheWrapIsSelectedOnBothRows)
{
    Editor e("one twothree four");
    e.Wrap(7);  // "one two" | "three f" | "our"
    ASSERT_EQ(e.ed.RowText(1), "three f");
    auto x = [&](int col) { return e.ed.TextAreaLeft() + col * e.ed.ColWidth() + 1; };
    auto y = [&](int row) { return e.ed.TextAreaTop() + row * e.ed.RowHeight() + 1; };
    ASSERT_TRUE(e.ed.DoubleClick(x(1), y(1)));
    EXPECT_EQ(e.ed.SelText(), "twothree");
    EXPECT_EQ(e.ed.SelChars().StartRow, 0);
    EXPECT_EQ(e.ed.SelChars().EndRow, 1);
    ASSERT_TRUE(e.ed.DoubleClick(x(1), y(2)));
    EXPECT_EQ(e.ed.SelText(), "four");
}

TEST(TEditorCoreDoubleClick, AWordBeyondTheCaretsLastColumnIsSelectedWhole)
{
    Editor e(std::string(995, ' ') + "abcdefghij");
    e.ed.SetTopCol(980);
    // On "c", the last cells the caret can reach; the word runs on past them.
    const int px = e.ed.TextAreaLeft() + (997 - e.ed.TopCol()) * e.ed.ColWidth() + 1;
    ASSERT_TRUE(e.ed.DoubleClick(px, e.ed.TextAreaTop() + 1));
    EXPECT_EQ(e.ed.SelText(), "abcdefghij");
}

}  // namespace
