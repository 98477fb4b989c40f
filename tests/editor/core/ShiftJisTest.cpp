#include "editor/core/ShiftJis.h"

#include <gtest/gtest.h>

#include <string>

// 表 and 能 end in 0x5C, which on its own is a backslash.
static const std::string kHyou = "\x95\x5C";
static const std::string kNou = "\x94\x5C";

TEST(ShiftJis, ByteClassBoundaries)
{
    EXPECT_FALSE(IsLeadByte(0x80));
    EXPECT_TRUE(IsLeadByte(0x81));
    EXPECT_TRUE(IsLeadByte(0x9F));
    EXPECT_FALSE(IsLeadByte(0xA0));
    EXPECT_FALSE(IsLeadByte(0xDF));
    EXPECT_TRUE(IsLeadByte(0xE0));
    EXPECT_TRUE(IsLeadByte(0xFC));
    EXPECT_FALSE(IsLeadByte(0xFD));

    EXPECT_FALSE(IsTrailByte(0x3F));
    EXPECT_TRUE(IsTrailByte(0x40));
    EXPECT_TRUE(IsTrailByte(0x5C));
    EXPECT_FALSE(IsTrailByte(0x7F));
    EXPECT_TRUE(IsTrailByte(0x80));
    EXPECT_TRUE(IsTrailByte(0xFC));
    EXPECT_FALSE(IsTrailByte(0xFD));

    using namespace std::string_literals;
    for (unsigned char word : "aZ09_\xA6\xB1\xDF"s)
        EXPECT_FALSE(IsDelimiter(word)) << int(word);
    for (unsigned char delim : "\0\t /:@[^`{\x7F\x80\xA0\xA1\xA5\xFD\xFF"s)
        EXPECT_TRUE(IsDelimiter(delim)) << int(delim);
}

TEST(ShiftJis, CharLengthPairsAndLoneLeadBytes)
{
    EXPECT_EQ(CharLength(kHyou, 0), 2);
    EXPECT_EQ(CharLength(kNou + "x", 0), 2);
    EXPECT_EQ(CharLength("\x81\x81", 0), 2);   // 0x81 is also a trail byte
    EXPECT_EQ(CharLength("\x81", 0), 1);       // lone at the end
    EXPECT_EQ(CharLength("\x81\r", 0), 1);
    EXPECT_EQ(CharLength("\x81 ", 0), 1);
    EXPECT_EQ(CharLength("\x81\x7F", 0), 1);
    EXPECT_EQ(CharLength("\xE0\xFD", 0), 1);
    EXPECT_EQ(CharLength("a", 1), 0);
    EXPECT_EQ(CharLength("a", 5), 0);
}

TEST(ShiftJis, CharStartWalksForwardFromAKnownStart)
{
    // 表 then a real backslash: byte 1 is a trail, byte 2 a character.
    const std::string s = kHyou + "\\" + kNou;
    EXPECT_EQ(CharStart(s, 0), 0u);
    EXPECT_EQ(CharStart(s, 1), 0u);
    EXPECT_EQ(CharStart(s, 2), 2u);
    EXPECT_EQ(CharStart(s, 4), 3u);
    EXPECT_EQ(CharStart(s, 5), s.size());
    EXPECT_TRUE(IsSecondByteAt(s, 1));
    EXPECT_FALSE(IsSecondByteAt(s, 2));
    EXPECT_TRUE(IsSecondByteAt(s, 4));
    EXPECT_EQ(CharStart(s, 4, 3), 3u);

    // "\x81\x95" is one character, so the following 0x5C is a backslash even
    // though "\x95\x5C" looked at backward would be 表.
    const std::string trap = "\x81\x95\x5C";
    EXPECT_EQ(CharStart(trap, 2), 2u);
    EXPECT_FALSE(IsSecondByteAt(trap, 2));

    // A lone lead byte never swallows the byte after it.
    const std::string lone = "\x81 \x81";
    EXPECT_EQ(CharStart(lone, 1), 1u);
    EXPECT_EQ(CharStart(lone, 2), 2u);
}

TEST(ShiftJis, StepsOverWholeCharacters)
{
    const std::string s = "a" + kHyou + "\x81\t";
    EXPECT_EQ(NextCharStart(s, 0), 1u);
    EXPECT_EQ(NextCharStart(s, 1), 3u);
    EXPECT_EQ(NextCharStart(s, 3), 4u);
    EXPECT_EQ(NextCharStart(s, 5), 5u);
    EXPECT_EQ(PrevCharStart(s, 5), 4u);
    EXPECT_EQ(PrevCharStart(s, 4), 3u);
    EXPECT_EQ(PrevCharStart(s, 3), 1u);
    EXPECT_EQ(PrevCharStart(s, 1), 0u);
    EXPECT_EQ(PrevCharStart(s, 0), 0u);
    EXPECT_EQ(PrevCharStart(s, 3, 1), 1u);
}
