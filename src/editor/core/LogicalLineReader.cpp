#include "editor/core/LogicalLineReader.h"

#include "editor/core/TEditorScreenStrings.h"

int LogicalLineReader::Count() const { return store_.LineCount(); }

bool LogicalLineReader::Locate(int line)
{
    const int rows = store_.GetCount();
    if (line < 0 || line >= Count() || rows == 0)
        return false;
    int first;
    if (line_ >= 0 && line == line_ + 1 && lastRow_ + 1 < rows) {
        first = lastRow_ + 1;
    } else if (line_ >= 0 && line == line_ - 1 && firstRow_ > 0) {
        // The rows of the line before end just above this one's first.
        first = firstRow_ - 1;
        while (first > 0 && store_.GetRowAttribute(first - 1) == raWrapped)
            --first;
    } else if (line == line_ && firstRow_ < rows) {
        first = firstRow_;
    } else {
        first = store_.LineToRow(line);
    }
    if (first >= rows)
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
