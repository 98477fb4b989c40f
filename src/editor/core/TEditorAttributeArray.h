#pragma once
#include <string_view>

// A cursor over the cells of a row's cell map (see CellMap.h). It walks cell
// by cell or character by character, and tells the kind of the cell under it
// and the character that cell belongs to. The row text and map are viewed,
// not copied: both must outlive the cursor.
class TEditorAttributeArray {
public:
    // `map` must be the cell map of `row` (it may be cut short of the row's end).
    TEditorAttributeArray(std::string_view row, std::string_view map, int position = 0);

    int Size() const { return static_cast<int>(map_.size()); }
    // Cell index, 0..Size(); Size() is the end.
    int Position() const { return position_; }
    bool AtEnd() const { return position_ >= Size(); }
    // Moves to a cell; clamped to 0..Size().
    void SetPosition(int position);

    // One cell forward or back; false (and no move) at the end or the start.
    bool Next();
    bool Prev();
    // To the first cell of the next or previous character.
    bool NextChar();
    bool PrevChar();

    // The cell's kind, '1'..'5'; '\0' at the end.
    char Kind() const { return AtEnd() ? '\0' : map_[static_cast<std::size_t>(position_)]; }
    // Byte offset of the character the cell belongs to: a '5' cell gives its
    // lead byte, a '3' cell its TAB. At the end: the bytes the map covers.
    int CharIndex() const { return charIndex_; }
    // The character under the cell: two bytes on a '4' or '5' cell, one byte
    // otherwise (the TAB on a '3' cell), empty at the end.
    std::string_view Char() const;

private:
    std::string_view row_;
    std::string_view map_;
    int position_ = 0;
    int charIndex_ = 0;
};
