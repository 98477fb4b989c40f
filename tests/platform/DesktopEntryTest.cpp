#include "platform/DesktopEntry.h"

#include <gtest/gtest.h>

using V = std::vector<std::string>;

TEST(DesktopEntry, ExecLinesBecomeArgumentsWithTheFileInPlaceOfItsFieldCode)
{
    const DesktopEntry entry = DesktopEntry::Parse("[Desktop Action x]\nExec=wrong\n"
                                                   "[Desktop Entry]\nName=Okular\nName[ja]=オキュラー\n"
                                                   "Exec=okular --unique %U\n# Exec=commented\n");
    EXPECT_EQ(entry.Name, "Okular");
    EXPECT_EQ(entry.CommandFor("/d/a b.dvi"), (V{"okular", "--unique", "/d/a b.dvi"}));

    DesktopEntry quoted;
    quoted.Exec = R"("/opt/my viewer/xdvi" -name "a \"b\" \$c" %i %f --title=%c %%)";
    quoted.Name = "X";
    EXPECT_EQ(quoted.CommandFor("f.dvi"), (V{"/opt/my viewer/xdvi", "-name", "a \"b\" $c", "f.dvi", "--title=X", "%"}));
    quoted.Exec = "xdvi \"unclosed";
    EXPECT_EQ(quoted.CommandFor("f"), V{});
}

TEST(DesktopEntry, QuotedArgumentsReadBackAsTheyWere)
{
    for (const std::string path : {"/usr/bin/scrivlet", "/home/u/my apps/$x/\"q\"/50%/a\\b/scrivlet", "/日本語/scrivlet"}) {
        const std::string text = "[Desktop Entry]\nExec=" + DesktopEntry::QuoteExecArgument(path) + " %f\n";
        EXPECT_EQ(DesktopEntry::Parse(text).CommandFor("x.tex"), (V{path, "x.tex"})) << text;
    }
}
