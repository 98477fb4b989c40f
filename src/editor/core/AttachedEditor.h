#pragma once

struct TPendingUpdate {
    int FirstRow = 0;
    int OldRowCount = 0;
    int NewRowCount = 0;
    int ReparsedRowCount = 0;
    bool Pending = false;
};

// What a document's row store asks of each editor showing it. The editor
// control implements it; tests use a fake.
class AttachedEditor {
public:
    virtual ~AttachedEditor() = default;

    virtual bool HasFocus() const = 0;
    virtual int CaretRow() const = 0;
    virtual int CaretCol() const = 0;
    // Caret moves as the keyboard makes them: the row first, then the column.
    virtual void SetCaretRow(int row) = 0;
    virtual void SetCaretCol(int col) = 0;
    // Puts the caret `index` bytes into the text that starts at `firstRow`.
    virtual void SetCaretByIndex(int firstRow, int index) = 0;
    virtual void ClearSelection() = 0;
    virtual void HideCaret() {}
    virtual void ShowCaret() {}

    // The store was emptied: no selection, caret at row 0 column 0.
    virtual void StoreCleared() = 0;
    // An update block of the store ended: repaint what `update` names; when
    // update.Pending, the text changed (set Modified, fire OnChange).
    virtual void ListChanged(const TPendingUpdate& update) = 0;
    // Caret row and top row may not exceed maxRow.
    virtual void ClampRows(int maxRow) = 0;
    // The rows were rebuilt by a wrap change: re-measure, repaint, caret column 0.
    virtual void RowsRewrapped() = 0;

    // What the colouring parser needs to bound its work: how many rows one
    // screen holds (screen height div row height), the first visible row, and
    // whether the whole document is parsed at once.
    virtual int ScreenRows() const { return 64; }
    virtual int TopRow() const { return 0; }
    virtual bool InitBracketsFull() const { return false; }
    // A row's colouring changed: repaint it.
    virtual void InvalidateRow(int row) { (void)row; }

    // Update blocks of the logical-line view: hide the caret and hold back
    // caret-move notification, then show it and notify once.
    virtual void BeginLinesUpdate() {}
    virtual void EndLinesUpdate() {}
};
