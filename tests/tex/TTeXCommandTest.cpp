#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "editor/core/EFileError.h"
#include "tex/TTeXCommand.h"

namespace fs = std::filesystem;

namespace {

const std::string C(TTeXCommand::CaretMarker);
const std::string H(TTeXCommand::HelpSeparator);
const std::string N(TTeXCommand::LineBreakMarker);

class TTeXCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "tex-command-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override
    {
        chmod(folder_.c_str(), 0700);
        fs::remove_all(folder_);
    }
    void Write(const std::string& name, const std::string& bytes)
    {
        std::ofstream(folder_ / name, std::ios::binary) << bytes;
    }
    std::string Read(const std::string& name)
    {
        std::ifstream in(folder_ / name, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::string Folder() const { return folder_.string(); }

    // Item i of Names is NameOf item i of Entries, for every i.
    static void ExpectParallel(const TTeXCommand& list)
    {
        ASSERT_EQ(list.Entries().size(), list.Names().size());
        for (size_t i = 0; i < list.Entries().size(); ++i)
            EXPECT_EQ(list.Names()[i], TTeXCommand::NameOf(list.Entries()[i])) << i;
    }

    fs::path folder_;
};

TEST_F(TTeXCommandTest, ReadsLinesEndedByCrLfCrOrLfAndKeepsTheFileOrder)
{
    Write("list.txt", "\\zeta" + H + "z\r\n\\alpha" + H + "a\r\r\n\\beta" + H + "b\n\\gamma" + H + "g");
    TTeXCommand list(Folder(), "list.txt");
    EXPECT_TRUE(list.LoadError().empty());
    EXPECT_EQ(list.FileName(), "list.txt");
    ASSERT_EQ(list.Count(), 5);
    EXPECT_EQ(list.Names()[0], "\\zeta");
    EXPECT_EQ(list.Names()[1], "\\alpha");
    EXPECT_EQ(list.Entries()[2], "");  // the blank line between CR and CR LF
    EXPECT_EQ(list.Names()[3], "\\beta");
    EXPECT_EQ(list.Names()[4], "\\gamma");
    ExpectParallel(list);
}

TEST_F(TTeXCommandTest, EmptyFilesAndFinalLinesWithoutAnEnd)
{
    Write("empty.txt", "");
    TTeXCommand empty(Folder(), "empty.txt");
    EXPECT_TRUE(empty.LoadError().empty());
    EXPECT_EQ(empty.Count(), 0);
    empty.SaveList();
    EXPECT_EQ(Read("empty.txt"), "");

    Write("a.txt", "one\r\ntwo");
    Write("b.txt", "one\r\ntwo\r\n");
    TTeXCommand a(Folder(), "a.txt");
    TTeXCommand b(Folder(), "b.txt");
    EXPECT_EQ(a.Entries(), b.Entries());
    a.SaveList();
    EXPECT_EQ(Read("a.txt"), "one\r\ntwo\r\n");
}

TEST_F(TTeXCommandTest, BytesOtherThanLineEndsAreKeptThroughASave)
{
    // Shift-JIS with a 0x5C trail byte, NUL, a stray ESC, a lone lead byte.
    const std::string odd = std::string("\\\x95\x5C", 3) + std::string(1, '\0') + "\x1b" + "x\x81" + H + "\x82\xa0";
    Write("odd.txt", odd + "\n" + odd + "\r");
    TTeXCommand list(Folder(), "odd.txt");
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Entries()[0], odd);
    list.SaveList();
    EXPECT_EQ(Read("odd.txt"), odd + "\r\n" + odd + "\r\n");
}

TEST_F(TTeXCommandTest, AMissingOrUnreadableFileGivesAnEmptyListAndSaysWhy)
{
    TTeXCommand missing(Folder(), "none.txt");
    EXPECT_EQ(missing.Count(), 0);
    EXPECT_EQ(missing.Names().size(), 0u);
    EXPECT_FALSE(missing.LoadError().empty());

    fs::create_directory(folder_ / "folder.txt");
    TTeXCommand folder(Folder(), "folder.txt");
    EXPECT_EQ(folder.Count(), 0);
    EXPECT_FALSE(folder.LoadError().empty());
}

TEST_F(TTeXCommandTest, AFailedSaveThrowsAndKeepsTheOldFile)
{
    Write("list.txt", "old\r\n");
    TTeXCommand list(Folder(), "list.txt");
    list.AddEntry("new");
    // A folder in the list file's place cannot be replaced.
    fs::remove(folder_ / "list.txt");
    fs::create_directory(folder_ / "list.txt");
    EXPECT_THROW(list.SaveList(), EFileError);
    EXPECT_TRUE(fs::is_directory(folder_ / "list.txt"));

    // A good save replaces the file whole.
    fs::remove(folder_ / "list.txt");
    Write("list.txt", "old\r\n");
    list.SaveList();
    EXPECT_EQ(Read("list.txt"), "new\r\nold\r\n");
}

TEST(TTeXCommandNameOf, TheFirstCommandLineWithoutCaretMarkers)
{
    EXPECT_EQ(TTeXCommand::NameOf("\\alpha" + H + "ギリシャ文字アルファ"), "\\alpha");
    EXPECT_EQ(TTeXCommand::NameOf("\\frac{" + C + "}{}" + H), "\\frac{}{}");
    EXPECT_EQ(TTeXCommand::NameOf("\\begin{itemize}" + N + "\\item " + C + N + "\\end{itemize}" + H + "x" + N + "y"),
              "\\begin{itemize}");
    // Without a help separator the name is empty; a help part's markers do not matter.
    EXPECT_EQ(TTeXCommand::NameOf("\\alpha"), "");
    EXPECT_EQ(TTeXCommand::NameOf(""), "");
    EXPECT_EQ(TTeXCommand::NameOf("\\a" + H + "b" + H + "c"), "\\a");
    EXPECT_EQ(TTeXCommand::NameOf(C + H), "");
    // Truncated markers at the very end.
    EXPECT_EQ(TTeXCommand::NameOf("\\a" + H + "\x1b"), "\\a");
    EXPECT_EQ(TTeXCommand::NameOf("\x1b"), "");
}

TEST(TTeXCommandSplitCommand, OneLine)
{
    int col = 7, line = 7;
    auto lines = TTeXCommand::SplitCommand("\\frac{" + C + "}{}", col, line);
    EXPECT_EQ(lines, std::vector<std::string>{"\\frac{}{}"});
    EXPECT_EQ(col, 6);
    EXPECT_EQ(line, 0);

    col = line = 7;
    lines = TTeXCommand::SplitCommand("\\alpha", col, line);
    EXPECT_EQ(lines, std::vector<std::string>{"\\alpha"});
    EXPECT_EQ(col, -1);
    EXPECT_EQ(line, 0);

    // Two markers: the first gives the place, both are removed.
    lines = TTeXCommand::SplitCommand("a" + C + "b" + C, col, line);
    EXPECT_EQ(lines, std::vector<std::string>{"ab"});
    EXPECT_EQ(col, 1);

    lines = TTeXCommand::SplitCommand("", col, line);
    EXPECT_EQ(lines, std::vector<std::string>{""});
    EXPECT_EQ(col, -1);
}

TEST(TTeXCommandSplitCommand, SeveralLines)
{
    int col = 0, line = 0;
    auto lines = TTeXCommand::SplitCommand("\\begin{center}" + N + C + N + "\\end{center}", col, line);
    EXPECT_EQ(lines, (std::vector<std::string>{"\\begin{center}", "", "\\end{center}"}));
    EXPECT_EQ(line, 1);
    EXPECT_EQ(col, 0);

    // The last line with a marker wins; a trailing marker gives an empty last line.
    lines = TTeXCommand::SplitCommand("a" + C + N + "bc" + C + N, col, line);
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "bc", ""}));
    EXPECT_EQ(line, 1);
    EXPECT_EQ(col, 2);

    // No marker: the caller's values stay.
    col = 5;
    line = 9;
    lines = TTeXCommand::SplitCommand("x" + N + "y", col, line);
    EXPECT_EQ(lines.size(), 2u);
    EXPECT_EQ(col, 5);
    EXPECT_EQ(line, 9);
}

TEST_F(TTeXCommandTest, AddEntryConvertsLineBreaksSortsAndKeepsTheListsParallel)
{
    Write("list.txt", "\\zeta" + H + "\r\n\\beta" + H + "\r\n");
    TTeXCommand list(Folder(), "list.txt");
    list.AddEntry("a\r\nb");
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Entries()[0], "\\beta" + H);
    EXPECT_EQ(list.Entries()[1], "\\zeta" + H);
    EXPECT_EQ(list.Entries()[2], "a" + N + "b");
    ExpectParallel(list);

    // A lone CR or LF is not a line break of the text.
    list.AddEntry("c\rd\ne" + H);
    EXPECT_NE(std::find(list.Entries().begin(), list.Entries().end(), "c\rd\ne" + H), list.Entries().end());
    ExpectParallel(list);
}

TEST_F(TTeXCommandTest, TheCollationDecidesTheOrder)
{
    Write("list.txt", "b\r\nA\r\na\r\nB\r\n");
    // Case-insensitive first, upper case before lower case on a tie.
    auto folded = [](const std::string& x, const std::string& y) {
        std::string fx = x, fy = y;
        for (char& c : fx)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        for (char& c : fy)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        const int order = fx.compare(fy);
        return order != 0 ? order : x.compare(y);
    };
    TTeXCommand list(Folder(), "list.txt", folded);
    list.Sort();
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{"A", "a", "B", "b"}));
}

TEST_F(TTeXCommandTest, DeleteEntryAndLookUpByName)
{
    Write("list.txt", "\\a" + H + "one\r\n\\b" + H + "\r\n\\a" + H + "two\r\n");
    TTeXCommand list(Folder(), "list.txt");
    // The first entry with the name is the one used.
    EXPECT_EQ(list.IndexOfName("\\a"), 0);
    EXPECT_EQ(list.IndexOfName("\\A"), -1);
    EXPECT_EQ(list.IndexOfName(""), -1);

    list.DeleteEntry(2);
    EXPECT_EQ(list.Count(), 2);
    ExpectParallel(list);
    list.DeleteEntry(0);
    EXPECT_EQ(list.IndexOfName("\\a"), -1);
    list.DeleteEntry(-1);
    list.DeleteEntry(5);
    EXPECT_EQ(list.Count(), 1);
    ExpectParallel(list);
}

TEST(TTeXCommandParts, CommandAndHelpPartsAndMarkerReplacement)
{
    const std::string entry = "\\x" + C + N + "y" + H + "help" + N + "two" + H + "more";
    EXPECT_EQ(TTeXCommand::CommandPart(entry), "\\x" + C + N + "y");
    EXPECT_EQ(TTeXCommand::HelpPart(entry), "help" + N + "two" + H + "more");
    EXPECT_EQ(TTeXCommand::HelpPart("\\x"), "");
    EXPECT_EQ(TTeXCommand::ReplaceMarker(TTeXCommand::HelpPart(entry), N, "\r\n"), "help\r\ntwo" + H + "more");
}

}  // namespace
