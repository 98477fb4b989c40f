#pragma once
#include <string>
#include <vector>

#include "editor/core/AttachedEditor.h"
#include "editor/core/TEditorScreenStrings.h"

// An editor as the row store sees it: a caret, a focus flag and a log of
// what the store told it.
class FakeEditor : public AttachedEditor {
public:
    explicit FakeEditor(TEditorScreenStrings& store) : store_(store) { store_.AttachEditor(this); }
    ~FakeEditor() override { store_.DetachEditor(this); }

    bool HasFocus() const override { return focused; }
    int CaretRow() const override { return row; }
    int CaretCol() const override { return col; }
    void SetCaretRow(int r) override { row = r; }
    void SetCaretCol(int c) override { col = c; }
    void SetCaretByIndex(int firstRow, int index) override
    {
        // Enough for the tests: walk rows as the editor does.
        int r = firstRow;
        const int count = store_.GetCount();
        while (r < count - 1) {
            int len = static_cast<int>(store_.RowLength(r));
            int brk = store_.GetRowAttribute(r) == raLineBreak ? 2 : (store_.GetRowAttribute(r) == raEndOfText ? 1 : 0);
            if (index <= len)
                break;
            if (index < len + brk)
                break;
            index -= len + brk;
            ++r;
        }
        row = r;
        col = r < count ? std::min(index, static_cast<int>(store_.RowLength(r))) : 0;
    }
    void ClearSelection() override { ++selectionClears; }
    void StoreCleared() override
    {
        row = 0;
        col = 0;
        ++cleared;
    }
    void ListChanged(const TPendingUpdate& update) override
    {
        ++listChanges;
        if (update.Pending) {
            modified = true;
            ++changes;
            lastUpdate = update;
        }
    }
    void ClampRows(int maxRow) override
    {
        if (row > maxRow)
            row = maxRow;
    }
    void RowsRewrapped() override
    {
        col = 0;
        ++rewraps;
    }

    bool focused = false;
    int row = 0;
    int col = 0;
    bool modified = false;
    int changes = 0;
    int listChanges = 0;
    int selectionClears = 0;
    int cleared = 0;
    int rewraps = 0;
    TPendingUpdate lastUpdate;

private:
    TEditorScreenStrings& store_;
};
