// TEditorCore: finding text and showing the hit.
#include <algorithm>

#include "editor/core/CellMap.h"
#include "editor/core/DocumentSearch.h"
#include "editor/core/TEditorCore.h"

bool TEditorCore::Search(std::string_view pattern, TSearchOptions options)
{
    if (pattern.empty() || store_.GetCount() == 0)
        return false;

    // Forward from the end of the selection or hit, backward from its start;
    // from the caret when there is none.
    int fromRow = row_;
    int fromIndex = 0;
    const bool down = HasSearchOption(options, soDown);
    if (selectionState_ >= 2) {
        fromRow = down ? selChars_.EndRow : selChars_.StartRow;
        fromIndex = down ? selChars_.EndCol : selChars_.StartCol;
    } else if (row_ < store_.GetCount()) {
        fromIndex = CharStartFromColumn(BuildMap(row_), store_.RowLength(row_), col_);
    }
    const std::optional<SearchHit> hit = SearchDocument(store_, pattern, options, fromRow, fromIndex);
    if (!hit)
        return false;

    CaretSequence sequence(*this);
    ClearSelection();
    hitLength_ = hit->Length;
    // The selection is made from the hit's bytes, not from caret columns:
    // the caret stops at column 1000, a hit may lie beyond it, and the next
    // search starts from the selection.
    const auto [startRow, startIndex] = RowIndexOf(hit->Row, hit->CharIndex);
    const auto [endRow, endIndex] = RowIndexOf(hit->Row, hit->CharIndex + hit->Length);
    const CellMapOptions cellOptions = MapOptions();
    auto column = [&](int row, int index) {
        return ColumnFromCharIndex(RowView(row), static_cast<std::size_t>(index), cellOptions);
    };
    TEditorSelectionRange cells{startRow, column(startRow, startIndex), endRow, column(endRow, endIndex)};
    if (boxMode_ && cells.StartCol > cells.EndCol)
        std::swap(cells.StartCol, cells.EndCol);
    const TEditorSelectionRange chars{startRow, startIndex, endRow, endIndex};
    if (hitStyle_ == hsCaret) {
        // The selection covers the hit while the caret, made as wide as the
        // hit, stays at its start.
        SetCaretByIndex(hit->Row, hit->CharIndex);
        anchorRow_ = endRow;
        anchorCol_ = cells.EndCol;
        ShowSelection(cells, chars);
        caretOverHit_ = true;
        caretDirty_ = true;
        RebuildCaret();
    } else {
        SetCaretByIndex(hit->Row, hit->CharIndex + hit->Length);
        anchorRow_ = startRow;
        anchorCol_ = cells.StartCol;
        ShowSelection(cells, chars);
        if (hitStyle_ == hsDraw)
            selectionState_ = 3;
    }
    return true;
}

// --- marks -----------------------------------------------------------------

void TEditorCore::PutMark(int row, int mark)
{
    if (mark < 0 || mark > 15 || row < 0 || row >= store_.GetCount())
        return;
    const uint16_t bit = static_cast<uint16_t>(1u << mark);
    if (mark < 10) {
        const int count = store_.GetCount();
        for (int r = 0; r < count; ++r) {
            if (store_.GetRowMarks(r) & bit) {
                if (r == row)
                    return;
                SetRowMarks(r, static_cast<uint16_t>(store_.GetRowMarks(r) & ~bit));
                break;
            }
        }
    }
    SetRowMarks(row, static_cast<uint16_t>(GetRowMarks(row) | bit));
}

void TEditorCore::DeleteMark(int row, int mark)
{
    if (mark < 0 || mark > 15)
        return;
    SetRowMarks(row, static_cast<uint16_t>(GetRowMarks(row) & ~(1u << mark)));
}

void TEditorCore::GotoMark(int mark)
{
    if (mark < 0 || mark > 15)
        return;
    const uint16_t bit = static_cast<uint16_t>(1u << mark);
    // Marks 0..9 stand on one row at most, so the used set is exact for them.
    if (mark < 10 && !(store_.UsedMarks() & bit))
        return;
    const int count = store_.GetCount();
    for (int r = 0; r < count; ++r) {
        if (!(store_.GetRowMarks(r) & bit))
            continue;
        CaretSequence sequence(*this);
        if (r < topRow_ || r >= topRow_ + VisibleRows())
            SetTopRow(r - VisibleRows() / 2);
        ClearSelection();
        SetRow(r);
        return;
    }
}
