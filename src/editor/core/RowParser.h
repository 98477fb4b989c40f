#pragma once

// The colouring parser as the row store drives it. Until one is attached,
// rows stay marked not yet parsed and painting parses them on demand.
class RowParser {
public:
    virtual ~RowParser() = default;
    // Re-parses from `row` until the stored states agree again; returns the
    // number of rows re-parsed. The change put `newRows` rows in at `row`
    // (they may be marked not yet parsed); below them, the first row not yet
    // parsed ends the parsed part of the document.
    virtual int ReparseFrom(int row, int newRows) = 0;
    virtual void ReparseAll() = 0;
};
