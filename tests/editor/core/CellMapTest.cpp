#include "editor/core/CellMap.h"
#include "editor/core/ShiftJis.h"
#include "editor/core/TEditorAttributeArray.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

const std::string kHyou = "\x95\x5C";   // 表, trail byte 0x5C

CellMapOptions Tabs(int tab) { return {tab, false, 80}; }
CellMapOptions Wrap(int wrapByte, int tab = 8) { return {tab, true, wrapByte}; }

} // namespace

TEST(CellMap, CellKinds)
{
    EXPECT_EQ(BuildCellMap("a_1 " + kHyou + "\xB1\xA1", {}), "11124512");
    EXPECT_EQ(BuildCellMap("\x81", {}), "2");       // lone lead at the end
    EXPECT_EQ(BuildCellMap("\x81\r", {}), "22");
    EXPECT_EQ(BuildCellMap("\x81 x", {}), "221");
    EXPECT_EQ(BuildCellMap("\x81\x81\x81", {}), "452");
    EXPECT_EQ(BuildCellMap("", {}), "");
}

TEST(CellMap, TabsRunToTheNextStop)
{
    EXPECT_EQ(BuildCellMap("\t", Tabs(8)), "23333333");
    EXPECT_EQ(BuildCellMap("ab\tc", Tabs(8)), "112333331");
    EXPECT_EQ(BuildCellMap("abcdefg\tc", Tabs(8)), "111111121");
    EXPECT_EQ(BuildCellMap("a\tb\t", Tabs(4)), "12331233");
    EXPECT_EQ(BuildCellMap(kHyou + "\t", Tabs(4)), "4523");
    // With wrap on a TAB stops at the next multiple of WrapByte.
    EXPECT_EQ(BuildCellMap("abcdefgh\tx", Wrap(10)), "11111111231");
    EXPECT_EQ(BuildCellMap("abcde\tx", Wrap(6, 4)), "1111121");
    EXPECT_EQ(TabWidthAt(9, Wrap(10, 8)), 1);
    EXPECT_EQ(TabWidthAt(9, Tabs(8)), 7);
}

TEST(CellMap, CutAtTheLimitKeepsWholeCharacters)
{
    std::string map;
    EXPECT_EQ(BuildCellMap(std::string(1200, 'a'), {}, map), 1000u);
    EXPECT_EQ(map.size(), 1000u);
    // A double-byte character starting on cell 999 is kept whole.
    EXPECT_EQ(BuildCellMap(std::string(999, 'a') + kHyou + "b", {}, map), 1001u);
    EXPECT_EQ(map.substr(997), "1145");
    EXPECT_EQ(BuildCellMap(std::string(1000, 'a') + kHyou, {}, map), 1000u);
    EXPECT_EQ(map.size(), 1000u);

    // Wrap on: cut at WrapByte+3, wherever the line ends.
    const std::string longLine(2 << 20, 'a');
    EXPECT_EQ(BuildCellMap(longLine, Wrap(10), map), 13u);
    EXPECT_EQ(BuildCellMap(std::string(12, 'a') + kHyou + longLine, Wrap(10), map), 14u);
    EXPECT_EQ(map.substr(11), "145");
    EXPECT_EQ(BuildCellMap(std::string(12, 'a') + "\t" + longLine, Wrap(10), map), 13u);
    EXPECT_EQ(map.substr(11), "12333");

    // The caller's buffer is reused.
    map.reserve(2000);
    const char* buffer = map.data();
    BuildCellMap(std::string(1500, 'a'), {}, map);
    BuildCellMap("ab", {}, map);
    EXPECT_EQ(map, "11");
    EXPECT_EQ(map.data(), buffer);
}

TEST(CellMap, ColumnAndCharIndex)
{
    const std::string row = "a\t" + kHyou + "b";   // tab 4: cells 1 233 45 1
    const std::string map = BuildCellMap(row, Tabs(4));
    ASSERT_EQ(map, "1233451");
    const int index[] = {0, 1, 2, 2, 2, 3, 4, 5, 5, 5};
    const int start[] = {0, 1, 1, 1, 2, 2, 4, 5, 5, 5};
    for (int col = 0; col < 10; ++col) {
        EXPECT_EQ(CharIndexFromColumn(map, row.size(), col), index[col]) << col;
        EXPECT_EQ(CharStartFromColumn(map, row.size(), col), start[col]) << col;
    }
    EXPECT_EQ(CharIndexFromColumn(map, row.size(), -3), 0);
    const int column[] = {0, 1, 4, 5, 6, 7, 7};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(ColumnFromCharIndex(row, i, Tabs(4)), column[i]) << i;

    // Past a cut, columns count one byte each.
    const std::string longRow(1200, 'a');
    EXPECT_EQ(CharIndexFromColumn(BuildCellMap(longRow, {}), longRow.size(), 1001), 1001);
    EXPECT_EQ(DisplayWidth(longRow, {}), 1200);
}

// The map and the direct column computations lay a row out alike, for any
// bytes, and every character start survives a round trip through its column.
TEST(CellMap, MapAndColumnsAgreeOnRandomRows)
{
    std::mt19937 rng(7);
    const unsigned char alphabet[] = {'a', ' ', '\t', '\\', 0x81, 0x95, 0x5C, 0x40, 0x7F, 0xA6, 0xE0, 0xFC, 0xFD};
    for (const CellMapOptions& options : {Tabs(8), Tabs(4), Wrap(6, 4), Wrap(20, 8)}) {
        for (int n = 0; n < 300; ++n) {
            std::string row;
            for (int i = 0, len = int(rng() % 30); i < len; ++i)
                row.push_back(char(alphabet[rng() % sizeof alphabet]));
            std::string map;
            const std::size_t covered = BuildCellMap(row, options, map);
            ASSERT_EQ(int(map.size()), ColumnFromCharIndex(row, covered, options)) << row;
            if (covered == row.size()) {
                EXPECT_EQ(int(map.size()), DisplayWidth(row, options));
            }
            for (std::size_t i = 0; i <= covered; i = NextCharStart(row, i)) {
                const int col = ColumnFromCharIndex(row, i, options);
                EXPECT_EQ(CharStartFromColumn(map, row.size(), col), int(i));
                EXPECT_EQ(CharIndexFromColumn(map, row.size(), col), int(i));
                if (i == covered)
                    break;
                const char kind = map[std::size_t(col)];
                EXPECT_EQ(kind == '4', CharLength(row, i) == 2) << row << " at " << i;
            }
        }
    }
}

TEST(TEditorAttributeArray, WalksCellsBothWays)
{
    const std::string row = "a\t" + kHyou + "\x81";
    const std::string map = BuildCellMap(row, Tabs(4));
    ASSERT_EQ(map, "1233452");
    const std::vector<std::string> chars = {"a", "\t", "\t", "\t", kHyou, kHyou, "\x81"};
    const int charIndex[] = {0, 1, 1, 1, 2, 2, 4};

    TEditorAttributeArray it(row, map);
    for (int cell = 0; cell < 7; ++cell) {
        EXPECT_EQ(it.Position(), cell);
        EXPECT_EQ(it.Kind(), map[cell]);
        EXPECT_EQ(it.CharIndex(), charIndex[cell]);
        EXPECT_EQ(it.Char(), chars[cell]);
        EXPECT_TRUE(it.Next());
    }
    EXPECT_TRUE(it.AtEnd());
    EXPECT_EQ(it.Char(), "");
    EXPECT_EQ(it.Kind(), '\0');
    EXPECT_EQ(it.CharIndex(), 5);
    EXPECT_FALSE(it.Next());
    for (int cell = 6; cell >= 0; --cell) {
        EXPECT_TRUE(it.Prev());
        EXPECT_EQ(it.CharIndex(), charIndex[cell]) << cell;
        EXPECT_EQ(it.Char(), chars[cell]) << cell;
    }
    EXPECT_FALSE(it.Prev());

    std::vector<int> starts;
    while (it.NextChar())
        starts.push_back(it.Position());
    EXPECT_EQ(starts, (std::vector<int>{1, 4, 6, 7}));
    starts.clear();
    while (it.PrevChar())
        starts.push_back(it.Position());
    EXPECT_EQ(starts, (std::vector<int>{6, 4, 1, 0}));

    it.SetPosition(5);
    EXPECT_EQ(it.Char(), kHyou);
    EXPECT_EQ(it.CharIndex(), 2);
    it.SetPosition(99);
    EXPECT_TRUE(it.AtEnd());
}
