#include "platform/DefaultApplication.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

#include "platform/DesktopEntry.h"
#include "platform/MimeAppsList.h"
#include "platform/PathList.h"
#include "platform/ToolDiscovery.h"

namespace DefaultApplication {

using PathList::Join;
using PathList::Split;

namespace {

std::vector<std::string> AbsoluteEntries(const char* list, const char* fallback)
{
    std::vector<std::string> folders;
    for (const std::string& folder : Split(list && *list ? list : fallback, ':'))
        if (!folder.empty() && folder.front() == '/')
            folders.push_back(folder);
    return folders;
}

// The mimeapps.list files, most important first.
std::vector<std::string> MimeAppsFiles(const DesktopFolders& folders)
{
    std::vector<std::string> files;
    auto add = [&](const std::string& folder) {
        for (const std::string& desktop : folders.Desktops)
            files.push_back(Join(folder, desktop + "-mimeapps.list"));
        files.push_back(Join(folder, "mimeapps.list"));
    };
    for (const std::string& folder : folders.ConfigFolders)
        add(folder);
    for (const std::string& folder : folders.DataFolders)
        add(Join(folder, "applications"));
    return files;
}

}  // namespace

DesktopFolders FoldersFrom(const char* configHome, const char* configDirs, const char* dataHome,
                           const char* dataDirs, const char* currentDesktop, const char* home)
{
    DesktopFolders folders;
    if (configHome && *configHome == '/')
        folders.ConfigFolders.emplace_back(configHome);
    else if (home && *home)
        folders.ConfigFolders.push_back(Join(home, ".config"));
    for (std::string& folder : AbsoluteEntries(configDirs, "/etc/xdg"))
        folders.ConfigFolders.push_back(std::move(folder));
    folders.DataFolders = ToolDiscovery::DesktopDataFolders(dataHome, dataDirs, home);
    if (currentDesktop)
        for (std::string name : Split(currentDesktop, ':')) {
            if (name.empty() || name.find('/') != std::string::npos)
                continue;
            std::transform(name.begin(), name.end(), name.begin(),
                           [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
            folders.Desktops.push_back(std::move(name));
        }
    return folders;
}

DesktopFolders ProcessFolders()
{
    return FoldersFrom(std::getenv("XDG_CONFIG_HOME"), std::getenv("XDG_CONFIG_DIRS"), std::getenv("XDG_DATA_HOME"),
                       std::getenv("XDG_DATA_DIRS"), std::getenv("XDG_CURRENT_DESKTOP"), std::getenv("HOME"));
}

std::optional<std::string> ReadFile(const std::string& path)
{
    if (!IsRegularFile(path))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return std::nullopt;
    return text;
}

bool IsRegularFile(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::vector<std::string> SplitIds(std::string_view value)
{
    std::vector<std::string> ids;
    for (std::string id : Split(value, ';')) {
        const std::size_t first = id.find_first_not_of(" \t");
        if (first == std::string::npos)
            continue;
        id = id.substr(first, id.find_last_not_of(" \t") + 1 - first);
        ids.push_back(std::move(id));
    }
    return ids;
}

std::string DesktopFileFor(const DesktopFolders& folders, std::string_view mimeType, const FileReader& read,
                           const FileTest& exists)
{
    // Each file is read once.
    std::vector<std::string> lists;
    for (const std::string& path : MimeAppsFiles(folders))
        if (std::optional<std::string> text = read(path))
            lists.push_back(std::move(*text));

    auto installed = [&](const std::string& id) { return ToolDiscovery::FindDesktopFile(id, folders.DataFolders, exists); };
    auto firstInstalled = [&](std::string_view value, const std::vector<std::string>& removed) {
        for (const std::string& id : SplitIds(value)) {
            if (std::find(removed.begin(), removed.end(), id) != removed.end())
                continue;
            if (std::string file = installed(id); !file.empty())
                return file;
        }
        return std::string();
    };

    const std::vector<std::string> none;
    for (const std::string& list : lists)
        if (std::string file = firstInstalled(MimeAppsList::DefaultFor(list, mimeType), none); !file.empty())
            return file;
    for (const std::string& folder : folders.DataFolders)
        if (std::optional<std::string> text = read(Join(folder, "applications/defaults.list")))
            if (std::string file = firstInstalled(MimeAppsList::DefaultFor(*text, mimeType), none); !file.empty())
                return file;

    std::vector<std::string> removed;
    for (const std::string& list : lists)
        for (std::string& id : SplitIds(MimeAppsList::ValueFor(list, "Removed Associations", mimeType)))
            removed.push_back(std::move(id));
    for (const std::string& list : lists)
        if (std::string file = firstInstalled(MimeAppsList::ValueFor(list, "Added Associations", mimeType), removed);
            !file.empty())
            return file;
    for (const std::string& folder : folders.DataFolders)
        if (std::optional<std::string> text = read(Join(folder, "applications/mimeinfo.cache")))
            if (std::string file = firstInstalled(MimeAppsList::ValueFor(*text, "MIME Cache", mimeType), removed);
                !file.empty())
                return file;
    return {};
}

std::vector<std::string> CommandToOpen(std::string_view mimeType, const std::string& file)
{
    const std::string desktopFile = DesktopFileFor(ProcessFolders(), mimeType);
    if (desktopFile.empty())
        return {};
    const std::optional<std::string> text = ReadFile(desktopFile);
    if (!text)
        return {};
    return DesktopEntry::Parse(*text).CommandFor(file);
}

}  // namespace DefaultApplication
