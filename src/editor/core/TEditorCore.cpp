#include "editor/core/TEditorCore.h"

#include <algorithm>

#include "editor/core/ShiftJis.h"
#include "editor/core/TFountainParser.h"

TEditorCore::TEditorCore(TEditorViewServices& view)
    : view_(view), lines_(store_, this), rowParser_(store_, viewInfo_)
{
    store_.AttachEditor(this);
    store_.SetParser(&rowParser_);
    store_.SetTabSpaceCount(caret_.TabSpaceCount());
    viewInfo_.OnChange = [this] {
        if (!fountain_)
            FountainChanged();
        else
            wordScanner_.reset();
    };
    caret_.OnChange = [this] {
        if (store_.TabSpaceCount() != caret_.TabSpaceCount()) {
            store_.SetTabSpaceCount(caret_.TabSpaceCount());
            view_.InvalidateAll();
        }
        RebuildCaret();
    };
    marks_.OnChange = [this] { LayoutChanged(); };
    margin_.OnChange = [this] { LayoutChanged(); };
    imagebar_.OnChange = [this] { LayoutChanged(); };
    leftbar_.OnChange = [this] { LayoutChanged(); };
    ruler_.OnChange = [this] { LayoutChanged(); };
}

TEditorCore::~TEditorCore()
{
    store_.DetachEditor(this);
}

void TEditorCore::SetFountain(TFountain* fountain)
{
    if (fountain == fountain_)
        return;
    fountain_ = fountain;
    rowParser_.SetFountain(fountain);
    FountainChanged();
}

void TEditorCore::FountainChanged()
{
    wordScanner_.reset();
    rowParser_.ReparseAll();
    view_.InvalidateAll();
    RebuildCaret();
}

void TEditorCore::LayoutChanged()
{
    lastTextAreaLeft_ = TextAreaLeft();
    UpdateScrollRanges();
    view_.InvalidateAll();
    RebuildCaret();
}

void TEditorCore::Resized() { LayoutChanged(); }

void TEditorCore::SetColor(TColor value)
{
    if (value == color_)
        return;
    color_ = value;
    if (OnAppearanceChange)
        OnAppearanceChange();
    view_.InvalidateAll();
}

void TEditorCore::SetFont(const TEditorFont& value)
{
    if (value == font_)
        return;
    font_ = value;
    // The window measures the new font before the layout is worked out again.
    if (OnAppearanceChange)
        OnAppearanceChange();
    LayoutChanged();
}

void TEditorCore::SetScrollBars(TScrollStyle v)
{
    if (v == scrollBars_)
        return;
    scrollBars_ = v;
    if (OnAppearanceChange)
        OnAppearanceChange();
    LayoutChanged();
}

// --- rows ------------------------------------------------------------------

std::string TEditorCore::RowText(int row) const { return std::string(RowView(row)); }

std::string_view TEditorCore::RowView(int row) const
{
    return row >= 0 && row < store_.GetCount() ? store_.RowView(row) : std::string_view();
}

uint8_t TEditorCore::RowAttribute(int row) const
{
    return row >= 0 && row < store_.GetCount() ? store_.GetRowAttribute(row) : raNone;
}

CellMapOptions TEditorCore::MapOptions() const
{
    return CellMapOptions{store_.TabSpaceCount(), store_.WordWrap(), store_.WrapOption().WrapByte()};
}

std::string TEditorCore::BuildMap(int row) const { return BuildCellMap(RowView(row), MapOptions()); }

int TEditorCore::RowWidth(int row) const { return DisplayWidth(RowView(row), MapOptions()); }

int TEditorCore::OffsetInLine(int row) const
{
    if (row <= 0 || row > store_.GetCount())
        return 0;
    int offset = 0;
    for (int r = store_.LineStartRow(row); r < row && r < store_.GetCount(); ++r)
        offset += static_cast<int>(store_.RowLength(r));
    return offset;
}

std::string TEditorCore::BreakAfter(int row) const { return RowAttribute(row) == raLineBreak ? "\r\n" : ""; }

// --- geometry --------------------------------------------------------------

int TEditorCore::ColWidth() const { return std::max(1, view_.CharWidth() + margin_.Character()); }

int TEditorCore::FontHeight() const { return view_.FontHeight(); }

int TEditorCore::RowHeight() const
{
    return std::max(1, FontHeight() + margin_.Line() + (marks_.Underline.Visible() ? 1 : 0));
}

int TEditorCore::TextAreaTop() const { return margin_.Top() + ruler_.Height(); }

int TEditorCore::LeftbarWidth() const
{
    if (!leftbar_.Visible())
        return 0;
    const int count = store_.GetCount();
    int largest = (leftbar_.ShowNumberMode() == nmLine ? store_.LineCount() : count) - 1;
    if (!leftbar_.ZeroBase())
        ++largest;
    if (RowAttribute(count - 1) != raEndOfText)
        ++largest;
    return leftbar_.Width(leftbar_.NumberColumns(largest), ColWidth());
}

int TEditorCore::TextAreaLeft() const { return margin_.Left() + imagebar_.Width() + LeftbarWidth(); }

int TEditorCore::VisibleRows() const
{
    int height = view_.ClientHeight() - TextAreaTop() - 5;
    if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth)
        height -= view_.HorizontalScrollBarHeight();
    return std::max(1, height / RowHeight());
}

int TEditorCore::VisibleCols() const
{
    int width = view_.ClientWidth() - TextAreaLeft() - ColWidth() / 2;
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth)
        width -= view_.VerticalScrollBarWidth();
    // At least one column, so that the keep-in-view arithmetic stays sane
    // in a window too narrow to show any.
    return std::max(1, width / ColWidth());
}

int TEditorCore::MaxTopRow() const { return std::max(0, store_.GetCount() + VisibleRows() - 1); }

int TEditorCore::MaxTopCol() const { return 1000 - VisibleCols() / 2; }

int TEditorCore::ScreenRows() const { return std::max(1, view_.ClientHeight() / RowHeight()); }

// --- scrolling -------------------------------------------------------------

void TEditorCore::SetTopRow(int value)
{
    const int v = std::clamp(value, 0, store_.GetCount());
    if (v == topRow_)
        return;
    const int dy = (topRow_ - v) * RowHeight();
    topRow_ = v;
    view_.ScrollText(0, dy);
    UpdateScrollBars();
    PlaceCaret();
    if (OnTopRowChange)
        OnTopRowChange();
}

void TEditorCore::SetTopCol(int value)
{
    const int v = std::clamp(value, 0, VisibleCols() / 2 + 1000);
    if (v == topCol_)
        return;
    const int dx = (topCol_ - v) * ColWidth();
    topCol_ = v;
    view_.ScrollText(dx, 0);
    UpdateScrollBars();
    PlaceCaret();
    if (OnTopColChange)
        OnTopColChange();
}

void TEditorCore::UpdateScrollBars()
{
    const int rows = VisibleRows();
    const int cols = VisibleCols();
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth)
        view_.SetVerticalScrollBar(std::max(rows, MaxTopRow()), rows, topRow_);
    if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth)
        view_.SetHorizontalScrollBar(cols / 2 + 1000, cols, topCol_);
}

void TEditorCore::UpdateScrollRanges()
{
    if (topRow_ > MaxTopRow())
        SetTopRow(MaxTopRow());
    if (topCol_ > MaxTopCol())
        SetTopCol(std::max(0, MaxTopCol()));
    UpdateScrollBars();
}

// --- caret -----------------------------------------------------------------

void TEditorCore::HideCaret()
{
    if (caretHidden_++ == 0)
        view_.HideCaret();
}

void TEditorCore::ShowCaret()
{
    if (caretHidden_ > 0 && --caretHidden_ == 0 && view_.HasFocus())
        view_.ShowCaret();
}

void TEditorCore::SetRow(int value)
{
    CaretSequence sequence(*this);
    MoveRow(value, false);
}

void TEditorCore::SetCol(int value)
{
    CaretSequence sequence(*this);
    MoveCol(value);
}

void TEditorCore::SetRowCol(int row, int col)
{
    if (row == row_ && col == col_)
        return;
    CaretSequence sequence(*this);
    MoveRow(row, false);
    col_ = std::clamp(col, 0, 1001);
    Normalise(Move::Horizontal, false, false);
}

void TEditorCore::MoveRow(int value, bool keyboard)
{
    const int count = store_.GetCount();
    if (value == row_ && value != count)
        return;
    HideCaret();
    int r = std::clamp(value, 0, count);
    if (r == count && count > 0 && store_.GetRowAttribute(count - 1) == raEndOfText)
        r = count - 1;
    row_ = r;
    Normalise(Move::Vertical, false, keyboard);
    ShowCaret();
}

void TEditorCore::MoveCol(int value)
{
    const int v = std::clamp(value, 0, 1001);
    const bool right = v > col_;
    col_ = v;
    Normalise(Move::Horizontal, right, false);
}

void TEditorCore::Normalise(Move move, bool right, bool keyboard)
{
    const std::string map = BuildMap(row_);
    const int b = static_cast<int>(map.size());

    if (move == Move::Vertical) {
        if (desiredValid_)
            col_ = desiredCol_;
    } else {
        desiredValid_ = false;
    }

    if (!caret_.FreeCaret() && col_ > b) {
        if (caret_.KeepCaret()) {
            desiredCol_ = mouseDown_ ? b : col_;
            desiredValid_ = true;
        }
        if (!(move == Move::Vertical && keyboard && caret_.FreeRow()))
            col_ = b;
    }

    // Off a double-byte character's second cell and (unless InTab) out of a
    // TAB's filler, in the direction of travel.
    auto snap = [&](bool toRight) {
        if (col_ < 0 || col_ >= b)
            return;
        if (map[col_] == CellKind::Trail) {
            col_ += toRight ? 1 : -1;
        } else if (map[col_] == CellKind::TabFill && !caret_.InTab()) {
            while (col_ > 0 && col_ < b && map[col_] == CellKind::TabFill)
                col_ += toRight ? 1 : -1;
        }
    };
    snap(right);

    if (store_.WordWrap() && col_ >= b) {
        const int wrapByte = store_.WrapOption().WrapByte();
        if (RowAttribute(row_) == raWrapped)
            col_ = std::max(0, b - 1);
        else if (col_ >= wrapByte)
            col_ = std::max(b, wrapByte - 1);
        snap(false);
    }

    // The caret stops at column 1000, on a character's first cell: when a
    // double-byte character or a TAB straddles it, at that character.
    if (col_ > 1000 && !(b > 1000 && map[1000] == CellKind::Lead)) {
        col_ = 1000;
        snap(false);
    }
    CaretChanged();
}

void TEditorCore::CaretChanged()
{
    caretDirty_ = true;
    if (caretSequence_ == 0 && linesUpdate_ == 0)
        FlushCaret();
}

void TEditorCore::FlushCaret()
{
    caretDirty_ = false;
    RebuildCaret();
    if (ruler_.Visible())
        view_.RulerCaretMoved(col_);
    if (OnCaretMoved)
        OnCaretMoved();
}

void TEditorCore::RebuildCaret()
{
    if (!view_.HasFocus())
        return;
    if (caretOverHit_ && selectionState_ >= 2) {
        // As wide as the hit's cells on the caret row.
        const int end = selDisplay_.EndRow == row_ ? selDisplay_.EndCol : RowWidth(row_);
        view_.CreateCaret(std::max(1, end - col_) * ColWidth(), FontHeight());
    } else if (caret_.Style() == csBrief) {
        // One cell wide, two on the first cell of a double-byte character.
        int width = view_.CharWidth();
        const std::string map = BuildMap(row_);
        if (col_ >= 0 && col_ < static_cast<int>(map.size()) && map[col_] == CellKind::Lead)
            width *= 2;
        view_.CreateCaret(width, 2);
    } else {
        view_.CreateCaret(2, FontHeight());
    }
    KeepCaretInView();
    if (caretHidden_ == 0)
        view_.ShowCaret();
}

void TEditorCore::KeepCaretInView()
{
    const int rows = VisibleRows();
    const int cols = VisibleCols();
    if (row_ < topRow_)
        SetTopRow(row_);
    else if (row_ > topRow_ + rows - 1)
        SetTopRow(row_ - rows + 1);
    if (col_ < topCol_)
        SetTopCol(std::max(0, std::min(col_, topCol_ - cols / 4)));
    else if (col_ > topCol_ + cols - 1)
        SetTopCol(std::min(std::max(col_ - cols + 1, topCol_ + cols / 4), 1000 - cols / 2));
    PlaceCaret();
}

void TEditorCore::PlaceCaret()
{
    if (!view_.HasFocus())
        return;
    const int x = TextAreaLeft() + (col_ - topCol_) * ColWidth();
    int y = TextAreaTop() + (row_ - topRow_) * RowHeight();
    if (caret_.Style() == csBrief)
        y += FontHeight() - 2;
    view_.SetCaretPos(x, y);
}

void TEditorCore::FocusChanged(bool focused)
{
    if (focused)
        RebuildCaret();
}

void TEditorCore::SetCaretByIndex(int firstRow, int index)
{
    CaretSequence sequence(*this);
    const auto [r, rowIndex] = RowIndexOf(firstRow, index);
    row_ = r;
    const std::string_view text = RowView(r);
    const CellMapOptions options = MapOptions();
    // The caret stops at column 1001: the walk goes no further.
    col_ = ColumnFromCharIndex(text, static_cast<std::size_t>(rowIndex), options, 1001);
    Normalise(Move::Horizontal, false, false);
}

std::pair<int, int> TEditorCore::RowIndexOf(int firstRow, int index) const
{
    const int count = store_.GetCount();
    int r = std::max(0, firstRow);
    index = std::max(0, index);
    if (r >= count) {
        // The row after the last, or the last row's end when there is none.
        r = count;
        if (count > 0 && store_.GetRowAttribute(count - 1) == raEndOfText)
            --r;
        index = r < count ? static_cast<int>(store_.RowLength(r)) : 0;
    } else {
        for (;;) {
            const int len = static_cast<int>(store_.RowLength(r));
            const uint8_t attr = store_.GetRowAttribute(r);
            const bool last = r == count - 1;
            if (attr == raWrapped && !last) {
                if (index < len)
                    break;
                index -= len;
                ++r;
                continue;
            }
            if (index <= len)
                break;
            if (last) {
                // Beyond a final line break lies the empty row after the
                // last; beyond anything else, the end of the last row.
                if (attr == raLineBreak && index >= len + 2) {
                    r = count;
                    index = 0;
                } else {
                    index = len;
                }
                break;
            }
            const int brk = attr == raLineBreak ? 2 : 0;
            if (index < len + brk) {
                index = len;
                break;
            }
            index -= len + brk;
            ++r;
        }
    }
    return {r, index};
}

int TEditorCore::RowColToCharIndex(int row, int col) const
{
    const int count = store_.GetCount();
    if (row < 0 || row > count || col < 0)
        return -1;
    if (row == count)
        return 0;
    const std::string_view text = RowView(row);
    const std::string map = BuildMap(row);
    return CharStartFromColumn(map, text.size(), col) + OffsetInLine(row);
}

int TEditorCore::SelStart() const
{
    int row = row_;
    int index;
    if (Selected()) {
        row = selChars_.StartRow;
        index = selChars_.StartCol;
    } else {
        const std::string map = BuildMap(row_);
        index = row_ < store_.GetCount() ? CharStartFromColumn(map, store_.RowLength(row_), col_) : 0;
    }
    int offset = index;
    for (int r = 0; r < row && r < store_.GetCount(); ++r)
        offset += static_cast<int>(store_.RowLength(r)) + (store_.GetRowAttribute(r) == raLineBreak ? 2 : 0);
    return offset;
}

// --- selection -------------------------------------------------------------

void TEditorCore::Anchor()
{
    anchorRow_ = row_;
    anchorCol_ = col_;
    selectionState_ = 1;
}

void TEditorCore::ExtendSelection()
{
    TEditorSelectionRange d;
    if (anchorRow_ < row_ || (anchorRow_ == row_ && anchorCol_ <= col_))
        d = {anchorRow_, anchorCol_, row_, col_};
    else
        d = {row_, col_, anchorRow_, anchorCol_};
    if (boxMode_ && d.StartCol > d.EndCol)
        std::swap(d.StartCol, d.EndCol);

    auto charIndex = [this](int row, int col) {
        if (row >= store_.GetCount())
            return 0;
        const std::string map = BuildMap(row);
        return CharStartFromColumn(map, store_.RowLength(row), col);
    };
    ShowSelection(d, {d.StartRow, charIndex(d.StartRow, d.StartCol), d.EndRow, charIndex(d.EndRow, d.EndCol)});
}

void TEditorCore::ShowSelection(const TEditorSelectionRange& d, const TEditorSelectionRange& chars)
{
    const TEditorSelectionRange old = selDisplay_;
    const bool wasSelected = selectionState_ >= 2;
    selDisplay_ = d;
    selChars_ = chars;
    selectionState_ = 2;

    if (wasSelected && !boxMode_) {
        view_.InvalidateRows(std::min(old.StartRow, d.StartRow), std::max(old.StartRow, d.StartRow));
        view_.InvalidateRows(std::min(old.EndRow, d.EndRow), std::max(old.EndRow, d.EndRow));
    } else if (wasSelected) {
        view_.InvalidateRows(std::min(old.StartRow, d.StartRow), std::max(old.EndRow, d.EndRow));
    } else {
        view_.InvalidateRows(d.StartRow, d.EndRow);
    }
    if (OnSelectionChange)
        OnSelectionChange(true);
}

void TEditorCore::ClearSelection()
{
    if (selectionState_ == 0)
        return;
    if (selectionState_ >= 2)
        view_.InvalidateRows(selDisplay_.StartRow, selDisplay_.EndRow);
    selectionState_ = 0;
    if (caretOverHit_) {
        caretOverHit_ = false;
        RebuildCaret();
    }
    if (OnSelectionChange)
        OnSelectionChange(false);
}

void TEditorCore::Select(int anchorRow, int anchorCol, int caretRow, int caretCol)
{
    CaretSequence sequence(*this);
    ClearSelection();
    SetRowCol(anchorRow, anchorCol);
    Anchor();
    SetRowCol(caretRow, caretCol);
    ExtendSelection();
}

bool TEditorCore::HasSelectedText() const
{
    return selectionState_ == 2
        && (selChars_.StartRow != selChars_.EndRow || selChars_.StartCol != selChars_.EndCol);
}

// --- what the row store tells ----------------------------------------------

void TEditorCore::StoreCleared()
{
    AbandonPress();
    ClearSelection();
    row_ = col_ = 0;
    topRow_ = topCol_ = 0;
    desiredValid_ = false;
    view_.InvalidateAll();
    UpdateScrollBars();
    CaretChanged();
}

void TEditorCore::RepaintChange(const TPendingUpdate& update)
{
    const int first = update.FirstRow;
    const int delta = update.NewRowCount - update.OldRowCount;
    const int screenEnd = topRow_ + VisibleRows() + 1;
    if (std::abs(delta) > VisibleRows()) {
        view_.InvalidateRows(topRow_, screenEnd);
        return;
    }
    const int last = first + update.NewRowCount + std::max(0, update.ReparsedRowCount - update.NewRowCount);
    if (delta == 0) {
        view_.InvalidateRows(first, last);
        return;
    }
    // The rows below the change keep their pictures: they move by delta rows.
    view_.ScrollRowsBelow(first + std::min(update.OldRowCount, update.NewRowCount), delta);
    view_.InvalidateRows(first, last - 1);
    if (store_.GetCount() < last)
        view_.InvalidateRows(store_.GetCount(), screenEnd);
    // Row numbers stay where they are while the rows move under them.
    if (leftbar_.Visible() && leftbar_.ShowNumber())
        view_.InvalidateLeftbar(std::min(first, last), screenEnd);
}

void TEditorCore::AbandonPress()
{
    // The text or its rows changed under a press (a key, an input-method
    // result or a re-wrap while the button is held): the rows and cells the
    // press recorded no longer hold, so the rest of it is ignored until the
    // button comes up.
    if (!mouseDown_ && dragState_ == 0)
        return;
    dragState_ = 0;
    rowSelecting_ = false;
    if (mouseDown_)
        ignoreUntilUp_ = true;
}

void TEditorCore::ListChanged(const TPendingUpdate& update)
{
    if (update.Pending)
        AbandonPress();
    if (update.Pending)
        RepaintChange(update);
    if (leftbar_.Visible() && TextAreaLeft() != lastTextAreaLeft_) {
        lastTextAreaLeft_ = TextAreaLeft();
        view_.InvalidateAll();
        PlaceCaret();
    }
    UpdateScrollRanges();
    if (update.Pending) {
        modified_ = true;
        if (OnChange)
            OnChange();
    }
}

void TEditorCore::ClampRows(int maxRow)
{
    maxRow = std::max(0, maxRow);
    if (row_ > maxRow)
        row_ = maxRow;
    if (topRow_ > maxRow) {
        topRow_ = maxRow;
        view_.InvalidateAll();
        UpdateScrollBars();
    }
}

void TEditorCore::RowsRewrapped()
{
    AbandonPress();
    ClearSelection();
    col_ = 0;
    desiredValid_ = false;
    row_ = std::min(row_, store_.MaxCaretRow());
    view_.InvalidateAll();
    UpdateScrollRanges();
    CaretChanged();
}

void TEditorCore::BeginLinesUpdate()
{
    ++linesUpdate_;
    HideCaret();
}

void TEditorCore::EndLinesUpdate()
{
    ShowCaret();
    if (linesUpdate_ > 0 && --linesUpdate_ == 0 && caretSequence_ == 0) {
        if (caretDirty_)
            FlushCaret();
        else
            RebuildCaret();
    }
}

void TEditorCore::Undo()
{
    ClearSelection();
    CaretSequence sequence(*this);
    store_.Undo();
}

void TEditorCore::Redo()
{
    ClearSelection();
    CaretSequence sequence(*this);
    store_.Redo();
}

void TEditorCore::ScrollRequest(bool vertical, TScrollRequest request, int position)
{
    const int page = vertical ? VisibleRows() : VisibleCols();
    const int top = vertical ? topRow_ : topCol_;
    const int max = vertical ? MaxTopRow() : VisibleCols() / 2 + 1000;
    int step = 0;
    switch (request) {
    case TScrollRequest::LineBack:
        step = -1;
        break;
    case TScrollRequest::LineForward:
        step = 1;
        break;
    case TScrollRequest::PageBack:
        step = -std::max(1, page);
        break;
    case TScrollRequest::PageForward:
        step = std::max(1, page);
        break;
    case TScrollRequest::ToStart:
        step = -top;
        break;
    case TScrollRequest::ToEnd:
        step = max - top;
        break;
    case TScrollRequest::Thumb:
        step = position - top;
        break;
    }
    step = std::clamp(top + step, 0, max) - top;
    if (step == 0)
        return;
    if (!vertical) {
        SetTopCol(top + step);
        return;
    }
    SetTopRow(top + step);
    if (caret_.LockScroll())
        SetRow(row_ + step);
}

uint16_t TEditorCore::GetRowMarks(int row) const
{
    return row >= 0 && row < store_.GetCount() ? store_.GetRowMarks(row) : 0;
}

void TEditorCore::SetRowMarks(int row, uint16_t marks)
{
    if (row < 0 || row >= store_.GetCount())
        return;
    const uint16_t old = store_.GetRowMarks(row);
    if (old == marks)
        return;
    store_.SetRowMarks(row, marks);
    store_.IncludeMarks(static_cast<uint16_t>(marks & ~old));
    store_.ExcludeMarks(static_cast<uint16_t>(old & ~marks));
    if (imagebar_.Visible())
        view_.InvalidateRows(row, row);
}
