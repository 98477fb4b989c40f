#include "build/DiskTexFolder.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "editor/core/AsciiCase.h"
#include "editor/core/EFileError.h"
#include "editor/core/SystemErrorText.h"
#include "editor/core/TextFileLoad.h"

namespace {

bool EndsWithTexAnyCase(const std::string& name)
{
    return name.size() >= 4 && SameTextAscii(std::string_view(name).substr(name.size() - 4), ".tex");
}

}  // namespace

DiskTexFolder::DiskTexFolder(std::string path) : path_(std::move(path))
{
    while (path_.size() > 1 && path_.back() == '/')
        path_.pop_back();
}

std::string DiskTexFolder::Resolve(const std::string& path) const
{
    if (!path.empty() && path.front() == '/')
        return path;
    return (path_.empty() ? std::string(".") : path_) + "/" + path;
}

std::vector<std::string> DiskTexFolder::ListTexFiles()
{
    std::vector<std::string> names;
    DIR* dir = opendir(path_.empty() ? "." : path_.c_str());
    if (!dir)
        throw EFileError(path_, SystemErrorText(errno));
    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (EndsWithTexAnyCase(name) && IsFile(name))
            names.push_back(name);
    }
    closedir(dir);
    return names;
}

bool DiskTexFolder::IsFile(const std::string& path)
{
    struct stat info;
    return stat(Resolve(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string DiskTexFolder::ReadFile(const std::string& path)
{
    const std::string full = Resolve(path);
    // Only a regular file is read: a pipe put in the file's place must not
    // hang the search.
    const int fd = OpenTextFileForReading(full);
    struct stat info {};
    fstat(fd, &info);
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(info.st_size));
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
            throw EFileError(full, SystemErrorText(error));
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    close(fd);
    return bytes;
}
