#include "build/TypesetterCommand.h"

#include <gtest/gtest.h>

using V = std::vector<std::string>;

TEST(TypesetterCommand, ArgumentsFolderAndVariables)
{
    const TypesetterCommand c =
        TypesetterCommand::For("/usr/bin/platex", "/home/u/my $doc;'x'/main.tex", true, {"PATH=/usr/bin", "HOME=/h"});
    EXPECT_EQ(c.Program, "/usr/bin/platex");
    EXPECT_EQ(c.Arguments, (V{"-interaction=nonstopmode", "main.tex"}));
    EXPECT_EQ(c.WorkingFolder, "/home/u/my $doc;'x'");
    EXPECT_EQ(c.Environment, (V{"PTEX_KANJI_ENC=sjis", "max_print_line=10000"}));
    EXPECT_EQ(c.LogPath, "main.log");
    EXPECT_EQ(c.DviPath, "/home/u/my $doc;'x'/main.dvi");

    // The user's own settings win; without nonstop mode the prompt stays.
    const TypesetterCommand own =
        TypesetterCommand::For("platex", "/a.tex", false, {"PTEX_KANJI_ENC=utf8", "max_print_line=79"});
    EXPECT_EQ(own.Arguments, V{"a.tex"});
    EXPECT_EQ(own.WorkingFolder, "/");
    EXPECT_EQ(own.Environment, V{});
    // A variable that only starts like one is not it.
    EXPECT_EQ(TypesetterCommand::For("p", "a.tex", false, {"PTEX_KANJI_ENCODING=x"}).Environment.size(), 2u);
}

TEST(TypesetterCommand, ExtensionsReplaceTheLastFourCharacters)
{
    EXPECT_EQ(WithExtension("/d/main.tex", ".dvi"), "/d/main.dvi");
    EXPECT_EQ(WithExtension("/d/MAIN.TEX", ".log"), "/d/MAIN.log");
    EXPECT_EQ(WithExtension("/d.x/ab", ".log"), "/d.x/.log");
}
