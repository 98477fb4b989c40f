#include "platform/ChosenFileName.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstring>
#include <memory>

namespace ChosenFileName {

namespace {

std::string Joined(const std::string& folder, std::string_view name)
{
    if (folder.empty())
        return std::string(name);
    std::string path = folder;
    if (path.back() != '/')
        path += '/';
    path.append(name);
    return path;
}

// The one entry of `folder` shown as `part`, if there is exactly one.
std::optional<std::string> UniqueEntry(const std::string& folder, std::string_view part, const NameCodec& codec,
                                       const FolderLister& list)
{
    const std::optional<std::vector<std::string>> names = list(folder.empty() ? std::string(".") : folder);
    if (!names)
        return std::nullopt;
    std::optional<std::string> found;
    for (const std::string& name : *names) {
        if (codec.Decode(name) != part)
            continue;
        if (found)
            return std::nullopt;  // two entries look alike: neither is known to be the one
        found = name;
    }
    return found;
}

}  // namespace

std::string SystemPath(std::string_view chosen, const NameCodec& codec, const FolderLister& list,
                       const PathTest& exists)
{
    const std::string whole = codec.Encode(chosen);
    if (chosen.empty() || exists(whole))
        return whole;

    std::string path = chosen.front() == '/' ? "/" : "";
    bool found = true;  // every part so far is an existing entry
    std::size_t start = 0;
    while (start <= chosen.size()) {
        std::size_t end = chosen.find('/', start);
        if (end == std::string_view::npos)
            end = chosen.size();
        const std::string_view part = chosen.substr(start, end - start);
        start = end + 1;
        if (part.empty())
            continue;
        std::string next = Joined(path, codec.Encode(part));
        if (found && !exists(next)) {
            if (std::optional<std::string> entry = UniqueEntry(path, part, codec, list))
                next = Joined(path, *entry);
            else
                found = false;
        }
        path = std::move(next);
    }
    return path;
}

std::optional<std::vector<std::string>> FolderEntryNames(const std::string& folder)
{
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
    if (!dir)
        return std::nullopt;
    std::vector<std::string> names;
    while (const dirent* entry = readdir(dir.get())) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        names.emplace_back(entry->d_name);
    }
    return names;
}

bool PathExists(const std::string& path)
{
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

}  // namespace ChosenFileName
