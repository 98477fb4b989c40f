#include "build/TexPath.h"

#include <vector>

#include "editor/core/AsciiCase.h"

namespace TexPath {

std::string Normalize(std::string_view path)
{
    const bool absolute = !path.empty() && path.front() == '/';
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string_view::npos)
            end = path.size();
        const std::string_view part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty() && parts.back() != "..")
                parts.pop_back();
            else if (!absolute)
                parts.push_back(part);
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string out = absolute ? "/" : "";
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0)
            out += '/';
        out += parts[i];
    }
    return out;
}

std::string FolderOf(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos)
        return std::string();
    return slash == 0 ? std::string("/") : std::string(path.substr(0, slash));
}

std::string Join(std::string_view folder, std::string_view name)
{
    if (folder.empty() || (!name.empty() && name.front() == '/'))
        return std::string(name);
    std::string out(folder);
    if (out.back() != '/')
        out += '/';
    out += name;
    return out;
}

std::string_view FileNamePart(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool EndsWithTex(std::string_view path)
{
    return path.size() >= 4 && SameTextAscii(path.substr(path.size() - 4), ".tex");
}

std::string RelativeTo(std::string_view folder, std::string_view path)
{
    std::string base(folder);
    if (!base.empty() && base.back() != '/')
        base += '/';
    if (!base.empty() && path.size() > base.size() && path.compare(0, base.size(), base) == 0)
        return std::string(path.substr(base.size()));
    return std::string(path);
}

}  // namespace TexPath
