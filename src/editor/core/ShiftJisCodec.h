#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// The one place where Shift-JIS bytes meet Unicode. Document bytes are never
// converted; painting decodes them for display and input encodes what the
// user typed. The mapping is the CP932 code page of glibc's iconv, read once
// into tables; characters are split by the rules of ShiftJis.h, never by
// iconv, so every character the cell map sees gets exactly one code point.
//
// Display mapping, per character:
//   - a valid double-byte pair: its CP932 code point; a pair CP932 leaves
//     undefined (e.g. 0x85 0x40): U+FFFD, one code point for both cells;
//   - a lone lead byte, and the single bytes CP932 leaves undefined (0x80,
//     0xA0, 0xFD-0xFF): U+FFFD;
//   - control bytes 0x00-0x1F except TAB: the control pictures U+2400 + byte,
//     0x7F: U+2421, so that NUL, CR, ESC and the like show where they stand;
//   - TAB: U+0009, laid out by the painter;
//   - 0x5C is U+005C (backslash, not yen) and 0x7E is U+007E;
//     half-width katakana 0xA1-0xDF are U+FF61-U+FF9F; the user-defined area
//     0xF040-0xF9FC is the private use area U+E000-U+E757.
//
// Several CP932 codes decode to the same character (the NEC-selected IBM
// extensions 0xED40-0xEEFC repeat the IBM extensions 0xFA40-0xFC4B, and a few
// NEC row 13 symbols repeat row 2 symbols). Input always produces the code
// iconv prefers (row 2 first, then NEC row 13, then the IBM extensions), so
// such bytes do not come back from a decode and re-encode; document bytes are
// never re-encoded, so this never alters a file.
//
// Input accepts whatever CP932 iconv can encode, which includes the JIS
// spellings of a few symbols: U+301C WAVE DASH is 0x8160 like U+FF5E, U+2016
// is 0x8161, U+2212 is 0x817C, U+00A2/U+00A3/U+00AC are 0x8191/0x8192/0x81CA,
// U+00A5 YEN SIGN is 0x5C and U+203E OVERLINE is 0x7E.
namespace ShiftJisCodec {

constexpr char32_t kReplacement = 0xFFFD;

// One display code point per character as the cell map splits them (1 per
// single byte, 1 per valid double-byte pair, 1 per lone lead byte), so the
// grid stays aligned.
std::u32string DecodeForDisplay(std::string_view sjis);

// Decodes one character at pos. bytes = 1 or 2 (0 when pos is at or past the
// end); valid = false when it does not decode (code is then U+FFFD).
// Control bytes decode (valid) to their control pictures.
struct DecodedChar {
    char32_t code;
    int bytes;
    bool valid;
};
DecodedChar DecodeChar(std::string_view sjis, std::size_t pos);

// UTF-8 (an input-method commit, pasted text) to Shift-JIS, replacing `out`.
// Returns false at the first code point the code page cannot hold and stores
// it in `*bad` (U+FFFD for malformed UTF-8); `out` then holds the bytes for
// the text before it. Nothing is ever replaced silently.
bool EncodeUtf8(std::string_view utf8, std::string& out, char32_t* bad = nullptr);

// Appends the Shift-JIS bytes of one code point; false when it has none.
bool EncodeCodePoint(char32_t code, std::string& out);

// DecodeForDisplay as UTF-8, for messages and tests.
std::string DecodeToUtf8(std::string_view sjis);

// As DecodeToUtf8, but control bytes (CR, LF, TAB, ...) stay themselves:
// text handed to other programs, such as the clipboard's plain text.
std::string DecodeToPlainUtf8(std::string_view sjis);

// False when iconv has no CP932 converter here; then only ASCII and control
// bytes decode, and only ASCII encodes.
bool ConverterAvailable();

}
