#include "build/ErrorJump.h"

#include <gtest/gtest.h>

namespace {

// Two entries and the last line; the second names an included file whose
// name is Shift-JIS ("第1章" is 91 E6 31 8F CD).
TypesetterLog TwoEntries()
{
    TypesetterLog log;
    log.Rows = {"! Undefined control sequence.", "l.2 \\foo", "", "The control sequence",
                "! Missing $ inserted.", "<inserted text> ", "$", "l.5 \\subsection",
                "Output written on main.dvi (1 page, 228 bytes)."};
    log.Entries = {{"./main.tex", 2}, {"./\x91\xe6\x31\x8f\xcd.tex", 5}};
    return log;
}

TEST(ErrorJumpTest, EveryRowOfAnEntryLeadsToItsFileAndLine)
{
    const TypesetterLog log = TwoEntries();
    for (int row = 0; row < 4; ++row) {
        const auto jump = ErrorJumpAt(log, row);
        ASSERT_TRUE(jump) << row;
        EXPECT_EQ(jump->FileName, "./main.tex");
        EXPECT_EQ(jump->Line, 2);
    }
    for (int row = 4; row < 8; ++row) {
        const auto jump = ErrorJumpAt(log, row);
        ASSERT_TRUE(jump) << row;
        EXPECT_EQ(jump->Line, 5);
    }
}

TEST(ErrorJumpTest, TheLastRowShortListsOutOfRangeRowsAndEntriesWithoutALineLeadNowhere)
{
    TypesetterLog log = TwoEntries();
    EXPECT_FALSE(ErrorJumpAt(log, 8)) << "the log's last line";
    EXPECT_FALSE(ErrorJumpAt(log, -1)) << "no row selected";
    EXPECT_FALSE(ErrorJumpAt(log, 9));
    log.Entries[1].Line = 0;
    EXPECT_FALSE(ErrorJumpAt(log, 5));
    // Only the last line, or a list of two rows: nothing to jump to.
    TypesetterLog clean;
    clean.Rows = {"Output written on main.dvi (1 page, 228 bytes)."};
    EXPECT_FALSE(ErrorJumpAt(clean, 0));
    TypesetterLog two;
    two.Rows = {"! x", "l.3 y"};
    two.Entries = {{"a.tex", 3}};
    EXPECT_FALSE(ErrorJumpAt(two, 0));
    // Rows that no entry covers (a list not read from a log) lead nowhere.
    TypesetterLog rowsOnly;
    rowsOnly.Rows = {"a", "b", "c", "d", "e"};
    EXPECT_FALSE(ErrorJumpAt(rowsOnly, 1));
}

TEST(ErrorJumpTest, ALogFileNameIsLookedForDecodedFirstThenAsItsBytes)
{
    // The name written in Shift-JIS, the name on disk in UTF-8.
    EXPECT_EQ(LogFileCandidates("/doc", "./\x91\xe6\x31\x8f\xcd.tex"),
              (std::vector<std::string>{"/doc/第1章.tex", "/doc/\x91\xe6\x31\x8f\xcd.tex"}));
    // Plain ASCII: one candidate; the folder's final slash is not doubled.
    EXPECT_EQ(LogFileCandidates("/doc/", "./chap2.tex"), (std::vector<std::string>{"/doc/chap2.tex"}));
    EXPECT_EQ(LogFileCandidates("/doc", "sub/ch 1.tex"), (std::vector<std::string>{"/doc/sub/ch 1.tex"}));
    // An absolute name stays as it is.
    EXPECT_EQ(LogFileCandidates("/doc", "/usr/share/x.sty"), (std::vector<std::string>{"/usr/share/x.sty"}));
    // Bytes that do not decode (a lone lead byte) can only be the name on disk.
    EXPECT_EQ(LogFileCandidates("/doc", "./a\x81.tex"), (std::vector<std::string>{"/doc/a\x81.tex"}));
    EXPECT_TRUE(LogFileCandidates("/doc", "").empty());
}

}  // namespace
