// Word wrap in the row store: breaking text into rows, re-breaking the whole
// document when wrap is switched on or its options change, and joining the
// rows back into lines when it is switched off.

#include <algorithm>
#include <cstring>

#include "editor/core/TEditorScreenStrings.h"

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
// `wrap`, else one row per line. The text is gathered into one new block the
// rows point into; marks follow their rows as far as the rows go.
void TEditorScreenStrings::RebuildRows(bool wrap)
{
    const int count = GetCount();
    if (count == 0)
        return;
    const uint8_t finalAttribute = GetRowAttribute(count - 1);

    size_t total = 0;
    for (int r = 0; r < count; ++r)
        total += RowLength(r);
    std::shared_ptr<char[]> block(new char[total + 1]);

    // First pass: gather each line and count its new rows, so the new row
    // array is allocated once.
    struct Line {
        int firstOld;
        int oldRows;
        uint32_t firstNew;
        uint32_t newRows;
        size_t offset;
    };
    std::vector<Line> lines;
    lines.reserve(static_cast<size_t>(LineCount()));
    std::vector<uint32_t> lengths;
    const LineBreakParams params{&wrapOption_, tabSpaceCount_};
    size_t offset = 0;
    for (int r = 0; r < count;) {
        const int end = LineEndRow(r);
        const size_t start = offset;
        for (int k = r; k <= end; ++k) {
            std::string_view v = RowView(k);
            if (!v.empty())
                std::memcpy(block.get() + offset, v.data(), v.size());
            offset += v.size();
        }
        std::string_view line(block.get() + start, offset - start);
        const size_t before = lengths.size();
        if (wrap)
            BreakLine(line, params, lengths);
        else
            lengths.push_back(static_cast<uint32_t>(line.size()));
        lines.push_back({r, end - r + 1, static_cast<uint32_t>(before), static_cast<uint32_t>(lengths.size() - before), start});
        r = end + 1;
    }

    // Second pass: the new rows, with the old rows' marks.
    std::vector<TheStringItem> items(lengths.size(), TheStringItem{});
    for (const Line& line : lines) {
        size_t at = line.offset;
        for (uint32_t k = 0; k < line.newRows; ++k) {
            TheStringItem& item = items[line.firstNew + k];
            const uint32_t len = lengths[line.firstNew + k];
            item.Data = len ? block.get() + at : nullptr;
            item.Length = len ? (len | TheStringItem::SharedBit) : 0;
            item.AttrWord = (k + 1 < line.newRows) ? raWrapped : raLineBreak;
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
    TheStringItem& last = items.back();
    last.AttrWord = finalAttribute == raWrapped ? static_cast<uint32_t>(raEndOfText) : finalAttribute;
    ReplaceAllRows(std::move(items), std::move(block));
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
