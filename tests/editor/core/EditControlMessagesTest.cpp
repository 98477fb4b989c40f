#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "EditorUnderTest.h"
#include "editor/core/EditControlMessages.h"

namespace {

const std::string Kanji = "\x8a\xbf";  // 漢
const std::string Hyou = "\x95\x5c";   // 表: its second byte is a backslash

// Two kanji, a CR LF, a wrap: the offsets 3, 10, 12 and 15 lie inside a
// character or a line break.
const std::string Mixed = "ab" + Kanji + "cdefg\r\n" + Hyou + "x\r\nyz";
bool StartsCharacter(int offset) { return offset != 3 && offset != 10 && offset != 12 && offset != 15; }

struct Messages : Editor {
    EditControlMessages m{ed};
    explicit Messages(std::string_view text = {}) : Editor(text) {}
};

TEST(EditControlRows, OffsetsCountLineBreaksButNotWraps)
{
    Messages e("abcdefghijkl\r\nxy");  // rows: abcde~ fghij~ kl CR LF, xy
    e.Wrap(5);
    ASSERT_EQ(e.m.LineCount(), 4);
    EXPECT_EQ(e.m.LineIndex(0), 0);
    EXPECT_EQ(e.m.LineIndex(1), 5);
    EXPECT_EQ(e.m.LineIndex(3), 14);
    EXPECT_EQ(e.m.LineIndex(4), -1);
    EXPECT_EQ(e.m.GetTextLength(), 17);  // 16 bytes and the end of text

    EXPECT_EQ(e.m.LineFromChar(4), 0);
    EXPECT_EQ(e.m.LineFromChar(5), 1);    // the end of a wrapped row is the next row's start
    EXPECT_EQ(e.m.LineFromChar(13), 2);   // inside CR LF
    EXPECT_EQ(e.m.LineFromChar(14), 3);
    EXPECT_EQ(e.m.LineFromChar(999), 3);
    EXPECT_EQ(e.m.LineLength(12), 2);
    EXPECT_EQ(e.m.LineLength(15), 2);
    EXPECT_EQ(e.m.GetLine(1, 3), "fgh");
    EXPECT_EQ(e.m.GetLine(4, 9), "");

    e.ed.SetCaretByIndex(0, 15);
    EXPECT_EQ(e.m.LineIndex(-1), 14);
    EXPECT_EQ(e.m.LineFromChar(-1), 3);
}

TEST(EditControlRows, RowAfterAFinalLineBreakHasNoIndex)
{
    Messages e("ab\r\n");
    EXPECT_EQ(e.m.LineCount(), 1);
    EXPECT_EQ(e.m.LineIndex(1), -1);
    EXPECT_EQ(e.m.GetTextLength(), 4);
    EXPECT_EQ(e.m.LineFromChar(4), 1);
    EXPECT_EQ(e.m.LineLength(4), 0);

    Messages empty;
    EXPECT_EQ(empty.m.GetTextLength(), 0);
    EXPECT_EQ(empty.m.LineIndex(0), -1);
    EXPECT_EQ(empty.m.LineFromChar(5), 0);
}

TEST(EditControlSelection, RoundTripsEveryRangeOfCharacterStarts)
{
    const std::string& text = Mixed;
    Messages e(text);
    e.Wrap(4);
    ASSERT_GT(e.ed.RowCount(), 4);
    for (int a = 0; a <= static_cast<int>(text.size()); ++a)
        for (int b = 0; b <= static_cast<int>(text.size()); ++b) {
            if (!StartsCharacter(a) || !StartsCharacter(b))
                continue;
            e.m.SetSelection(a, b);
            const auto s = e.m.GetSelection();
            ASSERT_EQ(s.Start, std::min(a, b)) << a << "," << b;
            ASSERT_EQ(s.End, std::max(a, b)) << a << "," << b;
            ASSERT_EQ(s.Packed, static_cast<uint32_t>(s.Start | (s.End << 16)));
            ASSERT_EQ(e.ed.SelText(), text.substr(s.Start, s.End - s.Start));
            ASSERT_EQ(e.ed.Selected(), a != b);
        }
}

TEST(EditControlSelection, SpecialRangesClampsAndLargeOffsets)
{
    Messages e("ab\r\ncde");
    e.m.SetSelection(0, -1);
    EXPECT_EQ(e.ed.SelText(), "ab\r\ncde");
    e.m.SetSelection(-1, 3);
    EXPECT_FALSE(e.ed.Selected());
    e.m.SetSelection(6, 3);  // 3 is inside CR LF: from the end of "ab"
    EXPECT_EQ(e.ed.SelText(), "\r\ncd");
    EXPECT_EQ(e.ed.Row(), 1);  // the caret at the far end
    EXPECT_EQ(e.m.LineFromChar(-1), 0);
    e.m.SetSelection(5, 99);
    EXPECT_EQ(e.ed.SelText(), "de");

    std::string rows;
    for (int i = 0; i < 7000; ++i)
        rows += "abcdefgh\r\n";
    Messages big(rows);
    big.m.SetSelection(65530, 65541);
    EXPECT_EQ(big.ed.SelText(), "abcdefgh\r\na");
    EXPECT_EQ(big.m.GetSelection().End, 65541);
    EXPECT_EQ(big.m.GetSelection().Packed, 0xFFFFFFFFu);
}

TEST(EditControlSelection, LineLengthOfTheSelectionOrCaretRow)
{
    Messages e("abcdef\r\nxy");
    e.ed.SetCaretByIndex(0, 9);
    EXPECT_EQ(e.m.LineLength(-1), 2);
    e.m.SetSelection(1, 3);
    EXPECT_EQ(e.m.LineLength(-1), 6 + 1 - 3 - 1);
}

TEST(EditControlText, GetTextIsCutToLeaveRoomForTheTerminator)
{
    Messages e("ab\r\ncd");
    EXPECT_EQ(e.m.GetText(4), "ab\r");
    EXPECT_EQ(e.m.GetText(100), "ab\r\ncd");
    EXPECT_EQ(e.m.GetText(1), "");
    EXPECT_EQ(e.m.GetText(0), "");
}

TEST(EditControlClipboard, CopyOrCutWithoutSelectionEmptiesTheClipboard)
{
    Messages e("abc");
    e.view.clip = "old";
    e.m.Copy();
    EXPECT_EQ(e.view.clip, "");
    e.m.SetSelection(0, 2);
    e.m.Cut();
    EXPECT_EQ(e.view.clip, "ab");
    EXPECT_EQ(e.Text(), "c");
    e.m.Paste();
    EXPECT_EQ(e.Text(), "abc");
}

TEST(EditControlReadOnly, ChangesAreRefused)
{
    Messages e("abc");
    e.Type("x");
    ASSERT_TRUE(e.m.CanUndo());
    e.m.SetReadOnly(true);
    EXPECT_FALSE(e.m.CanUndo());
    EXPECT_FALSE(e.m.Undo());
    e.m.SetText("zzz");
    e.m.SetSelection(0, 2);
    e.m.Clear();
    e.m.ReplaceSelection("q");
    e.view.clip = "p";
    e.m.Paste();
    e.m.Cut();  // read-only: copies nothing, the clipboard ends empty
    EXPECT_EQ(e.view.clip, "");
    e.m.EmptyUndoBuffer();
    const bool modified = e.m.GetModify();
    e.m.SetModify(!modified);
    EXPECT_EQ(e.m.GetModify(), modified);
    EXPECT_EQ(e.Text(), "xabc");

    e.m.SetReadOnly(false);
    EXPECT_TRUE(e.m.Undo());
    EXPECT_EQ(e.Text(), "abc");
    e.m.EmptyUndoBuffer();
    EXPECT_FALSE(e.m.CanUndo());
}

TEST(EditControlGeometry, CharFromPositionSnapsToTheCharacterStart)
{
    Messages e("a" + Kanji + Hyou + "\tb");
    const int left = e.ed.TextAreaLeft(), top = e.ed.TextAreaTop(), w = e.ed.ColWidth();
    EXPECT_EQ(e.m.CharFromPosition(left + 2 * w + 1, top + 1), 1);  // second cell of 漢
    EXPECT_EQ(e.m.CharFromPosition(left + 4 * w + 1, top + 1), 3);  // second cell of 表
    EXPECT_EQ(e.m.CharFromPosition(left + 6 * w + 1, top + 1), 5);  // inside the TAB
    e.ed.Caret().SetInTab(true);                                      // the caret may stand there,
    EXPECT_EQ(e.m.CharFromPosition(left + 6 * w + 1, top + 1), 5);  // the character is still the TAB
    EXPECT_EQ(e.m.CharFromPosition(-1, top), -1);
    EXPECT_EQ(e.m.CharFromPosition(left, e.view.height), -1);
}

TEST(EditControlGeometry, PositionFromCharRoundTripsAndPacksSigned)
{
    Messages e(Mixed);
    e.Wrap(4);
    for (int i = 0; i <= static_cast<int>(Mixed.size()); ++i) {
        if (!StartsCharacter(i))
            continue;
        const auto p = e.m.PositionFromChar(i);
        ASSERT_EQ(e.m.CharFromPosition(p.X, p.Y), i) << i;
    }

    e.ed.SetTopRow(3);
    e.ed.SetTopCol(8);
    const auto p = e.m.PositionFromChar(1);
    EXPECT_LT(p.X, 0);
    EXPECT_LT(p.Y, 0);
    EXPECT_EQ(static_cast<int16_t>(p.Packed & 0xFFFF), p.X);
    EXPECT_EQ(static_cast<int16_t>(p.Packed >> 16), p.Y);
}

TEST(EditControlGeometry, ScrollCaretPutsItAThirdIntoTheWindow)
{
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += std::string(300, 'a') + "\r\n";
    Messages e(text);
    e.At(60, 250);
    e.ed.SetTopRow(0);
    e.ed.SetTopCol(0);
    e.m.ScrollCaret();
    EXPECT_EQ(e.m.FirstVisibleLine(), 60 - e.ed.VisibleRows() / 3);
    EXPECT_EQ(e.ed.TopCol(), 250 - e.ed.VisibleCols() / 3);
    e.At(61, 251);
    e.m.ScrollCaret();  // already in view
    EXPECT_EQ(e.m.FirstVisibleLine(), 60 - e.ed.VisibleRows() / 3);
}

}  // namespace
