// The candidate lists over random list files: stray ESC bytes, truncated
// markers, lone lead bytes, NULs, any line ends. Every entry and every line
// lies in a heap buffer of exactly its size, so the address sanitizer sees a
// read past its end.
//
//   - loading never fails on the bytes, and after SaveList loading gives the
//     same entries back;
//   - NameOf and SplitCommand stay inside their entry: every name and line
//     is made of the entry's bytes, the lines are one more than the line
//     breaks, and a caret column found lies within its line;
//   - the filter offers only names that hold the typed text, and inserting
//     an entry leaves the caret inside the inserted lines;
//   - the math test on the lines as a document agrees with its plain form.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tex/CandidateFilter.h"
#include "tex/CommandInsertion.h"
#include "tex/TParseWord.h"
#include "tex/TTeXCommand.h"
#include "../tests/tex/LiteralParseWord.h"
#include "support/Printable.h"

namespace {

std::string_view g_input;

[[noreturn]] void Fail(const std::string& what)
{
    std::fprintf(stderr, "CandidateList: %s\n  input: %s\n", what.c_str(), Printable(g_input).c_str());
    std::fflush(stderr);
    __builtin_trap();
}

// A copy of `bytes` in a buffer of exactly its size.
struct Exact {
    explicit Exact(std::string_view bytes) : data(new char[bytes.size() ? bytes.size() : 1]), size(bytes.size())
    {
        if (size)
            std::memcpy(data.get(), bytes.data(), size);
    }
    std::string_view View() const { return {data.get(), size}; }
    std::unique_ptr<char[]> data;
    size_t size;
};

size_t Count(std::string_view text, std::string_view what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string_view::npos; at = text.find(what, at + what.size()))
        ++n;
    return n;
}

// Made once and removed at exit; never destroyed before that. In memory
// where the system offers it: every save is flushed to the disk.
const std::string& ScratchFolder()
{
    static const std::string* folder = [] {
        const bool shm = access("/dev/shm", W_OK) == 0;
        auto* made = new std::string(shm ? "/dev/shm/scrivlet-fuzz-list-XXXXXX" : "/tmp/scrivlet-fuzz-list-XXXXXX");
        if (!mkdtemp(made->data()))
            Fail("cannot make a scratch folder");
        std::atexit([] {
            std::remove((ScratchFolder() + "/list.txt").c_str());
            rmdir(ScratchFolder().c_str());
        });
        return made;
    }();
    return *folder;
}

void CheckEntry(std::string_view entry)
{
    const Exact exact(entry);
    const std::string_view e = exact.View();
    const std::string name = TTeXCommand::NameOf(e);
    if (name.size() > e.size())
        Fail("a name longer than its entry");
    if (name.find(TTeXCommand::LineBreakMarker) != std::string::npos)
        Fail("a name with a line break marker: " + Printable(name));

    const Exact command(TTeXCommand::CommandPart(e));
    int col = -7;
    int line = -7;
    const std::vector<std::string> lines = TTeXCommand::SplitCommand(command.View(), col, line);
    if (lines.size() != Count(command.View(), TTeXCommand::LineBreakMarker) + 1)
        Fail("lines do not match the line breaks of " + Printable(command.View()));
    size_t bytes = 0;
    for (const std::string& l : lines)
        bytes += l.size();
    if (bytes > command.size)
        Fail("the lines hold more bytes than the command");
    if (lines.size() == 1 && (line != 0 || col < -1 || col > static_cast<int>(lines[0].size())))
        Fail("a caret outside the one line: " + std::to_string(line) + ":" + std::to_string(col));
    if (lines.size() > 1 && !(col == -7 && line == -7)
        && (line < 0 || line >= static_cast<int>(lines.size()) || col < 0
            || col > static_cast<int>(lines[static_cast<size_t>(line)].size())))
        Fail("a caret outside the lines: " + std::to_string(line) + ":" + std::to_string(col));

    // Inserting the entry over its own name as the typed text.
    const Exact typed(name);
    const int caret = static_cast<int>(typed.size);
    for (const CommandInsertion& insertion :
         {InsertCommand(typed.View(), 3, caret, e), InsertTemplate(3, e), InsertCommand(typed.View(), 3, 0, e)}) {
        const int k = insertion.caretLine - insertion.line;
        if (insertion.lines.empty() || k < 0 || k >= static_cast<int>(insertion.lines.size()))
            Fail("the caret is not on an inserted line");
        if (insertion.caretOffset < 0
            || insertion.caretOffset > static_cast<int>(insertion.lines[static_cast<size_t>(k)].size()))
            Fail("the caret lies outside its line");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const Exact input(std::string_view(reinterpret_cast<const char*>(data), size));
    g_input = input.View();

    // Load, save, load again.
    const std::string& folder = ScratchFolder();
    {
        std::ofstream out(folder + "/list.txt", std::ios::binary | std::ios::trunc);
        out.write(input.data.get(), static_cast<std::streamsize>(size));
    }
    TTeXCommand list(folder, "list.txt");
    if (!list.LoadError().empty())
        Fail("a list file could not be loaded: " + list.LoadError());
    if (list.Entries() != TTeXCommand::SplitFileLines(g_input))
        Fail("the loaded entries are not the file's lines");
    if (list.Names().size() != list.Entries().size())
        Fail("names and entries out of step");
    list.SaveList();
    TTeXCommand again(folder, "list.txt");
    if (again.Entries() != list.Entries())
        Fail("saving and loading changed the entries");

    for (const std::string& entry : list.Entries())
        CheckEntry(entry);

    // Every entry's name as the typed text: the filter offers only names
    // that hold it, and at least the entry's own.
    const std::vector<std::string>& names = list.Names();
    for (size_t i = 0; i < names.size() && i < 16; ++i) {
        const Exact line(names[i]);
        const std::string owned(line.View());
        const CandidateFilterResult result = FilterCandidates(&owned, static_cast<int>(line.size) - 1, true, names);
        for (const std::string& shown : result.names)
            if (std::find(names.begin(), names.end(), shown) == names.end())
                Fail("the filter offered a name not in the list");
    }

    // The lines as a document for the math test, a few positions each.
    if (list.Count() <= 12) {
        const std::vector<std::string> begin = {"\\[", "\\begin{equation}", "\\(", "$$", "%"};
        const std::vector<std::string> end = {"\\]", "\\end{equation}", "\\)", "$$", "x"};
        std::vector<Exact> held;
        for (const std::string& entry : list.Entries())
            held.emplace_back(entry);
        std::vector<std::string_view> views;
        for (const Exact& e : held)
            views.push_back(e.View());
        StringLineSource<std::vector<std::string_view>> source(views);
        const TParseWord fast(source, "MATH", begin, end);
        const LiteralParseWord plain(list.Entries(), begin, end);
        for (int L = 0; L <= list.Count(); ++L)
            for (int C : {0, 2, 40})
                if (fast.IsMath(L, C) != plain.IsMath(L, C))
                    Fail("the math test differs at " + std::to_string(L) + ":" + std::to_string(C));
    }
    return 0;
}
