#pragma once
#include <cstdint>

#include "editor/core/TRowAttributeData.h"
#include "editor/core/TheStringList.h"

// A row list whose two attribute words are read and written as named
// fields. Setting a field changes only its own bits and fires no notification.
class TRowAttributeStringList : public TheStringList {
public:
    uint8_t GetRowAttribute(int row) const { return Bits(GetAttrWord(row), 0, 2); }
    void SetRowAttribute(int row, uint8_t v) { SetAttrBits(row, 0, 2, v); }
    uint8_t GetPrevRowAttribute(int row) const { return Bits(GetAttrWord(row), 2, 2); }
    void SetPrevRowAttribute(int row, uint8_t v) { SetAttrBits(row, 2, 2, v); }
    // Stored as value + 2, so a zero-filled row reads as not yet parsed (-2).
    int GetBracketIndex(int row) const { return static_cast<int>(Bits(GetAttrWord(row), 4, 4)) - 2; }
    void SetBracketIndex(int row, int v) { SetAttrBits(row, 4, 4, static_cast<uint32_t>(v + 2) & 0xff); }
    uint8_t GetElementByte(int row) const { return Bits(GetAttrWord(row), 8, 8); }
    void SetElementByte(int row, uint32_t v) { SetAttrBits(row, 8, 8, v); }
    uint8_t GetRemainByte(int row) const { return Bits(GetAttrWord(row), 16, 8); }
    void SetRemainByte(int row, uint32_t v) { SetAttrBits(row, 16, 8, v); }
    uint8_t GetStartByte(int row) const { return Bits(GetAttrWord(row), 24, 8); }
    void SetStartByte(int row, uint32_t v) { SetAttrBits(row, 24, 8, v); }

    uint8_t GetWrappedToken(int row) const { return Bits(GetStateWord(row), 0, 8); }
    void SetWrappedToken(int row, uint32_t v) { SetStateBits(row, 0, 8, v); }
    uint8_t GetPrevToken(int row) const { return Bits(GetStateWord(row), 8, 8); }
    void SetPrevToken(int row, uint32_t v) { SetStateBits(row, 8, 8, v); }
    uint16_t GetRowMarks(int row) const { return static_cast<uint16_t>(GetStateWord(row) >> 16); }
    void SetRowMarks(int row, uint16_t marks) { SetStateBits(row, 16, 16, marks); }

    TRowAttributeData GetRowAttributeData(int row) const;
    void SetRowAttributeData(int row, const TRowAttributeData& data);

    static uint32_t PackAttrWord(const TRowAttributeData& d);
    static uint32_t PackStateWord(const TRowAttributeData& d, uint16_t marks);

private:
    static uint8_t Bits(uint32_t word, int shift, int width)
    {
        return static_cast<uint8_t>((word >> shift) & ((1u << width) - 1));
    }
    static uint32_t Replace(uint32_t word, int shift, int width, uint32_t v)
    {
        uint32_t mask = (width == 32 ? 0xffffffffu : ((1u << width) - 1)) << shift;
        return (word & ~mask) | ((v << shift) & mask);
    }
    void SetAttrBits(int row, int shift, int width, uint32_t v)
    {
        SetAttrWord(row, Replace(GetAttrWord(row), shift, width, v));
    }
    void SetStateBits(int row, int shift, int width, uint32_t v)
    {
        SetStateWord(row, Replace(GetStateWord(row), shift, width, v));
    }
};
