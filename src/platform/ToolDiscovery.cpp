#include "platform/ToolDiscovery.h"

#include <algorithm>
#include <glob.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/DefaultApplication.h"
#include "platform/DesktopEntry.h"
#include "platform/PathList.h"

namespace ToolDiscovery {

using PathList::Join;
using PathList::Split;

bool IsExecutableFile(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

std::vector<std::string> Glob(const std::string& pattern)
{
    std::vector<std::string> paths;
    glob_t found{};
    if (glob(pattern.c_str(), 0, nullptr, &found) == 0)
        for (std::size_t i = 0; i < found.gl_pathc; ++i)
            paths.emplace_back(found.gl_pathv[i]);
    globfree(&found);
    return paths;
}

std::string FindInPath(std::string_view name, std::string_view pathVariable, const ExecutableTest& isExecutable)
{
    if (name.empty() || name.find('/') != std::string_view::npos)
        return {};
    for (const std::string& folder : Split(pathVariable, ':')) {
        if (folder.empty() || folder.front() != '/')
            continue;
        const std::string path = Join(folder, name);
        if (isExecutable(path))
            return path;
    }
    return {};
}

std::string DiscoverPlatex(std::string_view pathVariable, const ExecutableTest& isExecutable, const GlobFunction& glob)
{
    if (std::string found = FindInPath("platex", pathVariable, isExecutable); !found.empty())
        return found;
    // Release folders are named by year: the newest sorts last.
    std::vector<std::string> folders = glob(kTeXLiveBinPattern);
    std::sort(folders.begin(), folders.end(), std::greater<>());
    for (const std::string& folder : folders) {
        const std::string path = Join(folder, "platex");
        if (isExecutable(path))
            return path;
    }
    return {};
}

std::string DiscoverDviViewer(const DefaultApplication::DesktopFolders& folders, std::string_view pathVariable,
                              const ExecutableTest& isExecutable)
{
    const std::string file = DefaultApplication::DesktopFileFor(folders, "application/x-dvi");
    if (file.empty())
        return {};
    const std::optional<std::string> text = DefaultApplication::ReadFile(file);
    if (!text)
        return {};
    const std::vector<std::string> command = DesktopEntry::Parse(*text).CommandFor(std::string());
    if (command.empty() || command.front().empty())
        return {};
    const std::string& program = command.front();
    if (program.find('/') == std::string::npos)
        return FindInPath(program, pathVariable, isExecutable);
    return program.front() == '/' && isExecutable(program) ? program : std::string();
}

std::string FindDesktopFile(std::string_view id, const std::vector<std::string>& dataFolders,
                            const std::function<bool(const std::string&)>& exists)
{
    if (id.empty() || id.find('/') != std::string_view::npos || id == "." || id == "..")
        return {};
    for (const std::string& data : dataFolders) {
        const std::string folder = Join(data, "applications");
        if (const std::string path = Join(folder, id); exists(path))
            return path;
        // Older ids stand for files in subfolders: "kde-okular.desktop".
        std::string nested(id);
        for (std::size_t dash = nested.find('-'); dash != std::string::npos; dash = nested.find('-', dash + 1)) {
            std::string candidate = nested;
            candidate[dash] = '/';
            if (const std::string path = Join(folder, candidate); exists(path))
                return path;
        }
    }
    return {};
}

std::vector<std::string> DesktopDataFolders(const char* dataHome, const char* dataDirs, const char* home)
{
    std::vector<std::string> folders;
    if (dataHome && *dataHome == '/')
        folders.emplace_back(dataHome);
    else if (home && *home)
        folders.push_back(Join(home, ".local/share"));
    const std::string dirs = dataDirs && *dataDirs ? dataDirs : "/usr/local/share:/usr/share";
    for (const std::string& folder : Split(dirs, ':'))
        if (!folder.empty() && folder.front() == '/')
            folders.push_back(folder);
    return folders;
}

}  // namespace ToolDiscovery
