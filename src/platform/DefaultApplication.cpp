#include "platform/DefaultApplication.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

#include "platform/DesktopEntry.h"
#include "platform/MimeAppsList.h"
#include "platform/ToolDiscovery.h"

namespace DefaultApplication {

namespace {

std::string_view Trim(std::string_view part)
{
    while (!part.empty() && (part.front() == ' ' || part.front() == '\t'))
        part.remove_prefix(1);
    while (!part.empty() && (part.back() == ' ' || part.back() == '\t' || part.back() == '\r'))
        part.remove_suffix(1);
    return part;
}

// The parts between separators, blanks around them removed; empty parts
// are dropped.
std::vector<std::string> SplitAt(std::string_view text, char separator)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(separator, start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view part = Trim(text.substr(start, end - start));
        if (!part.empty())
            parts.emplace_back(part);
        start = end + 1;
    }
    return parts;
}

std::string Join(const std::string& folder, const char* name)
{
    return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

// The value of `key` in the section `[section]` of an INI-style text.
std::string ValueIn(std::string_view text, std::string_view section, std::string_view key)
{
    bool inside = false;
    for (const std::string& line : SplitAt(text, '\n')) {
        if (line.front() == '[') {
            inside = line == "[" + std::string(section) + "]";
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inside || equals == std::string::npos)
            continue;
        if (Trim(std::string_view(line).substr(0, equals)) == key)
            return line.substr(equals + 1);
    }
    return std::string();
}

// The first of the ';'-separated desktop ids whose entry is installed.
std::string FirstInstalled(std::string_view ids, const std::vector<std::string>& dataFolders, const FileTest& exists)
{
    for (const std::string& id : SplitAt(ids, ';')) {
        const std::string file = ToolDiscovery::FindDesktopFile(id, dataFolders, exists);
        if (!file.empty())
            return file;
    }
    return std::string();
}

std::optional<std::string> ReadWholeFile(const std::string& path)
{
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool IsRegularFile(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

std::vector<std::string> DefaultListFiles(const char* configHome, const char* configDirs, const char* home,
                                          const std::vector<std::string>& dataFolders)
{
    std::vector<std::string> configFolders;
    if (configHome && *configHome == '/')
        configFolders.emplace_back(configHome);
    else if (home && *home)
        configFolders.push_back(Join(home, ".config"));
    for (const std::string& folder : SplitAt(configDirs && *configDirs ? configDirs : "/etc/xdg", ':'))
        if (folder.front() == '/')
            configFolders.push_back(folder);
    std::vector<std::string> files;
    for (const std::string& folder : configFolders)
        files.push_back(Join(folder, "mimeapps.list"));
    for (const std::string& folder : dataFolders)
        files.push_back(Join(folder, "applications/mimeapps.list"));
    for (const std::string& folder : dataFolders)
        files.push_back(Join(folder, "applications/defaults.list"));
    return files;
}

std::string DesktopFileFor(std::string_view mimeType, const std::vector<std::string>& listFiles,
                           const std::vector<std::string>& dataFolders, const FileReader& read,
                           const FileTest& exists)
{
    for (const std::string& list : listFiles) {
        const std::optional<std::string> text = read(list);
        if (!text)
            continue;
        const std::string file = FirstInstalled(MimeAppsList::DefaultFor(*text, mimeType), dataFolders, exists);
        if (!file.empty())
            return file;
    }
    for (const std::string& folder : dataFolders) {
        const std::optional<std::string> text = read(Join(folder, "applications/mimeinfo.cache"));
        if (!text)
            continue;
        const std::string file = FirstInstalled(ValueIn(*text, "MIME Cache", mimeType), dataFolders, exists);
        if (!file.empty())
            return file;
    }
    return std::string();
}

std::string DesktopFileFor(std::string_view mimeType)
{
    const std::vector<std::string> dataFolders = ToolDiscovery::DesktopDataFolders(
        std::getenv("XDG_DATA_HOME"), std::getenv("XDG_DATA_DIRS"), std::getenv("HOME"));
    const std::vector<std::string> lists = DefaultListFiles(std::getenv("XDG_CONFIG_HOME"),
                                                            std::getenv("XDG_CONFIG_DIRS"), std::getenv("HOME"),
                                                            dataFolders);
    return DesktopFileFor(mimeType, lists, dataFolders, ReadWholeFile, IsRegularFile);
}

std::vector<std::string> CommandToOpen(std::string_view mimeType, const std::string& file)
{
    const std::string desktopFile = DesktopFileFor(mimeType);
    if (desktopFile.empty())
        return {};
    const std::optional<std::string> text = ReadWholeFile(desktopFile);
    if (!text)
        return {};
    return DesktopEntry::Parse(*text).CommandFor(file);
}

}  // namespace DefaultApplication
