#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

#include "editor/core/TRowAttributeData.h"

class TEditorScreenStrings;

// One replacement of rows, as it can be put back.
struct TUndoData {
    int32_t CaretRow = 0;        // the caret when the record was made
    int32_t CaretCol = 0;
    int32_t Row = -1;            // first row of the replaced range
    int32_t RowCount = 0;        // rows the new text occupies after the change
    uint8_t Attribute = raNone;  // last replaced row's attribute; raNone: the range was empty
    // The replaced rows joined, CR LF after each line-break row, are the
    // first Prefix bytes of the new rows' text, then Text, then the last
    // Suffix bytes of the new rows' text: a record holds only what changed.
    std::string Text;
    std::size_t Prefix = 0;
    std::size_t Suffix = 0;
};

// A list of records that owns them.
using TUndoDataList = std::deque<TUndoData>;

// The document's shared history: every ReplaceRows makes one record; undo
// puts the old rows back and turns the record into its own inverse.
class TEditorUndoObj {
public:
    explicit TEditorUndoObj(TEditorScreenStrings& store) : store_(store) {}

    static constexpr int MinUndoListMax = 64;

    int UndoListMax() const { return undoListMax_; }
    void SetUndoListMax(int value) { undoListMax_ = value < MinUndoListMax ? MinUndoListMax : value; }

    // A new record at the end of the undo list, the caret already filled in.
    TUndoData& NewRecord();
    bool CanUndo() const { return !undoList_.empty(); }
    bool CanRedo() const { return !redoList_.empty(); }
    void Undo();
    void Redo();
    void Clear();

    const TUndoDataList& UndoList() const { return undoList_; }
    const TUndoDataList& RedoList() const { return redoList_; }
    // Bytes of text the records of both lists hold.
    std::size_t TextBytes() const;

private:
    // Puts R's text back in place of its current rows; R becomes its inverse.
    void Restore(TUndoData& r);
    void Step(bool redo);

    TEditorScreenStrings& store_;
    int undoListMax_ = MinUndoListMax;
    TUndoDataList undoList_;
    TUndoDataList redoList_;
    bool redoing_ = false;
};
