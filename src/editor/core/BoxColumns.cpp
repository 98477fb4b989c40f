#include "editor/core/BoxColumns.h"

#include "editor/core/ShiftJis.h"

BoxBytes BoxBytesOfRow(std::string_view row, int left, int right, const CellMapOptions& options)
{
    BoxBytes box;
    std::size_t pos = 0;
    int col = 0;
    // Characters starting left of the box, the one cut by its edge included.
    while (pos < row.size() && col < left) {
        col += row[pos] == '\t' ? TabWidthAt(col, options) : CharLength(row, pos);
        pos = NextCharStart(row, pos);
    }
    box.Begin = pos;
    box.BeginCol = col;
    while (pos < row.size() && col < right) {
        col += row[pos] == '\t' ? TabWidthAt(col, options) : CharLength(row, pos);
        pos = NextCharStart(row, pos);
    }
    box.End = pos;
    return box;
}
