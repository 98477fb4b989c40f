#include "build/TypesetterLog.h"

#include <cstring>

#include "editor/core/ShiftJis.h"

namespace {

bool StartsWith(std::string_view s, std::string_view prefix)
{
    return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsAsciiAlnum(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Whether `name` ends in an extension: a "." after the last "/" followed by
// one to eight letters or digits.
bool HasExtension(std::string_view name)
{
    const std::size_t slash = name.rfind('/');
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return false;
    const std::size_t length = name.size() - dot - 1;
    if (length == 0 || length > 8)
        return false;
    for (std::size_t i = dot + 1; i < name.size(); ++i)
        if (!IsAsciiAlnum(name[i]))
            return false;
    return true;
}

// The file name that an opening parenthesis at `open` begins, or an empty
// view when what follows is not a file name. TeX writes the name as it
// found it and goes on with a blank, another "(", a ")" or a page mark, and
// a name may hold blanks, so the name is the longest run up to a blank
// boundary (before the next parenthesis) that ends in an extension, or
// failing that the first blank-free run when it starts like a path.
std::string_view FileNameAt(std::string_view line, std::size_t open)
{
    const std::size_t start = open + 1;
    std::size_t end = start;
    while (end < line.size() && line[end] != '(' && line[end] != ')')
        end += CharLength(line, end);
    const std::string_view rest = line.substr(start, end - start);
    if (rest.empty() || IsBlank(rest.front()))
        return {};
    const bool pathLike = StartsWith(rest, "./") || StartsWith(rest, "../") || rest.front() == '/';
    std::string_view best;
    std::string_view first;
    std::size_t i = 0;
    while (i <= rest.size()) {
        if (i == rest.size() || IsBlank(rest[i])) {
            const std::string_view candidate = rest.substr(0, i);
            if (first.empty())
                first = candidate;
            if (HasExtension(candidate))
                best = candidate;
            if (i == rest.size())
                break;
            ++i;
            continue;
        }
        i += CharLength(rest, i);
    }
    if (!best.empty())
        return best;
    return pathLike ? first : std::string_view{};
}

// The files the typesetter has open while the log is read: a stack of the
// names that "(" opened, with the plain parentheses between them counted.
class FileNesting {
public:
    std::string_view Current() const
    {
        for (auto it = stack_.rbegin(); it != stack_.rend(); ++it)
            if (!it->empty())
                return *it;
        return {};
    }

    void Scan(std::string_view line)
    {
        std::size_t i = 0;
        while (i < line.size()) {
            const char c = line[i];
            if (c == '(') {
                const std::string_view name = FileNameAt(line, i);
                stack_.push_back(name);
                i += 1 + name.size();
                continue;
            }
            if (c == ')') {
                // The first file opened is the document itself: its name
                // stays for whatever the log reports after an unbalanced ")".
                if (stack_.size() > 1 || (stack_.size() == 1 && stack_.front().empty()))
                    stack_.pop_back();
            }
            i += CharLength(line, i);
        }
    }

private:
    // Views into the log; an empty view is a plain parenthesis.
    std::vector<std::string_view> stack_;
};

}  // namespace

std::vector<std::string_view> SplitLogLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    const char* data = text.data();
    const std::size_t size = text.size();
    std::size_t start = 0;
    while (start < size) {
        // The line ends at the next LF, or at a CR before it.
        const void* lf = std::memchr(data + start, '\n', size - start);
        std::size_t end = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - data) : size;
        if (const void* cr = std::memchr(data + start, '\r', end - start))
            end = static_cast<std::size_t>(static_cast<const char*>(cr) - data);
        lines.push_back(text.substr(start, end - start));
        if (end == size)
            break;
        start = end + ((text[end] == '\r' && end + 1 < size && text[end + 1] == '\n') ? 2 : 1);
    }
    return lines;
}

int ContextLineNumber(std::string_view line)
{
    // TeX writes the number without leading zeros.
    if (!StartsWith(line, "l.") || line.size() < 3 || line[2] == '0')
        return 0;
    long long n = 0;
    std::size_t i = 2;
    for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
        n = n * 10 + (line[i] - '0');
        if (n > 0x7FFFFFFF)
            return 0;
    }
    if (i == 2 || (i < line.size() && !IsBlank(line[i])))
        return 0;
    return static_cast<int>(n);
}

TypesetterLog ReadTypesetterLog(std::string_view log)
{
    TypesetterLog result;
    const std::vector<std::string_view> lines = SplitLogLines(log);
    const std::size_t count = lines.size();

    // Where each line stands in the nesting of files, and which lines are
    // error starts and context lines. An error's own lines and the text of
    // an overfull or underfull box quote the document, whose parentheses
    // need not balance, so they are not counted.
    FileNesting nesting;
    std::vector<std::size_t> errorLines;
    std::vector<std::string_view> errorFiles;
    std::size_t quoteUntil = 0;  // lines before this index quote the document
    bool inBoxText = false;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view line = lines[i];
        if (!line.empty() && line.front() == '!') {
            errorLines.push_back(i);
            errorFiles.push_back(nesting.Current());
            // The quote runs to the context line "l.N" and its indented
            // continuation, or ten lines when there is none.
            quoteUntil = i + 11;
            for (std::size_t j = i + 1; j < count && j <= i + 10; ++j) {
                if (!lines[j].empty() && lines[j].front() == '!') {
                    quoteUntil = j;
                    break;
                }
                if (ContextLineNumber(lines[j]) > 0) {
                    // The rest of the source line follows, indented.
                    quoteUntil = j + 1;
                    if (j + 1 < count && !lines[j + 1].empty() && lines[j + 1].front() == ' ')
                        ++quoteUntil;
                    break;
                }
            }
            continue;
        }
        if (i < quoteUntil)
            continue;
        if (inBoxText) {
            inBoxText = !line.empty();
            continue;
        }
        if (StartsWith(line, "Overfull \\") || StartsWith(line, "Underfull \\")) {
            inBoxText = true;
            continue;
        }
        nesting.Scan(line);
    }

    std::size_t next = 0;  // index into errorLines of the next error after the current one
    for (std::size_t e = 0; e < errorLines.size(); ++e) {
        const std::size_t i = errorLines[e];
        if (i + 1 >= count)
            break;  // the last line is the summary, never an entry
        TypesetterLogEntry entry;
        entry.FileName = std::string(errorFiles[e]);
        next = e + 1;
        const std::size_t limit = next < errorLines.size() ? errorLines[next] : count;
        for (std::size_t j = i + 1; j < limit; ++j) {
            if (const int n = ContextLineNumber(lines[j]); n > 0) {
                entry.Line = n;
                break;
            }
        }
        for (std::size_t r = 0; r < 4; ++r)
            result.Rows.emplace_back(i + r < count ? lines[i + r] : std::string_view{});
        result.Entries.push_back(std::move(entry));
    }
    result.Rows.emplace_back(count > 0 ? lines[count - 1] : std::string_view{});
    return result;
}
