// The root document search over generated folders (cycles, self-inclusion,
// missing files, roots at every depth, names in another case) against a
// plain model of the walk: every step written out one by one,
// reading every file afresh at every level.
//
// The folder holds up to eight files "f0.tex" .. "f7.tex" (some in upper
// case), each a root or not, with lines that include other files' base names
// (in either case, missing ones too), commented includes, and arguments cut
// by a "}" or left open. Arguments carry no extension, folder or
// non-ASCII byte, where the search reads more than the model. The search and
// the model must agree on the root and on the number of cycles reported.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <string>
#include <vector>

#include "build/CompileRootSearch.h"

#include "../tests/build/MemoryTexFolder.h"
#include "support/FuzzProgram.h"
#include "support/Printable.h"

namespace {

struct File {
    std::string name;
    std::string text;
};

std::string Upper(std::string s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return s;
}

bool EqualNoCase(const std::string& a, const std::string& b) { return Upper(a) == Upper(b); }

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// The walk exactly as written down, over the same files.
class Model {
public:
    explicit Model(const std::vector<File>& files) : files_(files) {}

    std::string Find(const std::string& target)
    {
        if (IsRoot(target))
            return target;
        visited_.push_back(target);
        Search(target);
        return result_;
    }
    int cycles = 0;

private:
    const std::string& Read(const std::string& name) const
    {
        const std::string bare = name.substr(name.rfind('/') + 1);
        for (const File& f : files_)
            if (f.name == bare)
                return f.text;
        std::abort();
    }

    bool IsRoot(const std::string& name) const
    {
        for (const std::string& line : Lines(Read(name))) {
            if (line.empty() || line[0] == '%')
                continue;
            std::size_t b = 0, e = line.size();
            while (b < e && static_cast<unsigned char>(line[b]) <= 32)
                ++b;
            while (e > b && static_cast<unsigned char>(line[e - 1]) <= 32)
                --e;
            const std::string head = line.substr(b, std::min<std::size_t>(14, e - b));
            return head == "\\documentclass" || head == "\\documentstyle";
        }
        return false;
    }

    bool Includes(const std::string& name, const std::string& candidate) const
    {
        std::string base = name.substr(name.rfind('/') + 1);
        base = base.substr(0, base.size() - 4);
        for (const std::string& line : Lines(Read(candidate))) {
            for (const std::string opening : {"\\include{", "\\input{"}) {
                std::string s = line;
                while (s.find(opening) != std::string::npos && s.find('}') != std::string::npos) {
                    const std::size_t p = s.find(opening);
                    const std::size_t q = s.find('}');
                    if (p < q && Upper(s.substr(p + opening.size(), q - p - opening.size())) == Upper(base))
                        return true;
                    s.erase(0, q + 1);
                }
            }
        }
        return false;
    }

    void Search(const std::string& name)
    {
        for (const File& f : files_) {
            const std::string& c = f.name;
            if (!Includes(name, c))
                continue;
            if (IsRoot(c)) {
                result_ = c;
                continue;
            }
            bool seen = false;
            for (const std::string& v : visited_)
                seen = seen || EqualNoCase(v, c);
            if (seen) {
                ++cycles;
                return;
            }
            visited_.push_back(c);
            Search(c);
        }
    }

    const std::vector<File>& files_;
    std::vector<std::string> visited_;
    std::string result_;
};

[[noreturn]] void Fail(const std::vector<File>& files, const std::string& target, const std::string& what)
{
    std::fprintf(stderr, "RootSearchWalk: %s\n  target: %s\n", what.c_str(), target.c_str());
    for (const File& f : files)
        std::fprintf(stderr, "  %s: %s\n", f.name.c_str(), Printable(f.text).c_str());
    std::fflush(stderr);
    __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Program program(data, size);
    const int count = 1 + program.Byte() % 8;
    std::vector<File> files(count);
    auto baseOf = [&](int i) {
        const std::string& n = files[i].name;
        return n.substr(0, n.size() - 4);
    };
    for (int i = 0; i < count; ++i)
        files[i].name = (program.Byte() % 4 == 0) ? "F" + std::to_string(i) + ".TEX" : "f" + std::to_string(i) + ".tex";
    for (int i = 0; i < count; ++i) {
        std::string& text = files[i].text;
        const int kind = program.Byte();
        if (kind % 3 == 0)
            text += (kind & 8) ? "%c\n\n  \\documentclass{x}\n" : "\\documentstyle{x}\n";
        else if (kind % 3 == 1)
            text += (kind & 8) ? "  %\\documentclass{x}\n" : "";
        const int lines = program.Byte() % 5;
        for (int l = 0; l < lines; ++l) {
            const int what = program.Byte();
            const int other = program.Byte() % (count + 1);
            std::string arg = other == count ? "zz" : baseOf(other);
            if (what & 16)
                arg = Upper(arg);
            switch (what % 6) {
            case 0: text += "\\include{" + arg + "}\n"; break;
            case 1: text += "\\input{" + arg + "}\n"; break;
            case 2: text += "% \\input{" + arg + "}\n"; break;
            case 3: text += "}\\input{" + arg + "\n"; break;
            case 4: text += "\\input{" + arg + "}\\include{" + baseOf(program.Byte() % count) + "} x}\n"; break;
            default: text += "\\input{ " + arg + "}\\INPUT{" + arg + "}\n"; break;
            }
        }
    }
    const std::string target = "/doc/" + files[program.Byte() % count].name;

    MemoryTexFolder folder("/doc");
    for (const File& f : files)
        folder.Add(f.name, f.text);
    int cycles = 0;
    CompileRootSearch search(folder, [&] { ++cycles; });
    const std::string found = search.FindCompileRoot(target);

    Model model(files);
    std::string expected = model.Find(target);
    if (!expected.empty() && expected != target)
        expected = "/doc/" + expected;
    if (found != expected)
        Fail(files, target, "found \"" + found + "\", the walk gives \"" + expected + "\"");
    if (cycles != model.cycles)
        Fail(files, target, std::to_string(cycles) + " cycles reported, the walk meets " + std::to_string(model.cycles));
    if (folder.reads > count + 1)
        Fail(files, target, std::to_string(folder.reads) + " reads of " + std::to_string(count) + " files");
    return 0;
}
