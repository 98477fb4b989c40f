#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/IniRegistry.h"

namespace fs = std::filesystem;

namespace {

const std::string Key = "\\Software\\Veltrane\\Scrivlet";

class IniRegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "ini-registry-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        path_ = (dir_ / "Scrivlet.ini").string();
    }
    void TearDown() override
    {
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir_);
    }
    static std::string Slurp(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static void Spit(const std::string& path, const std::string& text)
    {
        std::ofstream(path, std::ios::binary) << text;
    }
    std::vector<std::string> FolderEntries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_))
            names.push_back(entry.path().filename().string());
        return names;
    }

    fs::path dir_;
    std::string path_;
};

std::vector<uint8_t> AllBytes()
{
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 256; ++i)
        bytes.push_back(static_cast<uint8_t>(255 - i));
    return bytes;
}

TEST_F(IniRegistryTest, MissingFileIsAnEmptyKeyThatReadingDoesNotChange)
{
    IniRegistry reg(path_, Key);
    EXPECT_TRUE(reg.KeyExists(Key));
    EXPECT_TRUE(reg.KeyExists("\\Software"));
    EXPECT_FALSE(reg.KeyExists(Key + "\\Window"));
    EXPECT_TRUE(reg.OpenKey(Key, true));
    EXPECT_FALSE(reg.OpenKey("Window", false));
    EXPECT_EQ(reg.ReadString("Left"), "");
    EXPECT_EQ(reg.GetDataSize("Left"), -1);
    EXPECT_FALSE(reg.Modified());
    reg.Flush();
    EXPECT_FALSE(fs::exists(path_));
    EXPECT_TRUE(reg.Damage().empty());
}

TEST_F(IniRegistryTest, ValuesRoundTripByteForByte)
{
    // Escapes, quotes, line breaks, NUL, blanks at the ends, Shift-JIS whose
    // second byte is a backslash ("表"), UTF-8, and names that look like
    // INI syntax.
    const std::string text = std::string("a\\b\"c\r\nd\te\0f\x7F g ", 16) + "\x95\x5C" + "\xE8\xA1\xA8";
    const std::vector<std::pair<std::string, std::string>> strings = {
        {"Plain", "/home/user/doc.tex"}, {"Text", text},   {"Empty", ""},     {"a=b", "1"},
        {"[x]", "2"},                    {";c", "3"},      {" sp ", " x "},   {"", "default"},
        {"back\\slash", "\\"},           {"#h", "hex:00"},
    };
    {
        IniRegistry reg(path_, Key);
        ASSERT_TRUE(reg.OpenKey(Key, true));
        reg.WriteString("Top", "top");
        ASSERT_TRUE(reg.OpenKey(Key + "\\Strings", true));
        for (const auto& [name, value] : strings)
            reg.WriteString(name, value);
        ASSERT_TRUE(reg.OpenKey(Key + "\\Deep\\Od%d]key [x", true));
        reg.WriteBinaryData("all", AllBytes());
        reg.WriteBinaryData("none", {});
        ASSERT_TRUE(reg.OpenKey(Key + "\\Empty", true));
        reg.Flush();
        EXPECT_FALSE(reg.Modified());
    }
    IniRegistry reg(path_, Key);
    EXPECT_EQ(reg.DamageCount(), 0u) << reg.DamageReport();
    ASSERT_TRUE(reg.OpenKey(Key, false));
    EXPECT_EQ(reg.ReadString("Top"), "top");
    ASSERT_TRUE(reg.OpenKey(Key + "\\Strings", false));
    for (const auto& [name, value] : strings) {
        EXPECT_TRUE(reg.ValueExists(name)) << name;
        EXPECT_EQ(reg.ReadString(name), value) << name;
    }
    ASSERT_TRUE(reg.OpenKey(Key + "\\Deep\\Od%d]key [x", false));
    EXPECT_EQ(reg.ReadBinaryData("all"), AllBytes());
    EXPECT_EQ(reg.GetDataSize("none"), 0);
    EXPECT_TRUE(reg.KeyExists(Key + "\\Deep"));
    EXPECT_TRUE(reg.KeyExists(Key + "\\Empty"));
}

TEST_F(IniRegistryTest, WritesTheDocumentedLayout)
{
    IniRegistry reg(path_, Key);
    ASSERT_TRUE(reg.OpenKey(Key + "\\Window", true));
    reg.WriteString("Left", "100");
    ASSERT_TRUE(reg.OpenKey(Key + "\\Option", true));
    reg.WriteString("BeginMath", "\\[\r\n");
    ASSERT_TRUE(reg.OpenKey(Key + "\\EditView", true));
    reg.WriteBinaryData("setting", {0x00, 0xFF, 0x5C});
    reg.Flush();
    EXPECT_EQ(Slurp(path_), "; Settings of Scrivlet, rewritten by the program when it ends.\n"
                            "\n[Window]\nLeft=\"100\"\n"
                            "\n[Option]\nBeginMath=\"\\\\[\\r\\n\"\n"
                            "\n[EditView]\nsetting=hex:00FF5C\n");
}

TEST_F(IniRegistryTest, NamesIgnoreCaseAndKeepTheirFirstSpelling)
{
    {
        IniRegistry reg(path_, Key);
        ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\veltrane\\Scrivlet\\Path", true));
        reg.WriteString("Out", "one");
        reg.WriteString("OUT", "two");
        EXPECT_EQ(reg.ReadString("out"), "two");
        reg.Flush();
    }
    const std::string file = Slurp(path_);
    EXPECT_NE(file.find("[Path]\nOut=\"two\"\n"), std::string::npos) << file;
    Spit(path_, file + "[PATH]\nlatex=\"x\"\n");
    IniRegistry reg(path_, Key);
    EXPECT_TRUE(reg.KeyExists(Key + "\\pAtH"));
    ASSERT_TRUE(reg.OpenKey(Key + "\\path", false));
    EXPECT_EQ(reg.ReadString("OUT"), "two");
    EXPECT_EQ(reg.ReadString("LaTeX"), "x");
}

TEST_F(IniRegistryTest, WrongKindsAndKeysOutsideTheStoredKeyAreRefused)
{
    IniRegistry reg(path_, Key);
    ASSERT_TRUE(reg.OpenKey(Key + "\\EditView", true));
    reg.WriteBinaryData("setting", {1});
    reg.WriteString("text", "x");
    try {
        reg.ReadString("setting");
        FAIL();
    } catch (const ERegistryException& e) {
        EXPECT_STREQ(e.what(), "'setting' のデータ型が不正です");
    }
    EXPECT_THROW(reg.ReadBinaryData("text"), ERegistryException);
    EXPECT_THROW(reg.ReadBinaryData("missing"), ERegistryException);

    EXPECT_FALSE(reg.OpenKey("\\Software\\Other", true));
    ASSERT_TRUE(reg.OpenKey("\\Software", false));
    EXPECT_THROW(reg.WriteString("x", "y"), ERegistryException);
    EXPECT_FALSE(reg.DeleteKey(Key));
    reg.SetRootKey("HKEY_CLASSES_ROOT");
    EXPECT_FALSE(reg.OpenKey(".tex", true));
    EXPECT_FALSE(reg.KeyExists("\\Software"));
}

TEST_F(IniRegistryTest, DeleteKeyRemovesTheKeysUnderItAndClosesIt)
{
    IniRegistry reg(path_, Key);
    ASSERT_TRUE(reg.OpenKey(Key + "\\A\\B", true));
    reg.WriteString("v", "1");
    ASSERT_TRUE(reg.OpenKey(Key + "\\AB", true));
    EXPECT_TRUE(reg.DeleteKey(Key + "\\a"));
    EXPECT_FALSE(reg.KeyExists(Key + "\\A\\B"));
    EXPECT_TRUE(reg.KeyExists(Key + "\\AB"));
    EXPECT_FALSE(reg.DeleteKey(Key + "\\A"));
    ASSERT_TRUE(reg.OpenKey(Key + "\\AB", false));
    EXPECT_TRUE(reg.DeleteKey(Key + "\\AB"));
    EXPECT_THROW(reg.WriteString("v", "1"), ERegistryException);  // closed: back at the root
}

TEST_F(IniRegistryTest, FlushWritesPendingChangesOnlyAndKeepsPermissionsAndLinks)
{
    const std::string nested = (dir_ / "a" / "b" / "Scrivlet.ini").string();
    {
        IniRegistry reg(nested, Key);
        ASSERT_TRUE(reg.OpenKey(Key + "\\W", true));
        reg.WriteString("v", "1");
        EXPECT_FALSE(fs::exists(nested));
        reg.Flush();
    }
    EXPECT_EQ(fs::status(dir_ / "a").permissions() & fs::perms::all, fs::perms::owner_all);
    ::chmod(nested.c_str(), 0640);
    fs::create_symlink(nested, path_);
    {
        IniRegistry reg(path_, Key);
        ASSERT_TRUE(reg.OpenKey(Key + "\\W", false));
        EXPECT_EQ(reg.ReadString("v"), "1");
        reg.WriteString("v", "2");
        reg.Flush();
    }
    EXPECT_TRUE(fs::is_symlink(path_));
    EXPECT_EQ(fs::status(nested).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_NE(Slurp(nested).find("v=\"2\""), std::string::npos);
    EXPECT_EQ(FolderEntries().size(), 2u);  // "a" and the link: no leftovers
}

TEST_F(IniRegistryTest, FailedWriteRaisesAndLeavesTheOldFile)
{
    {
        IniRegistry reg(path_, Key);
        ASSERT_TRUE(reg.OpenKey(Key + "\\W", true));
        reg.WriteString("v", "old");
        reg.Flush();
    }
    const std::string old = Slurp(path_);
    IniRegistry reg(path_, Key);
    ASSERT_TRUE(reg.OpenKey(Key + "\\W", false));
    reg.WriteString("v", std::string(100000, 'n'));

    // A file size limit makes the write itself fail, whoever runs the test.
    rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string message;
    try {
        reg.Flush();
    } catch (const ERegistryException& e) {
        message = e.what();
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    // The user reads why, in Japanese.
    EXPECT_TRUE(message.starts_with("設定ファイル \"" + path_ + "\" に書き込めません: ")) << message;
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(Slurp(path_), old);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"Scrivlet.ini"});
    EXPECT_TRUE(reg.Modified());
    reg.Flush();  // the changes were kept for another try
    EXPECT_NE(Slurp(path_).find(std::string(100000, 'n')), std::string::npos);

    // A folder that cannot be written (not testable as root, who may write
    // anywhere) and a folder that is a file.
    if (::geteuid() != 0) {
        reg.WriteString("v", "new");
        fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_THROW(reg.Flush(), ERegistryException);
        fs::permissions(dir_, fs::perms::owner_all);
        EXPECT_NE(Slurp(path_).find(std::string(100000, 'n')), std::string::npos);
    }
    IniRegistry under((dir_ / "Scrivlet.ini" / "x.ini").string(), Key);
    ASSERT_TRUE(under.OpenKey(Key + "\\W", true));
    try {
        under.Flush();
        ADD_FAILURE();
    } catch (const ERegistryException& e) {
        EXPECT_NE(std::string(e.what()).find("はフォルダではありません"), std::string::npos) << e.what();
    }
    under.CloseKey();
    try {
        IniRegistry folder(dir_.string(), Key);  // a folder, not a file
        ADD_FAILURE();
    } catch (const ERegistryException& e) {
        EXPECT_NE(std::string(e.what()).find("を読み込めません"), std::string::npos) << e.what();
    }
}

TEST_F(IniRegistryTest, DamagedFileIsReadAsFarAsItIsSound)
{
    std::string file = "\xEF\xBB\xBF"
                       "Top=\"t\"\r\n"                      // 1: CR LF and a byte-order mark
                       "[Window]\n"                         // 2
                       "  Left = \"100\"  \n"                // 3: blanks around
                       "no equals sign\n"                   // 4
                       "Top=100\n"                          // 5: not quoted
                       "Width=\"64\\q0\"\n"                 // 6: bad escape
                       "Height=\"480\n"                     // 7: no closing quote
                       "Left=\"101\"\n"                     // 8: given twice, kept
                       "[Edit\n"                            // 9: bad header
                       "lost=\"x\"\n"                       // 10: under it
                       "[EditView]\n"                       // 11
                       "odd=hex:ABC\n"                      // 12
                       "bad=hex:GG\n"                       // 13
                       "nul=\"a";
    file += std::string(1, '\0') + "b\"\n";                 // 14: raw NUL
    file += "good=hex:00ff\n"                               // 15
            "esc=\"a\\x4\"\n";                              // 16: short \x
    file += std::string(5u << 20, 'x') + "\n";              // 17: a huge line
    file += "[Path]\nLaTeX=\"/usr/bin/platex\"";            // 18, 19 without a final line break
    Spit(path_, file);

    IniRegistry reg(path_, Key);
    ASSERT_TRUE(reg.OpenKey(Key, false));
    EXPECT_EQ(reg.ReadString("Top"), "t");
    ASSERT_TRUE(reg.OpenKey(Key + "\\Window", false));
    EXPECT_EQ(reg.ReadString("Left"), "101");
    EXPECT_FALSE(reg.ValueExists("Top"));
    EXPECT_FALSE(reg.ValueExists("Width"));
    EXPECT_FALSE(reg.ValueExists("Height"));
    EXPECT_FALSE(reg.KeyExists(Key + "\\Edit"));
    ASSERT_TRUE(reg.OpenKey(Key + "\\EditView", false));
    EXPECT_EQ(reg.ReadBinaryData("good"), (std::vector<uint8_t>{0x00, 0xFF}));
    for (const char* name : {"odd", "bad", "nul", "esc"})
        EXPECT_FALSE(reg.ValueExists(name)) << name;
    ASSERT_TRUE(reg.OpenKey(Key + "\\Path", false));
    EXPECT_EQ(reg.ReadString("LaTeX"), "/usr/bin/platex");

    std::vector<std::size_t> lines;
    for (const IniDamage& d : reg.Damage())
        lines.push_back(d.Line);
    EXPECT_EQ(lines, (std::vector<std::size_t>{4, 5, 6, 7, 8, 9, 10, 12, 13, 14, 16, 17}));
    EXPECT_NE(reg.DamageReport().find("14 行目: 制御文字 0x00 が含まれています"), std::string::npos);
    EXPECT_FALSE(reg.Modified());

    // The lines that could not be read are not written again: the first
    // write keeps the file as it was beside it.
    EXPECT_EQ(reg.BackupPath(), path_ + ".damaged");
    reg.WriteString("LaTeX", "/opt/platex");
    reg.Flush();
    EXPECT_EQ(Slurp(path_ + ".damaged"), file);
    EXPECT_EQ(IniRegistry(path_, Key).DamageCount(), 0u);
    // A later damaged file does not replace that copy.
    Spit(path_, "broken\n");
    IniRegistry again(path_, Key);
    EXPECT_EQ(again.BackupPath(), path_ + ".damaged.2");
}

TEST_F(IniRegistryTest, OversizedFileIsCutAtALineAndReported)
{
    {
        std::ofstream out(path_, std::ios::binary);
        out << "[W]\nv=\"1\"\n";
        const std::string comment = "; " + std::string(1021, 'c') + "\n";
        for (std::size_t size = 0; size <= IniRegistry::MaxFileBytes; size += comment.size())
            out << comment;
        out << "late=\"2\"\n";
    }
    IniRegistry reg(path_, Key);
    ASSERT_TRUE(reg.OpenKey(Key + "\\W", false));
    EXPECT_EQ(reg.ReadString("v"), "1");
    EXPECT_FALSE(reg.ValueExists("late"));
    ASSERT_EQ(reg.Damage().size(), 1u);
    EXPECT_EQ(reg.Damage()[0].Line, 0u);
}

TEST(IniRegistryPath, FollowsXdgConfigHome)
{
    const char* savedXdg = std::getenv("XDG_CONFIG_HOME");
    const std::string xdg = savedXdg ? savedXdg : "";
    const char* home = std::getenv("HOME");
    ASSERT_NE(home, nullptr);

    ::setenv("XDG_CONFIG_HOME", "/cfg/dir/", 1);
    EXPECT_EQ(IniRegistry::DefaultPath(), "/cfg/dir/Veltrane/Scrivlet.ini");
    ::setenv("XDG_CONFIG_HOME", "relative", 1);
    EXPECT_EQ(IniRegistry::DefaultPath(), std::string(home) + "/.config/Veltrane/Scrivlet.ini");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(IniRegistry::DefaultPath(), std::string(home) + "/.config/Veltrane/Scrivlet.ini");

    if (savedXdg)
        ::setenv("XDG_CONFIG_HOME", xdg.c_str(), 1);
}

}  // namespace
