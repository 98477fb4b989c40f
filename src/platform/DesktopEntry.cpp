#include "platform/DesktopEntry.h"

namespace {

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// The value of a string key with its escapes \s \n \t \r \\ undone.
std::string Unescape(std::string_view value)
{
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        switch (value[++i]) {
        case 's': out += ' '; break;
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case 'r': out += '\r'; break;
        case '\\': out += '\\'; break;
        default:
            out += '\\';
            out += value[i];
        }
    }
    return out;
}

bool IsReserved(char c)
{
    switch (c) {
    case ' ': case '\t': case '\n': case '"': case '\'': case '\\': case '>': case '<': case '~': case '|':
    case '&': case ';': case '$': case '*': case '?': case '#': case '(': case ')': case '`':
        return true;
    default:
        return false;
    }
}

}  // namespace

DesktopEntry DesktopEntry::Parse(std::string_view text)
{
    DesktopEntry entry;
    bool inGroup = false;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = Trim(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == '#')
            continue;
        if (line.front() == '[') {
            inGroup = line == "[Desktop Entry]";
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inGroup || equals == std::string_view::npos)
            continue;
        const std::string_view key = Trim(line.substr(0, equals));
        const std::string value = Unescape(Trim(line.substr(equals + 1)));
        if (key == "Name")
            entry.Name = value;
        else if (key == "Exec")
            entry.Exec = value;
        else if (key == "TryExec")
            entry.TryExec = value;
        else if (key == "Icon")
            entry.Icon = value;
    }
    return entry;
}

std::vector<std::string> DesktopEntry::CommandFor(const std::string& file) const
{
    std::vector<std::string> arguments;
    std::string current;
    bool inArgument = false;
    bool quoted = false;
    for (std::size_t i = 0; i < Exec.size(); ++i) {
        const char c = Exec[i];
        if (quoted) {
            if (c == '"') {
                quoted = false;
            } else if (c == '\\' && i + 1 < Exec.size()) {
                current += Exec[++i];
            } else if (c == '%' && i + 1 < Exec.size() && Exec[i + 1] == '%') {
                current += '%';
                ++i;
            } else {
                current += c;
            }
            continue;
        }
        if (c == ' ' || c == '\t') {
            if (inArgument)
                arguments.push_back(current);
            current.clear();
            inArgument = false;
            continue;
        }
        inArgument = true;
        if (c == '"') {
            quoted = true;
        } else if (c == '%' && i + 1 < Exec.size()) {
            const char code = Exec[++i];
            switch (code) {
            case 'f': case 'F': case 'u': case 'U': current += file; break;
            case 'c': current += Name; break;
            case '%': current += '%'; break;
            default: break;  // %i, %k and the deprecated codes give nothing here
            }
        } else {
            current += c;
        }
    }
    if (quoted)
        return {};
    if (inArgument)
        arguments.push_back(current);
    // A field code alone that gave nothing is no argument.
    std::vector<std::string> kept;
    for (std::string& a : arguments)
        if (!a.empty())
            kept.push_back(std::move(a));
    return kept;
}

std::string DesktopEntry::QuoteExecArgument(std::string_view argument)
{
    bool needsQuotes = argument.empty();
    for (char c : argument)
        needsQuotes = needsQuotes || IsReserved(c) || c == '=';
    std::string exec;
    for (char c : argument) {
        if (c == '%') {
            exec += "%%";
            continue;
        }
        if (needsQuotes && (c == '"' || c == '`' || c == '$' || c == '\\'))
            exec += '\\';
        exec += c;
    }
    if (needsQuotes)
        exec = "\"" + exec + "\"";
    // The file's own string escapes.
    std::string stored;
    for (char c : exec) {
        if (c == '\\')
            stored += "\\\\";
        else if (c == '\n')
            stored += "\\n";
        else
            stored += c;
    }
    return stored;
}
