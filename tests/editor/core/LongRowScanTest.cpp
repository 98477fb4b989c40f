#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "FakeEditor.h"
#include "editor/core/RowScanMarks.h"
#include "editor/core/TEditorRowParser.h"
#include "editor/core/TEditorScreenStrings.h"
#include "editor/core/TEditorViewInfo.h"
#include "editor/core/TFountainParser.h"

namespace {

// An editor whose screen holds every row, so that each change is parsed
// through to where the states agree again.
class TallEditor : public FakeEditor {
public:
    using FakeEditor::FakeEditor;
    int ScreenRows() const override { return 1 << 20; }
};

struct Document {
    TEditorScreenStrings store;
    TEditorViewInfo view;
    TEditorRowParser parser{store, view};
    TallEditor editor{store};

    explicit Document(std::size_t spacing, bool mailAndUrl = true)
    {
        view.SetCommenter("%");
        view.ReserveWordList().Assign({"begin", "end", "section"});
        view.Brackets().Add("/*", "*/");
        view.SetQuotation("'");
        view.SetMail(mailAndUrl);
        view.SetUrl(mailAndUrl);
        view.SetControlCode(true);
        view.SetHexPrefix("0x");
        parser.SetScanMarkSpacing(spacing);
        store.SetParser(&parser);
        editor.focused = true;
    }
};

// "kind@start+length" of every token of a scan, reserved words and colours
// included.
std::string Tokens(TFountainParser& scanner)
{
    std::string out;
    while (const uint8_t kind = scanner.NextToken()) {
        out += std::to_string(kind) + (scanner.ReserveWord() ? "r" : "") + "@" + std::to_string(scanner.TokenStart()) +
               "+" + std::to_string(scanner.TokenLength());
        const TFountainColor* colour = scanner.TokenToFountainColor();
        out += colour ? "c" + std::to_string(reinterpret_cast<uintptr_t>(colour)) : "";
        out += ' ';
    }
    return out;
}

// Every row's stored start state and painted tokens against a parse of the
// whole text from the top, which reads each row from its start.
void ExpectSameAsFreshParse(Document& d, const std::string& when)
{
    auto reference = d.parser.CreateParser();
    auto painter = d.parser.CreateParser();
    TRowAttributeData state;
    std::string buffer, referenceBuffer;
    for (int r = 0; r < d.store.GetCount(); ++r) {
        state.PrevRowAttribute = r > 0 ? d.store.GetRowAttribute(r - 1) : uint8_t{raLineBreak};
        state.RowAttribute = d.store.GetRowAttribute(r);
        ASSERT_EQ(d.parser.RowStartState(r), state) << when << ", row " << r;

        reference->SetText(d.parser.ScanText(r, referenceBuffer), state);
        const std::string expected = Tokens(*reference);
        d.parser.StartRowScan(*painter, r, buffer);
        ASSERT_EQ(Tokens(*painter), expected) << when << ", row " << r;

        reference->ParseRow(r, d.store, state);
    }
}

const std::vector<std::string> Pieces = {
    "a",  "sec", "tion", "Section", "begin", "12", "3.", "e5", " ",  "  ", "\t", "%",  "/*",       "*/",
    "*",  "/",   "'",    "''",      "x@y.z", "@",  ".",  "http:", "www.", "#$1F", "#7", "0x1f", "\\section",
    "{",  "}",   "\x95\x5C" /* 表 */, "\x83\x5C" /* ソ */, "\x82\xA0" /* あ */, "\x82" /* a lone lead byte */,
};

std::string RandomText(std::mt19937& rng, int pieces)
{
    std::string text;
    for (int n = static_cast<int>(rng() % (pieces + 1)); n > 0; --n)
        text += Pieces[rng() % Pieces.size()];
    return text;
}

}  // namespace

TEST(RowScanMarks, SpliceMovesTheMarksAfterTheChangeAndDropsThoseInside)
{
    RowScanMarks marks;
    marks.Offsets = {10, 20, 30, 40};
    marks.Splice(20, 5, 2);  // bytes 20..24 became two bytes
    EXPECT_EQ(marks.Offsets, (std::vector<uint32_t>{10, 27, 37}));
    EXPECT_TRUE(marks.Changed);
    EXPECT_EQ(marks.ChangedFrom, 20u);
    EXPECT_EQ(marks.ChangedTo, 22u);

    // An insertion at a mark: the bytes after it are the old ones, so the
    // mark moves past the new bytes. The changed range grows over both edits.
    marks.Splice(10, 0, 3);
    EXPECT_EQ(marks.Offsets, (std::vector<uint32_t>{13, 30, 40}));
    EXPECT_EQ(marks.ChangedFrom, 10u);
    EXPECT_EQ(marks.ChangedTo, 25u);

    // Taking out bytes leaves an empty range where they were; a range inside
    // them shrinks to that place.
    RowScanMarks cut;
    cut.Offsets = {5, 8, 50};
    cut.Splice(4, 10, 0);
    EXPECT_EQ(cut.Offsets, (std::vector<uint32_t>{40}));
    EXPECT_EQ(cut.ChangedFrom, 4u);
    EXPECT_EQ(cut.ChangedTo, 4u);
    cut.Splice(30, 2, 1);
    EXPECT_EQ(cut.ChangedFrom, 4u);
    EXPECT_EQ(cut.ChangedTo, 31u);
    EXPECT_EQ(cut.Offsets, (std::vector<uint32_t>{39}));
}

// Random edits inside long rows, with word wrap off, through the row store's
// in-place replacement, undo and redo, whole-row replacements and changes of
// the rows above that open or close a region: the states and the colours
// must always be those of a parse from the top. Marks lie 1 or 8 bytes
// apart, so rows of 4 or 32 bytes and more keep them, and most edits land
// right after a mark. The last seeds wrap the lines at 7 columns: then the
// last row of a line, which keeps marks when it is long enough, may begin
// with the rest of a token cut by the wrap.
TEST(LongRowScan, EditsInLongRowsColourAsAFreshParse)
{
    for (unsigned seed = 1; seed <= 30; ++seed) {
        std::mt19937 rng(seed);
        Document d(seed % 2 ? 1 : 8);
        d.store.WrapOption().SetWrapByte(7);
        d.store.SetWordWrap(seed > 24);
        std::string text;
        for (int line = 0; line < 6; ++line)
            text += RandomText(rng, line % 2 ? 3 : 120) + "\r\n";
        text += RandomText(rng, 80);
        d.store.SetPlainText(text);
        d.parser.ReparseAll();
        ExpectSameAsFreshParse(d, "seed " + std::to_string(seed) + " loaded");

        for (int step = 0; step < 150; ++step) {
            const int count = d.store.GetCount();
            const int row = static_cast<int>(rng() % count);
            const std::size_t length = d.store.RowLength(row);
            const uint32_t op = rng() % 10;
            std::string what;
            if (op < 6) {
                const std::size_t from = length ? rng() % (length + 1) : 0;
                const std::size_t removed = rng() % 3 == 0 ? rng() % 6 : 0;
                const std::string inserted = RandomText(rng, 2);
                what = "ReplaceInRow(" + std::to_string(row) + ", " + std::to_string(from) + ", " +
                       std::to_string(removed) + ", \"" + inserted + "\")";
                d.store.ReplaceInRow(row, from, removed, inserted);
            } else if (op == 6) {
                what = "Undo";
                d.store.Undo();
            } else if (op == 7) {
                what = "Redo";
                d.store.Redo();
            } else if (op == 8) {
                const std::string line = RandomText(rng, 60) + (rng() % 4 == 0 ? "\r\n" + RandomText(rng, 2) : "");
                what = "ReplaceRows(" + std::to_string(row) + ", 1, \"" + line + "\")";
                d.store.ReplaceRows(row, 1, std::string_view(line + "\r\n"));
            } else {
                // A line break typed into a long row, or one taken out.
                const std::size_t from = length ? rng() % (length + 1) : 0;
                what = "ReplaceInRow(" + std::to_string(row) + ", " + std::to_string(from) + ", 0, CR LF)";
                d.store.ReplaceInRow(row, from, 0, "\r\n");
            }
            ExpectSameAsFreshParse(d, "seed " + std::to_string(seed) + " step " + std::to_string(step) + " " + what);
            if (HasFatalFailure())
                return;
        }
    }
}

// A keystroke in a long row re-reads the row only around the change, and so
// does its undo; the states stay those of a full parse.
TEST(LongRowScan, AKeystrokeReadsOnlyAroundTheChange)
{
    Document d(TEditorRowParser::DefaultScanMarkSpacing);
    std::string line;
    while (line.size() < 400'000)
        line += "\\section{節} 日本語の文と text, more words 12.5 % comment? no: ";
    line.resize(400'000);
    for (char& c : line)
        if (c == '%')
            c = '=';
    d.store.SetPlainText("\\begin{document}\r\n" + line + "\r\n\\end{document}\r\n");
    d.parser.ReparseAll();
    const std::size_t bound = 4 * TEditorRowParser::DefaultScanMarkSpacing;

    d.parser.ResetLongRowBytesScanned();
    d.store.ReplaceInRow(1, 200'000, 0, "x");
    EXPECT_LT(d.parser.LongRowBytesScanned(), bound);
    d.parser.ResetLongRowBytesScanned();
    d.store.ReplaceInRow(1, 300'001, 2, "");
    EXPECT_LT(d.parser.LongRowBytesScanned(), bound);
    d.parser.ResetLongRowBytesScanned();
    d.store.Undo();
    d.store.Undo();
    EXPECT_LT(d.parser.LongRowBytesScanned(), 2 * bound);
    EXPECT_EQ(d.store.RowView(1), line);

    // A comment typed into the row changes its end state; the row below
    // keeps its own.
    d.store.ReplaceInRow(1, 100, 0, "/*");
    EXPECT_EQ(d.store.GetBracketIndex(2), 0);
    d.store.ReplaceInRow(1, d.store.RowLength(1), 0, "*/");
    EXPECT_EQ(d.store.GetBracketIndex(2), -1);
    ExpectSameAsFreshParse(d, "after the region");
}

// Tokens before a place where the scan may start again can have looked a
// few bytes past it: a number given its fraction, a control code or a hex
// number completed at the end of the row changes the row's end state. The
// scan starts far enough before. (Mail addresses and URLs are off: with them
// on, no scan starts after the letters, digits and signs these tokens end
// in.)
TEST(LongRowScan, BytesPutJustAfterATokenCanChangeThatToken)
{
    struct Case {
        const char* row;
        const char* appended;
        uint8_t lastToken;
    };
    const Case cases[] = {
        {"words {12.", "5", tkReal},
        {"words {#$", "1F", tkHexControlCode},
        {"words {0x", "1f", tkHex},
    };
    for (const Case& c : cases) {
        Document d(1, false);
        d.store.SetPlainText(std::string(c.row) + "\r\nnext\r\n");
        d.parser.ReparseAll();
        d.store.ReplaceInRow(0, d.store.RowLength(0), 0, c.appended);
        EXPECT_EQ(d.store.GetPrevToken(1), c.lastToken) << c.row << c.appended;
        ExpectSameAsFreshParse(d, std::string(c.row) + c.appended);
    }
}

// A mail address is tried at every token start, over the whole run of mail
// characters: a "." typed after its "@" makes one address of a run that
// began long before, and the address takes in the "/*" that had opened a
// region. No scan starts inside such a run.
TEST(LongRowScan, ADotAfterAnAtSignMakesAnAddressOfTheWholeRun)
{
    Document d(1);
    const std::string row = "words abcdefghij@klmnopq/*ef";
    d.store.SetPlainText(row + "\r\nnext\r\n");
    d.parser.ReparseAll();
    EXPECT_EQ(d.store.GetBracketIndex(1), 0);
    d.store.ReplaceInRow(0, row.find("/*"), 0, ".x");
    EXPECT_EQ(d.store.GetBracketIndex(1), -1);
    EXPECT_EQ(d.store.GetPrevToken(1), tkMail);
    ExpectSameAsFreshParse(d, "after the dot");
}
