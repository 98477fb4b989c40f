#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "editor/core/ShiftJis.h"
#include "editor/core/TEditorFountain.h"
#include "editor/core/TEditorParser.h"
#include "editor/core/TEditorStringList.h"
#include "editor/core/TTokenParser.h"

namespace {

// "kind:text" for every token of `text`, joined by "|".
std::string Scan(TFountainParser& parser, std::string_view text, const TRowAttributeData& state = {})
{
    parser.SetText(text, state);
    std::string out;
    while (uint8_t kind = parser.NextToken()) {
        if (!out.empty())
            out += '|';
        out += std::to_string(kind) + ':' + std::string(parser.TokenText());
    }
    return out;
}

std::string Scan(const TFountain& scheme, std::string_view text, const TRowAttributeData& state = {})
{
    auto parser = scheme.CreateParser();
    return Scan(*parser, text, state);
}

// Shift-JIS characters used below.
const std::string Hyo = "\x95\x5C";      // 表: kanji whose second byte is "\"
const std::string So = "\x83\x5C";       // ソ: katakana whose second byte is "\"
const std::string Ji = "\x8E\x9A";       // 字
const std::string Zen1 = "\x82\x50";     // １
const std::string ZenComma = "\x81\x43"; // ，
const std::string ZenA = "\x82\x60";     // Ａ
const std::string Zenb = "\x82\x82";     // ｂ
const std::string Hi = "\x82\xD0";       // ひ
const std::string Chouon = "\x81\x5B";   // ー
const std::string Ka = "\x83\x4A";       // カ
const std::string Alpha = "\x83\xBF";    // α
const std::string Touten = "\x81\x41";   // 、

}  // namespace

TEST(TEditorParser, SingleByteClassesAndNumbers)
{
    TEditorFountain scheme;
    EXPECT_EQ(Scan(scheme, "ab_1 12\t3.5 1e+5 2E x"), "11:ab_1|3:12|9:\t|4:3.5|4:1e+5|4:2E|11:x");
    // Digits, "." and a letter: the "." is not part of the number.
    EXPECT_EQ(Scan(scheme, "3.a 4.5.6"), "3:3|1:.|11:a|4:4.5|1:.|3:6");
    // Blanks and control bytes other than TAB only separate tokens; a NUL is
    // a byte like any other and does not end the text.
    EXPECT_EQ(Scan(scheme, std::string("\x01 a\x1F+", 5) + std::string(1, '\0') + "b"), "11:a|1:+|1:" + std::string(1, '\0') + "|11:b");
    // The text ends at a line break.
    EXPECT_EQ(Scan(scheme, "a b\r\nc"), "11:a|11:b");
    // Quotes are plain symbols to the editor's scanner, strings to the base one.
    EXPECT_EQ(Scan(scheme, "'a' \"b\""), "1:'|11:a|1:'|1:\"|11:b|1:\"");
    TTokenParser plain;
    EXPECT_EQ(Scan(plain, "'a''b' \"c"), "24:'a''b'|25:\"c");
}

TEST(TEditorParser, DoubleByteClassesRunAndStopAtTheirClassEnd)
{
    TEditorFountain scheme;
    EXPECT_EQ(Scan(scheme, Zen1 + ZenComma + Zen1 + ZenA + Zenb + Hi + Chouon + Hi + Ka + Chouon + Ka + Ji + Hyo),
              "14:" + Zen1 + ZenComma + Zen1 + "|15:" + ZenA + Zenb + "|16:" + Hi + Chouon + Hi + "|17:" + Ka + Chouon + Ka
                  + "|18:" + Ji + Hyo);
    EXPECT_EQ(Scan(scheme, Alpha + Touten + Touten), "12:" + Alpha + "|12:" + Touten + "|12:" + Touten);
    // Half-width katakana: punctuation one byte at a time, letters as a run.
    EXPECT_EQ(Scan(scheme, "\xA1\xA2\xB1\xB2\xB3"), "19:\xA1|19:\xA2|20:\xB1\xB2\xB3");
    // Bytes that are neither: one-byte symbols.
    EXPECT_EQ(Scan(scheme, "\x80\xA0\xFD"), "1:\x80|1:\xA0|1:\xFD");
}

// Lead bytes 0x82 and 0x83 with a second byte outside the blocks named by
// the scanner (e.g. 0x82 0x5C, 0x82 0xF5, 0x83 0xF5) are read as one whole
// double-byte symbol: never as a lead byte followed by a token of its own.
// A lead byte with no valid second byte (at the end, or before a byte that
// cannot follow it) is a one-byte symbol.
TEST(TEditorParser, UnlistedAndLoneLeadBytes)
{
    TEditorFountain scheme;
    scheme.SetCommenter("\\");
    EXPECT_EQ(Scan(scheme, "\x82\x5C" "a"), "12:\x82\x5C|11:a");
    EXPECT_EQ(Scan(scheme, "\x82\xF5\x83\xF5\x83\x97"), "12:\x82\xF5|12:\x83\xF5|12:\x83\x97");
    EXPECT_EQ(Scan(scheme, "\x82 a\x83"), "1:\x82|11:a|1:\x83");
    EXPECT_EQ(Scan(scheme, "\x95\x7F" "a"), "1:\x95|1:\x7F|11:a");
    EXPECT_EQ(Scan(scheme, "\x81\x30"), "1:\x81|3:0");
}

TEST(TEditorParser, SecondByteBackslashNeverActsAsBackslash)
{
    TEditorFountain scheme;
    scheme.Brackets().Add("\\[", "\\]");
    scheme.SetCommenter("\\%");
    scheme.SetHexPrefix("\\x");
    // 表[ is not "\[", ソ% not "\%", 表x41 not "\x41".
    EXPECT_EQ(Scan(scheme, Hyo + "[a] " + So + "% " + Hyo + "x41"),
              "18:" + Hyo + "|1:[|11:a|1:]|17:" + So + "|1:%|18:" + Hyo + "|11:x41");
    // Inside an open region, ソ] does not close it; a real "\]" does.
    TRowAttributeData inRegion;
    inRegion.BracketIndex = 0;
    EXPECT_EQ(Scan(scheme, "a" + So + "]b\\]c", inRegion), "6:a" + So + "]b\\]|11:c");
    EXPECT_EQ(Scan(scheme, "\\[x\\] \\% c"), "6:\\[x\\]|7:\\% c");
}

TEST(TEditorParser, BracketRegions)
{
    TEditorFountain scheme;
    scheme.Brackets().Add("/*", "*/");
    scheme.Brackets().Add("{", "");  // inert: no right bracket
    EXPECT_EQ(Scan(scheme, "a/*b*/c {d"), "11:a|6:/*b*/|11:c|1:{|11:d");
    auto parser = scheme.CreateParser();
    parser->SetText("x /* open", {});
    parser->NextToken();
    EXPECT_EQ(parser->NextToken(), tkBracket);
    EXPECT_EQ(parser->TokenBracketIndex(), 0);
    EXPECT_EQ(parser->State().BracketIndex, 0);  // still open at the end
    EXPECT_EQ(parser->NextToken(), tkEnd);
    // A region continued from the row before takes the row's leading blanks.
    TRowAttributeData open;
    open.BracketIndex = 0;
    EXPECT_EQ(Scan(scheme, "  b */ c", open), "6:  b */|11:c");
}

TEST(TEditorParser, CommentQuotationControlCodeAndHexPrefix)
{
    TEditorFountain scheme;
    scheme.SetCommenter("%");
    EXPECT_EQ(Scan(scheme, "a % b"), "11:a|7:% b");

    scheme.SetQuotation("'");
    EXPECT_EQ(Scan(scheme, "'it''s' x 'open"), "26:'it''s'|11:x|26:'open");
    // The closing quote is found only at a character start.
    scheme.SetQuotation("`");
    EXPECT_EQ(Scan(scheme, "`a\x88\x60` b"), "26:`a\x88\x60`|11:b");

    EXPECT_EQ(Scan(scheme, "#13 #$1F"), "1:#|3:13|1:#|1:$|3:1|11:F");
    scheme.SetControlCode(true);
    EXPECT_EQ(Scan(scheme, "#13 #$1F #x #$"), "27:#13|28:#$1F|1:#|11:x|1:#|1:$");

    scheme.SetHexPrefix("0x");
    EXPECT_EQ(Scan(scheme, "0x1f 0X1F 0xg"), "23:0x1f|23:0X1F|3:0|11:xg");
}

TEST(TEditorParser, MailNeedsAtAndALaterDot)
{
    TEditorFountain scheme;
    scheme.SetMail(true);
    EXPECT_EQ(Scan(scheme, "mail foo.bar@ex-1.co.jp, x"), "11:mail|22:foo.bar@ex-1.co.jp,|11:x");
    EXPECT_EQ(Scan(scheme, "foo@bar"), "11:foo|1:@|11:bar");
    EXPECT_EQ(Scan(scheme, "a.b@c"), "11:a|1:.|11:b|1:@|11:c");
    EXPECT_EQ(Scan(scheme, "@a.b"), "1:@|11:a|1:.|11:b");
    scheme.SetMail(false);
    EXPECT_EQ(Scan(scheme, "x@y.z"), "11:x|1:@|11:y|1:.|11:z");
}

TEST(TEditorParser, UrlPrefixesAreCaseSensitive)
{
    TEditorFountain scheme;
    scheme.SetUrl(true);
    EXPECT_EQ(Scan(scheme, "see http://a.jp/x?q=1#f, www.b.org ftp:c"),
              "11:see|21:http://a.jp/x?q=1#f|1:,|21:www.b.org|21:ftp:c");
    EXPECT_EQ(Scan(scheme, "HTTP://a"), "11:HTTP|1::|1:/|1:/|11:a");
}

TEST(TEditorParser, ReservedWordsIgnoreCaseAndTakeTheReserveColour)
{
    TEditorFountain scheme;
    scheme.ReserveWordList().Assign({"section", "begin"});
    scheme.Colors().Reserve.SetColor(clRed);
    scheme.Colors().Ank.SetColor(clNavy);
    scheme.SetCommenter("%");
    TEditorParser parser(&scheme);
    parser.SetText("Section sections BEGIN %section", {});
    ASSERT_EQ(parser.NextToken(), tkIdentifier);
    EXPECT_TRUE(parser.ReserveWord());
    EXPECT_EQ(parser.TokenToFountainColor(), &scheme.Colors().Reserve);
    ASSERT_EQ(parser.NextToken(), tkIdentifier);
    EXPECT_FALSE(parser.ReserveWord());
    EXPECT_EQ(parser.TokenToFountainColor(), &scheme.Colors().Ank);
    parser.NextToken();
    EXPECT_TRUE(parser.ReserveWord());
    ASSERT_EQ(parser.NextToken(), tkComment);  // never a reserved word inside a comment
    EXPECT_FALSE(parser.ReserveWord());
    EXPECT_EQ(parser.TokenToFountainColor(), &scheme.Colors().Comment);
}

TEST(TEditorParser, ColourQueries)
{
    TEditorFountain scheme;
    scheme.Brackets().Add("(", ")", TFountainColor(clNone, clTeal));
    scheme.SetQuotation("'");
    TEditorParser parser(&scheme);
    const TEditorColors& c = scheme.Colors();
    const std::vector<std::pair<std::string, const TFountainColor*>> expected = {
        {"+", &c.Symbol}, {"12", &c.Int}, {"1.5", &c.Int}, {"abc", &c.Ank}, {Hyo, &c.DBCS}, {"\xB1", &c.DBCS},
        {"'s'", &c.Str},  {"\t", nullptr}, {"(x)", &scheme.Brackets()[0].ItemColor}};
    for (const auto& [text, colour] : expected) {
        parser.SetText(text, {});
        parser.NextToken();
        EXPECT_EQ(parser.TokenToFountainColor(), colour) << text;
    }
    TTokenParser plain(&scheme);
    plain.SetText("abc", {});
    plain.NextToken();
    EXPECT_EQ(plain.TokenToFountainColor(), nullptr);
}

TEST(TEditorParser, ContinuesATokenCutAtTheRowBefore)
{
    TEditorFountain scheme;
    scheme.Brackets().Add("/*", "*/");
    scheme.SetQuotation("\"");
    TRowAttributeData cut;
    cut.WrappedToken = tkReserve;
    cut.RemainByte = 4;
    EXPECT_EQ(Scan(scheme, "tion x", cut), "8:tion|11:x");
    // Without a length, by the rule of the kind.
    cut.RemainByte = 0;
    cut.WrappedToken = tkIdentifier;
    EXPECT_EQ(Scan(scheme, "abc+d", cut), "11:abc|1:+|11:d");
    cut.WrappedToken = tkQuotation;
    EXPECT_EQ(Scan(scheme, "b c\" d", cut), "26:b c\"|11:d");
    cut.WrappedToken = tkComment;
    EXPECT_EQ(Scan(scheme, "all of it", cut), "7:all of it");
    // The rest of a cut right bracket closes the region.
    TRowAttributeData bracket;
    bracket.BracketIndex = 0;
    bracket.WrappedToken = tkBracket;
    bracket.RemainByte = 1;
    auto parser = scheme.CreateParser();
    EXPECT_EQ(Scan(*parser, "/ x", bracket), "6:/|11:x");
    EXPECT_EQ(parser->State().BracketIndex, -1);
}

TEST(TEditorParser, RequiresAScheme)
{
    try {
        TEditorParser parser(nullptr);
        FAIL();
    } catch (const std::invalid_argument& e) {
        EXPECT_STREQ(e.what(), "TFountainParser.Create need instance of TFountain");
    }
}

// Random bytes, biased towards lead bytes, "\" and the scheme's own
// characters, in a buffer of exactly their size (so the address sanitizer
// sees any read past the end) and from random start states. The tokens must
// tile the text from left to right at character starts, and parsing a row
// twice must give the same state.
TEST(TEditorParser, RandomTextIsScannedWholeAtCharacterStarts)
{
    TEditorFountain scheme;
    scheme.Brackets().Add("/*", "*/");
    scheme.Brackets().Add(Hyo, "\\]");
    scheme.SetCommenter("%");
    scheme.SetQuotation("'");
    scheme.SetHexPrefix("$");
    scheme.SetControlCode(true);
    scheme.SetMail(true);
    scheme.SetUrl(true);
    scheme.ReserveWordList().Assign({"ab", "section"});
    const std::string alphabet = std::string("\x82\x83\x95\x81\xE0\xFC\x5C\x40\x7F\x80\xA5\xB1\xFD", 13)
                                 + "%/*'\"$#@.:0129aexw \t\r" + std::string(1, '\0');

    std::mt19937 rng(20240601);
    for (int round = 0; round < 3000; ++round) {
        const size_t n = rng() % 24;
        std::unique_ptr<char[]> bytes(new char[n]);
        for (size_t i = 0; i < n; ++i)
            bytes[i] = (rng() % 4 == 0) ? static_cast<char>(rng() % 256) : alphabet[rng() % alphabet.size()];
        const std::string_view text(bytes.get(), n);
        std::string_view line = text.substr(0, std::min(n, text.find_first_of("\r\n")));

        TRowAttributeData state;
        state.BracketIndex = static_cast<int>(rng() % 4) - 1;
        state.WrappedToken = static_cast<uint8_t>(rng() % 3 == 0 ? rng() % 30 : 0);
        state.RemainByte = static_cast<int32_t>(rng() % 3 == 0 ? rng() % 256 : 0);

        for (auto& parser : {scheme.CreateParser(), std::unique_ptr<TFountainParser>(new TTokenParser(&scheme))}) {
            parser->SetText(text, state);
            size_t end = 0;
            int tokens = 0;
            while (parser->NextToken() != tkEnd) {
                const size_t start = static_cast<size_t>(parser->TokenStart());
                ASSERT_GE(start, end);
                ASSERT_GT(parser->TokenLength(), 0);
                end = start + static_cast<size_t>(parser->TokenLength());
                ASSERT_LE(end, line.size());
                ASSERT_EQ(CharStart(line, start), start) << round;
                ASSERT_TRUE(end == line.size() || CharStart(line, end) == end) << round;
                ASSERT_LE(++tokens, static_cast<int>(n));
            }
        }

        TEditorStringList rows;
        rows.Add(std::string(line));
        rows.Add(std::string(text.substr(n / 2)));
        rows.SetRowAttribute(0, static_cast<uint8_t>(rng() % 2));
        auto parser = scheme.CreateParser();
        TRowAttributeData first = state, second = state;
        parser->ParseRow(0, rows, first);
        parser->ParseRow(0, rows, second);
        ASSERT_EQ(first, second);
        ASSERT_LE(first.RemainByte, 255);
        ASSERT_GE(first.BracketIndex, -1);
    }
}
