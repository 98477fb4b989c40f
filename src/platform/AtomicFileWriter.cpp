#include "platform/AtomicFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <random>
#include <vector>

#include "editor/core/EFileError.h"
#include "editor/core/SystemErrorText.h"
#include "editor/core/TextFileLoad.h"
#include "platform/PathDisplay.h"

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

std::string RandomText(size_t length)
{
    static std::mt19937_64 generator{std::random_device{}()};
    static constexpr char kDigits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string s(length, 'x');
    for (char& c : s)
        c = kDigits[generator() % (sizeof kDigits - 1)];
    return s;
}

// Creates a new file `folder`/`prefix` RANDOM `suffix` that was not there
// before (O_EXCL: never reuse or follow someone else's file). Returns the
// descriptor and sets `path`, or -1 with errno set.
int CreateUnique(const std::string& folder, const std::string& prefix, const std::string& suffix, mode_t mode,
                 std::string& path)
{
    for (int attempt = 0;; ++attempt) {
        path = folder + "/" + prefix + RandomText(6) + suffix;
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, mode);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST || attempt == 100) {
            path.clear();
            return -1;
        }
    }
}

// Writes all of `bytes` at `offset`; 0 or an errno.
int WriteAllAt(int fd, std::string_view bytes, off_t offset)
{
    while (!bytes.empty()) {
        const ssize_t n = pwrite(fd, bytes.data(), bytes.size(), offset);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return EIO;
        bytes.remove_prefix(static_cast<size_t>(n));
        offset += n;
    }
    return 0;
}

int ReadAll(int fd, std::string& bytes)
{
    bytes.clear();
    std::string block(kBufferSize, '\0');
    for (;;) {
        const ssize_t n = pread(fd, block.data(), block.size(), static_cast<off_t>(bytes.size()));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return 0;
        bytes.append(block.data(), static_cast<size_t>(n));
    }
}

// Makes each missing folder of `path` (private to the user); true when it
// is there at the end.
bool MakeFolders(const std::string& path)
{
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            break;
    }
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string AbsoluteEnv(const char* name)
{
    const char* value = std::getenv(name);
    return value && value[0] == '/' ? std::string(value) : std::string();
}

// The places a backup copy may go, in the order tried: beside the file,
// the user's cache folder, the temporary folder.
std::vector<std::string> BackupFolders(const std::string& folder)
{
    std::vector<std::string> folders{folder};
    std::string cache = AbsoluteEnv("XDG_CACHE_HOME");
    if (cache.empty() && !AbsoluteEnv("HOME").empty())
        cache = AbsoluteEnv("HOME") + "/.cache";
    if (!cache.empty())
        folders.push_back(cache + "/Scrivlet/backup");
    const std::string temp = AbsoluteEnv("TMPDIR");
    folders.push_back(temp.empty() ? std::string("/tmp") : temp);
    return folders;
}

// A copy of `bytes` in one of the backup folders; the path made, or empty
// when none would take it.
std::string WriteBackup(const std::string& folder, const std::string& name, mode_t mode, std::string_view bytes)
{
    for (const std::string& place : BackupFolders(folder)) {
        const bool beside = place == folder;
        if (!beside && !MakeFolders(place))
            continue;
        // Beside the file a short hidden name; elsewhere the file's own name
        // tells what it is, when it fits.
        const std::string prefix = beside ? ".sv" : "";
        const std::string suffix = !beside && name.size() + 8 <= NAME_MAX ? "-" + name : ".bak";
        std::string path;
        const int fd = CreateUnique(place, prefix, suffix, beside ? mode & 0666 : 0600, path);
        if (fd < 0)
            continue;
        const bool written = WriteAllAt(fd, bytes, 0) == 0 && fsync(fd) == 0;
        if (close(fd) == 0 && written)
            return path;
        unlink(path.c_str());
    }
    return std::string();
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
        if (!S_ISREG(old.st_mode))
            Fail(NotRegularFileText(old.st_mode));
        // A file the user made read-only stays unwritten, although renaming
        // needs only the folder's permission: writing into it would be
        // refused.
        if (access(finalPath_.c_str(), W_OK) != 0)
            Fail(errno);
        // A rename would part this name from the file's other names.
        if (old.st_nlink > 1) {
            inPlace_ = true;
            return;
        }
    } else if (errno != ENOENT) {
        Fail(errno);
    }

    // Beside the target, so that the rename stays within one file system.
    fd_ = CreateUnique(DirectoryOf(finalPath_), ".sv", "", 0666, tempPath_);
    if (fd_ < 0) {
        const int error = errno;
        // The folder takes no new file, but the file itself may be written.
        if (exists && (error == EACCES || error == EPERM)) {
            inPlace_ = true;
            return;
        }
        Fail(error);
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

void AtomicFileWriter::Fail(int error) { Fail(SystemErrorText(error)); }

void AtomicFileWriter::Fail(const std::string& reason)
{
    Discard();
    throw EFileError(path_, reason);
}

void AtomicFileWriter::Write(std::string_view bytes)
{
    if (inPlace_ && !committed_) {
        buffer_.append(bytes);
        return;
    }
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
    if (inPlace_ && !committed_) {
        CommitInPlace();
        return;
    }
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

void AtomicFileWriter::CommitInPlace()
{
    fd_ = open(finalPath_.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd_ < 0)
        Fail(errno);
    struct stat info {};
    if (fstat(fd_, &info) != 0)
        Fail(errno);
    if (!S_ISREG(info.st_mode))
        Fail(NotRegularFileText(info.st_mode));
    std::string old;
    if (const int error = ReadAll(fd_, old))
        Fail(error);
    const std::string backup = WriteBackup(DirectoryOf(finalPath_), NameOf(finalPath_), info.st_mode, old);

    int error = WriteAllAt(fd_, buffer_, 0);
    if (error == 0 && ftruncate(fd_, static_cast<off_t>(buffer_.size())) != 0)
        error = errno;
    if (error == 0 && fsync(fd_) != 0)
        error = errno;
    if (error == 0) {
        const int fd = fd_;
        fd_ = -1;
        if (close(fd) == 0) {
            if (!backup.empty())
                unlink(backup.c_str());
            buffer_.clear();
            committed_ = true;
            return;
        }
        // The written bytes may not have reached the disk: the backup stays.
        Fail(SystemErrorText(errno) + " (元の内容の控えは \"" + DisplayPathText(backup) + "\" にあります)");
    }

    // Put the old bytes back; they fitted before.
    const bool restored =
        WriteAllAt(fd_, old, 0) == 0 && ftruncate(fd_, static_cast<off_t>(old.size())) == 0 && fsync(fd_) == 0;
    std::string reason = SystemErrorText(error);
    if (restored) {
        if (!backup.empty())
            unlink(backup.c_str());
        reason += " (ファイルは元のままです)";
    } else if (!backup.empty()) {
        reason += " (元の内容の控えは \"" + DisplayPathText(backup) + "\" にあります)";
    } else {
        reason += " (元の内容を戻せず、控えも作れませんでした)";
    }
    Fail(reason);
}
