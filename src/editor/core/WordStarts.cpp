#include "editor/core/WordStarts.h"

#include "editor/core/ShiftJis.h"
#include "editor/core/TFountainParser.h"

std::vector<int> WordStartColumns(TFountainParser& scanner, std::string_view row, const CellMapOptions& options)
{
    std::vector<int> columns;
    scanner.SetText(row, TRowAttributeData{});
    // Token starts come in order: walk the row once, column by column.
    std::size_t pos = 0;
    int col = 0;
    for (uint8_t kind = scanner.NextToken(); kind != tkEnd; kind = scanner.NextToken()) {
        if (kind == tkSymbol)
            continue;
        const std::size_t start = static_cast<std::size_t>(scanner.TokenStart());
        while (pos < start && pos < row.size()) {
            col += row[pos] == '\t' ? TabWidthAt(col, options) : CharLength(row, pos);
            pos = NextCharStart(row, pos);
        }
        columns.push_back(col);
    }
    return columns;
}
