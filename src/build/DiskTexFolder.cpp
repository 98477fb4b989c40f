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
    // Only a regular file is read: a pipe put in the file's place must not
    // hang the search.
    return ReadRegularFile(Resolve(path));
}
