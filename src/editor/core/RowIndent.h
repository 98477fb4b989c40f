#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "editor/core/CellMap.h"

// Indentation of rows: the run of spaces, TABs and double-byte spaces
// (0x81 0x40) that starts a row.

// Byte length of the row's indent run.
std::size_t IndentLength(std::string_view row);

// Column of the first character that is not in the indent run; the row's
// width when the whole row is blank; -1 for an empty row.
int RowIndent(std::string_view row, const CellMapOptions& options);

// An indent `width` columns wide: spaces, or with useTabs as many TABs as
// whole tab widths fit followed by spaces.
std::string IndentText(int width, bool useTabs, int tabSpaceCount);

// The first `width` columns of an indent run: whole characters that end at or
// before `width`, and a character cut by it (a TAB, a double-byte space)
// turned into spaces up to `width`.
std::string CutIndent(std::string_view indent, int width, const CellMapOptions& options);
