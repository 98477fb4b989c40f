#include "editor/core/TEditorUndoObj.h"

#include <algorithm>

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

void TEditorUndoObj::Restore(TUndoData& r)
{
    TRowsText current;
    if (r.RowCount > 0)
        current = store_.RowsText(r.Row, r.RowCount);
    int putBack = 0;
    if (r.Attribute == raNone) {
        // The change had filled an empty range: take its rows out again.
        uint16_t marks = store_.DeleteRows(r.Row, current.RowCount);
        store_.MoveMarks(marks, std::min(r.Row, store_.GetCount() - 1));
    } else {
        TEditorStringList rows;
        if (r.Text.empty())
            store_.WrapText(std::nullopt, rows);  // one empty row
        else
            store_.WrapText(std::string_view(r.Text), rows);
        int n = rows.GetCount();
        if (r.Attribute == raWrapped && n > 1 && rows.RowLength(n - 1) == 0)
            rows.RemoveRows(--n, 1);
        if (n > 0)
            rows.SetRowAttribute(n - 1, r.Attribute);
        putBack = n;
        store_.PutRows(r.Row, current.RowCount, rows);
    }
    int reparsed = store_.Reparse(r.Row);
    store_.RecordPending(r.Row, current.RowCount, putBack, reparsed);
    r.RowCount = putBack;
    r.Attribute = current.LastAttribute;
    r.Text = std::move(current.Text);
}

void TEditorUndoObj::Undo()
{
    if (undoList_.empty())
        return;
    TUndoData& r = undoList_.back();
    AttachedEditor* editor = store_.FocusedEditor();
    if (editor)
        editor->HideCaret();
    {
        TUpdateBlock block(store_);
        Restore(r);
        TUndoData redo = r;
        if (editor) {
            redo.CaretRow = editor->CaretRow();
            redo.CaretCol = editor->CaretCol();
        }
        redoList_.push_back(std::move(redo));
    }
    const int row = r.CaretRow;
    const int col = r.CaretCol;
    undoList_.pop_back();
    if (editor) {
        editor->SetCaretRow(row);
        editor->SetCaretCol(col);
        editor->ShowCaret();
    }
}

void TEditorUndoObj::Redo()
{
    if (redoList_.empty())
        return;
    TUndoData& r = redoList_.back();
    AttachedEditor* editor = store_.FocusedEditor();
    if (editor)
        editor->HideCaret();
    {
        TUpdateBlock block(store_);
        Restore(r);
        redoing_ = true;
        TUndoData& record = NewRecord();
        redoing_ = false;
        record.Row = r.Row;
        record.RowCount = r.RowCount;
        record.Attribute = r.Attribute;
        record.Text = r.Text;
    }
    const int row = r.CaretRow;
    const int col = r.CaretCol;
    redoList_.pop_back();
    if (editor) {
        editor->SetCaretRow(row);
        editor->SetCaretCol(col);
        editor->ShowCaret();
    }
}
