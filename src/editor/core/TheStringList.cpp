#include "editor/core/TheStringList.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>

#include "editor/core/EListError.h"
#include "editor/core/LargeAllocation.h"

namespace {

constexpr uint32_t RowAttributeMask = 3;
constexpr uint32_t WrappedAttribute = 1;

bool IsWrappedWord(uint32_t attrWord) { return (attrWord & RowAttributeMask) == WrappedAttribute; }

// A row's own text buffer, with its capacity in the bytes before the text.
constexpr std::size_t TextHeader = sizeof(std::size_t);

char* AllocateText(std::size_t capacity)
{
    char* block = new char[TextHeader + capacity];
    std::memcpy(block, &capacity, TextHeader);
    return block + TextHeader;
}

std::size_t TextCapacity(const char* data)
{
    std::size_t capacity;
    std::memcpy(&capacity, data - TextHeader, TextHeader);
    return capacity;
}

void FreeText(const char* data)
{
    if (data)
        delete[] (data - TextHeader);
}

}  // namespace

TheStringList::TheStringList() : index_(*this) {}

TheStringList::~TheStringList()
{
    OnChanging = nullptr;
    OnChange = nullptr;
    FreeAll();
    std::free(items_);
}

void TheStringList::ThrowIndexError() { throw EListError(); }

void TheStringList::FreeItem(TheStringItem& item)
{
    if (!item.Shared())
        FreeText(item.Data);
    delete item.Extra;
    item = TheStringItem{};
}

void TheStringList::DropExtraIfEmpty(TheStringItem& item)
{
    if (item.Extra && item.Extra->StateText.empty() && !item.Extra->ScanMarks) {
        delete item.Extra;
        item.Extra = nullptr;
    }
}

// Before a row's text is replaced: its own buffer goes, and so do the marks
// that describe the old text.
void TheStringList::ReleaseText(TheStringItem& item)
{
    if (!item.Shared())
        FreeText(item.Data);
    item.Data = nullptr;
    item.Length = 0;
    if (item.Extra) {
        item.Extra->ScanMarks.reset();
        DropExtraIfEmpty(item);
    }
}

void TheStringList::SetOwnedText(TheStringItem& item, std::string_view s)
{
    if (s.size() > MaxRowLength)
        throw std::length_error("row text too long");
    char* data = nullptr;
    if (!s.empty()) {
        data = AllocateText(s.size());
        std::memcpy(data, s.data(), s.size());
    }
    ReleaseText(item);
    item.Data = data;
    item.Length = static_cast<uint32_t>(s.size());
}

void TheStringList::SpliceText(int index, std::size_t from, std::size_t count, std::string_view text)
{
    TheStringItem& item = ItemRef(index);
    const std::size_t size = item.Size();
    if (from > size || count > size - from)
        throw EListError();
    const std::size_t newSize = size - count + text.size();
    if (newSize > MaxRowLength)
        throw std::length_error("row text too long");

    // The text may be part of this row: keep a copy of it while the row moves.
    std::string own;
    if (!text.empty() && item.Data && text.data() < item.Data + size && text.data() + text.size() > item.Data) {
        own.assign(text);
        text = own;
    }
    const std::size_t tail = size - from - count;
    if (!item.Shared() && item.Data && TextCapacity(item.Data) >= newSize) {
        char* data = const_cast<char*>(item.Data);
        std::memmove(data + from + text.size(), data + from + count, tail);
        if (!text.empty())
            std::memcpy(data + from, text.data(), text.size());
    } else if (newSize > 0) {
        // Room for more: the edits to a row come in runs.
        const std::size_t capacity = std::min<std::size_t>(MaxRowLength, newSize + newSize / 4 + 16);
        char* data = AllocateText(capacity);
        if (from)
            std::memcpy(data, item.Data, from);
        if (!text.empty())
            std::memcpy(data + from, text.data(), text.size());
        if (tail)
            std::memcpy(data + from + text.size(), item.Data + from + count, tail);
        if (!item.Shared())
            FreeText(item.Data);
        item.Data = data;
    }
    if (newSize == 0) {
        if (!item.Shared())
            FreeText(item.Data);
        item.Data = nullptr;
    }
    item.Length = static_cast<uint32_t>(newSize);
    if (item.Extra && item.Extra->ScanMarks) {
        // The marks describe a row without line breaks.
        if (text.find_first_of("\r\n") != std::string_view::npos) {
            item.Extra->ScanMarks.reset();
            DropExtraIfEmpty(item);
        } else {
            item.Extra->ScanMarks->Splice(from, count, text.size());
        }
    }
}

void TheStringList::FreeAll()
{
    const int n = GetCount();
    for (int i = 0; i < n; ++i)
        FreeItem(Raw(i));
    blocks_.clear();
}

void TheStringList::Changing()
{
    if (listUpdateCount_ == 0 && OnChanging)
        OnChanging();
}

void TheStringList::Changed()
{
    if (listUpdateCount_ == 0 && OnChange)
        OnChange();
}

void TheStringList::SetUpdateState(bool updating)
{
    if (updating) {
        Changing();
        ++listUpdateCount_;
    } else {
        if (listUpdateCount_ > 0)
            --listUpdateCount_;
        Changed();
    }
}

// --- the gap -------------------------------------------------------------

void TheStringList::Reallocate(int capacity)
{
    const int count = GetCount();
    auto* fresh = static_cast<TheStringItem*>(AllocateLarge(sizeof(TheStringItem) * static_cast<size_t>(capacity)));
    const int tail = count - gapStart_;
    if (gapStart_ > 0)
        std::memcpy(fresh, items_, sizeof(TheStringItem) * static_cast<size_t>(gapStart_));
    if (tail > 0)
        std::memcpy(fresh + (capacity - tail), items_ + (capacity_ - tail), sizeof(TheStringItem) * static_cast<size_t>(tail));
    std::free(items_);
    items_ = fresh;
    capacity_ = capacity;
    gapLength_ = capacity - count;
}

void TheStringList::Grow(int needed)
{
    // One step of the usual growth when that is enough; a bulk insert that
    // needs more gets exactly what it needs.
    int delta = capacity_ > 64 ? capacity_ / 4 : (capacity_ > 8 ? 16 : 4);
    int capacity = needed <= capacity_ + delta ? capacity_ + delta : needed;
    if (capacity != capacity_)
        Reallocate(capacity);
}

void TheStringList::MoveGap(int to)
{
    if (to == gapStart_)
        return;
    if (gapLength_ == 0) {
        gapStart_ = to;
        return;
    }
    if (to < gapStart_) {
        std::memmove(items_ + to + gapLength_, items_ + to,
                     sizeof(TheStringItem) * static_cast<size_t>(gapStart_ - to));
    } else {
        std::memmove(items_ + gapStart_, items_ + gapStart_ + gapLength_,
                     sizeof(TheStringItem) * static_cast<size_t>(to - gapStart_));
    }
    gapStart_ = to;
}

// Makes `count` zero-filled items at `at`, growing as the list always has.
void TheStringList::OpenGap(int at, int count)
{
    if (count <= 0)
        return;
    const int total = GetCount() + count;
    if (total > capacity_)
        Grow(total);
    MoveGap(at);
    std::memset(static_cast<void*>(items_ + at), 0, sizeof(TheStringItem) * static_cast<size_t>(count));
    gapStart_ += count;
    gapLength_ -= count;
}

void TheStringList::SetCapacity(int capacity)
{
    if (capacity < GetCount())
        throw EListError();
    if (capacity != capacity_)
        Reallocate(capacity);
}

// --- string-list operations ----------------------------------------------

std::string TheStringList::Get(int index) const
{
    return std::string(Item(index).View());
}

void TheStringList::PutView(int index, std::string_view s)
{
    TheStringItem& item = ItemRef(index);
    Changing();
    SetOwnedText(item, s);
    Changed();
}

void TheStringList::Put(int index, const std::string& s)
{
    PutView(index, s);
}

int TheStringList::Add(const std::string& s)
{
    int index = GetCount();
    Insert(index, s);
    return index;
}

void TheStringList::Insert(int index, const std::string& s)
{
    if (index < 0 || index > GetCount())
        throw EListError();
    if (s.size() > MaxRowLength)
        throw std::length_error("row text too long");
    Changing();
    OpenGap(index, 1);
    SetOwnedText(Raw(index), s);
    index_.RowsInserted(index, 1);
    Changed();
}

void TheStringList::Delete(int index)
{
    CheckIndex(index);
    Changing();
    RemoveRows(index, 1);
    Changed();
}

void TheStringList::Exchange(int i, int j)
{
    CheckIndex(i);
    CheckIndex(j);
    Changing();
    TheStringItem& a = Raw(i);
    TheStringItem& b = Raw(j);
    bool wa = IsWrappedWord(a.AttrWord);
    bool wb = IsWrappedWord(b.AttrWord);
    std::swap(a, b);
    if (wa != wb) {
        index_.WrappedChanged(i, wb);
        index_.WrappedChanged(j, wa);
    }
    Changed();
}

void TheStringList::Clear()
{
    if (GetCount() == 0) {
        blocks_.clear();
        return;
    }
    Changing();
    FreeAll();
    std::free(items_);
    items_ = nullptr;
    capacity_ = 0;
    gapStart_ = 0;
    gapLength_ = 0;
    index_.Reset(0);
    Changed();
}

void TheStringList::SetAttrWord(int index, uint32_t word)
{
    TheStringItem& item = ItemRef(index);
    bool was = IsWrappedWord(item.AttrWord);
    item.AttrWord = word;
    bool now = IsWrappedWord(word);
    if (was != now)
        index_.WrappedChanged(index, now);
}

std::string TheStringList::GetStateText(int index) const
{
    const TheStringItem& item = Item(index);
    return item.Extra ? item.Extra->StateText : std::string();
}

void TheStringList::SetStateText(int index, std::string_view text)
{
    TheStringItem& item = ItemRef(index);
    if (text.empty()) {
        if (item.Extra) {
            item.Extra->StateText.clear();
            DropExtraIfEmpty(item);
        }
        return;
    }
    if (!item.Extra)
        item.Extra = new TheStringExtra;
    item.Extra->StateText.assign(text);
}

RowScanMarks* TheStringList::ScanMarks(int index) const
{
    const TheStringItem& item = Item(index);
    return item.Extra ? item.Extra->ScanMarks.get() : nullptr;
}

RowScanMarks& TheStringList::MakeScanMarks(int index)
{
    TheStringItem& item = ItemRef(index);
    if (!item.Extra)
        item.Extra = new TheStringExtra;
    if (!item.Extra->ScanMarks)
        item.Extra->ScanMarks = std::make_unique<RowScanMarks>();
    return *item.Extra->ScanMarks;
}

void TheStringList::DropScanMarks(int index)
{
    TheStringItem& item = ItemRef(index);
    if (item.Extra) {
        item.Extra->ScanMarks.reset();
        DropExtraIfEmpty(item);
    }
}

// --- bulk operations -----------------------------------------------------

void TheStringList::InsertEmptyRows(int at, int count)
{
    if (at < 0 || at > GetCount() || count < 0 || count > 0x7fffffff - GetCount())
        throw EListError();
    if (count == 0)
        return;
    OpenGap(at, count);
    index_.RowsInserted(at, count);
}

void TheStringList::RemoveRows(int at, int count)
{
    if (count <= 0)
        return;
    if (at < 0 || at > GetCount() || count > GetCount() - at)
        throw EListError();
    index_.RowsRemoving(at, count);
    MoveGap(at + count);
    for (int i = at; i < at + count; ++i)
        FreeItem(items_[i]);
    gapStart_ = at;
    gapLength_ += count;
}

void TheStringList::TakeRows(TheStringList& source, int first, int count, int at)
{
    if (count <= 0)
        return;
    if (first < 0 || first > source.GetCount() || count > source.GetCount() - first || at < 0 || at > GetCount() ||
        count > GetCount() - at)
        throw EListError();
    for (int k = 0; k < count; ++k) {
        TheStringItem& target = Raw(at + k);
        bool was = IsWrappedWord(target.AttrWord);
        FreeItem(target);
        TheStringItem& from = source.Raw(first + k);
        bool fromWrapped = IsWrappedWord(from.AttrWord);
        target = from;
        from = TheStringItem{};
        if (fromWrapped)
            source.index_.WrappedChanged(first + k, false);
        if (was != fromWrapped)
            index_.WrappedChanged(at + k, fromWrapped);
    }
    // Shared texts stay valid as long as both lists hold their blocks.
    for (const auto& block : source.blocks_) {
        bool known = false;
        for (const auto& mine : blocks_)
            known = known || mine == block;
        if (!known)
            blocks_.push_back(block);
    }
}

void TheStringList::AdoptRows(TheStringItem* items, int count, int capacity, std::shared_ptr<char[]> block)
{
    std::vector<std::shared_ptr<char[]>> keep = std::move(blocks_);
    FreeAll();
    std::free(items_);
    items_ = items;
    capacity_ = capacity;
    gapStart_ = count;
    gapLength_ = capacity - count;
    blocks_ = std::move(keep);
    if (block)
        blocks_.push_back(std::move(block));
    index_.Reset(count);
}

void TheStringList::SetSharedText(int index, const char* data, uint32_t length)
{
    TheStringItem& item = ItemRef(index);
    ReleaseText(item);
    item.Data = length ? data : nullptr;
    item.Length = length ? (length | TheStringItem::SharedBit) : 0;
}

// --- the wrapped-row index's view of the rows ----------------------------

int TheStringList::CountWrappedRows(int first, int end) const
{
    int n = 0;
    for (int i = first; i < end; ++i)
        n += IsWrappedWord(Raw(i).AttrWord) ? 1 : 0;
    return n;
}

int TheStringList::FindUnwrappedRow(int first, int end, int n) const
{
    for (int i = first; i < end; ++i) {
        if (!IsWrappedWord(Raw(i).AttrWord)) {
            if (n == 0)
                return i;
            --n;
        }
    }
    return end;
}
