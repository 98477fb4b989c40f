#pragma once
#include <cstdint>

// How a search compares and in which direction it runs: a 16-bit set of the
// bits below. A plain integer so that stored settings and callers can pass
// combined values such as 387 (down, match case, skip line breaks, skip space).
using TSearchOptions = uint16_t;

enum TSearchOption : uint16_t {
    soDown = 1,             // forward from the selection end or caret; otherwise backward
    soMatchCase = 2,        // letters must match in case
    soWholeWord = 4,        // the byte after the match must separate words
    soFuzzy = 8,            // single-byte and double-byte forms of a character compare equal
    soSkipLineBreaks = 128, // CR and LF in the text are passed over inside a match
    soSkipSpace = 256,      // TAB, blank and the double-byte blank are passed over inside a match
};

constexpr bool HasSearchOption(TSearchOptions options, TSearchOption option)
{
    return (options & option) != 0;
}
