#include <gtest/gtest.h>

#include <iconv.h>

#include <memory>
#include <string>

#include "editor/core/DocumentSearch.h"
#include "editor/core/TEditorScreenStrings.h"

namespace {

constexpr uint16_t kDown = soDown | soMatchCase;
constexpr uint16_t kUp = soMatchCase;
constexpr uint16_t kFind = 387;  // down, match case, skip line breaks, skip space

std::unique_ptr<TEditorScreenStrings> Doc(const std::string& text)
{
    auto s = std::make_unique<TEditorScreenStrings>();
    s->SetPlainText(text);
    return s;
}

// "row:index:length", or "none".
std::string Find(const TEditorScreenStrings& s, const std::string& pattern, uint16_t options, int row = 0,
                 int index = 0)
{
    const auto hit = SearchDocument(s, pattern, options, row, index);
    if (!hit)
        return "none";
    return std::to_string(hit->Row) + ":" + std::to_string(hit->CharIndex) + ":" + std::to_string(hit->Length);
}

std::string FromUtf8(const std::string& utf8)
{
    iconv_t cd = iconv_open("CP932", "UTF-8");
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
    std::string in = utf8;
    std::string out(in.size() * 2 + 4, '\0');
    char* ip = in.data();
    char* op = out.data();
    size_t il = in.size();
    size_t ol = out.size();
    EXPECT_NE(iconv(cd, &ip, &il, &op, &ol), static_cast<size_t>(-1));
    iconv_close(cd);
    out.resize(out.size() - ol);
    return out;
}

TEST(DocumentSearch, ForwardFindsTheFirstMatchFromTheStartPointWithoutWrapping)
{
    auto d = Doc("abc abc\r\nabc");
    EXPECT_EQ(Find(*d, "abc", kDown, 0, 0), "0:0:3");
    EXPECT_EQ(Find(*d, "abc", kDown, 0, 1), "0:4:3");
    EXPECT_EQ(Find(*d, "abc", kDown, 0, 5), "1:0:3");
    EXPECT_EQ(Find(*d, "abc", kDown, 0, 99), "1:0:3");  // past the row end: from its end
    EXPECT_EQ(Find(*d, "abc", kDown, 1, 1), "none");
    EXPECT_EQ(Find(*d, "abc", kDown, 2, 0), "none");
    EXPECT_EQ(Find(*d, "abd", kDown), "none");
    EXPECT_EQ(Find(*d, "", kDown), "none");
    EXPECT_EQ(Find(*Doc(""), "a", kDown), "none");
    EXPECT_EQ(Find(*Doc(""), "a", kUp, 5, 0), "none");
    // A pattern may hold the line break itself.
    EXPECT_EQ(Find(*d, "c\r\na", kDown), "0:6:4");
}

TEST(DocumentSearch, BackwardFindsTheLastMatchStartingBeforeTheStartPoint)
{
    auto d = Doc("abc abc\r\nabc");
    EXPECT_EQ(Find(*d, "abc", kUp, 1, 0), "0:4:3");
    EXPECT_EQ(Find(*d, "abc", kUp, 0, 5), "0:4:3");  // may run on past the start point
    EXPECT_EQ(Find(*d, "abc", kUp, 0, 4), "0:0:3");
    EXPECT_EQ(Find(*d, "abc", kUp, 0, 0), "none");
    EXPECT_EQ(Find(*d, "abc", kUp, 1, 3), "1:0:3");
    EXPECT_EQ(Find(*d, "abc", kUp, 9, 0), "1:0:3");  // below the last row: from the end
    EXPECT_EQ(Find(*Doc("aaaa"), "aa", kUp, 0, 4), "0:2:2");
    EXPECT_EQ(Find(*Doc("aaaa"), "aa", kDown, 0, 1), "0:1:2");
}

TEST(DocumentSearch, CaseIsFoldedPerCharacterUnlessMatchCase)
{
    auto d = Doc("say Hello");
    EXPECT_EQ(Find(*d, "hELLO", soDown), "0:4:5");
    EXPECT_EQ(Find(*d, "hELLO", soDown | soMatchCase), "none");
    // Full-width Latin folds too.
    auto wide = Doc("x\x82\x60\x82\x61\x82\x62");  // ＡＢＣ
    EXPECT_EQ(Find(*wide, "\x82\x81\x82\x82\x82\x83", soDown), "0:1:6");  // ａｂｃ
    EXPECT_EQ(Find(*wide, "\x82\x81\x82\x82\x82\x83", soDown | soMatchCase), "none");
    // A trail byte is never upper-cased: 0x83 0x61 (ヂ) is not 0x83 0x41 (ア).
    auto trail = Doc("\x83\x61");
    EXPECT_EQ(Find(*trail, "\x83\x41", soDown), "none");
    EXPECT_EQ(Find(*trail, "\x83\x61", soDown), "0:0:2");
}

TEST(DocumentSearch, GreekAndCyrillicLettersFoldOntoUpperCase)
{
    const std::string greekUpper = FromUtf8("ΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡΣΤΥΦΧΨΩ");
    const std::string greekLower = FromUtf8("αβγδεζηθικλμνξοπρστυφχψω");
    const std::string cyrUpper = FromUtf8("АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ");
    const std::string cyrLower = FromUtf8("абвгдеёжзийклмнопрстуфхцчшщъыьэюя");
    auto d = Doc(greekUpper + "\r\n" + cyrUpper);
    EXPECT_EQ(Find(*d, greekLower, soDown), "0:0:" + std::to_string(greekUpper.size()));
    EXPECT_EQ(Find(*d, cyrLower, soDown), "1:0:" + std::to_string(cyrUpper.size()));
    EXPECT_EQ(Find(*d, cyrLower, soDown | soMatchCase), "none");
}

TEST(DocumentSearch, WholeWordLooksAtTheByteAfterTheMatch)
{
    const uint16_t o = kDown | soWholeWord;
    auto d = Doc("cat catalog cat_x cat.\r\nxcat\r\ncat");
    EXPECT_EQ(Find(*d, "cat", o, 0, 0), "0:0:3");
    EXPECT_EQ(Find(*d, "cat", o, 0, 1), "0:18:3");  // not "catalog", not "cat_x"
    EXPECT_EQ(Find(*d, "cat", o, 0, 19), "1:1:3");  // only the byte after counts; CR is a delimiter
    EXPECT_EQ(Find(*d, "cat", o, 1, 2), "2:0:3");   // the end of the text counts
    // A double-byte character after the match is no delimiter.
    EXPECT_EQ(Find(*Doc("cat\x95\x5C"), "cat", o), "none");
}

TEST(DocumentSearch, FuzzyFoldsHalfWidthAndFullWidthForms)
{
    const uint16_t o = soDown | soFuzzy;
    auto d = Doc(FromUtf8("xガ,パ,ヴ,ABC"));
    EXPECT_EQ(Find(*d, "\xB6\xDE", o), "0:1:2");  // ｶﾞ
    EXPECT_EQ(Find(*d, "\xCA\xDF", o), "0:4:2");  // ﾊﾟ
    EXPECT_EQ(Find(*d, "\xB3\xDE", o), "0:7:2");  // ｳﾞ
    EXPECT_EQ(Find(*d, FromUtf8("ＡＢＣ"), o | soMatchCase), "0:10:3");
    EXPECT_EQ(Find(*d, FromUtf8("ａｂｃ"), o), "0:10:3");
    EXPECT_EQ(Find(*d, FromUtf8("ａｂｃ"), o | soMatchCase), "none");
    EXPECT_EQ(Find(*d, "\xB6\xDE", soDown), "none");  // only with soFuzzy

    // The other way round: the text holds the half-width forms.
    auto half = Doc("\xB6\xDE \xCA\xDF \xB3\xDE abc");
    EXPECT_EQ(Find(*half, FromUtf8("ガ"), o), "0:0:2");
    EXPECT_EQ(Find(*half, FromUtf8("パ　ヴ"), o), "0:3:5");  // the blank folds to the double-byte one
    EXPECT_EQ(Find(*half, FromUtf8("ＡＢＣ"), o), "0:9:3");
    EXPECT_EQ(Find(*half, FromUtf8("ヴ"), o & ~soDown, 0, 99), "0:6:2");
    // A kana with its mark is one character: ｶ alone does not match ｶﾞ, and
    // no match starts on the merged mark.
    EXPECT_EQ(Find(*half, "\xB6", o), "none");
    EXPECT_EQ(Find(*half, "\xDE", o), "none");
    EXPECT_EQ(Find(*Doc("\xB1\xDE"), "\xDE", o), "0:1:1");  // ｱ takes no mark
}

TEST(DocumentSearch, SkipLineBreaksFindsAPatternSplitByALineBreak)
{
    const uint16_t o = kDown | soSkipLineBreaks;
    auto d = Doc("\r\nfoo\r\n\r\nbar");
    EXPECT_EQ(Find(*d, "foobar", o), "1:0:10");
    EXPECT_EQ(Find(*d, "foobar", kDown), "none");
    EXPECT_EQ(Find(*d, "foobar", o & ~soDown, 9, 0), "1:0:10");
    // Skipping begins only after the first character: the hit starts on "f".
    EXPECT_EQ(Find(*d, "fo", o), "1:0:2");
    // Blanks are not line breaks.
    EXPECT_EQ(Find(*Doc("foo\r\n bar"), "foobar", o), "none");
}

TEST(DocumentSearch, SkipSpacePassesOverBlanksTheTextHasAndThePatternLacks)
{
    const uint16_t o = kDown | soSkipSpace;
    auto d = Doc("x a b\tc\x81\x40" "d");
    EXPECT_EQ(Find(*d, "abcd", o), "0:2:8");
    EXPECT_EQ(Find(*d, "abcd", kDown), "none");
    EXPECT_EQ(Find(*Doc("a  b"), "a b", o), "0:0:4");
    EXPECT_EQ(Find(*Doc("a b"), "a b", o), "0:0:3");
    EXPECT_EQ(Find(*Doc("a b"), "a  b", o), "none");  // the pattern's blanks must be there
    EXPECT_EQ(Find(*Doc("a\r\nb"), "ab", o), "none");
    // 0x81 0x40 is one double-byte blank; 0x40 alone ("@") is no blank.
    EXPECT_EQ(Find(*Doc("a\x81\x40@b"), "ab", o), "none");
}

TEST(DocumentSearch, FindDialogOptionsRunAcrossLineEndsAndIndentation)
{
    auto d = Doc("\\section{\r\n\t  Intro}\r\n\\section{Intro}");
    EXPECT_EQ(Find(*d, "\\section{Intro}", kFind), "0:0:20");
    EXPECT_EQ(Find(*d, "\\section{Intro}", kFind, 0, 1), "2:0:15");
    EXPECT_EQ(Find(*d, "\\section{intro}", kFind), "none");
}

TEST(DocumentSearch, NeverStartsOnTheSecondByteOfADoubleByteCharacter)
{
    auto d = Doc("\x95\x5C" "a\\b");  // 表a\b
    EXPECT_EQ(Find(*d, "\\", kDown), "0:3:1");
    EXPECT_EQ(Find(*d, "\\", kUp, 0, 3), "none");
    EXPECT_EQ(Find(*d, "\\", kUp, 0, 5), "0:3:1");
    EXPECT_EQ(Find(*d, "\\", kFind), "0:3:1");
    EXPECT_EQ(Find(*d, "\\a", soDown | soFuzzy), "none");
    // Runs of bytes that can be lead or trail bytes pair up from their start.
    EXPECT_EQ(Find(*Doc("\x81\x81\x81\x5C\\"), "\\", kDown), "0:4:1");
    EXPECT_EQ(Find(*Doc("a\x81\x81\x5C"), "\\", kDown), "0:3:1");
    EXPECT_EQ(Find(*Doc("\x95\x95\x95\x5C" "a\x95\x95\x5C"), "\\", kUp, 0, 9), "0:7:1");
    // A start point on the trail byte starts at the next character.
    auto t = Doc("\x95\x5C\\");
    EXPECT_EQ(Find(*t, "\\", kDown, 0, 1), "0:2:1");
    EXPECT_EQ(Find(*t, "\\", kUp, 0, 2), "none");
    // A lone lead byte before CR LF is a character of its own.
    EXPECT_EQ(Find(*Doc("\x95\r\n\\"), "\\", kDown), "1:0:1");
    EXPECT_EQ(Find(*Doc("\x95\r\n\\"), "\r", kDown), "0:1:1");
}

TEST(DocumentSearch, WrappedRowsContinueWithoutALineBreak)
{
    auto s = std::make_unique<TEditorScreenStrings>();
    s->SetPlainText("0123456789abcat cats\r\nnext");
    s->WrapOption().SetWrapByte(10);
    s->SetWordWrap(true);
    ASSERT_EQ(s->GetRowAttribute(0), raWrapped);
    ASSERT_EQ(s->RowView(0), "0123456789");
    EXPECT_EQ(Find(*s, "89ab", kDown), "0:8:4");
    EXPECT_EQ(Find(*s, "89ab", kUp, 1, 1), "0:8:4");
    EXPECT_EQ(Find(*s, "9ab", kDown, 0, 9), "0:9:3");
    // The row after a wrapped row starts where it starts, not after a break.
    EXPECT_EQ(Find(*s, "cats", kDown | soWholeWord), "1:6:4");
    EXPECT_EQ(Find(*s, "s\r\nn", kDown), "1:9:4");
}

// Rows of eight bytes and CR LF, with "ne" CR LF "edle" at row k: a window
// of about 8 KB ends somewhere in the sweep, forward from the top and
// backward from the bottom.
TEST(DocumentSearch, AMatchAcrossTheWindowBoundaryIsFoundBothWays)
{
    for (int k = 760; k <= 880; ++k) {
        std::string text;
        for (int i = 0; i < 1640; ++i)
            text += i == k ? "xxxxxxne\r\nedle" : "........\r\n";
        auto d = Doc(text);
        const std::string where = std::to_string(k) + ":6:8";
        ASSERT_EQ(Find(*d, "needle", kFind), where) << k;
        ASSERT_EQ(Find(*d, "needle", kFind & ~soDown, d->GetCount(), 0), where) << k;
        ASSERT_EQ(Find(*d, "ne\r\nedle", kDown), where) << k;
        ASSERT_EQ(Find(*d, "ne\r\nedle", kUp, d->GetCount(), 0), where) << k;
        ASSERT_EQ(Find(*d, "needle", kDown), "none");
    }
}

TEST(DocumentSearch, AMatchRunningOverManyWindowsOfBlanksIsFound)
{
    std::string text = "head\r\nxne";
    for (int i = 0; i < 20000; ++i)
        text += "  \r\n";
    text += "edle\r\ntail";
    auto d = Doc(text);
    const std::string where = "1:1:" + std::to_string(2 + 20000 * 4 + 4);
    EXPECT_EQ(Find(*d, "needle", kFind), where);
    EXPECT_EQ(Find(*d, "needle", kFind & ~soDown, d->GetCount(), 0), where);
    EXPECT_EQ(Find(*d, "needlf", kFind), "none");
}

TEST(DocumentSearch, AWrappedMatchAcrossTheWindowBoundaryIsFoundBothWays)
{
    for (int at = 8170; at <= 8210; at += 3) {
        std::string text(20000, 'x');
        text.replace(static_cast<size_t>(at), 6, "needle");
        auto s = std::make_unique<TEditorScreenStrings>();
        s->SetPlainText(text);
        s->WrapOption().SetWrapByte(10);
        s->SetWordWrap(true);
        const std::string where = std::to_string(at / 10) + ":" + std::to_string(at % 10) + ":6";
        ASSERT_EQ(Find(*s, "needle", kDown), where) << at;
        ASSERT_EQ(Find(*s, "needle", kUp, s->GetCount(), 0), where) << at;
        ASSERT_EQ(Find(*s, "needle", kUp, at / 10, at % 10), "none") << at;
        ASSERT_EQ(Find(*s, "needle", kDown | soWholeWord), "none") << at;  // "x" follows, even past the window
        ASSERT_EQ(Find(*s, "needle", kUp | soWholeWord, s->GetCount(), 0), "none") << at;
    }
}

// The wrapper may put a half-width kana and its sound mark on two rows; they
// stay one character, also where a window ends between them.
TEST(DocumentSearch, AKanaAndItsSoundMarkOnTwoWrappedRowsAreOneCharacter)
{
    std::string text(20000, 'x');
    for (size_t at : {9u, 8199u}) {
        text[at] = '\xB6';
        text[at + 1] = '\xDE';
    }
    auto s = std::make_unique<TEditorScreenStrings>();
    s->SetPlainText(text);
    s->WrapOption().SetWrapByte(10);
    s->SetWordWrap(true);
    ASSERT_EQ(s->RowView(820).substr(0, 1), "\xDE");
    const uint16_t o = soDown | soFuzzy;
    const std::string ga = FromUtf8("ガ");
    EXPECT_EQ(Find(*s, ga, o), "0:9:2");
    EXPECT_EQ(Find(*s, ga, o, 0, 10), "819:9:2");
    EXPECT_EQ(Find(*s, ga, soFuzzy, s->GetCount(), 0), "819:9:2");
    EXPECT_EQ(Find(*s, "\xDE", o), "none");
    EXPECT_EQ(Find(*s, "\xDE", soFuzzy, s->GetCount(), 0), "none");
    EXPECT_EQ(Find(*s, "\xDE", soDown), "1:0:1");  // without folding the mark is a character
}

TEST(DocumentSearch, ALargeMixedDocumentIsSearchedToItsEnd)
{
    // About 4 MB of Japanese and ASCII; kanji whose second byte is 0x5C
    // stand right before the lines' ends.
    std::string text;
    const std::string line = "\\section{" + FromUtf8("日本語の文章と表") + "}\t" + FromUtf8("　ソ能") + "\r\n";
    while (text.size() < 4'000'000)
        text += line;
    text += "\\end";
    auto d = Doc(text);
    const int last = d->GetCount() - 1;
    EXPECT_EQ(Find(*d, "\\end", kFind), std::to_string(last) + ":0:4");
    EXPECT_EQ(Find(*d, "\\\r", kFind), "none");
    EXPECT_EQ(Find(*d, "absent", kFind), "none");
    EXPECT_EQ(Find(*d, "\\section", kUp, last, 0), std::to_string(last - 1) + ":0:8");
}

}  // namespace
