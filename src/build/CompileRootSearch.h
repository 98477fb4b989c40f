#pragma once
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

class TexFolder;

// Which document to compile when the user works on one file of a document
// split with \include and \input: the file itself when it begins with a
// document class line, otherwise the root found by walking up through the
// ".tex" files of its folder that include it.
//
// The walk: list the folder's ".tex" files in the listing's order; for each
// one that includes the file looked for, a root becomes the result (a later
// root met in the walk replaces it) and a non-root is walked in turn, unless
// it was already visited: that is a cycle, reported through OnCycle, and the
// rest of that level is not looked at. Visited names compare without regard
// to ASCII case.
//
// An include argument is Shift-JIS bytes, a name on disk the system's bytes:
// they match byte for byte or when the argument decodes to the name. An
// argument may carry the ".tex" extension or a folder relative to the
// document's folder, as the typesetter reads it. Each file is read at most
// once per search; a file that cannot be read raises EFileError.
class CompileRootSearch {
public:
    static constexpr const char* kCycleMessage = "再帰的にファイルを挿入しています。コンパイルできません。";

    // `folder` is where the target lies; `onCycle` is called once per cycle
    // met (the caller shows kCycleMessage).
    CompileRootSearch(TexFolder& folder, std::function<void()> onCycle);

    // With FollowRootComments on, a comment "% !TEX root = main.tex" in the
    // first 20 lines of the target names its root directly (and that file's
    // own comment is followed in turn).
    bool FollowRootComments = false;

    // The root to compile: the target exactly as given when it is a root
    // itself, else the folder's path joined with the root's name; empty when
    // none was found.
    std::string FindCompileRoot(const std::string& target);

    // Whether the text's first line that is neither empty nor begins with
    // "%" starts, after blanks and control characters, with
    // "\documentclass" or "\documentstyle".
    static bool IsRootDocument(std::string_view text);
    // The arguments of every "\include{...}" and "\input{...}" of the text,
    // each cut at the first "}" after it, commented lines included.
    static std::vector<std::string> IncludeArguments(std::string_view text);
    // Whether an include argument names the file at `path` (relative to the
    // document's folder, as the walk keeps names).
    static bool ArgumentNames(std::string_view argument, std::string_view path);
    // The name given by a "% !TEX root = name" comment in the first 20 lines;
    // empty when there is none.
    static std::string RootComment(std::string_view text);

private:
    struct FileFacts {
        bool isRoot = false;
        std::vector<std::string> arguments;
        std::string rootComment;
    };
    const FileFacts& Facts(const std::string& path);
    bool Includes(const std::string& candidate, const std::string& name);
    void SearchIncludingFiles(const std::string& name);
    bool Visited(const std::string& name) const;

    TexFolder& folder_;
    std::function<void()> onCycle_;
    std::map<std::string, FileFacts> facts_;
    std::vector<std::string> listing_;
    bool listed_ = false;
    std::vector<std::string> visited_;
    std::string result_;
};
