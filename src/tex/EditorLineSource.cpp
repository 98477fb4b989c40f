#include "tex/EditorLineSource.h"

#include "editor/core/TRowAttributeData.h"

void EditorLineSource::Locate(int index) const
{
    const int rows = store_.GetCount();
    if (line_ >= 0 && index == line_ + 1) {
        first_ = last_ + 1;
    } else if (line_ >= 0 && index == line_ - 1) {
        last_ = first_ - 1;
        first_ = last_;
        while (first_ > 0 && store_.GetRowAttribute(first_ - 1) == raWrapped)
            --first_;
        line_ = index;
        return;
    } else if (index != line_) {
        first_ = store_.LineToRow(index);
    } else {
        return;
    }
    last_ = first_;
    while (last_ + 1 < rows && store_.GetRowAttribute(last_) == raWrapped)
        ++last_;
    line_ = index;
}

std::string_view EditorLineSource::Line(int index, std::string& scratch) const
{
    if (index < 0 || index >= store_.GetCount())
        return {};
    if (!store_.WordWrap())
        return store_.RowView(index);
    Locate(index);
    if (first_ == last_)
        return store_.RowView(first_);
    scratch.clear();
    for (int r = first_; r <= last_; ++r)
        scratch.append(store_.RowView(r));
    return scratch;
}
