#include "editor/core/ShiftJis.h"

std::size_t CharStart(std::string_view s, std::size_t pos, std::size_t knownStart)
{
    if (pos >= s.size())
        return s.size();
    if (knownStart > pos)
        return pos;
    std::size_t start = knownStart;
    for (;;) {
        std::size_t next = start + CharLength(s, start);
        if (next > pos)
            return start;
        start = next;
    }
}

bool IsSecondByteAt(std::string_view s, std::size_t pos, std::size_t knownStart)
{
    return pos < s.size() && pos > knownStart && CharStart(s, pos, knownStart) != pos;
}

std::size_t PrevCharStart(std::string_view s, std::size_t pos, std::size_t knownStart)
{
    if (pos > s.size())
        pos = s.size();
    if (pos <= knownStart)
        return pos;
    // The character before pos contains byte pos-1.
    return CharStart(s, pos - 1, knownStart);
}
