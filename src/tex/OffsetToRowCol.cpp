#include "tex/OffsetToRowCol.h"

#include "editor/core/TRowAttributeData.h"

RowColOffset OffsetToRowCol(const TEditorScreenStrings& store, int line, int offset)
{
    RowColOffset result{offset, 0};
    const int rows = store.GetCount();
    int row = store.LineToRow(line);
    while (row < rows && store.GetRowAttribute(row) == raWrapped && result.column > static_cast<int>(store.RowLength(row))) {
        result.column -= static_cast<int>(store.RowLength(row));
        ++result.rowOffset;
        ++row;
    }
    return result;
}
