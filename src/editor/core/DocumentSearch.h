#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

#include "editor/core/TEditorScreenStrings.h"
#include "editor/core/TSearchOptions.h"

// Where a search found its pattern. The editor turns it into a caret and a
// selection.
struct SearchHit {
    int Row;        // the row the match starts in
    int CharIndex;  // byte offset of the match in that row
    int Length;     // bytes of document text covered, skipped CR LF and blanks included
};

// Searches the document for `pattern` with `options` (TSearchOptions bits).
//
// The text searched is the rows joined, with CR LF after every raLineBreak
// row; raWrapped rows run on into the next row without a break. A match
// starts only at a character start, never on the second byte of a
// double-byte character.
//
// With soDown the first match that starts at or after (fromRow, fromIndex)
// is found; without it the last match that starts before that point (the
// match may run on past it). There is no wrap-around. An empty pattern or
// an empty document finds nothing.
//
// Comparison:
// - Without soMatchCase letters compare in upper case: ASCII a-z, and the
//   double-byte Latin (ａ-ｚ), Greek and Cyrillic lower-case letters fold
//   onto their upper-case forms. Half-width katakana and kana have no case.
// - soFuzzy folds pattern and text with FuzzyFoldChar before comparing (and
//   then case, when soMatchCase is off): "ABC" matches "ＡＢＣ", "ｶﾞ" "ガ".
// - soSkipLineBreaks / soSkipSpace: once the first pattern character has
//   matched, CR and LF (resp. TAB, blank and the double-byte blank 0x81 0x40)
//   in the text that the pattern does not ask for at that point are passed
//   over.
// - soWholeWord: the byte right after the match must be a word delimiter
//   (IsDelimiter) or the end of the text.
std::optional<SearchHit> SearchDocument(const TEditorScreenStrings& store, std::string_view pattern,
                                        uint16_t options, int fromRow, int fromIndex);
