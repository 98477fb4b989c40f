#pragma once
#include <cstdint>

// A set of font styles. The empty set is TFontStyles{}.
enum TFontStyles : uint8_t {
    fsBold = 1,
    fsItalic = 2,
    fsUnderline = 4,
    fsStrikeOut = 8,
};

constexpr TFontStyles operator|(TFontStyles a, TFontStyles b)
{
    return static_cast<TFontStyles>(static_cast<uint8_t>(a) | static_cast<uint8_t>(b));
}
constexpr TFontStyles operator&(TFontStyles a, TFontStyles b)
{
    return static_cast<TFontStyles>(static_cast<uint8_t>(a) & static_cast<uint8_t>(b));
}
constexpr TFontStyles operator~(TFontStyles a)
{
    return static_cast<TFontStyles>(~static_cast<uint8_t>(a) & 0x0F);
}
constexpr TFontStyles& operator|=(TFontStyles& a, TFontStyles b) { return a = a | b; }
constexpr TFontStyles& operator&=(TFontStyles& a, TFontStyles b) { return a = a & b; }

// True when every style of `wanted` is in `set`.
constexpr bool HasStyle(TFontStyles set, TFontStyles wanted) { return (set & wanted) == wanted; }
