#include <gtest/gtest.h>

#include <iconv.h>

#include <string>

#include "editor/core/FuzzyFolding.h"

namespace {

// Shift-JIS (CP932) to UTF-8 through glibc, as an oracle independent of our tables.
std::string ToUtf8(const std::string& sjis)
{
    iconv_t cd = iconv_open("UTF-8", "CP932");
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
    std::string in = sjis;
    std::string out(in.size() * 4 + 4, '\0');
    char* ip = in.data();
    char* op = out.data();
    size_t il = in.size();
    size_t ol = out.size();
    const size_t r = iconv(cd, &ip, &il, &op, &ol);
    iconv_close(cd);
    EXPECT_NE(r, static_cast<size_t>(-1)) << "not CP932";
    out.resize(out.size() - ol);
    return out;
}

std::string Byte(int b)
{
    return std::string(1, static_cast<char>(b));
}

// One code point as UTF-8 (BMP only).
std::string Utf8(char32_t c)
{
    std::string s;
    if (c < 0x80) {
        s += static_cast<char>(c);
    } else if (c < 0x800) {
        s += static_cast<char>(0xC0 | (c >> 6));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        s += static_cast<char>(0xE0 | (c >> 12));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
    return s;
}

TEST(FuzzyFolding, AsciiBecomesItsFullWidthForm)
{
    EXPECT_EQ(ToUtf8(FuzzyFold(" ")), "\u3000");
    for (int b = 0x21; b <= 0x7E; ++b) {
        char32_t expected = U'\uFF01' + static_cast<char32_t>(b - 0x21);
        if (b == '"')
            expected = U'\u201D';  // JIS X 0208 has no straight quotes
        if (b == '\'')
            expected = U'\u2019';
        if (b == 0x5C)
            expected = U'\uFFE5';  // yen sign, as JIS X 0201 reads the byte
        if (b == 0x7E)
            expected = U'\uFFE3';  // overline
        const std::string folded = FuzzyFold(Byte(b));
        ASSERT_EQ(folded.size(), 2u) << b;
        EXPECT_EQ(ToUtf8(folded), Utf8(expected)) << "byte " << b;
    }
}

TEST(FuzzyFolding, HalfWidthKanaAndPunctuationBecomeFullWidth)
{
    const std::string expected =
        "。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン゛゜";
    std::string folded;
    for (int b = 0xA1; b <= 0xDF; ++b) {
        // Each byte alone, so that no sound mark merges with the kana before it.
        const std::string one = FuzzyFold(Byte(b));
        ASSERT_EQ(one.size(), 2u) << b;
        folded += one;
    }
    EXPECT_EQ(ToUtf8(folded), expected);
}

TEST(FuzzyFolding, SoundMarksMergeWithTheKanaBefore)
{
    std::string voiced, semiVoiced;
    for (int b = 0xB6; b <= 0xC4; ++b)
        voiced += Byte(b) + "\xDE";
    for (int b = 0xCA; b <= 0xCE; ++b) {
        voiced += Byte(b) + "\xDE";
        semiVoiced += Byte(b) + "\xDF";
    }
    EXPECT_EQ(ToUtf8(FuzzyFold(voiced)), "ガギグゲゴザジズゼゾダヂヅデドバビブベボ");
    EXPECT_EQ(ToUtf8(FuzzyFold(semiVoiced)), "パピプペポ");
    EXPECT_EQ(ToUtf8(FuzzyFold("\xB3\xDE")), "ヴ");
    EXPECT_EQ(FuzzyFold("\xB3\xDE"), "\x83\x94");
    // The semi-voiced mark moves two codes on in the ka, sa and ta rows too.
    EXPECT_EQ(ToUtf8(FuzzyFold("\xB6\xDF\xC4\xDF")), "キナ");
    // Kana that take no mark, and u with the semi-voiced one, stay separate.
    EXPECT_EQ(ToUtf8(FuzzyFold("\xB1\xDE\xB3\xDF\xDE")), "ア゛ウ゜゛");
    EXPECT_EQ(FuzzyFoldChar("\xB6\xDE", 0).Length, 2);
    EXPECT_EQ(FuzzyFoldChar("\xB6", 0).Length, 1);
}

TEST(FuzzyFolding, DoubleByteControlAndUnmappedBytesStay)
{
    // 0x95 0x5C is one kanji; its second byte is not a yen sign.
    EXPECT_EQ(FuzzyFold("\x95\x5C"), "\x95\x5C");
    EXPECT_EQ(FuzzyFold("\x82\x60\x83\x4B"), "\x82\x60\x83\x4B");
    const std::string unchanged = std::string("\t\r\n\x01\x7F\x80\xA0\xFD\xFE\xFF", 10) + std::string(1, '\0');
    EXPECT_EQ(FuzzyFold(unchanged), unchanged);
    // A lone lead byte is one character and keeps its neighbour apart.
    EXPECT_EQ(FuzzyFold("\x95\r"), "\x95\r");
    EXPECT_EQ(FuzzyFold("A\x95"), "\x82\x60\x95");
}

}  // namespace
