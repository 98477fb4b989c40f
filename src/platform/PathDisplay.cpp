#include "platform/PathDisplay.h"

#include <cstdint>

#include "editor/core/ShiftJisCodec.h"

namespace {

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

// The length of the well-formed UTF-8 sequence at `pos` (no overlong forms,
// no surrogates, nothing past U+10FFFF), or 0.
size_t Utf8SequenceAt(std::string_view s, size_t pos)
{
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char c = byte(pos);
    if (c < 0x80)
        return 1;
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        if (c == 0xE0)
            low = 0xA0;
        else if (c == 0xED)
            high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        if (c == 0xF0)
            low = 0x90;
        else if (c == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (pos + length > s.size())
        return 0;
    for (size_t i = 1; i < length; ++i) {
        const unsigned char t = byte(pos + i);
        if (t < (i == 1 ? low : 0x80) || t > (i == 1 ? high : 0xBF))
            return 0;
    }
    return length;
}

bool IsUtf8(std::string_view s)
{
    for (size_t pos = 0; pos < s.size();) {
        const size_t n = Utf8SequenceAt(s, pos);
        if (n == 0)
            return false;
        pos += n;
    }
    return true;
}

// Every character decodes, and none is a control byte.
bool IsShiftJis(std::string_view s)
{
    for (size_t pos = 0; pos < s.size();) {
        if (IsControl(static_cast<unsigned char>(s[pos])))
            return false;
        const ShiftJisCodec::DecodedChar c = ShiftJisCodec::DecodeChar(s, pos);
        if (!c.valid || c.bytes == 0)
            return false;
        pos += static_cast<size_t>(c.bytes);
    }
    return true;
}

void AppendEscaped(std::string& out, unsigned char c)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += "\\x";
    out += kHex[c >> 4];
    out += kHex[c & 15];
}

void AppendPart(std::string& out, std::string_view part)
{
    if (!IsUtf8(part) && IsShiftJis(part)) {
        out += ShiftJisCodec::DecodeToUtf8(part);
        return;
    }
    for (size_t pos = 0; pos < part.size();) {
        const size_t n = Utf8SequenceAt(part, pos);
        if (n == 0 || (n == 1 && IsControl(static_cast<unsigned char>(part[pos])))) {
            AppendEscaped(out, static_cast<unsigned char>(part[pos]));
            ++pos;
            continue;
        }
        out.append(part.substr(pos, n));
        pos += n;
    }
}

}  // namespace

std::string DisplayPathText(std::string_view path)
{
    std::string out;
    out.reserve(path.size());
    for (size_t start = 0;;) {
        const size_t slash = path.find('/', start);
        AppendPart(out, path.substr(start, slash == std::string_view::npos ? std::string_view::npos : slash - start));
        if (slash == std::string_view::npos)
            break;
        out += '/';
        start = slash + 1;
    }
    return out;
}
