#include "build/ConsoleDecoder.h"

#include <gtest/gtest.h>

namespace {

TEST(ConsoleDecoderTest, ACharacterSplitBetweenPiecesIsHeldUntilItsSecondByte)
{
    // "表示" is 95 5C 8E A6: the 0x5C of 表 must not show as a backslash.
    ConsoleDecoder decoder;
    EXPECT_EQ(decoder.Feed("(./\x95"), "(./");
    EXPECT_EQ(decoder.Feed("\x5c\x8e"), "表");
    EXPECT_EQ(decoder.Feed("\xa6.tex"), "示.tex");
    EXPECT_EQ(decoder.Finish(), "");
}

TEST(ConsoleDecoderTest, EveryWayOfCuttingTheOutputGivesTheSameText)
{
    const std::string output = "! Undefined\r\n\x82\xa0\x95\x5c\rl.2 x\n\n? ";
    std::string whole;
    {
        ConsoleDecoder decoder;
        whole = decoder.Feed(output);
        whole += decoder.Finish();
    }
    EXPECT_EQ(whole, "! Undefined\nあ表\nl.2 x\n\n? ");
    for (std::size_t cut = 0; cut <= output.size(); ++cut) {
        ConsoleDecoder decoder;
        std::string text = decoder.Feed(output.substr(0, cut));
        text += decoder.Feed(output.substr(cut));
        text += decoder.Finish();
        EXPECT_EQ(text, whole) << "cut at " << cut;
    }
}

TEST(ConsoleDecoderTest, ALeadByteLeftAtTheEndShowsAsAReplacement)
{
    ConsoleDecoder decoder;
    EXPECT_EQ(decoder.Feed("ab\x82"), "ab");
    EXPECT_EQ(decoder.Finish(), "\xef\xbf\xbd");
    // A lead byte before a line break is a character of its own.
    ConsoleDecoder other;
    EXPECT_EQ(other.Feed("\x82\n"), "\xef\xbf\xbd\n");
}

}  // namespace
