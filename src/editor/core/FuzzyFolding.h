#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Folding of single-byte (JIS X 0201) characters into their double-byte
// (JIS X 0208) forms, so that "ABC" and "ＡＢＣ", or "ｶﾞ" and "ガ", compare
// equal. Double-byte characters, control bytes and bytes without a
// double-byte counterpart are left as they are.

// A character as one number: a single byte b is b, a double-byte character
// is lead * 256 + trail. The two ranges never meet (lead bytes start at 0x81).
constexpr uint16_t DoubleByteCode(unsigned char lead, unsigned char trail)
{
    return static_cast<uint16_t>(lead << 8 | trail);
}

struct TFoldedChar {
    uint16_t Code;  // the folded character
    int Length;     // bytes of the text it stands for (1 or 2)
};

// The double-byte form of one single byte, or the byte itself when it has none.
// The blank becomes the ideographic space, printable ASCII its full-width
// form (0x5C the full-width yen sign, 0x7E the full-width overline), the
// half-width punctuation and katakana 0xA1-0xDF their full-width forms.
uint16_t FoldSingleByte(unsigned char b);

// Half-width kana that merge with a following sound mark: u (0xB3, voiced
// mark only) and the ka, sa, ta and ha rows (0xB6-0xC4, 0xCA-0xCE).
bool TakesSoundMark(unsigned char kana, unsigned char mark);

// Folds the character starting at pos (a character start before s.size()).
// A half-width kana followed by its sound mark folds, mark included, into
// one double-byte character: the voiced mark (0xDE) gives the next code of
// the katakana row, the semi-voiced mark (0xDF) the code two on (the
// semi-voiced form for the ha row), and u with the voiced mark gives vu.
TFoldedChar FuzzyFoldChar(std::string_view s, std::size_t pos);

// The whole text folded, character by character, as Shift-JIS bytes.
std::string FuzzyFold(std::string_view s);
