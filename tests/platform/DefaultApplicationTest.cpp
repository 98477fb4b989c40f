#include "platform/DefaultApplication.h"
#include "platform/DefaultOutCommand.h"
#include "platform/ProcessAlive.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/ToolDiscovery.h"

using namespace DefaultApplication;

namespace {

// A desktop in memory: file contents by path.
struct FakeDesktop {
    std::map<std::string, std::string> files;
    DesktopFolders folders{{"/home/u/.config", "/etc/xdg"}, {"/home/u/.local/share", "/usr/share"}, {"gnome"}};
    void Install(const std::string& id, const std::string& dataFolder = "/usr/share")
    {
        files[dataFolder + "/applications/" + id] = "[Desktop Entry]\nExec=" + id + " %f\n";
    }
    std::string Find(std::string_view type) const
    {
        return DesktopFileFor(
            folders, type,
            [this](const std::string& path) -> std::optional<std::string> {
                auto it = files.find(path);
                return it == files.end() ? std::nullopt : std::optional<std::string>(it->second);
            },
            [this](const std::string& path) { return files.count(path) > 0; });
    }
};

}  // namespace

TEST(DefaultApplication, FoldersComeFromTheEnvironmentWithTheBaseDirectoryDefaults)
{
    const DesktopFolders unset = FoldersFrom(nullptr, "", nullptr, nullptr, nullptr, "/home/u");
    EXPECT_EQ(unset.ConfigFolders, (std::vector<std::string>{"/home/u/.config", "/etc/xdg"}));
    EXPECT_EQ(unset.DataFolders, (std::vector<std::string>{"/home/u/.local/share", "/usr/local/share", "/usr/share"}));
    EXPECT_TRUE(unset.Desktops.empty());
    const DesktopFolders set = FoldersFrom("/c", "/x:rel:/y", "/d", "/e", "ubuntu:GNOME", "/home/u");
    EXPECT_EQ(set.ConfigFolders, (std::vector<std::string>{"/c", "/x", "/y"}));
    EXPECT_EQ(set.Desktops, (std::vector<std::string>{"ubuntu", "gnome"}));
    EXPECT_EQ(SplitIds(" a.desktop; ;b.desktop;"), (std::vector<std::string>{"a.desktop", "b.desktop"}));
}

TEST(DefaultApplication, TheMostImportantListNamingAnInstalledEntryWins)
{
    FakeDesktop d;
    d.Install("xdvi.desktop");
    d.Install("evince.desktop");
    d.Install("okular.desktop", "/home/u/.local/share");
    d.files["/usr/share/applications/mimeinfo.cache"] = "[MIME Cache]\napplication/x-dvi=evince.desktop;\n";
    EXPECT_EQ(d.Find("application/x-dvi"), "/usr/share/applications/evince.desktop");

    d.files["/etc/xdg/mimeapps.list"] = "[Default Applications]\napplication/x-dvi=xdvi.desktop\n";
    EXPECT_EQ(d.Find("application/x-dvi"), "/usr/share/applications/xdvi.desktop");
    // The user's list first; an entry that is not installed is passed over.
    d.files["/home/u/.config/mimeapps.list"] =
        "[Default Applications]\napplication/x-dvi=gone.desktop;okular.desktop;\n";
    EXPECT_EQ(d.Find("application/x-dvi"), "/home/u/.local/share/applications/okular.desktop");
    // The desktop's own list before the common one.
    d.files["/home/u/.config/gnome-mimeapps.list"] = "[Default Applications]\napplication/x-dvi=evince.desktop\n";
    EXPECT_EQ(d.Find("application/x-dvi"), "/usr/share/applications/evince.desktop");
    EXPECT_EQ(d.Find("application/pdf"), "");
}

TEST(DefaultApplication, AddedAssociationsAndTheCacheComeAfterDefaultsAndRemovalsCount)
{
    FakeDesktop d;
    d.Install("xdvi.desktop");
    d.Install("evince.desktop");
    d.files["/usr/share/applications/mimeinfo.cache"] = "[MIME Cache]\napplication/x-dvi=evince.desktop;xdvi.desktop;\n";
    d.files["/home/u/.config/mimeapps.list"] = "[Removed Associations]\napplication/x-dvi=evince.desktop;\n";
    EXPECT_EQ(d.Find("application/x-dvi"), "/usr/share/applications/xdvi.desktop");
    d.files["/home/u/.config/mimeapps.list"] += "[Added Associations]\napplication/x-dvi=evince.desktop;\n";
    EXPECT_EQ(d.Find("application/x-dvi"), "/usr/share/applications/xdvi.desktop");
    d.files["/usr/share/applications/defaults.list"] = "[Default Applications]\napplication/x-dvi=evince.desktop\n";
    EXPECT_EQ(d.Find("application/x-dvi"), "/usr/share/applications/evince.desktop");
}

TEST(DefaultApplication, TheDviViewerIsTheProgramOfTheDefaultEntrysExecLine)
{
    QTemporaryDir dir;
    const std::string root = dir.path().toStdString();
    const DesktopFolders folders{{root + "/config"}, {root + "/data"}, {}};
    auto put = [&](const std::string& path, const std::string& text) {
        std::filesystem::create_directories(std::filesystem::path(root + path).parent_path());
        std::ofstream(root + path) << text;
    };
    const std::set<std::string> programs{"/usr/bin/xdvi", "/opt/view dvi/bin/viewer"};
    auto executable = [&](const std::string& path) { return programs.count(path) > 0; };
    auto discover = [&] { return ToolDiscovery::DiscoverDviViewer(folders, "relative:/usr/bin", executable); };

    EXPECT_EQ(discover(), "");  // nothing registered
    put("/config/mimeapps.list", "[Default Applications]\napplication/x-dvi=v.desktop\n");
    put("/data/applications/v.desktop", "[Desktop Entry]\nName=V\nExec=xdvi -s 5 %f\n");
    EXPECT_EQ(discover(), "/usr/bin/xdvi");  // a bare name from PATH's absolute entries
    put("/data/applications/v.desktop", "[Desktop Entry]\nExec=\"/opt/view dvi/bin/viewer\" %U\n");
    EXPECT_EQ(discover(), "/opt/view dvi/bin/viewer");
    put("/data/applications/v.desktop", "[Desktop Entry]\nExec=/opt/missing %f\n");
    EXPECT_EQ(discover(), "");  // the program is not there
    put("/data/applications/v.desktop", "[Desktop Entry]\nExec=\"broken %f\n");
    EXPECT_EQ(discover(), "");
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
