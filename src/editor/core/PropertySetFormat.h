#pragma once
#include <cstddef>
#include <cstdint>

// The bytes of a stored property set. A value starts with the signature
// "SCPS" and a 16-bit version, then holds records up to its end:
//
//   u8 name length (1..255), the name ("Caret.AutoIndent"),
//   u8 tag, u32 payload size, the payload.
//
// Numbers are little-endian. The payload of each tag:
//   Integer     4 bytes, signed (colours are their 32 bits)
//   Boolean     1 byte, 0 or 1
//   String      the bytes themselves
//   Strings     u32 count, then each string as u32 length + bytes
//   Collection  u32 count, then each item as u32 size + a block of records
//               named relative to the item ("LeftBracket")
//
// A reader skips records whose names it does not know, by their size.
namespace PropertySetFormat {

inline constexpr char Signature[4] = {'S', 'C', 'P', 'S'};
inline constexpr uint16_t Version = 1;
inline constexpr std::size_t HeaderSize = 6;
inline constexpr std::size_t MaxNameLength = 255;

enum class Tag : uint8_t {
    Integer = 1,
    Boolean = 2,
    String = 3,
    Strings = 4,
    Collection = 5,
};

}  // namespace PropertySetFormat
