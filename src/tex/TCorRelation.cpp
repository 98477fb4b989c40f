#include "tex/TCorRelation.h"

#include <cstring>
#include <string_view>

#include "editor/core/ShiftJisScan.h"

namespace {

constexpr std::string_view kOpeners = "([{";
constexpr std::string_view kClosers = ")]}";

// The length of the line before its first "%".
std::size_t CodeLength(std::string_view line)
{
    const void* percent = line.empty() ? nullptr : std::memchr(line.data(), '%', line.size());
    return percent ? static_cast<std::size_t>(static_cast<const char*>(percent) - line.data()) : line.size();
}

}  // namespace

bool TCorRelation::Match(int line, int caretIndex)
{
    OpenLine = OpenCol = CloseLine = CloseCol = 0;
    OpenBracket.clear();
    CloseBracket.clear();
    const std::size_t caret = static_cast<std::size_t>(caretIndex < 0 ? 0 : caretIndex);
    std::string_view text = lines_.Line(line);
    if (caret >= CodeLength(text) || IsSecondByteBefore(text, caret))
        return false;
    const char ch = text[caret];
    const std::size_t opener = kOpeners.find(ch);
    const std::size_t closer = kClosers.find(ch);
    if (opener == std::string_view::npos && closer == std::string_view::npos)
        return false;

    const bool forward = opener != std::string_view::npos;
    const char partner = forward ? kClosers[opener] : kOpeners[closer];
    if (forward) {
        OpenLine = line;
        OpenCol = static_cast<int>(caret);
        OpenBracket.assign(1, ch);
    } else {
        CloseLine = line;
        CloseCol = static_cast<int>(caret);
        CloseBracket.assign(1, ch);
    }

    const int count = lines_.Count();
    long depth = 0;
    int at = line;
    if (forward) {
        std::size_t from = caret;
        for (;;) {
            // Up to the line's first "%".
            const char* p = text.data();
            for (std::size_t i = from;; ++i) {
                i = FindAnyOf(p, i, text.size(), ch, partner, '%');
                if (i >= text.size() || p[i] == '%')
                    break;
                if (IsSecondByteBefore(text, i))
                    continue;
                depth += p[i] == ch ? 1 : -1;
                if (depth == 0) {
                    CloseLine = at;
                    CloseCol = static_cast<int>(i);
                    CloseBracket.assign(1, partner);
                    return true;
                }
            }
            if (++at >= count)
                return false;
            text = lines_.Line(at);
            from = 0;
        }
    }
    std::size_t end = caret + 1;  // scan [0, end) from its end
    for (;;) {
        const char* p = text.data();
        for (std::size_t i = end; (i = FindLastOf(p, i, ch, partner)) != std::string_view::npos;) {
            if (IsSecondByteBefore(text, i))
                continue;
            depth += p[i] == ch ? 1 : -1;
            if (depth == 0) {
                OpenLine = at;
                OpenCol = static_cast<int>(i);
                OpenBracket.assign(1, partner);
                return true;
            }
        }
        if (--at < 0)
            return false;
        text = lines_.Line(at);
        end = CodeLength(text);
    }
}
