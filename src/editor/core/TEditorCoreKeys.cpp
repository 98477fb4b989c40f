// TEditorCore: navigation keys and word jumps.
#include <algorithm>

#include "editor/core/TEditorCore.h"
#include "editor/core/TFountainParser.h"
#include "editor/core/WordStarts.h"

bool TEditorCore::KeyDown(TEditorKey key, TShiftState shift, bool autoRepeat)
{
    const bool withShift = (shift & ssShift) != 0;
    const bool ctrl = (shift & ssCtrl) != 0;
    if (key == TEditorKey::Delete) {
        if (!readOnly_)
            DeleteKey();
        return true;
    }

    CaretSequence sequence(*this);
    if (withShift && selectionState_ == 0)
        Anchor();
    else if (!withShift && selectionState_ != 0)
        ClearSelection();

    const int count = store_.GetCount();
    switch (key) {
    case TEditorKey::PageUp:
        PageMove(-1, autoRepeat);
        break;
    case TEditorKey::PageDown:
        PageMove(1, autoRepeat);
        break;
    case TEditorKey::Home:
        if (ctrl)
            MoveRow(0, false);
        MoveCol(0);
        break;
    case TEditorKey::End:
        if (ctrl)
            MoveRow(count, false);
        MoveCol(row_ < count ? RowWidth(row_) : 0);
        break;
    case TEditorKey::Left:
        if (ctrl) {
            WordLeft();
        } else if (col_ > 0) {
            MoveCol(col_ - 1);
        } else if (row_ > 0 && (caret_.NextLine() || RowAttribute(row_ - 1) == raWrapped)) {
            MoveRow(row_ - 1, false);
            MoveCol(RowWidth(row_));
        }
        break;
    case TEditorKey::Right:
        if (ctrl) {
            WordRight();
        } else {
            const int before = col_;
            MoveCol(col_ + 1);
            const uint8_t attr = RowAttribute(row_);
            if (col_ == before && row_ < count && attr != raEndOfText
                && (caret_.NextLine() || attr == raWrapped)) {
                MoveRow(row_ + 1, false);
                MoveCol(0);
            }
        }
        break;
    case TEditorKey::Up:
        VerticalMove(-1, ctrl, autoRepeat);
        break;
    case TEditorKey::Down:
        VerticalMove(1, ctrl, autoRepeat);
        break;
    case TEditorKey::Delete:
        break;
    }
    if (withShift)
        ExtendSelection();
    return true;
}

void TEditorCore::PageMove(int direction, bool autoRepeat)
{
    const int factor = autoRepeat ? speed_.PageVerticalRangeAc() : speed_.PageVerticalRange();
    const int step = (VisibleRows() - 1) / 2 * factor;
    if (step == 0)
        return;
    SetTopRow(topRow_ + direction * step);
    MoveRow(std::max(0, row_ + direction * step), true);
}

void TEditorCore::VerticalMove(int direction, bool ctrl, bool autoRepeat)
{
    const int rows = VisibleRows();
    const bool atEdge = direction < 0 ? row_ == topRow_ : row_ == topRow_ + rows - 1;
    const int step = autoRepeat && atEdge ? speed_.CaretVerticalAc() : 1;
    if (ctrl) {
        // Scroll; the caret follows only when it would leave the window.
        SetTopRow(topRow_ + direction * step);
        if (row_ < topRow_)
            MoveRow(topRow_, true);
        else if (row_ > topRow_ + rows - 1)
            MoveRow(topRow_ + rows - 1, true);
        return;
    }
    if (direction < 0) {
        if (row_ > 0)
            MoveRow(std::max(0, row_ - step), true);
    } else if (row_ < store_.GetCount() && RowAttribute(row_) != raEndOfText) {
        MoveRow(row_ + step, true);
    }
}

TFountainParser& TEditorCore::WordScanner()
{
    if (!wordScanner_) {
        // The current scheme without its bracket pairs: a bracket region
        // would otherwise swallow the words inside it.
        const TFountain& source = fountain_ ? *fountain_ : viewInfo_.Fountain();
        wordFountain_.Assign(source);
        wordFountain_.Brackets().Clear();
        wordScanner_ = wordFountain_.CreateParser();
    }
    return *wordScanner_;
}

void TEditorCore::WordRight()
{
    const int count = store_.GetCount();
    if (row_ >= count)
        return;
    int r = row_;
    int from = col_;
    if (col_ >= RowWidth(r)) {
        if (r + 1 >= count)
            return;
        ++r;
        from = -1;
    }
    const std::vector<int> starts = WordStartColumns(WordScanner(), RowView(r), MapOptions());
    const auto next = std::upper_bound(starts.begin(), starts.end(), from);
    int row = r;
    int col;
    if (next != starts.end()) {
        col = *next;
    } else if (RowAttribute(r) == raWrapped) {
        row = r + 1;
        col = 0;
    } else {
        col = RowWidth(r);
    }
    if (row != row_ || col != col_) {
        MoveRow(row, false);
        MoveCol(col);
    }
}

void TEditorCore::WordLeft()
{
    int row = row_;
    int col = col_;
    if (col_ == 0 && row_ > 0) {
        row = row_ - 1;
        col = RowWidth(row);
        if (RowAttribute(row) == raLineBreak) {
            MoveRow(row, false);
            MoveCol(col);
            return;
        }
    }
    const std::vector<int> starts = WordStartColumns(WordScanner(), RowView(row), MapOptions());
    const auto after = std::lower_bound(starts.begin(), starts.end(), col);
    if (after != starts.begin()) {
        col = *(after - 1);
    } else if (row == 0) {
        col = 0;
    } else {
        --row;
        col = RowWidth(row);
    }
    if (row != row_ || col != col_) {
        MoveRow(row, false);
        MoveCol(col);
    }
}
