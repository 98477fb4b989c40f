#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// The cell map of a row: one character per display cell, the basis of every
// caret and column computation.
//
//   '1'  single-byte word character
//   '2'  single-byte delimiter; also a lone lead byte, and the first cell of a TAB
//   '3'  filler cell of a TAB
//   '4'  first cell of a double-byte character (its lead byte)
//   '5'  second cell of a double-byte character (its trail byte)
//
// Every cell but a '3' stands for exactly one byte, so the number of cells
// before a column that are not '3' is the byte offset of that column.

namespace CellKind {
constexpr char Word = '1';
constexpr char Delimiter = '2';
constexpr char TabFill = '3';
constexpr char Lead = '4';
constexpr char Trail = '5';
}

// What the layout of a row depends on. Values below 1 are taken as 1.
struct CellMapOptions {
    int TabSpaceCount = 8;   // a TAB runs to the next multiple of this
    bool WordWrap = false;   // with wrap on a TAB also stops at the next multiple of WrapByte
    int WrapByte = 80;
};

// Length after which the map stops: WrapByte+3 cells with wrap on, 1000 with
// wrap off. Characters are added whole while the map is shorter than this, so
// a map may end up to one character's cells past it (a double-byte character
// starting on the last cell, or a TAB) and never ends inside a character.
int CellMapLimit(const CellMapOptions& options);

// Number of cells of a TAB that starts at `column`.
int TabWidthAt(int column, const CellMapOptions& options);

// Fills `map` (its capacity is reused; no other allocation) with the cell map
// of `row`, and returns the number of bytes of `row` the map covers: less than
// row.size() when the map was cut.
std::size_t BuildCellMap(std::string_view row, const CellMapOptions& options, std::string& map);
std::string BuildCellMap(std::string_view row, const CellMapOptions& options);

// Char index of a column: the column minus the number of '3' cells before it,
// capped at rowLength. Past the map's end each column counts as one byte, so
// a caret beyond the row end gives the row length. A column on a '5' cell
// gives the trail byte's offset and one on a '3' cell the offset after the TAB.
int CharIndexFromColumn(std::string_view map, std::size_t rowLength, int column);

// As CharIndexFromColumn, snapped to the start of the character under the
// column: a '5' cell gives its lead byte, a '3' cell its TAB.
int CharStartFromColumn(std::string_view map, std::size_t rowLength, int column);

// Column of byte charIndex: the display width of the bytes before it, with no
// cut. An index on a trail byte gives the column of its '5' cell; an index
// past the row end is capped at the row length.
// With a limit, the walk stops once the column reaches it, and the result is
// at most the limit: a caret that cannot pass a column needs no more.
int ColumnFromCharIndex(std::string_view row, std::size_t charIndex, const CellMapOptions& options,
                        int limit = 0x7fffffff);

// Display width of the whole row, with no cut.
int DisplayWidth(std::string_view row, const CellMapOptions& options);

// min(DisplayWidth, limit), reading the row only as far as the limit: enough
// to compare a caret column below the limit with the row's width.
int DisplayWidthUpTo(std::string_view row, const CellMapOptions& options, int limit);
