// TEditorCore: character input and the text changes made by keys.
//
// Every change rewrites the rows it touches with one ReplaceRows (one undo
// step). OnChange fires when that call's update block ends, while the caret
// still stands where it was; only then is the caret moved (SetCaretByIndex),
// which fires OnCaretMoved.
#include <algorithm>
#include <vector>

#include "editor/core/BoxColumns.h"
#include "editor/core/RowIndent.h"
#include "editor/core/ShiftJis.h"
#include "editor/core/TEditorCore.h"

namespace {

// How far the caret index moves over `text`: a line break (CR LF, or a lone
// CR or LF, which the store also takes as one) counts 2, as the caret walk
// of SetCaretByIndex counts it.
int CaretLength(std::string_view text)
{
    int n = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            n += 2;
        } else if (text[i] == '\n') {
            n += 2;
        } else {
            ++n;
        }
    }
    return n;
}

std::string Spaces(int n) { return std::string(static_cast<std::size_t>(std::max(0, n)), ' '); }

constexpr std::size_t MaxImeResult = 2048;

}  // namespace

int TEditorCore::CaretBaseRow(int first, int baseRow, int& index) const
{
    // Count the caret's place from a row the store leaves as it is, so that
    // neither side walks a long line from its start.
    const int start = std::min(baseRow, store_.FirstRowToRebreak(first));
    for (int r = start; r < baseRow; ++r)
        index += static_cast<int>(store_.RowLength(r));
    return start;
}

void TEditorCore::Replace(int first, int count, std::string_view text, int baseRow, int index)
{
    const int start = CaretBaseRow(first, baseRow, index);
    store_.ReplaceRows(first, count, text);
    SetCaretByIndex(start, index);
}

void TEditorCore::ReplaceInRow(int row, std::size_t at, std::size_t count, std::string_view text, int index)
{
    const int start = CaretBaseRow(row, row, index);
    store_.ReplaceInRow(row, at, count, text);
    SetCaretByIndex(start, index);
}

bool TEditorCore::KeyPress(std::string_view chars, TShiftState shift)
{
    bool handled = true;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(chars[i]);
        const bool pair = IsLeadByte(c) && i + 1 < chars.size() && static_cast<unsigned char>(chars[i + 1]) >= 64;
        const std::size_t length = pair ? 2 : 1;
        const std::string_view ch = chars.substr(i, length);
        i += length - 1;
        if (imePending_ > 0) {
            // The input method's result arrives again as characters: drop them.
            imePending_ = std::max(0, imePending_ - static_cast<int>(length));
            continue;
        }
        if (MouseCaptured())
            continue;
        if (pair) {
            if (!readOnly_)
                InsertText(ch);
            continue;
        }
        switch (c) {
        case 8:
            if (!readOnly_)
                BackSpaceKey();
            break;
        case 9:
            if (!wantTabs_)
                handled = false;
            else if (!readOnly_ && (shift & (ssShift | ssCtrl)) == 0)
                TabKey();
            break;
        case 13:
            if (!wantReturns_)
                handled = false;
            else if (!readOnly_)
                EnterKey((shift & ssShift) != 0);
            break;
        default:
            if (((c >= 32 && c <= 126) || c >= 160) && !readOnly_)
                InsertText(ch);
            break;
        }
    }
    return handled;
}

void TEditorCore::ImeResult(std::string_view text, bool swallowEchoes)
{
    if (readOnly_ || text.empty())
        return;
    if (text.size() > MaxImeResult)
        text = text.substr(0, CharStart(text, MaxImeResult));
    InsertText(text);
    imePending_ = swallowEchoes ? static_cast<int>(text.size()) : 0;
}

void TEditorCore::InsertText(std::string_view text)
{
    if (ReplacedSelection(text))
        return;
    const int count = store_.GetCount();
    const int r = row_;
    if (r >= count) {
        // The empty row after the last line.
        const std::string inserted = Spaces(col_) + std::string(text);
        Replace(count, 0, inserted, count, CaretLength(inserted));
        return;
    }
    const std::string_view row = RowView(r);
    const std::string map = BuildMap(r);
    const int width = DisplayWidthUpTo(row, MapOptions(), col_ + 1);  // enough to compare with the caret
    int index;
    int pad = 0;
    if (col_ > width) {
        index = static_cast<int>(row.size());
        pad = col_ - width;
    } else {
        index = CharIndexFromColumn(map, row.size(), col_);
    }
    const int caret = index + pad + CaretLength(text);
    if (pad > 0)
        ReplaceInRow(r, static_cast<std::size_t>(index), 0, Spaces(pad) + std::string(text), caret);
    else
        ReplaceInRow(r, static_cast<std::size_t>(index), 0, text, caret);
}

bool TEditorCore::ReplacedSelection(std::string_view text)
{
    if (HasSelectedText()) {
        ReplaceSelection(text);
        return true;
    }
    ClearSelection();
    return false;
}

void TEditorCore::ReplaceSelection(std::string_view text)
{
    if (boxMode_) {
        ReplaceBox(text);
        return;
    }
    const TEditorSelectionRange s = selChars_;
    ClearSelection();
    const int count = store_.GetCount();
    if (s.StartRow >= count) {
        SetCaretByIndex(s.StartRow, 0);
        if (!text.empty())
            InsertText(text);
        return;
    }
    const int last = std::min(s.EndRow, count - 1);
    if (s.EndRow == s.StartRow) {
        // Within one row.
        const auto removed = static_cast<std::size_t>(std::max(0, s.EndCol - s.StartCol));
        ReplaceInRow(s.StartRow, static_cast<std::size_t>(s.StartCol), removed, text, s.StartCol + CaretLength(text));
        return;
    }
    std::string changed(RowView(s.StartRow).substr(0, static_cast<std::size_t>(s.StartCol)));
    changed += text;
    if (s.EndRow < count) {
        changed += RowView(s.EndRow).substr(static_cast<std::size_t>(s.EndCol));
        changed += BreakAfter(s.EndRow);
    }
    Replace(s.StartRow, last - s.StartRow + 1, changed, s.StartRow, s.StartCol + CaretLength(text));
}

void TEditorCore::DeleteKey()
{
    if (ReplacedSelection({}))
        return;
    const int count = store_.GetCount();
    const int r = row_;
    if (r >= count)
        return;
    const std::string_view row = RowView(r);
    const std::string map = BuildMap(r);
    const int width = DisplayWidthUpTo(row, MapOptions(), col_ + 1);  // enough to compare with the caret
    const uint8_t attr = RowAttribute(r);

    if (col_ < width) {
        const std::size_t at = static_cast<std::size_t>(CharStartFromColumn(map, row.size(), col_));
        ReplaceInRow(r, at, NextCharStart(row, at) - at, {}, static_cast<int>(at));
    } else if (attr == raWrapped) {
        // The end of a wrapped row is the start of the next: delete there.
        const std::string_view next = RowView(r + 1);
        std::string changed(row);
        changed += next.substr(NextCharStart(next, 0));
        changed += BreakAfter(r + 1);
        Replace(r, 2, changed, r, static_cast<int>(row.size()));
    } else if (attr == raLineBreak) {
        // Join with the next line, the row first padded up to the caret.
        const int pad = col_ - width;
        const std::string changed = std::string(row) + Spaces(pad);
        Replace(r, 1, changed, r, static_cast<int>(changed.size()));
    }
}

void TEditorCore::BackSpaceKey()
{
    if (ReplacedSelection({}))
        return;
    const int count = store_.GetCount();
    const int r = row_;
    const std::string_view row = RowView(r);
    const CellMapOptions options = MapOptions();
    const int width = DisplayWidthUpTo(row, options, col_ + 1);  // enough to compare with the caret

    if (col_ > width) {
        // Beyond the row end: only the caret moves.
        SetCol(col_ - 1);
        return;
    }
    const std::string map = BuildMap(r);
    const int index = r < count ? CharIndexFromColumn(map, row.size(), col_) : 0;
    if (index == 0) {
        if (r == 0)
            return;
        const std::string_view prev = RowView(r - 1);
        if (RowAttribute(r - 1) == raWrapped) {
            // The start of a continued row is the end of the row before:
            // delete that row's last character.
            const std::size_t at = PrevCharStart(prev, prev.size());
            Replace(r - 1, 1, prev.substr(0, at), r - 1, static_cast<int>(at));
        } else {
            // Join the two lines: the previous row loses its line break.
            Replace(r - 1, 1, prev, r - 1, static_cast<int>(prev.size()));
        }
        return;
    }

    const int lineRow = store_.LineStartRow(r);
    if (caret_.BackSpaceUnIndent() && col_ == RowIndent(row, options)) {
        // Back to the indent of the nearest less indented row above.
        int target = 0;
        for (int k = r - 1; k >= 0; --k) {
            const int indent = RowIndent(RowView(k), options);
            if (indent < 0 || (indent == 0 && k >= lineRow))
                continue;
            if (indent < col_) {
                target = indent;
                break;
            }
        }
        const std::size_t indentLength = IndentLength(row);
        const std::string indent = CutIndent(row.substr(0, indentLength), target, options);
        ReplaceInRow(r, 0, indentLength, indent, static_cast<int>(indent.size()));
        return;
    }

    // The character before the caret: both bytes of a double-byte
    // character, the whole TAB from inside its cells.
    const std::size_t at = static_cast<std::size_t>(CharStartFromColumn(map, row.size(), col_ - 1));
    ReplaceInRow(r, at, NextCharStart(row, at) - at, {}, static_cast<int>(at));
}

void TEditorCore::TabKey()
{
    const int tab = caret_.TabSpaceCount();
    int n = tab - col_ % tab;
    if (store_.WordWrap()) {
        const int wrapByte = store_.WrapOption().WrapByte();
        n = std::min(n, wrapByte - col_ % wrapByte);
    }
    InsertText(caret_.SoftTab() ? Spaces(n) : std::string("\t"));
}

int TEditorCore::EnterIndent(int row) const
{
    if (!caret_.AutoIndent())
        return 0;
    const CellMapOptions options = MapOptions();
    const int first = row < store_.GetCount() ? store_.LineStartRow(row) : row;
    const std::string_view firstText = RowView(first);
    const int indent = RowIndent(firstText, options);
    int f = indent;
    if (row == first && col_ < indent)
        f = col_;
    if (indent < 1 && caret_.PrevSpaceIndent() && row == first && firstText.empty()) {
        for (int k = std::min(first, store_.GetCount()) - 1; k >= 0; --k) {
            if (store_.RowLength(k) > 0) {
                f = RowIndent(RowView(k), options);
                break;
            }
        }
    }
    return std::max(0, f);
}

void TEditorCore::EnterKey(bool shift)
{
    if (shift && HasSelectedText())
        return;
    if (HasSelectedText())
        ReplaceSelection({});
    ClearSelection();
    const int count = store_.GetCount();
    const int r = row_;
    const std::string indent = IndentText(EnterIndent(r), caret_.TabIndent(), caret_.TabSpaceCount());

    if (shift) {
        // An empty line, indented, above the caret's logical line.
        const int first = r < count ? store_.LineStartRow(r) : count;
        Replace(first, 0, indent + "\r\n", first, static_cast<int>(indent.size()));
        return;
    }
    if (r >= count) {
        Replace(count, 0, "\r\n", count, 2);
        return;
    }
    const std::string_view row = RowView(r);
    const std::string map = BuildMap(r);
    const int width = DisplayWidthUpTo(row, MapOptions(), col_ + 1);  // enough to compare with the caret
    const int index = col_ > width ? static_cast<int>(row.size()) : CharIndexFromColumn(map, row.size(), col_);
    std::string changed(row.substr(0, static_cast<std::size_t>(index)));
    changed += "\r\n";
    changed += indent;
    changed += row.substr(static_cast<std::size_t>(index));
    changed += BreakAfter(r);
    Replace(r, 1, changed, r, index + 2 + static_cast<int>(indent.size()));
}

// --- selection text and the clipboard ----------------------------------------

std::string TEditorCore::SelText() const
{
    if (selectionState_ < 2)
        return {};
    const int count = store_.GetCount();
    std::string text;
    if (boxMode_) {
        const CellMapOptions options = MapOptions();
        for (int r = selDisplay_.StartRow; r <= selDisplay_.EndRow && r < count; ++r) {
            if (r > selDisplay_.StartRow)
                text += "\r\n";
            const std::string_view row = RowView(r);
            const BoxBytes box = BoxBytesOfRow(row, selDisplay_.StartCol, selDisplay_.EndCol, options);
            text += row.substr(box.Begin, box.End - box.Begin);
        }
        return text;
    }
    text.reserve(static_cast<std::size_t>(SelLength()));
    ForEachSelectedPiece([&](std::string_view piece) { text += piece; });
    return text;
}

int TEditorCore::SelLength() const
{
    if (selectionState_ < 2)
        return 0;
    if (boxMode_)
        return static_cast<int>(SelText().size());
    std::size_t length = 0;
    ForEachSelectedPiece([&](std::string_view piece) { length += piece.size(); });
    return static_cast<int>(length);
}

template <typename F>
void TEditorCore::ForEachSelectedPiece(F&& f) const
{
    const int count = store_.GetCount();
    const TEditorSelectionRange& s = selChars_;
    for (int r = s.StartRow; r <= s.EndRow && r < count; ++r) {
        const std::string_view row = RowView(r);
        const std::size_t from = r == s.StartRow ? static_cast<std::size_t>(s.StartCol) : 0;
        const std::size_t to = r == s.EndRow ? static_cast<std::size_t>(s.EndCol) : row.size();
        if (from < to)
            f(row.substr(from, to - from));
        if (r < s.EndRow && RowAttribute(r) == raLineBreak)
            f(std::string_view("\r\n"));
    }
}

void TEditorCore::SetSelText(std::string_view text)
{
    if (readOnly_)
        return;
    if (text.empty()) {
        if (HasSelectedText())
            ReplaceSelection({});
        else
            ClearSelection();
        return;
    }
    InsertText(text);
}

void TEditorCore::SetBoxMode(bool value)
{
    if (value == boxMode_)
        return;
    boxMode_ = value;
    if (selectionState_ >= 2) {
        view_.InvalidateRows(selDisplay_.StartRow, selDisplay_.EndRow);
        ExtendSelection();
    }
    if (OnSelectionModeChange)
        OnSelectionModeChange();
}

void TEditorCore::SelectAll()
{
    CaretSequence sequence(*this);
    ClearSelection();
    MoveRow(0, false);
    MoveCol(0);
    Anchor();
    const int count = store_.GetCount();
    MoveRow(count, false);
    MoveCol(row_ < count ? RowWidth(row_) : 0);
    ExtendSelection();
}

void TEditorCore::CopyToClipboard()
{
    if (!Selected())
        return;
    const std::string text = SelText();
    view_.SetClipboard(text, boxMode_ ? std::optional<std::string>(text) : std::nullopt);
}

void TEditorCore::EmptyClipboard() { view_.SetClipboard(std::string(), std::nullopt); }

void TEditorCore::CopyTextToClipboard(const std::string& text) { view_.SetClipboard(text, std::nullopt); }

void TEditorCore::CutToClipboard()
{
    // A read-only editor ignores a cut altogether: it does not even copy.
    if (readOnly_ || !Selected())
        return;
    CopyToClipboard();
    ReplaceSelection({});
}

void TEditorCore::PasteFromClipboard()
{
    if (readOnly_)
        return;
    const std::optional<std::string> text = view_.ClipboardText();
    if (!text)
        return;
    if (view_.ClipboardHasBoxFormat())
        PasteBox(*text);
    else
        SetSelText(*text);
}

void TEditorCore::PasteBox(std::string_view text)
{
    if (readOnly_)
        return;
    ClearSelection();
    std::vector<std::string_view> pieces;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find_first_of("\r\n", start);
        pieces.push_back(text.substr(start, end == std::string_view::npos ? text.npos : end - start));
        if (end == std::string_view::npos)
            break;
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    // A final line break ends the box's last line; it starts no other.
    if (pieces.size() > 1 && pieces.back().empty())
        pieces.pop_back();
    const int count = store_.GetCount();
    const int first = row_;
    const int col = col_;
    const int existing = std::clamp(count - first, 0, static_cast<int>(pieces.size()));
    const CellMapOptions options = MapOptions();
    std::string changed;
    int caretIndex = 0;
    for (int k = 0; k < static_cast<int>(pieces.size()); ++k) {
        const int r = first + k;
        if (k < existing) {
            const std::string_view row = RowView(r);
            const int width = DisplayWidth(row, options);
            const std::size_t at = col > width ? row.size()
                                               : static_cast<std::size_t>(
                                                     CharStartFromColumn(BuildMap(r), row.size(), col));
            changed += row.substr(0, at);
            changed += Spaces(col - width);
            changed += pieces[k];
            if (k == 0)
                caretIndex = static_cast<int>(changed.size());
            changed += row.substr(at);
            if (k + 1 < static_cast<int>(pieces.size()) && RowAttribute(r) == raEndOfText)
                changed += "\r\n";  // the box goes on below the text's end
            else
                changed += BreakAfter(r);
        } else {
            changed += Spaces(col);
            changed += pieces[k];
            if (k == 0)
                caretIndex = static_cast<int>(changed.size());
            if (k + 1 < static_cast<int>(pieces.size()))
                changed += "\r\n";
        }
    }
    const int replaced = existing;
    Replace(std::min(first, count), replaced, changed, std::min(first, count), caretIndex);
}

void TEditorCore::ReplaceBox(std::string_view text)
{
    const TEditorSelectionRange d = selDisplay_;
    ClearSelection();
    const int count = store_.GetCount();
    const int last = std::min(d.EndRow, count - 1);
    if (d.StartRow > last) {
        SetRowCol(d.StartRow, d.StartCol);
        if (!text.empty())
            InsertText(text);
        return;
    }
    // The box's rows without their boxed bytes, the text put in on the first.
    const CellMapOptions options = MapOptions();
    std::string changed;
    int caretIndex = 0;
    for (int r = d.StartRow; r <= last; ++r) {
        const std::string_view row = RowView(r);
        const BoxBytes box = BoxBytesOfRow(row, d.StartCol, d.EndCol, options);
        changed += row.substr(0, box.Begin);
        if (r == d.StartRow) {
            if (!text.empty())
                changed += Spaces(d.StartCol - box.BeginCol);
            changed += text;
            caretIndex = static_cast<int>(changed.size());
        }
        changed += row.substr(box.End);
        changed += BreakAfter(r);
    }
    Replace(d.StartRow, last - d.StartRow + 1, changed, d.StartRow, caretIndex);
}
