// Reads arbitrary bytes as a stored property set (TEditorProp). A value that
// cannot be read must raise EPropertyReadError and nothing else, without
// reading outside the bytes. A value that reads is written out again, and:
// - the written bytes read back into a fresh set that writes the very same
//   bytes;
// - a set assigned from it writes the same bytes;
// - an editor given the set and copied back gives the same bytes too (the
//   file extensions aside, which an editor does not have).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "editor/core/EPropertyReadError.h"
#include "editor/core/TEditorCore.h"
#include "editor/core/TEditorProp.h"

#include "../tests/editor/core/FakeView.h"
#include "support/Printable.h"

namespace {

std::string_view AsText(const std::vector<uint8_t>& bytes)
{
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

[[noreturn]] void Fail(const char* what, std::string_view detail = {})
{
    std::fprintf(stderr, "PropertySetReader: %s\n", what);
    if (!detail.empty())
        std::fprintf(stderr, "  %s\n", Printable(detail, 400).c_str());
    std::fflush(stderr);
    __builtin_trap();
}

void RequireSame(const std::vector<uint8_t>& got, const std::vector<uint8_t>& want, const char* what)
{
    if (got == want)
        return;
    std::fprintf(stderr, "  got:  %s\n  want: %s\n", Printable(AsText(got), 400).c_str(),
                 Printable(AsText(want), 400).c_str());
    Fail(what);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TEditorProp first;
    try {
        first.ReadFromBytes(std::span<const uint8_t>(data, size));
    } catch (const EPropertyReadError& e) {
        if (e.Offset > size)
            Fail("a read error points past the end of the value", e.what());
        return 0;
    }
    const std::vector<uint8_t> bytes = first.WriteToBytes();

    TEditorProp second;
    try {
        second.ReadFromBytes(bytes);
    } catch (const EPropertyReadError& e) {
        Fail("a written set does not read back", e.what());
    }
    RequireSame(second.WriteToBytes(), bytes, "a set read back writes other bytes");

    TEditorProp assigned;
    first.AssignTo(assigned);
    RequireSame(assigned.WriteToBytes(), bytes, "an assigned set writes other bytes");

    FakeView view;
    TEditorCore editor(view);
    editor.Lines().SetTextStr("\\begin{document}\r\n\t\x82\xa0\x82\xa2 % text\r\nhttp://example.com a@b.jp\r\n");
    first.AssignTo(editor);
    TEditorProp back;
    back.Assign(editor);
    back.SetFileExtList(first.FileExtList());
    RequireSame(back.WriteToBytes(), bytes, "a set given to an editor and copied back writes other bytes");
    return 0;
}
