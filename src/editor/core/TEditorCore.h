#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "editor/core/AttachedEditor.h"
#include "editor/core/CellMap.h"
#include "editor/core/TEditorCaret.h"
#include "editor/core/TEditorFont.h"
#include "editor/core/TEditorFountain.h"
#include "editor/core/TEditorImagebar.h"
#include "editor/core/TEditorKey.h"
#include "editor/core/TEditorLeftbar.h"
#include "editor/core/TEditorMargin.h"
#include "editor/core/TEditorMarks.h"
#include "editor/core/TEditorRowParser.h"
#include "editor/core/TEditorRuler.h"
#include "editor/core/TEditorScreenStrings.h"
#include "editor/core/TEditorSpeed.h"
#include "editor/core/TEditorStrings.h"
#include "editor/core/TEditorViewInfo.h"
#include "editor/core/TEditorViewServices.h"
#include "editor/core/TSearchOptions.h"

class TFountainParser;

enum TEditorHitStyle { hsSelect, hsDraw, hsCaret };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
// A request from a scroll bar.
enum class TScrollRequest { LineBack, LineForward, PageBack, PageForward, ToStart, ToEnd, Thumb };
// The mouse cursor an area of the control asks for.
enum class TEditorCursor { Default, InSel, LeftMargin, TopMargin, DragSel, DragSelCopy };

// A range of the text in rows: columns are char indexes of their rows in
// SelChars and display columns in SelDisplay. Start <= End.
struct TEditorSelectionRange {
    int StartRow = 0;
    int StartCol = 0;
    int EndRow = 0;
    int EndCol = 0;
};

// The behaviour of the editor control without its window: the document (a
// row store and its logical lines), the caret and its rules, selection and
// keyboard editing. It reaches the screen only through TEditorViewServices,
// and the row store reaches it through AttachedEditor.
class TEditorCore : public AttachedEditor {
public:
    explicit TEditorCore(TEditorViewServices& view);
    ~TEditorCore() override;
    TEditorCore(const TEditorCore&) = delete;
    TEditorCore& operator=(const TEditorCore&) = delete;

    // --- document ------------------------------------------------------------
    TEditorScreenStrings& Store() { return store_; }
    const TEditorScreenStrings& Store() const { return store_; }
    TEditorStrings& Lines() { return lines_; }
    const TEditorStrings& Lines() const { return lines_; }
    int RowCount() const { return store_.GetCount(); }
    // Row text; empty for a row out of range.
    std::string RowText(int row) const;
    // The row's cells ("1".."5", see CellMap.h) and their count.
    std::string BuildMap(int row) const;
    int RowWidth(int row) const;
    int LineToRow(int line) const { return store_.LineToRow(line); }
    int RowToLine(int row) const { return store_.RowToLine(row); }
    bool WordWrap() const { return store_.WordWrap(); }
    void SetWordWrap(bool value) { store_.SetWordWrap(value); }
    TEditorWrapOption& WrapOption() { return store_.WrapOption(); }

    // --- options -------------------------------------------------------------
    TEditorCaret& Caret() { return caret_; }
    const TEditorCaret& Caret() const { return caret_; }
    TEditorSpeed& Speed() { return speed_; }
    const TEditorSpeed& Speed() const { return speed_; }
    TEditorMargin& Margin() { return margin_; }
    const TEditorMargin& Margin() const { return margin_; }
    TEditorLeftbar& Leftbar() { return leftbar_; }
    const TEditorLeftbar& Leftbar() const { return leftbar_; }
    TEditorRuler& Ruler() { return ruler_; }
    const TEditorRuler& Ruler() const { return ruler_; }
    TEditorImagebar& Imagebar() { return imagebar_; }
    const TEditorImagebar& Imagebar() const { return imagebar_; }
    TEditorMarks& Marks() { return marks_; }
    const TEditorMarks& Marks() const { return marks_; }
    TEditorViewInfo& View() { return viewInfo_; }
    const TEditorViewInfo& View() const { return viewInfo_; }
    // The colouring states of the rows, for painting.
    TEditorRowParser& RowParser() { return rowParser_; }
    // The colouring scheme; null means View's built-in one. Not owned.
    TFountain* Fountain() const { return fountain_; }
    void SetFountain(TFountain* fountain);

    // The background colour and the font; the window measures the font and
    // paints with both. Changing either (or the scroll-bar style) calls
    // OnAppearanceChange.
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    const TEditorFont& Font() const { return font_; }
    void SetFont(const TEditorFont& value);

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v) { readOnly_ = v; }
    bool WantReturns() const { return wantReturns_; }
    void SetWantReturns(bool v) { wantReturns_ = v; }
    bool WantTabs() const { return wantTabs_; }
    void SetWantTabs(bool v) { wantTabs_ = v; }
    int UndoListMax() const { return store_.UndoObj().UndoListMax(); }
    void SetUndoListMax(int v) { store_.UndoObj().SetUndoListMax(v); }
    TEditorHitStyle HitStyle() const { return hitStyle_; }
    void SetHitStyle(TEditorHitStyle v) { hitStyle_ = v; }
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle v);
    bool Modified() const { return modified_; }
    void SetModified(bool v) { modified_ = v; }

    // --- events --------------------------------------------------------------
    std::function<void()> OnChange;
    std::function<void()> OnCaretMoved;
    std::function<void(bool selected)> OnSelectionChange;
    std::function<void()> OnSelectionModeChange;
    std::function<void()> OnTopRowChange;
    std::function<void()> OnTopColChange;
    std::function<void()> OnAppearanceChange;

    // --- geometry ------------------------------------------------------------
    // The window's client area, in pixels.
    int ClientWidth() const { return view_.ClientWidth(); }
    int ClientHeight() const { return view_.ClientHeight(); }
    int ColWidth() const;
    int FontHeight() const;
    int RowHeight() const;
    int TextAreaTop() const;
    int TextAreaLeft() const;
    int LeftbarWidth() const;
    int VisibleRows() const;
    int VisibleCols() const;
    int MaxTopRow() const;
    // The largest TopCol: 1000 - VisibleCols div 2.
    int MaxTopCol() const;

    // --- caret ---------------------------------------------------------------
    int Row() const { return row_; }
    int Col() const { return col_; }
    void SetRow(int value);
    void SetCol(int value);
    // Row, then the column snapped back to a character (and, unless InTab, a
    // TAB) start; one OnCaretMoved.
    void SetRowCol(int row, int col);
    void SetCaretByIndex(int firstRow, int index) override;
    // Char index of column col in the logical line of `row`; -1 when out of range.
    int RowColToCharIndex(int row, int col) const;
    // Offset in the whole text (2 per line break) of the selection start, or
    // of the caret when nothing is selected. Walks the rows above it.
    int SelStart() const;
    int TopRow() const override { return topRow_; }
    void SetTopRow(int value);
    int TopCol() const { return topCol_; }
    void SetTopCol(int value);
    // The caret column remembered for vertical moves; -1 when not valid.
    int DesiredCol() const { return desiredValid_ ? desiredCol_ : -1; }

    // A scroll bar's request; `position` is the thumb's for Thumb. With
    // Caret.LockScroll a vertical step moves the caret row along.
    void ScrollRequest(bool vertical, TScrollRequest request, int position = 0);

    // --- row marks -----------------------------------------------------------
    uint16_t GetRowMarks(int row) const;
    void SetRowMarks(int row, uint16_t marks);
    // Puts mark 0..15 on `row`; marks 0..9 first leave the row that had them.
    void PutMark(int row, int mark);
    void DeleteMark(int row, int mark);
    // The caret goes to the first row with the mark, centred when that row
    // is off screen. Nothing happens when no row has it.
    void GotoMark(int mark);

    // --- search --------------------------------------------------------------
    // Looks for `pattern` from the selection's end (soDown) or start, or from
    // the caret; a hit becomes the selection as HitStyle says and is scrolled
    // into view. Returns whether it found one.
    bool Search(std::string_view pattern, TSearchOptions options);
    // Bytes of document text the last hit covered.
    int HitLength() const { return hitLength_; }

    // --- mouse ---------------------------------------------------------------
    // The left button, at pixel (x, y) of the client area.
    void MouseDown(int x, int y, TShiftState shift);
    // The pointer moved; `buttonDown` says whether the left button is held.
    void MouseMove(int x, int y, bool buttonDown);
    void MouseUp(int x, int y, TShiftState shift);
    // A double click of the left button: selects the word under the pointer
    // (see WordAtIndex) and returns true. Returns false, doing nothing, when
    // the pointer is not on a word of the text, or while the button is down
    // or a drag is on (the message is then discarded).
    bool DoubleClick(int x, int y);
    // Escape while a drag is armed or running: cancels it. Returns whether
    // there was one.
    bool CancelDrag();
    // 0 none, 1 armed (pressed inside the selection), 2 dragging.
    int DragState() const { return dragState_; }
    // While the button is down or a drag is on, character and double-click
    // messages are to be discarded.
    bool MouseCaptured() const { return mouseDown_ || dragState_ != 0; }
    // The cell under a pointer, as a click puts the caret there; the column
    // is snapped to a character start.
    std::pair<int, int> CellAt(int x, int y) const;
    // The cursor for the area under the pointer.
    TEditorCursor CursorAt(int x, int y, TShiftState shift) const;

    // --- selection -----------------------------------------------------------
    // 0 none, 1 anchored, 2 selected, 3 a search hit shown as a selection.
    int SelectionState() const { return selectionState_; }
    bool Selected() const { return selectionState_ == 2; }
    bool BoxMode() const { return boxMode_; }
    const TEditorSelectionRange& SelChars() const { return selChars_; }
    const TEditorSelectionRange& SelDisplay() const { return selDisplay_; }
    void ClearSelection() override;
    // Switches box selection; a present selection is recomputed.
    void SetBoxMode(bool value);
    // The selected text: CR LF after each ended line of a normal selection;
    // in box mode the cells between the box's columns on every row, joined
    // with CR LF. Empty without a selection.
    std::string SelText() const;
    int SelLength() const;
    // Replaces the selection (or inserts at the caret) by `text`; an empty
    // text deletes the selection. Ignored when ReadOnly.
    void SetSelText(std::string_view text);
    void SelectAll();
    // Clears any selection, anchors at the first cell (display columns) and
    // selects up to the caret put at the second, as a shift+move would.
    void Select(int anchorRow, int anchorCol, int caretRow, int caretCol);
    void CopyToClipboard();
    // Leaves the clipboard holding an empty text.
    void EmptyClipboard();
    // Puts `text` (the document's bytes) on the clipboard as plain text.
    void CopyTextToClipboard(const std::string& text);
    void CutToClipboard();
    // Pastes the clipboard's text as SelText, or as a box when the clipboard
    // also holds the box format.
    void PasteFromClipboard();
    // Line k of `text` goes into row Row+k at column Col; rows are padded
    // with spaces, and added after the last when needed. One undo step.
    void PasteBox(std::string_view text);

    // --- input ---------------------------------------------------------------
    // A navigation or Delete key. Returns whether the core handled it.
    bool KeyDown(TEditorKey key, TShiftState shift, bool autoRepeat = false);
    // Character messages as they stand queued, in order: printable bytes,
    // BackSpace (8), TAB (9) and Enter (13). A lead byte takes the next
    // queued byte with it. Returns false when a TAB or Enter is left to the
    // toolkit (WantTabs / WantReturns off).
    bool KeyPress(std::string_view chars, TShiftState shift = 0);
    // An input-method result: inserted as one insertion. With
    // swallowEchoes, as many following character bytes are then discarded
    // (for toolkits that also send the result as character messages).
    void ImeResult(std::string_view text, bool swallowEchoes = true);
    int ImePending() const { return imePending_; }

    void Undo();
    void Redo();

    // --- window events -------------------------------------------------------
    void FocusChanged(bool focused);
    // The font, the size or the layout changed: re-measure and repaint.
    void Resized();

    // --- AttachedEditor ------------------------------------------------------
    bool HasFocus() const override { return view_.HasFocus(); }
    int CaretRow() const override { return row_; }
    int CaretCol() const override { return col_; }
    void SetCaretRow(int row) override { SetRow(row); }
    void SetCaretCol(int col) override { SetCol(col); }
    void HideCaret() override;
    void ShowCaret() override;
    void StoreCleared() override;
    void ListChanged(const TPendingUpdate& update) override;
    void ClampRows(int maxRow) override;
    void RowsRewrapped() override;
    int ScreenRows() const override;
    bool InitBracketsFull() const override { return speed_.InitBracketsFull(); }
    void InvalidateRow(int row) override { view_.InvalidateRows(row, row); }
    void BeginLinesUpdate() override;
    void EndLinesUpdate() override;

private:
    enum class Move { Horizontal, Vertical };
    class CaretSequence;

    // --- rows ---
    CellMapOptions MapOptions() const;
    std::string_view RowView(int row) const;
    uint8_t RowAttribute(int row) const;
    // The row and the char index in it that SetCaretByIndex(firstRow, index)
    // puts the caret at.
    std::pair<int, int> RowIndexOf(int firstRow, int index) const;
    // Bytes of the rows of `row`'s logical line before it.
    int OffsetInLine(int row) const;
    std::string BreakAfter(int row) const;

    // --- caret ---
    void MoveRow(int value, bool keyboard);
    void MoveCol(int value);
    void Normalise(Move move, bool right, bool keyboard);
    void CaretChanged();
    void FlushCaret();
    void KeepCaretInView();
    void PlaceCaret();
    void RebuildCaret();
    void UpdateScrollRanges();
    // Repaints what a change of the document touched on screen.
    void RepaintChange(const TPendingUpdate& update);
    void UpdateScrollBars();
    void LayoutChanged();
    void FountainChanged();

    // --- mouse ---
    // The cell under the pointer: rounded to the nearer cell boundary for
    // clicks, or the plain cell under it (`plain`) for a drop.
    std::pair<int, int> PointerCell(int x, int y, bool plain) const;
    bool InSelection(int row, int col) const;
    bool SelectionDraggable() const;
    void SelectRows(int row);
    // Ends what a press of the button recorded, when the rows change under it.
    void AbandonPress();
    void DropSelection(bool copy);

    // --- selection ---
    void Anchor();
    void ExtendSelection();
    // Makes the given range (display columns and char indexes) the selection.
    void ShowSelection(const TEditorSelectionRange& cells, const TEditorSelectionRange& chars);
    bool HasSelectedText() const;
    // The rows' pieces of a normal selection, line breaks included, in order.
    template <typename F>
    void ForEachSelectedPiece(F&& f) const;

    // --- keys ---
    void PageMove(int direction, bool autoRepeat);
    void VerticalMove(int direction, bool ctrl, bool autoRepeat);
    void WordRight();
    void WordLeft();
    TFountainParser& WordScanner();

    // --- editing ---
    void InsertText(std::string_view text);
    // Replaces the selected text by `text` (in box mode: removes the box
    // from every row and puts `text` at its left edge on the first row).
    void ReplaceSelection(std::string_view text);
    // With text selected, replaces it by `text` and says so; otherwise
    // clears any empty selection or hit and returns false.
    bool ReplacedSelection(std::string_view text);
    void ReplaceBox(std::string_view text);
    void DeleteKey();
    void BackSpaceKey();
    void TabKey();
    void EnterKey(bool shift);
    void CharInput(std::string_view ch);
    int EnterIndent(int row) const;
    // Replaces rows [first, first+count) by text (one undo step), then puts
    // the caret `index` bytes after the start of baseRow (a row at or above
    // `first`, counted as it was before the change).
    void Replace(int first, int count, std::string_view text, int baseRow, int index);
    // Replaces bytes [at, at+count) of the row by text (one undo step, see
    // TEditorScreenStrings::ReplaceInRow), then puts the caret `index` bytes
    // after the row's start.
    void ReplaceInRow(int row, std::size_t at, std::size_t count, std::string_view text, int index);
    // The row the caret is counted from after a change at row `first`: one
    // the change leaves as it is. `index`, counted from baseRow, is made
    // relative to it.
    int CaretBaseRow(int first, int baseRow, int& index) const;

    TEditorViewServices& view_;
    TEditorScreenStrings store_;
    TEditorStrings lines_;
    TEditorViewInfo viewInfo_;
    TEditorRowParser rowParser_;
    TFountain* fountain_ = nullptr;
    TEditorFountain wordFountain_;
    std::unique_ptr<TFountainParser> wordScanner_;

    TEditorCaret caret_;
    TEditorMarks marks_;
    TEditorMargin margin_;
    TEditorImagebar imagebar_;
    TEditorLeftbar leftbar_;
    TEditorRuler ruler_;
    TEditorSpeed speed_;

    TColor color_ = clWhite;
    TEditorFont font_;
    bool readOnly_ = false;
    bool wantReturns_ = true;
    bool wantTabs_ = true;
    bool modified_ = false;
    TEditorHitStyle hitStyle_ = hsSelect;
    TScrollStyle scrollBars_ = ssNone;

    int row_ = 0;
    int col_ = 0;
    int topRow_ = 0;
    int topCol_ = 0;
    int desiredCol_ = 0;
    bool desiredValid_ = false;
    bool mouseDown_ = false;

    int selectionState_ = 0;
    bool boxMode_ = false;
    int anchorRow_ = 0;
    int anchorCol_ = 0;
    TEditorSelectionRange selChars_;
    TEditorSelectionRange selDisplay_;

    int imePending_ = 0;
    int hitLength_ = 0;
    bool caretOverHit_ = false; // hsCaret: the caret is as wide as the hit

    // --- mouse state ---
    int dragState_ = 0;
    bool rowSelecting_ = false;
    int rowSelectFrom_ = 0;
    bool selectionShown_ = false; // the press selection has become visible
    bool ignoreUntilUp_ = false;  // a drag was cancelled while the button was held
    int pressX_ = 0;
    int pressY_ = 0;

    int caretSequence_ = 0;   // open caret-setting sequences
    int linesUpdate_ = 0;     // open update blocks of Lines
    bool caretDirty_ = false; // the caret moved while notification was held back
    int caretHidden_ = 0;
    int lastTextAreaLeft_ = -1;
};

// Holds caret-move notification back while a sequence of caret settings
// runs, and hides the caret meanwhile; at the outermost end the caret is
// brought into view and OnCaretMoved fires once, if it moved.
class TEditorCore::CaretSequence {
public:
    explicit CaretSequence(TEditorCore& editor) : editor_(editor)
    {
        ++editor_.caretSequence_;
        editor_.HideCaret();
    }
    inline ~CaretSequence()
    {
        editor_.ShowCaret();
        if (--editor_.caretSequence_ == 0 && editor_.linesUpdate_ == 0 && editor_.caretDirty_)
            editor_.FlushCaret();
    }
    CaretSequence(const CaretSequence&) = delete;
    CaretSequence& operator=(const CaretSequence&) = delete;

private:
    TEditorCore& editor_;
};
