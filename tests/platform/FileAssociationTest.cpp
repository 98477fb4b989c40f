#include "platform/FileAssociation.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "editor/core/EFileError.h"
#include "platform/DesktopEntry.h"
#include "platform/MimeAppsList.h"

namespace fs = std::filesystem;
using namespace FileAssociation;

namespace {

std::string Slurp(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void Put(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

struct Home {
    QTemporaryDir dir;
    std::string root = dir.path().toStdString();
    Places places = PlacesFrom((root + "/config").c_str(), (root + "/data").c_str(), "/nonexistent");
};

// Files in memory, with one operation made to fail.
struct FakeFiles {
    std::map<std::string, std::string> files;
    std::string failWriteOf;
    std::string failRemoveOf;
    FileOperations Operations()
    {
        return {[this](const std::string& path) -> std::optional<std::string> {
                    auto it = files.find(path);
                    return it == files.end() ? std::nullopt : std::optional<std::string>(it->second);
                },
                [this](const std::string& path, const std::string& bytes) {
                    if (path == failWriteOf)
                        throw EFileError(path, "書き込めません");
                    files[path] = bytes;
                },
                [this](const std::string& path) {
                    if (path == failRemoveOf)
                        throw EFileError(path, "削除できません");
                    files.erase(path);
                }};
    }
};

}  // namespace

TEST(FileAssociation, PlacesFollowTheDesktopFoldersWithTheirDefaults)
{
    const Places set = PlacesFrom("/c", "/d/", "/home/u");
    EXPECT_EQ(set.MimeAppsFile, "/c/mimeapps.list");
    EXPECT_EQ(set.ApplicationsFolder, "/d/applications");
    EXPECT_EQ(set.DesktopFile, "/d/applications/scrivlet-texfile.desktop");
    const Places unset = PlacesFrom("", "relative", "/home/u");
    EXPECT_EQ(unset.MimeAppsFile, "/home/u/.config/mimeapps.list");
    EXPECT_EQ(unset.DesktopFile, "/home/u/.local/share/applications/scrivlet-texfile.desktop");
}

TEST(FileAssociation, OnThenOffOnDiskKeepsEveryOtherByteOfADamagedListWithoutAFinalLineBreak)
{
    Home home;
    const std::string original = "\xEF\xBB\xBF# mine\r\n[Default Applications]\r\nbroken line\x01\x80\r\n"
                                 "text/html=firefox.desktop;\r\n[Added Associations]\r\ntext/x-tex=vim.desktop;";
    Put(home.places.MimeAppsFile, original);
    const std::string program = "/opt/my tools/scrivlet $1";

    const Outcome on = Toggle(home.places, program);
    ASSERT_TRUE(on.Succeeded) << on.Message();
    EXPECT_TRUE(on.On);
    EXPECT_EQ(on.Message(), kAssociatedMessage);
    const std::string list = Slurp(home.places.MimeAppsFile);
    EXPECT_EQ(MimeAppsList::DefaultFor(list, "text/x-tex"), "scrivlet-texfile.desktop;");
    const DesktopEntry entry = DesktopEntry::Parse(Slurp(home.places.DesktopFile));
    EXPECT_EQ(entry.CommandFor("/d/a.tex"), (std::vector<std::string>{program, "/d/a.tex"}));

    const Outcome off = Toggle(home.places, program);
    ASSERT_TRUE(off.Succeeded) << off.Message();
    EXPECT_FALSE(off.On);
    EXPECT_EQ(off.Message(), kRemovedMessage);
    EXPECT_EQ(Slurp(home.places.MimeAppsFile), original);
    EXPECT_FALSE(fs::exists(home.places.DesktopFile));
}

TEST(FileAssociation, AnotherProgramsDefaultCountsAsOnAndIsRemovedFirst)
{
    Home home;
    Put(home.places.MimeAppsFile, "[Default Applications]\ntext/x-tex=texstudio.desktop\n");
    const Outcome first = Toggle(home.places, "/usr/bin/scrivlet");
    ASSERT_TRUE(first.Succeeded);
    EXPECT_FALSE(first.On);
    EXPECT_EQ(Slurp(home.places.MimeAppsFile), "[Default Applications]\n");
    const Outcome second = Toggle(home.places, "/usr/bin/scrivlet");
    ASSERT_TRUE(second.Succeeded);
    EXPECT_TRUE(second.On);
    EXPECT_EQ(Slurp(home.places.MimeAppsFile), "[Default Applications]\ntext/x-tex=scrivlet-texfile.desktop;\n");
    EXPECT_TRUE(fs::exists(home.places.DesktopFile));
}

TEST(FileAssociation, AFailedStepEndsTheToggleAndWhatWasDoneBeforeItStays)
{
    const Places places = PlacesFrom("/c", "/d", nullptr);
    // On: the desktop entry is written, the default cannot be.
    FakeFiles files;
    files.failWriteOf = places.MimeAppsFile;
    Outcome outcome = Toggle(places, "/usr/bin/scrivlet", files.Operations());
    EXPECT_FALSE(outcome.Succeeded);
    EXPECT_EQ(outcome.Message(), "'/c/mimeapps.list' の設定に失敗しました\n書き込めません");
    EXPECT_TRUE(files.files.count(places.DesktopFile));
    EXPECT_FALSE(files.files.count(places.MimeAppsFile));

    // Off: the default is removed, our entry cannot be.
    files.failWriteOf.clear();
    files.files[places.MimeAppsFile] = "[Default Applications]\ntext/x-tex=a.desktop;\n";
    files.failRemoveOf = places.DesktopFile;
    outcome = Toggle(places, "/usr/bin/scrivlet", files.Operations());
    EXPECT_FALSE(outcome.Succeeded);
    EXPECT_EQ(outcome.FailedPath, places.DesktopFile);
    EXPECT_EQ(files.files[places.MimeAppsFile], "[Default Applications]\n");

    // A program path no desktop entry can hold changes nothing.
    FakeFiles clean;
    outcome = Toggle(places, "/usr/bin/scri\nvlet", clean.Operations());
    EXPECT_FALSE(outcome.Succeeded);
    EXPECT_EQ(outcome.FailedPath, places.DesktopFile);
    EXPECT_TRUE(clean.files.empty());
    EXPECT_THROW(DesktopFileText("/usr/bin/\xFF"), std::invalid_argument);
}

TEST(FileAssociation, AListThatCannotBeReadIsAFailureAndNothingIsWritten)
{
    Home home;
    fs::create_directories(home.places.MimeAppsFile);  // a folder where the file belongs
    const Outcome outcome = Toggle(home.places, "/usr/bin/scrivlet");
    EXPECT_FALSE(outcome.Succeeded);
    EXPECT_EQ(outcome.FailedPath, home.places.MimeAppsFile);
    EXPECT_FALSE(outcome.Reason.empty());
    EXPECT_FALSE(fs::exists(home.places.DesktopFile));
}
