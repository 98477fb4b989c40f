#include "editor/core/WrappedRowIndex.h"

#include <algorithm>

void WrappedRowIndex::Reset(int rows)
{
    rows_.clear();
    wrapped_.clear();
    totalRows_ = rows;
    totalWrapped_ = 0;
    for (int start = 0; start < rows; start += ChunkTarget) {
        int end = std::min(rows, start + ChunkTarget);
        int w = source_.CountWrappedRows(start, end);
        rows_.push_back(end - start);
        wrapped_.push_back(w);
        totalWrapped_ += w;
    }
    RebuildTrees();
}

void WrappedRowIndex::RebuildTrees()
{
    const int n = static_cast<int>(rows_.size());
    rowTree_.assign(n + 1, 0);
    wrapTree_.assign(n + 1, 0);
    for (int i = 1; i <= n; ++i) {
        rowTree_[i] += rows_[i - 1];
        wrapTree_[i] += wrapped_[i - 1];
        int parent = i + (i & -i);
        if (parent <= n) {
            rowTree_[parent] += rowTree_[i];
            wrapTree_[parent] += wrapTree_[i];
        }
    }
}

void WrappedRowIndex::Add(std::vector<int>& tree, int chunk, int delta)
{
    const int n = static_cast<int>(tree.size()) - 1;
    for (int i = chunk + 1; i <= n; i += i & -i)
        tree[i] += delta;
}

int WrappedRowIndex::Prefix(const std::vector<int>& tree, int chunks)
{
    int sum = 0;
    for (int i = chunks; i > 0; i -= i & -i)
        sum += tree[i];
    return sum;
}

// The chunk holding `row`, and the row where that chunk starts. A row equal
// to the row count belongs to the last chunk.
WrappedRowIndex::Located WrappedRowIndex::LocateRow(int row) const
{
    const int n = static_cast<int>(rows_.size());
    if (n == 0)
        return {-1, 0};
    if (row >= totalRows_)
        return {n - 1, totalRows_ - rows_[n - 1]};
    int pos = 0;
    int sum = 0;
    int step = 1;
    while (step * 2 <= n)
        step *= 2;
    for (; step > 0; step /= 2) {
        int next = pos + step;
        if (next <= n && sum + rowTree_[next] <= row) {
            pos = next;
            sum += rowTree_[next];
        }
    }
    return {pos, sum};
}

void WrappedRowIndex::RowsInserted(int at, int count)
{
    if (count <= 0)
        return;
    if (rows_.empty()) {
        Reset(count);
        return;
    }
    Located loc = LocateRow(at);
    rows_[loc.chunk] += count;
    totalRows_ += count;
    if (rows_[loc.chunk] > ChunkMax)
        SplitChunk(loc.chunk, loc.start);
    else
        Add(rowTree_, loc.chunk, count);
}

void WrappedRowIndex::SplitChunk(int chunk, int start)
{
    const int total = rows_[chunk];
    std::vector<int> pieces;
    std::vector<int> pieceWrapped;
    for (int off = 0; off < total; off += ChunkTarget) {
        int len = std::min(ChunkTarget, total - off);
        pieces.push_back(len);
        pieceWrapped.push_back(source_.CountWrappedRows(start + off, start + off + len));
    }
    rows_.erase(rows_.begin() + chunk);
    wrapped_.erase(wrapped_.begin() + chunk);
    rows_.insert(rows_.begin() + chunk, pieces.begin(), pieces.end());
    wrapped_.insert(wrapped_.begin() + chunk, pieceWrapped.begin(), pieceWrapped.end());
    RebuildTrees();
}

void WrappedRowIndex::RowsRemoving(int at, int count)
{
    if (count <= 0 || rows_.empty())
        return;
    // Positions stay in the coordinates before the removal: the source
    // still holds the rows.
    Located loc = LocateRow(at);
    int chunk = loc.chunk;
    int chunkStart = loc.start;
    int pos = at;
    const int end = std::min(totalRows_, at + count);
    bool structural = false;
    while (pos < end && chunk < static_cast<int>(rows_.size())) {
        const int chunkEnd = chunkStart + rows_[chunk];
        const int take = std::min(end, chunkEnd) - pos;
        const int w = source_.CountWrappedRows(pos, pos + take);
        rows_[chunk] -= take;
        wrapped_[chunk] -= w;
        totalRows_ -= take;
        totalWrapped_ -= w;
        pos += take;
        chunkStart = chunkEnd;
        if (rows_[chunk] == 0) {
            rows_.erase(rows_.begin() + chunk);
            wrapped_.erase(wrapped_.begin() + chunk);
            structural = true;
        } else {
            if (!structural) {
                Add(rowTree_, chunk, -take);
                Add(wrapTree_, chunk, -w);
            }
            ++chunk;
        }
    }
    if (structural)
        RebuildTrees();
}

void WrappedRowIndex::WrappedChanged(int row, bool wrapped)
{
    if (row < 0 || row >= totalRows_)
        return;
    Located loc = LocateRow(row);
    int delta = wrapped ? 1 : -1;
    wrapped_[loc.chunk] += delta;
    totalWrapped_ += delta;
    Add(wrapTree_, loc.chunk, delta);
}

int WrappedRowIndex::WrappedBefore(int row) const
{
    if (row <= 0 || rows_.empty())
        return 0;
    if (row >= totalRows_)
        return totalWrapped_;
    Located loc = LocateRow(row);
    return Prefix(wrapTree_, loc.chunk) + source_.CountWrappedRows(loc.start, row);
}

int WrappedRowIndex::NthUnwrappedRow(int n) const
{
    if (n < 0)
        return 0;
    if (n >= totalRows_ - totalWrapped_)
        return totalRows_;
    const int chunks = static_cast<int>(rows_.size());
    // Descend both trees at once on the difference: unwrapped rows per chunk.
    int pos = 0;
    int unwrapped = 0;
    int rowsBefore = 0;
    int step = 1;
    while (step * 2 <= chunks)
        step *= 2;
    for (; step > 0; step /= 2) {
        int next = pos + step;
        if (next <= chunks) {
            int u = rowTree_[next] - wrapTree_[next];
            if (unwrapped + u <= n) {
                pos = next;
                unwrapped += u;
                rowsBefore += rowTree_[next];
            }
        }
    }
    // Chunk `pos` holds the wanted row.
    return source_.FindUnwrappedRow(rowsBefore, rowsBefore + rows_[pos], n - unwrapped);
}
