#include "editor/core/TEditorScreenStrings.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "editor/core/EListError.h"
#include "editor/core/LargeAllocation.h"
#include "editor/core/TextLines.h"

TEditorScreenStrings::TEditorScreenStrings() : undo_(std::make_unique<TEditorUndoObj>(*this))
{
    OnChange = [this] { NotifyEditors(); };
    wrapOption_.OnChange = [this] {
        if (wordWrap_)
            WrapChanged();
    };
}

TEditorScreenStrings::~TEditorScreenStrings()
{
    OnChanging = nullptr;
    OnChange = nullptr;
}

// --- editors ---------------------------------------------------------------

void TEditorScreenStrings::AttachEditor(AttachedEditor* editor)
{
    if (editor && std::find(editors_.begin(), editors_.end(), editor) == editors_.end())
        editors_.push_back(editor);
}

void TEditorScreenStrings::DetachEditor(AttachedEditor* editor)
{
    editors_.erase(std::remove(editors_.begin(), editors_.end(), editor), editors_.end());
}

AttachedEditor* TEditorScreenStrings::FocusedEditor() const
{
    for (AttachedEditor* e : editors_)
        if (e->HasFocus())
            return e;
    return editors_.empty() ? nullptr : editors_.front();
}

void TEditorScreenStrings::NotifyEditors()
{
    // A copy: an editor may detach itself while it repaints.
    const std::vector<AttachedEditor*> editors = editors_;
    for (AttachedEditor* e : editors)
        e->ListChanged(pending_);
}

void TEditorScreenStrings::SetUpdateState(bool updating)
{
    TRowAttributeStringList::SetUpdateState(updating);
    if (!updating && ListUpdateCount() == 0) {
        pending_ = TPendingUpdate{};
        const int maxRow = MaxCaretRow();
        const std::vector<AttachedEditor*> editors = editors_;
        for (AttachedEditor* e : editors)
            e->ClampRows(maxRow);
    }
}

void TEditorScreenStrings::RecordPending(int first, int oldRows, int newRows, int reparsed)
{
    if (pending_.Pending) {
        // Several changes in one block: repaint from the first through the end.
        int from = std::min(pending_.FirstRow, first);
        pending_.FirstRow = from;
        pending_.OldRowCount = pending_.NewRowCount = std::max(0, GetCount() - from);
        pending_.ReparsedRowCount += reparsed;
        return;
    }
    pending_ = TPendingUpdate{first, oldRows, newRows, reparsed, true};
}

int TEditorScreenStrings::Reparse(int row)
{
    return parser_ ? parser_->ReparseFrom(row) : 0;
}

void TEditorScreenStrings::ReparseAll()
{
    if (parser_)
        parser_->ReparseAll();
}

void TEditorScreenStrings::MoveMarks(uint16_t marks, int row)
{
    if (!marks)
        return;
    if (row >= 0 && row < GetCount())
        SetRowMarks(row, GetRowMarks(row) | marks);
    else
        ExcludeMarks(marks);
}

// --- rows and lines ----------------------------------------------------------
//
// A logical line ends at every row that is not wrapped, and at the last row.
// The row list counts wrapped rows without a scan, so these are O(log n).

int TEditorScreenStrings::RowToLine(int row) const
{
    if (row <= 0)
        return 0;
    row = std::min(row, GetCount());
    return row - WrappedRowsBefore(row);
}

int TEditorScreenStrings::LineToRow(int line) const
{
    if (line <= 0)
        return 0;
    int end = NthUnwrappedRow(line - 1);
    return std::min(GetCount(), end + 1);
}

int TEditorScreenStrings::LineStartRow(int row) const
{
    if (row <= 0)
        return 0;
    return LineToRow(RowToLine(row));
}

int TEditorScreenStrings::LineEndRow(int row) const
{
    const int count = GetCount();
    if (row < 0)
        return row;
    if (row >= count)
        return count - 1;
    return std::min(count - 1, NthUnwrappedRow(RowToLine(row)));
}

int TEditorScreenStrings::LineCount() const
{
    const int count = GetCount();
    if (count == 0)
        return 0;
    int lines = count - WrappedRowCount();
    if (GetRowAttribute(count - 1) == raWrapped)
        ++lines;
    return lines;
}

int TEditorScreenStrings::MaxCaretRow() const
{
    const int count = GetCount();
    if (count > 0 && GetRowAttribute(count - 1) == raEndOfText)
        return count - 1;
    return count;
}

TRowsText TEditorScreenStrings::RowsText(int index, int count) const
{
    TRowsText result;
    const int rows = GetCount();
    if (index < 0 || index >= rows)
        return result;
    int last = count < 0 ? LineEndRow(index) : index + std::min(count, rows - index) - 1;
    if (last < index)
        return result;
    size_t size = 0;
    for (int r = index; r <= last; ++r)
        size += RowLength(r) + (GetRowAttribute(r) == raLineBreak ? 2 : 0);
    result.Text.reserve(size);
    for (int r = index; r <= last; ++r) {
        result.Text.append(RowView(r));
        if (GetRowAttribute(r) == raLineBreak)
            result.Text.append("\r\n");
    }
    result.LastAttribute = GetRowAttribute(last);
    result.RowCount = last - index + 1;
    return result;
}

std::string TEditorScreenStrings::GetTextStr() const
{
    return RowsText(0, GetCount()).Text;
}

// --- changing the text ------------------------------------------------------------

uint16_t TEditorScreenStrings::DeleteRows(int index, int count)
{
    const int rows = GetCount();
    if (index < 0 || count <= 0 || index >= rows)
        return 0;
    count = std::min(count, rows - index);
    uint16_t marks = 0;
    for (int r = index; r < index + count; ++r)
        marks |= GetRowMarks(r);
    RemoveRows(index, count);
    return marks;
}

void TEditorScreenStrings::PutRows(int first, int oldCount, TEditorStringList& rows)
{
    if (first < 0 || oldCount < 0 || first > GetCount() || oldCount > GetCount() - first)
        throw EListError();
    const int newCount = rows.GetCount();
    std::vector<uint16_t> marks(static_cast<size_t>(newCount), 0);
    if (newCount == oldCount) {
        for (int i = 0; i < newCount; ++i)
            marks[i] = GetRowMarks(first + i);
    } else if (newCount < oldCount) {
        uint16_t removed = DeleteRows(first, oldCount - newCount);
        for (int i = 0; i < newCount; ++i)
            marks[i] = GetRowMarks(first + i);
        if (newCount > 0)
            marks[0] |= removed;
        else
            ExcludeMarks(removed);
    } else {
        const int added = newCount - oldCount;
        std::vector<uint16_t> old(static_cast<size_t>(oldCount));
        for (int k = 0; k < oldCount; ++k)
            old[k] = GetRowMarks(first + k);
        InsertEmptyRows(first + oldCount, added);
        // Rows after the first keep their marks at the end of the new rows.
        for (int k = 1; k < oldCount; ++k)
            marks[added + k] = old[k];
        if (oldCount > 0) {
            // Text typed into a line keeps its mark on the line; lines
            // inserted in front of a mark (caret at column 0) push it down.
            AttachedEditor* editor = FocusedEditor();
            bool atColumnZero = !editor || editor->CaretCol() == 0;
            marks[atColumnZero ? added : 0] |= old[0];
        }
    }
    TakeRows(rows, 0, newCount, first);
    rows.RemoveRows(0, rows.GetCount());
    for (int i = 0; i < newCount; ++i)
        SetRowMarks(first + i, marks[i]);
}

void TEditorScreenStrings::ReplaceRows(int index, int count, std::optional<std::string_view> text)
{
    const int rows = GetCount();
    if (index < 0 || count < 0 || count > rows - index || (count == 0 && !text))
        return;

    // Re-breaking starts at most one row above, or at the line's first row.
    int first = std::max(LineStartRow(index), index - 1);
    // Text appended after a last row without a line break continues that row.
    if (index == rows && rows > 0 && GetRowAttribute(rows - 1) != raLineBreak)
        first = rows - 1;
    const int last = index + count - 1;
    int lastEnd = last >= 0 ? LineEndRow(last) : -1;

    TUpdateBlock block(*this);

    if (first == index && lastEnd == last && !text && count > 0) {
        // Whole lines removed: the record holds them and occupies no rows.
        TRowsText removed = RowsText(index, count);
        TUndoData& record = NewUndoRecord();
        record.Row = index;
        record.Text = std::move(removed.Text);
        record.Attribute = removed.LastAttribute;
        record.RowCount = 0;
        uint16_t marks = DeleteRows(index, count);
        MoveMarks(marks, std::min(index, GetCount() - 1));
        int reparsed = Reparse(index);
        RecordPending(index, count, 0, reparsed);
        return;
    }

    uint8_t attribute;
    if (last < lastEnd) {
        attribute = GetRowAttribute(lastEnd);
    } else if (lastEnd < rows - 1) {
        // Text that ends without a break joins the next line.
        lastEnd = LineEndRow(lastEnd + 1);
        attribute = GetRowAttribute(lastEnd);
    } else {
        attribute = (text && TextLines::EndsWithBreak(*text)) ? raLineBreak : raEndOfText;
    }

    const int oldCount = lastEnd - first + 1;
    TRowsText old = RowsText(first, oldCount);
    TUndoData& record = NewUndoRecord();
    record.Row = first;
    record.Text = std::move(old.Text);
    record.Attribute = old.LastAttribute;

    std::string joined = RowsText(first, index - first).Text;
    if (text)
        joined.append(*text);
    joined.append(RowsText(last + 1, lastEnd - last).Text);

    TEditorStringList fresh;
    if (!text && joined.empty())
        WrapText(std::nullopt, fresh);
    else
        WrapText(std::string_view(joined), fresh);
    const int newCount = fresh.GetCount();
    if (newCount > 0)
        fresh.SetRowAttribute(newCount - 1, attribute);
    record.RowCount = newCount;

    PutRows(first, oldCount, fresh);
    int reparsed = Reparse(first);
    RecordPending(first, oldCount, newCount, reparsed);
}

void TEditorScreenStrings::Clear()
{
    const std::vector<AttachedEditor*> editors = editors_;
    for (AttachedEditor* e : editors)
        e->ClearSelection();
    undo_->Clear();
    RecordPending(0, GetCount(), 0, 0);
    TRowAttributeStringList::Clear();
    pending_ = TPendingUpdate{};
    for (AttachedEditor* e : editors)
        e->StoreCleared();
    usedMarks_ = 0;
}

void TEditorScreenStrings::AfterWholeTextChange()
{
    if (wordWrap_)
        WrapAll();
    ReparseAll();
}

void TEditorScreenStrings::SetPlainText(std::string_view text)
{
    if (text.size() > MaxRowLength)
        throw std::length_error("text too long");
    // One copy of the text; the rows point into it.
    std::shared_ptr<char[]> block = AllocateTextBlock(text.size());
    std::memcpy(block.get(), text.data(), text.size());
    const std::string_view copy(block.get(), text.size());
    SetPlainTextShared(copy, std::move(block));
}

void TEditorScreenStrings::SetPlainTextShared(std::string_view text, std::shared_ptr<char[]> block)
{
    if (GetCount() > 0)
        RemoveRows(0, GetCount());
    if (text.empty())
        return;
    const TextLines::Stats stats = TextLines::Count(text);
    if (stats.Lines > static_cast<size_t>(MaxRowLength))
        throw std::length_error("too many lines");
    InsertEmptyRows(0, static_cast<int>(stats.Lines));
    int i = 0;
    TextLines::ForEach(
        text, [&](std::string_view line) { SetSharedText(i++, line.data(), static_cast<uint32_t>(line.size())); },
        &stats);
    if (i < GetCount())
        RemoveRows(i, GetCount() - i);
    AdoptBlock(std::move(block));
    if (!TextLines::EndsWithBreak(text))
        SetRowAttribute(i - 1, raEndOfText);
}
