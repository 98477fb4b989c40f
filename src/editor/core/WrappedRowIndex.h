#pragma once
#include <vector>

// Where the index reads the rows' wrapped flags from. The row list answers
// for ranges so that the index never copies the flags.
class WrappedRowSource {
public:
    virtual ~WrappedRowSource() = default;
    // Number of wrapped rows in [first, end).
    virtual int CountWrappedRows(int first, int end) const = 0;
    // The row of the n-th (0-based) row in [first, end) that is not wrapped,
    // or end when there are fewer.
    virtual int FindUnwrappedRow(int first, int end, int n) const = 0;
};

// Counts wrapped rows before any row, and finds the n-th row that ends a
// logical line, without a pass over the document. Rows are grouped in chunks
// of a few hundred; two Fenwick trees over the chunks hold their row counts
// and wrapped-row counts, so a query costs O(log n) plus a scan of at most
// one chunk, and an edit costs O(log n) unless a chunk is split or emptied.
class WrappedRowIndex {
public:
    explicit WrappedRowIndex(const WrappedRowSource& source) : source_(source) {}

    // Rebuilds the whole index from the source, which holds `rows` rows.
    void Reset(int rows);
    // `count` rows that are not wrapped were inserted at `at` (the source
    // already holds them).
    void RowsInserted(int at, int count);
    // Rows [at, at+count) are about to be removed (the source still holds them).
    void RowsRemoving(int at, int count);
    // Row `row` has become wrapped or unwrapped.
    void WrappedChanged(int row, bool wrapped);

    int RowCount() const { return totalRows_; }
    int WrappedCount() const { return totalWrapped_; }
    // Number of wrapped rows in [0, row).
    int WrappedBefore(int row) const;
    // The row of the n-th (0-based) unwrapped row; RowCount() when there are fewer.
    int NthUnwrappedRow(int n) const;

    static constexpr int ChunkTarget = 256;
    static constexpr int ChunkMax = 1024;

private:
    struct Located {
        int chunk;
        int start;
    };
    Located LocateRow(int row) const;
    void RebuildTrees();
    void Add(std::vector<int>& tree, int chunk, int delta);
    static int Prefix(const std::vector<int>& tree, int chunks);
    void SplitChunk(int chunk, int start);

    const WrappedRowSource& source_;
    std::vector<int> rows_;     // rows per chunk
    std::vector<int> wrapped_;  // wrapped rows per chunk
    std::vector<int> rowTree_;  // Fenwick trees over the two, 1-based
    std::vector<int> wrapTree_;
    int totalRows_ = 0;
    int totalWrapped_ = 0;
};
