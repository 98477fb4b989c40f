#include "build/TypesetterLog.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Rows(const TypesetterLog& log) { return log.Rows; }

// A log shaped like pLaTeX's, with errors in the root and in two included
// files, one of them in Shift-JIS ("第1章" is 91 E6 31 8F CD).
const std::string kLog =
    "This is e-pTeX, Version 3.141592653-p4.0.0-220214-2.6 (sjis.euc) (TeX Live 2022/Debian)\n"
    "(./main.tex\n"
    "pLaTeX2e <2021-06-01>+2 (based on LaTeX2e <2021-11-15> patch level 1)\n"
    "(/usr/share/texlive/texmf-dist/tex/platex/jsclasses/jsarticle.cls\n"
    "Document Class: jsarticle 2021/06/13 jsclasses (okumura, texjporg)\n"
    ") (./main.aux) (./chap1.tex [1]\n"
    "! Undefined control sequence.\n"
    "l.2 ...\x82\xcc\x94\x5c\x97\xcd\\undefinedcommand\n"
    "                                                  \n"
    "The control sequence at the end of the top line\n"
    ") (./\x91\xe6\x31\x8f\xcd.tex\n"
    "! Missing $ inserted.\n"
    "<inserted text> \n"
    "                $\n"
    "l.5 \\subsection\n"
    "                {x}\n"
    ")\n"
    "! LaTeX Error: \\begin{itemize} on input line 3 ended by \\end{enumerate}.\n"
    "\n"
    "See the LaTeX manual or LaTeX Companion for explanation.\n"
    "Type  H <return>  for immediate help.\n"
    " ...                                              \n"
    "                                                  \n"
    "l.9 \\end{enumerate}\n"
    "                   \n"
    "[2] (./main.aux) )\n"
    "Output written on main.dvi (2 pages, 1234 bytes).\n";

}  // namespace

TEST(TypesetterLog, GroupsOfFourRowsPerErrorThenTheLastLine)
{
    const TypesetterLog log = ReadTypesetterLog(kLog);
    ASSERT_EQ(log.Rows.size(), 3u * 4 + 1);
    ASSERT_EQ(log.Entries.size(), 3u);
    EXPECT_EQ(log.Rows[0], "! Undefined control sequence.");
    EXPECT_EQ(log.Rows[4], "! Missing $ inserted.");
    EXPECT_EQ(log.Rows[5], "<inserted text> ");
    EXPECT_EQ(log.Rows[8], "! LaTeX Error: \\begin{itemize} on input line 3 ended by \\end{enumerate}.");
    EXPECT_EQ(log.Rows[9], "");
    EXPECT_EQ(log.Rows.back(), "Output written on main.dvi (2 pages, 1234 bytes).");
}

TEST(TypesetterLog, EachEntryKnowsItsFileAndTheLineNamedBeforeTheNextError)
{
    const TypesetterLog log = ReadTypesetterLog(kLog);
    ASSERT_EQ(log.Entries.size(), 3u);
    EXPECT_EQ(log.Entries[0].FileName, "./chap1.tex");
    EXPECT_EQ(log.Entries[0].Line, 2);
    EXPECT_EQ(log.Entries[1].FileName, "./\x91\xe6\x31\x8f\xcd.tex");
    EXPECT_EQ(log.Entries[1].Line, 5);
    // After the chapter's ")" the error belongs to the root again; its "l.N"
    // stands seven rows below the "!" line.
    EXPECT_EQ(log.Entries[2].FileName, "./main.tex");
    EXPECT_EQ(log.Entries[2].Line, 9);
}

TEST(TypesetterLog, OverlappingErrorsAndErrorsNearTheEndKeepTheGrouping)
{
    // Two "!" lines two apart: both start an entry. A "!" line among the
    // last lines gets empty rows. The last line never starts an entry.
    const TypesetterLog log = ReadTypesetterLog("a\n! one\nl.3 x\n! two\n! last\n");
    EXPECT_EQ(Rows(log), (std::vector<std::string>{"! one", "l.3 x", "! two", "! last",  //
                                                   "! two", "! last", "", "",            //
                                                   "! last"}));
    ASSERT_EQ(log.Entries.size(), 2u);
    EXPECT_EQ(log.Entries[0].Line, 3);
    EXPECT_EQ(log.Entries[1].Line, 0);  // no "l.N" before the next "!"
}

TEST(TypesetterLog, EmptyAndBreakOnlyLogs)
{
    EXPECT_EQ(Rows(ReadTypesetterLog("")), std::vector<std::string>{""});
    EXPECT_EQ(Rows(ReadTypesetterLog("\n")), std::vector<std::string>{""});
    EXPECT_EQ(Rows(ReadTypesetterLog("!")), std::vector<std::string>{"!"});
    // CR and CR LF end lines too; the last line is the one before a final break.
    EXPECT_EQ(Rows(ReadTypesetterLog("! e\r\nl.1 x\rend\r\n")),
              (std::vector<std::string>{"! e", "l.1 x", "end", "", "end"}));
}

TEST(TypesetterLog, ParenthesesThatOpenNoFileCloseNoFile)
{
    const TypesetterLog log = ReadTypesetterLog(
        "(./main.tex (see the transcript) (Font) x\n"
        "(./sub/my chapter.tex [1] [2\n"
        "\n"
        "]\n"
        "Overfull \\hbox (12.0pt too wide) in paragraph at lines 3--5\n"
        "[]\\JY1/mc/m/n/10 (unbalanced text in the box\n"
        "\n"
        "! Undefined control sequence.\n"
        "l.7 (an unbalanced quote\n"
        "                        \\foo\n"
        "! Second.\n"
        "l.8 x\n"
        ")\n"
        "! Third.\n"
        "l.9 y\n"
        ") ) )\n"
        "! After everything closed.\n"
        "end\n");
    ASSERT_EQ(log.Entries.size(), 4u);
    EXPECT_EQ(log.Entries[0].FileName, "./sub/my chapter.tex");
    EXPECT_EQ(log.Entries[1].FileName, "./sub/my chapter.tex");
    EXPECT_EQ(log.Entries[2].FileName, "./main.tex");
    // Extra ")" never close the document itself.
    EXPECT_EQ(log.Entries[3].FileName, "./main.tex");
}

TEST(TypesetterLog, TrailBytesAreNotParenthesesOrContextMarks)
{
    // 0x81 0x69 is "（" and 0x95 0x5C "表": no ASCII parenthesis in either,
    // and a lone lead byte or NUL does not derail the scan.
    const TypesetterLog log = ReadTypesetterLog(std::string("(./a.tex \x81\x69\x95\x5c\x81\n! e\nl.4 \0x\nz", 27));
    ASSERT_EQ(log.Entries.size(), 1u);
    EXPECT_EQ(log.Entries[0].FileName, "./a.tex");
    EXPECT_EQ(log.Entries[0].Line, 4);
}

TEST(TypesetterLog, ContextLineNumbers)
{
    EXPECT_EQ(ContextLineNumber("l.12 \\foo"), 12);
    EXPECT_EQ(ContextLineNumber("l.7"), 7);
    EXPECT_EQ(ContextLineNumber("l.x"), 0);
    EXPECT_EQ(ContextLineNumber("l.12x"), 0);
    EXPECT_EQ(ContextLineNumber("l.07 x"), 0);
    EXPECT_EQ(ContextLineNumber(" l.12"), 0);
    EXPECT_EQ(ContextLineNumber("l.99999999999 x"), 0);
}

TEST(TypesetterLog, ARealLogOfARootWithTwoChapters)
{
    // pLaTeX (TeX Live 2022) in nonstop mode on main.tex, which includes
    // chap1 and inputs chap2; errors in both chapters and in the root.
    std::ifstream file(SCRIVLET_TEST_DATA "/chapters-with-errors.log", std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    const TypesetterLog log = ReadTypesetterLog(bytes.str());
    ASSERT_EQ(log.Entries.size(), 4u);
    const std::pair<std::string, int> expected[] = {
        {"./chap1.tex", 2}, {"./chap2.tex", 4}, {"./chap2.tex", 5}, {"./main.tex", 6}};
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(log.Entries[k].FileName, expected[k].first) << k;
        EXPECT_EQ(log.Entries[k].Line, expected[k].second) << k;
    }
    EXPECT_EQ(log.Rows[4], "! LaTeX Error: \\begin{itemize} on input line 2 ended by \\end{enumerate}.");
    EXPECT_EQ(log.Rows.back(), "Output written on main.dvi (3 pages, 736 bytes).");
}
