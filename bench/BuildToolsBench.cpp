// The build tools' reading of files: the root document search over a folder
// of 200 ".tex" files of 100 KB with five levels of inclusion, and the
// typesetter's log of 10 MB read into error entries with files and lines.
//
// Baselines in the same run: reading the same 200 files once into memory,
// and one memchr pass over the log counting its lines.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "build/CompileRootSearch.h"
#include "build/DiskTexFolder.h"
#include "build/TypesetterLog.h"

#include "support/BenchTiming.h"

namespace {

using namespace bench;

constexpr int kFiles = 200;
constexpr std::size_t kFileBytes = 100 * 1000;
constexpr int kLevels = 5;

// A paragraph of Shift-JIS text with commands and a kanji whose trail byte
// is a backslash ("表" 0x95 0x5C), repeated to the size asked for.
std::string Filler(std::size_t bytes, int seed)
{
    std::string line = "\x96\x7b\x95\xb6\x82\xc5\x82\xb7\x81\x42\x95\x5c\\textbf{x} \\ref{fig:" + std::to_string(seed)
                       + "} % \x83\x52\x83\x81\x83\x93\x83\x67\n";
    std::string text;
    text.reserve(bytes + line.size());
    while (text.size() < bytes)
        text += line;
    return text;
}

std::string MakeFolder()
{
    char pattern[] = "/tmp/scrivlet-bench-root-XXXXXX";
    if (!mkdtemp(pattern))
        throw std::runtime_error("cannot create a scratch folder");
    const std::string dir = pattern;
    // Files 1..199 form a tree: each file at level L (1..4) includes files at
    // level L+1; main.tex (file 0) is the root. The target is a leaf at
    // level 5. The remaining files include nothing that leads anywhere.
    std::vector<std::vector<int>> levels(kLevels + 1);
    levels[0].push_back(0);
    int next = 1;
    for (int level = 1; level <= kLevels; ++level)
        for (int i = 0; i < (1 << level) && next < kFiles / 2; ++i)
            levels[level].push_back(next++);
    for (int f = 0; f < kFiles; ++f) {
        std::string text = f == 0 ? "\\documentclass{jsbook}\n\\begin{document}\n" : "% chapter part\n";
        for (int level = 0; level < kLevels; ++level) {
            for (std::size_t i = 0; i < levels[level].size(); ++i) {
                if (levels[level][i] != f)
                    continue;
                for (std::size_t j = 2 * i; j < 2 * i + 2 && j < levels[level + 1].size(); ++j)
                    text += "\\include{f" + std::to_string(levels[level + 1][j]) + "}\n";
            }
        }
        text += Filler(kFileBytes - text.size(), f);
        std::ofstream(dir + "/f" + std::to_string(f) + ".tex", std::ios::binary) << text;
    }
    return dir + "\n" + std::to_string(levels[kLevels].back());
}

void RemoveFolder(const std::string& dir)
{
    for (int f = 0; f < kFiles; ++f)
        std::remove((dir + "/f" + std::to_string(f) + ".tex").c_str());
    rmdir(dir.c_str());
}

std::string MakeLog(std::size_t bytes)
{
    std::string log = "This is e-pTeX, Version 3.141592653-p4.0.0 (sjis.euc) (TeX Live 2022/Debian)\n(./main.tex\n";
    int n = 0;
    while (log.size() < bytes) {
        ++n;
        log += "(./chap" + std::to_string(n) + ".tex [" + std::to_string(n) + "]\n";
        log += "Overfull \\hbox (1.5pt too wide) in paragraph at lines 3--5\n[]\\JY1/mc/m/n/10 (\x96\x7b\x95\xb6\n\n";
        log += "! Undefined control sequence.\nl." + std::to_string(n % 900 + 1)
               + " \x82\xa0\x82\xa2\\foo\n                  \nThe control sequence at the end\n";
        log += "LaTeX Warning: Reference `x' on page 1 undefined on input line 12.\n";
        for (int k = 0; k < 40; ++k)
            log += "\x96\x7b\x95\xb6\x82\xcc\x8d\x73 (see the text) {/usr/share/texmf/fonts/map.map} <font.pfb>\n";
        log += ")\n";
    }
    log += ")\nOutput written on main.dvi (1 page, 228 bytes).\n";
    return log;
}

int Run(int, char**)
{
    bool ok = true;

    // --- the root search ---
    const std::string made = MakeFolder();
    const std::string dir = made.substr(0, made.find('\n'));
    const std::string target = dir + "/f" + made.substr(made.find('\n') + 1) + ".tex";
    std::string found;
    const double searchMs = BestOfMs(5, [&] {
        return TimeMs([&] {
            DiskTexFolder folder(dir);
            CompileRootSearch search(folder, {});
            found = search.FindCompileRoot(target);
        });
    });
    std::size_t readBytes = 0;
    const double readMs = BestOfMs(5, [&] {
        return TimeMs([&] {
            DiskTexFolder folder(dir);
            readBytes = 0;
            for (const std::string& name : folder.ListTexFiles())
                readBytes += folder.ReadFile(name).size();
        });
    });
    RemoveFolder(dir);
    if (found != dir + "/f0.tex") {
        std::printf("ERROR: the search found \"%s\"\n", found.c_str());
        ok = false;
    }
    PrintScenario("1. FindCompileRoot, 200 files of 100 KB, five levels", searchMs,
                  {{"read every file once, " + MbText(readBytes), readMs}});
    PrintTarget(searchMs <= 100, "at most 100 ms");

    // --- the log ---
    const std::string log = MakeLog(10 * 1000 * 1000);
    std::size_t entries = 0;
    const double logMs = BestOfMs(5, [&] {
        return TimeMs([&] { entries = ReadTypesetterLog(log).Entries.size(); });
    });
    std::size_t lines = 0;
    const double memchrMs = BestOfMs(5, [&] {
        return TimeMs([&] {
            lines = 0;
            const char* p = log.data();
            const char* end = p + log.size();
            while ((p = static_cast<const char*>(std::memchr(p, '\n', end - p)))) {
                ++lines;
                ++p;
            }
        });
    });
    PrintScenario("2. ReadTypesetterLog, " + MbText(log.size()), logMs, {{"memchr line count", memchrMs}}, "ms",
                  Count(static_cast<long long>(entries)) + " entries, " + Count(static_cast<long long>(lines))
                      + " lines");
    PrintTarget(logMs <= 100, "at most 100 ms");
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    return bench::RunProgram("BuildToolsBench", Run, argc, argv);
}
