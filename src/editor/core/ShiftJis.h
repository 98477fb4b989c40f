#pragma once
#include <cstddef>
#include <string_view>

// Byte classes of Shift-JIS text and how a byte string splits into characters.
//
// A character is two bytes when a lead byte is followed by a byte that can be
// a trail byte; every other byte is a character of its own. That includes a
// lone lead byte (at the end of the text, or before a byte that cannot be a
// trail byte): it is one character, and never takes its neighbour with it.
//
// Trail bytes overlap ASCII (0x40-0x7E holds '@', '\\', '[', '|', ...), so the
// only safe way to know where characters start is to walk forward from a
// known character start. Nothing here ever guesses by scanning backward.

// 0x81-0x9F and 0xE0-0xFC begin a double-byte character.
constexpr bool IsLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// 0x40-0x7E and 0x80-0xFC may follow a lead byte.
constexpr bool IsTrailByte(unsigned char b)
{
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// Single bytes that separate words: controls, space and ASCII punctuation
// except '_', 0x80, 0xA0, the half-width punctuation 0xA1-0xA5 and 0xFD-0xFF.
// Letters, digits, '_' and half-width katakana 0xA6-0xDF are word characters.
// Lead bytes are not delimiters by this test; a lone one is classed by the
// cell map.
constexpr bool IsDelimiter(unsigned char b)
{
    return b <= 47 || (b >= 58 && b <= 64) || (b >= 91 && b <= 94) || b == 96
        || (b >= 123 && b <= 128) || (b >= 160 && b <= 165) || b >= 253;
}

// Length of the character starting at pos: 2 for a lead byte followed by a
// trail byte, otherwise 1; 0 when pos is at or past the end.
constexpr int CharLength(std::string_view s, std::size_t pos)
{
    if (pos >= s.size())
        return 0;
    if (IsLeadByte(static_cast<unsigned char>(s[pos])) && pos + 1 < s.size()
        && IsTrailByte(static_cast<unsigned char>(s[pos + 1])))
        return 2;
    return 1;
}

// Start of the character that contains byte pos, found by walking forward
// from knownStart, which must be a character start at or before pos (0, the
// start of a line, is always one). A pos at or past the end gives s.size();
// a knownStart after pos gives pos.
std::size_t CharStart(std::string_view s, std::size_t pos, std::size_t knownStart = 0);

// True when byte pos is the second byte of a double-byte character, e.g. a
// 0x5C that belongs to a kanji and is not a backslash.
bool IsSecondByteAt(std::string_view s, std::size_t pos, std::size_t knownStart = 0);

// Start of the character after the one at pos (pos must be a character start);
// s.size() at the end.
constexpr std::size_t NextCharStart(std::string_view s, std::size_t pos)
{
    return pos >= s.size() ? s.size() : pos + CharLength(s, pos);
}

// Start of the character before the one at pos (pos must be a character
// start), walking forward from knownStart; pos itself when it is at or
// before knownStart.
std::size_t PrevCharStart(std::string_view s, std::size_t pos, std::size_t knownStart = 0);
