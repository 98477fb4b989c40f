#include "editor/core/LineBreaker.h"

#include "editor/core/CellMap.h"
#include "editor/core/ShiftJis.h"
#include "editor/core/ShiftJisCodec.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

const std::string kKan = "\x8A\xBF";     // 漢
const std::string kHyou = "\x95\x5C";    // 表, trail byte 0x5C
const std::string kSo = "\x83\x5C";      // ソ, trail byte 0x5C
const std::string kOpen = "\x81\x75";    // 「
const std::string kClose = "\x81\x76";   // 」
const std::string kMaru = "\x81\x42";    // 。
const std::string kTen = "\x81\x41";     // 、
const std::string kBar = "\x81\x5B";     // ー

std::string Sjis(std::string_view utf8)
{
    std::string out;
    EXPECT_TRUE(ShiftJisCodec::EncodeUtf8(utf8, out));
    return out;
}

std::string A(int n) { return std::string(static_cast<std::size_t>(n), 'a'); }

bool IsMember(std::string_view set, std::string_view ch)
{
    for (std::size_t i = 0; i < set.size(); i += static_cast<std::size_t>(CharLength(set, i)))
        if (set.substr(i, static_cast<std::size_t>(CharLength(set, i))) == ch)
            return true;
    return false;
}

// Checks what must hold for any line and any option: the rows rejoin to the
// line, end on character boundaries, stay within their width bounds, and are
// exactly what repeated NextRowLength gives.
void ExpectSoundRows(std::string_view line, const TEditorWrapOption& o, int tab, const std::vector<std::uint32_t>& rows)
{
    const LineBreakParams params{&o, tab};
    const int w = o.WrapByte();
    const CellMapOptions cells{tab, true, w};
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(WrapRowCount(line, params), static_cast<int>(rows.size()));

    std::vector<bool> charStart(line.size() + 1, false);
    for (std::size_t i = 0; i <= line.size(); i += static_cast<std::size_t>(std::max(1, CharLength(line, i))))
        charStart[i] = true;

    int lower = w - 1;
    if (o.WordBreak())
        lower = std::min(lower, w / 3);
    if (o.Leading())
        lower = std::min(lower, (w / 5) * 4);

    std::string scratch;
    std::size_t start = 0;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const std::string_view rest = line.substr(start);
        const std::string_view row = rest.substr(0, rows[r]);
        ASSERT_LE(rows[r], rest.size());
        const bool last = r + 1 == rows.size();
        if (!last || !row.empty()) {
            ASSERT_EQ(NextRowLength(rest, params, scratch), rows[r]) << "row " << r;
        }
        if (!last) {
            ASSERT_GT(rows[r], 0u) << "row " << r;
            ASSERT_TRUE(charStart[start + rows[r]]) << "row " << r << " ends inside a character";
            const int width = DisplayWidth(row, cells);
            EXPECT_LE(width, w + 2) << "row " << r;
            EXPECT_GE(width, std::max(1, lower)) << "row " << r;
            if (width > w) {
                // Only hanging punctuation may stand past the edge.
                EXPECT_TRUE(o.FollowPunctuation()) << "row " << r;
                for (std::size_t i = 0, len; i < row.size(); i += len) {
                    len = static_cast<std::size_t>(CharLength(row, i));
                    if (ColumnFromCharIndex(row, i + len, cells) > w) {
                        EXPECT_TRUE(IsMember(o.PunctuationStr(), row.substr(i, len))) << "row " << r;
                    }
                }
            }
        }
        start += rows[r];
    }
    EXPECT_EQ(start, line.size());

    // The empty last row: only after a break that fell exactly at the line end.
    if (rows.size() > 1 && rows.back() == 0) {
        EXPECT_FALSE(o.FollowRetMark());
        EXPECT_GE(DisplayWidth(line.substr(line.size() - rows[rows.size() - 2]), cells), w);
    }
    if (DisplayWidth(line, cells) < w) {
        EXPECT_EQ(rows.size(), 1u);
    }
}

struct Wrap {
    TEditorWrapOption option;
    int tab = 8;

    explicit Wrap(int wrapByte) { option.SetWrapByte(wrapByte); }
    Wrap& WordBreak() { option.SetWordBreak(true); return *this; }
    Wrap& Punctuation() { option.SetFollowPunctuation(true); return *this; }
    Wrap& Leading() { option.SetLeading(true); return *this; }
    Wrap& RetMark() { option.SetFollowRetMark(true); return *this; }
    Wrap& Tab(int t) { tab = t; return *this; }

    std::vector<std::string> Rows(std::string_view line) const
    {
        std::vector<std::uint32_t> lengths{7};   // BreakLine appends
        BreakLine(line, {&option, tab}, lengths);
        EXPECT_EQ(lengths.front(), 7u);
        lengths.erase(lengths.begin());
        ExpectSoundRows(line, option, tab, lengths);
        std::vector<std::string> rows;
        std::size_t start = 0;
        for (std::uint32_t n : lengths) {
            rows.emplace_back(line.substr(start, n));
            start += n;
        }
        return rows;
    }
};

using Rows = std::vector<std::string>;

} // namespace

TEST(LineBreaker, NarrowAndEmptyLinesAreOneRow)
{
    EXPECT_EQ(Wrap(10).Rows(""), Rows{""});
    EXPECT_EQ(Wrap(10).Rows(A(9)), Rows{A(9)});
    EXPECT_EQ(Wrap(10).Rows(kKan + A(7)), Rows{kKan + A(7)});
    std::string scratch;
    TEditorWrapOption o;
    EXPECT_EQ(NextRowLength("", {&o, 8}, scratch), 0u);
}

TEST(LineBreaker, LineEndingExactlyAtABreak)
{
    EXPECT_EQ(Wrap(10).Rows(A(10)), (Rows{A(10), ""}));
    EXPECT_EQ(Wrap(10).RetMark().Rows(A(10)), Rows{A(10)});
    // A rest as wide as the row is treated like a line as wide as the row.
    EXPECT_EQ(Wrap(10).Rows(A(20)), (Rows{A(10), A(10), ""}));
    EXPECT_EQ(Wrap(10).RetMark().Rows(A(20)), (Rows{A(10), A(10)}));
    EXPECT_EQ(Wrap(10).Rows(A(25)), (Rows{A(10), A(10), A(5)}));
    // Hanging punctuation that reaches the line end is such a break too.
    EXPECT_EQ(Wrap(10).Punctuation().Rows(A(10) + kMaru), (Rows{A(10) + kMaru, ""}));
    EXPECT_EQ(Wrap(10).Punctuation().RetMark().Rows(A(10) + kMaru), Rows{A(10) + kMaru});
}

TEST(LineBreaker, DoubleByteCharacterOnTheLastColumnGoesDown)
{
    EXPECT_EQ(Wrap(10).Rows(A(9) + kHyou + "\\"), (Rows{A(9), kHyou + "\\"}));
    EXPECT_EQ(Wrap(10).Rows(A(8) + kSo + kSo), (Rows{A(8) + kSo, kSo}));
    // A lone lead byte is a single cell and is broken like a delimiter.
    EXPECT_EQ(Wrap(10).Rows(A(9) + "\x81" + " x"), (Rows{A(9) + "\x81", " x"}));
}

TEST(LineBreaker, WordBreakKeepsSingleByteWordsWhole)
{
    EXPECT_EQ(Wrap(10).WordBreak().Rows("abcd efghijkl"), (Rows{"abcd ", "efghijkl"}));
    // A word reaching back past the first third is cut at the third.
    EXPECT_EQ(Wrap(9).WordBreak().RetMark().Rows("abcdefghijkl"), (Rows{"abc", "defghijkl"}));
    EXPECT_EQ(Wrap(9).WordBreak().Rows("abcdefghijkl"), (Rows{"abc", "defghijkl", ""}));
    // The row may end after a double-byte character, even on the third itself...
    const std::string kana = "\x82\xA0\x82\xA2\x82\xA4\x82\xA6";   // あいうえ
    EXPECT_EQ(Wrap(10).WordBreak().Rows(kana + "abcdef"), (Rows{kana, "abcdef"}));
    EXPECT_EQ(Wrap(9).WordBreak().Rows("a" + kKan + A(8)), (Rows{"a" + kKan, A(8)}));
    EXPECT_EQ(Wrap(9).WordBreak().Rows("aa" + kKan + A(8)), (Rows{"aa" + kKan, A(8)}));
    // ...or inside a TAB, which then stays on the row.
    EXPECT_EQ(Wrap(10).WordBreak().Tab(4).Rows("\tabcdefghij"), (Rows{"\t", "abcdefghij", ""}));
    // A line exactly as wide as the row is not wider than it: nothing moves.
    EXPECT_EQ(Wrap(10).WordBreak().RetMark().Rows("abcd efghi"), Rows{"abcd efghi"});
}

TEST(LineBreaker, PunctuationHangsAtMostTwoCells)
{
    EXPECT_EQ(Wrap(10).Punctuation().Rows(A(10) + kMaru + "b"), (Rows{A(10) + kMaru, "b"}));
    // After the double-byte split the "。" hangs one cell.
    EXPECT_EQ(Wrap(10).Punctuation().Rows(A(9) + kMaru + kMaru + "b"), (Rows{A(9) + kMaru, kMaru + "b"}));
    EXPECT_EQ(Wrap(10).Punctuation().Rows(A(10) + ",.,b"), (Rows{A(10) + ",.", ",b"}));
    // A "," on the first hanging cell does not let a "、" reach a third one.
    EXPECT_EQ(Wrap(10).Punctuation().Rows(A(10) + "," + kTen + "b"), (Rows{A(10) + ",", kTen + "b"}));
    EXPECT_EQ(Wrap(10).Rows(A(10) + kMaru + "b"), (Rows{A(10), kMaru + "b"}));
}

TEST(LineBreaker, LeadingMovesBracketsButNotPastFourFifths)
{
    // WrapByte 10: the row never gets narrower than 8 cells.
    EXPECT_EQ(Wrap(10).Leading().Rows(A(8) + kOpen + "b" + kClose), (Rows{A(8), kOpen + "b" + kClose}));
    EXPECT_EQ(Wrap(10).Leading().Rows(A(8) + kKan + kClose + "bb"), (Rows{A(8), kKan + kClose + "bb"}));
    // A run of characters that may not begin a row is pulled down only as far
    // as the limit allows: here "ー" is left to begin the row.
    EXPECT_EQ(Wrap(10).Leading().Rows(A(6) + kKan + kBar + kClose + "b"), (Rows{A(6) + kKan, kBar + kClose + "b"}));
    // WrapByte 12: four fifths is (12 div 5) * 4 = 8 cells, so the pair goes down.
    EXPECT_EQ(Wrap(12).Leading().Rows(A(8) + kKan + kBar + kClose + "b"), (Rows{A(8), kKan + kBar + kClose + "b"}));
    // Stepping back over a double-byte character would land on cell 7.
    EXPECT_EQ(Wrap(10).Leading().Rows(A(7) + kKan + kClose + "b"), (Rows{A(7) + kKan, kClose + "b"}));
    // A single-byte ")" needs a cell after it for the rule to apply.
    EXPECT_EQ(Wrap(10).Leading().Rows(A(10) + ")"), (Rows{A(10), ")"}));
    EXPECT_EQ(Wrap(10).Leading().Rows(A(10) + ")b"), (Rows{A(9), "a)b"}));
    // At the line end nothing follows, so nothing moves.
    EXPECT_EQ(Wrap(10).Leading().RetMark().Rows(A(8) + kOpen), Rows{A(8) + kOpen});
    EXPECT_EQ(Wrap(10).Rows(A(8) + kOpen + "b"), (Rows{A(8) + kOpen, "b"}));
}

TEST(LineBreaker, BackwardStepMovesAWholeTabToTheNextRow)
{
    // WrapByte 10, TAB 8: the TAB spans cells 9 and 10 and a "」" follows.
    // Stepping back from the TAB's filler passes the whole TAB.
    EXPECT_EQ(Wrap(10).Leading().Rows(A(8) + "\t" + kClose + "b"), (Rows{A(8), "\t" + kClose, "b"}));
    // When that step would pass four fifths the TAB stays, on the row.
    EXPECT_EQ(Wrap(15).Leading().Rows(A(11) + "\t" + kClose + "b"), (Rows{A(11) + "\t", kClose + "b"}));
    // The double-byte split stepping back onto a TAB keeps it on the row.
    EXPECT_EQ(Wrap(10).Tab(3).Rows(A(7) + "\t" + kKan + "b"), (Rows{A(7) + "\t", kKan + "b"}));
}

TEST(LineBreaker, NarrowRowsStillMakeProgress)
{
    EXPECT_EQ(Wrap(2).Rows("\t\t\t"), (Rows{"\t", "\t", "\t", ""}));
    EXPECT_EQ(Wrap(2).WordBreak().Leading().Rows(kOpen + kOpen + "ab"), (Rows{kOpen, kOpen, "ab", ""}));
    EXPECT_EQ(Wrap(2).Leading().RetMark().Rows("\t" + kClose), (Rows{"\t", kClose}));
    EXPECT_EQ(Wrap(2).WordBreak().RetMark().Rows("abc"), (Rows{"a", "bc"}));
}

TEST(LineBreaker, MembershipIsByWholeCharacter)
{
    Wrap w(10);
    w.Leading();
    // ソ ends in 0x5C, yet "\" is not in a set holding only ソ.
    w.option.SetFollowStr(kSo);
    EXPECT_EQ(w.Rows(A(10) + "\\b"), (Rows{A(10), "\\b"}));
    EXPECT_EQ(w.Rows(A(10) + kSo + "b"), (Rows{A(9), "a" + kSo + "b"}));
    // "\x83\x81" is one character, so the "。" (0x81 0x42) seen at byte 1 is not.
    Wrap p(10);
    p.Punctuation();
    p.option.SetPunctuationStr("\x83\x81\x42");
    EXPECT_EQ(p.Rows(A(10) + kMaru), (Rows{A(10), kMaru}));
    EXPECT_EQ(p.Rows(A(10) + "B"), (Rows{A(10) + "B", ""}));
}

TEST(LineBreaker, JapaneseLatexWithTheMainWindowsOptions)
{
    Wrap w(80);
    w.WordBreak().Punctuation().Leading().RetMark();
    // Column 80 falls on the "「": it goes down with the word it opens.
    EXPECT_EQ(w.Rows(Sjis("\\section{はじめに}本稿では、pLaTeXを用いた日本語文書の組版について述べる。"
                          "特に「禁則処理」と呼ばれる規則（行頭・行末に置けない文字の扱い）を詳しく見ていく。")),
              (Rows{Sjis("\\section{はじめに}本稿では、pLaTeXを用いた日本語文書の組版について述べる。特に"),
                    Sjis("「禁則処理」と呼ばれる規則（行頭・行末に置けない文字の扱い）を詳しく見ていく。")}));
    // The "、" in columns 80 and 81 hangs instead of beginning the next row.
    EXPECT_EQ(w.Rows(Sjis("ここで扱った数式$E=mc^2$は本文中に置かれ、\\textbf{太字}や\\emph{強調}と混ざっても、"
                          "行の折り返しで単語が分かれてはならない。")),
              (Rows{Sjis("ここで扱った数式$E=mc^2$は本文中に置かれ、\\textbf{太字}や\\emph{強調}と混ざっても、"),
                    Sjis("行の折り返しで単語が分かれてはならない。")}));
    // A word is moved down whole; on its own row it is wider than the row
    // and is cut at the third.
    EXPECT_EQ(w.Rows(Sjis("\t\\item 「引用」、（注釈）、ﾊﾝｶｸｶﾀｶﾅ、そして"
                          "verylongidentifier_with_underscores_that_spans_more_than_a_third_of_a_row_and_then_some_more。")),
              (Rows{Sjis("\t\\item 「引用」、（注釈）、ﾊﾝｶｸｶﾀｶﾅ、そして"), "verylongidentifier_with_un",
                    Sjis("derscores_that_spans_more_than_a_third_of_a_row_and_then_some_more。")}));
}

TEST(LineBreaker, LongLineCostsOneRowOfWorkPerRow)
{
    // Quadratic work would not finish: 2 MB at 80 columns is 27000 rows.
    std::string line;
    while (line.size() < (2u << 20))
        line += "word " + kKan + kMaru + "\t" + kOpen + "x" + kClose + " ";
    Wrap w(80);
    w.WordBreak().Punctuation().Leading();
    std::vector<std::uint32_t> rows;
    BreakLine(line, {&w.option, 8}, rows);
    std::size_t total = 0;
    for (std::uint32_t n : rows)
        total += n;
    EXPECT_EQ(total, line.size());
    EXPECT_GT(rows.size(), line.size() / 82);

    std::string scratch;
    const std::size_t first = NextRowLength(line, {&w.option, 8}, scratch);
    EXPECT_EQ(first, rows[0]);
    EXPECT_LT(scratch.size(), 100u);   // the map stopped near WrapByte
}

TEST(LineBreaker, RandomLinesBreakSoundly)
{
    std::mt19937 rng(20240531);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const std::string fixed[] = {kOpen, kClose, kMaru, kTen, kBar, kHyou, kSo, "(", ")", ",", ".", "\\", "\xB1", "\xA4"};

    for (int iteration = 0; iteration < 6000; ++iteration) {
        std::string line;
        const int pieces = pick(0, 60);
        for (int i = 0; i < pieces; ++i) {
            switch (pick(0, 7)) {
            case 0:
            case 1:
                for (int n = pick(1, 14); n > 0; --n)
                    line += static_cast<char>("abcxyz019_"[pick(0, 9)]);
                break;
            case 2: line += ' '; break;
            case 3: line += '\t'; break;
            case 4: {
                // A double-byte pair; trails cover 0x40-0x7E (0x5C among them) and 0x80-0xFC.
                const int lead = pick(0, 1) ? pick(0x81, 0x9F) : pick(0xE0, 0xFC);
                int trail = pick(0x40, 0xFB);
                if (trail >= 0x7F)
                    ++trail;
                line += static_cast<char>(lead);
                line += static_cast<char>(trail);
                break;
            }
            case 5:
            case 6: line += fixed[pick(0, 13)]; break;
            default: line += static_cast<char>(pick(0, 1) ? 0x82 : 0xE0);   // lead byte, lone or not
            }
        }
        Wrap w(pick(0, 3) == 0 ? pick(2, 12) : pick(2, 200));
        w.tab = pick(1, 16);
        w.option.SetWordBreak(pick(0, 1));
        w.option.SetFollowPunctuation(pick(0, 1));
        w.option.SetLeading(pick(0, 1));
        w.option.SetFollowRetMark(pick(0, 1));
        if (pick(0, 9) == 0) {
            // Sets holding a TAB and word characters exercise stepping over them.
            w.option.SetPunctuationStr(w.option.PunctuationStr() + "\tx");
            w.option.SetLeadStr(w.option.LeadStr() + "\ta");
            w.option.SetFollowStr(w.option.FollowStr() + "\tb");
        }
        SCOPED_TRACE(testing::Message() << "iteration " << iteration << " WrapByte " << w.option.WrapByte());
        w.Rows(line);
        if (HasFatalFailure() || HasNonfatalFailure())
            return;
    }
}
