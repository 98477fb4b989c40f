#pragma once

// The colouring parser as the row store drives it. Until one is attached,
// rows stay marked not yet parsed and painting parses them on demand.
class RowParser {
public:
    virtual ~RowParser() = default;
    // Re-parses from `row` until the stored states agree again; returns the
    // number of rows re-parsed.
    virtual int ReparseFrom(int row) = 0;
    virtual void ReparseAll() = 0;
};
