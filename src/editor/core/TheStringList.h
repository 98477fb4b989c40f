#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/core/RowScanMarks.h"
#include "editor/core/TStrings.h"
#include "editor/core/WrappedRowIndex.h"

// What few rows carry besides their text and words.
struct TheStringExtra {
    std::string StateText;                   // parser state text
    std::unique_ptr<RowScanMarks> ScanMarks;  // of a long row; they go when its text is replaced
};

// One row of a row list. Items are plain bytes so that the list can move
// them with one memory move; the list owns what they point to. A row's own
// text (not in a shared block) lies in a buffer that may have room after it.
struct TheStringItem {
    const char* Data;        // the row's text, without a line break
    uint32_t Length;         // low 31 bits: text length; top bit: text lies in a shared block
    int32_t RowTag;          // free for the list's user
    uint32_t AttrWord;       // packed row attributes
    uint32_t StateWord;      // packed parser state and row marks
    TheStringExtra* Extra;   // null when the state text is empty and there are no scan marks

    static constexpr uint32_t SharedBit = 0x80000000u;
    static constexpr uint32_t LengthMask = 0x7fffffffu;
    uint32_t Size() const { return Length & LengthMask; }
    bool Shared() const { return (Length & SharedBit) != 0; }
    std::string_view View() const { return {Data, Size()}; }
};

// A list of rows: text plus a state text and three integers per row, in one
// array with a movable gap so that edits near the last edit move little.
// Every index outside the list raises EListError and leaves it unchanged.
class TheStringList : public TStrings, private WrappedRowSource {
public:
    using TNotifyEvent = std::function<void()>;

    TheStringList();
    ~TheStringList() override;
    TheStringList(const TheStringList&) = delete;
    TheStringList& operator=(const TheStringList&) = delete;

    TNotifyEvent OnChanging;
    TNotifyEvent OnChange;

    std::string Get(int index) const override;
    void Put(int index, const std::string& s) override;
    int GetCount() const override { return capacity_ - gapLength_; }
    int Count() const { return GetCount(); }
    int GetCapacity() const { return capacity_; }
    void SetCapacity(int capacity);
    int Add(const std::string& s) override;
    void Insert(int index, const std::string& s) override;
    void Delete(int index) override;
    void Exchange(int i, int j);
    void Clear() override;

    // The row's text without copying; valid until the row is changed.
    std::string_view RowView(int index) const { return Item(index).View(); }
    uint32_t RowLength(int index) const { return Item(index).Size(); }

    int32_t GetRowTag(int index) const { return Item(index).RowTag; }
    void SetRowTag(int index, int32_t tag) { ItemRef(index).RowTag = tag; }
    uint32_t GetAttrWord(int index) const { return Item(index).AttrWord; }
    void SetAttrWord(int index, uint32_t word);
    uint32_t GetStateWord(int index) const { return Item(index).StateWord; }
    void SetStateWord(int index, uint32_t word) { ItemRef(index).StateWord = word; }
    std::string GetStateText(int index) const;
    void SetStateText(int index, std::string_view text);

    // The scanner's marks inside a long row, or null. They stay with the row
    // until its text is replaced other than by SpliceText.
    RowScanMarks* ScanMarks(int index) const;
    RowScanMarks& MakeScanMarks(int index);
    void DropScanMarks(int index);

    // Rows that continue on the next row (attribute 1), counted without a scan.
    int WrappedRowsBefore(int row) const { return index_.WrappedBefore(row); }
    int WrappedRowCount() const { return index_.WrappedCount(); }
    // The n-th row that is not wrapped, or Count() when there are fewer.
    int NthUnwrappedRow(int n) const { return index_.NthUnwrappedRow(n); }

    static constexpr uint32_t MaxRowLength = TheStringItem::LengthMask;

protected:
    void Changing();
    void Changed();
    void SetUpdateState(bool updating) override;
    int ListUpdateCount() const { return listUpdateCount_; }

    // Bulk operations for the row store; they fire no notification.
    void InsertEmptyRows(int at, int count);
    void RemoveRows(int at, int count);
    // Moves rows [first, first+count) of `source` into this list in place of
    // rows [at, at+count), which must exist; the source keeps empty rows.
    void TakeRows(TheStringList& source, int first, int count, int at);
    // Points a row at bytes inside a block this list keeps alive.
    void SetSharedText(int index, const char* data, uint32_t length);
    void AdoptBlock(std::shared_ptr<char[]> block) { blocks_.push_back(std::move(block)); }
    // Replaces every row by the first `count` of `items` (an array of
    // `capacity` from AllocateLarge, which the list takes over). Their texts
    // are shared: they lie in the list's blocks or in `block`. The former
    // rows' own texts are released; the blocks are kept.
    void AdoptRows(TheStringItem* items, int count, int capacity, std::shared_ptr<char[]> block);
    void PutView(int index, std::string_view s);
    // Replaces bytes [from, from+count) of a row's text by `text` (which may
    // lie anywhere, the row included), in place when the row's own buffer has
    // room, else in a new buffer with room for more; the row's scan marks
    // move with the bytes. Throws EListError for a range outside the row.
    void SpliceText(int index, std::size_t from, std::size_t count, std::string_view text);
    // Inline: whole-document scans read every row through these.
    void CheckIndex(int index) const
    {
        if (index < 0 || index >= capacity_ - gapLength_)
            ThrowIndexError();
    }
    const TheStringItem& Item(int index) const
    {
        CheckIndex(index);
        return Raw(index);
    }
    TheStringItem& ItemRef(int index)
    {
        CheckIndex(index);
        return Raw(index);
    }

private:
    [[noreturn]] static void ThrowIndexError();
    int CountWrappedRows(int first, int end) const override;
    int FindUnwrappedRow(int first, int end, int n) const override;

    const TheStringItem& Raw(int index) const
    {
        return items_[index < gapStart_ ? index : index + gapLength_];
    }
    TheStringItem& Raw(int index) { return items_[index < gapStart_ ? index : index + gapLength_]; }
    void Grow(int needed);
    void Reallocate(int capacity);
    void MoveGap(int to);
    void OpenGap(int at, int count);
    static void FreeItem(TheStringItem& item);
    static void SetOwnedText(TheStringItem& item, std::string_view s);
    static void ReleaseText(TheStringItem& item);
    static void DropExtraIfEmpty(TheStringItem& item);
    void FreeAll();

    TheStringItem* items_ = nullptr;
    int capacity_ = 0;
    int gapStart_ = 0;
    int gapLength_ = 0;
    int listUpdateCount_ = 0;
    WrappedRowIndex index_;
    std::vector<std::shared_ptr<char[]>> blocks_;
};
