#pragma once
#include <cstddef>
#include <string_view>

#include "editor/core/CellMap.h"

// The bytes of a row that lie in a box selection's columns [left, right):
// a character belongs to the box when its first cell does, so one cut by the
// left edge is left out and one cut by the right edge is taken whole.
struct BoxBytes {
    std::size_t Begin = 0;  // first byte in the box
    std::size_t End = 0;    // byte after the box
    int BeginCol = 0;       // display column of Begin (left, or the row end when shorter)
};

BoxBytes BoxBytesOfRow(std::string_view row, int left, int right, const CellMapOptions& options);
