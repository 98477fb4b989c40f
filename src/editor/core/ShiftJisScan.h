#pragma once
#include <cstddef>
#include <string_view>

// Fast searches for ASCII bytes in Shift-JIS text, for scanners that look
// for a few single-byte characters (backslash, braces, brackets, "%") in
// whole documents: they look at 16 bytes at a time, and a candidate is told
// from the second byte of a double-byte character by looking back, not by
// walking the text from its start.

// The first i in [from, to) of p whose byte is a, b or c; `to` when none is.
std::size_t FindAnyOf(const char* p, std::size_t from, std::size_t to, char a, char b, char c);
// The last i before `end` whose byte is a or b; npos when none is.
std::size_t FindLastOf(const char* p, std::size_t end, char a, char b);

// Whether byte `pos` of `line` (which starts at a character start) is the
// second byte of a double-byte character; the same answer as
// IsSecondByteAt. For an ASCII byte only 0x40-0x7E can be: then it is one
// exactly when an odd number of bytes that can begin a character stand
// right before it (the byte before that run ends a character, and each
// byte that can begin one takes the byte after it as its second), so the
// look back stops at the first byte that cannot begin a character.
bool IsSecondByteBefore(std::string_view line, std::size_t pos);
