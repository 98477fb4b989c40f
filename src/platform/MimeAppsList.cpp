#include "platform/MimeAppsList.h"

#include <vector>

namespace MimeAppsList {

namespace {

// One line of the file with its own line end ("" for a last line without).
struct Line {
    std::string_view text;
    std::string_view end;
};

std::vector<Line> SplitLines(std::string_view text)
{
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t lf = text.find('\n', start);
        if (lf == std::string_view::npos) {
            lines.push_back({text.substr(start), {}});
            break;
        }
        std::size_t end = lf;
        if (end > start && text[end - 1] == '\r')
            --end;
        lines.push_back({text.substr(start, end - start), text.substr(end, lf + 1 - end)});
        start = lf + 1;
    }
    return lines;
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// The section a header line opens ("[Default Applications]"), or an empty
// view when the line is not a header.
bool IsHeader(std::string_view line, std::string_view* name)
{
    line = Trim(line);
    if (line.size() < 2 || line.front() != '[' || line.back() != ']')
        return false;
    *name = line.substr(1, line.size() - 2);
    return true;
}

// Whether the line sets the type, and its value.
bool IsTypeLine(std::string_view line, std::string_view mimeType, std::string_view* value)
{
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || Trim(line.substr(0, equals)) != mimeType)
        return false;
    *value = Trim(line.substr(equals + 1));
    return true;
}

// Calls `each(index, inSection)` for every line that is not a header.
template <typename F>
void Walk(const std::vector<Line>& lines, F&& each, std::string_view section = kDefaultSection)
{
    bool inSection = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view name;
        if (IsHeader(lines[i].text, &name)) {
            inSection = name == section;
            continue;
        }
        each(i, inSection);
    }
}

// The line end the file uses: that of its first line, else LF.
std::string_view LineEnd(const std::vector<Line>& lines)
{
    return !lines.empty() && !lines.front().end.empty() ? lines.front().end : std::string_view("\n");
}

std::string Join(const std::vector<Line>& lines, const std::vector<bool>& drop)
{
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (drop[i])
            continue;
        out += lines[i].text;
        out += lines[i].end;
    }
    return out;
}

}  // namespace

std::string DefaultFor(std::string_view text, std::string_view mimeType)
{
    return ValueFor(text, kDefaultSection, mimeType);
}

std::string ValueFor(std::string_view text, std::string_view section, std::string_view mimeType)
{
    const std::vector<Line> lines = SplitLines(text);
    std::string found;
    Walk(
        lines,
        [&](std::size_t i, bool inSection) {
            std::string_view value;
            if (inSection && found.empty() && IsTypeLine(lines[i].text, mimeType, &value))
                found = std::string(value);
        },
        section);
    return found;
}

std::string RemoveDefault(std::string_view text, std::string_view mimeType)
{
    const std::vector<Line> lines = SplitLines(text);
    std::vector<bool> drop(lines.size(), false);
    Walk(lines, [&](std::size_t i, bool inDefaults) {
        std::string_view value;
        if (inDefaults && IsTypeLine(lines[i].text, mimeType, &value))
            drop[i] = true;
    });
    return Join(lines, drop);
}

std::string SetDefault(std::string_view text, std::string_view mimeType, std::string_view desktopId)
{
    const std::vector<Line> lines = SplitLines(text);
    const std::string_view end = LineEnd(lines);
    const std::string entry = std::string(mimeType) + "=" + std::string(desktopId) + ";";
    std::vector<bool> drop(lines.size(), false);
    std::size_t replaced = lines.size();
    Walk(lines, [&](std::size_t i, bool inDefaults) {
        std::string_view value;
        if (inDefaults && IsTypeLine(lines[i].text, mimeType, &value)) {
            if (replaced == lines.size())
                replaced = i;
            else
                drop[i] = true;
        }
    });
    std::size_t header = lines.size();
    for (std::size_t i = 0; i < lines.size() && header == lines.size(); ++i) {
        std::string_view name;
        if (IsHeader(lines[i].text, &name) && name == kDefaultSection)
            header = i;
    }

    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (drop[i])
            continue;
        if (i == replaced) {
            out += entry;
            out += lines[i].end.empty() ? std::string_view() : lines[i].end;
            continue;
        }
        out += lines[i].text;
        out += lines[i].end;
        if (i == header && replaced == lines.size()) {
            if (lines[i].end.empty())
                out += end;
            out += entry;
            out += end;
        }
    }
    if (header == lines.size()) {
        if (!out.empty() && out.back() != '\n')
            out += end;
        out += "[";
        out += kDefaultSection;
        out += "]";
        out += end;
        out += entry;
        out += end;
    }
    return out;
}

}  // namespace MimeAppsList
