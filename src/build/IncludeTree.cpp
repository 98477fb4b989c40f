#include "build/IncludeTree.h"

#include <exception>
#include <map>

#include "build/CompileRootSearch.h"
#include "build/TexFolder.h"
#include "build/TexPath.h"
#include "editor/core/EFileError.h"
#include "editor/core/ShiftJis.h"
#include "editor/core/ShiftJisCodec.h"
#include "editor/core/TextLines.h"

namespace {

constexpr std::string_view kInclude = "\\include{";
constexpr std::string_view kInput = "\\input{";

// The first character-aligned occurrence of `what` in `s` from `from`.
std::size_t FindText(std::string_view s, std::string_view what, std::size_t from)
{
    for (std::size_t i = from; i < s.size(); i += CharLength(s, i))
        if (s.compare(i, what.size(), what) == 0)
            return i;
    return std::string_view::npos;
}

// One pass of the plain loop over `s` for `command`: while `s` holds
// both the command and a "}", an argument when the command comes first,
// then everything up to that "}" goes. Returns what is left.
std::string_view TakeArguments(std::string_view s, std::string_view command, std::vector<std::string>& out)
{
    for (;;) {
        const std::size_t p = FindText(s, command, 0);
        const std::size_t q = FindText(s, "}", 0);
        if (p == std::string_view::npos || q == std::string_view::npos)
            return s;
        if (p < q)
            out.emplace_back(s.substr(p + command.size(), q - p - command.size()));
        s.remove_prefix(q + 1);
    }
}

class TreeBuilder {
public:
    TreeBuilder(TexFolder& folder, std::string rootFolder) : folder_(folder), rootFolder_(std::move(rootFolder)) {}

    IncludeTree tree;

    void Add(const std::string& text, const std::string& path, int parent)
    {
        IncludeNode node;
        node.Text = text;
        node.Path = path;
        node.Parent = parent;
        node.Depth = parent < 0 ? 0 : tree.Nodes[static_cast<std::size_t>(parent)].Depth + 1;
        const std::string key = TexPath::Normalize(TexPath::Join(folder_.Path(), path));
        for (int a = parent; a >= 0; a = tree.Nodes[static_cast<std::size_t>(a)].Parent)
            if (TexPath::Normalize(TexPath::Join(folder_.Path(), tree.Nodes[static_cast<std::size_t>(a)].Path)) == key)
                node.Repeated = true;
        const int index = static_cast<int>(tree.Nodes.size());
        tree.Nodes.push_back(std::move(node));
        if (tree.Nodes.back().Repeated)
            return;
        // A file that is not there yet is no read error: the typesetter
        // reports it when it runs. One that is there but unreadable is.
        if (parent >= 0 && !folder_.IsFile(path)) {
            tree.Nodes.back().Missing = true;
            return;
        }
        const std::string& bytes = Read(path);
        std::vector<std::string> arguments;
        TextLines::ForEach(bytes, [&](std::string_view line) {
            for (std::string& a : FileTreeArguments(line))
                arguments.push_back(std::move(a));
        });
        for (const std::string& argument : arguments) {
            if (static_cast<int>(tree.Nodes.size()) >= kMaxIncludeNodes)
                return;
            const std::string childText = Resolve(argument, tree.Nodes[static_cast<std::size_t>(index)].Text);
            Add(childText, TexPath::Join(rootFolder_, childText), index);
        }
    }

private:
    const std::string& Read(const std::string& path)
    {
        auto found = texts_.find(path);
        if (found == texts_.end())
            found = texts_.emplace(path, folder_.ReadFile(path)).first;
        return found->second;
    }

    bool Exists(const std::string& relative) { return folder_.IsFile(TexPath::Join(rootFolder_, relative)); }

    // The path from the root's folder of the file `argument` names, read
    // in `includer` (itself a path from the root's folder).
    std::string Resolve(const std::string& argument, const std::string& includer)
    {
        std::vector<std::string> spellings{argument};
        const std::string decoded = ShiftJisCodec::DecodeToUtf8(argument);
        if (decoded != argument)
            spellings.push_back(decoded);
        std::vector<std::string> folders{std::string()};
        const std::string includerFolder = TexPath::FolderOf(includer);
        if (!includerFolder.empty())
            folders.push_back(includerFolder);
        for (const std::string& from : folders)
            for (const std::string& name : spellings)
                for (const std::string& candidate : {name + ".tex", name}) {
                    const std::string relative = TexPath::Normalize(TexPath::Join(from, candidate));
                    if (!relative.empty() && Exists(relative))
                        return relative;
                }
        // Not on disk: the name the typesetter would look for first.
        return TexPath::Normalize(TexPath::EndsWithTex(argument) ? argument : argument + ".tex");
    }

    TexFolder& folder_;
    std::string rootFolder_;
    std::map<std::string, std::string> texts_;
};

}  // namespace

std::vector<std::string> FileTreeArguments(std::string_view line)
{
    std::vector<std::string> arguments;
    const std::string_view rest = TakeArguments(line, kInclude, arguments);
    TakeArguments(rest, kInput, arguments);
    return arguments;
}

IncludeTree BuildFileTree(TexFolder& folder, const std::string& current, std::function<void()> onCycle)
{
    if (current.empty())
        return {};
    CompileRootSearch search(folder, std::move(onCycle));
    std::string root;
    try {
        root = search.FindCompileRoot(current);
    } catch (const EFileError& error) {
        IncludeTree tree;
        tree.ErrorPath = error.Path;
        tree.ErrorReason = error.Reason;
        return tree;
    }
    if (root.empty())
        return {};
    TreeBuilder builder(folder, TexPath::FolderOf(root));
    try {
        builder.Add(std::string(TexPath::FileNamePart(root)), root, -1);
    } catch (const EFileError& error) {
        builder.tree.ErrorPath = error.Path;
        builder.tree.ErrorReason = error.Reason;
    }
    return std::move(builder.tree);
}
