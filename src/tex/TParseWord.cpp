#include "tex/TParseWord.h"

#include <algorithm>
#include <cstring>

#include "tex/ByteSearch.h"
#include "tex/PatternScanner.h"

namespace {

bool Contains(std::string_view text, std::string_view pattern)
{
    return !pattern.empty() && text.find(pattern) != std::string_view::npos;
}

size_t CountDollars(std::string_view text) { return static_cast<size_t>(std::count(text.begin(), text.end(), '$')); }

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

std::string_view TParseWord::CutLine(int index, std::string& scratch, size_t* dollars) const
{
    if (index < 0 || index >= lines_)
        return {};
    const std::string_view line = document_.Line(index, scratch);
    const CutCount cut = CountBeforeFirst(line, '%', '$');
    if (dollars)
        *dollars += cut.count;
    return line.substr(0, cut.length);
}

bool TParseWord::IsMath(int line, int caretIndex) const
{
    lines_ = document_.LineCount();
    std::string scratch;
    const std::string caretLine(CutLine(line, scratch));
    const size_t caret = std::min(static_cast<size_t>(std::max(caretIndex, 0)), caretLine.size());
    const std::string_view before = std::string_view(caretLine).substr(0, caret);
    const std::string_view after = std::string_view(caretLine).substr(caret);
    const int pairs = static_cast<int>(begin_.size());

    // A pair says inside when it is opened and closed. Closed: its end
    // after the caret, on the caret's line or below. Opened: decided on the
    // caret's line, or by the nearest line above it (down to line 1) that
    // holds the pair's end (not opened) or its begin (opened). Closed is
    // found first, so that only the pairs that close are looked for above.
    enum class State : char { Skip, Open, Pending };
    std::vector<State> state(static_cast<size_t>(pairs), State::Skip);
    std::vector<std::string> patterns;  // pair k: begin 2k, end 2k+1
    patterns.reserve(static_cast<size_t>(pairs) * 2);
    for (int k = 0; k < pairs; ++k) {
        patterns.push_back(begin_[static_cast<size_t>(k)]);
        patterns.push_back(end_[static_cast<size_t>(k)]);
    }
    PatternScanner ends(end_);
    for (int k = 0; k < pairs; ++k) {
        const std::string& b = begin_[static_cast<size_t>(k)];
        const std::string& e = end_[static_cast<size_t>(k)];
        if (b.empty() || e.empty())
            continue;  // an empty delimiter never occurs: the pair never says inside
        State& s = state[static_cast<size_t>(k)];
        const size_t endBefore = before.find(e);
        if (endBefore != std::string_view::npos)
            // The last end line is the caret's: look from its first end on.
            s = Contains(before.substr(endBefore), b) ? State::Open : State::Skip;
        else if (line <= 0)
            // No end anywhere above: the last end line is line 0.
            s = Contains(before, b) ? State::Open : State::Skip;
        else
            s = Contains(before, b) ? State::Open : State::Pending;
        if (s != State::Skip && !Contains(after, e))
            ends.Want(k);
    }
    std::vector<char> closed(static_cast<size_t>(pairs), 0);
    for (int k = 0; k < pairs; ++k)
        closed[static_cast<size_t>(k)] = state[static_cast<size_t>(k)] != State::Skip && !ends.Wanted(k);
    std::string scratch2;
    for (int i = std::max(line + 1, 0); i < lines_ && ends.AnyWanted(); ++i) {
        ends.FindBeforeCut(document_.Line(i, scratch2), '%', '$');
        for (int k : ends.Found()) {
            closed[static_cast<size_t>(k)] = 1;
            ends.Unwant(k);
        }
    }
    PatternScanner scanner(patterns);
    for (int k = 0; k < pairs; ++k) {
        State& s = state[static_cast<size_t>(k)];
        if (!closed[static_cast<size_t>(k)])
            s = State::Skip;
        else if (s == State::Open)
            return true;
        else if (s == State::Pending) {
            scanner.Want(2 * k);
            scanner.Want(2 * k + 1);
        }
    }

    // One sweep up from the caret's line: the dollars of every line above,
    // and the pending pairs while any is left. A pair that opens is inside.
    size_t dollars = CountDollars(before);
    std::vector<char> hasEnd(static_cast<size_t>(pairs), 0);
    for (int i = std::min(line - 1, lines_ - 1); i >= 0; --i) {
        if (i == 0 || !scanner.AnyWanted()) {
            CutLine(i, scratch, &dollars);
            continue;
        }
        dollars += scanner.FindBeforeCut(document_.Line(i, scratch), '%', '$').count;
        const std::vector<int>& found = scanner.Found();
        if (found.empty())
            continue;
        for (int id : found)
            if (id % 2)
                hasEnd[static_cast<size_t>(id / 2)] = 1;
        for (int id : found) {
            const int k = id / 2;
            State& s = state[static_cast<size_t>(k)];
            if (s != State::Pending)
                continue;
            if (!hasEnd[static_cast<size_t>(k)])
                return true;
            s = State::Skip;
            scanner.Unwant(2 * k);
            scanner.Unwant(2 * k + 1);
        }
        for (int id : found)
            hasEnd[static_cast<size_t>(id / 2)] = 0;
    }
    // Inside dollars: an odd count before the caret and a dollar after it.
    if (dollars % 2 == 0)
        return false;
    if (HasDollar(after))
        return true;
    for (int i = std::max(line + 1, 0); i < lines_; ++i)
        if (HasDollar(CutLine(i, scratch)))
            return true;
    return false;
}
