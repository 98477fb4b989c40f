#pragma once
#include <optional>
#include <string>

// What the editor core asks of the window that shows it. The Qt control
// implements it over its viewport; tests use a fake. Coordinates are pixels
// in the control's client area; rows are document rows.
class TEditorViewServices {
public:
    virtual ~TEditorViewServices() = default;

    // --- metrics -------------------------------------------------------------
    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;
    // The font's average character width (the core adds Margin.Character).
    virtual int CharWidth() const = 0;
    // The font's height plus its external leading.
    virtual int FontHeight() const = 0;
    // The system's scroll bar sizes, counted only where the bar exists.
    virtual int HorizontalScrollBarHeight() const = 0;
    virtual int VerticalScrollBarWidth() const = 0;

    // --- painting ------------------------------------------------------------
    // Rows first..last (inclusive) need repainting; rows past the end of the
    // document stand for the empty area below it.
    virtual void InvalidateRows(int firstRow, int lastRow) = 0;
    virtual void InvalidateAll() = 0;
    // Rows from `firstRow` down moved by `deltaRows` (positive: down): the
    // window may move their pictures instead of repainting them.
    virtual void ScrollRowsBelow(int firstRow, int deltaRows) { (void)deltaRows; InvalidateRows(firstRow, 1 << 29); }
    // The left bar's numbers of rows first..last need repainting.
    virtual void InvalidateLeftbar(int firstRow, int lastRow) { InvalidateRows(firstRow, lastRow); }

    // --- scrolling -----------------------------------------------------------
    // Moves the text area's content by dx, dy pixels (positive: right, down)
    // and invalidates what it uncovers.
    virtual void ScrollText(int dx, int dy) = 0;
    // Range 0..max, page size, position. Called only for bars that exist.
    virtual void SetVerticalScrollBar(int max, int page, int position) = 0;
    virtual void SetHorizontalScrollBar(int max, int page, int position) = 0;

    // --- caret ---------------------------------------------------------------
    // (Re)makes the caret in this size; it starts hidden.
    virtual void CreateCaret(int width, int height) = 0;
    virtual void SetCaretPos(int x, int y) = 0;
    virtual void ShowCaret() = 0;
    virtual void HideCaret() = 0;
    // The caret's column changed while the ruler is shown: move its mark.
    virtual void RulerCaretMoved(int col) { (void)col; }

    // --- clipboard -----------------------------------------------------------
    // Puts plain text, and when boxBytes is given also the same text under the
    // private box-selection format.
    virtual void SetClipboard(const std::string& text, const std::optional<std::string>& boxBytes) = 0;
    // The clipboard's plain text; none when it holds no text.
    virtual std::optional<std::string> ClipboardText() const = 0;
    // Whether the clipboard also holds the private box-selection format.
    virtual bool ClipboardHasBoxFormat() const = 0;

    // --- focus ---------------------------------------------------------------
    virtual bool HasFocus() const = 0;
};
