#include "editor/core/TEditorScreenStrings.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "editor/core/EListError.h"
#include "editor/core/LargeAllocation.h"
#include "editor/core/LineBreaker.h"
#include "editor/core/RowTextDiff.h"
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

int TEditorScreenStrings::Reparse(int row, int newRows)
{
    return parser_ ? parser_->ReparseFrom(row, newRows) : 0;
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
            // inserted in front of a mark (caret at column 0 of that row)
            // push it down. A caret at column 0 of a later row (a wrapped
            // line split at a row start) leaves row First's text in place,
            // and its mark with it.
            AttachedEditor* editor = FocusedEditor();
            const bool inFront = !editor || (editor->CaretCol() == 0 && editor->CaretRow() == first);
            marks[inFront ? added : 0] |= old[0];
        }
    }
    TakeRows(rows, 0, newCount, first);
    rows.RemoveRows(0, rows.GetCount());
    for (int i = 0; i < newCount; ++i)
        SetRowMarks(first + i, marks[i]);
}

int TEditorScreenStrings::FirstRowToRebreak(int index) const
{
    // Re-breaking starts at most one row above, or at the line's first row,
    // and further up while a row above starts close enough to the edit that
    // its break looks at the changed bytes (a row's break reads a few cells
    // past WrapByte from its start).
    const int rows = GetCount();
    int lineStart;
    int first;
    size_t distance;  // bytes from the start of row `first` to the change
    if (index >= rows && rows > 0 && GetRowAttribute(rows - 1) != raLineBreak) {
        // Text appended after a last row without a line break continues it.
        first = rows - 1;
        lineStart = LineStartRow(first);
        distance = RowLength(first);
    } else if (index >= rows) {
        return rows;
    } else {
        lineStart = LineStartRow(index);
        first = std::max(lineStart, index - 1);
        distance = first < index ? RowLength(first) : 0;
    }
    if (wordWrap_) {
        const size_t reach = static_cast<size_t>(wrapOption_.WrapByte()) + 8;
        while (first > lineStart && distance + RowLength(first - 1) < reach)
            distance += RowLength(--first);
    }
    return first;
}

void TEditorScreenStrings::ReplaceRows(int index, int count, std::optional<std::string_view> text)
{
    const int rows = GetCount();
    if (index < 0 || count < 0 || count > rows - index || (count == 0 && !text))
        return;

    const int first = FirstRowToRebreak(index);
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
        int reparsed = Reparse(index, 0);
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

    // Rows first..last are replaced whole; the rows after them to lastEnd
    // continue the same line and are re-broken only as far as needed.
    std::string head;
    std::optional<std::string_view> headText = text;
    if (first < index) {
        head = RowsText(first, index - first).Text;
        if (text)
            head.append(*text);
        headText = (!text && head.empty()) ? std::nullopt : std::optional<std::string_view>(head);
    }
    TUndoData& record = NewUndoRecord();
    const TReplacedRows result = PutText(first, last + 1 - first, headText, lastEnd, attribute, record);
    record.Row = first;
    record.RowCount = result.NewCount;
    int reparsed = Reparse(first, result.NewCount);
    RecordPending(first, result.OldCount, result.NewCount, reparsed);
}

bool TEditorScreenStrings::SplicesInPlace(int row, std::string_view text) const
{
    // With wrap off every row is a whole line, and one without a line break
    // in it stays one row.
    return !wordWrap_ && row >= 0 && row < GetCount() && GetRowAttribute(row) != raWrapped &&
           text.find_first_of("\r\n") == std::string_view::npos;
}

void TEditorScreenStrings::ReplaceInRow(int row, std::size_t from, std::size_t count, std::string_view text)
{
    if (row < 0 || row >= GetCount())
        return;
    const std::string_view current = RowView(row);
    from = std::min(from, current.size());
    count = std::min(count, current.size() - from);
    // A last row without a line break that would be left empty goes.
    const bool emptied = count == current.size() && text.empty() && GetRowAttribute(row) == raEndOfText;
    if (!SplicesInPlace(row, text) || emptied) {
        std::string changed(current.substr(0, from));
        changed.append(text);
        changed.append(current.substr(from + count));
        if (GetRowAttribute(row) == raLineBreak)
            changed += "\r\n";
        ReplaceRows(row, 1, std::string_view(changed));
        return;
    }

    TUpdateBlock block(*this);
    const uint8_t attribute = GetRowAttribute(row);
    TUndoData& record = NewUndoRecord();
    record.Row = row;
    record.RowCount = 1;
    record.Attribute = attribute;
    record.Text.assign(current.substr(from, count));
    record.Prefix = from;
    record.Suffix = current.size() - from - count + (attribute == raLineBreak ? 2 : 0);
    SpliceText(row, from, count, text);
    const int reparsed = Reparse(row, 1);
    RecordPending(row, 1, 1, reparsed);
}

bool TEditorScreenStrings::RestoreInPlace(TUndoData& r)
{
    // A record of one whole-line row whose change lies inside the row's
    // text, as ReplaceInRow makes them.
    if (r.RowCount != 1 || r.Attribute == raNone || !SplicesInPlace(r.Row, r.Text) ||
        GetRowAttribute(r.Row) != r.Attribute)
        return false;
    const std::size_t size = RowLength(r.Row);
    const std::size_t brk = r.Attribute == raLineBreak ? 2 : 0;
    if (r.Suffix < brk || r.Prefix > size || r.Suffix - brk > size - r.Prefix)
        return false;
    const std::size_t count = size - r.Prefix - (r.Suffix - brk);
    if (count == size && r.Text.empty() && r.Attribute == raEndOfText)
        return false;  // the row goes
    std::string removed(RowView(r.Row).substr(r.Prefix, count));
    SpliceText(r.Row, r.Prefix, count, r.Text);
    r.Text = std::move(removed);
    return true;
}

TEditorScreenStrings::TReplacedRows TEditorScreenStrings::PutText(int first, int headRows,
                                                                  std::optional<std::string_view> head, int lineEnd,
                                                                  uint8_t endAttribute, TUndoData& record)
{
    TEditorStringList fresh;
    const int c0 = first + headRows;
    int oldCount = lineEnd - first + 1;
    if (!wordWrap_ || lineEnd < c0) {
        // Everything is broken anew: the text and, with wrap off, the line
        // it joins.
        std::string joinedText;
        std::string_view joined = head ? *head : std::string_view();
        if (lineEnd >= c0) {
            joinedText.assign(joined);
            joinedText.append(RowsText(c0, lineEnd - c0 + 1).Text);
            joined = joinedText;
        }
        // An emptied piece of a line that goes on above still needs a row
        // to end that line.
        if (joined.empty() && (!head || first != LineStartRow(first)))
            WrapText(std::nullopt, fresh);
        else
            WrapText(joined, fresh);
        if (fresh.GetCount() > 0)
            fresh.SetRowAttribute(fresh.GetCount() - 1, endAttribute);
    } else {
        const std::string_view h = head ? *head : std::string_view();
        size_t tailStart = 0;
        for (size_t i = h.size(); i > 0; --i) {
            if (h[i - 1] == '\n' || h[i - 1] == '\r') {
                tailStart = i;
                break;
            }
        }
        // Whole lines of the text first, then its last line together with
        // the rows it continues into.
        WrapText(h.substr(0, tailStart), fresh);
        const int stopRow = BreakIntoRows(h.substr(tailStart), c0, lineEnd, fresh);
        const int n = fresh.GetCount();
        if (stopRow >= 0 && tailStart == h.size() && stopRow == lineEnd && RowLength(lineEnd) == 0 &&
            GetRowAttribute(lineEnd) != raLineBreak && (tailStart > 0 || first == LineStartRow(first))) {
            // All that would be left of the last line is the empty row an
            // exact break at its end had made: the line is gone, and so is
            // that row.
            oldCount = lineEnd - first + 1;
        } else if (stopRow >= 0) {
            oldCount = stopRow - first;
        } else if (n > 0) {
            fresh.SetRowAttribute(n - 1, endAttribute);
        }
    }
    const int newCount = fresh.GetCount();
    {
        TextChangeSpan span = ChangeSpan(RowRangeText(*this, first, oldCount), RowRangeText(fresh, 0, newCount));
        record.Text = std::move(span.Old);
        record.Prefix = span.Prefix;
        record.Suffix = span.Suffix;
        record.Attribute = oldCount > 0 ? GetRowAttribute(first + oldCount - 1) : raNone;
    }
    PutRows(first, oldCount, fresh);
    return {oldCount, newCount};
}

// Breaks the line made of `tail` and the rows c0..lineEnd (the rest of one
// logical line) into `rows`, as the line breaker would break it whole. A row
// depends only on the text from its own start, so as soon as a new row starts
// where one of those rows starts, that row and all after it are still right:
// the breaking stops there and returns that row. Returns -1 when it ran to
// the line's end. Only about a window of the line is held at a time.
int TEditorScreenStrings::BreakIntoRows(std::string_view tail, int c0, int lineEnd, TEditorStringList& rows) const
{
    const LineBreakParams params{&wrapOption_, tabSpaceCount_};
    const size_t window = static_cast<size_t>(wrapOption_.WrapByte()) * 2 + 64;
    std::string work(tail);
    size_t workBase = 0;   // line offset of work[0]
    int nextRow = c0;      // the next row to append to work
    int candidate = c0;    // the next row whose start the new rows may meet
    size_t candidateStart = tail.size();
    size_t pos = 0;        // line offset of the next new row
    std::string scratch;
    for (;;) {
        while (candidate <= lineEnd && candidateStart < pos) {
            candidateStart += RowLength(candidate);
            ++candidate;
        }
        if (candidate <= lineEnd && candidateStart == pos)
            return candidate;
        while (nextRow <= lineEnd && workBase + work.size() - pos < window)
            work.append(RowView(nextRow++));
        const std::string_view rest(work.data() + (pos - workBase), workBase + work.size() - pos);
        if (rest.empty())
            return -1;
        const RowBreak row = NextRowBreak(rest, params, scratch);
        const int at = rows.GetCount();
        rows.InsertEmptyRows(at, 1);
        rows.PutView(at, rest.substr(0, row.length));
        rows.SetRowAttribute(at, raWrapped);
        pos += row.length;
        if (pos == workBase + work.size() && nextRow > lineEnd) {
            // The line ends here; a break exactly at its end leaves an empty
            // row unless the line break may stay on the full row.
            if (row.wrapped && !wrapOption_.FollowRetMark())
                rows.InsertEmptyRows(rows.GetCount(), 1);
            return -1;
        }
        if (pos - workBase > (size_t{1} << 16)) {
            work.erase(0, pos - workBase);
            workBase = pos;
        }
    }
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
    if (!text.empty())
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
