#pragma once
// The bracket search written out step by step, as the tests and the fuzz
// target compare TCorRelation with it.
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "editor/core/ShiftJis.h"
#include "editor/core/TEditorScreenStrings.h"
#include "editor/core/TextLines.h"
#include "tex/TCorRelation.h"

namespace bracket_model {

struct Found {
    bool matched;
    int openLine, openCol;
    std::string open;
    int closeLine, closeCol;
    std::string close;
    bool operator==(const Found&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Found& f)
{
    return os << (f.matched ? "match " : "none ") << f.openLine << ":" << f.openCol << f.open << " " << f.closeLine
              << ":" << f.closeCol << f.close;
}

inline Found Ours(const TEditorScreenStrings& store, int line, int index)
{
    TCorRelation r(store);
    const bool m = r.Match(line, index);
    return {m, r.OpenLine, r.OpenCol, r.OpenBracket, r.CloseLine, r.CloseCol, r.CloseBracket};
}

// The search written out step by step over a copy of the document with
// every line cut at its first "%", positions counted from 1.
class LiteralModel {
public:
    explicit LiteralModel(std::string_view text)
    {
        TextLines::ForEach(text, [&](std::string_view line) {
            std::string s(line);
            const std::size_t percent = s.find('%');
            if (percent != std::string::npos)
                s.erase(percent);
            lines_.push_back(s);
        });
    }

    Found Match(int L, int C) const
    {
        Found f{false, 0, 0, "", 0, 0, ""};
        if (C < 0)
            C = 0;
        if (L < 0 || L >= static_cast<int>(lines_.size()))
            return f;
        const std::string& line = lines_[static_cast<std::size_t>(L)];
        if (C + 1 > static_cast<int>(line.size()))
            return f;
        const char ch = line[static_cast<std::size_t>(C)];
        const std::string opens = "([{", closes = ")]}";
        int depth = 0;
        if (opens.find(ch) != std::string::npos) {
            const char partner = closes[opens.find(ch)];
            f.openLine = L;
            f.openCol = C;
            f.open = std::string(1, ch);
            for (int l = L, from = C + 1; l < static_cast<int>(lines_.size()); ++l, from = 1) {
                const std::string& s = lines_[static_cast<std::size_t>(l)];
                for (int pos = from; pos <= static_cast<int>(s.size()); ++pos) {
                    if (Second(s, pos - 1))
                        continue;
                    if (s[static_cast<std::size_t>(pos - 1)] == ch)
                        ++depth;
                    else if (s[static_cast<std::size_t>(pos - 1)] == partner)
                        --depth;
                    if (depth == 0) {
                        f = {true, L, C, std::string(1, ch), l, pos - 1, std::string(1, partner)};
                        return f;
                    }
                }
            }
            return f;
        }
        if (closes.find(ch) != std::string::npos) {
            const char partner = opens[closes.find(ch)];
            f.closeLine = L;
            f.closeCol = C;
            f.close = std::string(1, ch);
            for (int l = L; l >= 0; --l) {
                const std::string& s = lines_[static_cast<std::size_t>(l)];
                for (int pos = l == L ? C + 1 : static_cast<int>(s.size()); pos >= 1; --pos) {
                    if (Second(s, pos - 1))
                        continue;
                    if (s[static_cast<std::size_t>(pos - 1)] == ch)
                        ++depth;
                    else if (s[static_cast<std::size_t>(pos - 1)] == partner)
                        --depth;
                    if (depth == 0) {
                        f = {true, l, pos - 1, std::string(1, partner), L, C, std::string(1, ch)};
                        return f;
                    }
                }
            }
        }
        return f;
    }

    // Whether byte i is the second byte of a character, walking from the start.
    static bool Second(const std::string& s, int i)
    {
        int p = 0;
        while (p < i)
            p += CharLength(s, static_cast<std::size_t>(p));
        return p != i;
    }

    const std::vector<std::string>& Lines() const { return lines_; }

private:
    std::vector<std::string> lines_;
};

}  // namespace bracket_model
