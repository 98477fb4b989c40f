#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TexFolder;

// The tree of files a document is made of, read from disk: the root found
// for the open file (as a compile finds it), below it the files it pulls in
// with \include and \input, and theirs in turn.
//
// On each line the "\include{...}" commands are taken first, then the
// "\input{...}" ones of what is left after the last "}" the first pass
// consumed, each argument cut at the first "}" after its command (so an
// \input that stands before an \include on one line gets no node).
// Commented lines count. An argument names a file as the typesetter reads
// it: from the root's folder, the name with ".tex" added, then the name as
// written (so "part.tex" is part.tex); failing that, from the including
// file's folder. The argument is Shift-JIS; a name that is not on disk in
// those bytes is looked for decoded, so \include{第1章} finds 第1章.tex.
//
// A file already on the path from the root to it is listed but not read
// again, so a file that includes itself, directly or round a cycle, ends
// the descent there.
struct IncludeNode {
    std::string Text;  // the path from the root's folder ("ch1.tex", "chapters/ch2.tex")
    std::string Path;  // the file, as the folder resolves it
    int Parent = -1;   // index of the node above; -1 for the root
    int Depth = 0;
    bool Repeated = false;  // already on the path above: not descended into
    bool Missing = false;   // no such file (a chapter not written yet): listed, not read
};

struct IncludeTree {
    std::vector<IncludeNode> Nodes;  // depth first, in line order; empty when no root was found
    // When a file could not be read: which, and why (empty when all were
    // read). The tree holds the nodes made up to then, the unreadable
    // file's included.
    std::string ErrorPath;
    std::string ErrorReason;
};

// The include arguments of one line, in the order the tree lists them.
std::vector<std::string> FileTreeArguments(std::string_view line);

// The tree for the open file `current` (a path inside `folder`). onCycle is
// called for each cycle the root search meets. At most kMaxIncludeNodes nodes are
// made: a document that includes one file many times over stops there.
constexpr int kMaxIncludeNodes = 10000;
IncludeTree BuildFileTree(TexFolder& folder, const std::string& current, std::function<void()> onCycle);
