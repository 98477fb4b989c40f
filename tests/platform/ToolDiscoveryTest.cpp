#include "platform/ToolDiscovery.h"

#include <gtest/gtest.h>

#include <set>

using namespace ToolDiscovery;

namespace {

ExecutableTest Existing(std::set<std::string> files)
{
    return [files](const std::string& path) { return files.count(path) > 0; };
}

}  // namespace

TEST(ToolDiscovery, PlatexFromAbsolutePathEntriesThenTheNewestTeXLive)
{
    const auto exists = Existing({"/usr/bin/platex", "platex", "./platex", "bin/platex",
                                  "/usr/local/texlive/2023/bin/x86_64-linux/platex",
                                  "/usr/local/texlive/2024/bin/x86_64-linux/platex"});
    const GlobFunction glob = [](const std::string&) {
        return std::vector<std::string>{"/usr/local/texlive/2023/bin/x86_64-linux",
                                        "/usr/local/texlive/2024/bin/x86_64-linux"};
    };
    // Empty and relative entries stand for the current folder: never searched.
    EXPECT_EQ(DiscoverPlatex("::.:bin:/usr/bin", exists, glob), "/usr/bin/platex");
    EXPECT_EQ(DiscoverPlatex(":.:bin:/opt/none/", exists, glob), "/usr/local/texlive/2024/bin/x86_64-linux/platex");
    EXPECT_EQ(DiscoverPlatex("", Existing({}), glob), "");
    EXPECT_EQ(FindInPath("../platex", "/usr/bin", exists), "");
}

TEST(ToolDiscovery, DesktopFilesAreLookedUpInDataFoldersInOrder)
{
    EXPECT_EQ(DesktopDataFolders("/h/data", "/a:rel:/b", "/home/u"), (std::vector<std::string>{"/h/data", "/a", "/b"}));
    EXPECT_EQ(DesktopDataFolders(nullptr, nullptr, "/home/u"),
              (std::vector<std::string>{"/home/u/.local/share", "/usr/local/share", "/usr/share"}));
    const auto exists = Existing({"/usr/share/applications/xdvi.desktop", "/home/u/.local/share/applications/xdvi.desktop",
                                  "/usr/share/applications/kde/okular.desktop"});
    const std::vector<std::string> folders{"/home/u/.local/share", "/usr/share"};
    EXPECT_EQ(FindDesktopFile("xdvi.desktop", folders, exists), "/home/u/.local/share/applications/xdvi.desktop");
    EXPECT_EQ(FindDesktopFile("kde-okular.desktop", folders, exists), "/usr/share/applications/kde/okular.desktop");
    EXPECT_EQ(FindDesktopFile("../xdvi.desktop", folders, exists), "");
    EXPECT_EQ(FindDesktopFile("none.desktop", folders, exists), "");
}
