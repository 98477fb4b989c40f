// TCorRelation::Match against the search written out step by step, on
// generated and mutated documents of brackets, comments, line breaks and
// double-byte characters whose second byte is a bracket, with word wrap on
// or off: at every character start of every line the two must agree.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>

#include "editor/core/ShiftJis.h"
#include "editor/core/TEditorScreenStrings.h"
#include "editor/core/TextLines.h"

#include "../tests/tex/LiteralBracketMatch.h"
#include "support/FuzzProgram.h"
#include "support/Printable.h"

namespace {

const char* const kPieces[] = {"(",  ")",  "[",    "]",    "{",    "}",    "%",        "\\",       "x",
                               " ",  "\r\n", "\n", "\r",   "\x81{", "\x81}", "\x83]",  "\x83[",    "\x95\\",
                               "\x81\x81", "\xE0", "\x81"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Program program(data, size);
    const int mode = program.Byte();
    std::string text;
    const int n = program.Byte();
    for (int i = 0; i < n && !program.Done(); ++i) {
        if (mode & 1)
            text += static_cast<char>(program.Byte());
        else
            text += kPieces[program.Byte() % std::size(kPieces)];
    }
    TEditorScreenStrings store;
    store.SetPlainText(text);
    if (mode & 2) {
        store.WrapOption().SetWrapByte(10 + program.Byte() % 12);
        store.SetWordWrap(true);
    }
    const bracket_model::LiteralModel model(text);
    if (static_cast<int>(model.Lines().size()) != store.LineCount()) {
        std::fprintf(stderr, "BracketMatch: %d lines, the model has %d\n", store.LineCount(),
                     static_cast<int>(model.Lines().size()));
        __builtin_trap();
    }
    int line = 0;
    TextLines::ForEach(text, [&](std::string_view raw) {
        for (std::size_t c = 0;; c = NextCharStart(raw, c)) {
            const bracket_model::Found ours = bracket_model::Ours(store, line, static_cast<int>(c));
            const bracket_model::Found literal = model.Match(line, static_cast<int>(c));
            if (!(ours == literal)) {
                std::ostringstream report;
                report << "line " << line << " index " << c << ": ours " << ours << ", literal " << literal;
                std::fprintf(stderr, "BracketMatch: %s\n  document: %s\n", report.str().c_str(),
                             Printable(text).c_str());
                std::fflush(stderr);
                __builtin_trap();
            }
            if (c >= raw.size())
                break;
        }
        ++line;
    });
    return 0;
}
