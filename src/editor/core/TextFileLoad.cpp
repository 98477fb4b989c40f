// Loading a document file into the row store.
//
// The file is read once, in blocks, into one text block the rows point into;
// the lines are then counted so that the row array is sized once, and the
// rows are filled. CR, LF and CR LF each end a line. A byte 26 (Ctrl-Z) ends
// the text; how many bytes followed it is reported, so that a later save
// cannot drop them unseen. A NUL byte is ordinary text.

#include "editor/core/TextFileLoad.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "editor/core/EFileError.h"
#include "editor/core/LargeAllocation.h"
#include "editor/core/SystemErrorText.h"
#include "editor/core/TEditorScreenStrings.h"

namespace {

constexpr size_t ReadBlock = size_t{1} << 20;
constexpr char CtrlZ = 26;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::string Reason(int error) { return SystemErrorText(error); }

}  // namespace

const char* const TextFileTooLargeText = "ファイルが大きすぎて編集できません";

std::string NotRegularFileText(unsigned mode)
{
    if (S_ISDIR(mode))
        return SystemErrorText(EISDIR);
    std::string kind;
    if (S_ISFIFO(mode))
        kind = "名前付きパイプ";
    else if (S_ISCHR(mode) || S_ISBLK(mode))
        kind = "デバイス";
    else if (S_ISSOCK(mode))
        kind = "ソケット";
    return kind.empty() ? "通常のファイルではありません" : "通常のファイルではありません (" + kind + ")";
}

int OpenTextFileForReading(const std::string& path)
{
    // Without O_NONBLOCK opening a FIFO waits for a writer; O_NOCTTY keeps a
    // terminal from becoming the program's own.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        throw EFileError(path, Reason(errno));
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        const int error = errno;
        close(fd);
        throw EFileError(path, Reason(error));
    }
    if (!S_ISREG(info.st_mode)) {
        close(fd);
        throw EFileError(path, NotRegularFileText(info.st_mode));
    }
    const int flags = fcntl(fd, F_GETFL);
    if (flags >= 0)
        fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

std::string ReadRegularFile(const std::string& path, std::size_t maxBytes)
{
    const int fd = OpenTextFileForReading(path);
    struct stat info {};
    std::string bytes;
    if (fstat(fd, &info) == 0 && info.st_size > 0)
        bytes.reserve(std::min(static_cast<std::size_t>(info.st_size), maxBytes));
    char buffer[65536];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            close(fd);
            throw EFileError(path, SystemErrorText(error));
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
        if (bytes.size() > maxBytes) {
            close(fd);
            throw EFileError(path, SystemErrorText(EFBIG));
        }
    }
    close(fd);
    return bytes;
}

TLoadResult TEditorScreenStrings::LoadRowsFromFile(const std::string& path)
{
    TLoadResult result;
    Clear();
    const int fd = OpenTextFileForReading(path);
    File file(fdopen(fd, "rb"));
    if (!file) {
        const int error = errno;
        close(fd);
        throw EFileError(path, Reason(error));
    }
    struct stat info {};
    fstat(fd, &info);

    // The size is a hint only: a file that grows is read to its end all the
    // same.
    // One spare byte lets the read that meets the end find room.
    size_t capacity = info.st_size > 0 ? static_cast<size_t>(info.st_size) + 1 : ReadBlock;
    std::shared_ptr<char[]> block = AllocateTextBlock(capacity);
    size_t size = 0;
    for (;;) {
        if (size == capacity) {
            size_t larger = capacity + capacity / 2 + ReadBlock;
            std::shared_ptr<char[]> grown = AllocateTextBlock(larger);
            std::memcpy(grown.get(), block.get(), size);
            block = std::move(grown);
            capacity = larger;
        }
        size_t n = std::fread(block.get() + size, 1, std::min(ReadBlock, capacity - size), file.get());
        if (n == 0)
            break;
        size += n;
    }
    if (std::ferror(file.get()))
        throw EFileError(path, Reason(errno ? errno : EIO));

    size_t textSize = size;
    if (const void* z = std::memchr(block.get(), CtrlZ, size)) {
        textSize = static_cast<size_t>(static_cast<const char*>(z) - block.get());
        result.EndedAtEof = true;
        result.BytesAfterEof = static_cast<int64_t>(size - textSize - 1);
    }
    if (textSize > static_cast<size_t>(MaxRowLength))
        throw EFileError(path, TextFileTooLargeText);

    const std::string_view text(block.get(), textSize);
    SetPlainTextShared(text, std::move(block));
    return result;
}
