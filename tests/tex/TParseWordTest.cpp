#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "editor/core/TEditorScreenStrings.h"
#include "tex/EditorLineSource.h"
#include "tex/MathDelimiters.h"
#include "tex/TParseWord.h"
#include "LiteralParseWord.h"

namespace {

using Lines = std::vector<std::string>;

const Lines kBegin = DefaultBeginMath();
const Lines kEnd = DefaultEndMath();

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
    // Now and then a long line, read 16 bytes at a time.
    const int n = static_cast<int>(rng() % (rng() % 4 == 0 ? 16 : 6));
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
