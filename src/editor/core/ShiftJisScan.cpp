#include "editor/core/ShiftJisScan.h"

#include <cstdint>
#include <cstring>

#include "editor/core/ShiftJis.h"

namespace {

using Block = unsigned char __attribute__((vector_size(16)));
constexpr std::size_t kBlock = sizeof(Block);

Block Splat(char c)
{
    Block b;
    for (std::size_t i = 0; i < kBlock; ++i)
        b[i] = static_cast<unsigned char>(c);
    return b;
}

bool AnyIn(const char* p, const Block& a, const Block& b, const Block& c)
{
    Block v;
    std::memcpy(&v, p, kBlock);
    const auto hit = (v == a) | (v == b) | (v == c);
    uint64_t half[2];
    std::memcpy(half, &hit, sizeof half);
    return (half[0] | half[1]) != 0;
}

}  // namespace

std::size_t FindAnyOf(const char* p, std::size_t from, std::size_t to, char a, char b, char c)
{
    const Block va = Splat(a), vb = Splat(b), vc = Splat(c);
    std::size_t i = from;
    while (i + kBlock <= to && !AnyIn(p + i, va, vb, vc))
        i += kBlock;
    for (; i < to; ++i)
        if (p[i] == a || p[i] == b || p[i] == c)
            return i;
    return to;
}

std::size_t FindLastOf(const char* p, std::size_t end, char a, char b)
{
    const Block va = Splat(a), vb = Splat(b);
    std::size_t i = end;
    while (i >= kBlock && !AnyIn(p + i - kBlock, va, vb, vb))
        i -= kBlock;
    while (i-- > 0)
        if (p[i] == a || p[i] == b)
            return i;
    return std::string_view::npos;
}

bool IsSecondByteBefore(std::string_view line, std::size_t pos)
{
    if (pos == 0 || pos >= line.size())
        return false;
    const auto b = static_cast<unsigned char>(line[pos]);
    if (b < 0x40)
        return false;
    if (b > 0x7E)
        return IsSecondByteAt(line, pos);
    std::size_t run = 0;
    while (run < pos && IsLeadByte(static_cast<unsigned char>(line[pos - run - 1])))
        ++run;
    return run % 2 == 1;
}
