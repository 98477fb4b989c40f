#pragma once
#include <string>
#include <string_view>

// Letter case of ASCII letters only, as file names, registry names and key
// texts compare: every other byte, the bytes of double-byte characters
// included, must be equal.
constexpr char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

constexpr bool SameTextAscii(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i]))
            return false;
    return true;
}
