#pragma once
#include <string>

#include "editor/core/TSearchOptions.h"

class TEditorCore;

// One press of OK in the find and replace dialog (or of F3): a forward,
// case-sensitive search from the end of the selection (or the caret) that
// passes over line breaks and blanks inside a match, and in replace mode at
// most one replacement, of the selection the search leaves.
namespace FindReplace {

// soDown | soMatchCase | soSkipLineBreaks | soSkipSpace
constexpr TSearchOptions kOptions = 387;

struct Request {
    std::string Pattern;      // Shift-JIS bytes
    std::string Replacement;  // Shift-JIS bytes
    bool ReplaceMode = false;
};

// Returns whether the search found a hit. In replace mode the selection
// after the search, when not empty, is replaced by the replacement (an empty
// one deletes it) as one undoable edit: the hit, or, when nothing was found,
// the selection that was there before. An empty pattern does nothing.
bool Run(TEditorCore& editor, const Request& request);

}  // namespace FindReplace
