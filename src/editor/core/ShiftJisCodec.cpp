#include "editor/core/ShiftJisCodec.h"

#include <iconv.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "editor/core/ShiftJis.h"

namespace ShiftJisCodec {
namespace {

constexpr std::uint16_t kNoCode = 0xFFFF;   // not a Shift-JIS code: 0xFF is never a trail byte

// An iconv converter, reset before every character so a failure on one
// cannot leak into the next.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (ok())
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts all of [in, in+inLen); returns the bytes written, or -1 when
    // the input does not convert completely.
    int Convert(const char* in, std::size_t inLen, char* out, std::size_t outCap)
    {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in);
        char* dst = out;
        std::size_t srcLeft = inLen;
        std::size_t dstLeft = outCap;
        if (iconv(cd_, &src, &srcLeft, &dst, &dstLeft) == static_cast<std::size_t>(-1) || srcLeft != 0)
            return -1;
        // Flush any pending shift state (none for these encodings).
        if (iconv(cd_, nullptr, nullptr, &dst, &dstLeft) == static_cast<std::size_t>(-1))
            return -1;
        return static_cast<int>(dst - out);
    }

private:
    iconv_t cd_;
};

char32_t ReadUtf32Le(const char* p)
{
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return static_cast<char32_t>(u[0]) | static_cast<char32_t>(u[1]) << 8
        | static_cast<char32_t>(u[2]) << 16 | static_cast<char32_t>(u[3]) << 24;
}

// Decodes `len` CP932 bytes that form one character; kReplacement when they
// do not decode to exactly one code point.
char32_t DecodeOne(Converter& cv, const char* bytes, std::size_t len)
{
    if (!cv.ok())
        return kReplacement;
    char out[16];
    if (cv.Convert(bytes, len, out, sizeof out) != 4)
        return kReplacement;
    return ReadUtf32Le(out);
}

char32_t ControlPicture(unsigned char b)
{
    return b == 0x7F ? char32_t{0x2421} : char32_t{0x2400} + b;
}

// Display code points of single bytes, and of double-byte pairs indexed by
// (lead - 0x80) << 8 | trail. U+FFFD marks what does not decode.
struct DecodeTables {
    bool available = false;
    std::array<char32_t, 256> single{};
    std::vector<char32_t> pair = std::vector<char32_t>(128 * 256, kReplacement);
};

const DecodeTables& Decoding()
{
    static const std::unique_ptr<const DecodeTables> tables = [] {
        auto t = std::make_unique<DecodeTables>();
        Converter cv("UTF-32LE", "CP932");
        t->available = cv.ok();
        for (int b = 0; b < 256; ++b) {
            const unsigned char byte = static_cast<unsigned char>(b);
            char32_t code;
            if (byte == '\t')
                code = U'\t';
            else if (byte < 0x20 || byte == 0x7F)
                code = ControlPicture(byte);
            else if (byte < 0x7F)
                code = byte;   // ASCII, also without a converter
            else if (IsLeadByte(byte))
                code = kReplacement;   // reached only as a lone lead byte
            else {
                const char c = static_cast<char>(byte);
                code = DecodeOne(cv, &c, 1);
            }
            t->single[static_cast<std::size_t>(b)] = code;
        }
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!IsLeadByte(static_cast<unsigned char>(lead)))
                continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                if (!IsTrailByte(static_cast<unsigned char>(trail)))
                    continue;
                const char pairBytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                t->pair[static_cast<std::size_t>((lead - 0x80) << 8 | trail)] = DecodeOne(cv, pairBytes, 2);
            }
        }
        return std::unique_ptr<const DecodeTables>(std::move(t));
    }();
    return *tables;
}

// Shift-JIS code of every BMP code point: a single byte b as b, a pair as
// lead << 8 | trail, kNoCode when there is none. CP932 holds nothing beyond
// the BMP. Built by asking iconv about every code point once, so that its
// choice among duplicates and its compatibility mappings are kept.
const std::vector<std::uint16_t>& Encoding()
{
    static const std::vector<std::uint16_t> table = [] {
        std::vector<std::uint16_t> t(0x10000, kNoCode);
        for (char32_t c = 0; c < 0x80; ++c)
            t[c] = static_cast<std::uint16_t>(c);
        Converter cv("CP932", "UTF-32LE");
        if (!cv.ok())
            return t;
        for (char32_t c = 0x80; c < 0x10000; ++c) {
            if (c >= 0xD800 && c <= 0xDFFF)
                continue;
            const char in[4] = {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8 & 0xFF), 0, 0};
            char out[8];
            const int n = cv.Convert(in, 4, out, sizeof out);
            const auto b0 = static_cast<unsigned char>(out[0]);
            const auto b1 = static_cast<unsigned char>(out[1]);
            if (n == 1 && !IsLeadByte(b0))
                t[c] = b0;
            else if (n == 2 && IsLeadByte(b0) && IsTrailByte(b1))
                t[c] = static_cast<std::uint16_t>(b0 << 8 | b1);
        }
        return t;
    }();
    return table;
}

void AppendUtf8(char32_t c, std::string& out)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | c >> 6));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | c >> 12));
        out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | c >> 18));
        out.push_back(static_cast<char>(0x80 | (c >> 12 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Reads one code point of strict UTF-8 at pos and advances pos past it.
// A malformed, truncated, overlong or surrogate sequence gives false with
// code = U+FFFD.
bool ReadUtf8(std::string_view s, std::size_t& pos, char32_t& code)
{
    const auto fail = [&] {
        code = kReplacement;
        ++pos;
        return false;
    };
    const auto b0 = static_cast<unsigned char>(s[pos]);
    std::size_t extra;
    char32_t min;
    if (b0 < 0x80) {
        code = b0;
        ++pos;
        return true;
    }
    if (b0 >= 0xC2 && b0 <= 0xDF)
        extra = 1, min = 0x80, code = b0 & 0x1F;
    else if (b0 >= 0xE0 && b0 <= 0xEF)
        extra = 2, min = 0x800, code = b0 & 0x0F;
    else if (b0 >= 0xF0 && b0 <= 0xF4)
        extra = 3, min = 0x10000, code = b0 & 0x07;
    else
        return fail();
    if (pos + extra >= s.size())
        return fail();
    for (std::size_t i = 1; i <= extra; ++i) {
        const auto b = static_cast<unsigned char>(s[pos + i]);
        if ((b & 0xC0) != 0x80)
            return fail();
        code = code << 6 | (b & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return fail();
    pos += extra + 1;
    return true;
}

} // namespace

DecodedChar DecodeChar(std::string_view sjis, std::size_t pos)
{
    const int length = CharLength(sjis, pos);
    if (length == 0)
        return {kReplacement, 0, false};
    const DecodeTables& t = Decoding();
    const auto lead = static_cast<unsigned char>(sjis[pos]);
    char32_t code;
    if (length == 2) {
        const auto trail = static_cast<unsigned char>(sjis[pos + 1]);
        code = t.pair[static_cast<std::size_t>((lead - 0x80) << 8 | trail)];
    } else {
        code = t.single[lead];
    }
    return {code, length, code != kReplacement};
}

std::u32string DecodeForDisplay(std::string_view sjis)
{
    std::u32string out;
    out.reserve(sjis.size());
    for (std::size_t pos = 0; pos < sjis.size();) {
        const DecodedChar c = DecodeChar(sjis, pos);
        out.push_back(c.code);
        pos += static_cast<std::size_t>(c.bytes);
    }
    return out;
}

std::string DecodeToUtf8(std::string_view sjis)
{
    std::string out;
    out.reserve(sjis.size() * 3 / 2);
    for (std::size_t pos = 0; pos < sjis.size();) {
        const DecodedChar c = DecodeChar(sjis, pos);
        AppendUtf8(c.code, out);
        pos += static_cast<std::size_t>(c.bytes);
    }
    return out;
}

std::string DecodeToPlainUtf8(std::string_view sjis)
{
    std::string out;
    out.reserve(sjis.size() * 3 / 2);
    for (std::size_t pos = 0; pos < sjis.size();) {
        const DecodedChar c = DecodeChar(sjis, pos);
        const unsigned char b = static_cast<unsigned char>(sjis[pos]);
        AppendUtf8(c.bytes == 1 && (b < 0x20 || b == 0x7F) ? static_cast<char32_t>(b) : c.code, out);
        pos += static_cast<std::size_t>(c.bytes);
    }
    return out;
}

bool EncodeCodePoint(char32_t code, std::string& out)
{
    if (code >= 0x10000)
        return false;
    const std::uint16_t sjis = Encoding()[code];
    if (sjis == kNoCode)
        return false;
    if (sjis > 0xFF)
        out.push_back(static_cast<char>(sjis >> 8));
    out.push_back(static_cast<char>(sjis & 0xFF));
    return true;
}

bool EncodeUtf8(std::string_view utf8, std::string& out, char32_t* bad)
{
    out.clear();
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        char32_t code;
        if (!ReadUtf8(utf8, pos, code) || !EncodeCodePoint(code, out)) {
            if (bad)
                *bad = code;
            return false;
        }
    }
    return true;
}

bool ConverterAvailable()
{
    return Decoding().available;
}

}
