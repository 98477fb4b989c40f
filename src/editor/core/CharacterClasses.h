#pragma once
#include <cstddef>
#include <string_view>

#include "editor/core/ShiftJis.h"

// The classes of characters the colouring scanner tells apart, for anything
// else that groups characters the same way. A double-byte character is
// taken as (lead << 8 | trail).
namespace CharacterClasses {

// The double-byte character at p, or 0 when the character at p is a single byte.
inline unsigned DbChar(std::string_view s, std::size_t p)
{
    if (CharLength(s, p) != 2)
        return 0;
    return static_cast<unsigned>(static_cast<unsigned char>(s[p])) << 8 | static_cast<unsigned char>(s[p + 1]);
}

constexpr bool InRange(unsigned c, unsigned lo, unsigned hi) { return c >= lo && c <= hi; }

// The prolonged sound mark and the double-byte minus belong to kana runs.
constexpr bool IsKanaMark(unsigned c) { return c == 0x815B || c == 0x817C; }

constexpr bool IsDbDigit(unsigned c) { return InRange(c, 0x824F, 0x8258) || c == 0x8143 || c == 0x8144; }
constexpr bool IsDbLatin(unsigned c) { return InRange(c, 0x8260, 0x8279) || InRange(c, 0x8281, 0x829A); }
constexpr bool IsHiragana(unsigned c) { return InRange(c, 0x829F, 0x82F1) || IsKanaMark(c); }
constexpr bool IsKatakana(unsigned c) { return InRange(c, 0x8340, 0x8396) || IsKanaMark(c); }
constexpr bool IsKanji(unsigned c)
{
    const unsigned lead = c >> 8;
    return InRange(lead, 0x88, 0x9F) || InRange(lead, 0xE0, 0xFC);
}

constexpr bool IsHalfKana(unsigned char c) { return c >= 0xA6 && c <= 0xDF; }

// Letters, digits and "_": the bytes of an identifier.
constexpr bool IsIdentChar(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

}  // namespace CharacterClasses
