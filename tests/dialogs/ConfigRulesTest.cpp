#include "dialogs/ConfigRules.h"

#include <gtest/gtest.h>

using namespace ConfigRules;

TEST(ConfigRules, WholeNumbersReadWithLeadingBlanksSignsAndHexButNothingAfter)
{
    EXPECT_EQ(ParseInteger("12"), 12);
    EXPECT_EQ(ParseInteger("  -7"), -7);
    EXPECT_EQ(ParseInteger("+3"), 3);
    EXPECT_EQ(ParseInteger("$1A"), 26);
    EXPECT_EQ(ParseInteger("0x10"), 16);
    EXPECT_EQ(ParseInteger("-2147483648"), -2147483647 - 1);
    for (const char* bad : {"", " ", "-", "$", "12 ", "1.5", "abc", "１２", "2147483648", "99999999999999999999"})
        EXPECT_EQ(ParseInteger(bad), std::nullopt) << bad;
}

TEST(ConfigRules, FontSizesAreReadOrRefusedWithTheTypedTextNamed)
{
    EXPECT_EQ(ReadFontSize("12").Size, 12);
    EXPECT_EQ(ReadFontSize("30").Size, 30);  // outside the list, still a size
    const FontSizeReading empty = ReadFontSize("");
    EXPECT_FALSE(empty.Size);
    EXPECT_EQ(empty.Error, "'' は正しい整数値ではありません");
    EXPECT_EQ(ReadFontSize("1a").Error, "'1a' は正しい整数値ではありません");
    EXPECT_FALSE(ReadFontSize("0").Size);
    EXPECT_FALSE(ReadFontSize("-12").Size);
    EXPECT_FALSE(ReadFontSize("100000").Size);
    EXPECT_EQ(ListedFontSizeText(8), "8");
    EXPECT_EQ(ListedFontSizeText(24), "24");
    EXPECT_EQ(ListedFontSizeText(30), "");
    EXPECT_EQ(ListedFontSizeText(7), "");
}

TEST(ConfigRules, WrapWidthsAreBroughtIntoRangeAndOtherTextIsTheSmallest)
{
    EXPECT_EQ(WrapWidthFromText("250", 20, 200), 200);
    EXPECT_EQ(WrapWidthFromText("5", 20, 200), 20);
    EXPECT_EQ(WrapWidthFromText("64", 20, 200), 64);
    EXPECT_EQ(WrapWidthFromText("abc", 20, 200), 20);
    EXPECT_EQ(WrapWidthFromText("", 20, 200), 20);
    EXPECT_TRUE(IsListedFamilyName("IPAGothic"));
    EXPECT_FALSE(IsListedFamilyName("@IPAGothic"));
    EXPECT_FALSE(IsListedFamilyName(""));
}
