#include "build/IncludeTree.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/core/ShiftJisCodec.h"
#include "MemoryTexFolder.h"

namespace {

const std::string kRoot = "\\documentclass{jsarticle}\n";

// "depth:text" per node, with "*" for a node on the path above and "?" for
// one that is not on disk.
std::vector<std::string> Shape(const IncludeTree& tree)
{
    std::vector<std::string> out;
    for (const IncludeNode& n : tree.Nodes)
        out.push_back(std::to_string(n.Depth) + ":" + n.Text + (n.Repeated ? "*" : "") + (n.Missing ? "?" : ""));
    return out;
}

using Strings = std::vector<std::string>;

}  // namespace

TEST(IncludeTree, ArgumentsOfALineComeIncludesFirstThenWhatIsLeftForInputs)
{
    EXPECT_EQ(FileTreeArguments("\\include{a}\\input{b}"), (Strings{"a", "b"}));
    EXPECT_EQ(FileTreeArguments("\\input{a}\\include{b}"), (Strings{"b"}));
    EXPECT_EQ(FileTreeArguments("% \\input{old}"), (Strings{"old"}));
    EXPECT_EQ(FileTreeArguments("\\input{a}}\\input{b"), (Strings{"a"}));
    // The second byte of 表 is no backslash.
    EXPECT_EQ(FileTreeArguments("\x95\\input{x}"), Strings{});
}

TEST(IncludeTree, ChildrenInLineOrderEachSubtreeBeforeTheNext)
{
    MemoryTexFolder folder;
    folder.Add("main.tex", kRoot + "\\include{ch1}\n\\input{ch2}\n");
    folder.Add("ch1.tex", "\\input{sec1}\n");
    folder.Add("sec1.tex", "text\n");
    folder.Add("ch2.tex", "");
    const IncludeTree tree = BuildFileTree(folder, "/doc/ch1.tex", nullptr);
    EXPECT_EQ(Shape(tree), (Strings{"0:main.tex", "1:ch1.tex", "2:sec1.tex", "1:ch2.tex"}));
    EXPECT_EQ(tree.Nodes[2].Path, "/doc/sec1.tex");
    EXPECT_EQ(tree.Nodes[2].Parent, 1);
    EXPECT_TRUE(tree.ErrorPath.empty());
}

TEST(IncludeTree, SelfAndCyclicInclusionStopAtAFileOnThePath)
{
    MemoryTexFolder folder;
    folder.Add("main.tex", kRoot + "\\input{main}\n\\input{a}\n");
    folder.Add("a.tex", "\\input{b}\n");
    folder.Add("b.tex", "\\input{a}\\input{main}\n");
    const IncludeTree tree = BuildFileTree(folder, "/doc/main.tex", nullptr);
    EXPECT_EQ(Shape(tree), (Strings{"0:main.tex", "1:main.tex*", "1:a.tex", "2:b.tex", "3:a.tex*", "3:main.tex*"}));
}

TEST(IncludeTree, ExtensionsFoldersAndShiftJisNames)
{
    MemoryTexFolder folder;
    std::string chapter;
    ShiftJisCodec::EncodeUtf8("第1章", chapter);
    folder.Add("main.tex", kRoot + "\\input{part.tex}\n\\include{chapters/ch1}\n\\include{" + chapter + "}\n");
    folder.Add("part.tex", "");
    folder.Add("chapters/ch1.tex", "\\input{chapters/sec}\n\\input{local}\n");
    folder.Add("chapters/sec.tex", "");
    folder.Add("chapters/local.tex", "");
    folder.Add("第1章.tex", "");
    const IncludeTree tree = BuildFileTree(folder, "/doc/main.tex", nullptr);
    // From the root's folder first, as the typesetter reads it; then from
    // the including file's own folder. Names not on disk in their
    // Shift-JIS bytes are found decoded.
    EXPECT_EQ(Shape(tree), (Strings{"0:main.tex", "1:part.tex", "1:chapters/ch1.tex", "2:chapters/sec.tex",
                                    "2:chapters/local.tex", "1:第1章.tex"}));
    EXPECT_EQ(tree.Nodes[4].Path, "/doc/chapters/local.tex");
    EXPECT_TRUE(tree.ErrorPath.empty());
}

TEST(IncludeTree, AMissingFileIsListedAndAnUnreadableOneEndsTheTree)
{
    MemoryTexFolder folder;
    folder.Add("main.tex", kRoot + "\\input{a}\n\\input{missing}\n\\input{locked}\n\\input{b}\n");
    folder.Add("a.tex", "");
    folder.AddUnreadable("locked.tex");
    folder.Add("b.tex", "");
    const IncludeTree tree = BuildFileTree(folder, "/doc/main.tex", nullptr);
    // A chapter not written yet is no error; one that cannot be read is.
    EXPECT_EQ(Shape(tree), (Strings{"0:main.tex", "1:a.tex", "1:missing.tex?", "1:locked.tex"}));
    EXPECT_EQ(tree.ErrorPath, "/doc/locked.tex");
    EXPECT_FALSE(tree.ErrorReason.empty());
}

TEST(IncludeTree, NoRootGivesNoTreeAndCyclesOfTheSearchAreReported)
{
    MemoryTexFolder folder;
    folder.Add("a.tex", "\\input{b}\n");
    folder.Add("b.tex", "\\input{a}\n");
    int cycles = 0;
    EXPECT_TRUE(BuildFileTree(folder, "/doc/a.tex", [&] { ++cycles; }).Nodes.empty());
    EXPECT_EQ(cycles, 1);
    EXPECT_TRUE(BuildFileTree(folder, "", nullptr).Nodes.empty());
}

TEST(IncludeTree, ManyfoldInclusionStopsAtTheNodeLimit)
{
    // Each file includes the next one twice: 2^20 paths without a cycle.
    MemoryTexFolder folder;
    folder.Add("f0.tex", kRoot + "\\input{f1}\\input{f1}\n");
    for (int i = 1; i < 20; ++i)
        folder.Add("f" + std::to_string(i) + ".tex",
                   "\\input{f" + std::to_string(i + 1) + "}\n\\input{f" + std::to_string(i + 1) + "}\n");
    folder.Add("f20.tex", "");
    const IncludeTree tree = BuildFileTree(folder, "/doc/f0.tex", nullptr);
    EXPECT_EQ(static_cast<int>(tree.Nodes.size()), kMaxIncludeNodes);
    EXPECT_LE(folder.reads, 25) << "each file is read once";
}
