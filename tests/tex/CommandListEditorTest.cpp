#include "tex/CommandListEditor.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "../support/ScratchFolder.h"

namespace {

const std::string C(TTeXCommand::CaretMarker);
const std::string H(TTeXCommand::HelpSeparator);
const std::string N(TTeXCommand::LineBreakMarker);

constexpr int kSetUp = 0, kNormal = 1, kMath = 2, kTemplate = 3;

struct Fixture {
    ScratchFolder folder{"command-list-editor"};
    CommandListEditor lists{folder.String(), TTeXCommand::ByteCollation};

    Fixture()
    {
        folder.Write("TeX_Command.txt", "\\section{" + C + "}" + H + "sec\r\n\\label{" + C + "}" + H + "lab\r\n");
        folder.Write("TeX_Command_SP.txt", "\\documentclass{" + C + "}" + H + "cls\r\n");
        folder.Write("TeX_Command_Math.txt", "\\frac{" + C + "}{}" + H + "frac\r\n");
        folder.Write("TeX_Template.txt", "%fig" + N + "\\begin{figure}" + N + C + N + "\\end{figure}" + H + "a" + N + "b\r\n");
    }
};

TEST(CommandListEditor, RadioItemsMapToTheirFilesAndUpdateSortsTheSelectedList)
{
    EXPECT_STREQ(CommandListEditor::FileOfItem(kSetUp), "TeX_Command_SP.txt");
    EXPECT_STREQ(CommandListEditor::FileOfItem(kNormal), "TeX_Command.txt");
    EXPECT_STREQ(CommandListEditor::FileOfItem(kMath), "TeX_Command_Math.txt");
    EXPECT_STREQ(CommandListEditor::FileOfItem(kTemplate), "TeX_Template.txt");

    Fixture f;
    EXPECT_TRUE(f.lists.Load().empty());
    EXPECT_EQ(f.lists.List(kSetUp).Names(), std::vector<std::string>{"\\documentclass{}"});
    EXPECT_EQ(f.lists.List(kTemplate).Names(), std::vector<std::string>{"%fig"});
    // Loaded in file order; shown sorted.
    EXPECT_EQ(f.lists.List(kNormal).Names()[0], "\\section{}");
    EXPECT_EQ(f.lists.Update(kNormal), (std::vector<std::string>{"\\label{}", "\\section{}"}));
}

TEST(CommandListEditor, OpenSplitsTheEntryAndAddPutsTheCaretMarkerWhereTheCaretStands)
{
    Fixture f;
    f.lists.Load();
    CommandListEditor::EditText text;
    ASSERT_TRUE(f.lists.Open(kTemplate, 0, text));
    EXPECT_EQ(text.Lines, (std::vector<std::string>{"%fig", "\\begin{figure}", "", "\\end{figure}"}));
    EXPECT_EQ(text.CaretLine, 2);
    EXPECT_EQ(text.CaretOffset, 0);
    EXPECT_EQ(text.Help, "a\nb");
    EXPECT_FALSE(f.lists.Open(kTemplate, 1, text));

    // A two-line help is stored with one line-break marker, and the caret
    // comes back where it was.
    ASSERT_TRUE(f.lists.Add(kNormal, {"\\cite{}"}, 0, 6, "one\ntwo"));
    const int index = f.lists.List(kNormal).IndexOfName("\\cite{}");
    ASSERT_GE(index, 0);
    EXPECT_EQ(f.lists.List(kNormal).Entries()[index], "\\cite{" + C + "}" + H + "one" + N + "two");
    ASSERT_TRUE(f.lists.Open(kNormal, index, text));
    EXPECT_EQ(text.Lines, std::vector<std::string>{"\\cite{}"});
    EXPECT_EQ(text.CaretOffset, 6);
    EXPECT_EQ(text.Help, "one\ntwo");
    // Added at its sorted place, names still parallel.
    EXPECT_EQ(f.lists.List(kNormal).Names(),
              (std::vector<std::string>{"\\cite{}", "\\label{}", "\\section{}"}));
}

TEST(CommandListEditor, ComposedEntriesHoldOneCaretMarkerAndNoRawLineBreak)
{
    // Caret on the row after the last line: the marker is a last line of its own.
    EXPECT_EQ(CommandListEditor::ComposeEntry({"\\begin{x}", "\\end{x}"}, 2, 0, ""),
              "\\begin{x}\r\n\\end{x}\r\n" + C + H);
    // An offset past the end stands at the end; one inside a double-byte
    // character stands before it ("表" is 95 5C: its 5C is no backslash).
    EXPECT_EQ(CommandListEditor::ComposeEntry({"ab"}, 0, 9, "h"), "ab" + C + H + "h");
    EXPECT_EQ(CommandListEditor::ComposeEntry({"a\x95\x5c"}, 0, 2, "h"), "a" + C + "\x95\x5c" + H + "h");
    // Line breaks of any kind inside a line or the help become structure, so
    // the entry stays one line of the file.
    Fixture f;
    f.lists.Load();
    ASSERT_TRUE(f.lists.Add(kMath, {"\\a\nb", "c"}, 1, 1, "x\r\ny\rz"));
    for (const std::string& entry : f.lists.List(kMath).Entries())
        EXPECT_EQ(entry.find_first_of("\r\n"), std::string::npos) << entry;
    EXPECT_EQ(f.lists.List(kMath).Entries()[0], "\\a" + N + "b" + N + "c" + C + H + "x" + N + "y" + N + "z");
}

TEST(CommandListEditor, AnEmptyFirstLineAddsNothingAndDeleteOutOfRangeChangesNothing)
{
    Fixture f;
    f.lists.Load();
    EXPECT_FALSE(f.lists.Add(kNormal, {"", "\\x"}, 0, 0, "help"));
    EXPECT_FALSE(f.lists.Add(kNormal, {}, 0, 0, "help"));
    f.lists.Delete(kNormal, 2);
    f.lists.Delete(kNormal, -1);
    EXPECT_EQ(f.lists.List(kNormal).Count(), 2);
    f.lists.Delete(kNormal, 1);
    EXPECT_EQ(f.lists.List(kNormal).Names(), std::vector<std::string>{"\\section{}"});
}

TEST(CommandListEditor, SaveWritesAllFourListsAndDiscardWritesNothing)
{
    Fixture f;
    f.lists.Load();
    f.lists.Add(kSetUp, {"\\usepackage{}"}, 0, 12, "pkg");
    f.lists.Discard();
    EXPECT_FALSE(f.lists.Loaded());
    EXPECT_EQ(f.folder.Read("TeX_Command_SP.txt"), "\\documentclass{" + C + "}" + H + "cls\r\n");

    // A missing file is an empty list, written like the others.
    std::filesystem::remove(f.folder.Path() / "TeX_Command_Math.txt");
    EXPECT_TRUE(f.lists.Load().empty());
    EXPECT_EQ(f.lists.List(kMath).Count(), 0);
    f.lists.Update(kNormal);
    f.lists.Add(kSetUp, {"\\usepackage{}"}, 0, 12, "pkg");
    EXPECT_TRUE(f.lists.Save().empty());
    EXPECT_EQ(f.folder.Read("TeX_Command_SP.txt"),
              "\\documentclass{" + C + "}" + H + "cls\r\n\\usepackage{" + C + "}" + H + "pkg\r\n");
    EXPECT_EQ(f.folder.Read("TeX_Command.txt"), "\\label{" + C + "}" + H + "lab\r\n\\section{" + C + "}" + H + "sec\r\n");
    EXPECT_TRUE(f.folder.Exists("TeX_Command_Math.txt"));
    EXPECT_EQ(f.folder.Read("TeX_Command_Math.txt"), "");
}

TEST(CommandListEditor, AListThatCannotBeReadIsReportedAndNotOverwrittenUnlessChanged)
{
    Fixture f;
    // A folder where the file should be: it exists but cannot be read as a list.
    std::filesystem::remove(f.folder.Path() / "TeX_Template.txt");
    std::filesystem::create_directory(f.folder.Path() / "TeX_Template.txt");
    const auto problems = f.lists.Load();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].Path, (f.folder.Path() / "TeX_Template.txt").string());
    EXPECT_FALSE(problems[0].Reason.empty());
    EXPECT_EQ(f.lists.List(kTemplate).Count(), 0);
    EXPECT_TRUE(f.lists.Save().empty());
    EXPECT_TRUE(std::filesystem::is_directory(f.folder.Path() / "TeX_Template.txt"));

    // Changed, it is written; here that fails, and the failure names the
    // file while the lists keep what was typed.
    f.lists.Add(kTemplate, {"%new"}, 0, 4, "");
    const auto failures = f.lists.Save();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].Path, (f.folder.Path() / "TeX_Template.txt").string());
    EXPECT_TRUE(f.lists.Loaded());
    EXPECT_EQ(f.lists.List(kTemplate).Names(), std::vector<std::string>{"%new"});
    // The other three were written all the same.
    EXPECT_EQ(f.folder.Read("TeX_Command_SP.txt"), "\\documentclass{" + C + "}" + H + "cls\r\n");
}

}  // namespace
