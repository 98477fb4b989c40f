#include "platform/AtomicFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <random>

#include "editor/core/EFileError.h"

namespace {

constexpr size_t kBufferSize = size_t{1} << 20;
// As the kernel's own limit on links followed in one lookup.
constexpr int kMaxLinks = 40;

std::string DirectoryOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows symbolic links from `path` to the file they end at, which need not
// exist yet (a dangling link names the file to create). Returns 0 or an errno.
int FollowLinks(const std::string& path, std::string& result)
{
    std::string current = path;
    for (int hops = 0;; ++hops) {
        struct stat info {};
        if (lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            result = current;
            return 0;
        }
        if (hops == kMaxLinks)
            return ELOOP;
        std::string target(PATH_MAX, '\0');
        const ssize_t n = readlink(current.c_str(), target.data(), target.size());
        if (n < 0)
            return errno;
        if (static_cast<size_t>(n) >= target.size())
            return ENAMETOOLONG;
        target.resize(static_cast<size_t>(n));
        if (target.empty())
            return ENOENT;
        current = target[0] == '/' ? target : DirectoryOf(current) + "/" + target;
    }
}

std::string RandomSuffix()
{
    static std::mt19937_64 generator{std::random_device{}()};
    static constexpr char kDigits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string s(8, 'x');
    for (char& c : s)
        c = kDigits[generator() % (sizeof kDigits - 1)];
    return s;
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::string path) : path_(std::move(path))
{
    if (path_.empty())
        Fail(ENOENT);
    if (const int error = FollowLinks(path_, finalPath_))
        Fail(error);

    struct stat old {};
    bool exists = false;
    if (stat(finalPath_.c_str(), &old) == 0) {
        exists = true;
        if (S_ISDIR(old.st_mode))
            Fail(EISDIR);
        if (!S_ISREG(old.st_mode))
            throw EFileError(path_, "Not a regular file");
        // Renaming needs only the folder's permission; a file the user made
        // read-only stays unwritten, as writing into it would be refused.
        if (access(finalPath_.c_str(), W_OK) != 0)
            Fail(errno);
    } else if (errno != ENOENT) {
        Fail(errno);
    }

    // A hidden name beside the target, so that the rename stays within one
    // file system. O_EXCL: never reuse or follow someone else's file.
    const std::string folder = DirectoryOf(finalPath_);
    const std::string name = NameOf(finalPath_);
    for (int attempt = 0; fd_ < 0; ++attempt) {
        tempPath_ = folder + "/." + name + "." + RandomSuffix() + ".tmp";
        fd_ = open(tempPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && (errno != EEXIST || attempt == 100)) {
            tempPath_.clear();
            Fail(errno);
        }
    }
    if (exists) {
        // Owner and group first: changing them may clear the set-id bits.
        if (fchown(fd_, old.st_uid, old.st_gid) != 0 && fchown(fd_, static_cast<uid_t>(-1), old.st_gid) != 0) {
            // Not ours to give away; the file stays ours, as any new file would.
        }
        if (fchmod(fd_, old.st_mode & 07777) != 0)
            Fail(errno);
    }
    buffer_.reserve(kBufferSize);
}

AtomicFileWriter::~AtomicFileWriter()
{
    if (!committed_)
        Discard();
}

void AtomicFileWriter::Discard()
{
    if (fd_ >= 0) {
        close(fd_);
        fd_ = -1;
    }
    if (!tempPath_.empty()) {
        unlink(tempPath_.c_str());
        tempPath_.clear();
    }
}

void AtomicFileWriter::Fail(int error)
{
    Discard();
    throw EFileError(path_, std::strerror(error));
}

void AtomicFileWriter::Write(std::string_view bytes)
{
    if (fd_ < 0)
        Fail(EBADF);
    if (buffer_.size() + bytes.size() > kBufferSize) {
        Flush();
        if (bytes.size() >= kBufferSize) {
            buffer_.assign(bytes);
            Flush();
            return;
        }
    }
    buffer_.append(bytes);
}

void AtomicFileWriter::Flush()
{
    const char* p = buffer_.data();
    size_t left = buffer_.size();
    while (left > 0) {
        const ssize_t n = write(fd_, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Fail(errno);
        }
        if (n == 0)
            Fail(EIO);
        p += n;
        left -= static_cast<size_t>(n);
    }
    buffer_.clear();
}

void AtomicFileWriter::Commit()
{
    if (fd_ < 0 || committed_)
        Fail(EBADF);
    Flush();
    if (fsync(fd_) != 0)
        Fail(errno);
    // A failed close may mean the data never reached the disk (NFS). The
    // descriptor is gone either way: never close it twice.
    const int fd = fd_;
    fd_ = -1;
    if (close(fd) != 0)
        Fail(errno);
    if (rename(tempPath_.c_str(), finalPath_.c_str()) != 0)
        Fail(errno);
    tempPath_.clear();
    committed_ = true;
    // Make the rename itself durable. The new content is in place already,
    // so a folder that cannot be synced (some file systems refuse) does not
    // turn a good save into a reported failure.
    const int dir = open(DirectoryOf(finalPath_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
}
