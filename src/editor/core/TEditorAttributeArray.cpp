#include "editor/core/TEditorAttributeArray.h"

#include <algorithm>

#include "editor/core/CellMap.h"

namespace {

// The cell continues the character of the cell before it.
bool Continues(char kind)
{
    return kind == CellKind::TabFill || kind == CellKind::Trail;
}

// Bytes of the character a cell of this kind belongs to.
int BytesOf(char kind)
{
    return kind == CellKind::Lead || kind == CellKind::Trail ? 2 : 1;
}

} // namespace

TEditorAttributeArray::TEditorAttributeArray(std::string_view row, std::string_view map, int position)
    : row_(row), map_(map)
{
    SetPosition(position);
}

void TEditorAttributeArray::SetPosition(int position)
{
    position_ = std::clamp(position, 0, Size());
    charIndex_ = CharStartFromColumn(map_, row_.size(), position_);
}

bool TEditorAttributeArray::Next()
{
    if (AtEnd())
        return false;
    const char kind = Kind();
    ++position_;
    if (AtEnd() || !Continues(Kind()))
        charIndex_ += BytesOf(kind);
    return true;
}

bool TEditorAttributeArray::Prev()
{
    if (position_ == 0)
        return false;
    const bool sameChar = !AtEnd() && Continues(Kind());
    --position_;
    if (!sameChar)
        charIndex_ -= BytesOf(Kind());
    return true;
}

bool TEditorAttributeArray::NextChar()
{
    if (AtEnd())
        return false;
    const int from = charIndex_;
    while (Next() && charIndex_ == from) {
    }
    return true;
}

bool TEditorAttributeArray::PrevChar()
{
    if (position_ == 0)
        return false;
    Prev();
    while (position_ > 0 && Continues(Kind()))
        Prev();
    return true;
}

std::string_view TEditorAttributeArray::Char() const
{
    if (AtEnd() || static_cast<std::size_t>(charIndex_) >= row_.size())
        return {};
    return row_.substr(static_cast<std::size_t>(charIndex_), static_cast<std::size_t>(BytesOf(Kind())));
}
