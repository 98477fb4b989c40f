// The outline and bracket matching on the generated 50 MB, one-million-line
// Shift-JIS LaTeX document, with word wrap on at 80 columns:
//
//   1. a full rebuild of the label list and section tree (OutlineBuilder run
//      to its end), against the copying way (every line copied out and
//      searched with find) and a floor (a memchr line split of the bytes);
//      and the longest single step of the sliced rebuild;
//   2. keystrokes into the main window with RenewTree on, each with its
//      repaint, against the same keystrokes into a plain editor; then how
//      long after the last keystroke the outline is up to date, the longest
//      time the event loop was held meanwhile, and whether it equals a full
//      rebuild;
//   3. TCorRelation::Match with the partner on the same line, one million
//      lines away forward and backward, and missing, against the copying
//      snapshot of the document (every line copied and cut at "%") and a
//      floor (counting the bracket bytes of the document as one string).
//
// Every scenario prints our number, the baselines' numbers from the same
// run and the ratios (lower is better), and the targets.

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "app/DocumentOutline.h"
#include "app/TFormMain.h"
#include "build/OutlineBuilder.h"
#include "editor/TEditor.h"
#include "editor/core/TEditorScreenStrings.h"
#include "tex/TCorRelation.h"
#include "support/BenchDocument.h"
#include "support/BenchTiming.h"

using namespace bench;

namespace {

constexpr int WrapColumns = 80;
constexpr int Keystrokes = 200;
constexpr std::size_t StepBytes = 64 * 1024;

void LoadWrapped(TEditorScreenStrings& store, std::string_view text)
{
    store.SetPlainText(text);
    store.WrapOption().SetWrapByte(WrapColumns);
    store.SetWordWrap(true);
}

// --- 1. full rebuild -------------------------------------------------------------

// The copying rebuild: each line copied out, then searched for the
// commands and the first "}" over and over.
std::size_t CopyingRebuild(const TEditorScreenStrings& store)
{
    const TEditorStrings lines(const_cast<TEditorScreenStrings&>(store));
    std::size_t found = 0;
    static const std::string commands[] = {"\\label{", "\\chapter{", "\\section{", "\\subsection{",
                                           "\\subsubsection{"};
    for (int r = 0, n = lines.GetCount(); r < n; ++r) {
        for (const std::string& command : commands) {
            std::string s = lines.Get(r);
            for (;;) {
                const std::size_t p = s.find(command);
                const std::size_t q = s.find('}');
                if (p == std::string::npos || q == std::string::npos)
                    break;
                if (p < q && q > p + command.size())
                    ++found;
                s.erase(0, q + 1);
            }
        }
    }
    return found;
}

std::size_t MemchrLines(std::string_view doc)
{
    std::size_t lines = 0;
    const char* p = doc.data();
    const char* end = p + doc.size();
    while (const void* q = std::memchr(p, '\n', static_cast<std::size_t>(end - p))) {
        ++lines;
        p = static_cast<const char*>(q) + 1;
    }
    return lines;
}

void RebuildScenario(const std::string& doc)
{
    TEditorScreenStrings store;
    LoadWrapped(store, doc);
    std::size_t entries = 0;
    double longestStep = 0;
    const double ours = BestOfMs(3, [&] {
        OutlineBuilder builder(store);
        const auto start = Clock::now();
        for (bool done = false; !done;) {
            const auto step = Clock::now();
            done = builder.Step(StepBytes);
            longestStep = std::max(longestStep, MsSince(step));
        }
        const double ms = MsSince(start);
        entries = builder.Result().Labels.size() + builder.Result().Headings.size();
        return ms;
    });
    std::size_t copyingFound = 0;
    const double copying = BestOfMs(2, [&] { return TimeMs([&] { copyingFound = CopyingRebuild(store); }); });
    std::size_t lines = 0;
    const double floor = BestOfMs(3, [&] { return TimeMs([&] { lines = MemchrLines(doc); }); });
    PrintScenario("outline full rebuild (" + Count(static_cast<long long>(entries)) + " entries, " +
                      Count(static_cast<long long>(lines)) + " lines)",
                  ours, {{"copy and find per line", copying}, {"memchr line split", floor}});
    PrintTarget(ours <= 300, "full rebuild <= 300 ms: " + Fmt(ours) + " ms");
    PrintTarget(longestStep <= 16, "longest step of the sliced rebuild <= 16 ms: " + Fmt(longestStep) + " ms");
    if (copyingFound < entries)
        std::printf("  note: the copying search found %zu pieces\n", copyingFound);
}

// --- 2. typing with RenewTree on ---------------------------------------------------

struct TypingTimes {
    double mean = 0, worstChar = 0, worstEnter = 0;
};

// Types at the middle of the document, each keystroke with its repaint:
// characters, and an Enter after every 19 of them.
TypingTimes Type(TEditor& editor)
{
    TEditorCore& e = editor.Core();
    e.SetRowCol(e.LineToRow(e.Lines().GetCount() / 2), 0);
    QApplication::processEvents();
    TypingTimes t;
    double total = 0;
    for (int i = 0; i < Keystrokes; ++i) {
        const bool enter = i % 20 == 19;
        const double ms = TimeMs([&] {
            e.KeyPress(enter ? "\r" : "a");
            editor.viewport()->repaint();
        });
        total += ms;
        double& worst = enter ? t.worstEnter : t.worstChar;
        worst = std::max(worst, ms);
    }
    t.mean = total / Keystrokes;
    return t;
}

struct Window {
    QTemporaryDir dir;
    TFormMain form{dir.filePath(QStringLiteral("Scrivlet.ini"))};
    explicit Window(const std::string& doc, bool renewTree)
    {
        form.RenewTree = renewTree;
        form.show();
        TEditorCore& e = form.Editor->Core();
        form.Editor->Lines().SetTextStr(doc);
        e.WrapOption().SetWrapByte(WrapColumns);
        e.SetWordWrap(true);
        form.Outline->RefreshOutline();
        form.Outline->Finish();
    }
};

void TypingScenario(const std::string& doc)
{
    TypingTimes base;
    {
        TEditor plain;
        plain.resize(445, 420);
        plain.show();
        plain.Lines().SetTextStr(doc);
        plain.Core().WrapOption().SetWrapByte(WrapColumns);
        plain.Core().SetWordWrap(true);
        base = Type(plain);
    }
    TypingTimes off;
    {
        Window window(doc, false);
        off = Type(*window.form.Editor);
    }
    Window window(doc, true);
    TFormMain& form = window.form;
    TEditorCore& e = form.Editor->Core();
    const TypingTimes ours = Type(*form.Editor);
    PrintScenario("keystroke with RenewTree on, repaint included (mean)", ours.mean,
                  {{"plain editor", base.mean}, {"main window, RenewTree off", off.mean}});
    PrintScenario("character keystroke with RenewTree on (worst)", ours.worstChar,
                  {{"plain editor", base.worstChar}, {"main window, RenewTree off", off.worstChar}});
    PrintScenario("Enter with RenewTree on (worst)", ours.worstEnter,
                  {{"plain editor", base.worstEnter}, {"main window, RenewTree off", off.worstEnter}});
    PrintTarget(std::max(ours.worstChar, ours.worstEnter) <= 2,
                "a keystroke <= 2 ms: worst " + Fmt(std::max(ours.worstChar, ours.worstEnter)) + " ms");

    // The pause: until the outline is up to date, with a probe that sees
    // how long the event loop is held at a time.
    const auto last = Clock::now();
    bool refreshed = false;
    double caughtUp = 0;
    QObject::connect(form.Outline, &DocumentOutline::Refreshed, [&] {
        refreshed = true;
        caughtUp = MsSince(last);
    });
    double longestHold = 0;
    auto previous = Clock::now();
    QTimer probe;
    probe.setInterval(0);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        longestHold = std::max(longestHold, MsSince(previous));
        previous = Clock::now();
    });
    probe.start();
    while (!refreshed && MsSince(last) < 10000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    probe.stop();
    const TEditorScreenStrings& store = e.Store();
    const bool same = form.Outline->Entries().Labels == BuildLabelList(store) &&
                      form.Outline->Entries().Headings == BuildSectionTree(store);
    std::printf("outline caught up %s ms after the last keystroke (pause %d ms), event loop held at most %s ms, "
                "%s a full rebuild\n",
                Fmt(caughtUp).c_str(), DocumentOutline::kPauseMs, Fmt(longestHold).c_str(),
                same ? "equal to" : "DIFFERENT from");
    PrintTarget(refreshed && caughtUp <= 500, "caught up within 500 ms: " + Fmt(caughtUp) + " ms");
    PrintTarget(longestHold <= 16, "typing never held > 16 ms: " + Fmt(longestHold) + " ms");
    PrintTarget(same, "the outline equals a full rebuild");
}

// --- 3. bracket matching -----------------------------------------------------------

// The snapshot way: every line copied, cut at its first "%".
std::size_t Snapshot(const TEditorScreenStrings& store)
{
    const TEditorStrings lines(const_cast<TEditorScreenStrings&>(store));
    std::vector<std::string> copy;
    copy.reserve(static_cast<std::size_t>(lines.GetCount()));
    std::size_t bytes = 0;
    for (int r = 0, n = lines.GetCount(); r < n; ++r) {
        std::string s = lines.Get(r);
        const std::size_t percent = s.find('%');
        if (percent != std::string::npos)
            s.erase(percent);
        bytes += s.size();
        copy.push_back(std::move(s));
    }
    return bytes;
}

double MatchMs(const TEditorScreenStrings& store, int line, int index, bool expect)
{
    return BestOfMs(5, [&] {
        TCorRelation r(store);
        bool found = false;
        const double ms = TimeMs([&] { found = r.Match(line, index); });
        if (found != expect)
            throw std::runtime_error("Match gave an unexpected answer on line " + std::to_string(line));
        return ms;
    });
}

void BracketScenario(const std::string& doc)
{
    // One "{" on a line of its own before the document and its "}" after it;
    // and a second document whose first "{" has no partner.
    const std::string far = "{\r\n" + doc + "}";
    const std::string missing = "{{\r\n" + doc + "}";
    TEditorScreenStrings store;
    LoadWrapped(store, far);
    const int lastLine = store.LineCount() - 1;
    int nearLine = store.LineCount() / 2;
    std::size_t nearIndex = std::string::npos;
    for (; nearIndex == std::string::npos; ++nearLine) {
        TEditorStrings lines(store);
        const std::string s = lines.Get(nearLine);
        const std::size_t cut = s.find('%');
        nearIndex = s.find("\\textbf{");
        if (nearIndex != std::string::npos && (cut == std::string::npos || cut > nearIndex))
            nearIndex += 7;
        else
            nearIndex = std::string::npos;
        if (nearIndex != std::string::npos)
            break;
    }
    const double near = MatchMs(store, nearLine, static_cast<int>(nearIndex), true);
    const double forward = MatchMs(store, 0, 0, true);
    const double backward = MatchMs(store, lastLine, 0, true);
    const double snapshot = BestOfMs(2, [&] { return TimeMs([&] { Snapshot(store); }); });
    std::size_t braces = 0;
    const double floor = BestOfMs(3, [&] {
        return TimeMs([&] { braces = static_cast<std::size_t>(std::count(far.begin(), far.end(), '{')); });
    });
    // Every row of the store read once: what any search of it costs at least.
    std::size_t rowBraces = 0;
    const double rows = BestOfMs(3, [&] {
        return TimeMs([&] {
            rowBraces = 0;
            for (int r = 0, n = store.GetCount(); r < n; ++r) {
                const std::string_view v = store.RowView(r);
                rowBraces += static_cast<std::size_t>(std::count(v.begin(), v.end(), '{'));
            }
        });
    });
    TEditorScreenStrings store2;
    LoadWrapped(store2, missing);
    const double none = MatchMs(store2, 0, 0, false);

    const std::vector<Baseline> baselines{{"snapshot of the document", snapshot},
                                          {"count of the bracket bytes", floor},
                                          {"count over the rows", rows}};
    std::printf("document with %zu curly openers (%zu counted over the rows)\n", braces, rowBraces);
    PrintScenario("bracket partner on the same line", near, baselines);
    PrintScenario("bracket partner 1 million lines forward", forward, baselines);
    PrintScenario("bracket partner 1 million lines backward", backward, baselines);
    PrintScenario("bracket without a partner", none, baselines);
    PrintTarget(near <= 1, "partner on screen <= 1 ms: " + Fmt(near) + " ms");
    PrintTarget(std::max({forward, backward, none}) <= 50,
                "partner 1 million lines away or missing <= 50 ms: worst " + Fmt(std::max({forward, backward, none})) +
                    " ms");
}

int Run(int argc, char** argv)
{
    QApplication app(argc, argv);
    std::string doc;
    const double generateMs = TimeMs([&] { doc = LatexDocumentGenerator().Generate(DocumentShape{}); });
    std::printf("document: %s, generated in %s ms, fingerprint %016llx\n", MbText(doc.size()).c_str(),
                Fmt(generateMs).c_str(), static_cast<unsigned long long>(Fingerprint(doc)));
    RebuildScenario(doc);
    TypingScenario(doc);
    BracketScenario(doc);
    return 0;
}

}  // namespace

int main(int argc, char** argv) { return bench::RunProgram("NavigationBench", Run, argc, argv); }
