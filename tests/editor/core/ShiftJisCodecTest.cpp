#include "editor/core/ShiftJisCodec.h"
#include "editor/core/ShiftJis.h"

#include <gtest/gtest.h>

#include <string>

using namespace ShiftJisCodec;
using namespace std::string_literals;

namespace {

char32_t Decode(const std::string& bytes)
{
    const DecodedChar c = DecodeChar(bytes, 0);
    EXPECT_EQ(c.bytes, int(bytes.size())) << "not one character";
    return c.code;
}

std::string Encode(const std::string& utf8)
{
    std::string out;
    char32_t bad = 0;
    EXPECT_TRUE(EncodeUtf8(utf8, out, &bad)) << "U+" << std::hex << unsigned(bad);
    return out;
}

} // namespace

TEST(ShiftJisCodec, ConverterIsPresent)
{
    ASSERT_TRUE(ConverterAvailable()) << "glibc iconv has no CP932 converter";
}

TEST(ShiftJisCodec, SingleBytesDecodeVisibly)
{
    EXPECT_EQ(Decode("\\"), U'\\');   // backslash, not yen
    EXPECT_EQ(Decode("~"), U'~');
    EXPECT_EQ(Decode("\t"), U'\t');
    EXPECT_EQ(Decode("\0"s), U'\u2400');
    EXPECT_EQ(Decode("\r"), U'\u240D');
    EXPECT_EQ(Decode("\x1B"), U'\u241B');
    EXPECT_EQ(Decode("\x7F"), U'\u2421');
    EXPECT_EQ(Decode("\xA1"), U'\uFF61');
    EXPECT_EQ(Decode("\xA6"), U'\uFF66');
    EXPECT_EQ(Decode("\xDF"), U'\uFF9F');
    for (const char* undefined : {"\x80", "\xA0", "\xFD", "\xFE", "\xFF"}) {
        const DecodedChar c = DecodeChar(undefined, 0);
        EXPECT_EQ(c.code, kReplacement);
        EXPECT_FALSE(c.valid);
    }
}

TEST(ShiftJisCodec, PairsDecodeAsOneCodePoint)
{
    EXPECT_EQ(Decode("\x95\x5C"), U'表');
    EXPECT_EQ(Decode("\x94\x5C"), U'能');
    EXPECT_EQ(Decode("\x83\x5C"), U'ソ');
    EXPECT_EQ(Decode("\x81\x60"), U'～');
    EXPECT_EQ(Decode("\x87\x40"), U'①');       // NEC row 13
    EXPECT_EQ(Decode("\xFA\x40"), U'ⅰ');       // IBM extension
    EXPECT_EQ(Decode("\xED\x40"), U'纊');       // NEC-selected IBM extension
    EXPECT_EQ(Decode("\xF0\x40"), U'\uE000');  // user-defined area
    const DecodedChar undefinedPair = DecodeChar("\x85\x40", 0);
    EXPECT_EQ(undefinedPair.code, kReplacement);
    EXPECT_EQ(undefinedPair.bytes, 2);
    EXPECT_FALSE(undefinedPair.valid);
}

// One code point per character as the cell map splits them, whatever the bytes.
TEST(ShiftJisCodec, DisplayStaysAlignedWithCharacters)
{
    EXPECT_EQ(DecodeForDisplay("a\x95\x5C\\\x81"), U"a表\\\uFFFD");
    EXPECT_EQ(DecodeForDisplay("\x81\r\x81 \x81\x81"), U"\uFFFD\u240D\uFFFD \uFF1D");
    EXPECT_EQ(DecodeForDisplay("\x85\x40x"), U"\uFFFDx");
    EXPECT_EQ(DecodeToUtf8("\x95\x5C\x81"), "表\xEF\xBF\xBD");
    EXPECT_EQ(DecodeChar("a", 1).bytes, 0);

    std::string all;
    for (int b = 0; b < 256; ++b)
        all += char(b), all += char(255 - b);
    std::size_t chars = 0;
    for (std::size_t i = 0; i < all.size(); i = NextCharStart(all, i))
        ++chars;
    EXPECT_EQ(DecodeForDisplay(all).size(), chars);
}

TEST(ShiftJisCodec, EncodesInputMethodText)
{
    EXPECT_EQ(Encode("\\section{表と能}"), "\\section{\x95\x5C\x82\xC6\x94\x5C}");
    EXPECT_EQ(Encode("ｱｲ｡"), "\xB1\xB2\xA1");
    EXPECT_EQ(Encode("ア①ⅰ"), "\x83\x41\x87\x40\xFA\x40");
    // Both spellings of the wave dash, as different input methods commit it.
    EXPECT_EQ(Encode("\u301C"), "\x81\x60");
    EXPECT_EQ(Encode("\uFF5E"), "\x81\x60");
    EXPECT_EQ(Encode("¥"), "\\");
    EXPECT_EQ(Encode(""), "");
}

TEST(ShiftJisCodec, RefusesWhatCp932CannotHold)
{
    struct Case {
        std::string utf8;
        char32_t bad;
        std::string prefix;
    };
    const Case cases[] = {
        {"ab😀c", U'😀', "ab"},
        {"café", U'é', "caf"},
        {"\uFFFD", U'\uFFFD', ""},
        {"\u2400", U'\u2400', ""},           // control pictures are display only
        {"a\xC3", kReplacement, "a"},         // truncated
        {"\xC0\xAF", kReplacement, ""},       // overlong
        {"\xED\xA0\x80", kReplacement, ""},   // surrogate
    };
    for (const Case& c : cases) {
        std::string out = "stale";
        char32_t bad = 0;
        EXPECT_FALSE(EncodeUtf8(c.utf8, out, &bad)) << c.utf8;
        EXPECT_EQ(bad, c.bad) << c.utf8;
        EXPECT_EQ(out, c.prefix) << c.utf8;
    }
}

// Every pair that decodes encodes back to itself, except the codes CP932
// holds twice; those encode to the code iconv prefers, which decodes alike.
TEST(ShiftJisCodec, DecodedPairsEncodeBack)
{
    int decoded = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const std::string bytes{char(lead), char(trail)};
            const DecodedChar c = DecodeChar(bytes, 0);
            if (!IsLeadByte(lead) || !IsTrailByte(trail) || !c.valid)
                continue;
            ++decoded;
            std::string out;
            ASSERT_TRUE(EncodeCodePoint(c.code, out)) << std::hex << lead << trail;
            if (out == bytes)
                continue;
            const int code = lead << 8 | trail;
            EXPECT_TRUE((code >= 0x8790 && code <= 0x879C) || (code >= 0xED40 && code <= 0xEEFC)
                        || (code >= 0xFA4A && code <= 0xFA5B))
                << std::hex << code;
            EXPECT_EQ(DecodeChar(out, 0).code, c.code) << std::hex << code;
        }
    }
    EXPECT_GT(decoded, 9000);
    std::string out;
    EncodeCodePoint(U'纊', out);
    EXPECT_EQ(out, "\xFA\x5C");
    out.clear();
    EncodeCodePoint(U'Ⅰ', out);
    EXPECT_EQ(out, "\x87\x54");

    for (int b = 0xA1; b <= 0xDF; ++b) {
        out.clear();
        ASSERT_TRUE(EncodeCodePoint(DecodeChar(std::string(1, char(b)), 0).code, out));
        EXPECT_EQ(out, std::string(1, char(b)));
    }
}
