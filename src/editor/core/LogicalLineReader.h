#pragma once
#include <string>
#include <string_view>

class TEditorScreenStrings;

// Reads the document's logical lines straight from the row store, without a
// copy of the document: a line held in one row is a view of that row; only
// a line that word wrap split over several rows is joined, into a buffer the
// reader keeps. Walking the lines in order, forward or backward, finds each
// line's rows in constant time; a jump costs what LineToRow costs.
//
// A view stays valid until the next call of Line or until the document
// changes. After a change the reader must be Reset (or made anew): it walks
// on from the rows it found last.
class LogicalLineReader {
public:
    explicit LogicalLineReader(const TEditorScreenStrings& store) : store_(store) {}

    int Count() const;
    // The bytes of logical line `line`; empty out of range.
    std::string_view Line(int line);
    // The first row of the line last read (-1 before any).
    int LineRow() const { return line_ >= 0 ? firstRow_ : -1; }
    // Forgets the position, for use after the document changed.
    void Reset() { line_ = -1; }

private:
    // Rows [first, last] of `line`; false out of range.
    bool Locate(int line);

    const TEditorScreenStrings& store_;
    int line_ = -1;
    int firstRow_ = 0;
    int lastRow_ = -1;
    std::string joined_;
};
