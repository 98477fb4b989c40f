#include "build/CompileRootSearch.h"

#include <set>

#include "build/TexFolder.h"
#include "build/TexPath.h"
#include "editor/core/AsciiCase.h"
#include "editor/core/ShiftJis.h"
#include "editor/core/ShiftJisCodec.h"

namespace {

constexpr std::string_view kInclude = "\\include{";
constexpr std::string_view kInput = "\\input{";
constexpr int kRootCommentLines = 20;
constexpr int kRootCommentChain = 32;

// Upper case of a-z, leaving the bytes of double-byte characters alone.
std::string UpperShiftJis(std::string_view s)
{
    std::string out(s);
    for (std::size_t i = 0; i < out.size();) {
        const int n = CharLength(out, i);
        if (n == 1)
            out[i] = AsciiUpper(out[i]);
        i += n;
    }
    return out;
}

// Calls `line` for every line of the text (ends at LF, CR LF or CR); stops
// when it returns false.
template <typename F>
void ForEachLine(std::string_view text, F&& line)
{
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = start;
        while (end < text.size() && text[end] != '\n' && text[end] != '\r')
            ++end;
        if (!line(text.substr(start, end - start)))
            return;
        if (end == text.size())
            return;
        start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Skips blanks from pos; then, when `word` follows (ASCII case free), skips
// it. False when it does not follow.
bool SkipWord(std::string_view line, std::size_t& pos, std::string_view word)
{
    while (pos < line.size() && IsBlank(line[pos]))
        ++pos;
    if (!SameTextAscii(line.substr(pos, word.size()), word))
        return false;
    pos += word.size();
    return true;
}

}  // namespace

using TexPath::FileNamePart;
using TexPath::FolderOf;
using TexPath::Join;
using TexPath::Normalize;

CompileRootSearch::CompileRootSearch(TexFolder& folder, std::function<void()> onCycle)
    : folder_(folder), onCycle_(std::move(onCycle))
{
}

bool CompileRootSearch::IsRootDocument(std::string_view text)
{
    bool root = false;
    ForEachLine(text, [&](std::string_view line) {
        if (line.empty() || line.front() == '%')
            return true;
        std::size_t begin = 0;
        std::size_t end = line.size();
        while (begin < end && static_cast<unsigned char>(line[begin]) <= 32)
            ++begin;
        while (end > begin && static_cast<unsigned char>(line[end - 1]) <= 32)
            --end;
        const std::string_view head = line.substr(begin, std::min<std::size_t>(14, end - begin));
        root = head == "\\documentclass" || head == "\\documentstyle";
        return false;
    });
    return root;
}

std::vector<std::string> CompileRootSearch::IncludeArguments(std::string_view text)
{
    std::vector<std::string> arguments;
    ForEachLine(text, [&](std::string_view line) {
        // Between one "}" and the next, the first opening text found starts
        // an argument that ends at that "}".
        std::size_t include = std::string_view::npos;
        std::size_t input = std::string_view::npos;
        for (std::size_t i = 0; i < line.size();) {
            const char c = line[i];
            if (c == '\\') {
                if (include == std::string_view::npos && line.compare(i, kInclude.size(), kInclude) == 0)
                    include = i + kInclude.size();
                if (input == std::string_view::npos && line.compare(i, kInput.size(), kInput) == 0)
                    input = i + kInput.size();
            } else if (c == '}') {
                for (std::size_t* start : {&include, &input}) {
                    if (*start != std::string_view::npos && *start <= i)
                        arguments.emplace_back(line.substr(*start, i - *start));
                    *start = std::string_view::npos;
                }
            }
            i += CharLength(line, i);
        }
        return true;
    });
    return arguments;
}

bool CompileRootSearch::ArgumentNames(std::string_view argument, std::string_view path)
{
    // The file looked for, without its last four characters (".tex").
    const std::string normalized = Normalize(path);
    if (normalized.size() < 4)
        return false;
    const std::string base = UpperShiftJis(std::string_view(normalized).substr(0, normalized.size() - 4));
    // The argument as the typesetter reads it: from the document's folder,
    // with or without the extension.
    std::string name = Normalize(argument);
    if (name.size() > 4 && TexPath::EndsWithTex(name))
        name.resize(name.size() - 4);
    if (name.empty() || argument.empty())
        return false;
    const std::string upper = UpperShiftJis(name);
    if (upper == base)
        return true;
    const std::string decoded = ShiftJisCodec::DecodeToUtf8(name);
    return decoded != name && SameTextAscii(decoded, base);
}

std::string CompileRootSearch::RootComment(std::string_view text)
{
    std::string root;
    int lines = 0;
    ForEachLine(text, [&](std::string_view line) {
        std::size_t pos = 0;
        if (SkipWord(line, pos, "%") && SkipWord(line, pos, "!") && SkipWord(line, pos, "tex")
            && SkipWord(line, pos, "root") && SkipWord(line, pos, "=")) {
            while (pos < line.size() && IsBlank(line[pos]))
                ++pos;
            std::size_t end = line.size();
            while (end > pos && static_cast<unsigned char>(line[end - 1]) <= 32)
                --end;
            root = std::string(line.substr(pos, end - pos));
            if (!root.empty())
                return false;
        }
        return ++lines < kRootCommentLines;
    });
    return root;
}

const CompileRootSearch::FileFacts& CompileRootSearch::Facts(const std::string& path)
{
    // The target comes as a full path and again as a name in the listing.
    const std::string key = Normalize(Join(folder_.Path(), path));
    auto found = facts_.find(key);
    if (found != facts_.end())
        return found->second;
    const std::string text = folder_.ReadFile(path);
    FileFacts facts;
    facts.isRoot = IsRootDocument(text);
    facts.arguments = IncludeArguments(text);
    if (FollowRootComments)
        facts.rootComment = RootComment(text);
    return facts_.emplace(key, std::move(facts)).first->second;
}

bool CompileRootSearch::Includes(const std::string& candidate, const std::string& name)
{
    for (const std::string& argument : Facts(candidate).arguments)
        if (ArgumentNames(argument, name))
            return true;
    return false;
}

bool CompileRootSearch::Visited(const std::string& name) const
{
    for (const std::string& v : visited_)
        if (SameTextAscii(v, name))
            return true;
    return false;
}

void CompileRootSearch::SearchIncludingFiles(const std::string& name)
{
    if (!listed_) {
        listing_ = folder_.ListTexFiles();
        listed_ = true;
    }
    for (const std::string& candidate : listing_) {
        if (!Includes(candidate, name))
            continue;
        if (Facts(candidate).isRoot) {
            result_ = candidate;
            continue;
        }
        if (Visited(candidate)) {
            if (onCycle_)
                onCycle_();
            return;
        }
        visited_.push_back(candidate);
        SearchIncludingFiles(candidate);
    }
}

std::string CompileRootSearch::FindCompileRoot(const std::string& target)
{
    result_.clear();
    visited_.clear();
    facts_.clear();
    listing_.clear();
    listed_ = false;

    if (FollowRootComments) {
        // A chain of root comments; a file met twice is a cycle.
        std::string current = target;
        std::set<std::string> seen{Normalize(Join(folder_.Path(), current))};
        for (int step = 0; step < kRootCommentChain; ++step) {
            const std::string named = Facts(current).rootComment;
            if (named.empty())
                break;
            const std::string next = Join(FolderOf(current), named);
            if (!folder_.IsFile(next))
                break;
            if (!seen.insert(Normalize(Join(folder_.Path(), next))).second) {
                if (onCycle_)
                    onCycle_();
                break;
            }
            current = next;
        }
        if (current != target && Facts(current).isRoot)
            return Join(folder_.Path(), current);
    }

    if (Facts(target).isRoot)
        return target;
    visited_.push_back(target);
    // Names in the walk are relative to the folder: a target inside it is
    // looked for by its path from there, any other by its name alone.
    std::string relative(FileNamePart(target));
    const std::string& folder = folder_.Path();
    if (!folder.empty() && target.size() > folder.size() + 1 && target.compare(0, folder.size(), folder) == 0
        && target[folder.size()] == '/')
        relative = target.substr(folder.size() + 1);
    else if (!target.empty() && target.front() != '/')
        relative = target;
    SearchIncludingFiles(relative);
    return result_.empty() ? std::string() : Join(folder, result_);
}
