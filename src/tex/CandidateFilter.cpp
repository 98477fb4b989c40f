#include "tex/CandidateFilter.h"

#include <algorithm>

#include "editor/core/AsciiCase.h"
#include "editor/core/ShiftJis.h"
#include "tex/CharPos.h"

std::string AnsiUpper(std::string_view text)
{
    std::string upper(text);
    for (size_t i = 0; i < upper.size();) {
        const int length = CharLength(upper, i);
        if (length == 1)
            upper[i] = AsciiUpper(upper[i]);
        i += static_cast<size_t>(length);
    }
    return upper;
}

bool NameContains(std::string_view name, std::string_view upperTyped)
{
    if (upperTyped.empty())
        return true;
    if (upperTyped.size() > name.size())
        return false;
    // Upper-cased a character at a time as it is compared, so that no copy
    // of the name is made.
    for (size_t start = 0; start + upperTyped.size() <= name.size(); start = NextCharStart(name, start)) {
        size_t i = start;
        size_t j = 0;
        while (j < upperTyped.size()) {
            const int length = CharLength(name, i);
            if (length == 1) {
                if (AsciiUpper(name[i]) != upperTyped[j])
                    break;
            } else if (j + 2 > upperTyped.size() || name[i] != upperTyped[j] || name[i + 1] != upperTyped[j + 1]) {
                break;
            }
            i += static_cast<size_t>(length);
            j += static_cast<size_t>(length);
        }
        if (j == upperTyped.size())
            return true;
    }
    return false;
}

namespace {

void AddMatching(std::string_view typed, const std::vector<std::string>& names, CandidateFilterResult& result)
{
    const std::string upper = AnsiUpper(typed);
    for (const std::string& name : names)
        if (!name.empty() && NameContains(name, upper))
            result.names.push_back(name);
    result.show = !result.names.empty();
}

}  // namespace

CandidateFilterResult FilterCandidates(const std::string* line, int caret, bool templates,
                                       const std::vector<std::string>& names)
{
    return line ? FilterCandidates(std::string_view(*line), caret, templates, names) : CandidateFilterResult();
}

CandidateFilterResult FilterCandidates(std::string_view s, int caret, bool templates,
                                       const std::vector<std::string>& names)
{
    CandidateFilterResult result;
    const size_t at = std::min(static_cast<size_t>(std::max(caret, 0)), s.size());
    // The typed character, whole: a double-byte one is two bytes.
    const size_t typedEnd = std::min(s.size(), at + std::max(1, CharLength(s, at)));
    if (FirstCharPos('\\', s) > 0) {
        if (static_cast<size_t>(FirstCharPos('\\', s)) > at + 1)
            return result;
        const int b = LastCharPos('\\', s.substr(0, at + 1));
        if (b <= 0)
            return result;
        AddMatching(s.substr(static_cast<size_t>(b) - 1, typedEnd - (static_cast<size_t>(b) - 1)), names, result);
        return result;
    }
    if (!templates || FirstCharPos('%', s) == 0)
        return result;
    if (static_cast<size_t>(FirstCharPos('%', s)) > at + 1) {
        result.show = true;  // shown, and empty
        return result;
    }
    AddMatching(s, names, result);
    return result;
}
