#pragma once
#include "editor/core/TEditorScreenStrings.h"

// Where byte `offset` of logical line `line` stands on screen: the row
// offset from the line's first row and the byte column in that row. With
// word wrap off that is (offset, 0). An offset at a wrap point stays at the
// end of the upper row; an offset past the line's end stays on its last row.
struct RowColOffset {
    int column = 0;
    int rowOffset = 0;
};
RowColOffset OffsetToRowCol(const TEditorScreenStrings& store, int line, int offset);
