#include "editor/core/ShiftJisScan.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "editor/core/ShiftJis.h"

// Random bytes rich in lead bytes, trail bytes and the searched ASCII:
// the look-back answer equals the forward walk's at every position, and
// the block searches find what a byte loop finds, from every start.
TEST(ShiftJisScan, AgreesWithTheForwardWalkAndAByteLoopOnRandomText)
{
    std::mt19937 rng(5);
    const unsigned char alphabet[] = {0x81, 0x9F, 0xE0, 0xFC, 0x80, 0xA0, 0xFD, 0x40, 0x5C, 0x5B, 0x5D, 0x7B,
                                      0x7D, 0x7E, 0x7F, 0x25, 0x28, 0x29, 0x30, 0x0D, 0x3F, 0xA5, 0xDF, 0x00};
    for (int round = 0; round < 300; ++round) {
        std::string s(rng() % 70, '\0');
        for (char& c : s)
            c = static_cast<char>(alphabet[rng() % std::size(alphabet)]);
        for (std::size_t pos = 0; pos < s.size(); ++pos) {
            ASSERT_EQ(IsSecondByteBefore(s, pos), IsSecondByteAt(s, pos)) << "round " << round << " pos " << pos;
            std::size_t expected = pos;
            while (expected < s.size() && s[expected] != '\\' && s[expected] != '}' && s[expected] != '%')
                ++expected;
            ASSERT_EQ(FindAnyOf(s.data(), pos, s.size(), '\\', '}', '%'), expected);
            std::size_t last = pos;
            while (last-- > 0 && s[last] != '[' && s[last] != ']') {
            }
            ASSERT_EQ(FindLastOf(s.data(), pos, '[', ']'), last < pos ? last : std::string::npos);
        }
    }
}
