#include "platform/DefaultApplication.h"
#include "platform/DefaultOutCommand.h"
#include "platform/ProcessAlive.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

using namespace DefaultApplication;

namespace {

struct FakeFiles {
    std::map<std::string, std::string> texts;
    std::set<std::string> desktopFiles;
    FileReader Reader() const
    {
        return [this](const std::string& path) -> std::optional<std::string> {
            const auto it = texts.find(path);
            if (it == texts.end())
                return std::nullopt;
            return it->second;
        };
    }
    FileTest Exists() const
    {
        return [this](const std::string& path) { return desktopFiles.count(path) > 0; };
    }
};

const std::vector<std::string> kData = {"/home/u/.local/share", "/usr/share"};

TEST(DefaultApplicationTest, ListsComeFromTheConfigurationFoldersThenTheDataFolders)
{
    EXPECT_EQ(DefaultListFiles(nullptr, nullptr, "/home/u", kData),
              (std::vector<std::string>{"/home/u/.config/mimeapps.list", "/etc/xdg/mimeapps.list",
                                        "/home/u/.local/share/applications/mimeapps.list",
                                        "/usr/share/applications/mimeapps.list",
                                        "/home/u/.local/share/applications/defaults.list",
                                        "/usr/share/applications/defaults.list"}));
    // A relative XDG_CONFIG_HOME is not taken; the home's default is.
    EXPECT_EQ(DefaultListFiles("cfg", "/a:rel:/b/", "/h", {}),
              (std::vector<std::string>{"/h/.config/mimeapps.list", "/a/mimeapps.list", "/b/mimeapps.list"}));
}

TEST(DefaultApplicationTest, TheFirstInstalledDefaultWinsThenTheCacheOfAssociations)
{
    FakeFiles files;
    const std::vector<std::string> lists = DefaultListFiles(nullptr, nullptr, "/home/u", kData);
    files.texts["/usr/share/applications/mimeinfo.cache"] =
        "[MIME Cache]\napplication/pdf=pdf.desktop;\napplication/x-dvi=evince.desktop;xdvi.desktop;\n";
    files.desktopFiles = {"/usr/share/applications/xdvi.desktop", "/usr/share/applications/okular.desktop",
                          "/home/u/.local/share/applications/kde/okular.desktop"};
    // No default anywhere: the first installed entry the cache names.
    EXPECT_EQ(DesktopFileFor("application/x-dvi", lists, kData, files.Reader(), files.Exists()),
              "/usr/share/applications/xdvi.desktop");
    EXPECT_EQ(DesktopFileFor("text/x-tex", lists, kData, files.Reader(), files.Exists()), "");
    // The user's default, whose first entry is not installed.
    files.texts["/home/u/.config/mimeapps.list"] =
        "[Added Associations]\napplication/x-dvi=xdvi.desktop;\n"
        "[Default Applications]\napplication/x-dvi=gone.desktop;kde-okular.desktop;\n";
    EXPECT_EQ(DesktopFileFor("application/x-dvi", lists, kData, files.Reader(), files.Exists()),
              "/home/u/.local/share/applications/kde/okular.desktop");
    // A default naming nothing installed falls through to the next list.
    files.texts["/home/u/.config/mimeapps.list"] = "[Default Applications]\napplication/x-dvi=gone.desktop\n";
    files.texts["/etc/xdg/mimeapps.list"] = "[Default Applications]\napplication/x-dvi=okular.desktop\n";
    EXPECT_EQ(DesktopFileFor("application/x-dvi", lists, kData, files.Reader(), files.Exists()),
              "/usr/share/applications/okular.desktop");
}

TEST(DefaultOutCommandTest, TheScriptInTheDataFolderWhenItCanRun)
{
    const auto runnable = [](const std::string& path) { return path == "/opt/scrivlet/share/tex2pdf"; };
    EXPECT_EQ(DefaultOutCommand("/opt/scrivlet/share", runnable), "/opt/scrivlet/share/tex2pdf");
    EXPECT_EQ(DefaultOutCommand("/opt/scrivlet/share/", runnable), "/opt/scrivlet/share/tex2pdf");
    EXPECT_EQ(DefaultOutCommand("/elsewhere", runnable), "");
    // Never a path relative to whatever folder the program runs in.
    EXPECT_EQ(DefaultOutCommand("", [](const std::string&) { return true; }), "");
    EXPECT_EQ(DefaultOutCommand("share", [](const std::string&) { return true; }), "");
}

TEST(ProcessAliveTest, AnEndedProcessIsNotAliveEvenBeforeItIsReaped)
{
    EXPECT_TRUE(ProcessAlive(getpid()));
    EXPECT_FALSE(ProcessAlive(0));
    EXPECT_FALSE(ProcessAlive(-1));
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        _exit(0);
    // The child has ended but is not reaped yet: a zombie.
    for (int i = 0; i < 200; ++i) {
        if (!ProcessAlive(child))
            break;
        usleep(10000);
    }
    EXPECT_FALSE(ProcessAlive(child));
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_FALSE(ProcessAlive(child));
}

}  // namespace
