#include "editor/core/TRowAttributeStringList.h"

uint32_t TRowAttributeStringList::PackAttrWord(const TRowAttributeData& d)
{
    uint32_t w = 0;
    w |= static_cast<uint32_t>(d.RowAttribute & 3);
    w |= static_cast<uint32_t>(d.PrevRowAttribute & 3) << 2;
    w |= (static_cast<uint32_t>(d.BracketIndex + 2) & 0xf) << 4;
    w |= (static_cast<uint32_t>(d.ElementByte) & 0xff) << 8;
    w |= (static_cast<uint32_t>(d.RemainByte) & 0xff) << 16;
    w |= (static_cast<uint32_t>(d.StartByte) & 0xff) << 24;
    return w;
}

uint32_t TRowAttributeStringList::PackStateWord(const TRowAttributeData& d, uint16_t marks)
{
    return static_cast<uint32_t>(d.WrappedToken) | (static_cast<uint32_t>(d.PrevToken) << 8) |
           (static_cast<uint32_t>(marks) << 16);
}

TRowAttributeData TRowAttributeStringList::GetRowAttributeData(int row) const
{
    TRowAttributeData d;
    d.RowAttribute = GetRowAttribute(row);
    d.PrevRowAttribute = GetPrevRowAttribute(row);
    d.BracketIndex = GetBracketIndex(row);
    d.ElementByte = GetElementByte(row);
    d.RemainByte = GetRemainByte(row);
    d.StartByte = GetStartByte(row);
    d.WrappedToken = GetWrappedToken(row);
    d.PrevToken = GetPrevToken(row);
    d.StateText = GetStateText(row);
    return d;
}

void TRowAttributeStringList::SetRowAttributeData(int row, const TRowAttributeData& d)
{
    SetAttrWord(row, PackAttrWord(d));
    SetStateWord(row, PackStateWord(d, GetRowMarks(row)));
    SetStateText(row, d.StateText);
}
