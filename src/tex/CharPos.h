#pragma once
#include <string_view>

// Searches for a one-byte character that step over double-byte characters:
// a 0x5C that is the second byte of a kanji is not a backslash.
//
// FirstCharPos: the 1-based position of the first single-byte character
// equal to `ch`; 0 when there is none. LastCharPos: the position of the last.
int FirstCharPos(char ch, std::string_view text);
int LastCharPos(char ch, std::string_view text);
