#pragma once
#include <cstddef>
#include <optional>
#include <string_view>

// The bytes [Begin, End) of a word in a row.
struct WordRange {
    std::size_t Begin = 0;
    std::size_t End = 0;
};

// The run of characters of one class that holds the character at byte
// `index` of `row`, as a double click selects it: a Latin word (letters,
// digits, "_"), a TeX command with its backslash, a run of half-width
// katakana, of double-byte digits, of double-byte Latin letters, of kanji, of
// hiragana or of katakana. Nothing for any other character (blanks, TABs,
// symbols) or an index at or past the row's end. The row is walked from its
// start, so a trail byte 0x5C is never taken for a backslash.
std::optional<WordRange> WordAtIndex(std::string_view row, std::size_t index);
