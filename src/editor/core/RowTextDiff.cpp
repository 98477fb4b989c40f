#include "editor/core/RowTextDiff.h"

#include <algorithm>
#include <cstring>

RowRangeText::RowRangeText(const TRowAttributeStringList& rows, int first, int count)
{
    pieces_.reserve(static_cast<std::size_t>(std::max(0, count)) * 2);
    for (int r = first; r < first + count; ++r) {
        const std::string_view text = rows.RowView(r);
        if (!text.empty())
            pieces_.push_back(text);
        if (rows.GetRowAttribute(r) == raLineBreak)
            pieces_.push_back(std::string_view("\r\n"));
        size_ += text.size() + (rows.GetRowAttribute(r) == raLineBreak ? 2 : 0);
    }
}

void RowRangeText::AppendBytes(std::size_t from, std::size_t to, std::string& out) const
{
    std::size_t at = 0;
    for (const std::string_view piece : pieces_) {
        if (at >= to)
            break;
        const std::size_t end = at + piece.size();
        if (end > from) {
            const std::size_t b = std::max(from, at) - at;
            const std::size_t e = std::min(to, end) - at;
            out.append(piece.substr(b, e - b));
        }
        at = end;
    }
}

namespace {

// Bytes at which two equally long blocks first differ; n when they do not.
std::size_t Mismatch(const char* a, const char* b, std::size_t n)
{
    constexpr std::size_t Block = 4096;
    std::size_t i = 0;
    while (i + Block <= n && std::memcmp(a + i, b + i, Block) == 0)
        i += Block;
    while (i < n && a[i] == b[i])
        ++i;
    return i;
}

// The same from the blocks' ends backwards: how many final bytes agree.
std::size_t MismatchFromEnd(const char* aEnd, const char* bEnd, std::size_t n)
{
    constexpr std::size_t Block = 4096;
    std::size_t i = 0;
    while (i + Block <= n && std::memcmp(aEnd - i - Block, bEnd - i - Block, Block) == 0)
        i += Block;
    while (i < n && aEnd[-1 - static_cast<std::ptrdiff_t>(i)] == bEnd[-1 - static_cast<std::ptrdiff_t>(i)])
        ++i;
    return i;
}

std::size_t CommonPrefix(const std::vector<std::string_view>& a, const std::vector<std::string_view>& b,
                         std::size_t limit)
{
    std::size_t n = 0;
    std::size_t ia = 0, oa = 0, ib = 0, ob = 0;
    while (n < limit && ia < a.size() && ib < b.size()) {
        const std::size_t len = std::min({a[ia].size() - oa, b[ib].size() - ob, limit - n});
        const std::size_t same = Mismatch(a[ia].data() + oa, b[ib].data() + ob, len);
        n += same;
        if (same < len)
            break;
        oa += same;
        ob += same;
        if (oa == a[ia].size()) {
            ++ia;
            oa = 0;
        }
        if (ob == b[ib].size()) {
            ++ib;
            ob = 0;
        }
    }
    return n;
}

std::size_t CommonSuffix(const std::vector<std::string_view>& a, const std::vector<std::string_view>& b,
                         std::size_t limit)
{
    std::size_t n = 0;
    // Pieces counted from the end, and bytes already taken from their ends.
    std::size_t ia = a.size(), oa = 0, ib = b.size(), ob = 0;
    while (n < limit && ia > 0 && ib > 0) {
        const std::string_view pa = a[ia - 1];
        const std::string_view pb = b[ib - 1];
        const std::size_t len = std::min({pa.size() - oa, pb.size() - ob, limit - n});
        const std::size_t same = MismatchFromEnd(pa.data() + pa.size() - oa, pb.data() + pb.size() - ob, len);
        n += same;
        if (same < len)
            break;
        oa += same;
        ob += same;
        if (oa == pa.size()) {
            --ia;
            oa = 0;
        }
        if (ob == pb.size()) {
            --ib;
            ob = 0;
        }
    }
    return n;
}

}  // namespace

TextChangeSpan ChangeSpan(const RowRangeText& oldText, const RowRangeText& newText)
{
    TextChangeSpan span;
    const std::size_t shorter = std::min(oldText.Size(), newText.Size());
    span.Prefix = CommonPrefix(oldText.Pieces(), newText.Pieces(), shorter);
    span.Suffix = CommonSuffix(oldText.Pieces(), newText.Pieces(), shorter - span.Prefix);
    oldText.AppendBytes(span.Prefix, oldText.Size() - span.Suffix, span.Old);
    return span;
}

std::string RestoredText(const RowRangeText& newText, std::size_t prefix, std::string_view old, std::size_t suffix)
{
    std::string text;
    text.reserve(prefix + old.size() + suffix);
    newText.AppendBytes(0, prefix, text);
    text.append(old);
    newText.AppendBytes(newText.Size() - suffix, newText.Size(), text);
    return text;
}
