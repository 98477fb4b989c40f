#pragma once
#include <cstdint>

class TEditorCore;
class TEditorScreenStrings;

// The user's markings: rows whose mark set is exactly 1 (mark 0 alone), put
// and taken away with one key and visited with two more. A row whose set
// holds anything else is not marked for the jumps, and a toggle clears it.
// Rows are screen rows; the caret's column is not kept by a jump.
namespace Markings {

constexpr uint16_t kMarked = 1;

// Marks the caret row, or clears whatever marks it has. The caret stays.
void ToggleMarking(TEditorCore& editor);

// The nearest marked row above `row` (below it), or -1 when there is none.
// Reads the rows' mark words in place: no copy of the document is made.
int MarkedRowAbove(const TEditorScreenStrings& rows, int row);
int MarkedRowBelow(const TEditorScreenStrings& rows, int row);

// The caret goes to column 0 of the nearest marked row above (below) its
// row, leaving any selection; nothing happens when there is none. No
// wrap-around.
void GoToMarkingAbove(TEditorCore& editor);
void GoToMarkingBelow(TEditorCore& editor);

}  // namespace Markings
