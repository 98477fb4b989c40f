#include "app/DocumentFile.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/AtomicFileWriter.h"
#include "editor/core/EFileError.h"
#include "editor/core/SystemErrorText.h"
#include "editor/core/TEditorStrings.h"
#include "editor/core/TextFileLoad.h"
#include "editor/core/TheStringList.h"

namespace {

constexpr size_t kReadBlock = size_t{1} << 20;
constexpr char kCtrlZ = 26;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

DocumentFile DocumentFile::Inspect(const std::string& path)
{
    const int fd = OpenTextFileForReading(path);
    std::unique_ptr<std::FILE, FileCloser> file(fdopen(fd, "rb"));
    if (!file) {
        const int error = errno;
        close(fd);
        throw EFileError(path, SystemErrorText(error));
    }

    DocumentFile result;
    FileLineBreaks::Scanner scanner;
    std::string sample;
    std::string block(kReadBlock, '\0');
    uint64_t textSize = 0;
    bool atEof = false;
    uint64_t afterEof = 0;
    for (;;) {
        const size_t n = std::fread(block.data(), 1, block.size(), file.get());
        if (n == 0)
            break;
        std::string_view piece(block.data(), n);
        if (sample.size() <= kEncodingSampleSize)
            sample.append(piece.substr(0, kEncodingSampleSize + 1 - sample.size()));
        if (atEof) {
            afterEof += n;
            continue;
        }
        if (const void* z = std::memchr(piece.data(), kCtrlZ, piece.size())) {
            const size_t at = static_cast<size_t>(static_cast<const char*>(z) - piece.data());
            atEof = true;
            afterEof = piece.size() - at - 1;
            piece = piece.substr(0, at);
        }
        scanner.Feed(piece);
        textSize += piece.size();
    }
    if (std::ferror(file.get()))
        throw EFileError(path, SystemErrorText(errno ? errno : EIO));
    if (textSize > TheStringList::MaxRowLength)
        throw EFileError(path, TextFileTooLargeText);

    // One byte past the sample's size tells whether the file goes on.
    const bool truncated = sample.size() > kEncodingSampleSize;
    if (truncated)
        sample.resize(kEncodingSampleSize);
    result.encoding_ = GuessEncoding(sample, truncated);
    result.breaks_ = scanner.Finish();
    result.endsAtEof_ = atEof;
    result.bytesAfterEof_ = static_cast<int64_t>(afterEof);
    return result;
}

void DocumentFile::LoadText(const std::string& path, TEditorStrings& lines)
{
    const TLoadResult loaded = lines.LoadFromFile(path);
    // The loader's own findings win should the file have changed since.
    endsAtEof_ = loaded.EndedAtEof;
    bytesAfterEof_ = loaded.BytesAfterEof;
    if (breaks_.Mixed())
        breaks_.RememberLoadedText(lines.GetTextStr());
}

void DocumentFile::Save(const std::string& path, std::string_view text)
{
    AtomicFileWriter out(path);
    FileLineBreaks written = breaks_.Write(text, [&out](std::string_view bytes) { out.Write(bytes); });
    if (endsAtEof_)
        out.Write(std::string_view(&kCtrlZ, 1));
    out.Commit();
    breaks_ = std::move(written);
    bytesAfterEof_ = 0;
}
