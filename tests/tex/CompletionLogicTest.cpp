#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/core/TEditorScreenStrings.h"
#include "tex/CandidateFilter.h"
#include "tex/CharPos.h"
#include "tex/CommandInsertion.h"
#include "tex/OffsetToRowCol.h"
#include "tex/TTeXCommand.h"

namespace {

using Names = std::vector<std::string>;
const std::string C(TTeXCommand::CaretMarker);
const std::string H(TTeXCommand::HelpSeparator);
const std::string N(TTeXCommand::LineBreakMarker);

// 表 is 0x95 0x5C: its second byte is not a backslash.
const std::string kHyo = "\x95\x5C";

TEST(CharPos, StepsOverDoubleByteCharacters)
{
    EXPECT_EQ(FirstCharPos('\\', "ab\\c\\"), 3);
    EXPECT_EQ(LastCharPos('\\', "ab\\c\\"), 5);
    EXPECT_EQ(FirstCharPos('\\', kHyo + "x"), 0);
    EXPECT_EQ(LastCharPos('\\', kHyo), 0);
    EXPECT_EQ(FirstCharPos('\\', kHyo + "\\"), 3);
    EXPECT_EQ(LastCharPos('\\', "\\" + kHyo), 1);
    EXPECT_EQ(FirstCharPos('%', ""), 0);
    // A lone lead byte before a byte that cannot follow it is a character of its own.
    EXPECT_EQ(FirstCharPos('\\', std::string("\x95\x0a\\", 3)), 3);
}

TEST(CandidateFilter, UpperCasesOnlySingleByteLetters)
{
    EXPECT_EQ(AnsiUpper("\\sec{a}"), "\\SEC{A}");
    // 0x83 0x61 is a katakana whose second byte reads as "a".
    EXPECT_EQ(AnsiUpper("\x83" "a" "b"), "\x83" "a" "B");
    EXPECT_TRUE(NameContains("\\section{}", "\\SEC"));
    EXPECT_TRUE(NameContains("\\left( \\right)", "\\RIGHT"));
    EXPECT_FALSE(NameContains("\\sec", "\\SECTION"));
    EXPECT_TRUE(NameContains("\\textgt{" + kHyo + "}", kHyo));
    // A match never starts on the second byte of a character: "\x5C" + "[" is not "\[".
    EXPECT_FALSE(NameContains(kHyo + "[", "\\["));
    EXPECT_FALSE(NameContains("\x83" "a", "A"));
}

TEST(CandidateFilter, TheTypedTextRunsFromTheLastBackslashThroughTheTypedCharacter)
{
    const Names names = {"\\section{}", "\\subsection{}", "\\Section*", "\\sqrt{}", "\\left( \\right)", ""};
    // "\sec" with the c just typed at index 3.
    const std::string line = "\\sec";
    CandidateFilterResult r = FilterCandidates(&line, 3, false, names);
    EXPECT_TRUE(r.show);
    EXPECT_EQ(r.names, (Names{"\\section{}", "\\Section*"}));  // \subsection holds no "\SEC"
    // A blank after it: nothing matches, the list hides.
    const std::string blank = "\\sec ";
    EXPECT_FALSE(FilterCandidates(&blank, 4, false, names).show);
    // Only the text from the last backslash before the caret counts.
    const std::string two = "x \\foo \\ri";
    r = FilterCandidates(&two, 9, false, names);
    EXPECT_EQ(r.names, Names{"\\left( \\right)"});
    // The line's first backslash lies after the typed character.
    const std::string later = "ab \\sec";
    EXPECT_FALSE(FilterCandidates(&later, 0, false, names).show);
    // The row after the last line, and lines without a backslash outside template mode.
    EXPECT_FALSE(FilterCandidates(nullptr, 0, false, names).show);
    const std::string plain = "plain";
    EXPECT_FALSE(FilterCandidates(&plain, 2, false, names).show);
    // A trail byte 0x5C is no backslash.
    const std::string kanji = kHyo + "sec";
    EXPECT_FALSE(FilterCandidates(&kanji, 3, false, names).show);
}

TEST(CandidateFilter, TemplatesMatchTheWholeLine)
{
    const Names names = {"%jsarticle", "%figure", "%table", "no percent"};
    const std::string one = "%";
    CandidateFilterResult r = FilterCandidates(&one, 0, true, names);
    EXPECT_EQ(r.names, (Names{"%jsarticle", "%figure", "%table"}));
    const std::string narrowed = "%f";
    EXPECT_EQ(FilterCandidates(&narrowed, 1, true, names).names, Names{"%figure"});
    const std::string none = "%zz";
    EXPECT_FALSE(FilterCandidates(&none, 2, true, names).show);
    // The "%" was deleted: the list hides.
    const std::string gone = "f";
    EXPECT_FALSE(FilterCandidates(&gone, 0, true, names).show);
    // A "%" after the typed character: shown, empty.
    const std::string after = "a%";
    r = FilterCandidates(&after, 0, true, names);
    EXPECT_TRUE(r.show);
    EXPECT_TRUE(r.names.empty());
}

TEST(CommandInsertion, ReplacesTheTypedTextAndPlacesTheCaretAtTheMarker)
{
    const std::string entry = "\\section{" + C + "}" + H + "節見出し" + N + "引数: 見出し";
    CommandInsertion r = InsertCommand("ab \\sec tail", 0, 7, entry);
    EXPECT_EQ(r.lines, std::vector<std::string>{"ab \\section{} tail"});
    EXPECT_EQ(r.caretLine, 0);
    EXPECT_EQ(r.caretOffset, 12);  // inside the braces
    EXPECT_EQ(r.help, "節見出し\r\n引数: 見出し");

    // The typed text longer than the command: the offset still counts from the command's start.
    r = InsertCommand("\\abcdefgh \\x", 3, 9, "\\a{" + C + "}" + H);
    EXPECT_EQ(r.lines, std::vector<std::string>{"\\a{} \\x"});
    EXPECT_EQ(r.line, 3);
    EXPECT_EQ(r.caretOffset, 3);

    // Blanks around the command part go; a leading caret marker stays.
    r = InsertCommand("\\x", 0, 2, "  " + C + "\\y \t" + H);
    EXPECT_EQ(r.lines.front(), "\\y");
    EXPECT_EQ(r.caretOffset, 0);
}

TEST(CommandInsertion, SeveralLinesWithoutMarkerOrBackslash)
{
    const std::string itemize = "\\begin{itemize}" + N + "\\item " + C + N + "\\end{itemize}" + H + "箇条書き";
    CommandInsertion r = InsertCommand("  \\beg rest", 5, 6, itemize);
    EXPECT_EQ(r.lines, (std::vector<std::string>{"  \\begin{itemize} rest", "\\item ", "\\end{itemize}"}));
    EXPECT_EQ(r.caretLine, 6);
    EXPECT_EQ(r.caretOffset, 6);

    // No marker: after the inserted text.
    r = InsertCommand("\\al x", 0, 3, "\\alpha" + H);
    EXPECT_EQ(r.lines.front(), "\\alpha x");
    EXPECT_EQ(r.caretOffset, 6);
    r = InsertCommand("\\b", 2, 2, "a" + N + "bc" + H);
    EXPECT_EQ(r.caretLine, 3);
    EXPECT_EQ(r.caretOffset, 2);

    // No backslash before the caret (a kanji's 0x5C is none): inserted at the caret.
    r = InsertCommand(kHyo + "xy", 0, 3, "\\alpha" + H);
    EXPECT_EQ(r.lines.front(), kHyo + "x\\alphay");
    EXPECT_EQ(r.caretOffset, 9);
    // The row after the last line.
    r = InsertCommand("", 4, 0, "\\frac{" + C + "}{}" + H);
    EXPECT_EQ(r.lines.front(), "\\frac{}{}");
    EXPECT_EQ(r.caretOffset, 6);
}

TEST(CommandInsertion, TemplatesReplaceTheWholeLine)
{
    const std::string figure = "%figure" + N + "\\begin{figure}[htbp]" + N + "  \\centering" + N + "  " + C + N +
                               "\\end{figure}" + H + "図";
    CommandInsertion r = InsertTemplate(7, figure);
    EXPECT_EQ(r.line, 7);
    EXPECT_EQ(r.lines.size(), 5u);
    EXPECT_EQ(r.lines[0], "%figure");
    EXPECT_EQ(r.caretLine, 10);
    EXPECT_EQ(r.caretOffset, 2);
    EXPECT_EQ(r.help, "図");
    r = InsertTemplate(0, "%x" + N + "y" + H);
    EXPECT_EQ(r.caretLine, 1);
    EXPECT_EQ(r.caretOffset, 1);
}

TEST(OffsetToRowCol, WalksTheRowsOfAWrappedLine)
{
    TEditorScreenStrings store;
    store.SetPlainText("top\r\n0123456789abcdefghijXYZ\r\nend");
    EXPECT_EQ(OffsetToRowCol(store, 1, 12).column, 12);
    EXPECT_EQ(OffsetToRowCol(store, 1, 12).rowOffset, 0);
    store.WrapOption().SetWrapByte(10);
    store.SetWordWrap(true);
    ASSERT_EQ(store.LineToRow(2), 4);
    const RowColOffset inSecond = OffsetToRowCol(store, 1, 12);
    EXPECT_EQ(inSecond.rowOffset, 1);
    EXPECT_EQ(inSecond.column, 2);
    const RowColOffset atWrap = OffsetToRowCol(store, 1, 10);
    EXPECT_EQ(atWrap.rowOffset, 0);
    EXPECT_EQ(atWrap.column, 10);
    const RowColOffset past = OffsetToRowCol(store, 1, 99);
    EXPECT_EQ(past.rowOffset, 2);
    EXPECT_EQ(past.column, 79);
}

}  // namespace
