#include "app/EncodingGuess.h"

#include <algorithm>

#include "editor/core/ShiftJis.h"

namespace {

using Bytes = const unsigned char*;

bool StartsWith(std::string_view s, std::string_view prefix)
{
    return s.size() >= prefix.size() && s.substr(0, prefix.size()) == prefix;
}

// NUL bytes: UTF-16 when they sit (nearly) only on one side of each byte
// pair, as the high halves of ASCII characters do; otherwise binary. None:
// neither.
bool HasNul(std::string_view s, TextEncoding& guess)
{
    size_t even = 0;
    size_t odd = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\0')
            ++(i % 2 ? odd : even);
    }
    if (even + odd == 0)
        return false;
    const size_t pairs = s.size() / 2;
    const size_t high = std::max(even, odd);
    const size_t low = std::min(even, odd);
    guess = (pairs > 0 && high * 4 >= pairs && low * 8 <= high) ? TextEncoding::Utf16 : TextEncoding::Binary;
    return true;
}

bool HasHighBytes(std::string_view s)
{
    return std::any_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

bool HasJisEscapes(std::string_view s)
{
    for (std::string_view esc : {"\x1b$B", "\x1b$@", "\x1b$(D", "\x1b$(Q", "\x1b$(O"}) {
        if (s.find(esc) != std::string_view::npos)
            return true;
    }
    return false;
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view s, bool truncated)
{
    const Bytes b = reinterpret_cast<Bytes>(s.data());
    const size_t n = s.size();
    size_t i = 0;
    while (i < n) {
        const unsigned char c = b[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        size_t len;
        unsigned char lo = 0x80;
        unsigned char hi = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            len = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
            if (c == 0xE0)
                lo = 0xA0;
            else if (c == 0xED)
                hi = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            if (c == 0xF0)
                lo = 0x90;
            else if (c == 0xF4)
                hi = 0x8F;
        } else {
            return false;
        }
        for (size_t k = 1; k < len; ++k) {
            if (i + k == n)
                return truncated;  // cut by the sample's end
            const unsigned char t = b[i + k];
            if (k == 1 ? (t < lo || t > hi) : (t < 0x80 || t > 0xBF))
                return false;
        }
        i += len;
    }
    return true;
}

bool InEucRange(unsigned char c) { return c >= 0xA1 && c <= 0xFE; }

// Every non-ASCII byte belongs to an EUC-JP code, and there is at least one
// double-byte code. Shift-JIS text nearly always holds bytes 0x81-0x9F
// (hiragana, punctuation, most kanji), which EUC-JP never uses but for its two
// single-shift bytes.
bool LooksLikeEucJp(std::string_view s, bool truncated)
{
    const Bytes b = reinterpret_cast<Bytes>(s.data());
    const size_t n = s.size();
    bool doubleByte = false;
    size_t i = 0;
    while (i < n) {
        const unsigned char c = b[i];
        size_t len;
        if (c < 0x80) {
            ++i;
            continue;
        }
        if (c == 0x8E)
            len = 2;  // half-width katakana
        else if (c == 0x8F)
            len = 3;  // JIS X 0212
        else if (InEucRange(c))
            len = 2, doubleByte = true;
        else
            return false;
        for (size_t k = 1; k < len; ++k) {
            if (i + k == n)
                return truncated && doubleByte;
            const unsigned char t = b[i + k];
            if (c == 0x8E ? (t < 0xA1 || t > 0xDF) : !InEucRange(t))
                return false;
        }
        i += len;
    }
    return doubleByte;
}

// At least two non-ASCII characters that Shift-JIS does not have, and they
// make a quarter or more of all non-ASCII characters.
bool ManyInvalidShiftJis(std::string_view s, bool truncated)
{
    size_t characters = 0;
    size_t invalid = 0;
    size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const int len = CharLength(s, i);
        if (c >= 0x80) {
            ++characters;
            const bool cutAtEnd = truncated && i + 1 == s.size();
            if (len == 1 && (IsLeadByte(c) ? !cutAtEnd : (c == 0x80 || c == 0xA0 || c >= 0xFD)))
                ++invalid;
        }
        i += static_cast<size_t>(len);
    }
    return invalid >= 2 && invalid * 4 >= characters;
}

}  // namespace

TextEncoding GuessEncoding(std::string_view sample, bool truncated)
{
    if (StartsWith(sample, "\xEF\xBB\xBF"))
        return TextEncoding::Utf8;
    if (StartsWith(sample, "\xFF\xFE") || StartsWith(sample, "\xFE\xFF"))
        return TextEncoding::Utf16;
    TextEncoding guess = TextEncoding::ShiftJis;
    if (HasNul(sample, guess))
        return guess;
    if (!HasHighBytes(sample))
        return HasJisEscapes(sample) ? TextEncoding::Iso2022Jp : TextEncoding::ShiftJis;
    if (IsValidUtf8(sample, truncated))
        return TextEncoding::Utf8;
    if (LooksLikeEucJp(sample, truncated))
        return TextEncoding::EucJp;
    if (ManyInvalidShiftJis(sample, truncated))
        return TextEncoding::Unknown;
    return TextEncoding::ShiftJis;
}
