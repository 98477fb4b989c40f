#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "editor/core/CellMap.h"

class TEditorCore;

// The answers of the standard edit-control window messages, over an editor
// core, for the accessibility layer and anything else that expects a plain
// edit control.
//
// Offsets are byte offsets in the whole text: a row's bytes, then 2 for the
// CR LF after a line-break row, none after a wrapped row, and 1 for the end
// of a text that does not end with a line break. A "line" is a screen row,
// so each row of a wrapped line counts by itself. An offset inside a CR LF,
// or past the end, stands for the end of its row (of the text).
class EditControlMessages {
public:
    explicit EditControlMessages(TEditorCore& editor);

    // --- the whole text ------------------------------------------------------
    // The text, cut to bufferSize - 1 bytes (room for a terminating zero).
    std::string GetText(int bufferSize) const;
    // Counts the end-of-text byte as offsets do, so it may exceed what
    // GetText gives by one; it is never less.
    int GetTextLength() const;
    void SetText(std::string_view text);

    // --- clipboard and selection ---------------------------------------------
    // Without a selection (or read-only) the clipboard is left empty.
    void Cut();
    void Copy();
    void Paste();
    // Deletes the selection.
    void Clear();
    void ReplaceSelection(std::string_view text);

    struct Selection {
        int Start = 0;
        int End = 0;
        // Start in the low word, End in the high word; 0xFFFFFFFF (-1) when
        // either does not fit in 16 bits, so callers must use Start/End then.
        uint32_t Packed = 0;
    };
    Selection GetSelection() const;
    // (0, -1) selects everything, a start of -1 removes the selection, and
    // any other negative end means the end of the text. Otherwise the bytes
    // from the smaller offset to the larger are selected, the caret at the
    // larger; equal offsets just place the caret.
    void SetSelection(int start, int end);

    // --- rows ----------------------------------------------------------------
    int LineCount() const;
    // Offset of the first byte of `row` (-1: the caret row); -1 for a row
    // past the last one.
    int LineIndex(int row) const;
    // Bytes of the row that holds `offset`. For -1: with a selection, the
    // end row's length less the selected part of it, from the selection's
    // start column; without one, the caret row's length.
    int LineLength(int offset) const;
    // The row's text, at most `max` bytes; empty for a row out of range.
    std::string GetLine(int row, int max) const;
    // The row that holds `offset`; for -1 the selection's start row, or the
    // caret row.
    int LineFromChar(int offset) const;
    int FirstVisibleLine() const;

    // --- geometry ------------------------------------------------------------
    // Offset of the character under client point (x, y), snapped to its
    // first byte as a click would place the caret; -1 outside the client area.
    int CharFromPosition(int x, int y) const;
    struct Position {
        int X = 0;
        int Y = 0;
        // X in the low 16 bits and Y in the high 16 bits, each as a signed
        // 16-bit value.
        uint32_t Packed = 0;
    };
    // The client point of the top left corner of the character at `offset`.
    Position PositionFromChar(int offset) const;
    // Scrolls so that the caret lies a third down the window (and a third
    // across), when it is outside it.
    void ScrollCaret();

    // --- state ---------------------------------------------------------------
    bool GetModify() const;
    void SetModify(bool modified);
    bool CanUndo() const;
    // Returns whether there was anything to undo.
    bool Undo();
    void EmptyUndoBuffer();
    void SetReadOnly(bool readOnly);

private:
    // A row and the offset of its first byte.
    struct RowStart {
        int Row = 0;
        int Offset = 0;
    };
    // A row and a byte index in it.
    struct TextPoint {
        int Row = 0;
        int Index = 0;
    };

    // Walks down from `from` to row `stopRow`, or to the row that holds
    // `stopOffset` when that comes first. Rows past the last are not
    // walked: the result is then the row count and the total length.
    RowStart Walk(RowStart from, int stopRow, int stopOffset) const;
    int RowOffset(int row) const;
    // The row and index `offset` stands for, given the row Walk stopped at
    // for it.
    TextPoint PointIn(RowStart at, int offset) const;
    TextPoint PointAt(int offset) const;
    int RowLength(int row) const;
    int ColumnOf(TextPoint point) const;
    CellMapOptions MapOptions() const;

    TEditorCore& ed_;
};
