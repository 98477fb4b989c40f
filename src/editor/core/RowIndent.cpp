#include "editor/core/RowIndent.h"

#include "editor/core/ShiftJis.h"

namespace {

// Length of the indent character at pos, 0 when the byte there ends the run.
std::size_t IndentCharLength(std::string_view row, std::size_t pos)
{
    const unsigned char b = static_cast<unsigned char>(row[pos]);
    if (b == ' ' || b == '\t')
        return 1;
    if (b == 0x81 && pos + 1 < row.size() && static_cast<unsigned char>(row[pos + 1]) == 0x40)
        return 2;
    return 0;
}

// Width in cells of the indent character at pos standing at column col.
int IndentCharWidth(std::string_view row, std::size_t pos, int col, const CellMapOptions& options)
{
    if (row[pos] == ' ')
        return 1;
    if (row[pos] == '\t')
        return TabWidthAt(col, options);
    return 2;
}

}  // namespace

std::size_t IndentLength(std::string_view row)
{
    std::size_t pos = 0;
    while (pos < row.size()) {
        const std::size_t n = IndentCharLength(row, pos);
        if (n == 0)
            break;
        pos += n;
    }
    return pos;
}

int RowIndent(std::string_view row, const CellMapOptions& options)
{
    if (row.empty())
        return -1;
    int col = 0;
    for (std::size_t pos = 0; pos < row.size();) {
        const std::size_t n = IndentCharLength(row, pos);
        if (n == 0)
            break;
        col += IndentCharWidth(row, pos, col, options);
        pos += n;
    }
    return col;
}

std::string IndentText(int width, bool useTabs, int tabSpaceCount)
{
    if (width <= 0)
        return {};
    if (!useTabs || tabSpaceCount < 1)
        return std::string(static_cast<std::size_t>(width), ' ');
    std::string s(static_cast<std::size_t>(width / tabSpaceCount), '\t');
    s.append(static_cast<std::size_t>(width % tabSpaceCount), ' ');
    return s;
}

std::string CutIndent(std::string_view indent, int width, const CellMapOptions& options)
{
    std::string out;
    int col = 0;
    for (std::size_t pos = 0; pos < indent.size() && col < width;) {
        const std::size_t n = IndentCharLength(indent, pos);
        if (n == 0)
            break;
        const int w = IndentCharWidth(indent, pos, col, options);
        if (col + w <= width)
            out.append(indent.substr(pos, n));
        else
            out.append(static_cast<std::size_t>(width - col), ' ');
        col += w;
        pos += n;
    }
    if (col < width)
        out.append(static_cast<std::size_t>(width - col), ' ');
    return out;
}
