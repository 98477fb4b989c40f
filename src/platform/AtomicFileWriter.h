#pragma once
#include <string>
#include <string_view>

// Replaces a file's content all at once, so that a failed save never damages
// the file on disk.
//
// The bytes go to a new temporary file in the target's folder; Commit()
// flushes it to the disk and renames it over the target. The new file gets
// the old one's permission bits (and, where allowed, its owner and group);
// a new target gets the usual mode under the process's umask. When the
// target is a symbolic link (or a chain of them) the file it points to is
// replaced and the link stays.
//
// Every failure throws EFileError naming the path as given and the system's
// reason; the temporary file is then removed and the target is untouched.
// A writer destroyed without Commit() leaves the target untouched too.
class AtomicFileWriter {
public:
    // Resolves links and creates the temporary file. Throws when the target
    // is a folder or another non-regular file, a file the user may not
    // write, or when its folder cannot take a new file.
    explicit AtomicFileWriter(std::string path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Buffers and writes; throws on a write error (a full disk, a quota).
    void Write(std::string_view bytes);
    // Writes what is buffered, syncs, closes and renames over the target.
    void Commit();

    // The file that is replaced: the target with its links followed.
    const std::string& FinalPath() const { return finalPath_; }

private:
    [[noreturn]] void Fail(int error);
    void Flush();
    void Discard();

    std::string path_;       // as given, for messages
    std::string finalPath_;  // links followed
    std::string tempPath_;
    int fd_ = -1;
    std::string buffer_;
    bool committed_ = false;
};
