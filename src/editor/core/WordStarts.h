#pragma once
#include <string_view>
#include <vector>

#include "editor/core/CellMap.h"

class TFountainParser;

// The columns where the words of a row start, in order, as Ctrl+Left and
// Ctrl+Right jump between them. A word is any token of `scanner` except a
// single symbol (tkSymbol); the row is scanned from an empty start state.
// The scanner should be one whose scheme has no bracket pairs, so that a
// bracket region never swallows the words inside it.
std::vector<int> WordStartColumns(TFountainParser& scanner, std::string_view row, const CellMapOptions& options);
