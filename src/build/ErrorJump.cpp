#include "build/ErrorJump.h"

#include "editor/core/ShiftJisCodec.h"

std::optional<ErrorJump> ErrorJumpAt(const TypesetterLog& log, int row)
{
    const int rows = static_cast<int>(log.Rows.size());
    if (row < 0 || row + 1 >= rows || rows <= 2)
        return std::nullopt;
    const std::size_t entry = static_cast<std::size_t>(row / 4);
    if (entry >= log.Entries.size() || log.Entries[entry].Line <= 0)
        return std::nullopt;
    return ErrorJump{log.Entries[entry].FileName, log.Entries[entry].Line};
}

namespace {

std::string Joined(const std::string& folder, std::string name)
{
    while (name.size() >= 2 && name.compare(0, 2, "./") == 0)
        name.erase(0, 2);
    if (!name.empty() && name.front() == '/')
        return name;
    if (folder.empty())
        return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

}  // namespace

std::vector<std::string> LogFileCandidates(const std::string& folder, const std::string& fileName)
{
    std::vector<std::string> paths;
    if (fileName.empty())
        return paths;
    // A name that does not decode cleanly cannot be a UTF-8 name on disk.
    std::u32string decoded = ShiftJisCodec::DecodeForDisplay(fileName);
    bool clean = true;
    for (char32_t c : decoded)
        if (c == ShiftJisCodec::kReplacement || (c >= 0x2400 && c <= 0x2421))
            clean = false;
    if (clean) {
        const std::string utf8 = ShiftJisCodec::DecodeToPlainUtf8(fileName);
        paths.push_back(Joined(folder, utf8));
    }
    const std::string raw = Joined(folder, fileName);
    if (paths.empty() || paths.front() != raw)
        paths.push_back(raw);
    return paths;
}
