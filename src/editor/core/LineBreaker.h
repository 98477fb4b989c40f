#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "editor/core/TEditorWrapOption.h"

// Word wrap of one logical line: where its screen rows end.
//
// Widths are counted on the cell map of the text (CellMap.h) built with wrap
// on, so a TAB stops at the next multiple of WrapByte as well as of
// TabSpaceCount. The map is cut a few cells past WrapByte, so breaking a long
// line costs about one row's work per row.
//
// A row ends at WrapByte cells unless the rules of the wrap option move the
// break (applied in this order):
//   1. a double-byte character that would straddle the edge goes down whole;
//   2. WordBreak: a run of single-byte word characters goes down whole, unless
//      it reaches back into the first third of the row, where it is cut;
//   3. FollowPunctuation: characters of PunctuationStr may hang up to 2 cells
//      past the edge;
//   4. Leading: a character of LeadStr (an opening bracket) goes down, and a
//      character of FollowStr (a closing bracket, small kana, ...) that would
//      begin the next row pulls the character before it down, but the row
//      never becomes shorter than four fifths of WrapByte.
// A row never ends inside a double-byte character and never splits a TAB.
//
// Rows depend only on the text from their own start onward: each row is found
// on a fresh cell map of the rest of the line. A caller that re-wraps after an
// edit may therefore keep every row before the one touched and resume from
// that row's start.

struct LineBreakParams {
    const TEditorWrapOption* Option;
    int TabSpaceCount = 8;
};

// One row found at the start of a rest of a line: its length, and whether
// the rest was at least WrapByte wide so that a break was made (a row that
// takes the whole rest because it is narrow is not a break).
struct RowBreak {
    std::size_t length;
    bool wrapped;
};
RowBreak NextRowBreak(std::string_view rest, const LineBreakParams& p, std::string& mapScratch);

// Length in bytes of the row that starts at the beginning of `rest` (the rest
// of a logical line from a row start). Returns rest.size() when the rest fits
// on one row (its width is below WrapByte), and also when the break falls
// exactly at its end. Never 0 for a non-empty rest. `mapScratch` is working
// space whose capacity is reused across calls; the cost is O(WrapByte) however
// long the rest is.
std::size_t NextRowLength(std::string_view rest, const LineBreakParams& p, std::string& mapScratch);

// Appends the byte lengths of all rows of `line` to `rows` (which is not
// cleared). A line narrower than WrapByte, and an empty line, give one row.
// When the last break falls exactly at the line end, FollowRetMark keeps the
// line break on that row; without it an empty last row is added.
void BreakLine(std::string_view line, const LineBreakParams& p, std::vector<std::uint32_t>& rows);

// Number of rows BreakLine gives for `line`.
int WrapRowCount(std::string_view line, const LineBreakParams& p);
