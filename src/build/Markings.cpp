#include "build/Markings.h"

#include <algorithm>

#include "editor/core/TEditorCore.h"

namespace Markings {

namespace {

// The mark set is the upper half of a row's state word.
constexpr uint32_t kMarkedWord = static_cast<uint32_t>(kMarked) << 16;

bool IsMarked(const TEditorScreenStrings& rows, int row)
{
    return (rows.GetStateWord(row) & 0xFFFF0000u) == kMarkedWord;
}

}  // namespace

void ToggleMarking(TEditorCore& editor)
{
    const int row = editor.Row();
    editor.SetRowMarks(row, editor.GetRowMarks(row) == 0 ? kMarked : 0);
}

int MarkedRowAbove(const TEditorScreenStrings& rows, int row)
{
    for (int r = std::min(row, rows.GetCount()) - 1; r >= 0; --r)
        if (IsMarked(rows, r))
            return r;
    return -1;
}

int MarkedRowBelow(const TEditorScreenStrings& rows, int row)
{
    const int count = rows.GetCount();
    for (int r = std::max(row + 1, 0); r < count; ++r)
        if (IsMarked(rows, r))
            return r;
    return -1;
}

void GoToMarkingAbove(TEditorCore& editor)
{
    const int row = MarkedRowAbove(editor.Store(), editor.Row());
    if (row < 0)
        return;
    editor.ClearSelection();
    editor.SetRowCol(row, 0);
}

void GoToMarkingBelow(TEditorCore& editor)
{
    const int row = MarkedRowBelow(editor.Store(), editor.Row());
    if (row < 0)
        return;
    editor.ClearSelection();
    editor.SetRowCol(row, 0);
}

}  // namespace Markings
