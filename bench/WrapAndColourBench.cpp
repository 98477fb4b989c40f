// Word wrap and colouring on the generated 50 MB, one-million-line Shift-JIS
// LaTeX document, with the main window's wrap settings (80 columns, word
// break, hanging punctuation, leading rules, line break kept on a full row)
// and its colouring scheme (% comments, a few reserved words, a /* */ pair):
//
//   1. wrapping the whole document;   2. joining it back;
//   3. a keystroke with wrap on, in an ordinary line and in a 2 MB line;
//   4. how many rows a keystroke re-parses;
//   5. re-parsing one screen from scratch;
//   6. opening an unclosed /* region at the top.
//
// Every scenario prints one line: our number, each baseline's number from the
// same run, and the ratio ours / baseline (lower is better). Qt cannot lay
// out 50 MB in a benchmark run, so its whole-document numbers are measured on
// a prefix and scaled, and the line says so.

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QString>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "editor/core/AttachedEditor.h"
#include "editor/core/LineBreaker.h"
#include "editor/core/TEditorRowParser.h"
#include "editor/core/TEditorScreenStrings.h"
#include "editor/core/TEditorStrings.h"
#include "editor/core/TEditorViewInfo.h"
#include "support/BenchDocument.h"
#include "support/BenchTiming.h"
#include "support/ShiftJisQString.h"

using namespace bench;

namespace {

constexpr int WrapColumns = 80;
constexpr int ScreenRowCount = 50;
constexpr int Trials = 3;
constexpr size_t QtPrefixBytes = 2'000'000;
constexpr size_t LongLineBytes = 2'000'000;
constexpr size_t QtLongLineBytes = 200'000;
constexpr int Keystrokes = 1'000;
constexpr int KeystrokesPerLine = 50;  // then the caret moves to the next line
constexpr double LongLineBudgetMs = 3'000;
constexpr int QtLongLineKeystrokes = 10;

// --- the editor the store and the parser talk to ---------------------------------

// One focused editor with a screen of 50 rows; it counts the rows it is told to
// repaint and keeps the last change the store reported.
class BenchEditor : public AttachedEditor {
public:
    bool HasFocus() const override { return true; }
    int CaretRow() const override { return caretRow; }
    int CaretCol() const override { return caretCol; }
    void SetCaretRow(int row) override { caretRow = row; }
    void SetCaretCol(int col) override { caretCol = col; }
    void SetCaretByIndex(int firstRow, int) override { caretRow = firstRow; }
    void ClearSelection() override {}
    void StoreCleared() override { caretRow = caretCol = 0; }
    void ListChanged(const TPendingUpdate& update) override
    {
        if (update.Pending)
            lastUpdate = update;
    }
    void ClampRows(int maxRow) override { caretRow = std::min(caretRow, maxRow); }
    void RowsRewrapped() override { caretCol = 0; }
    int ScreenRows() const override { return ScreenRowCount; }
    int TopRow() const override { return topRow; }
    void InvalidateRow(int) override { ++invalidated; }

    int caretRow = 0;
    int caretCol = 0;
    int topRow = 0;
    long long invalidated = 0;
    TPendingUpdate lastUpdate;
};

void SetMainWindowWrap(TEditorWrapOption& option)
{
    option.SetWrapByte(WrapColumns);
    option.SetWordBreak(true);
    option.SetFollowPunctuation(true);
    option.SetLeading(true);
    option.SetFollowRetMark(true);
}

void SetMainWindowColours(TEditorViewInfo& view)
{
    view.SetCommenter("%");
    view.ReserveWordList().Assign({"begin", "end", "section", "subsection", "subsubsection"});
    view.Brackets().Add("/*", "*/");
}

// --- typing ------------------------------------------------------------------------

// The caret as the editor keeps it: a row and a byte column in it.
struct Caret {
    int row = 0;
    int col = 0;
};

// One keystroke: the caret's row is replaced by its text with one byte
// inserted, and the caret moves past it (down a row when the byte was wrapped
// onto the next one).
void TypeChar(TEditorScreenStrings& store, Caret& caret, char c)
{
    std::string text = store.Get(caret.row);
    const size_t col = CharBoundaryAtOrAfter(text, static_cast<size_t>(caret.col));
    text.insert(col, 1, c);
    if (store.GetRowAttribute(caret.row) == raLineBreak)
        text += "\r\n";
    store.ReplaceRows(caret.row, 1, std::string_view(text));
    caret.col = static_cast<int>(col) + 1;
    while (caret.col > static_cast<int>(store.RowLength(caret.row)) && store.GetRowAttribute(caret.row) == raWrapped) {
        caret.col -= static_cast<int>(store.RowLength(caret.row));
        ++caret.row;
    }
}

// The caret in the middle of the first row of logical line `line`.
Caret CaretInLine(const TEditorScreenStrings& store, int line)
{
    Caret caret;
    caret.row = store.LineToRow(line);
    caret.col = static_cast<int>(CharBoundaryAtOrAfter(store.RowView(caret.row), store.RowLength(caret.row) / 2));
    return caret;
}

std::string LineText(const TEditorScreenStrings& store, int line)
{
    TRowsText rows = store.RowsText(store.LineToRow(line), -1);
    if (rows.LastAttribute == raLineBreak)
        rows.Text.resize(rows.Text.size() - 2);
    return rows.Text;
}

struct TypingResult {
    double totalMs = 0;
    int keystrokes = 0;
    std::vector<int> lines;    // the logical lines typed into
    std::vector<double> times;  // of each keystroke, ms

    double MeanUs() const { return totalMs * 1000 / keystrokes; }
    double MedianUs() const
    {
        std::vector<double> t = times;
        std::nth_element(t.begin(), t.begin() + static_cast<long>(t.size() / 2), t.end());
        return t[t.size() / 2] * 1000;
    }
    double MaxUs() const { return *std::max_element(times.begin(), times.end()) * 1000; }
};

// The first line from `line` on that is not one of the document's long lines.
int OrdinaryLineFrom(const TEditorScreenStrings& store, int line)
{
    while (store.LineToRow(line) < store.GetCount() && LineText(store, line).size() > 400)
        ++line;
    return line;
}

// Types `Keystrokes` characters into ordinary lines from `firstLine` on,
// KeystrokesPerLine in each, skipping the long lines. `each` runs after every
// keystroke, outside the time.
template <typename Each>
TypingResult TypeIntoOrdinaryLines(TEditorScreenStrings& store, BenchEditor& editor, int firstLine, Each&& each)
{
    TypingResult result;
    int line = firstLine;
    while (result.keystrokes < Keystrokes) {
        line = OrdinaryLineFrom(store, line);
        result.lines.push_back(line);
        Caret caret = CaretInLine(store, line);
        for (int k = 0; k < KeystrokesPerLine && result.keystrokes < Keystrokes; ++k) {
            editor.caretRow = caret.row;
            editor.caretCol = caret.col;
            const auto start = Clock::now();
            TypeChar(store, caret, static_cast<char>('a' + k % 26));
            const double ms = MsSince(start);
            result.totalMs += ms;
            result.times.push_back(ms);
            ++result.keystrokes;
            each();
        }
        ++line;
    }
    return result;
}

// --- floors --------------------------------------------------------------------------

constexpr uint32_t EndsLine = 0x80000000u;

// Row lengths of the text broken every `width` bytes, the least any wrap of it
// must do: split the lines, then jump `width` bytes at a time, one byte back
// when the jump lands on the trail byte of a double-byte character. Whether it
// does is told by the run of lead-range bytes before the jump: the byte before
// the run ends a character, and inside the run lead and trail bytes alternate.
// Rows that end a line carry EndsLine. There are no TABs in the document.
void FloorWrap(std::string_view text, int width, std::vector<uint32_t>& rows)
{
    rows.clear();
    const char* const base = text.data();
    const size_t n = text.size();
    size_t p = 0;
    while (p < n) {
        const char* lf = static_cast<const char*>(std::memchr(base + p, '\n', n - p));
        const size_t next = lf ? static_cast<size_t>(lf - base) + 1 : n;
        size_t lineEnd = lf ? static_cast<size_t>(lf - base) : n;
        if (lineEnd > p && base[lineEnd - 1] == '\r')
            --lineEnd;
        size_t s = p;
        while (lineEnd - s > static_cast<size_t>(width)) {
            size_t e = s + static_cast<size_t>(width);
            size_t q = e;
            while (q > s && IsLeadByte(static_cast<unsigned char>(base[q - 1])))
                --q;
            if ((e - q) & 1)
                --e;
            rows.push_back(static_cast<uint32_t>(e - s));
            s = e;
        }
        rows.push_back(static_cast<uint32_t>(lineEnd - s) | EndsLine);
        p = next;
    }
}

// The least a join of those rows must do: one pass summing each line's length.
size_t FloorJoinLengths(const std::vector<uint32_t>& rows, std::vector<uint32_t>& lines)
{
    lines.clear();
    uint32_t length = 0;
    for (uint32_t r : rows) {
        length += r & ~EndsLine;
        if (r & EndsLine) {
            lines.push_back(length);
            length = 0;
        }
    }
    return lines.size();
}

// The same pass, also copying the rows into one new block as the store does.
size_t FloorJoinCopy(std::string_view text, const std::vector<uint32_t>& rows, std::vector<uint32_t>& lines)
{
    lines.clear();
    std::unique_ptr<char[]> block(new char[text.size()]);
    const char* from = text.data();
    char* to = block.get();
    uint32_t length = 0;
    for (uint32_t r : rows) {
        const uint32_t len = r & ~EndsLine;
        std::memcpy(to, from, len);
        to += len;
        from += len;
        length += len;
        if (r & EndsLine) {
            lines.push_back(length);
            length = 0;
            from += 2;  // CR LF
        }
    }
    return static_cast<size_t>(to - block.get()) + lines.size();
}

// The bytes of rows [first, last] scanned once for '%': what reading them costs.
size_t ScanRowsForPercent(const TEditorScreenStrings& store, int first, int last)
{
    size_t found = 0;
    for (int r = first; r <= last; ++r) {
        const std::string_view v = store.RowView(r);
        const char* p = v.data();
        const char* end = p + v.size();
        while (p < end) {
            const void* hit = std::memchr(p, '%', static_cast<size_t>(end - p));
            if (!hit)
                break;
            ++found;
            p = static_cast<const char*>(hit) + 1;
        }
    }
    return found;
}

// --- Qt ------------------------------------------------------------------------------

// A QTextDocument in a fixed font, wrapping at WrapColumns average characters.
struct QtWrappedDocument {
    QTextDocument doc;
    double setTextMs = 0;
    double layoutMs = 0;
    long long lines = 0;

    explicit QtWrappedDocument(const QString& text)
    {
        const QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        doc.setDefaultFont(font);
        QTextOption option = doc.defaultTextOption();
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        doc.setDefaultTextOption(option);
        doc.setUndoRedoEnabled(true);
        setTextMs = TimeMs([&] { doc.setPlainText(text); });
        const double width = WrapColumns * QFontMetricsF(font).averageCharWidth();
        layoutMs = TimeMs([&] {
            doc.setTextWidth(width);
            (void)doc.documentLayout()->documentSize();
        });
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
            lines += b.layout() ? b.layout()->lineCount() : 0;
    }

    // Types `n` characters in the middle of block `block`, laying out after each;
    // returns the milliseconds.
    double Type(int block, int n)
    {
        QTextCursor cursor(&doc);
        const QTextBlock b = doc.findBlockByNumber(block);
        cursor.setPosition(b.position() + (b.length() - 1) / 2);
        const auto start = Clock::now();
        for (int k = 0; k < n; ++k) {
            cursor.insertText(QString(QChar('a' + k % 26)));
            (void)doc.documentLayout()->documentSize();
        }
        return MsSince(start);
    }
};

int Run(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bool ok = true;

    // --- the documents -----------------------------------------------------------------
    std::string doc;
    const double generateMs = TimeMs([&] { doc = LatexDocumentGenerator().Generate(DocumentShape{}); });
    const std::string path = TempPath("wrap-document.tex");
    WriteFile(path, doc);
    const std::string_view qtPrefix = PrefixOfLines(doc, QtPrefixBytes);
    const double scale = static_cast<double>(doc.size()) / static_cast<double>(qtPrefix.size());
    std::printf("document: %.1f MB, %zu lines, CR LF, fingerprint %016llx, generated in %.0f ms; wrap at %d columns "
                "with word break, hanging punctuation, leading rules, line break kept on a full row\n",
                Mb(static_cast<double>(doc.size())), static_cast<size_t>(std::count(doc.begin(), doc.end(), '\n')),
                static_cast<unsigned long long>(Fingerprint(doc)), generateMs, WrapColumns);

    TEditorScreenStrings store;
    BenchEditor editor;
    store.AttachEditor(&editor);
    TEditorStrings lines(store);
    lines.LoadFromFile(path);
    std::remove(path.c_str());
    const int lineCount = store.LineCount();
    SetMainWindowWrap(store.WrapOption());

    // --- 1. wrap all / 2. unwrap all -----------------------------------------------------
    double wrapMs = 1e300, unwrapMs = 1e300;
    int wrappedRows = 0;
    for (int i = 0; i < Trials; ++i) {
        wrapMs = std::min(wrapMs, TimeMs([&] { store.SetWordWrap(true); }));
        wrappedRows = store.GetCount();
        if (i == 0 && (store.LineCount() != lineCount || store.GetTextStr() != doc)) {
            std::printf("ERROR: the wrapped rows do not give the document back\n");
            ok = false;
        }
        unwrapMs = std::min(unwrapMs, TimeMs([&] { store.SetWordWrap(false); }));
        if (i == 0 && (store.GetCount() != lineCount || store.GetTextStr() != doc)) {
            std::printf("ERROR: unwrapping did not give one row per line\n");
            ok = false;
        }
    }

    std::vector<uint32_t> floorRows;
    const double floorWrapMs =
        BestOfMs(Trials, [&] { return TimeMs([&] { FloorWrap(doc, WrapColumns, floorRows); }); });
    std::vector<uint32_t> floorLines;
    size_t sink = 0;
    const double floorJoinMs =
        BestOfMs(Trials, [&] { return TimeMs([&] { sink += FloorJoinLengths(floorRows, floorLines); }); });
    const double floorJoinCopyMs =
        BestOfMs(Trials, [&] { return TimeMs([&] { sink += FloorJoinCopy(doc, floorRows, floorLines); }); });
    if (floorLines.size() != static_cast<size_t>(lineCount)) {
        std::printf("ERROR: the floor found %zu lines, the store %d\n", floorLines.size(), lineCount);
        ok = false;
    }

    auto qtDoc = std::make_unique<QtWrappedDocument>(FromShiftJis(qtPrefix));
    const std::string qtName = "Qt QTextDocument setTextWidth + layout, " + Fmt(qtDoc->layoutMs) + " ms on the first " +
                               MbText(qtPrefix.size()) + " scaled linearly x" + Fmt(scale);
    PrintScenario("1. WrapAll (SetWordWrap(true), 50 MB, 80 columns)", wrapMs,
                  {{"floor: memchr lines + 80-byte lead-byte-aware jumps", floorWrapMs},
                   {qtName, qtDoc->layoutMs * scale}},
                  "ms",
                  "ours " + Count(wrappedRows) + " rows, floor " + Count(static_cast<long long>(floorRows.size())) +
                      " rows, Qt " + Count(qtDoc->lines) +
                      " lines on the prefix; ours also copies the text into a new block");
    PrintTarget(wrapMs <= 500, "WrapAll of 50 MB in 0.5 s or less");

    PrintScenario("2. UnwrapAll (SetWordWrap(false), 50 MB)", unwrapMs,
                  {{"floor: one pass over the floor's rows summing line lengths", floorJoinMs},
                   {"floor: the same pass copying the rows into one new block", floorJoinCopyMs}});

    // --- 3a. a keystroke in an ordinary line -----------------------------------------------
    store.SetWordWrap(true);
    store.UndoObj().SetUndoListMax(2 * Keystrokes);
    const int middleLine = lineCount / 2;
    const TypingResult ordinary = TypeIntoOrdinaryLines(store, editor, middleLine, [] {});
    const LineBreakParams params{&store.WrapOption(), store.TabSpaceCount()};
    std::vector<uint32_t> breaks;
    double breakOrdinaryMs = 0;
    {
        std::vector<std::string> typed;
        for (int line : ordinary.lines)
            typed.push_back(LineText(store, line));
        constexpr int Repeats = 100;
        breakOrdinaryMs = BestOfMs(Trials, [&] {
            return TimeMs([&] {
                for (int k = 0; k < Repeats; ++k)
                    for (const std::string& t : typed) {
                        breaks.clear();
                        BreakLine(t, params, breaks);
                    }
            });
        }) / (Repeats * static_cast<double>(typed.size()));
    }
    while (store.UndoObj().CanUndo())
        store.Undo();
    if (store.GetTextStr() != doc) {
        std::printf("ERROR: undo of the keystrokes did not restore the document\n");
        ok = false;
    }
    store.UndoObj().Clear();

    double qtOrdinaryMs = 0;
    for (int i = 0, block = qtDoc->doc.blockCount() / 2; i < Keystrokes / KeystrokesPerLine; ++i, ++block) {
        while (qtDoc->doc.findBlockByNumber(block).length() > 400)
            ++block;
        qtOrdinaryMs += qtDoc->Type(block, KeystrokesPerLine);
    }
    qtDoc.reset();
    PrintScenario("3a. keystroke, wrap on, ordinary lines mid-document (" + Count(ordinary.keystrokes) +
                      " keystrokes, " + Count(KeystrokesPerLine) + " per line)",
                  ordinary.MeanUs(),
                  {{"BreakLine of the typed line once", breakOrdinaryMs * 1000},
                   {"Qt QTextCursor::insertText + layout, wrapped " + MbText(qtPrefix.size()) + " prefix",
                    qtOrdinaryMs * 1000 / Keystrokes}},
                  "us",
                  "mean; median " + Fmt(ordinary.MedianUs()) + " us, first " + Fmt(ordinary.times.front() * 1000) +
                      " us, max " + Fmt(ordinary.MaxUs()) + " us");

    // --- 3b. a keystroke in a 2 MB line ------------------------------------------------------
    {
        DocumentShape shape;
        shape.lines = 5;
        shape.longLineEvery = 1;
        shape.longLineBytes = LongLineBytes;
        const std::string longDoc = LatexDocumentGenerator().Generate(shape);
        TEditorScreenStrings longStore;
        BenchEditor longEditor;
        longStore.AttachEditor(&longEditor);
        longStore.SetPlainText(longDoc);
        SetMainWindowWrap(longStore.WrapOption());
        longStore.SetWordWrap(true);
        const int longLine = 3;
        const std::string longText = LineText(longStore, longLine);
        const int firstRow = longStore.LineToRow(longLine);
        const int rowsOfLine = longStore.LineEndRow(firstRow) - firstRow + 1;
        longStore.UndoObj().SetUndoListMax(2 * Keystrokes);

        Caret caret{firstRow + rowsOfLine / 2, 0};
        caret.col = static_cast<int>(
            CharBoundaryAtOrAfter(longStore.RowView(caret.row), longStore.RowLength(caret.row) / 2));
        TypingResult typing;
        while (typing.keystrokes < Keystrokes && typing.totalMs < LongLineBudgetMs) {
            longEditor.caretRow = caret.row;
            longEditor.caretCol = caret.col;
            const double ms =
                TimeMs([&] { TypeChar(longStore, caret, static_cast<char>('a' + typing.keystrokes % 26)); });
            typing.totalMs += ms;
            typing.times.push_back(ms);
            ++typing.keystrokes;
        }
        const int typed = typing.keystrokes;
        if (LineText(longStore, longLine).size() != longText.size() + static_cast<size_t>(typed)) {
            std::printf("ERROR: the long line did not grow by the keystrokes typed\n");
            ok = false;
        }

        const double breakLongMs = BestOfMs(Trials, [&] {
            return TimeMs([&] {
                breaks.clear();
                BreakLine(longText, params, breaks);
            });
        });

        const std::string_view qtLine = std::string_view(longText).substr(
            0, CharBoundaryAtOrAfter(longText, QtLongLineBytes));
        QtWrappedDocument qtLong(FromShiftJis(qtLine));
        const double qtLongMs = qtLong.Type(0, QtLongLineKeystrokes);

        PrintScenario("3b. keystroke, wrap on, mid-row of one " + MbText(longText.size()) + " line (" +
                          Count(rowsOfLine) + " rows; " + Count(typed) + " keystrokes)",
                      typing.MeanUs(),
                      {{"BreakLine of the whole line once", breakLongMs * 1000},
                       {"Qt QTextCursor::insertText + layout in one wrapped " + MbText(qtLine.size()) + " line, " +
                            Count(QtLongLineKeystrokes) + " keystrokes",
                        qtLongMs * 1000 / QtLongLineKeystrokes}},
                      "us",
                      "mean; median " + Fmt(typing.MedianUs()) + " us, first " + Fmt(typing.times.front() * 1000) +
                          " us, max " + Fmt(typing.MaxUs()) + " us");
    }

    // --- 4. rows re-parsed per keystroke ---------------------------------------------------
    TEditorViewInfo view;
    SetMainWindowColours(view);
    TEditorRowParser parser(store, view);
    store.SetParser(&parser);
    editor.topRow = 0;
    const double reparseAllFirstMs = TimeMs([&] { parser.ReparseAll(); });

    // The caret's screen is painted first, as after a jump to the middle.
    const int middleRow = CaretInLine(store, OrdinaryLineFrom(store, middleLine)).row;
    editor.topRow = std::max(0, middleRow - ScreenRowCount / 2);
    const double paintMs = TimeMs([&] {
        for (int r = editor.topRow; r < editor.topRow + ScreenRowCount; ++r)
            (void)parser.RowStartState(r);
    });
    const double paintScanMs = TimeMs([&] { sink += ScanRowsForPercent(store, 0, editor.topRow + ScreenRowCount); });
    PrintScenario("4a. first paint of the screen at the middle (row " + Count(middleRow) + ") after ReparseAll",
                  paintMs, {{"memchr '%' over the rows from the top to the screen's end", paintScanMs}}, "ms",
                  "the states are parsed from the last parsed row near the top down to the screen");

    store.UndoObj().SetUndoListMax(2 * Keystrokes);
    long long reparsedSum = 0, replacedSum = 0;
    int reparsedMax = 0;
    long long before = editor.invalidated;
    const TypingResult parsed = TypeIntoOrdinaryLines(store, editor, middleLine, [&] {
        const int reparsed = static_cast<int>(editor.invalidated - before);
        before = editor.invalidated;
        reparsedSum += reparsed;
        reparsedMax = std::max(reparsedMax, reparsed);
        replacedSum += editor.lastUpdate.NewRowCount;
        if (editor.lastUpdate.ReparsedRowCount != reparsed) {
            std::printf("ERROR: the store reported %d rows re-parsed, the editor repainted %d\n",
                        editor.lastUpdate.ReparsedRowCount, reparsed);
            ok = false;
        }
    });
    PrintScenario("4b. rows re-parsed per keystroke, wrap on, mid-document (" + Count(parsed.keystrokes) +
                      " keystrokes)",
                  static_cast<double>(reparsedSum) / parsed.keystrokes,
                  {{"rows the keystroke replaced", static_cast<double>(replacedSum) / parsed.keystrokes}}, "rows",
                  "max " + Count(reparsedMax) + " rows; keystroke median " + Fmt(parsed.MedianUs()) +
                      " us with the parser vs " + Fmt(ordinary.MedianUs()) + " us without");
    while (store.UndoObj().CanUndo())
        store.Undo();
    store.UndoObj().Clear();

    // --- 5. one screen from scratch ------------------------------------------------------------
    editor.topRow = 0;
    const int parsedLast = std::min(store.GetCount() - 1, 2 * ScreenRowCount);
    const double reparseAllMs = BestOfMs(10, [&] { return TimeMs([&] { parser.ReparseAll(); }); });
    const double scanMs =
        BestOfMs(10, [&] { return TimeMs([&] { sink += ScanRowsForPercent(store, 0, parsedLast); }); });
    PrintScenario("5. ReparseAll, screen of " + Count(ScreenRowCount) + " rows at the top (parses rows 0-" +
                      Count(parsedLast) + ")",
                  reparseAllMs * 1000, {{"memchr '%' over the same rows", scanMs * 1000}}, "us",
                  "the first ReparseAll after the wrap took " + Fmt(reparseAllFirstMs) + " ms; " +
                      Count(store.GetCount()) + " rows in the store");

    // --- 6. an unclosed /* at the top -----------------------------------------------------------
    double openMs = 1e300, undoMs = 1e300;
    int openReparsed = 0;
    for (int i = 0; i < Trials; ++i) {
        std::string text = "/*" + store.Get(0);
        if (store.GetRowAttribute(0) == raLineBreak)
            text += "\r\n";
        editor.caretRow = 0;
        editor.caretCol = 0;
        const long long mark = editor.invalidated;
        openMs = std::min(openMs, TimeMs([&] { store.ReplaceRows(0, 1, std::string_view(text)); }));
        openReparsed = static_cast<int>(editor.invalidated - mark);
        if (parser.RowStartState(ScreenRowCount).BracketIndex != 0) {
            std::printf("ERROR: the rows below an unclosed /* are not inside the bracket region\n");
            ok = false;
        }
        undoMs = std::min(undoMs, TimeMs([&] { store.Undo(); }));
        store.UndoObj().Clear();
    }
    if (store.GetTextStr() != doc) {
        std::printf("ERROR: undo of the /* did not restore the document\n");
        ok = false;
    }
    PrintScenario("6. ReplaceRows opening an unclosed /* at row 0", openMs * 1000,
                  {{"scenario 5, ReparseAll", reparseAllMs * 1000},
                   {"memchr '%' over rows 0-" + Count(parsedLast), scanMs * 1000}},
                  "us", Count(openReparsed) + " rows re-parsed; its undo " + Fmt(undoMs * 1000) + " us");
    PrintTarget(openReparsed <= 2 * ScreenRowCount + 1, "re-parses at most two screens");

    store.SetParser(nullptr);
    store.DetachEditor(&editor);
    // The floors' results are used, so that they are not optimised away.
    if (sink == 0)
        std::printf("\n");
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    return bench::RunProgram("WrapAndColourBench", Run, argc, argv);
}
