#include "build/CompileRootSearch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "build/DiskTexFolder.h"
#include "editor/core/EFileError.h"
#include "MemoryTexFolder.h"

namespace {

const std::string kRoot = "\\documentclass{jsarticle}\n\\begin{document}\n";

struct Search {
    MemoryTexFolder folder;
    int cycles = 0;
    std::string Find(const std::string& target, bool comments = false)
    {
        CompileRootSearch search(folder, [this] { ++cycles; });
        search.FollowRootComments = comments;
        return search.FindCompileRoot(target);
    }
};

}  // namespace

TEST(CompileRootSearch, RootDocumentIsDecidedByTheFirstContentLine)
{
    EXPECT_TRUE(CompileRootSearch::IsRootDocument("% comment\n\n%x\n\\documentclass[a4paper]{jsarticle}"));
    EXPECT_TRUE(CompileRootSearch::IsRootDocument("  \\documentclass{jsbook}\r\n"));
    EXPECT_TRUE(CompileRootSearch::IsRootDocument("\\documentstyle{jarticle}"));
    EXPECT_FALSE(CompileRootSearch::IsRootDocument("  % \\documentclass{x}\n\\documentclass{x}"));
    EXPECT_FALSE(CompileRootSearch::IsRootDocument("%only\n%comments\n"));
    EXPECT_FALSE(CompileRootSearch::IsRootDocument(""));
    EXPECT_FALSE(CompileRootSearch::IsRootDocument("\\DocumentClass{x}"));
}

TEST(CompileRootSearch, IncludeArgumentsAreCutAtTheFirstBraceAndStepOverDoubleByteCharacters)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(CompileRootSearch::IncludeArguments("% \\include{old}\n\\input{a}\\include{b} \\input{c"), (V{"old", "a", "b"}));
    EXPECT_EQ(CompileRootSearch::IncludeArguments("\\input{x}y}"), (V{"x"}));
    EXPECT_EQ(CompileRootSearch::IncludeArguments("\\INCLUDE{x}"), V{});
    // 0x95 0x5C is a kanji whose trail byte is a backslash, 0x83 0x7D one
    // whose trail byte is "}": neither starts a command or ends an argument.
    EXPECT_EQ(CompileRootSearch::IncludeArguments("\\input{a\x83}b}"), (V{"a\x83}b"}));
    EXPECT_EQ(CompileRootSearch::IncludeArguments("\x95\\include{z}"), V{});
}

TEST(CompileRootSearch, ArgumentsNameFilesAsTheTypesetterReadsThem)
{
    EXPECT_TRUE(CompileRootSearch::ArgumentNames("chap1", "chap1.tex"));
    EXPECT_TRUE(CompileRootSearch::ArgumentNames("CHAP1", "chap1.tex"));
    EXPECT_TRUE(CompileRootSearch::ArgumentNames("chap1.tex", "chap1.tex"));
    EXPECT_TRUE(CompileRootSearch::ArgumentNames("./chapters/../chap1", "chap1.tex"));
    EXPECT_TRUE(CompileRootSearch::ArgumentNames("chapters/ch1", "chapters/ch1.tex"));
    EXPECT_FALSE(CompileRootSearch::ArgumentNames("chapters/ch1", "ch1.tex"));
    EXPECT_FALSE(CompileRootSearch::ArgumentNames(" chap1", "chap1.tex"));
    EXPECT_FALSE(CompileRootSearch::ArgumentNames("", ".tex"));
    // Shift-JIS in the document, UTF-8 on disk, or Shift-JIS on disk too.
    EXPECT_TRUE(CompileRootSearch::ArgumentNames("\x91\xe6\x31\x8f\xcd", "第1章.tex"));
    EXPECT_TRUE(CompileRootSearch::ArgumentNames("\x91\xe6\x31\x8f\xcd", "\x91\xe6\x31\x8f\xcd.tex"));
}

TEST(CompileRootSearch, TheTargetItselfOrTheLastRootMetInTheWalk)
{
    Search s;
    s.folder.Add("main.tex", kRoot + "\\include{part}\n");
    s.folder.Add("part.tex", "\\input{chap1}\n");
    s.folder.Add("chap1.tex", "text\n");
    s.folder.Add("other.tex", kRoot + "\\include{chap1}\n");
    s.folder.Add("notes.txt", "\\include{chap1}\n");
    EXPECT_EQ(s.Find("/doc/main.tex"), "/doc/main.tex");
    EXPECT_EQ(s.Find("main.tex"), "main.tex");
    // main is met through part, then other directly: other is met last.
    EXPECT_EQ(s.Find("/doc/chap1.tex"), "/doc/other.tex");
    EXPECT_EQ(s.Find("/doc/part.tex"), "/doc/main.tex");
    EXPECT_EQ(s.cycles, 0);
}

TEST(CompileRootSearch, CyclesAreReportedOnceAndEndOnlyTheirLevel)
{
    Search s;
    s.folder.Add("a.tex", "\\include{b}\n");
    s.folder.Add("b.tex", "\\include{a}\n");
    EXPECT_EQ(s.Find("/doc/a.tex"), "");
    EXPECT_EQ(s.cycles, 1);

    Search self;
    self.folder.Add("loop.tex", "\\input{loop}\n");
    self.folder.Add("main.tex", kRoot + "\\input{loop}\n");
    EXPECT_EQ(self.Find("/doc/loop.tex"), "/doc/main.tex");
    EXPECT_EQ(self.cycles, 1);
}

TEST(CompileRootSearch, EachFileIsReadOnceAndAnUnreadableTargetRaises)
{
    Search s;
    for (int i = 0; i < 20; ++i)
        s.folder.Add("f" + std::to_string(i) + ".tex", i == 0 ? "x" : "\\input{f" + std::to_string(i - 1) + "}");
    s.folder.Add("main.tex", kRoot + "\\input{f19}");
    EXPECT_EQ(s.Find("/doc/f0.tex"), "/doc/main.tex");
    EXPECT_EQ(s.folder.reads, 21);
    EXPECT_THROW(s.Find("/doc/missing.tex"), EFileError);
}

TEST(CompileRootSearch, RootCommentsAreFollowedOnlyWhenAsked)
{
    EXPECT_EQ(CompileRootSearch::RootComment("%!TeX root=main.tex\n"), "main.tex");
    EXPECT_EQ(CompileRootSearch::RootComment("  %  ! tex  ROOT =  ../thesis.tex \r\n"), "../thesis.tex");
    EXPECT_EQ(CompileRootSearch::RootComment("% TEX root = x.tex"), "");

    Search s;
    s.folder.Add("chap.tex", "% !TEX root = middle.tex\n");
    s.folder.Add("middle.tex", "% !TEX root = book.tex\n");
    s.folder.Add("book.tex", kRoot);
    s.folder.Add("other.tex", kRoot + "\\include{chap}\n");
    EXPECT_EQ(s.Find("/doc/chap.tex", true), "/doc/book.tex");
    EXPECT_EQ(s.Find("/doc/chap.tex", false), "/doc/other.tex");

    Search loop;
    loop.folder.Add("a.tex", "% !TEX root = b.tex\n");
    loop.folder.Add("b.tex", "% !TEX root = a.tex\n");
    loop.folder.Add("main.tex", kRoot + "\\input{a}");
    EXPECT_EQ(loop.Find("/doc/a.tex", true), "/doc/main.tex");
    EXPECT_EQ(loop.cycles, 1);
}

TEST(CompileRootSearch, OnDiskNamesMatchWithoutCaseAndOnlyRegularFilesAreListed)
{
    char pattern[] = "/tmp/scrivlet-root-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string dir = pattern;
    auto write = [&](const std::string& name, const std::string& text) { std::ofstream(dir + "/" + name) << text; };
    write("MAIN.TeX", kRoot + "\\include{\x91\xe6\x31\x8f\xcd}\n");
    write("第1章.tex", "本文\n");
    ASSERT_EQ(mkdir((dir + "/folder.tex").c_str(), 0700), 0);
    ASSERT_EQ(mkfifo((dir + "/pipe.tex").c_str(), 0600), 0);

    DiskTexFolder folder(dir);
    std::vector<std::string> names = folder.ListTexFiles();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"MAIN.TeX", "第1章.tex"}));
    CompileRootSearch search(folder, {});
    EXPECT_EQ(search.FindCompileRoot(dir + "/第1章.tex"), dir + "/MAIN.TeX");
    EXPECT_THROW(folder.ReadFile("pipe.tex"), EFileError);

    for (const char* name : {"MAIN.TeX", "第1章.tex", "pipe.tex"})
        std::remove((dir + "/" + name).c_str());
    rmdir((dir + "/folder.tex").c_str());
    rmdir(dir.c_str());
}
