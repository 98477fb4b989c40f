// TEditorCore: the left mouse button, selection by mouse, dragging a
// selection to move or copy it, and the cursor per area.
#include <algorithm>
#include <cstdlib>

#include "editor/core/TEditorCore.h"
#include "editor/core/WordAtIndex.h"

std::pair<int, int> TEditorCore::PointerCell(int x, int y, bool plain) const
{
    const int colWidth = std::max(1, ColWidth());
    const int row = topRow_ + (y - TextAreaTop()) / std::max(1, RowHeight());
    int col;
    if (plain) {
        col = topCol_ + (x - TextAreaLeft()) / colWidth;
    } else {
        if (x < TextAreaLeft())
            x -= colWidth - 1;
        col = topCol_ + (x + colWidth / 2 - TextAreaLeft() - 1) / colWidth;
    }
    return {row, std::max(0, col)};
}

std::pair<int, int> TEditorCore::CellAt(int x, int y) const
{
    auto [row, col] = PointerCell(x, y, false);
    row = std::clamp(row, 0, store_.GetCount());
    const std::string map = BuildMap(row);
    while (col > 0 && col < static_cast<int>(map.size())
           && (map[col] == CellKind::Trail || (map[col] == CellKind::TabFill && !caret_.InTab())))
        --col;
    return {row, col};
}

bool TEditorCore::InSelection(int row, int col) const
{
    if (selectionState_ < 2)
        return false;
    const TEditorSelectionRange& d = selDisplay_;
    if (row < d.StartRow || row > d.EndRow)
        return false;
    if (boxMode_)
        return col >= d.StartCol && col < d.EndCol;
    if (row == d.StartRow && col < d.StartCol)
        return false;
    return !(row == d.EndRow && col >= d.EndCol);
}

bool TEditorCore::SelectionDraggable() const
{
    return HasSelectedText() && caret_.SelMove() && !readOnly_ && !boxMode_
        && caret_.SelDragMode() == dmAutomatic;
}

void TEditorCore::MouseDown(int x, int y, TShiftState shift)
{
    mouseDown_ = true;
    ignoreUntilUp_ = false;
    rowSelecting_ = false;
    dragState_ = 0;
    pressX_ = x;
    pressY_ = y;
    CaretSequence sequence(*this);

    if (shift & ssShift) {
        if (selectionState_ == 0 || selectionState_ == 3) {
            ClearSelection();
            Anchor();
        }
        const auto [row, col] = CellAt(x, y);
        SetRowCol(row, col);
        ExtendSelection();
        selectionShown_ = true;
        return;
    }

    if (x < TextAreaLeft() && y >= TextAreaTop() && caret_.RowSelect()) {
        ClearSelection();
        const int row = std::clamp(PointerCell(x, y, true).first, 0, std::max(0, store_.GetCount() - 1));
        rowSelecting_ = true;
        rowSelectFrom_ = row;
        SelectRows(row);
        return;
    }

    if (x >= TextAreaLeft() && y >= TextAreaTop() && SelectionDraggable()) {
        const auto [prow, pcol] = PointerCell(x, y, true);
        if (InSelection(prow, pcol)) {
            const auto [row, col] = CellAt(x, y);
            SetRowCol(row, col);
            dragState_ = 1;
            return;
        }
    }

    ClearSelection();
    const auto [row, col] = CellAt(x, y);
    SetRowCol(row, col);
    Anchor();
    selectionShown_ = false;
}

void TEditorCore::SelectRows(int row)
{
    // From the first row's start to the start of the row after the last
    // one (or the end of the document).
    const int count = store_.GetCount();
    const int from = std::min(row, rowSelectFrom_);
    const int to = std::max(row, rowSelectFrom_);
    auto rowAfter = [&](int r) -> std::pair<int, int> {
        if (r + 1 < count || (r + 1 == count && RowAttribute(r) == raLineBreak))
            return {r + 1, 0};
        return {r, RowWidth(r)};
    };
    const std::pair<int, int> start{from, 0};
    const std::pair<int, int> end = rowAfter(to);
    const std::pair<int, int> anchor = row >= rowSelectFrom_ ? start : end;
    const std::pair<int, int> caret = row >= rowSelectFrom_ ? end : start;
    if (selectionState_ < 2 || anchorRow_ != anchor.first || anchorCol_ != anchor.second) {
        ClearSelection();
        anchorRow_ = anchor.first;
        anchorCol_ = anchor.second;
        selectionState_ = 1;
    }
    SetRowCol(caret.first, caret.second);
    ExtendSelection();
}

void TEditorCore::MouseMove(int x, int y, bool buttonDown)
{
    if (!buttonDown || !mouseDown_ || ignoreUntilUp_)
        return;
    const int threshold = ColWidth() / 2;
    const bool moved = std::abs(x - pressX_) >= threshold || std::abs(y - pressY_) >= threshold;
    CaretSequence sequence(*this);

    if (dragState_ != 0) {
        if (dragState_ == 1 && !moved)
            return;
        dragState_ = 2;
        // The caret shows the drop cell; the selection stays as it is.
        auto [row, col] = PointerCell(x, y, true);
        row = std::clamp(row, 0, store_.GetCount());
        SetRowCol(row, col);
        return;
    }

    if (rowSelecting_) {
        const int row = std::clamp(PointerCell(x, y, true).first, 0, std::max(0, store_.GetCount() - 1));
        SelectRows(row);
        return;
    }

    auto [row, col] = CellAt(x, y);
    if (y < TextAreaTop())
        row = std::max(0, PointerCell(x, y, false).first - 1);
    SetRowCol(row, col);
    if (!selectionShown_ && moved)
        selectionShown_ = true;
    if (selectionShown_ && selectionState_ != 0)
        ExtendSelection();
}

void TEditorCore::MouseUp(int x, int y, TShiftState shift)
{
    const bool wasDown = mouseDown_;
    mouseDown_ = false;
    rowSelecting_ = false;
    if (!wasDown || ignoreUntilUp_) {
        ignoreUntilUp_ = false;
        dragState_ = 0;
        return;
    }
    const int state = dragState_;
    dragState_ = 0;
    if (state == 0)
        return;

    CaretSequence sequence(*this);
    if (state == 1) {
        // Pressed inside the selection and released without dragging: a
        // plain click there.
        ClearSelection();
        Anchor();
        return;
    }
    const bool outside = x < 0 || y < 0 || x >= view_.ClientWidth() || y >= view_.ClientHeight();
    const auto [prow, pcol] = PointerCell(x, y, true);
    if (outside || InSelection(prow, pcol) || readOnly_) {
        ClearSelection();
        return;
    }
    DropSelection((shift & ssCtrl) != 0);
}

void TEditorCore::DropSelection(bool copy)
{
    // Positions as (logical line, byte index in the line): they survive the
    // removal of the selection and any re-wrap.
    auto indexAt = [this](int row, int col) {
        return row < store_.GetCount() ? CharStartFromColumn(BuildMap(row), store_.RowLength(row), col) : 0;
    };
    auto linePos = [&](int row, int index) {
        return std::pair<int, int>{RowToLine(row), index + (row < store_.GetCount() ? OffsetInLine(row) : 0)};
    };
    const std::string text = SelText();
    std::pair<int, int> drop = linePos(row_, indexAt(row_, col_));
    const std::pair<int, int> start = linePos(selChars_.StartRow, selChars_.StartCol);
    const std::pair<int, int> end = linePos(selChars_.EndRow, selChars_.EndCol);
    // Dropped beyond the row end: the gap is filled with spaces.
    const int padding = row_ < store_.GetCount() ? std::max(0, col_ - RowWidth(row_)) : col_;

    if (copy) {
        ClearSelection();
    } else {
        ReplaceSelection({});
        if (drop >= end) {
            if (drop.first == end.first)
                drop = {start.first, start.second + (drop.second - end.second)};
            else
                drop.first -= end.first - start.first;
        }
    }
    SetCaretByIndex(LineToRow(drop.first), drop.second);
    if (padding > 0)
        SetCol(col_ + padding);
    const std::pair<int, int> from = linePos(row_, indexAt(row_, col_) + std::max(0, col_ - RowWidth(row_)));
    InsertText(text);

    // The dropped text becomes the selection.
    const int endRow = row_;
    const int endCol = col_;
    SetCaretByIndex(LineToRow(from.first), from.second);
    Anchor();
    SetRowCol(endRow, endCol);
    ExtendSelection();
}

bool TEditorCore::DoubleClick(int x, int y)
{
    if (MouseCaptured() || x < TextAreaLeft() || y < TextAreaTop())
        return false;
    const auto [row, col] = PointerCell(x, y, true);
    if (row >= store_.GetCount())
        return false;
    const std::string map = BuildMap(row);
    if (col >= static_cast<int>(map.size()))
        return false;
    // The word is looked for in the whole logical line, so that one cut by
    // the wrap is selected on both its rows.
    const int first = store_.LineStartRow(row);
    const int last = store_.LineEndRow(row);
    const std::string joined = first == last ? std::string() : store_.RowsText(first, last - first + 1).Text;
    const std::string_view line = first == last ? RowView(row) : std::string_view(joined);
    const std::size_t index =
        static_cast<std::size_t>(OffsetInLine(row) + CharStartFromColumn(map, store_.RowLength(row), col));
    const std::optional<WordRange> word = WordAtIndex(line, index);
    if (!word)
        return false;

    CaretSequence sequence(*this);
    ClearSelection();
    const auto [startRow, startIndex] = RowIndexOf(first, static_cast<int>(word->Begin));
    const auto [endRow, endIndex] = RowIndexOf(first, static_cast<int>(word->End));
    const CellMapOptions options = MapOptions();
    auto column = [&](int r, int i) { return ColumnFromCharIndex(RowView(r), static_cast<std::size_t>(i), options); };
    const TEditorSelectionRange cells{startRow, column(startRow, startIndex), endRow, column(endRow, endIndex)};
    SetCaretByIndex(first, static_cast<int>(word->End));
    // Past the caret's last column the selection still covers the word.
    anchorRow_ = startRow;
    anchorCol_ = cells.StartCol;
    ShowSelection(cells, {startRow, startIndex, endRow, endIndex});
    return true;
}

bool TEditorCore::CancelDrag()
{
    if (dragState_ == 0)
        return false;
    dragState_ = 0;
    if (mouseDown_)
        ignoreUntilUp_ = true;
    return true;
}

TEditorCursor TEditorCore::CursorAt(int x, int y, TShiftState shift) const
{
    if (dragState_ == 2)
        return (shift & ssCtrl) ? TEditorCursor::DragSelCopy : TEditorCursor::DragSel;
    if (!caret_.AutoCursor())
        return TEditorCursor::Default;
    if (x < TextAreaLeft())
        return TEditorCursor::LeftMargin;
    if (y < TextAreaTop())
        return TEditorCursor::TopMargin;
    const auto [row, col] = PointerCell(x, y, true);
    if (SelectionDraggable() && InSelection(row, col))
        return TEditorCursor::InSel;
    return TEditorCursor::Default;
}
