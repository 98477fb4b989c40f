#pragma once
// The math test written out in its plainest form, step by step, for the
// tests and the fuzz target to hold the real one against.
#include <algorithm>
#include <string>
#include <vector>

// A copy of every line cut at its first "%", the dollar parity, then every
// pair in order, each over the whole document. Positions are 1-based;
// Pos gives 0 when a text does not occur (also for an empty one).
class LiteralParseWord {
public:
    using Lines = std::vector<std::string>;

    LiteralParseWord(const Lines& document, const Lines& begin, const Lines& end)
    {
        for (std::string line : document) {
            const size_t percent = line.find('%');
            if (percent != std::string::npos)
                line.erase(percent);
            lines_.push_back(line);
        }
        for (size_t k = 0; k < std::min(begin.size(), end.size()); ++k) {
            begin_.push_back(begin[k]);
            end_.push_back(end[k]);
        }
    }

    bool IsMath(int L, int C) const
    {
        const bool dollars = Dollars(L, C);
        const bool delimited = Delimited(L, C);
        return dollars || delimited;
    }

private:
    static int Pos(const std::string& sub, const std::string& s)
    {
        if (sub.empty())
            return 0;
        const size_t at = s.find(sub);
        return at == std::string::npos ? 0 : static_cast<int>(at) + 1;
    }
    // Copy(s, from, count) with from 1-based, clamped as Pascal's Copy is.
    static std::string Copy(const std::string& s, int from, int count)
    {
        if (from < 1)
            from = 1;
        if (count <= 0 || from > static_cast<int>(s.size()))
            return {};
        return s.substr(static_cast<size_t>(from - 1), static_cast<size_t>(count));
    }
    std::string Line(int i) const
    {
        return i >= 0 && i < static_cast<int>(lines_.size()) ? lines_[static_cast<size_t>(i)] : std::string();
    }
    int Last() const { return static_cast<int>(lines_.size()) - 1; }
    std::string Before(int L, int C) const { return Copy(Line(L), 1, C); }
    std::string After(int L, int C) const { return Copy(Line(L), C + 1, 1 << 30); }
    static int CountOf(char ch, const std::string& s) { return static_cast<int>(std::count(s.begin(), s.end(), ch)); }

    bool Dollars(int L, int C) const
    {
        int count = 0;
        for (int i = 0; i <= L - 1; ++i)
            count += CountOf('$', Line(i));
        count += CountOf('$', Before(L, C));
        if (count % 2 == 0)
            return false;
        int later = CountOf('$', After(L, C));
        for (int i = L + 1; i <= Last(); ++i)
            later += CountOf('$', Line(i));
        return later > 0;
    }

    bool Delimited(int L, int C) const
    {
        bool inside = false;
        for (size_t k = 0; k < begin_.size(); ++k) {
            const std::string& B = begin_[k];
            const std::string& E = end_[k];
            // 1. the last end line
            int lastEnd = 0;
            for (int i = 0; i <= L - 1; ++i)
                if (Pos(E, Line(i)) > 0)
                    lastEnd = i;
            if (Pos(E, Before(L, C)) > 0)
                lastEnd = L;
            // 2. opened
            bool opened = false;
            for (int i = lastEnd + 1; i <= L - 1; ++i)
                if (Pos(B, Line(i)) > 0)
                    opened = true;
            if (lastEnd != L) {
                if (Pos(B, Before(L, C)) > 0)
                    opened = true;
            } else {
                int p = Pos(E, Before(L, C));
                if (p == 0)
                    p = 1;
                if (Pos(B, Copy(Line(L), p, C - p + 1)) > 0)
                    opened = true;
            }
            // 3. closed
            bool closed = Pos(E, After(L, C)) > 0;
            for (int i = L + 1; i <= Last(); ++i)
                if (Pos(E, Line(i)) > 0)
                    closed = true;
            if (opened && closed)
                inside = true;
        }
        return inside;
    }

    Lines lines_;
    Lines begin_;
    Lines end_;
};
