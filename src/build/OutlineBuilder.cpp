#include "build/OutlineBuilder.h"

#include <algorithm>

#include "editor/core/ShiftJisScan.h"
#include "editor/core/TEditorScreenStrings.h"

namespace {

struct Command {
    std::string_view text;  // after the backslash
    int level;              // 0 for \label
};

constexpr Command kCommands[] = {
    {"label{", 0}, {"chapter{", 1}, {"section{", 2}, {"subsection{", 3}, {"subsubsection{", 4},
};
constexpr int kCommandCount = 5;
constexpr std::size_t kNone = std::string_view::npos;

}  // namespace

int HeadingParents::Add(int level, int index)
{
    // The nearest heading above with a smaller level is the latest of the
    // levels above this one.
    int parent = -1;
    for (int l = 1; l < level && l <= 4; ++l)
        parent = std::max(parent, lastOfLevel_[l]);
    if (level >= 1 && level <= 4)
        lastOfLevel_[level] = index;
    return parent;
}

bool OutlineEntries::SameLabels(const OutlineEntries& other) const
{
    if (Labels.size() != other.Labels.size())
        return false;
    for (std::size_t i = 0; i < Labels.size(); ++i)
        if (Labels[i].Text != other.Labels[i].Text)
            return false;
    return true;
}

bool OutlineEntries::SameHeadings(const OutlineEntries& other) const
{
    if (Headings.size() != other.Headings.size())
        return false;
    for (std::size_t i = 0; i < Headings.size(); ++i) {
        const OutlineHeading& a = Headings[i];
        const OutlineHeading& b = other.Headings[i];
        if (a.Level != b.Level || a.Parent != b.Parent || a.Title != b.Title)
            return false;
    }
    return true;
}

void ScanOutlineLine(std::string_view line, int lineIndex, std::vector<OutlineLabel>* labels,
                     std::vector<OutlineHeading>* headings)
{
    // Where the text of each command's first occurrence since the last "}"
    // begins.
    std::size_t starts[kCommandCount] = {kNone, kNone, kNone, kNone, kNone};
    bool pending = false;
    const std::size_t n = line.size();
    const char* p = line.data();
    for (std::size_t i = 0; (i = FindAnyOf(p, i, n, '\\', '}', '\\')) < n; ++i) {
        if (IsSecondByteBefore(line, i))
            continue;
        if (p[i] == '\\') {
            const std::string_view rest = line.substr(i + 1);
            for (int c = 0; c < kCommandCount; ++c) {
                if (starts[c] == kNone && rest.starts_with(kCommands[c].text)) {
                    starts[c] = i + 1 + kCommands[c].text.size();
                    pending = true;
                    break;
                }
            }
        } else if (pending) {
            if (labels && starts[0] != kNone)
                labels->push_back(OutlineLabel{lineIndex, std::string(line.substr(starts[0], i - starts[0]))});
            for (int c = 1; c < kCommandCount; ++c) {
                if (headings && starts[c] != kNone && starts[c] < i)
                    headings->push_back(
                        OutlineHeading{lineIndex, kCommands[c].level, -1, std::string(line.substr(starts[c], i - starts[c]))});
            }
            for (std::size_t& s : starts)
                s = kNone;
            pending = false;
        }
    }
}

int FindParentHeading(const std::vector<OutlineHeading>& headings, int level, int count)
{
    if (count <= 0)
        return -1;
    for (int k = std::min(count, static_cast<int>(headings.size()) - 1); k >= 0; --k)
        if (headings[static_cast<std::size_t>(k)].Level < level)
            return k;
    return -1;
}

OutlineBuilder::OutlineBuilder(const TEditorScreenStrings& store) : reader_(store), count_(reader_.Count()) {}

void OutlineBuilder::AddLine(std::string_view line, int index)
{
    found_.clear();
    ScanOutlineLine(line, index, &outline_.Labels, &found_);
    for (OutlineHeading& h : found_) {
        h.Parent = parents_.Add(h.Level, static_cast<int>(outline_.Headings.size()));
        outline_.Headings.push_back(std::move(h));
    }
}

bool OutlineBuilder::Step(std::size_t bytes)
{
    std::size_t read = 0;
    reader_.Reset();
    while (next_ < count_ && read < bytes) {
        const std::string_view line = reader_.Line(next_);
        AddLine(line, next_);
        read += line.size() + 2;
        ++next_;
    }
    return Done();
}

std::vector<OutlineLabel> BuildLabelList(const TEditorScreenStrings& store)
{
    std::vector<OutlineLabel> labels;
    LogicalLineReader reader(store);
    for (int line = 0, count = reader.Count(); line < count; ++line)
        ScanOutlineLine(reader.Line(line), line, &labels, nullptr);
    return labels;
}

std::vector<OutlineHeading> BuildSectionTree(const TEditorScreenStrings& store)
{
    std::vector<OutlineHeading> headings;
    HeadingParents parents;
    LogicalLineReader reader(store);
    for (int line = 0, count = reader.Count(); line < count; ++line) {
        const std::size_t first = headings.size();
        ScanOutlineLine(reader.Line(line), line, nullptr, &headings);
        for (std::size_t i = first; i < headings.size(); ++i)
            headings[i].Parent = parents.Add(headings[i].Level, static_cast<int>(i));
    }
    return headings;
}
