#pragma once
#include <string>

#include "editor/core/LogicalLineReader.h"

class TEditorScreenStrings;

// Finds the partner of the bracket right of the caret: "(" ")", "[" "]" or
// "{" "}". Only brackets of the caret's kind count, nested ones of that
// kind included; a backslash does not escape a bracket. Text from a line's
// first "%" on is a comment and holds no brackets, and the second byte of a
// double-byte character is never a bracket.
//
// The search reads the editor's rows as they stand, a line at a time, and
// copies nothing but the odd line that word wrap split over rows; it has no
// limit on distance. The document must not change during a Match.
class TCorRelation {
public:
    explicit TCorRelation(const TEditorScreenStrings& store) : lines_(store) {}

    // `caretIndex`: bytes of logical line `line` before the caret (below 0
    // counts as 0). True when the byte there is a bracket, outside any
    // comment and at a character start, and its partner was found. The
    // caret's bracket is recorded on its side (open or close) whether or
    // not the partner is found; the other side stays at 0, 0, "".
    bool Match(int line, int caretIndex);

    int OpenLine = 0;
    int OpenCol = 0;          // byte offset in the line
    std::string OpenBracket;  // one byte, or empty
    int CloseLine = 0;
    int CloseCol = 0;
    std::string CloseBracket;

private:
    LogicalLineReader lines_;
};
