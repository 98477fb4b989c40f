#include "tex/TParseWord.h"

#include <algorithm>
#include <cstring>

#include "tex/PatternScanner.h"

namespace {

bool Contains(std::string_view text, std::string_view pattern)
{
    return !pattern.empty() && text.find(pattern) != std::string_view::npos;
}

size_t CountDollars(std::string_view text)
{
    size_t count = 0;
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        const void* hit = std::memchr(p, '$', static_cast<size_t>(end - p));
        if (!hit)
            break;
        ++count;
        p = static_cast<const char*>(hit) + 1;
    }
    return count;
}

bool HasDollar(std::string_view text) { return std::memchr(text.data(), '$', text.size()) != nullptr; }

}  // namespace

TParseWord::TParseWord(const TextLineSource& document, std::string_view kindName,
                       const std::vector<std::string>& beginMath, const std::vector<std::string>& endMath)
    : document_(document)
{
    if (kindName != "MATH")
        return;
    const size_t pairs = std::min(beginMath.size(), endMath.size());
    begin_.assign(beginMath.begin(), beginMath.begin() + static_cast<std::ptrdiff_t>(pairs));
    end_.assign(endMath.begin(), endMath.begin() + static_cast<std::ptrdiff_t>(pairs));
}

std::string_view TParseWord::CutLine(int index, std::string& scratch) const
{
    if (index < 0 || index >= document_.LineCount())
        return {};
    std::string_view line = document_.Line(index, scratch);
    if (const void* percent = std::memchr(line.data(), '%', line.size()))
        line = line.substr(0, static_cast<size_t>(static_cast<const char*>(percent) - line.data()));
    return line;
}

bool TParseWord::IsMath(int line, int caretIndex) const
{
    std::string scratch;
    const std::string caretLine(CutLine(line, scratch));
    const size_t caret = std::min(static_cast<size_t>(std::max(caretIndex, 0)), caretLine.size());
    return InsideDollars(line, caretLine, caret) || InsideDelimiters(line, caretLine, caret);
}

bool TParseWord::InsideDollars(int line, std::string_view caretLine, size_t caret) const
{
    const int lines = document_.LineCount();
    std::string scratch;
    size_t before = CountDollars(caretLine.substr(0, caret));
    for (int i = 0, last = std::min(line, lines); i < last; ++i)
        before += CountDollars(CutLine(i, scratch));
    if (before % 2 == 0)
        return false;
    if (HasDollar(caretLine.substr(caret)))
        return true;
    for (int i = std::max(line + 1, 0); i < lines; ++i)
        if (HasDollar(CutLine(i, scratch)))
            return true;
    return false;
}

bool TParseWord::InsideDelimiters(int line, std::string_view caretLine, size_t caret) const
{
    const int pairs = static_cast<int>(begin_.size());
    if (pairs == 0)
        return false;
    const std::string_view before = caretLine.substr(0, caret);
    const std::string_view after = caretLine.substr(caret);

    // Opened: decided on the caret's line, or by the nearest line above it
    // (down to line 1) that holds the pair's end (not opened) or its begin.
    enum class State : char { Skip, Open, Pending };
    std::vector<State> state(static_cast<size_t>(pairs), State::Skip);
    std::vector<std::string> patterns;  // pair k: begin 2k, end 2k+1
    patterns.reserve(static_cast<size_t>(pairs) * 2);
    for (int k = 0; k < pairs; ++k) {
        patterns.push_back(begin_[static_cast<size_t>(k)]);
        patterns.push_back(end_[static_cast<size_t>(k)]);
    }
    PatternScanner scanner(patterns);
    for (int k = 0; k < pairs; ++k) {
        const std::string& b = begin_[static_cast<size_t>(k)];
        const std::string& e = end_[static_cast<size_t>(k)];
        if (b.empty() || e.empty())
            continue;  // an empty delimiter never occurs: the pair never says inside
        State& s = state[static_cast<size_t>(k)];
        const size_t endBefore = before.find(e);
        if (endBefore != std::string_view::npos) {
            // The last end line is the caret's: look from its first end on.
            s = Contains(before.substr(endBefore), b) ? State::Open : State::Skip;
        } else if (line <= 0) {
            // No end anywhere above: the last end line is line 0.
            s = Contains(before, b) ? State::Open : State::Skip;
        } else if (Contains(before, b)) {
            s = State::Open;
        } else {
            s = State::Pending;
            scanner.Want(2 * k);
            scanner.Want(2 * k + 1);
        }
    }
    std::string scratch;
    const int lines = document_.LineCount();
    for (int i = std::min(line - 1, lines - 1); i >= 1 && scanner.AnyWanted(); --i) {
        const std::vector<int>& found = scanner.FindIn(CutLine(i, scratch));
        if (found.empty())
            continue;
        std::vector<char> hasBegin(static_cast<size_t>(pairs), 0), hasEnd(static_cast<size_t>(pairs), 0);
        for (int id : found)
            (id % 2 ? hasEnd : hasBegin)[static_cast<size_t>(id / 2)] = 1;
        for (int id : found) {
            const int k = id / 2;
            State& s = state[static_cast<size_t>(k)];
            if (s != State::Pending)
                continue;
            s = hasEnd[static_cast<size_t>(k)] ? State::Skip : State::Open;
            scanner.Unwant(2 * k);
            scanner.Unwant(2 * k + 1);
        }
    }

    // Closed: the pair's end after the caret, on its line or below.
    PatternScanner ends(end_);
    bool anyOpen = false;
    for (int k = 0; k < pairs; ++k) {
        if (state[static_cast<size_t>(k)] != State::Open)
            continue;
        if (Contains(after, end_[static_cast<size_t>(k)]))
            return true;
        ends.Want(k);
        anyOpen = true;
    }
    if (!anyOpen)
        return false;
    for (int i = std::max(line + 1, 0); i < lines; ++i)
        if (!ends.FindIn(CutLine(i, scratch)).empty())
            return true;
    return false;
}
