#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <string>

#include "platform/ChosenFileName.h"

namespace {

// A codec that loses information as the dialog's does: every byte outside
// ASCII reads as "?", and text is encoded as it stands.
const ChosenFileName::NameCodec LossyCodec{
    [](std::string_view text) { return std::string(text); },
    [](std::string_view bytes) {
        std::string text(bytes);
        std::replace_if(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }, '?');
        return text;
    },
};

// A path as the lossy dialog shows it.
std::string Shown(std::string_view bytes) { return LossyCodec.Decode(bytes); }

// A file system of folders and their entries.
struct Tree {
    std::map<std::string, std::set<std::string>> folders;
    std::vector<std::string> listed;

    ChosenFileName::FolderLister Lister()
    {
        return [this](const std::string& folder) -> std::optional<std::vector<std::string>> {
            listed.push_back(folder);
            const auto it = folders.find(folder);
            if (it == folders.end())
                return std::nullopt;
            return std::vector<std::string>(it->second.begin(), it->second.end());
        };
    }
    ChosenFileName::PathTest Exists()
    {
        return [this](const std::string& path) {
            if (path == "/" || folders.count(path))
                return true;
            const std::size_t slash = path.rfind('/');
            const std::string folder = slash == 0 ? "/" : path.substr(0, slash);
            const auto it = folders.find(folder);
            return it != folders.end() && it->second.count(path.substr(slash + 1)) > 0;
        };
    }
    std::string Resolve(std::string_view chosen)
    {
        return ChosenFileName::SystemPath(chosen, LossyCodec, Lister(), Exists());
    }
};

}  // namespace

TEST(ChosenFileName, PartsThatDoNotExistAsTextAreFoundAmongTheirFoldersEntries)
{
    Tree t;
    t.folders["/"] = {"home"};
    t.folders["/home"] = {"\x98\x5F\x95\xB6", "plain"};  // 論文, with a 0x5C-free trail
    t.folders["/home/\x98\x5F\x95\xB6"] = {"\x95\x5C.tex", "a.tex"};  // 表.tex: its trail byte is "\"
    t.folders["/home/plain"] = {"x.tex"};

    // A name the text keeps whole needs no folder listing.
    EXPECT_EQ(t.Resolve("/home/plain/x.tex"), "/home/plain/x.tex");
    EXPECT_TRUE(t.listed.empty());

    // A Shift-JIS folder and file: each found by the name the dialog showed.
    EXPECT_EQ(t.Resolve(Shown("/home/\x98\x5F\x95\xB6/\x95\x5C.tex")), "/home/\x98\x5F\x95\xB6/\x95\x5C.tex");
    EXPECT_EQ(t.Resolve(Shown("/home/\x98\x5F\x95\xB6/a.tex")), "/home/\x98\x5F\x95\xB6/a.tex");

    // A new name typed for a save, in a Shift-JIS folder: the folder is found,
    // the new name is encoded.
    EXPECT_EQ(t.Resolve(Shown("/home/\x98\x5F\x95\xB6/new.tex")), "/home/\x98\x5F\x95\xB6/new.tex");

    // Nothing matches: the text encoded, the rest too.
    EXPECT_EQ(t.Resolve("/home/?x?/x.tex"), "/home/?x?/x.tex");
    EXPECT_EQ(t.Resolve("/nowhere/??.tex"), "/nowhere/??.tex");
}

TEST(ChosenFileName, TwoEntriesThatLookAlikeAreNeitherTaken)
{
    Tree t;
    t.folders["/"] = {"d"};
    t.folders["/d"] = {"\x82\xA0.tex", "\x82\xA2.tex", "\x83\x41.tex"};  // あ and い both read "??.tex"
    EXPECT_EQ(t.Resolve("/d/??.tex"), "/d/??.tex");
    t.folders["/d"] = {"\x82\xA0.tex", "b.tex"};
    EXPECT_EQ(t.Resolve("/d/??.tex"), "/d/\x82\xA0.tex");
}

// The system's own listing: a real folder with entries named in raw
// Shift-JIS bytes, and a name relative to the current folder.
TEST(ChosenFileName, TheSystemListingGivesTheEntriesBytes)
{
    std::string folder = (std::getenv("TMPDIR") ? std::getenv("TMPDIR") : std::string("/tmp")) + "/chosenXXXXXX";
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    const std::string sjisFolder = folder + "/\x93\xFA\x96\x7B";  // 日本
    ASSERT_EQ(mkdir(sjisFolder.c_str(), 0700), 0);
    const std::string file = sjisFolder + "/\x95\x5C.tex";
    const int fd = open(file.c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    close(fd);

    const auto names = ChosenFileName::FolderEntryNames(sjisFolder);
    ASSERT_TRUE(names.has_value());
    EXPECT_EQ(*names, std::vector<std::string>{"\x95\x5C.tex"});
    EXPECT_FALSE(ChosenFileName::FolderEntryNames(sjisFolder + "/none").has_value());
    EXPECT_TRUE(ChosenFileName::PathExists(file));
    EXPECT_FALSE(ChosenFileName::PathExists(sjisFolder + "/none"));

    const auto resolve = [](std::string_view chosen) {
        return ChosenFileName::SystemPath(chosen, LossyCodec, ChosenFileName::FolderEntryNames,
                                          ChosenFileName::PathExists);
    };
    EXPECT_EQ(resolve(Shown(file)), file);
    char here[4096];
    ASSERT_NE(getcwd(here, sizeof here), nullptr);
    ASSERT_EQ(chdir(folder.c_str()), 0);
    EXPECT_EQ(resolve(Shown("\x93\xFA\x96\x7B/\x95\x5C.tex")), "\x93\xFA\x96\x7B/\x95\x5C.tex");
    ASSERT_EQ(chdir(here), 0);

    unlink(file.c_str());
    rmdir(sjisFolder.c_str());
    rmdir(folder.c_str());
}
