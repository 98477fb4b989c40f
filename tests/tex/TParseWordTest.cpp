#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "editor/core/TEditorScreenStrings.h"
#include "tex/EditorLineSource.h"
#include "tex/TParseWord.h"

namespace {

using Lines = std::vector<std::string>;

const Lines kBegin = {"\\[",
                      "\\begin{eqnarray}",
                      "\\begin{math}",
                      "\\(",
                      "\\begin{displaymath}",
                      "\\begin{equation}",
                      "\\begin{eqnarray*}",
                      "\\begin{multiline}",
                      "\\begin{gather}",
                      "\\begin{gather*}",
                      "\\begin{alignat}",
                      "\\begin{falign}",
                      "\\begin{cases}",
                      "\\begin{align}",
                      "\\begin{align*}"};
const Lines kEnd = {"\\]",
                    "\\end{eqnarray}",
                    "\\end{math}",
                    "\\)",
                    "\\end{displaymath}",
                    "\\end{equation}",
                    "\\end{eqnarray*}",
                    "\\end{multiline}",
                    "\\end{gather}",
                    "\\end{gather*}",
                    "\\end{alignat}",
                    "\\end{falign}",
                    "\\end{cases}",
                    "\\end{align}",
                    "\\end{align*}"};

// The math test step by step as its design states it: a snapshot of every
// line cut at its first "%", the dollar parity, then every pair in order.
// Positions are 1-based as there; Pos gives 0 when a text does not occur
// (also for an empty one).
class LiteralParseWord {
public:
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

bool IsMath(const Lines& doc, int L, int C, const Lines& begin = kBegin, const Lines& end = kEnd)
{
    StringLineSource<Lines> source(doc);
    return TParseWord(source, "MATH", begin, end).IsMath(L, C);
}

TEST(TParseWord, InlineMathByDollarParity)
{
    const Lines doc = {"text", "x $a+b$ y"};
    EXPECT_TRUE(IsMath(doc, 1, 4));    // after the a
    EXPECT_FALSE(IsMath(doc, 1, 7));   // after the closing dollar
    EXPECT_FALSE(IsMath(doc, 0, 2));
    EXPECT_FALSE(IsMath({"$$x^2$$"}, 0, 3));  // doubled dollars: even
    EXPECT_FALSE(IsMath({"$ never closed"}, 0, 3));
    // An escaped dollar counts; one after a "%" does not, escaped or not.
    EXPECT_TRUE(IsMath({"\\$ a", "b $"}, 1, 0));
    EXPECT_FALSE(IsMath({"a % $", "b", "$"}, 1, 0));
    EXPECT_FALSE(IsMath({"a \\% $", "b", "$"}, 1, 0));
    // The comment cut also hides the dollar after the caret.
    EXPECT_FALSE(IsMath({"$a % $"}, 0, 2));
}

TEST(TParseWord, DelimitedEnvironments)
{
    const Lines eq = {"\\documentclass{jarticle}", "\\begin{equation}", "x", "\\end{equation}"};
    EXPECT_TRUE(IsMath(eq, 2, 0));
    EXPECT_FALSE(IsMath({"\\documentclass{jarticle}", "\\begin{equation}", "x"}, 2, 0));  // never closed
    EXPECT_FALSE(IsMath(eq, 0, 5));
    // align* does not hold "\begin{align}"; but it has its own pair.
    EXPECT_TRUE(IsMath({"a", "\\begin{align*}", "x", "\\end{align*}"}, 2, 0));
    EXPECT_FALSE(IsMath({"a", "\\begin{align*}", "x", "\\end{align*}"}, 2, 0, {"\\begin{align}"}, {"\\end{align}"}));
    // A TeX line break with spacing holds "\[".
    EXPECT_TRUE(IsMath({"a", "b \\\\[2pt]", "c", "\\]"}, 2, 0));
    // A begin on the document's first line is found only from that line.
    EXPECT_FALSE(IsMath({"\\[", "x", "\\]"}, 1, 0));
    EXPECT_TRUE(IsMath({"\\[ x \\]"}, 0, 3));
    // Closed before the caret.
    EXPECT_FALSE(IsMath({"a", "\\[ x \\]", "b", "\\]"}, 2, 0));
    // On the caret's line the search starts at its first end delimiter.
    EXPECT_TRUE(IsMath({"a", "\\] \\[ x", "\\]"}, 1, 7));
    // Empty lists: only the dollars decide.
    EXPECT_FALSE(IsMath(eq, 2, 0, {}, {}));
    // Only as many pairs as the shorter list holds.
    EXPECT_FALSE(IsMath(eq, 2, 0, kBegin, {"\\]"}));
    // Another kind name takes no pairs.
    StringLineSource<Lines> source(eq);
    EXPECT_FALSE(TParseWord(source, "TEXT", kBegin, kEnd).IsMath(2, 0));
}

TEST(TParseWord, PositionsOutsideTheDocument)
{
    const Lines doc = {"a", "\\begin{equation}", "$x"};
    EXPECT_FALSE(IsMath(doc, 3, 0));   // the row after the last line
    EXPECT_FALSE(IsMath(doc, 2, 99));  // past the end of the line
    EXPECT_FALSE(IsMath({}, 0, 0));
    EXPECT_TRUE(IsMath({"a", "\\(", "b", "\\)"}, 2, -5));
}

// Random documents made of the pieces that matter, against the literal steps.
std::string RandomLine(std::mt19937& rng)
{
    static const std::vector<std::string> pieces = {
        "$", "$$", "%", "\\%", "x", "  ", "\\[", "\\]", "\\(", "\\)", "\\begin{equation}", "\\end{equation}",
        "\\begin{align}", "\\begin{align*}", "\\end{align}", "\\end{align*}", "\\begin{cases}", "\\end{cases}",
        "\\\\[2pt]", "\x95\\", "\x95[", "\\begin{", "equation}", "{math}", "\\end{math}"};
    std::string line;
    const int n = static_cast<int>(rng() % 6);
    for (int i = 0; i < n; ++i)
        line += pieces[rng() % pieces.size()];
    return line;
}

TEST(TParseWord, AgreesWithTheLiteralStepsOnRandomDocuments)
{
    std::mt19937 rng(20240612);
    const Lines pairsB = {"\\[", "\\(", "\\begin{equation}", "\\begin{align}", "\\begin{align*}", "\\begin{cases}",
                          "\\begin{math}", ""};
    const Lines pairsE = {"\\]", "\\)", "\\end{equation}", "\\end{align}", "\\end{align*}", "\\end{cases}",
                          "\\end{math}", "\\]"};
    int insideCount = 0;
    for (int round = 0; round < 3000; ++round) {
        Lines doc(rng() % 9);
        for (std::string& line : doc)
            line = RandomLine(rng);
        const Lines& b = round % 3 == 0 ? kBegin : pairsB;
        const Lines& e = round % 3 == 0 ? kEnd : pairsE;
        LiteralParseWord literal(doc, b, e);
        StringLineSource<Lines> source(doc);
        TParseWord fast(source, "MATH", b, e);
        for (int q = 0; q < 6; ++q) {
            const int L = static_cast<int>(rng() % (doc.size() + 2));
            const int C = static_cast<int>(rng() % 40);
            const bool expected = literal.IsMath(L, C);
            insideCount += expected;
            ASSERT_EQ(fast.IsMath(L, C), expected) << "round " << round << " L " << L << " C " << C;
        }
    }
    // The documents are varied enough to be inside now and then.
    EXPECT_GT(insideCount, 500);
}

TEST(TParseWord, ReadsWrappedLinesOfTheRowStoreWhole)
{
    // A delimiter cut by the wrap is still found; lines are read both ways.
    TEditorScreenStrings store;
    store.SetPlainText("0123456789\\begin{equation}\r\nx\r\nabcdefgh\\end{equation}");
    store.WrapOption().SetWrapByte(10);
    store.SetWordWrap(true);
    ASSERT_GT(store.GetCount(), store.LineCount());
    EditorLineSource source(store);
    TParseWord parse(source, "MATH", kBegin, kEnd);
    // The first line of the document is only searched from itself: put a line before.
    EXPECT_TRUE(parse.IsMath(0, 26));
    TEditorScreenStrings shifted;
    shifted.SetPlainText("top\r\n0123456789\\begin{equation}\r\nx\r\nabcdefgh\\end{equation}");
    shifted.WrapOption().SetWrapByte(10);
    shifted.SetWordWrap(true);
    EditorLineSource shiftedSource(shifted);
    EXPECT_TRUE(TParseWord(shiftedSource, "MATH", kBegin, kEnd).IsMath(2, 0));
    EXPECT_FALSE(TParseWord(shiftedSource, "MATH", kBegin, kEnd).IsMath(0, 1));
}

TEST(EditorLineSource, JoinsTheRowsOfEachLineInAnyOrder)
{
    TEditorScreenStrings store;
    std::string text;
    Lines expected;
    std::mt19937 rng(7);
    for (int i = 0; i < 60; ++i) {
        std::string line(rng() % 35, 'a' + static_cast<char>(i % 26));
        expected.push_back(line);
        text += line + "\r\n";
    }
    store.SetPlainText(text);
    store.WrapOption().SetWrapByte(10);
    store.SetWordWrap(true);
    EditorLineSource source(store);
    ASSERT_EQ(source.LineCount(), 60);
    std::string scratch;
    for (int i = 0; i < 60; ++i)
        ASSERT_EQ(source.Line(i, scratch), expected[static_cast<size_t>(i)]) << i;
    for (int i = 59; i >= 0; --i)
        ASSERT_EQ(source.Line(i, scratch), expected[static_cast<size_t>(i)]) << i;
    for (int n = 0; n < 200; ++n) {
        const int i = static_cast<int>(rng() % 60);
        ASSERT_EQ(source.Line(i, scratch), expected[static_cast<size_t>(i)]) << i;
    }
}

}  // namespace
