#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "tex/TextLineSource.h"

// Whether a caret position lies inside math: between dollar signs, or
// between the opening and closing delimiters of one of the math delimiter
// pairs (BeginMath and EndMath, paired by position).
//
// The text is looked at as if every line were cut at its first "%" (escaped
// or not). Inline math is decided by the parity of the dollars before the
// caret, and a closing dollar must follow. For each pair the last line
// before the caret's line that holds the closing delimiter bounds the
// search for an opening one (the first line of the document only counts
// when the caret is on it), and the closing delimiter must follow the caret.
// Searches are plain byte substring searches.
//
// The lines are read from the source while IsMath runs; nothing is copied
// but the one line looked at, when the source must join it.
class TParseWord {
public:
    // With kindName "MATH" the pairs are taken from the two lists (as many
    // as the shorter holds); with any other kind only the dollars count.
    TParseWord(const TextLineSource& document, std::string_view kindName, const std::vector<std::string>& beginMath,
               const std::vector<std::string>& endMath);

    // Line L (a logical line; past the last line it counts as empty) and
    // C, the bytes of that line before the caret.
    bool IsMath(int line, int caretIndex) const;

private:
    // Line i without its comment (empty past the end); adds its dollars
    // to `dollars` when given.
    std::string_view CutLine(int index, std::string& scratch, size_t* dollars = nullptr) const;

    const TextLineSource& document_;
    std::vector<std::string> begin_;
    std::vector<std::string> end_;
    mutable int lines_ = 0;
};
