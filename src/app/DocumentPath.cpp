#include "app/DocumentPath.h"

#include <unistd.h>

#include <cerrno>

namespace {

std::string CurrentFolder()
{
    std::string buffer(4096, '\0');
    for (;;) {
        if (getcwd(buffer.data(), buffer.size()))
            return std::string(buffer.c_str());
        if (errno != ERANGE)
            return std::string();
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

namespace DocumentPath {

std::string Absolute(std::string_view path)
{
    std::string whole;
    if (path.empty() || path.front() != '/') {
        whole = CurrentFolder();
        whole += '/';
    }
    whole.append(path);

    std::string result;
    for (size_t start = 0; start <= whole.size();) {
        size_t slash = whole.find('/', start);
        if (slash == std::string::npos)
            slash = whole.size();
        const std::string_view part(whole.data() + start, slash - start);
        if (!part.empty() && part != ".") {
            result += '/';
            result.append(part);
        }
        start = slash + 1;
    }
    return result.empty() ? std::string("/") : result;
}

std::string FolderOf(std::string_view path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

bool IsTexFileName(std::string_view path)
{
    if (path.size() < 4)
        return false;
    std::string tail(path.substr(path.size() - 4));
    for (char& c : tail) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return tail == ".tex";
}

bool HasExtension(std::string_view path)
{
    const size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind('.');
    return dot != std::string_view::npos && dot > 0 && dot + 1 < name.size();
}

bool Same(std::string_view a, std::string_view b) { return a == b; }

}  // namespace DocumentPath
