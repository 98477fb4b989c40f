#include "editor/core/TEditorUndoObj.h"

#include <algorithm>

#include "editor/core/RowTextDiff.h"
#include "editor/core/TEditorScreenStrings.h"

TUndoData& TEditorUndoObj::NewRecord()
{
    TUndoData record;
    if (AttachedEditor* editor = store_.FocusedEditor()) {
        record.CaretRow = editor->CaretRow();
        record.CaretCol = editor->CaretCol();
    }
    undoList_.push_back(std::move(record));
    while (static_cast<int>(undoList_.size()) > undoListMax_)
        undoList_.pop_front();
    if (!redoing_)
        redoList_.clear();
    return undoList_.back();
}

void TEditorUndoObj::Clear()
{
    undoList_.clear();
    redoList_.clear();
}

std::size_t TEditorUndoObj::TextBytes() const
{
    std::size_t n = 0;
    for (const TUndoData& r : undoList_)
        n += r.Text.capacity();
    for (const TUndoData& r : redoList_)
        n += r.Text.capacity();
    return n;
}

void TEditorUndoObj::Restore(TUndoData& r)
{
    int oldCount = 0;
    int putBack = 0;
    if (r.Attribute == raNone) {
        // The change had filled an empty range: take its rows out again.
        TRowsText current;
        if (r.RowCount > 0)
            current = store_.RowsText(r.Row, r.RowCount);
        oldCount = current.RowCount;
        uint16_t marks = store_.DeleteRows(r.Row, oldCount);
        store_.MoveMarks(marks, std::min(r.Row, store_.GetCount() - 1));
        r.Attribute = current.LastAttribute;
        r.Text = std::move(current.Text);
        r.Prefix = r.Suffix = 0;
    } else if (store_.RestoreInPlace(r)) {
        oldCount = putBack = 1;
    } else {
        // A text that ends inside a line continues into the row after the
        // range; that line is re-broken as far as it changes.
        const int after = r.Row + r.RowCount;
        const bool continues = r.Attribute == raWrapped && after < store_.GetCount();
        const int lineEnd = continues ? store_.LineEndRow(after) : after - 1;
        const uint8_t endAttribute = continues ? store_.GetRowAttribute(lineEnd) : r.Attribute;
        const int rowCount = std::clamp(r.RowCount, 0, std::max(0, store_.GetCount() - r.Row));
        const std::string old = RestoredText(RowRangeText(store_, r.Row, rowCount), r.Prefix, r.Text, r.Suffix);
        const std::optional<std::string_view> text =
            old.empty() ? std::nullopt : std::optional<std::string_view>(old);
        const auto result = store_.PutText(r.Row, r.RowCount, text, lineEnd, endAttribute, r);
        oldCount = result.OldCount;
        putBack = result.NewCount;
    }
    int reparsed = store_.Reparse(r.Row, putBack);
    store_.RecordPending(r.Row, oldCount, putBack, reparsed);
    r.RowCount = putBack;
}

void TEditorUndoObj::Undo() { Step(false); }

void TEditorUndoObj::Redo() { Step(true); }

// Takes the last record of the undo (redo) list, puts its rows back, and
// hands its inverse to the other list with the caret as it is now; then the
// caret goes where the record says: before the change after an undo, where
// it stood when the change was undone after a redo.
void TEditorUndoObj::Step(bool redo)
{
    TUndoDataList& from = redo ? redoList_ : undoList_;
    if (from.empty())
        return;
    TUndoData& r = from.back();
    AttachedEditor* editor = store_.FocusedEditor();
    if (editor)
        editor->HideCaret();
    {
        TUpdateBlock block(store_);
        Restore(r);
        TUndoData inverse = r;
        inverse.CaretRow = editor ? editor->CaretRow() : 0;
        inverse.CaretCol = editor ? editor->CaretCol() : 0;
        if (redo) {
            // A redo's record must not empty the redo list.
            redoing_ = true;
            NewRecord() = std::move(inverse);
            redoing_ = false;
        } else {
            redoList_.push_back(std::move(inverse));
        }
    }
    const int row = r.CaretRow;
    const int col = r.CaretCol;
    from.pop_back();
    if (editor) {
        editor->SetCaretRow(row);
        editor->SetCaretCol(col);
        editor->ShowCaret();
    }
}
