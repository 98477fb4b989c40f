// Loading a document file into the row store.
//
// Two passes over the file in 8 KB blocks: the first counts the lines, so
// the row array is sized once; the second reads the text into one block that
// the rows point into. CR, LF and CR LF each end a line, also when a CR ends
// one block and its LF begins the next. A byte 26 (Ctrl-Z) ends the text;
// how many bytes followed it is reported so that nothing is dropped unseen.
// A NUL byte is ordinary text.

#include <cerrno>
#include <cstdio>
#include <algorithm>
#include <cstring>
#include <memory>

#include "editor/core/EFileError.h"
#include "editor/core/TEditorScreenStrings.h"

namespace {

constexpr size_t BlockSize = 8192;
constexpr char CtrlZ = 26;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::string Reason(int error) { return std::strerror(error); }

// Counts line ends in a block; `pendingCR` carries a CR that ended the
// previous block. Stops at Ctrl-Z, returning its offset, else -1.
long CountBlock(const char* p, size_t n, int64_t& lines, bool& pendingCR, bool& open)
{
    const char* end = p + n;
    const char* z = static_cast<const char*>(std::memchr(p, CtrlZ, n));
    if (z)
        end = z;
    const char* q = p;
    if (pendingCR && q < end && *q == '\n')
        ++q;  // the LF of a CR LF split across blocks
    pendingCR = false;
    const bool hasCR = std::memchr(q, '\r', static_cast<size_t>(end - q)) != nullptr;
    if (!hasCR) {
        // The common case: LF only, counted with memchr.
        while (q < end) {
            const char* lf = static_cast<const char*>(std::memchr(q, '\n', static_cast<size_t>(end - q)));
            if (!lf) {
                open = true;
                break;
            }
            ++lines;
            open = false;
            q = lf + 1;
        }
    } else {
        for (; q < end; ++q) {
            char c = *q;
            if (c == '\n') {
                ++lines;
                open = false;
            } else if (c == '\r') {
                ++lines;
                open = false;
                if (q + 1 < end) {
                    if (q[1] == '\n')
                        ++q;
                } else if (!z) {
                    pendingCR = true;
                }
            } else {
                open = true;
            }
        }
    }
    return z ? static_cast<long>(z - p) : -1;
}

}  // namespace

TLoadResult TEditorScreenStrings::LoadRowsFromFile(const std::string& path)
{
    TLoadResult result;
    Clear();
    File file(std::fopen(path.c_str(), "rb"));
    if (!file)
        throw EFileError(path, Reason(errno));

    // First pass: count lines and the bytes of text before any Ctrl-Z.
    std::unique_ptr<char[]> buffer(new char[BlockSize + 1]);
    int64_t lines = 0;
    int64_t textBytes = 0;
    int64_t fileBytes = 0;
    bool pendingCR = false;
    bool open = false;  // a piece without a break is pending
    for (;;) {
        size_t n = std::fread(buffer.get(), 1, BlockSize, file.get());
        if (n == 0)
            break;
        fileBytes += static_cast<int64_t>(n);
        if (result.EndedAtEof)
            continue;  // only counting what follows the Ctrl-Z
        long z = CountBlock(buffer.get(), n, lines, pendingCR, open);
        if (z >= 0) {
            textBytes += z;
            result.EndedAtEof = true;
        } else {
            textBytes += static_cast<int64_t>(n);
        }
    }
    if (std::ferror(file.get()))
        throw EFileError(path, Reason(errno ? errno : EIO));
    if (open)
        ++lines;
    if (result.EndedAtEof)
        result.BytesAfterEof = fileBytes - textBytes - 1;
    if (textBytes > static_cast<int64_t>(MaxRowLength) || lines > 0x7fffffff)
        throw EFileError(path, "the file is too large to edit");

    // Second pass: read the text into one block and point the rows into it.
    std::shared_ptr<char[]> text(new char[static_cast<size_t>(textBytes) + 1]);
    std::rewind(file.get());
    size_t got = 0;
    const size_t want = static_cast<size_t>(textBytes);
    while (got < want) {
        size_t n = std::fread(text.get() + got, 1, std::min(BlockSize, want - got), file.get());
        if (n == 0)
            break;
        got += n;
    }
    if (std::ferror(file.get()))
        throw EFileError(path, Reason(errno ? errno : EIO));
    // The file may have changed between the passes: keep what is there now,
    // still ending at a Ctrl-Z.
    if (const void* z = std::memchr(text.get(), CtrlZ, got))
        got = static_cast<size_t>(static_cast<const char*>(z) - text.get());

    const std::string_view view(text.get(), got);
    SetPlainTextShared(view, std::move(text), static_cast<int>(lines));
    return result;
}
