// Loads arbitrary bytes as a document file and checks that the row store
// holds exactly the text: line breaks (CR LF, lone CR, lone LF) become CR LF,
// the text ends at the first Ctrl-Z (byte 26) and the bytes after it are
// counted, NUL bytes are kept. The file is then loaded a second time over
// the same store after an edit, which must leave no trace of the edit.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unistd.h>

#include "editor/core/TEditorScreenStrings.h"
#include "editor/core/TEditorStrings.h"

#include "../tests/support/TextModel.h"
#include "support/Printable.h"

namespace {

constexpr char CtrlZ = 26;


[[noreturn]] void Fail(const char* what, std::string_view got = {}, std::string_view want = {})
{
    std::fprintf(stderr, "LoadRoundTrip: %s\n", what);
    if (!got.empty() || !want.empty())
        std::fprintf(stderr, "  got:  %s\n  want: %s\n", Printable(got).c_str(), Printable(want).c_str());
    std::fflush(stderr);
    __builtin_trap();
}

void Require(bool ok, const char* what)
{
    if (!ok)
        Fail(what);
}


// One file name per process, reused for every input. The file is removed
// as soon as it has been read, because libFuzzer may end the process
// without running exit handlers.
const std::string& ScratchPath()
{
    static const std::string path = "/tmp/scrivlet-fuzz-load-" + std::to_string(static_cast<long>(getpid()));
    return path;
}

void WriteScratch(std::string_view bytes)
{
    std::FILE* f = std::fopen(ScratchPath().c_str(), "wb");
    Require(f != nullptr, "cannot create the scratch file");
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fclose(f) == 0 && ok;
    Require(ok, "cannot write the scratch file");
}

// Loads `file` into `lines` and compares everything the store shows with
// what the bytes say.
void LoadAndCheck(TEditorStrings& lines, std::string_view file)
{
    const size_t z = file.find(CtrlZ);
    const std::string_view body = z == std::string_view::npos ? file : file.substr(0, z);
    const std::string want = TextModel::NormaliseBreaks(body);
    const int64_t wantAfter = z == std::string_view::npos ? 0 : static_cast<int64_t>(file.size() - z - 1);

    WriteScratch(file);
    TLoadResult result = lines.LoadFromFile(ScratchPath());
    std::remove(ScratchPath().c_str());
    TEditorScreenStrings& store = lines.Store();

    const std::string text = lines.GetTextStr();
    if (text != want)
        Fail("loaded text differs from the file's text", text, want);
    if (result.EndedAtEof != (z != std::string_view::npos) || result.BytesAfterEof != wantAfter) {
        std::fprintf(stderr, "LoadRoundTrip: Ctrl-Z at %lld: EndedAtEof %d BytesAfterEof %lld, want %lld\n",
                     z == std::string_view::npos ? -1LL : static_cast<long long>(z), result.EndedAtEof,
                     static_cast<long long>(result.BytesAfterEof), static_cast<long long>(wantAfter));
        Fail("wrong end-of-file report");
    }
    Require(!store.UndoObj().CanUndo() && !store.UndoObj().CanRedo(), "a load left undo history");

    // The logical lines are the text split at CR LF, with no empty line
    // after a final break, and one row each.
    int line = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find("\r\n", pos);
        const bool broken = end != std::string::npos;
        if (!broken)
            end = text.size();
        Require(line < lines.GetCount(), "fewer lines than the text has");
        const std::string got = lines.Get(line);
        const std::string_view expected(text.data() + pos, end - pos);
        if (got != expected)
            Fail("a line differs from its piece of the text", got, expected);
        Require(store.GetRowAttribute(line) == (broken ? raLineBreak : raEndOfText),
                "a row's attribute does not match its line break");
        pos = broken ? end + 2 : end;
        ++line;
    }
    Require(lines.GetCount() == line, "more lines than the text has");
    Require(store.GetCount() == line, "a loaded line is not exactly one row");
    Require(store.LineCount() == line, "LineCount differs from the number of lines");

    // Setting the same text directly gives the same document.
    lines.SetTextStr(body);
    if (lines.GetTextStr() != want)
        Fail("SetTextStr of the file's text differs from loading it", lines.GetTextStr(), want);
    Require(store.GetCount() == line, "SetTextStr made a different number of rows");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    TEditorScreenStrings store;
    TEditorStrings lines(store);
    LoadAndCheck(lines, input);

    // An edit leaves rows of its own and undo history; reloading drops both.
    lines.Add("\x95\x5c");
    LoadAndCheck(lines, input);
    return 0;
}
