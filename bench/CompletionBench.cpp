// Command completion on the generated 50 MB, one-million-line Shift-JIS LaTeX
// document:
//
//   1. IsMath at the end of the document, as the list opens there, word wrap
//      off and on (and, for comparison, in the middle and near the top),
//      against a floor that reads every byte once (memchr for the dollar
//      sign over every line) and against the plain way (a
//      comment-cut copy of every line, then one search per pair);
//   2. filtering 1,000 candidate names for one typed character, against a
//      plain substring search of the same names;
//   3. a keystroke with the list shown in the main window holding the
//      document (the filter, the list refilled and both repainted), against
//      a keystroke with the list hidden;
//   4. loading the four shipped lists, against reading their bytes.
//
// Every scenario prints one line: our number, each baseline's number from the
// same run, and the ratio ours / baseline (lower is better).

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/CommandCompletion.h"
#include "app/TFormMain.h"
#include "editor/TEditor.h"
#include "support/BenchDocument.h"
#include "support/BenchTiming.h"
#include "tex/CandidateFilter.h"
#include "tex/EditorLineSource.h"
#include "tex/MathDelimiters.h"
#include "tex/TParseWord.h"
#include "tex/TTeXCommand.h"

using namespace bench;

namespace {

constexpr int Trials = 5;

const std::vector<std::string> kBeginMath = DefaultBeginMath();
const std::vector<std::string> kEndMath = DefaultEndMath();

// The plain way: the whole document copied, each line cut at its "%",
// then the dollar parity and every pair searched line by line.
bool LiteralIsMath(const TEditorCore& core, int L, int C)
{
    std::vector<std::string> lines;
    const int count = core.Lines().GetCount();
    lines.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        std::string line = core.Lines().Get(i);
        const size_t percent = line.find('%');
        if (percent != std::string::npos)
            line.erase(percent);
        lines.push_back(std::move(line));
    }
    auto line = [&](int i) -> const std::string& {
        static const std::string none;
        return i >= 0 && i < count ? lines[static_cast<size_t>(i)] : none;
    };
    const std::string& caretLine = line(L);
    const std::string before = caretLine.substr(0, std::min<size_t>(static_cast<size_t>(C), caretLine.size()));
    const std::string after = caretLine.substr(before.size());
    size_t dollars = static_cast<size_t>(std::count(before.begin(), before.end(), '$'));
    for (int i = 0; i < L; ++i)
        dollars += static_cast<size_t>(std::count(line(i).begin(), line(i).end(), '$'));
    bool inside = false;
    if (dollars % 2 == 1) {
        size_t later = static_cast<size_t>(std::count(after.begin(), after.end(), '$'));
        for (int i = L + 1; i < count; ++i)
            later += static_cast<size_t>(std::count(line(i).begin(), line(i).end(), '$'));
        inside = later > 0;
    }
    for (size_t k = 0; k < kBeginMath.size(); ++k) {
        const std::string& B = kBeginMath[k];
        const std::string& E = kEndMath[k];
        int lastEnd = 0;
        for (int i = 0; i < L; ++i)
            if (line(i).find(E) != std::string::npos)
                lastEnd = i;
        const size_t endBefore = before.find(E);
        if (endBefore != std::string::npos)
            lastEnd = L;
        bool opened = false;
        for (int i = lastEnd + 1; i < L; ++i)
            if (line(i).find(B) != std::string::npos)
                opened = true;
        if (lastEnd != L)
            opened = opened || before.find(B) != std::string::npos;
        else
            opened = opened || before.substr(endBefore == std::string::npos ? 0 : endBefore).find(B) != std::string::npos;
        bool closed = after.find(E) != std::string::npos;
        for (int i = L + 1; i < count; ++i)
            if (line(i).find(E) != std::string::npos)
                closed = true;
        inside = inside || (opened && closed);
    }
    return inside;
}

// Reads every line in place once: the least any answer costs.
size_t DollarFloor(const TEditorScreenStrings& store)
{
    size_t n = 0;
    for (int r = 0; r < store.GetCount(); ++r) {
        const std::string_view row = store.RowView(r);
        const char* p = row.data();
        const char* end = p + row.size();
        while (const void* hit = std::memchr(p, '$', static_cast<size_t>(end - p))) {
            ++n;
            p = static_cast<const char*>(hit) + 1;
        }
    }
    return n;
}

void BenchIsMath(TEditorCore& core, const char* label, int L, const char* where, bool target)
{
    const int C = static_cast<int>(core.Lines().Get(L).size());
    bool ours = false;
    const double oursMs = BestOfMs(Trials, [&] {
        return TimeMs([&] {
            EditorLineSource source(core.Store());
            ours = TParseWord(source, "MATH", kBeginMath, kEndMath).IsMath(L, C);
        });
    });
    size_t dollars = 0;
    const double floorMs = BestOfMs(Trials, [&] { return TimeMs([&] { dollars = DollarFloor(core.Store()); }); });
    bool literal = false;
    const double literalMs = TimeMs([&] { literal = LiteralIsMath(core, L, C); });
    if (literal != ours)
        throw std::runtime_error("IsMath differs from the literal steps");
    PrintScenario(std::string("IsMath ") + where + ", " + label, oursMs,
                  {{"memchr floor", floorMs}, {"literal copy", literalMs}}, "ms",
                  std::string("answer ") + (ours ? "inside" : "outside") + ", " + Count(static_cast<long long>(dollars)) +
                      " dollars");
    if (target)
        PrintTarget(oursMs <= 30, "at most 30 ms");
}

// --- filtering ------------------------------------------------------------------

std::vector<std::string> ThousandNames()
{
    static const char* stems[] = {"section", "subsection", "textbf", "textgt", "begin", "end", "frac", "sqrt",
                                  "left", "right", "usepackage", "label", "ref", "cite", "kanjiskip", "item"};
    std::vector<std::string> names;
    Rng rng(42);
    for (int i = 0; i < 1000; ++i) {
        std::string name = "\\";
        name += stems[rng.Below(16)];
        name += std::to_string(i);
        name += rng.Percent(50) ? "{}" : "[]{}";
        if (rng.Percent(20))
            name += ToShiftJis("（表示）");
        names.push_back(name);
    }
    return names;
}

void BenchFilter()
{
    const std::vector<std::string> names = ThousandNames();
    const std::string line = "  \\se";
    const int caret = static_cast<int>(line.size()) - 1;
    constexpr int Rounds = 200;
    size_t shown = 0;
    const double oursMs = BestOfMs(Trials, [&] {
        return TimeMs([&] {
            for (int i = 0; i < Rounds; ++i)
                shown = FilterCandidates(&line, caret, false, names).names.size();
        }) / Rounds;
    });
    size_t plain = 0;
    const double plainMs = BestOfMs(Trials, [&] {
        return TimeMs([&] {
            for (int i = 0; i < Rounds; ++i) {
                std::vector<std::string> found;
                for (const std::string& name : names)
                    if (name.find("\\se") != std::string::npos)
                        found.push_back(name);
                plain = found.size();
            }
        }) / Rounds;
    });
    PrintScenario("filtering 1000 names for \"\\se\"", oursMs * 1000, {{"std::string::find", plainMs * 1000}}, "us",
                  Count(static_cast<long long>(shown)) + " shown, plain search finds " +
                      Count(static_cast<long long>(plain)));
    PrintTarget(oursMs <= 0.5, "at most 0.5 ms");
}

// --- a keystroke in the main window -------------------------------------------------

void Press(QWidget* target, Qt::Key key, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &release);
}

void BenchKeystroke(const std::string& doc, const QString& commands)
{
    QTemporaryDir dir;
    TFormMain form(dir.filePath(QStringLiteral("Scrivlet.ini")));
    form.Completion->CreateLists(commands);
    form.resize(900, 700);
    form.show();
    form.Editor->setFocus();
    QApplication::processEvents();
    form.Editor->Lines().SetTextStr(doc);
    TEditorCore& core = form.Editor->Core();
    const int line = core.Lines().GetCount() / 2;
    core.SetRowCol(core.LineToRow(line), 0);
    QApplication::processEvents();
    TEditor* editor = form.Editor;
    auto repaint = [&] {
        editor->viewport()->repaint();
        if (form.SerchList->isVisible())
            form.SerchList->repaint();
    };
    // With the list shown: "\" opens it (not timed), each letter narrows it.
    constexpr int Keys = 40;
    std::vector<double> shownMs, hiddenMs;
    for (int round = 0; round < Keys; ++round) {
        Press(editor, Qt::Key_Return, QStringLiteral("\r"));
        Press(editor, Qt::Key_Backslash, QStringLiteral("\\"));
        repaint();
        for (const char* letter : {"s", "e"}) {
            const QString text = QString::fromLatin1(letter);
            shownMs.push_back(TimeMs([&] {
                Press(editor, static_cast<Qt::Key>(Qt::Key_A + (letter[0] - 'a')), text);
                repaint();
            }));
        }
        if (!form.SerchList->isVisible())
            throw std::runtime_error("the list is not shown while typing a command");
        Press(editor, Qt::Key_Escape, {});
        Press(editor, Qt::Key_Space, QStringLiteral(" "));
        for (const char* letter : {"x", "y"}) {
            const QString text = QString::fromLatin1(letter);
            hiddenMs.push_back(TimeMs([&] {
                Press(editor, static_cast<Qt::Key>(Qt::Key_A + (letter[0] - 'a')), text);
                repaint();
            }));
        }
    }
    auto median = [](std::vector<double> t) {
        std::nth_element(t.begin(), t.begin() + static_cast<long>(t.size() / 2), t.end());
        return t[t.size() / 2];
    };
    const double ours = median(shownMs);
    PrintScenario("keystroke with the list shown (filter and repaint), 50 MB document", ours,
                  {{"keystroke with the list hidden", median(hiddenMs)}}, "ms",
                  "median of " + Count(static_cast<long long>(shownMs.size())) + ", worst " +
                      Fmt(*std::max_element(shownMs.begin(), shownMs.end())) + " ms, " +
                      Count(form.ListForKind(1).Count()) + " commands");
    PrintTarget(ours <= 2, "at most 2 ms");
}

// --- loading the lists ---------------------------------------------------------------

void BenchLoad(const std::string& folder)
{
    int entries = 0;
    const double oursMs = BestOfMs(Trials, [&] {
        return TimeMs([&] {
            entries = 0;
            for (const char* file : CommandCompletion::kListFiles)
                entries += TTeXCommand(folder, file).Count();
        });
    });
    size_t bytes = 0;
    const double readMs = BestOfMs(Trials, [&] {
        return TimeMs([&] {
            bytes = 0;
            for (const char* file : CommandCompletion::kListFiles) {
                std::ifstream in(folder + "/" + file, std::ios::binary);
                std::ostringstream s;
                s << in.rdbuf();
                bytes += s.str().size();
            }
        });
    });
    if (entries == 0)
        throw std::runtime_error("no shipped lists in " + folder);
    PrintScenario("loading the four shipped lists", oursMs, {{"reading their bytes", readMs}}, "ms",
                  Count(entries) + " entries, " + Count(static_cast<long long>(bytes)) + " bytes");
    PrintTarget(oursMs <= 5, "at most 5 ms");
}

int Run(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string commands = SCRIVLET_COMMANDS_DIR;
    if (argc > 1 && std::string(argv[1]) == "ismath") {
        // Only IsMath, again and again: for a profiler.
        const std::string doc = LatexDocumentGenerator().Generate(DocumentShape{});
        TEditorScreenStrings store;
        store.SetPlainText(doc);
        EditorLineSource source(store);
        const int L = store.LineCount() - 1;
        bool inside = false;
        const double ms = TimeMs([&] {
            for (int i = 0; i < 20; ++i)
                inside = TParseWord(source, "MATH", kBeginMath, kEndMath).IsMath(L, 0) || inside;
        });
        std::printf("IsMath: %.1f ms each, %s\n", ms / 20, inside ? "inside" : "outside");
        return 0;
    }

    BenchLoad(commands);
    BenchFilter();

    std::string doc;
    const double generateMs = TimeMs([&] { doc = LatexDocumentGenerator().Generate(DocumentShape{}); });
    std::printf("document: %.1f MB, fingerprint %016llx, generated in %.0f ms\n", Mb(static_cast<double>(doc.size())),
                static_cast<unsigned long long>(Fingerprint(doc)), generateMs);
    {
        QTemporaryDir dir;
        TFormMain form(dir.filePath(QStringLiteral("Scrivlet.ini")));
        TEditorCore& core = form.Editor->Core();
        form.Editor->Lines().SetTextStr(doc);
        const int last = core.Lines().GetCount() - 1;
        BenchIsMath(core, "word wrap off", last, "at the document's end", true);
        BenchIsMath(core, "word wrap off", last / 2, "in the middle", false);
        BenchIsMath(core, "word wrap off", 5, "near the top", false);
        core.WrapOption().SetWrapByte(80);
        core.SetWordWrap(true);
        BenchIsMath(core, "word wrap on at 80", last, "at the document's end", true);
    }
    BenchKeystroke(doc, QString::fromStdString(commands));
    return 0;
}

}  // namespace

int main(int argc, char** argv) { return bench::RunProgram("CompletionBench", Run, argc, argv); }
