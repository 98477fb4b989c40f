#include "tex/LineOperations.h"

#include <algorithm>

#include "editor/core/ShiftJis.h"
#include "editor/core/TEditorCore.h"

namespace LineOperations {

namespace {

constexpr char kCommenter = '%';

bool IsLineBreakAt(std::string_view text, std::size_t i)
{
    return i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n';
}

// Rows [first, end) that hold logical lines [firstLine, lastLine], which exist.
struct RowSpan {
    int First;
    int End;
};

RowSpan RowsOfLines(const TEditorCore& editor, int firstLine, int lastLine)
{
    return {editor.LineToRow(firstLine), editor.LineToRow(lastLine + 1)};
}

// Where the caret stood and what was selected, to be put back over the same
// lines once they have changed.
struct Placement {
    bool Selected;
    LineSpan Lines;
    int CaretIndex;  // bytes of the caret's line before the caret
};

Placement PlacementOf(const TEditorCore& editor, const LineSpan& lines)
{
    const int index = editor.RowColToCharIndex(editor.Row(), editor.Col());
    return {editor.Selected(), lines, std::max(index, 0)};
}

void Restore(TEditorCore& editor, const Placement& placement, int caretShift)
{
    const int first = placement.Lines.First;
    const int last = std::min(placement.Lines.Last, editor.Store().LineCount() - 1);
    if (placement.Selected && first <= last) {
        const int endRow = editor.LineToRow(last + 1) - 1;
        editor.Select(editor.LineToRow(first), 0, endRow, editor.RowWidth(endRow));
        return;
    }
    if (placement.Selected) {
        // An emptied last line is gone: the caret goes to the row after the
        // lines, with nothing left to select.
        editor.SetRowCol(editor.LineToRow(first), 0);
        return;
    }
    const int index = std::max(placement.CaretIndex + caretShift, 0);
    editor.SetCaretByIndex(editor.LineToRow(placement.Lines.First), index);
}

}  // namespace

LineSpan TargetLines(const TEditorCore& editor)
{
    if (editor.Selected()) {
        const TEditorSelectionRange& range = editor.SelDisplay();
        return {editor.RowToLine(range.StartRow), editor.RowToLine(range.EndRow)};
    }
    const int line = editor.RowToLine(editor.Row());
    return {line, line};
}

// Calls f(line, hasBreak) for each line of `lines`: its text without the
// CR LF that ends it. A final CR LF starts no further line.
template <typename F>
void ForEachLine(std::string_view lines, F&& f)
{
    std::size_t start = 0;
    do {
        const std::size_t end = lines.find("\r\n", start);
        if (end == std::string_view::npos) {
            f(lines.substr(start), false);
            return;
        }
        f(lines.substr(start, end - start), true);
        start = end + 2;
    } while (start < lines.size());
}

std::string AddCommentMarks(std::string_view lines)
{
    std::string out;
    out.reserve(lines.size() + lines.size() / 16 + 1);
    ForEachLine(lines, [&](std::string_view line, bool hasBreak) {
        out += kCommenter;
        out += line;
        if (hasBreak)
            out += "\r\n";
    });
    return out;
}

std::string RemoveCommentMarks(std::string_view lines)
{
    std::string out;
    out.reserve(lines.size());
    ForEachLine(lines, [&](std::string_view line, bool hasBreak) {
        out += line.starts_with(kCommenter) ? line.substr(1) : line;
        if (hasBreak)
            out += "\r\n";
    });
    return out;
}

void CommentLines(TEditorCore& editor)
{
    if (editor.ReadOnly())
        return;
    TEditorScreenStrings& store = editor.Store();
    const LineSpan target = TargetLines(editor);
    const Placement placement = PlacementOf(editor, target);
    const int lineCount = store.LineCount();
    const int last = std::min(target.Last, lineCount - 1);
    // Without existing lines the text goes in after the last row.
    RowSpan rows{store.GetCount(), store.GetCount()};
    std::string text;
    if (target.First <= last) {
        rows = RowsOfLines(editor, target.First, last);
        text = AddCommentMarks(store.RowsText(rows.First, rows.End - rows.First).Text);
    }
    // The empty row after a final line break becomes a line of its own.
    if (target.Last >= lineCount)
        text += kCommenter;
    if (text.empty())
        return;
    editor.ClearSelection();
    store.ReplaceRows(rows.First, rows.End - rows.First, text);
    Restore(editor, placement, 1);
}

void UncommentLines(TEditorCore& editor)
{
    if (editor.ReadOnly())
        return;
    TEditorScreenStrings& store = editor.Store();
    const LineSpan target = TargetLines(editor);
    const int last = std::min(target.Last, store.LineCount() - 1);
    if (target.First > last)
        return;
    const RowSpan rows = RowsOfLines(editor, target.First, last);
    const std::string old = store.RowsText(rows.First, rows.End - rows.First).Text;
    const std::string text = RemoveCommentMarks(old);
    if (text.size() == old.size())
        return;
    const Placement placement = PlacementOf(editor, target);
    // Without a selection the caret's line is the one line: its caret keeps
    // its place in the text when the "%" before it goes.
    const bool caretLineChanges = store.RowView(rows.First).starts_with(kCommenter);
    editor.ClearSelection();
    store.ReplaceRows(rows.First, rows.End - rows.First, text);
    Restore(editor, placement, caretLineChanges && placement.CaretIndex > 0 ? -1 : 0);
}

void CutLine(TEditorCore& editor)
{
    if (editor.ReadOnly())
        return;
    const int line = editor.RowToLine(editor.Row());
    if (line >= editor.Lines().GetCount())
        return;
    editor.CopyTextToClipboard(editor.Lines().Get(line));
    editor.Lines().Delete(line);
}

void MoveToLineStart(TEditorCore& editor)
{
    const int line = editor.RowToLine(editor.Row());
    editor.ClearSelection();
    editor.SetRowCol(editor.LineToRow(line), 0);
}

void MoveToLineEnd(TEditorCore& editor)
{
    const int line = editor.RowToLine(editor.Row());
    editor.ClearSelection();
    if (line >= editor.Lines().GetCount()) {
        // The empty row after the last line ends where it begins.
        editor.SetRowCol(editor.Row(), 0);
        return;
    }
    // By byte index, not by column: a TAB is one byte but several columns.
    const int row = editor.LineToRow(line + 1) - 1;
    editor.SetCaretByIndex(row, static_cast<int>(editor.Store().RowLength(row)));
}

int CountCharacters(std::string_view text)
{
    std::string joined;
    joined.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsLineBreakAt(text, i))
            ++i;
        else
            joined += text[i];
    }
    int count = 0;
    for (std::size_t i = 0; i < joined.size(); i = NextCharStart(joined, i))
        ++count;
    return count;
}

}  // namespace LineOperations
