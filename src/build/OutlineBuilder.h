#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "editor/core/LogicalLineReader.h"

class TEditorScreenStrings;

// The document's outline as the side panel shows it: its \label commands and
// its chapter and section headings, read from the text in the editor.
//
// Matching rules, for every line (commented lines included): the text is
// cut at each "}"; between one "}" and the next, the first "\label{" gives a
// label and the first of each of "\chapter{", "\section{", "\subsection{"
// and "\subsubsection{" gives a heading of level 1 to 4, whose text is what
// lies between the command and that "}". A heading with an empty title is
// left out; an empty label is kept. Commands compare case-sensitively, so a
// starred heading ("\section*{") or one with an optional argument is not a
// heading. Lines are read character by character: the second byte of a
// double-byte character is never a backslash or a brace. Headings found in
// the same piece of a line come in level order.
struct OutlineLabel {
    int Line = 0;  // logical line, 0-based
    std::string Text;  // Shift-JIS bytes
    bool operator==(const OutlineLabel&) const = default;
};

struct OutlineHeading {
    int Line = 0;
    int Level = 1;    // 1 chapter, 2 section, 3 subsection, 4 subsubsection
    int Parent = -1;  // index of the heading it stands under; -1 at the top
    std::string Title;
    bool operator==(const OutlineHeading&) const = default;
};

struct OutlineEntries {
    std::vector<OutlineLabel> Labels;
    std::vector<OutlineHeading> Headings;
    bool operator==(const OutlineEntries&) const = default;
    // Whether both hold the same labels (texts), or the same headings
    // (titles, levels and parents), whatever lines they stand on.
    bool SameLabels(const OutlineEntries& other) const;
    bool SameHeadings(const OutlineEntries& other) const;
};

// Appends the labels and headings of one line (Parent left at -1); either
// list may be null.
void ScanOutlineLine(std::string_view line, int lineIndex, std::vector<OutlineLabel>* labels,
                     std::vector<OutlineHeading>* headings);

// The heading a new heading of `level`, the count-th, stands under: the
// nearest one before it with a smaller level; -1 when there is none. It
// walks back through the headings; HeadingParents answers the same in
// constant time while headings are added in order.
int FindParentHeading(const std::vector<OutlineHeading>& headings, int level, int count);

class HeadingParents {
public:
    // The parent of heading `index` of `level`, which is added next.
    int Add(int level, int index);

private:
    // The last heading of each level 1..4 so far, -1 for none.
    int lastOfLevel_[5] = {-1, -1, -1, -1, -1};
};

std::vector<OutlineLabel> BuildLabelList(const TEditorScreenStrings& store);
std::vector<OutlineHeading> BuildSectionTree(const TEditorScreenStrings& store);

// Builds the outline a slice at a time, so that a large document never
// holds the program up for long: each Step reads on from the line where the
// last one stopped. The text must not change between the first step and
// the last (after a change, start a new builder); the rows may, as a change
// of word wrap leaves the lines as they were.
class OutlineBuilder {
public:
    explicit OutlineBuilder(const TEditorScreenStrings& store);

    // Reads whole lines until at least `bytes` bytes were read or the
    // document ends; returns Done().
    bool Step(std::size_t bytes);
    bool Done() const { return next_ >= count_; }
    int LinesRead() const { return next_; }
    // The outline so far; complete once Done().
    const OutlineEntries& Result() const { return outline_; }
    OutlineEntries TakeResult() { return std::move(outline_); }

private:
    void AddLine(std::string_view line, int index);

    LogicalLineReader reader_;
    int count_;
    int next_ = 0;
    OutlineEntries outline_;
    std::vector<OutlineHeading> found_;
    HeadingParents parents_;
};
