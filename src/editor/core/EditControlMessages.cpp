#include "editor/core/EditControlMessages.h"

#include <algorithm>
#include <climits>

#include "editor/core/TEditorCore.h"
#include "editor/core/TEditorViewServices.h"

EditControlMessages::EditControlMessages(TEditorCore& editor) : ed_(editor)
{
}

// --- offsets -----------------------------------------------------------------

EditControlMessages::RowStart EditControlMessages::Walk(RowStart from, int stopRow, int stopOffset) const
{
    const TEditorScreenStrings& store = ed_.Store();
    const int count = store.GetCount();
    RowStart at = from;
    for (; at.Row < count && at.Row < stopRow; ++at.Row) {
        const uint8_t attribute = store.GetRowAttribute(at.Row);
        int after = 0;
        if (attribute == raLineBreak)
            after = 2;
        else if (attribute == raEndOfText && at.Row == count - 1)
            after = 1;
        const int next = at.Offset + static_cast<int>(store.RowLength(at.Row)) + after;
        if (stopOffset < next)
            break;
        at.Offset = next;
    }
    return at;
}

int EditControlMessages::RowOffset(int row) const { return Walk({}, row, INT_MAX).Offset; }

EditControlMessages::TextPoint EditControlMessages::PointIn(RowStart at, int offset) const
{
    const TEditorScreenStrings& store = ed_.Store();
    const int count = store.GetCount();
    if (at.Row < count)
        return {at.Row, std::clamp(offset - at.Offset, 0, RowLength(at.Row))};
    // Past the end: the row after a final line break, or the last row's end.
    if (count > 0 && store.GetRowAttribute(count - 1) != raLineBreak)
        return {count - 1, RowLength(count - 1)};
    return {count, 0};
}

EditControlMessages::TextPoint EditControlMessages::PointAt(int offset) const
{
    return PointIn(Walk({}, INT_MAX, offset), offset);
}

int EditControlMessages::RowLength(int row) const
{
    const TEditorScreenStrings& store = ed_.Store();
    return row >= 0 && row < store.GetCount() ? static_cast<int>(store.RowLength(row)) : 0;
}

CellMapOptions EditControlMessages::MapOptions() const
{
    const TEditorScreenStrings& store = ed_.Store();
    return CellMapOptions{store.TabSpaceCount(), store.WordWrap(), store.WrapOption().WrapByte()};
}

int EditControlMessages::ColumnOf(TextPoint point) const
{
    if (point.Row >= ed_.RowCount())
        return 0;
    return ColumnFromCharIndex(ed_.Store().RowView(point.Row), static_cast<std::size_t>(point.Index), MapOptions());
}

// --- the whole text ----------------------------------------------------------

std::string EditControlMessages::GetText(int bufferSize) const
{
    if (bufferSize <= 1)
        return {};
    std::string text = ed_.Lines().GetTextStr();
    if (text.size() > static_cast<std::size_t>(bufferSize - 1))
        text.resize(static_cast<std::size_t>(bufferSize - 1));
    return text;
}

int EditControlMessages::GetTextLength() const { return Walk({}, INT_MAX, INT_MAX).Offset; }

void EditControlMessages::SetText(std::string_view text)
{
    if (!ed_.ReadOnly())
        ed_.Lines().SetTextStr(text);
}

// --- clipboard and selection -------------------------------------------------

void EditControlMessages::Cut()
{
    if (ed_.Selected() && !ed_.ReadOnly())
        ed_.CutToClipboard();
    else
        ed_.EmptyClipboard();
}

void EditControlMessages::Copy()
{
    if (ed_.Selected())
        ed_.CopyToClipboard();
    else
        ed_.EmptyClipboard();
}

void EditControlMessages::Paste()
{
    if (!ed_.ReadOnly())
        ed_.PasteFromClipboard();
}

void EditControlMessages::Clear()
{
    if (!ed_.ReadOnly() && ed_.Selected())
        ed_.SetSelText("");
}

void EditControlMessages::ReplaceSelection(std::string_view text)
{
    if (!ed_.ReadOnly())
        ed_.SetSelText(text);
}

EditControlMessages::Selection EditControlMessages::GetSelection() const
{
    Selection s;
    s.Start = ed_.SelStart();
    s.End = s.Start + ed_.SelLength();
    if (s.Start < 0x10000 && s.End < 0x10000)
        s.Packed = static_cast<uint32_t>(s.Start) | (static_cast<uint32_t>(s.End) << 16);
    else
        s.Packed = 0xFFFFFFFFu;
    return s;
}

void EditControlMessages::SetSelection(int start, int end)
{
    if (start == 0 && end == -1) {
        ed_.SelectAll();
        return;
    }
    if (start == -1) {
        ed_.ClearSelection();
        return;
    }
    if (end < 0)
        end = INT_MAX;
    const int low = std::min(start, end);
    const int high = std::max(start, end);
    // The walk to the far end goes on from the near end's row.
    const RowStart nearRow = Walk({}, INT_MAX, low);
    const TextPoint from = PointIn(nearRow, low);
    const TextPoint to = PointIn(Walk(nearRow, INT_MAX, high), high);
    const int fromCol = ColumnOf(from);
    const int toCol = ColumnOf(to);
    if (from.Row == to.Row && fromCol == toCol) {
        ed_.ClearSelection();
        ed_.SetCaretByIndex(from.Row, from.Index);
        return;
    }
    ed_.Select(from.Row, fromCol, to.Row, toCol);
}

// --- rows --------------------------------------------------------------------

int EditControlMessages::LineCount() const { return ed_.RowCount(); }

int EditControlMessages::LineIndex(int row) const
{
    if (row == -1)
        row = ed_.Row();
    if (row < 0 || row >= ed_.RowCount())
        return -1;
    return RowOffset(row);
}

int EditControlMessages::LineLength(int offset) const
{
    if (offset != -1)
        return RowLength(PointAt(offset).Row);
    if (!ed_.Selected())
        return RowLength(ed_.Row());
    const TEditorSelectionRange& s = ed_.SelChars();
    return std::max(0, RowLength(s.EndRow) + s.StartCol - s.EndCol - 1);
}

std::string EditControlMessages::GetLine(int row, int max) const
{
    if (row < 0 || row >= ed_.RowCount() || max <= 0)
        return {};
    const std::string_view text = ed_.Store().RowView(row);
    return std::string(text.substr(0, static_cast<std::size_t>(max)));
}

int EditControlMessages::LineFromChar(int offset) const
{
    if (offset == -1)
        return ed_.Selected() ? ed_.SelChars().StartRow : ed_.Row();
    return PointAt(offset).Row;
}

int EditControlMessages::FirstVisibleLine() const { return ed_.TopRow(); }

// --- geometry ----------------------------------------------------------------

int EditControlMessages::CharFromPosition(int x, int y) const
{
    if (x < 0 || y < 0 || x >= ed_.ClientWidth() || y >= ed_.ClientHeight())
        return -1;
    const auto [row, col] = ed_.CellAt(x, y);
    int index = 0;
    if (row < ed_.RowCount()) {
        const std::string_view text = ed_.Store().RowView(row);
        const std::string map = BuildCellMap(text, MapOptions());
        index = CharStartFromColumn(map, text.size(), col);
    }
    return RowOffset(row) + index;
}

EditControlMessages::Position EditControlMessages::PositionFromChar(int offset) const
{
    const TextPoint point = PointAt(offset);
    Position p;
    p.X = ed_.TextAreaLeft() + (ColumnOf(point) - ed_.TopCol()) * ed_.ColWidth();
    p.Y = ed_.TextAreaTop() + (point.Row - ed_.TopRow()) * ed_.RowHeight();
    const auto low = static_cast<uint16_t>(static_cast<int16_t>(p.X));
    const auto high = static_cast<uint16_t>(static_cast<int16_t>(p.Y));
    p.Packed = static_cast<uint32_t>(low) | (static_cast<uint32_t>(high) << 16);
    return p;
}

void EditControlMessages::ScrollCaret()
{
    const int row = ed_.Row();
    const int rows = ed_.VisibleRows();
    if (row < ed_.TopRow() || row >= ed_.TopRow() + rows)
        ed_.SetTopRow(row - rows / 3);
    const int col = ed_.Col();
    const int cols = ed_.VisibleCols();
    if (col < ed_.TopCol() || col >= ed_.TopCol() + cols)
        ed_.SetTopCol(std::max(0, col - cols / 3));
}

// --- state -------------------------------------------------------------------

bool EditControlMessages::GetModify() const { return ed_.Modified(); }

void EditControlMessages::SetModify(bool modified)
{
    if (!ed_.ReadOnly())
        ed_.SetModified(modified);
}

bool EditControlMessages::CanUndo() const { return !ed_.ReadOnly() && ed_.Store().UndoObj().CanUndo(); }

bool EditControlMessages::Undo()
{
    if (!CanUndo())
        return false;
    ed_.Undo();
    return true;
}

void EditControlMessages::EmptyUndoBuffer()
{
    if (!ed_.ReadOnly())
        ed_.Store().UndoObj().Clear();
}

void EditControlMessages::SetReadOnly(bool readOnly) { ed_.SetReadOnly(readOnly); }
