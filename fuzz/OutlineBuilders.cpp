// The outline builders on generated and mutated documents: the label list
// and section tree built in random slices must equal the one-pass builds,
// every entry must stand on a line of the document, every heading under a
// heading above it of a smaller level (the nearest, as the backward walk
// finds it); the file tree of a generated folder must keep its nodes in
// depth-first order, stop at repeated files and at its node limit.
//
// Input: a mode byte, then pieces (commands, braces, backslashes, comment
// signs, line breaks, double-byte characters whose second byte is a
// backslash or a brace) or raw bytes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "build/IncludeTree.h"
#include "build/OutlineBuilder.h"
#include "editor/core/TEditorScreenStrings.h"

#include "../tests/build/MemoryTexFolder.h"
#include "support/FuzzProgram.h"
#include "support/Printable.h"

namespace {

const char* const kPieces[] = {"\\chapter{", "\\section{", "\\subsection{", "\\subsubsection{", "\\label{",
                               "\\section*{", "}", "{", "\\", "%", "x", "\x95\\", "\x81}", "\x81", "\r\n", "\n",
                               "\r", "\\input{", "\\include{", "f1", "f2", "f0.tex", "sub/"};

[[noreturn]] void Fail(const std::string& text, const std::string& what)
{
    std::fprintf(stderr, "OutlineBuilders: %s\n  document: %s\n", what.c_str(), Printable(text).c_str());
    std::fflush(stderr);
    __builtin_trap();
}

std::string Document(Program& program, bool raw)
{
    std::string text;
    const int n = program.Byte();
    for (int i = 0; i < n && !program.Done(); ++i) {
        if (raw)
            text += static_cast<char>(program.Byte());
        else
            text += kPieces[program.Byte() % std::size(kPieces)];
    }
    return text;
}

void CheckOutline(Program& program, const std::string& text, bool wrap)
{
    TEditorScreenStrings store;
    store.SetPlainText(text);
    if (wrap) {
        store.WrapOption().SetWrapByte(10 + program.Byte() % 12);
        store.SetWordWrap(true);
    }
    OutlineBuilder builder(store);
    while (!builder.Step(1 + program.Byte() % 16)) {
    }
    const OutlineEntries& sliced = builder.Result();
    if (sliced.Labels != BuildLabelList(store))
        Fail(text, "sliced labels differ from the one-pass build");
    if (sliced.Headings != BuildSectionTree(store))
        Fail(text, "sliced headings differ from the one-pass build");
    const int lines = store.LineCount();
    int previous = 0;
    for (const OutlineLabel& l : sliced.Labels) {
        if (l.Line < previous || l.Line >= lines)
            Fail(text, "label on line " + std::to_string(l.Line) + " of " + std::to_string(lines));
        previous = l.Line;
    }
    previous = 0;
    for (std::size_t i = 0; i < sliced.Headings.size(); ++i) {
        const OutlineHeading& h = sliced.Headings[i];
        if (h.Line < previous || h.Line >= lines || h.Title.empty() || h.Level < 1 || h.Level > 4)
            Fail(text, "heading " + std::to_string(i) + " on line " + std::to_string(h.Line));
        if (h.Parent != FindParentHeading(sliced.Headings, h.Level, static_cast<int>(i)))
            Fail(text, "heading " + std::to_string(i) + " under the wrong parent");
        if (h.Parent >= static_cast<int>(i) || (h.Parent >= 0 && sliced.Headings[h.Parent].Level >= h.Level))
            Fail(text, "heading " + std::to_string(i) + " under one that cannot hold it");
        previous = h.Line;
    }
}

void CheckFileTree(Program& program, bool raw)
{
    MemoryTexFolder folder("/doc");
    const int count = 1 + program.Byte() % 4;
    std::vector<std::string> texts;
    for (int i = 0; i < count; ++i) {
        std::string text = (i == 0 && program.Bit()) ? "\\documentclass{x}\n" : "";
        text += Document(program, raw);
        folder.Add(i == 3 ? "sub/f3.tex" : "f" + std::to_string(i) + ".tex", text);
        texts.push_back(text);
    }
    const IncludeTree tree = BuildFileTree(folder, "/doc/f0.tex", nullptr);
    if (static_cast<int>(tree.Nodes.size()) > kMaxIncludeNodes)
        Fail(texts[0], "too many nodes");
    for (std::size_t i = 0; i < tree.Nodes.size(); ++i) {
        const IncludeNode& n = tree.Nodes[i];
        const bool rootNode = i == 0;
        if (rootNode != (n.Parent < 0) || n.Parent >= static_cast<int>(i))
            Fail(texts[0], "node " + std::to_string(i) + " out of order");
        if (!rootNode && n.Depth != tree.Nodes[static_cast<std::size_t>(n.Parent)].Depth + 1)
            Fail(texts[0], "node " + std::to_string(i) + " at the wrong depth");
        if (!rootNode && tree.Nodes[static_cast<std::size_t>(n.Parent)].Repeated)
            Fail(texts[0], "a repeated file was descended into");
        bool onPath = false;
        for (int a = n.Parent; a >= 0; a = tree.Nodes[static_cast<std::size_t>(a)].Parent)
            onPath = onPath || tree.Nodes[static_cast<std::size_t>(a)].Path == n.Path;
        if (onPath != n.Repeated)
            Fail(texts[0], "node " + std::to_string(i) + " repeated mark wrong");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Program program(data, size);
    const int mode = program.Byte();
    const bool raw = (mode & 1) != 0;
    if (mode & 4) {
        CheckFileTree(program, raw);
        return 0;
    }
    const std::string text = Document(program, raw);
    CheckOutline(program, text, (mode & 2) != 0);
    return 0;
}
