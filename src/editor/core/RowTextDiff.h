#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "editor/core/TRowAttributeStringList.h"

// The text of a range of rows as the undo records see it: each row's bytes,
// with CR LF after each line-break row, held as views into the rows.
class RowRangeText {
public:
    RowRangeText(const TRowAttributeStringList& rows, int first, int count);
    std::size_t Size() const { return size_; }
    const std::vector<std::string_view>& Pieces() const { return pieces_; }
    // Appends bytes [from, to) to `out`.
    void AppendBytes(std::size_t from, std::size_t to, std::string& out) const;

private:
    std::vector<std::string_view> pieces_;
    std::size_t size_ = 0;
};

// How an old text became a new one: they share Prefix bytes at the start and
// Suffix bytes at the end (Prefix + Suffix fits in both), and Old holds the
// old bytes between them.
struct TextChangeSpan {
    std::size_t Prefix = 0;
    std::size_t Suffix = 0;
    std::string Old;
};

TextChangeSpan ChangeSpan(const RowRangeText& oldText, const RowRangeText& newText);

// The old text back from the new one and the span.
std::string RestoredText(const RowRangeText& newText, std::size_t prefix, std::string_view old, std::size_t suffix);
