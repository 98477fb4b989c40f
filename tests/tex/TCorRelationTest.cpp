#include "tex/TCorRelation.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "LiteralBracketMatch.h"

namespace {

using bracket_model::Found;
using bracket_model::LiteralModel;
using bracket_model::Ours;

Found At(const std::string& text, int line, int index)
{
    TEditorScreenStrings store;
    store.SetPlainText(text);
    return Ours(store, line, index);
}

}  // namespace

TEST(TCorRelation, FindsTheOuterPartnerOfItsOwnKindOnly)
{
    EXPECT_EQ(At("a(b(c)d)e", 0, 1), (Found{true, 0, 1, "(", 0, 7, ")"}));
    EXPECT_EQ(At("a(b(c)d)e", 0, 7), (Found{true, 0, 1, "(", 0, 7, ")"}));
    // Other kinds are ignored, even unbalanced ones; \{ is a bracket.
    EXPECT_EQ(At("{ ( [ \\{ } ]", 0, 0), (Found{false, 0, 0, "{", 0, 0, ""}));
    EXPECT_EQ(At("{ ( [ \\{ } ] }", 0, 0), (Found{true, 0, 0, "{", 0, 13, "}"}));
    // Across lines, however far.
    std::string far = "\\begin{x}{\r\n";
    for (int i = 0; i < 50; ++i)
        far += "text\r\n";
    far += "}";
    EXPECT_EQ(At(far, 0, 9), (Found{true, 0, 9, "{", 51, 0, "}"}));
}

TEST(TCorRelation, NoPartnerLeavesTheCaretSideRecorded)
{
    EXPECT_EQ(At("x\r\n}", 1, 0), (Found{false, 0, 0, "", 1, 0, "}"}));
    EXPECT_EQ(At("(((", 0, 2), (Found{false, 0, 2, "(", 0, 0, ""}));
    // Not a bracket, past the end, or a negative index taken as 0.
    EXPECT_EQ(At("ab", 0, 0), (Found{false, 0, 0, "", 0, 0, ""}));
    EXPECT_EQ(At("ab", 0, 2), (Found{false, 0, 0, "", 0, 0, ""}));
    EXPECT_EQ(At("(a)", 0, -5), (Found{true, 0, 0, "(", 0, 2, ")"}));
    EXPECT_EQ(At("(a)", 7, 0), (Found{false, 0, 0, "", 0, 0, ""}));
}

TEST(TCorRelation, CommentsAndSecondBytesHoldNoBrackets)
{
    // A "%" hides the rest of its line, escaped or not.
    EXPECT_EQ(At("{ % }\r\n}", 0, 0), (Found{true, 0, 0, "{", 1, 0, "}"}));
    EXPECT_EQ(At("{ \\% }", 0, 0).matched, false);
    EXPECT_EQ(At("% {x}", 0, 2).matched, false);
    // 0x81 0x7B is a double-byte character whose second byte is "{", and
    // 0x83 0x5D (ソ... "]") likewise.
    EXPECT_EQ(At("{\x81{}", 0, 0), (Found{true, 0, 0, "{", 0, 3, "}"}));
    EXPECT_EQ(At("[\x83]]", 0, 0), (Found{true, 0, 0, "[", 0, 3, "]"}));
    EXPECT_EQ(At("{\x81}", 0, 2).matched, false) << "the caret on a second byte";
    // A run of lead-byte values: 0x81 0x81 is one character, then "}" stands alone.
    EXPECT_EQ(At("{\x81\x81}", 0, 0), (Found{true, 0, 0, "{", 0, 3, "}"}));
    EXPECT_EQ(At("{\x81\x81\x81}}", 0, 0), (Found{true, 0, 0, "{", 0, 5, "}"}));
}

TEST(TCorRelation, WrappedLinesKeepTheirLogicalOffsets)
{
    TEditorScreenStrings store;
    store.SetPlainText("x\r\n(aaaaaaaaaaaaaaaaaaaaaaaa)bbbbbbbbbb\r\n");
    store.WrapOption().SetWrapByte(10);
    store.SetWordWrap(true);
    ASSERT_GT(store.GetCount(), 4);
    EXPECT_EQ(Ours(store, 1, 0), (Found{true, 1, 0, "(", 1, 25, ")"}));
    EXPECT_EQ(Ours(store, 1, 25), (Found{true, 1, 0, "(", 1, 25, ")"}));
}

// Random documents of brackets, comments, line breaks and double-byte
// characters whose second byte is a bracket: every caret position gives
// what the step-by-step search gives.
TEST(TCorRelation, AgreesWithTheLiteralSearchOnRandomDocuments)
{
    std::mt19937 rng(34);
    const char* pieces[] = {"(", ")", "[", "]", "{", "}", "%", "\\", "x", "xxxxxxx", " ", "\r\n", "\r\n", "\n",
                            "\x81{", "\x81}", "\x83]", "\x83[", "\x95\\", "\x81\x81", "\xE0", "\x81"};
    int compared = 0;
    for (int round = 0; round < 400; ++round) {
        std::string text;
        const int n = static_cast<int>(rng() % 40);
        for (int i = 0; i < n; ++i)
            text += pieces[rng() % std::size(pieces)];
        TEditorScreenStrings store;
        store.SetPlainText(text);
        if (round % 3 == 0) {
            store.WrapOption().SetWrapByte(10 + static_cast<int>(rng() % 6));
            store.SetWordWrap(true);
        }
        const LiteralModel model(text);
        ASSERT_EQ(static_cast<int>(model.Lines().size()), store.LineCount()) << text;
        for (int line = 0; line < store.LineCount(); ++line) {
            std::string raw;
            int index = 0;
            TextLines::ForEach(text, [&](std::string_view l) {
                if (index++ == line)
                    raw = std::string(l);
            });
            // Caret positions are character starts, one past the end included.
            for (std::size_t c = 0;; c = NextCharStart(raw, c)) {
                EXPECT_EQ(Ours(store, line, static_cast<int>(c)), model.Match(line, static_cast<int>(c)))
                    << "line " << line << " index " << c << " of [" << text << "]";
                ++compared;
                if (c >= raw.size())
                    break;
            }
        }
    }
    EXPECT_GT(compared, 2000);
}
