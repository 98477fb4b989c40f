#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/CommandsFolder.h"

namespace fs = std::filesystem;

namespace {

class CommandsFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "commands-folder-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        installed_ = root_ / "share/scrivlet/commands";
        fs::create_directories(installed_);
        Write(installed_ / "TeX_Command.txt", "shipped\r\n");
        Write(installed_ / "TeX_Template.txt", "template\r\n");
    }
    void TearDown() override { fs::remove_all(root_); }

    static void Write(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
    static std::string Read(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static bool Never(const fs::path&) { return false; }

    fs::path root_;
    fs::path installed_;
};

TEST_F(CommandsFolderTest, AWritableProgramFolderIsUsedAsItIs)
{
    EXPECT_EQ(CommandsFolder::Choose(installed_, root_ / "data"), installed_);
    EXPECT_FALSE(fs::exists(root_ / "data"));
}

TEST_F(CommandsFolderTest, OtherwiseTheUserGetsASeededCopyThatKeepsTheirChanges)
{
    const fs::path own = CommandsFolder::Choose(installed_, root_ / "data", Never);
    EXPECT_EQ(own, root_ / "data/Scrivlet/commands");
    EXPECT_EQ(Read(own / "TeX_Command.txt"), "shipped\r\n");
    EXPECT_EQ(Read(own / "TeX_Template.txt"), "template\r\n");

    // The user's edit stays; a file shipped later is added.
    Write(own / "TeX_Command.txt", "mine\r\n");
    Write(installed_ / "TeX_Command_Math.txt", "math\r\n");
    EXPECT_EQ(CommandsFolder::Choose(installed_, root_ / "data", Never), own);
    EXPECT_EQ(Read(own / "TeX_Command.txt"), "mine\r\n");
    EXPECT_EQ(Read(own / "TeX_Command_Math.txt"), "math\r\n");
}

TEST_F(CommandsFolderTest, AMissingProgramFolderGivesAnEmptyCopy)
{
    const fs::path own = CommandsFolder::Choose(root_ / "nowhere/commands", root_ / "data");
    EXPECT_TRUE(fs::is_directory(own));
    EXPECT_TRUE(fs::is_empty(own));
}

TEST_F(CommandsFolderTest, TheUserDataFolderFollowsXdgDataHome)
{
    const char* oldXdg = std::getenv("XDG_DATA_HOME");
    const std::string savedXdg = oldXdg ? oldXdg : "";
    const char* oldHome = std::getenv("HOME");
    const std::string savedHome = oldHome ? oldHome : "";
    setenv("HOME", "/home/someone", 1);
    setenv("XDG_DATA_HOME", "/srv/data", 1);
    EXPECT_EQ(CommandsFolder::UserDataHome(), fs::path("/srv/data"));
    setenv("XDG_DATA_HOME", "relative/data", 1);
    EXPECT_EQ(CommandsFolder::UserDataHome(), fs::path("/home/someone/.local/share"));
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(CommandsFolder::UserDataHome(), fs::path("/home/someone/.local/share"));
    oldXdg ? setenv("XDG_DATA_HOME", savedXdg.c_str(), 1) : unsetenv("XDG_DATA_HOME");
    oldHome ? setenv("HOME", savedHome.c_str(), 1) : unsetenv("HOME");
}

}  // namespace
