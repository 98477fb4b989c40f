#pragma once
#include <string>
#include <string_view>

// Replaces a file's content so that a failed save never loses the old bytes.
//
// Normally the bytes go to a new temporary file in the target's folder (a
// short hidden name, so that a target whose name is near the system's limit
// still leaves room); Commit() flushes it to the disk and renames it over the
// target, all at once. The new file gets the old one's permission bits (and,
// where allowed, its owner and group); a new target gets the usual mode under
// the process's umask. When the target is a symbolic link (or a chain of
// them) the file it points to is replaced and the link stays.
//
// Two targets cannot be replaced by a rename: a file with more than one hard
// link (a rename would leave the other names with the old bytes) and a
// writable file in a folder that takes no new files. Those are written in
// place: Commit() first copies the old bytes to a backup (beside the file,
// or when its folder is not writable in the user's cache folder, else in the
// temporary folder), then overwrites the file. Should that write fail, the
// old bytes are put back and the backup removed; when even that fails, the
// backup is kept and the error names it (or says that none could be made).
// After a good write the backup is removed.
//
// Every failure throws EFileError naming the path as given and a Japanese
// reason; the temporary file is then removed and the target is as it was. A
// writer destroyed without Commit() leaves the target untouched too.
class AtomicFileWriter {
public:
    // Resolves links and creates the temporary file. Throws when the target
    // is a folder or another non-regular file, a file the user may not
    // write, or when its folder can take no new file and the file cannot be
    // written in place either.
    explicit AtomicFileWriter(std::string path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Buffers and writes; throws on a write error (a full disk, a quota).
    // Writing in place, everything is held until Commit().
    void Write(std::string_view bytes);
    // Writes what is buffered, syncs, closes and renames over the target
    // (or writes the target in place, as above).
    void Commit();

    // The file that is replaced: the target with its links followed.
    const std::string& FinalPath() const { return finalPath_; }
    // The target is overwritten in place rather than replaced by a rename.
    bool InPlace() const { return inPlace_; }

private:
    [[noreturn]] void Fail(int error);
    [[noreturn]] void Fail(const std::string& reason);
    void Flush();
    void Discard();
    void CommitInPlace();

    std::string path_;       // as given, for messages
    std::string finalPath_;  // links followed
    std::string tempPath_;
    int fd_ = -1;
    std::string buffer_;
    bool inPlace_ = false;
    bool committed_ = false;
};
