#include "editor/core/CellMap.h"

#include <algorithm>

#include "editor/core/ShiftJis.h"

namespace {

constexpr int kUnwrappedLimit = 1000;

struct Layout {
    int tab;
    int wrap;   // 0 with wrap off
};

Layout LayoutOf(const CellMapOptions& options)
{
    return {std::max(1, options.TabSpaceCount), options.WordWrap ? std::max(1, options.WrapByte) : 0};
}

int TabWidth(int column, Layout layout)
{
    int width = layout.tab - column % layout.tab;
    if (layout.wrap > 0)
        width = std::min(width, layout.wrap - column % layout.wrap);
    return width;
}

// Cells taken by the character of `length` bytes starting at row[pos].
int CellsOf(std::string_view row, std::size_t pos, int length, int column, Layout layout)
{
    if (length == 2)
        return 2;
    return row[pos] == '\t' ? TabWidth(column, layout) : 1;
}

} // namespace

int CellMapLimit(const CellMapOptions& options)
{
    Layout layout = LayoutOf(options);
    return layout.wrap > 0 ? layout.wrap + 3 : kUnwrappedLimit;
}

int TabWidthAt(int column, const CellMapOptions& options)
{
    return TabWidth(std::max(0, column), LayoutOf(options));
}

std::size_t BuildCellMap(std::string_view row, const CellMapOptions& options, std::string& map)
{
    const Layout layout = LayoutOf(options);
    const std::size_t limit = static_cast<std::size_t>(CellMapLimit(options));
    // Bound on the map's length: every byte takes at most max(tab, 2) cells,
    // and the last character added may overshoot the limit by that much.
    const std::size_t widest = static_cast<std::size_t>(std::max(layout.tab, 2));
    map.clear();
    map.reserve(std::min(limit - 1 + widest, row.size() * widest));

    std::size_t pos = 0;
    while (pos < row.size() && map.size() < limit) {
        const unsigned char b = static_cast<unsigned char>(row[pos]);
        const int length = CharLength(row, pos);
        if (length == 2) {
            map.push_back(CellKind::Lead);
            map.push_back(CellKind::Trail);
        } else if (b == '\t') {
            const int width = TabWidth(static_cast<int>(map.size()), layout);
            map.push_back(CellKind::Delimiter);
            map.append(static_cast<std::size_t>(width - 1), CellKind::TabFill);
        } else if (IsDelimiter(b) || IsLeadByte(b)) {
            map.push_back(CellKind::Delimiter);
        } else {
            map.push_back(CellKind::Word);
        }
        pos += static_cast<std::size_t>(length);
    }
    return pos;
}

std::string BuildCellMap(std::string_view row, const CellMapOptions& options)
{
    std::string map;
    BuildCellMap(row, options, map);
    return map;
}

int CharIndexFromColumn(std::string_view map, std::size_t rowLength, int column)
{
    if (column <= 0)
        return 0;
    const std::size_t col = static_cast<std::size_t>(column);
    const std::size_t inMap = std::min(col, map.size());
    std::size_t index = inMap - static_cast<std::size_t>(std::count(map.begin(), map.begin() + inMap, CellKind::TabFill));
    index += col - inMap;
    return static_cast<int>(std::min(index, rowLength));
}

int CharStartFromColumn(std::string_view map, std::size_t rowLength, int column)
{
    int index = CharIndexFromColumn(map, rowLength, column);
    if (column > 0 && static_cast<std::size_t>(column) < map.size() && index > 0) {
        // The cells before a '3' or '5' already count its character's first byte.
        const char kind = map[static_cast<std::size_t>(column)];
        if (kind == CellKind::TabFill || kind == CellKind::Trail)
            --index;
    }
    return index;
}

int ColumnFromCharIndex(std::string_view row, std::size_t charIndex, const CellMapOptions& options, int limit)
{
    const Layout layout = LayoutOf(options);
    const std::size_t end = std::min(charIndex, row.size());
    int column = 0;
    std::size_t pos = 0;
    while (pos < end && column < limit) {
        const int length = CharLength(row, pos);
        if (pos + static_cast<std::size_t>(length) > end)
            return std::min(column + 1, limit);   // charIndex is the trail byte: the '5' cell
        column += CellsOf(row, pos, length, column, layout);
        pos += static_cast<std::size_t>(length);
    }
    return std::min(column, limit);
}

int DisplayWidthUpTo(std::string_view row, const CellMapOptions& options, int limit)
{
    return ColumnFromCharIndex(row, row.size(), options, limit);
}

int DisplayWidth(std::string_view row, const CellMapOptions& options)
{
    return ColumnFromCharIndex(row, row.size(), options);
}
