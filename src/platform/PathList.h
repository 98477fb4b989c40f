#pragma once
#include <string>
#include <string_view>
#include <vector>

// Lists of folders as environment values hold them, and file names within.
namespace PathList {

// The entries of a list ("a:b::c" with ':'), empty ones included.
inline std::vector<std::string> Split(std::string_view text, char separator)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(separator, start);
        if (end == std::string_view::npos)
            end = text.size();
        parts.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

// "folder/name", with one slash between them.
inline std::string Join(const std::string& folder, std::string_view name)
{
    std::string path = folder;
    if (path.empty() || path.back() != '/')
        path += '/';
    path += name;
    return path;
}

}  // namespace PathList
