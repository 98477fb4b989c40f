#include <gtest/gtest.h>

#include <string>

#include "editor/core/ShiftJisCodec.h"
#include "platform/PathDisplay.h"

namespace {

TEST(PathDisplay, EachPartIsShownAsUtf8OrShiftJisOrWithItsBytesEscaped)
{
    // UTF-8 names are shown as they are.
    EXPECT_EQ(DisplayPathText("/home/user/論文/main.tex"), "/home/user/論文/main.tex");
    EXPECT_EQ(DisplayPathText(""), "");

    if (ShiftJisCodec::ConverterAvailable()) {
        // A Shift-JIS name ("日本.tex") in UTF-8 folders; "表" ends in 0x5C,
        // which is no path separator either.
        EXPECT_EQ(DisplayPathText("/home/論文/\x93\xFA\x96\x7B.tex"), "/home/論文/日本.tex");
        EXPECT_EQ(DisplayPathText("/a/\x95\x5C/b.tex"), "/a/表/b.tex");
        // Half-width katakana are single Shift-JIS bytes.
        EXPECT_EQ(DisplayPathText("/\xB1\xB2.tex"), "/ｱｲ.tex");
    }

    // Neither: the stray bytes are shown, not dropped or replaced.
    EXPECT_EQ(DisplayPathText("/x/\xFF\xFE" "a.tex"), "/x/\\xFF\\xFEa.tex");
    EXPECT_EQ(DisplayPathText("/x/\x81"), "/x/\\x81");  // a lone lead byte
    // A part of valid UTF-8 with one bad byte keeps its good characters.
    EXPECT_EQ(DisplayPathText("/論\xFF.tex"), "/論\\xFF.tex");
    // Control bytes never reach a title or a message as themselves.
    EXPECT_EQ(DisplayPathText("/a\nb\x7F.tex"), "/a\\x0Ab\\x7F.tex");
    // Overlong and surrogate forms are not UTF-8 (the stray 0xFF keeps the
    // overlong pair from reading as two half-width katakana).
    EXPECT_EQ(DisplayPathText("/\xC0\xAF\xFF"), "/\\xC0\\xAF\\xFF");
    EXPECT_EQ(DisplayPathText("/\xED\xA0\x80"), "/\\xED\\xA0\\x80");
}

}  // namespace
