#include "build/OutlineBuilder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "editor/core/ShiftJisCodec.h"
#include "editor/core/TEditorScreenStrings.h"

namespace {

std::string Sjis(const char* utf8)
{
    std::string bytes;
    ShiftJisCodec::EncodeUtf8(utf8, bytes);
    return bytes;
}

std::vector<std::string> LabelTexts(const std::string& text)
{
    TEditorScreenStrings store;
    store.SetPlainText(text);
    std::vector<std::string> texts;
    for (const OutlineLabel& l : BuildLabelList(store))
        texts.push_back(std::to_string(l.Line) + ":" + l.Text);
    return texts;
}

// "line:level:parent:title" for each heading.
std::vector<std::string> Headings(const std::string& text)
{
    TEditorScreenStrings store;
    store.SetPlainText(text);
    std::vector<std::string> out;
    for (const OutlineHeading& h : BuildSectionTree(store))
        out.push_back(std::to_string(h.Line) + ":" + std::to_string(h.Level) + ":" + std::to_string(h.Parent) + ":" +
                      h.Title);
    return out;
}

using Strings = std::vector<std::string>;

}  // namespace

TEST(OutlineBuilder, LabelsAreCutAtTheFirstClosingBraceAndCommentsCount)
{
    EXPECT_EQ(LabelTexts("\\section{Intro}\\label{sec:intro}\r\n% \\label{old}\r\n\\label{}\\label{a}x\\label{b}"),
              (Strings{"0:sec:intro", "1:old", "2:", "2:a", "2:b"}));
    // The first "}" ends the argument; a label with no "}" after it is none.
    EXPECT_EQ(LabelTexts("\\label{x{y}z}\r\n\\label{open\r\n}\\label{after}"), (Strings{"0:x{y", "2:after"}));
    // Case-sensitive; between two "}" only the first \label counts.
    EXPECT_EQ(LabelTexts("\\Label{no}\\label{one\\label{two}"), (Strings{"0:one\\label{two"}));
}

TEST(OutlineBuilder, HeadingsNestUnderTheNearestSmallerLevel)
{
    EXPECT_EQ(Headings("\\chapter{A}\n\\section{B}\n\\subsection{C}\n\\section{D}\n\\chapter{E}\n"),
              (Strings{"0:1:-1:A", "1:2:0:B", "2:3:1:C", "3:2:0:D", "4:1:-1:E"}));
    // A first heading deeper than level 1 stands at the top; so does a
    // subsubsection after it when nothing smaller stands above.
    EXPECT_EQ(Headings("\\subsection{S}\n\\subsubsection{T}\n\\section{U}\n\\subsubsection{V}\n"),
              (Strings{"0:3:-1:S", "1:4:0:T", "2:2:-1:U", "3:4:2:V"}));
}

TEST(OutlineBuilder, StarredEmptyAndOptionalHeadingsAreNotHeadings)
{
    EXPECT_EQ(Headings("\\section*{Star}\n\\section{}\n\\section[short]{Long}\n\\Section{X}\n\\section{\\textbf{X}}\n"),
              (Strings{"4:2:-1:\\textbf{X"}));
    // Two commands before one "}": both are headings, in level order.
    EXPECT_EQ(Headings("\\subsection{B \\section{A}"), (Strings{"0:2:-1:A", "0:3:0:B \\section{A"}));
}

TEST(OutlineBuilder, TrailBytesAreNeitherBackslashesNorBraces)
{
    // 表 is 0x95 0x5C and 0x81 0x7D is ＋... its second byte is "}"
    const std::string hyo = Sjis("表");
    const std::string plus = "\x81\x7D";
    ASSERT_EQ(hyo[1], '\\');
    EXPECT_EQ(LabelTexts(hyo + "label{x}"), Strings{});
    EXPECT_EQ(LabelTexts("\\label{" + hyo + plus + "y}"), (Strings{"0:" + hyo + plus + "y"}));
    EXPECT_EQ(Headings("\\section{" + Sjis("第1章") + "}"), (Strings{"0:2:-1:" + Sjis("第1章")}));
}

TEST(OutlineBuilder, EveryEntryIsKeptPastTheOldTableSize)
{
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += "\\section{S" + std::to_string(i) + "}\\label{l" + std::to_string(i) + "}\r\n";
    TEditorScreenStrings store;
    store.SetPlainText(text);
    const std::vector<OutlineLabel> labels = BuildLabelList(store);
    const std::vector<OutlineHeading> headings = BuildSectionTree(store);
    ASSERT_EQ(labels.size(), 300u);
    ASSERT_EQ(headings.size(), 300u);
    EXPECT_EQ(labels[299].Line, 299);
    EXPECT_EQ(labels[299].Text, "l299");
    EXPECT_EQ(headings[256].Line, 256);
}

TEST(OutlineBuilder, WrappedLinesAreReadWhole)
{
    TEditorScreenStrings store;
    store.SetPlainText("x\r\nabcdefgh \\label{long-label-text} \\section{Wrapped title}\r\n\\label{next}");
    store.WrapOption().SetWrapByte(10);
    store.SetWordWrap(true);
    ASSERT_GT(store.GetCount(), 4);
    const std::vector<OutlineLabel> labels = BuildLabelList(store);
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[0], (OutlineLabel{1, "long-label-text"}));
    EXPECT_EQ(labels[1], (OutlineLabel{2, "next"}));
    const std::vector<OutlineHeading> headings = BuildSectionTree(store);
    ASSERT_EQ(headings.size(), 1u);
    EXPECT_EQ(headings[0].Title, "Wrapped title");
}

// The builder in small slices gives what the one-pass builders give, and
// its parents are those the literal backward walk finds.
TEST(OutlineBuilder, SlicedBuildMatchesTheWholeBuildOnRandomDocuments)
{
    std::mt19937 rng(13);
    const char* pieces[] = {"\\chapter{C}", "\\section{S}", "\\subsection{T}", "\\subsubsection{U}", "\\label{L}",
                            "}", "{", "\\", "%", "x", "\x95\\", "\x81}", "\r\n", "\r\n", "\\section{}", "\\label{"};
    for (int round = 0; round < 200; ++round) {
        std::string text;
        const int n = static_cast<int>(rng() % 60);
        for (int i = 0; i < n; ++i)
            text += pieces[rng() % std::size(pieces)];
        TEditorScreenStrings store;
        store.SetPlainText(text);
        OutlineBuilder builder(store);
        int steps = 0;
        while (!builder.Step(1 + rng() % 8))
            ++steps;
        const OutlineEntries& sliced = builder.Result();
        EXPECT_EQ(sliced.Labels, BuildLabelList(store)) << text;
        EXPECT_EQ(sliced.Headings, BuildSectionTree(store)) << text;
        for (std::size_t i = 0; i < sliced.Headings.size(); ++i)
            EXPECT_EQ(sliced.Headings[i].Parent,
                      FindParentHeading(sliced.Headings, sliced.Headings[i].Level, static_cast<int>(i)))
                << text;
    }
}

TEST(OutlineBuilder, SameEntriesIgnoresOnlyTheLines)
{
    OutlineEntries a;
    a.Labels = {{1, "x"}};
    a.Headings = {{2, 2, -1, "S"}};
    OutlineEntries b = a;
    b.Labels[0].Line = 5;
    b.Headings[0].Line = 9;
    EXPECT_TRUE(a.SameLabels(b) && a.SameHeadings(b));
    b.Headings[0].Level = 3;
    EXPECT_FALSE(a.SameHeadings(b));
    EXPECT_TRUE(a.SameLabels(b));
    b = a;
    b.Labels.push_back({3, "y"});
    EXPECT_FALSE(a.SameLabels(b));
    b = a;
    b.Labels[0].Text = "z";
    EXPECT_FALSE(a.SameLabels(b));
}
