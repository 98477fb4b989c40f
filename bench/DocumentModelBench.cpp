// The document model (the row store) against a floor and against Qt's
// QTextDocument, on a generated 50 MB, one-million-line Shift-JIS LaTeX file:
// loading, typing and splitting lines with undo and redo, joining the text,
// and the memory the loaded document takes.
//
// Every scenario prints one line: our number, each baseline's number from the
// same run, and the ratio ours / baseline (lower is better), then the target.
//
// Qt is too slow to load the whole file in a benchmark run, so it works on a
// prefix of the document; its load time is scaled to the full size (and says
// so), its edits run on the prefix, and its memory is given per MB of it.

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "editor/core/TEditorScreenStrings.h"
#include "editor/core/TEditorStrings.h"
#include "support/BenchDocument.h"
#include "support/BenchTiming.h"

using namespace bench;

namespace {

constexpr size_t QtPrefixBytes = 5'000'000;
constexpr size_t SmallDocumentBytes = 1'000'000;
constexpr int Inserts = 10'000;
constexpr int InsertsPerRow = 50;  // then the caret moves to the next line
constexpr int Splits = 1'000;
constexpr int Trials = 3;

// --- baselines that need no editor ----------------------------------------------

// The least any loader must do: read the file into memory and find its lines.
struct FloorLoad {
    std::unique_ptr<char[]> bytes;
    std::vector<std::string_view> lines;
};

FloorLoad LoadFloor(const std::string& path)
{
    FloorLoad result;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        throw std::runtime_error("cannot open " + path);
    std::fseek(f, 0, SEEK_END);
    const size_t size = static_cast<size_t>(std::ftell(f));
    std::fseek(f, 0, SEEK_SET);
    result.bytes.reset(new char[size]);
    const size_t got = std::fread(result.bytes.get(), 1, size, f);
    std::fclose(f);
    const char* p = result.bytes.get();
    const char* end = p + got;
    while (p < end) {
        const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
        const char* stop = lf ? lf : end;
        const char* text_end = stop > p && stop[-1] == '\r' ? stop - 1 : stop;
        result.lines.emplace_back(p, static_cast<size_t>(text_end - p));
        p = lf ? lf + 1 : end;
    }
    return result;
}

std::string JoinLines(const std::vector<std::string_view>& lines)
{
    size_t size = 0;
    for (std::string_view l : lines)
        size += l.size() + 2;
    std::string text;
    text.reserve(size);
    for (std::string_view l : lines) {
        text.append(l);
        text.append("\r\n");
    }
    return text;
}

QString DecodeShiftJis(const QByteArray& bytes)
{
    QStringDecoder decoder("Shift_JIS");
    if (decoder.isValid())
        return decoder.decode(bytes);
    return QString::fromLocal8Bit(bytes);
}

const char* QtDecoderName()
{
    return QStringDecoder("Shift_JIS").isValid() ? "QStringDecoder Shift_JIS" : "QString::fromLocal8Bit";
}

// --- our edits ---------------------------------------------------------------------

// One keystroke the way the editor types: the caret's row is replaced by
// its new text.
void TypeChar(TEditorScreenStrings& store, int row, size_t col, char c)
{
    std::string text = store.Get(row);
    text.insert(col, 1, c);
    if (store.GetRowAttribute(row) == raLineBreak)
        text += "\r\n";
    store.ReplaceRows(row, 1, std::string_view(text));
}

// Enter in the middle of a row: the row becomes "left CR LF right CR LF".
void SplitRow(TEditorScreenStrings& store, int row)
{
    const std::string text = store.Get(row);
    const size_t at = CharBoundaryAtOrAfter(text, text.size() / 2);
    std::string replacement = text.substr(0, at);
    replacement += "\r\n";
    replacement.append(text, at, std::string::npos);
    if (store.GetRowAttribute(row) == raLineBreak)
        replacement += "\r\n";
    store.ReplaceRows(row, 1, std::string_view(replacement));
}

struct EditTimes {
    double insertMs = 0, splitMs = 0, undoMs = 0, redoMs = 0;
    int undoSteps = 0;
    double Whole() const { return insertMs + splitMs + undoMs + redoMs; }
};

EditTimes Best(const EditTimes& a, const EditTimes& b)
{
    EditTimes r = a;
    r.insertMs = std::min(a.insertMs, b.insertMs);
    r.splitMs = std::min(a.splitMs, b.splitMs);
    r.undoMs = std::min(a.undoMs, b.undoMs);
    r.redoMs = std::min(a.redoMs, b.redoMs);
    return r;
}

// Types, splits, undoes everything and redoes everything in the middle of
// the document, then puts the document back (untimed) for the next trial.
// With `original`, checks that undo restored it byte for byte and redo
// brought the edits back.
EditTimes RunOurEdits(TEditorScreenStrings& store, const std::string* original, bool& ok)
{
    EditTimes t;
    store.UndoObj().SetUndoListMax(2 * (Inserts + Splits));
    const int middle = store.GetCount() / 2;

    auto start = Clock::now();
    for (int i = 0; i < Inserts / InsertsPerRow; ++i) {
        const int row = middle + i;
        size_t col = CharBoundaryAtOrAfter(store.RowView(row), store.RowLength(row) / 2);
        for (int k = 0; k < InsertsPerRow; ++k)
            TypeChar(store, row, col++, static_cast<char>('a' + k % 26));
    }
    t.insertMs = MsSince(start);

    start = Clock::now();
    for (int k = 0; k < Splits; ++k)
        SplitRow(store, middle + 2 * k);  // each split adds a row: every other row is an original line
    t.splitMs = MsSince(start);

    std::string edited;
    if (original)
        edited = store.GetTextStr();

    start = Clock::now();
    while (store.UndoObj().CanUndo()) {
        store.Undo();
        ++t.undoSteps;
    }
    t.undoMs = MsSince(start);
    if (original && store.GetTextStr() != *original) {
        std::printf("ERROR: undo of every edit did not restore the document\n");
        ok = false;
    }

    start = Clock::now();
    while (store.UndoObj().CanRedo())
        store.Redo();
    t.redoMs = MsSince(start);
    if (original && store.GetTextStr() != edited) {
        std::printf("ERROR: redo of every edit did not give the edited document back\n");
        ok = false;
    }

    while (store.UndoObj().CanUndo())
        store.Undo();
    store.UndoObj().Clear();
    return t;
}

// The same edits through a QTextCursor, with QTextDocument's own undo.
EditTimes RunQtEdits(const QString& text)
{
    EditTimes t;
    QTextDocument doc;
    doc.setUndoRedoEnabled(true);
    doc.setPlainText(text);
    QTextCursor cursor(&doc);
    const int middle = doc.blockCount() / 2;

    auto start = Clock::now();
    for (int i = 0; i < Inserts / InsertsPerRow; ++i) {
        const QTextBlock block = doc.findBlockByNumber(middle + i);
        cursor.setPosition(block.position() + (block.length() - 1) / 2);
        for (int k = 0; k < InsertsPerRow; ++k)
            cursor.insertText(QString(QChar('a' + k % 26)));
    }
    t.insertMs = MsSince(start);

    start = Clock::now();
    for (int k = 0; k < Splits; ++k) {
        const QTextBlock block = doc.findBlockByNumber(middle + 2 * k);
        cursor.setPosition(block.position() + (block.length() - 1) / 2);
        cursor.insertBlock();
    }
    t.splitMs = MsSince(start);

    start = Clock::now();
    while (doc.isUndoAvailable()) {
        doc.undo();
        ++t.undoSteps;
    }
    t.undoMs = MsSince(start);

    start = Clock::now();
    while (doc.isRedoAvailable())
        doc.redo();
    t.redoMs = MsSince(start);
    return t;
}

// --- memory, each in a process of its own ------------------------------------------

// Prints "before peak held" in kB around loading the file into the row store.
int MemoryChildOurs(const std::string& path)
{
    const long before = CurrentRssKb();
    TEditorScreenStrings store;
    TEditorStrings lines(store);
    lines.LoadFromFile(path);
    const long held = CurrentRssKb();
    std::printf("%ld %ld %ld %d\n", before, PeakRssKb(), held, store.GetCount());
    return 0;
}

// The same for QTextDocument holding the decoded file.
int MemoryChildQt(int argc, char** argv, const std::string& path)
{
    QApplication app(argc, argv);
    const long before = CurrentRssKb();
    QTextDocument doc;
    {
        QFile file(QString::fromStdString(path));
        if (!file.open(QIODevice::ReadOnly))
            return 1;
        const QByteArray bytes = file.readAll();
        const QString text = DecodeShiftJis(bytes);
        doc.setPlainText(text);
    }
    const long held = CurrentRssKb();
    std::printf("%ld %ld %ld %d\n", before, PeakRssKb(), held, doc.blockCount());
    return 0;
}

struct MemoryUse {
    double peakBytes = -1, heldBytes = -1;
};

MemoryUse MeasureInChild(const std::string& mode, const std::string& path)
{
    MemoryUse m;
    const std::string out = RunChild({mode, path});
    long before = 0, peak = 0, held = 0;
    int rows = 0;
    if (std::sscanf(out.c_str(), "%ld %ld %ld %d", &before, &peak, &held, &rows) == 4) {
        m.peakBytes = static_cast<double>(peak - before) * 1024.0;
        m.heldBytes = static_cast<double>(held - before) * 1024.0;
    }
    return m;
}

int Run(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--memory-ours") == 0)
        return MemoryChildOurs(argv[2]);
    if (argc >= 3 && std::strcmp(argv[1], "--memory-qt") == 0)
        return MemoryChildQt(argc, argv, argv[2]);

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bool ok = true;

    // --- the documents ---------------------------------------------------------------
    std::string doc;
    const double generateMs = TimeMs([&] { doc = LatexDocumentGenerator().Generate(DocumentShape{}); });
    const std::string path = TempPath("document.tex");
    const std::string_view qtPrefix = PrefixOfLines(doc, QtPrefixBytes);
    const std::string qtPath = TempPath("qt-prefix.tex");
    const std::string smallDoc(PrefixOfLines(doc, SmallDocumentBytes));
    WriteFile(path, doc);
    WriteFile(qtPath, qtPrefix);
    const double scale = static_cast<double>(doc.size()) / static_cast<double>(qtPrefix.size());
    std::printf("document: %.1f MB, %zu lines, CR LF, fingerprint %016llx, generated in %.0f ms; "
                "Qt works on its first %.1f MB; Qt decoder: %s\n",
                Mb(static_cast<double>(doc.size())), static_cast<size_t>(std::count(doc.begin(), doc.end(), '\n')),
                static_cast<unsigned long long>(Fingerprint(doc)), generateMs, Mb(static_cast<double>(qtPrefix.size())),
                QtDecoderName());

    // --- 1. load ----------------------------------------------------------------------
    int loadedRows = 0;
    const double oursLoad = BestOfMs(Trials, [&] {
        TEditorScreenStrings store;
        TEditorStrings lines(store);
        const auto start = Clock::now();
        lines.LoadFromFile(path);
        const double ms = MsSince(start);
        loadedRows = store.GetCount();
        return ms;
    });
    FloorLoad floor;
    const double floorLoad = BestOfMs(Trials, [&] {
        floor = FloorLoad{};
        const auto start = Clock::now();
        floor = LoadFloor(path);
        return MsSince(start);
    });
    if (static_cast<size_t>(loadedRows) != floor.lines.size()) {
        std::printf("ERROR: the store loaded %d rows, the file has %zu lines\n", loadedRows, floor.lines.size());
        ok = false;
    }
    const double qtPrefixLoad = BestOfMs(2, [&] {
        QTextDocument qdoc;
        const auto start = Clock::now();
        QFile file(QString::fromStdString(qtPath));
        file.open(QIODevice::ReadOnly);
        const QByteArray bytes = file.readAll();
        qdoc.setPlainText(DecodeShiftJis(bytes));
        return MsSince(start);
    });
    const double qtLoad = qtPrefixLoad * scale;
    PrintScenario("load", oursLoad,
                  {{"floor: fread + memchr line split", floorLoad},
                   {"Qt readAll + decode + QTextDocument::setPlainText, " + Fmt(qtPrefixLoad) + " ms on " +
                        MbText(qtPrefix.size()) + " scaled linearly x" + Fmt(scale),
                    qtLoad}});
    PrintTarget(oursLoad <= 3 * floorLoad, "within 3x the floor (ratio <= 3)");
    PrintTarget(oursLoad * 10 <= qtLoad, "at least 10x faster than Qt (ratio <= 0.1)");

    // --- 2. edits -----------------------------------------------------------------------
    TEditorScreenStrings store;
    TEditorStrings lines(store);
    lines.LoadFromFile(path);
    EditTimes ours;
    for (int i = 0; i < Trials; ++i) {
        EditTimes t = RunOurEdits(store, i == 0 ? &doc : nullptr, ok);
        ours = i == 0 ? t : Best(ours, t);
    }
    TEditorScreenStrings smallStore;
    smallStore.SetPlainText(smallDoc);
    EditTimes small;
    for (int i = 0; i < Trials; ++i) {
        EditTimes t = RunOurEdits(smallStore, i == 0 ? &smallDoc : nullptr, ok);
        small = i == 0 ? t : Best(small, t);
    }
    const QString qtText = DecodeShiftJis(QByteArray(qtPrefix.data(), static_cast<qsizetype>(qtPrefix.size())));
    EditTimes qt;
    for (int i = 0; i < Trials; ++i) {
        EditTimes t = RunQtEdits(qtText);
        qt = i == 0 ? t : Best(qt, t);
    }
    const std::string qtEditName = "Qt QTextCursor on the " + MbText(qtPrefix.size()) + " prefix";
    PrintScenario("edits/insert (10,000 one-byte inserts mid-document, per insert)", ours.insertMs * 1000 / Inserts,
                  {{qtEditName, qt.insertMs * 1000 / Inserts}}, "us");
    PrintScenario("edits/split (1,000 line splits, per split)", ours.splitMs * 1000 / Splits,
                  {{qtEditName, qt.splitMs * 1000 / Splits}}, "us");
    PrintScenario("edits/undo all (ours " + std::to_string(ours.undoSteps) + " steps)", ours.undoMs,
                  {{"Qt QTextDocument::undo until none left, " + std::to_string(qt.undoSteps) + " steps", qt.undoMs}},
                  "ms", "Qt merges the characters typed in a row into one step; we keep one step per keystroke");
    PrintScenario("edits/redo all", ours.redoMs, {{"Qt QTextDocument::redo until none left", qt.redoMs}});
    PrintScenario("edits (whole: inserts + splits + undo all + redo all)", ours.Whole(), {{qtEditName, qt.Whole()}});
    PrintScenario("edits/insert on 50 MB vs on 1 MB (per insert)", ours.insertMs * 1000 / Inserts,
                  {{"ours on the first " + MbText(smallDoc.size()),
                    small.insertMs * 1000 / Inserts}},
                  "us");
    PrintTarget(ours.insertMs <= 1.5 * small.insertMs,
                "an insert costs the same whatever the document's size (ratio <= 1.5)");

    // --- 3. the whole text --------------------------------------------------------------
    size_t joinedSize = 0;
    const double oursJoin = BestOfMs(Trials, [&] {
        const auto start = Clock::now();
        const std::string text = store.GetTextStr();
        const double ms = MsSince(start);
        if (joinedSize == 0 && text != doc) {
            std::printf("ERROR: GetTextStr differs from the file\n");
            ok = false;
        }
        joinedSize = text.size();
        return ms;
    });
    const double floorJoin = BestOfMs(Trials, [&] {
        const auto start = Clock::now();
        const std::string text = JoinLines(floor.lines);
        const double ms = MsSince(start);
        joinedSize = text.size();
        return ms;
    });
    PrintScenario("GetTextStr (whole document)", oursJoin, {{"reserve + append each line and CR LF", floorJoin}});

    // --- 4. memory ----------------------------------------------------------------------
    floor = FloorLoad{};
    const MemoryUse oursMem = MeasureInChild("--memory-ours", path);
    const MemoryUse qtMem = MeasureInChild("--memory-qt", qtPath);
    if (oursMem.peakBytes < 0 || qtMem.peakBytes < 0) {
        std::printf("ERROR: a memory child failed\n");
        ok = false;
    } else {
        const double fileBytes = static_cast<double>(doc.size());
        const double prefixBytes = static_cast<double>(qtPrefix.size());
        PrintScenario("memory (peak RSS growth per MB of file)", oursMem.peakBytes / fileBytes,
                      {{"Qt QTextDocument holding the " + MbText(qtPrefix.size()) + " prefix",
                        qtMem.peakBytes / prefixBytes}},
                      "MB/MB",
                      "held after load: ours " + Fmt(Mb(oursMem.heldBytes)) + " MB for " + Fmt(Mb(fileBytes)) +
                          " MB, Qt " + Fmt(Mb(qtMem.heldBytes)) + " MB for " + Fmt(Mb(prefixBytes)) + " MB");
        PrintTarget(oursMem.peakBytes <= 2 * fileBytes, "ours at most 2x the file size");
    }

    std::remove(path.c_str());
    std::remove(qtPath.c_str());
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    return bench::RunProgram("DocumentModelBench", Run, argc, argv);
}
