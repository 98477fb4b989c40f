#pragma once
#include <cstddef>
#include <cstring>
#include <string_view>
#include <vector>

// Splitting text into lines: CR LF, CR and LF each end a line. A final line
// break does not start an empty last line; a final piece without a break is
// a line of its own.
namespace TextLines {

struct Stats {
    size_t Lines = 0;
    bool LoneCR = false;  // some CR is not followed by LF
};

// One pass the compiler can vectorise: LFs, CRs, and CR LF pairs.
Stats Count(std::string_view text);

// Whether some CR of the text is not followed by LF; memchr finds the CRs.
inline bool HasLoneCR(std::string_view text)
{
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
        const char* q = static_cast<const char*>(std::memchr(p, '\r', static_cast<size_t>(end - p)));
        if (!q)
            return false;
        if (q + 1 == end || q[1] != '\n')
            return true;
        p = q + 2;
    }
    return false;
}

// Calls f(line) for each line, in order. `stats`, when given, must be
// Count(text); it lets text without a lone CR be split with memchr.
template <typename F>
void ForEach(std::string_view text, F&& f, const Stats* stats = nullptr)
{
    if (text.empty())
        return;  // an empty view may have no data pointer at all
    const char* p = text.data();
    const char* end = p + text.size();
    const bool loneCR = stats ? stats->LoneCR : HasLoneCR(text);
    if (!loneCR) {
        // Every break is an LF, maybe after a CR: let memchr find them.
        while (p < end) {
            const char* q = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
            if (!q) {
                f(std::string_view(p, static_cast<size_t>(end - p)));
                return;
            }
            const char* lineEnd = (q > p && q[-1] == '\r') ? q - 1 : q;
            f(std::string_view(p, static_cast<size_t>(lineEnd - p)));
            p = q + 1;
        }
        return;
    }
    while (p < end) {
        const char* q = p;
        while (q < end && *q != '\n' && *q != '\r')
            ++q;
        f(std::string_view(p, static_cast<size_t>(q - p)));
        if (q < end && *q == '\r' && q + 1 < end && q[1] == '\n')
            q += 2;
        else if (q < end)
            ++q;
        p = q;
    }
}

inline std::vector<std::string_view> Split(std::string_view text)
{
    std::vector<std::string_view> lines;
    ForEach(text, [&](std::string_view line) { lines.push_back(line); });
    return lines;
}

inline bool EndsWithBreak(std::string_view text)
{
    return !text.empty() && (text.back() == '\n' || text.back() == '\r');
}

}  // namespace TextLines
