#pragma once
#include "editor/core/TEditorScreenStrings.h"
#include "tex/TextLineSource.h"

// The logical lines of the editor's row store. Without word wrap a line is
// one row and is read in place; with it, the rows of one line are joined.
// Walking the lines in order (forward or backward) costs a few row steps
// per line, never a search of the row index. Make one for each question:
// it remembers where it last stood, so the text must not change under it.
class EditorLineSource : public TextLineSource {
public:
    explicit EditorLineSource(const TEditorScreenStrings& store) : store_(store) {}
    int LineCount() const override { return store_.LineCount(); }
    std::string_view Line(int index, std::string& scratch) const override;

private:
    // Finds the rows of line `index`, stepping from the line looked at last
    // when it is a neighbour.
    void Locate(int index) const;

    const TEditorScreenStrings& store_;
    mutable int line_ = -1;
    mutable int first_ = 0;  // first and last row of line_
    mutable int last_ = -1;
};
