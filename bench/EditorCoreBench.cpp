// The editor core (TEditorCore: caret, keys, search, selection and the
// clipboard) on the generated 50 MB, one-million-line Shift-JIS LaTeX
// document, with word wrap on at 80 columns:
//
//   1. typing 10,000 characters mid-document through KeyPress, one per call,
//      against the row store's own edit of the caret row for each of them,
//      and the same on a 1 MB document and near the end of a 2 MB line;
//   2. a forward search for an absent pattern from the top;
//   3. select all and copy the whole document;
//   4. keystrokes into one 10 MB line with word wrap off, against inserting
//      the same characters into a std::string holding the line, and the
//      bytes the undo list holds afterwards.
//
// `EditorCoreBench long-line` runs only scenario 4.
//
// Every scenario prints one line: our number, each baseline's number from the
// same run, and the ratio ours / baseline (lower is better). The Qt
// baselines hold the whole document, decoded, in one QTextDocument.

#include <QApplication>
#include <QString>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <malloc.h>  // malloc_trim
#include <string.h>  // memmem
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/core/TEditorCore.h"
#include "editor/core/TEditorViewServices.h"
#include "../tests/editor/core/FakeView.h"
#include "support/BenchDocument.h"
#include "support/BenchTiming.h"
#include "support/ShiftJisQString.h"

using namespace bench;

namespace {

// The window the editor talks to: it shows nothing, is focused, and keeps
// the last text put on its clipboard.
struct Screen : FakeView {
    Screen() { height = 600; }
};

const std::string& Clipboard(const Screen& view)
{
    static const std::string none;
    return view.clip ? *view.clip : none;
}

constexpr int WrapColumns = 80;
constexpr int Keystrokes = 10'000;
constexpr int Trials = 3;
constexpr size_t SmallDocumentBytes = 1'000'000;
constexpr size_t LongLineBytes = 2'000'000;
constexpr int LongLineKeystrokes = 500;
constexpr TSearchOptions SearchOptions = 387;  // soDown | soMatchCase | soSkipLineBreaks | soSkipSpace
constexpr const char* AbsentPattern = "構文表示の再計算をQZ";


// --- typing ------------------------------------------------------------------------

// The characters typed, one string each: ASCII letters, blanks, and
// double-byte kanji and hiragana (some with the trail byte 0x5C).
std::vector<std::string> TypedCharacters()
{
    const std::string wide = ToShiftJis("表示能力の構文を予測する十分な申請ソフトひらがなと漢字");
    Rng rng(0xC0FFEEull);
    std::vector<std::string> chars;
    chars.reserve(Keystrokes);
    for (int i = 0; i < Keystrokes; ++i) {
        const uint32_t kind = rng.Below(100);
        if (kind < 10)
            chars.emplace_back(" ");
        else if (kind < 55)
            chars.emplace_back(1, static_cast<char>((rng.Percent(20) ? 'A' : 'a') + rng.Below(26)));
        else
            chars.push_back(wide.substr(2 * rng.Below(static_cast<uint32_t>(wide.size() / 2)), 2));
    }
    return chars;
}

// The first line from the middle of the document on with ordinary prose in it.
int MiddleLine(const TEditorCore& ed)
{
    int line = ed.Lines().GetCount() / 2;
    for (;; ++line) {
        const size_t length = ed.Lines().Get(line).size();
        if (length >= 40 && length <= 400)
            return line;
    }
}

struct TypingResult {
    std::vector<double> times;  // of each keystroke, ms

    double MeanUs() const
    {
        double sum = 0;
        for (double t : times)
            sum += t;
        return sum * 1000 / static_cast<double>(times.size());
    }
    double MedianUs() const
    {
        std::vector<double> t = times;
        std::nth_element(t.begin(), t.begin() + static_cast<long>(t.size() / 2), t.end());
        return t[t.size() / 2] * 1000;
    }
    double MaxUs() const { return *std::max_element(times.begin(), times.end()) * 1000; }
};

struct TypingPlace {
    int line = 0;
    int row = 0;
    int col = 0;    // byte column in the row (the document has no TABs)
    size_t at = 0;  // byte offset in the line
};

// Puts the caret at (row, col) of logical line `line`.
TypingPlace PlaceCaret(TEditorCore& ed, int line, int row, int col)
{
    ed.SetRowCol(row, col);
    TypingPlace place{line, row, ed.Col(), static_cast<size_t>(ed.Col())};
    for (int r = ed.LineToRow(line); r < row; ++r)
        place.at += ed.Store().RowLength(r);
    return place;
}

// Every character through KeyPress, one call each.
TypingResult TypeThroughKeys(TEditorCore& ed, const TypingPlace& place, const std::vector<std::string>& chars)
{
    ed.SetRowCol(place.row, place.col);
    TypingResult result;
    result.times.reserve(chars.size());
    for (const std::string& ch : chars) {
        const auto start = Clock::now();
        ed.KeyPress(ch);
        result.times.push_back(MsSince(start));
    }
    return result;
}

// The same characters as row-store edits: the caret row is replaced by its
// text with the character inserted, and the caret moves past it (down a row
// when the character was wrapped onto the next one).
TypingResult TypeThroughStore(TEditorScreenStrings& store, const TypingPlace& place,
                              const std::vector<std::string>& chars)
{
    int row = place.row;
    size_t col = static_cast<size_t>(place.col);
    TypingResult result;
    result.times.reserve(chars.size());
    for (const std::string& ch : chars) {
        const auto start = Clock::now();
        std::string text = store.Get(row);
        text.insert(col, ch);
        if (store.GetRowAttribute(row) == raLineBreak)
            text += "\r\n";
        store.ReplaceRows(row, 1, std::string_view(text));
        col += ch.size();
        while (col > store.RowLength(row) && store.GetRowAttribute(row) == raWrapped) {
            col -= store.RowLength(row);
            ++row;
        }
        result.times.push_back(MsSince(start));
    }
    return result;
}

// Undoes every edit; with `original`, checks that the document is back to it.
void UndoAll(TEditorCore& ed, const std::string* original, bool& ok)
{
    TEditorScreenStrings& store = ed.Store();
    while (store.UndoObj().CanUndo())
        store.Undo();
    store.UndoObj().Clear();
    if (original && store.GetTextStr() != *original) {
        std::printf("ERROR: undo of the typing did not restore the document\n");
        ok = false;
    }
}

// Checks that the line holds the typed characters where the caret started.
void CheckTyped(TEditorCore& ed, const TypingPlace& place, const std::string& before, const std::string& typed,
                const char* how, bool& ok)
{
    std::string expected = before;
    expected.insert(place.at, typed);
    if (ed.Lines().Get(place.line) != expected) {
        std::printf("ERROR: typing through %s did not give the expected line\n", how);
        ok = false;
    }
}

struct TypingRun {
    TypingResult keys, store;
};

// Types the characters Trials times through the keys and through the store,
// undoing after each; keeps the run with the lowest mean of each.
TypingRun MeasureTyping(TEditorCore& ed, const TypingPlace& place, const std::string& original,
                        const std::vector<std::string>& chars, bool& ok)
{
    std::string typed;
    for (const std::string& ch : chars)
        typed += ch;
    ed.SetUndoListMax(2 * static_cast<int>(chars.size()));
    const std::string before = ed.Lines().Get(place.line);
    TypingRun best;
    for (int i = 0; i < Trials; ++i) {
        TypingResult keys = TypeThroughKeys(ed, place, chars);
        if (i == 0)
            CheckTyped(ed, place, before, typed, "KeyPress", ok);
        UndoAll(ed, i == 0 ? &original : nullptr, ok);
        if (i == 0 || keys.MeanUs() < best.keys.MeanUs())
            best.keys = std::move(keys);

        TypingResult store = TypeThroughStore(ed.Store(), place, chars);
        if (i == 0)
            CheckTyped(ed, place, before, typed, "ReplaceRows", ok);
        UndoAll(ed, i == 0 ? &original : nullptr, ok);
        if (i == 0 || store.MeanUs() < best.store.MeanUs())
            best.store = std::move(store);
    }
    return best;
}

std::string Spread(const TypingResult& r)
{
    return "median " + Fmt(r.MedianUs()) + " us, worst " + Fmt(r.MaxUs()) + " us";
}

// --- 4. one long line, wrap off ------------------------------------------------------

constexpr size_t HugeLineBytes = 10'000'000;
constexpr int HugeLineKeystrokes = 64;
constexpr int HugeLineColumn = 500;

void LongLineScenario(const std::vector<std::string>& chars, bool& ok)
{
    // Prose of the generated document run together into one line.
    const std::string doc = LatexDocumentGenerator().Generate(DocumentShape{});
    std::string line;
    line.reserve(HugeLineBytes);
    for (size_t i = 0; i < doc.size() && line.size() < HugeLineBytes; ++i)
        if (doc[i] != '\r' && doc[i] != '\n')
            line += doc[i];
    const std::string text = "\\documentclass{jarticle}\r\n" + line + "\r\n\\end{document}\r\n";

    Screen view;
    TEditorCore ed(view);
    ed.Lines().SetTextStr(text);
    ed.SetUndoListMax(HugeLineKeystrokes);
    const std::vector<std::string> typed(chars.begin(), chars.begin() + HugeLineKeystrokes);

    TypingResult keys;
    size_t rowBytesPerRecord = 0;  // what records holding the whole row would hold
    for (int trial = 0; trial < Trials; ++trial) {
        TypingResult run = TypeThroughKeys(ed, PlaceCaret(ed, 1, 1, HugeLineColumn), typed);
        if (trial == 0) {
            std::string expected = line;
            std::string inserted;
            for (const std::string& ch : typed)
                inserted += ch;
            expected.insert(HugeLineColumn, inserted);
            if (ed.Lines().Get(1) != expected) {
                std::printf("ERROR: typing into the long line did not give the expected line\n");
                ok = false;
            }
            for (size_t k = 0; k < typed.size(); ++k)
                rowBytesPerRecord += line.size() + k * 2;  // the row as each key found it
        }
        const size_t undoBytes = ed.Store().UndoObj().TextBytes();
        if (trial == 0)
            std::printf("4. undo list after %d keys on the %s line: %zu bytes of text in %zu records "
                        "(a copy of the row per record would be %s)\n",
                        HugeLineKeystrokes, MbText(line.size()).c_str(), undoBytes,
                        ed.Store().UndoObj().UndoList().size(), MbText(rowBytesPerRecord).c_str());
        UndoAll(ed, trial == 0 ? &text : nullptr, ok);
        if (trial == 0 || run.MeanUs() < keys.MeanUs())
            keys = std::move(run);
    }

    // The floor: the same characters inserted into a std::string of the line.
    TypingResult floor;
    for (int trial = 0; trial < Trials; ++trial) {
        std::string copy = line;
        copy.reserve(line.size() + 1024);
        TypingResult run;
        size_t at = HugeLineColumn;
        for (const std::string& ch : typed) {
            const auto start = Clock::now();
            copy.insert(at, ch);
            run.times.push_back(MsSince(start));
            at += ch.size();
        }
        if (copy.size() != line.size() + at - HugeLineColumn)
            ok = false;
        if (trial == 0 || run.MeanUs() < floor.MeanUs())
            floor = std::move(run);
    }
    PrintScenario("4. typing through KeyPress into one " + MbText(line.size()) + " line, wrap off (" +
                      Count(HugeLineKeystrokes) + " characters at column " + Count(HugeLineColumn) + ", per key)",
                  keys.MeanUs(), {{"std::string::insert into the line, " + Spread(floor), floor.MeanUs()}}, "us",
                  "mean; " + Spread(keys));
}

int Run(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bool ok = true;
    if (argc > 1 && std::string_view(argv[1]) == "long-line") {
        LongLineScenario(TypedCharacters(), ok);
        return ok ? 0 : 1;
    }

    // --- the documents -----------------------------------------------------------------
    std::string doc;
    const double generateMs = TimeMs([&] { doc = LatexDocumentGenerator().Generate(DocumentShape{}); });
    const std::string path = TempPath("core-document.tex");
    WriteFile(path, doc);

    Screen view;
    TEditorCore ed(view);
    const double loadMs = TimeMs([&] { ed.Lines().LoadFromFile(path); });
    std::remove(path.c_str());
    ed.WrapOption().SetWrapByte(WrapColumns);
    const double wrapMs = TimeMs([&] { ed.SetWordWrap(true); });
    std::printf("document: %.1f MB, %zu lines, CR LF, fingerprint %016llx, generated in %.0f ms; loaded in %.0f ms, "
                "wrapped at %d columns in %.0f ms into %d rows\n",
                Mb(static_cast<double>(doc.size())), static_cast<size_t>(std::count(doc.begin(), doc.end(), '\n')),
                static_cast<unsigned long long>(Fingerprint(doc)), generateMs, loadMs, WrapColumns, wrapMs,
                ed.RowCount());

    // --- 1. typing ---------------------------------------------------------------------
    const std::vector<std::string> chars = TypedCharacters();
    const int middleLine = MiddleLine(ed);
    const int middleRow = ed.LineToRow(middleLine);
    const TypingRun big = MeasureTyping(
        ed, PlaceCaret(ed, middleLine, middleRow, static_cast<int>(ed.Store().RowLength(middleRow) / 2)), doc, chars,
        ok);

    const std::string smallDoc(PrefixOfLines(doc, SmallDocumentBytes));
    Screen smallView;
    TEditorCore small(smallView);
    small.Lines().SetTextStr(smallDoc);
    small.WrapOption().SetWrapByte(WrapColumns);
    small.SetWordWrap(true);
    const int smallLine = MiddleLine(small);
    const int smallRow = small.LineToRow(smallLine);
    const TypingRun smallRun = MeasureTyping(
        small, PlaceCaret(small, smallLine, smallRow, static_cast<int>(small.Store().RowLength(smallRow) / 2)),
        smallDoc, chars, ok);

    // The same near the end of one 2 MB line: the caret stands thousands of
    // rows into its logical line.
    DocumentShape longShape;
    longShape.lines = 5;
    longShape.longLineEvery = 1;
    longShape.longLineBytes = LongLineBytes;
    const std::string longDoc = LatexDocumentGenerator().Generate(longShape);
    Screen longView;
    TEditorCore longEd(longView);
    longEd.Lines().SetTextStr(longDoc);
    longEd.WrapOption().SetWrapByte(WrapColumns);
    longEd.SetWordWrap(true);
    const int longLine = 3;
    const int longFirst = longEd.LineToRow(longLine);
    const int longRow = longEd.Store().LineEndRow(longFirst) - 1;
    const std::vector<std::string> longChars(chars.begin(), chars.begin() + LongLineKeystrokes);
    const TypingRun longRun = MeasureTyping(
        longEd, PlaceCaret(longEd, longLine, longRow, static_cast<int>(longEd.Store().RowLength(longRow) / 2)),
        longDoc, longChars, ok);

    PrintScenario("1. typing, wrap on, mid-document (" + Count(Keystrokes) +
                      " characters through KeyPress, one per call, per key)",
                  big.keys.MeanUs(),
                  {{"ReplaceRows of the caret row per character, " + Spread(big.store), big.store.MeanUs()}}, "us",
                  "mean; " + Spread(big.keys));
    PrintScenario("1b. typing through KeyPress on 50 MB vs on 1 MB (per key)", big.keys.MeanUs(),
                  {{"ours on the first " + MbText(smallDoc.size()) + ", " + Spread(smallRun.keys),
                    smallRun.keys.MeanUs()}},
                  "us");
    PrintScenario("1c. typing through KeyPress near the end of one " + MbText(LongLineBytes) + " line (row " +
                      Count(longRow - longFirst) + " of " + Count(longRow - longFirst + 2) + "; " +
                      Count(LongLineKeystrokes) + " characters, per key)",
                  longRun.keys.MeanUs(),
                  {{"ReplaceRows of the caret row per character, " + Spread(longRun.store), longRun.store.MeanUs()}},
                  "us", "mean; " + Spread(longRun.keys));

    // --- 2. search -----------------------------------------------------------------------
    const std::string pattern = ToShiftJis(AbsentPattern);
    if (memmem(doc.data(), doc.size(), pattern.data(), pattern.size())) {
        std::printf("ERROR: the search pattern is in the document\n");
        ok = false;
    }
    bool found = false;
    const double searchMs = BestOfMs(Trials, [&] {
        ed.ClearSelection();
        ed.SetRowCol(0, 0);
        return TimeMs([&] { found = ed.Search(pattern, SearchOptions) || found; });
    });
    if (found) {
        std::printf("ERROR: Search found the absent pattern\n");
        ok = false;
    }
    const void* sink = nullptr;
    const double memmemMs = BestOfMs(Trials, [&] {
        return TimeMs([&] { sink = memmem(doc.data(), doc.size(), pattern.data(), pattern.size()); });
    });

    QTextDocument qdoc;
    double qtLoadMs = 0;
    {
        const QString text = FromShiftJis(doc);
        qtLoadMs = TimeMs([&] { qdoc.setPlainText(text); });
    }
    const QString qtPattern = FromShiftJis(pattern);
    bool qtFound = false;
    const double qtFindMs = BestOfMs(Trials, [&] {
        return TimeMs([&] {
            qtFound = !qdoc.find(qtPattern, QTextCursor(&qdoc), QTextDocument::FindCaseSensitively).isNull() ||
                      qtFound;
        });
    });
    if (qtFound) {
        std::printf("ERROR: QTextDocument::find found the absent pattern\n");
        ok = false;
    }
    PrintScenario("2. Search for an absent pattern from the top, options 387, 50 MB", searchMs,
                  {{"memmem over the document's bytes", memmemMs},
                   {"Qt QTextDocument::find, case-sensitive", qtFindMs}},
                  "ms",
                  "ours also passes over CR LF and blanks inside a match; Qt's setPlainText of the document took " +
                      Fmt(qtLoadMs) + " ms");

    // --- 3. select all + copy ----------------------------------------------------------------
    // A copy of 50 MB into new memory costs mostly the first touch of its
    // pages, so every run starts with the allocator's free memory handed back
    // to the system: ours and the floor then both write into fresh pages. The
    // view's clipboard keeps its capacity from run to run.
    double selectMs = 0;
    const double copyMs = BestOfMs(Trials, [&] {
        malloc_trim(0);
        double select = 0;
        const double whole = TimeMs([&] {
            select = TimeMs([&] { ed.SelectAll(); });
            ed.CopyToClipboard();
        });
        selectMs = selectMs == 0 ? select : std::min(selectMs, select);
        return whole;
    });
    if (Clipboard(view) != doc) {
        std::printf("ERROR: the clipboard does not hold the whole document (%zu bytes of %zu)\n",
                    Clipboard(view).size(), doc.size());
        ok = false;
    }
    size_t copied = 0;
    const double memcpyMs = BestOfMs(Trials, [&] {
        malloc_trim(0);
        return TimeMs([&] {
            const std::string copy(doc);
            copied += copy.size();
        });
    });
    std::string touched(doc.size(), '\0');
    const double touchedMs = BestOfMs(Trials, [&] {
        return TimeMs([&] { std::memcpy(touched.data(), doc.data(), doc.size()); });
    });
    int qtLength = 0;
    const double qtCopyMs = BestOfMs(Trials, [&] {
        malloc_trim(0);
        return TimeMs([&] {
            QTextCursor cursor(&qdoc);
            cursor.select(QTextCursor::Document);
            qtLength = static_cast<int>(cursor.selectedText().size());
        });
    });
    PrintScenario("3. SelectAll + CopyToClipboard, 50 MB", copyMs,
                  {{"one memcpy of the bytes into a new std::string", memcpyMs},
                   {"memcpy into memory already touched", touchedMs},
                   {"Qt select Document + QTextCursor::selectedText", qtCopyMs}},
                  "ms",
                  "SelectAll alone " + Fmt(selectMs) + " ms; ours includes the view copying the " +
                      MbText(Clipboard(view).size()) + " text into its clipboard string");

    LongLineScenario(chars, ok);

    // The floors' results are used, so that they are not optimised away.
    if (sink || copied == 0 || qtLength == 0)
        std::printf("\n");
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    return bench::RunProgram("EditorCoreBench", Run, argc, argv);
}
