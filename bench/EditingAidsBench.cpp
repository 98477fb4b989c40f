// The editing aids on the generated 50 MB, one-million-line Shift-JIS LaTeX
// document, with word wrap on at 80 columns:
//
//   1. the marking jumps (SerchUP from the last row, SerchDown from the
//      first) with no marked row, against a plain pass over an array of one
//      16-bit mark set per row (the floor for any scan of the marks), and
//      against a memchr line split of the document (a pass over the text);
//   2. Find Next (one OK of the find dialog, options 387) for an absent
//      pattern from the top, against the editor's own Search with the same
//      options, and against memmem;
//   3. commenting and uncommenting 10,000 selected lines mid-document (each
//      one undo step), against ReplaceRows of the same rows with the same text.
//
// Every scenario prints our number, each baseline's from the same run, and
// the ratio ours / baseline (lower is better).

#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string.h>  // memmem
#include <string>
#include <vector>

#include "build/FindReplace.h"
#include "build/Markings.h"
#include "editor/core/TEditorCore.h"
#include "tex/LineOperations.h"
#include "../tests/editor/core/FakeView.h"
#include "support/BenchDocument.h"
#include "support/BenchTiming.h"

using namespace bench;

namespace {

struct Screen : FakeView {
    Screen() { height = 600; }
};

constexpr int WrapColumns = 80;
constexpr int Trials = 5;
constexpr int CommentedLines = 10'000;
constexpr const char* AbsentPattern = "構文表示の再計算をQZ";

int Run(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bool ok = true;

    std::string doc;
    const double generateMs = TimeMs([&] { doc = LatexDocumentGenerator().Generate(DocumentShape{}); });
    Screen view;
    TEditorCore ed(view);
    ed.Lines().SetTextStr(doc);
    ed.WrapOption().SetWrapByte(WrapColumns);
    ed.SetWordWrap(true);
    const int rows = ed.RowCount();
    std::printf("document: %.1f MB, %d lines, fingerprint %016llx, generated in %.0f ms; wrapped at %d columns "
                "into %d rows\n",
                Mb(static_cast<double>(doc.size())), ed.Lines().GetCount(),
                static_cast<unsigned long long>(Fingerprint(doc)), generateMs, WrapColumns, rows);

    // --- 1. marking jumps with no marked row ------------------------------------------
    const double upMs = BestOfMs(Trials, [&] {
        ed.SetRowCol(rows - 1, 0);
        return TimeMs([&] { Markings::GoToMarkingAbove(ed); });
    });
    const bool upStayed = ed.Row() == rows - 1;
    const double downMs = BestOfMs(Trials, [&] {
        ed.SetRowCol(0, 0);
        return TimeMs([&] { Markings::GoToMarkingBelow(ed); });
    });
    if (!upStayed || ed.Row() != 0) {
        std::printf("ERROR: a jump moved the caret without a marked row\n");
        ok = false;
    }
    std::vector<uint16_t> plainMarks(static_cast<size_t>(rows), 0);
    int plainFound = -1;
    const double plainMs = BestOfMs(Trials, [&] {
        return TimeMs([&] {
            for (int r = rows - 1; r >= 0; --r)
                if (plainMarks[static_cast<size_t>(r)] == 1) {
                    plainFound = r;
                    break;
                }
        });
    });
    // A plain pass over the text: its lines split with memchr.
    long lineEnds = 0;
    const double memchrMs = BestOfMs(Trials, [&] {
        lineEnds = 0;
        return TimeMs([&] {
            const char* p = doc.data();
            const char* end = p + doc.size();
            while ((p = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p))))) {
                ++lineEnds;
                ++p;
            }
        });
    });
    if (lineEnds != ed.Lines().GetCount()) {
        std::printf("ERROR: memchr found %ld line ends\n", lineEnds);
        ok = false;
    }
    PrintScenario("1. SerchUP from the last row, no marked row (" + Count(rows) + " rows)", upMs,
                  {{"a pass over one uint16_t per row", plainMs}, {"memchr line split of the document", memchrMs}},
                  "ms", "SerchDown from the first row " + Fmt(downMs) + " ms");
    PrintTarget(std::max(upMs, downMs) <= 5.0, "SerchUP and SerchDown with no marked row at most 5 ms");

    // --- 2. Find Next with options 387 ---------------------------------------------------
    const std::string pattern = ToShiftJis(AbsentPattern);
    if (memmem(doc.data(), doc.size(), pattern.data(), pattern.size())) {
        std::printf("ERROR: the search pattern is in the document\n");
        ok = false;
    }
    bool found = false;
    const void* sink = nullptr;
    const FindReplace::Request request{pattern, "", false};
    const double findNextMs = BestOfMs(Trials, [&] {
        ed.ClearSelection();
        ed.SetRowCol(0, 0);
        return TimeMs([&] { found = FindReplace::Run(ed, request) || found; });
    });
    const double searchMs = BestOfMs(Trials, [&] {
        ed.ClearSelection();
        ed.SetRowCol(0, 0);
        return TimeMs([&] { found = ed.Search(pattern, FindReplace::kOptions) || found; });
    });
    const double memmemMs = BestOfMs(Trials, [&] {
        return TimeMs([&] { sink = memmem(doc.data(), doc.size(), pattern.data(), pattern.size()); });
    });
    if (found) {
        std::printf("ERROR: the absent pattern was found\n");
        ok = false;
    }
    PrintScenario("2. Find Next for an absent pattern from the top, options 387", findNextMs,
                  {{"the editor's Search, options 387", searchMs}, {"memmem over the document's bytes", memmemMs}});
    PrintTarget(findNextMs <= searchMs * 1.1, "Find Next at least as fast as Search (within 10 % noise)");

    // --- 3. comment and uncomment 10,000 lines ------------------------------------------------
    const int firstLine = ed.Lines().GetCount() / 2;
    const int firstRow = ed.LineToRow(firstLine);
    const int endRow = ed.LineToRow(firstLine + CommentedLines);
    const std::string before = ed.Store().RowsText(firstRow, endRow - firstRow).Text;
    double commentMs = 0;
    double uncommentMs = 0;
    for (int trial = 0; trial < Trials; ++trial) {
        ed.Select(firstRow, 0, ed.LineToRow(firstLine + CommentedLines - 1), 0);
        const double c = TimeMs([&] { LineOperations::CommentLines(ed); });
        const double u = TimeMs([&] { LineOperations::UncommentLines(ed); });
        commentMs = trial == 0 ? c : std::min(commentMs, c);
        uncommentMs = trial == 0 ? u : std::min(uncommentMs, u);
    }
    if (ed.Store().RowsText(firstRow, ed.LineToRow(firstLine + CommentedLines) - firstRow).Text != before) {
        std::printf("ERROR: uncommenting did not give the lines back\n");
        ok = false;
    }
    const std::string commented = LineOperations::AddCommentMarks(before);
    const double replaceMs = BestOfMs(Trials, [&] {
        const double t = TimeMs([&] { ed.Store().ReplaceRows(firstRow, endRow - firstRow, commented); });
        ed.Undo();
        return t;
    });
    PrintScenario("3. comment " + Count(CommentedLines) + " selected lines mid-document, one undo step", commentMs,
                  {{"ReplaceRows of those rows with the commented text", replaceMs}}, "ms",
                  "uncommenting them again " + Fmt(uncommentMs) + " ms");

    if (sink || plainFound >= 0)
        std::printf("\n");
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    return bench::RunProgram("EditingAidsBench", Run, argc, argv);
}
