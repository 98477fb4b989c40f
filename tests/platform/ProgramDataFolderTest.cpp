#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/ProgramDataFolder.h"

namespace fs = std::filesystem;

namespace {

class ProgramDataFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "program-data-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
    }
    void TearDown() override { fs::remove_all(root_); }

    // A file standing for the executable at `relative` under the scratch folder.
    fs::path Executable(const fs::path& relative)
    {
        const fs::path path = root_ / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "#!/bin/sh\n";
        return path;
    }
    void Folder(const fs::path& relative) { fs::create_directories(root_ / relative); }

    fs::path root_;
};

TEST_F(ProgramDataFolderTest, BuildTreeFindsTheFilesBesideTheExecutable)
{
    const fs::path program = Executable("build/bin/scrivlet");
    Folder("build/bin/help");
    EXPECT_EQ(ProgramDataFolder::ForExecutable(program, "../share/scrivlet"), root_ / "build/bin");

    // commands/ alone marks the program folder as well.
    const fs::path other = Executable("other/scrivlet");
    Folder("other/commands");
    EXPECT_EQ(ProgramDataFolder::ForExecutable(other, "../share/scrivlet"), root_ / "other");
}

TEST_F(ProgramDataFolderTest, InstalledProgramFindsItsPrefixDataFolder)
{
    const fs::path program = Executable("usr/bin/scrivlet");
    Folder("usr/share/scrivlet/help");
    EXPECT_EQ(ProgramDataFolder::ForExecutable(program, "../share/scrivlet"), root_ / "usr/share/scrivlet");
    // A packager's other layout, and an absolute data folder.
    const fs::path libexec = Executable("opt/lib/scrivlet/bin/scrivlet");
    Folder("opt/data/scrivlet");
    EXPECT_EQ(ProgramDataFolder::ForExecutable(libexec, "../../../data/scrivlet"), root_ / "opt/data/scrivlet");
    EXPECT_EQ(ProgramDataFolder::ForExecutable(libexec, root_ / "usr/share/scrivlet"), root_ / "usr/share/scrivlet");
}

TEST_F(ProgramDataFolderTest, FilesBesideTheExecutableWinOverAnInstalledCopy)
{
    // A build tree that was also installed into: the fresh copy beside the
    // program is the one to use.
    const fs::path program = Executable("build/bin/scrivlet");
    Folder("build/bin/help");
    Folder("build/share/scrivlet/help");
    EXPECT_EQ(ProgramDataFolder::ForExecutable(program, "../share/scrivlet"), root_ / "build/bin");
}

TEST_F(ProgramDataFolderTest, WithNoDataAnywhereTheExecutableFolderIsNamed)
{
    // A plain file where the data folder should be is not a data folder.
    const fs::path program = Executable("usr/bin/scrivlet");
    std::ofstream(root_ / "usr/share") << "not a folder";
    EXPECT_EQ(ProgramDataFolder::ForExecutable(program, "../share/scrivlet"), root_ / "usr/bin");
}

}  // namespace
