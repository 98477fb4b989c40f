#include "editor/core/LogicalLineReader.h"

#include "editor/core/TEditorScreenStrings.h"

int LogicalLineReader::Count() const { return store_.LineCount(); }

bool LogicalLineReader::Locate(int line)
{
    const int rows = store_.GetCount();
    int first;
    if (line_ >= 0 && line == line_ + 1) {
        // The next line starts on the row after this one's last.
        first = lastRow_ + 1;
    } else if (line_ >= 0 && line == line_ - 1 && line >= 0) {
        // The line before ends just above this one's first row.
        first = firstRow_ - 1;
        while (first > 0 && store_.GetRowAttribute(first - 1) == raWrapped)
            --first;
    } else if (line == line_ && line >= 0) {
        first = firstRow_;
    } else {
        if (line < 0 || line >= Count())
            return false;
        first = store_.LineToRow(line);
    }
    if (first < 0 || first >= rows)
        return false;
    int last = first;
    while (last + 1 < rows && store_.GetRowAttribute(last) == raWrapped)
        ++last;
    line_ = line;
    firstRow_ = first;
    lastRow_ = last;
    return true;
}

std::string_view LogicalLineReader::Line(int line)
{
    if (!Locate(line)) {
        line_ = -1;
        return {};
    }
    if (firstRow_ == lastRow_)
        return store_.RowView(firstRow_);
    joined_.clear();
    for (int row = firstRow_; row <= lastRow_; ++row)
        joined_.append(store_.RowView(row));
    return joined_;
}
