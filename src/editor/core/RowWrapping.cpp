// Word wrap in the row store: breaking text into rows, re-breaking the whole
// document when wrap is switched on or its options change, and joining the
// rows back into lines when it is switched off.

#include <algorithm>
#include <cstring>

#include "editor/core/TEditorScreenStrings.h"

#include "editor/core/LargeAllocation.h"
#include "editor/core/LineBreaker.h"
#include "editor/core/TextLines.h"

namespace {

uint32_t PackMarks(uint16_t marks) { return static_cast<uint32_t>(marks) << 16; }

}  // namespace

void TEditorScreenStrings::WrapText(std::optional<std::string_view> text, TEditorStringList& rows) const
{
    rows.RemoveRows(0, rows.GetCount());
    if (!text) {
        rows.InsertEmptyRows(0, 1);
        return;
    }
    if (!wordWrap_) {
        int n = 0;
        TextLines::ForEach(*text, [&](std::string_view) { ++n; });
        rows.InsertEmptyRows(0, n);
        int i = 0;
        TextLines::ForEach(*text, [&](std::string_view line) { rows.PutView(i++, line); });
        return;
    }
    const LineBreakParams params{&wrapOption_, tabSpaceCount_};
    std::vector<uint32_t> lengths;
    TextLines::ForEach(*text, [&](std::string_view line) {
        lengths.clear();
        BreakLine(line, params, lengths);
        int at = rows.GetCount();
        rows.InsertEmptyRows(at, static_cast<int>(lengths.size()));
        size_t offset = 0;
        for (size_t k = 0; k < lengths.size(); ++k) {
            rows.PutView(at + static_cast<int>(k), line.substr(offset, lengths[k]));
            offset += lengths[k];
            if (k + 1 < lengths.size())
                rows.SetRowAttribute(at + static_cast<int>(k), raWrapped);
        }
    });
}

int TEditorScreenStrings::WrapRowCount(std::string_view line) const
{
    const LineBreakParams params{&wrapOption_, tabSpaceCount_};
    return ::WrapRowCount(line, params);
}

// Rebuilds every row from the logical lines: broken by the wrap rules when
// `wrap`, else one row per line. A line whose rows lie one after another in a
// shared text block (as after loading) is used where it lies; the others are
// gathered into one new block. Marks follow their rows as far as the rows go.
void TEditorScreenStrings::RebuildRows(bool wrap)
{
    const int count = GetCount();
    if (count == 0)
        return;
    const uint8_t finalAttribute = GetRowAttribute(count - 1);

    // A line is rows first..end; rows before a line's last are wrapped.
    auto lineEnd = [&](int first) {
        int end = first;
        while (end < count - 1 && (Item(end).AttrWord & 3) == raWrapped)
            ++end;
        return end;
    };
    auto inPlace = [&](int first, int end) {
        const char* next = nullptr;
        for (int k = first; k <= end; ++k) {
            const TheStringItem& item = Item(k);
            if (item.Size() == 0)
                continue;
            if (!item.Shared() || (next && item.Data != next))
                return false;
            next = item.Data + item.Size();
        }
        return true;
    };

    // First pass: the bytes that need a new home.
    size_t toCopy = 0;
    for (int r = 0; r < count;) {
        const int end = lineEnd(r);
        if (!inPlace(r, end))
            for (int k = r; k <= end; ++k)
                toCopy += RowLength(k);
        r = end + 1;
    }
    std::shared_ptr<char[]> block = toCopy ? AllocateTextBlock(toCopy) : nullptr;

    // Second pass: each line's text and its new row lengths, so the new row
    // array is allocated once.
    struct Line {
        int firstOld;
        int oldRows;
        uint32_t firstNew;
        uint32_t newRows;
        const char* data;
    };
    std::vector<Line> lines;
    lines.reserve(static_cast<size_t>(LineCount()));
    std::vector<uint32_t> lengths;
    lengths.reserve(static_cast<size_t>(count) + static_cast<size_t>(count) / 8);
    const LineBreakParams params{&wrapOption_, tabSpaceCount_};
    size_t copied = 0;
    for (int r = 0; r < count;) {
        const int end = lineEnd(r);
        const char* data = nullptr;
        size_t size = 0;
        if (inPlace(r, end)) {
            for (int k = r; k <= end; ++k) {
                const TheStringItem& item = Item(k);
                if (!data && item.Size())
                    data = item.Data;
                size += item.Size();
            }
        } else {
            data = block.get() + copied;
            for (int k = r; k <= end; ++k) {
                std::string_view v = RowView(k);
                if (!v.empty())
                    std::memcpy(block.get() + copied, v.data(), v.size());
                copied += v.size();
            }
            size = static_cast<size_t>(block.get() + copied - data);
        }
        const std::string_view line(data ? data : "", size);
        const size_t before = lengths.size();
        if (wrap)
            BreakLine(line, params, lengths);
        else
            lengths.push_back(static_cast<uint32_t>(line.size()));
        lines.push_back({r, end - r + 1, static_cast<uint32_t>(before), static_cast<uint32_t>(lengths.size() - before),
                         data});
        r = end + 1;
    }

    // The new rows, with room for the edits to come.
    const size_t newCount = lengths.size();
    const size_t capacity = newCount + newCount / 8 + 16;
    auto* items = static_cast<TheStringItem*>(AllocateLarge(sizeof(TheStringItem) * capacity));
    for (const Line& line : lines) {
        const char* at = line.data;
        for (uint32_t k = 0; k < line.newRows; ++k) {
            TheStringItem& item = items[line.firstNew + k];
            const uint32_t len = lengths[line.firstNew + k];
            item = TheStringItem{};
            item.Data = len ? at : nullptr;
            item.Length = len ? (len | TheStringItem::SharedBit) : 0;
            item.AttrWord = (k + 1 < line.newRows) ? raWrapped : raLineBreak;
            if (len)
                at += len;
        }
        for (int k = 0; k < line.oldRows; ++k) {
            const uint16_t marks = GetRowMarks(line.firstOld + k);
            if (!marks)
                continue;
            const uint32_t target = std::min<uint32_t>(static_cast<uint32_t>(k), line.newRows - 1);
            items[line.firstNew + target].StateWord |= PackMarks(marks);
        }
    }
    TheStringItem& last = items[newCount - 1];
    last.AttrWord = finalAttribute == raWrapped ? static_cast<uint32_t>(raEndOfText) : finalAttribute;
    AdoptRows(items, static_cast<int>(newCount), static_cast<int>(capacity), std::move(block));
}

void TEditorScreenStrings::WrapAll()
{
    if (GetCount() == 0)
        return;
    RewrapDocument(true);
}

void TEditorScreenStrings::UnwrapAll()
{
    if (GetCount() == 0)
        return;
    RewrapDocument(false);
}

void TEditorScreenStrings::RewrapDocument(bool wrap)
{
    const std::vector<AttachedEditor*> editors = editors_;
    for (AttachedEditor* e : editors)
        e->ClearSelection();
    // One notification at the end of the block, none for the rebuild itself.
    TUpdateBlock block(*this);
    RebuildRows(wrap);
}

void TEditorScreenStrings::SetTabSpaceCount(int n)
{
    n = n < 1 ? 1 : n;
    if (n == tabSpaceCount_)
        return;
    tabSpaceCount_ = n;
    if (wordWrap_)
        WrapChanged();
}

void TEditorScreenStrings::SetWordWrap(bool value)
{
    if (value == wordWrap_)
        return;
    wordWrap_ = value;
    WrapChanged();
}

void TEditorScreenStrings::WrapChanged()
{
    undo_->Clear();
    {
        TUpdateBlock block(*this);
        if (wordWrap_)
            WrapAll();
        else
            UnwrapAll();
        ReparseAll();
    }
    const int maxRow = MaxCaretRow();
    const std::vector<AttachedEditor*> editors = editors_;
    for (AttachedEditor* e : editors) {
        e->RowsRewrapped();
        e->ClampRows(maxRow);
    }
}
