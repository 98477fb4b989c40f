#pragma once
#include <cstdint>
#include <string>

// What a row carries at its start, besides its text.
enum TRowAttribute : uint8_t {
    raLineBreak = 0,  // the row ends a logical line; CR LF follows it in the text
    raWrapped = 1,    // the row continues on the next row
    raEndOfText = 2,  // the last row of a text that does not end with a line break
};

// Returned where a range of rows is empty.
constexpr uint8_t raNone = 3;

// The unpacked start state of one row, exchanged with the parser.
struct TRowAttributeData {
    uint8_t RowAttribute = raLineBreak;
    uint8_t PrevRowAttribute = raLineBreak;
    int32_t BracketIndex = -1;  // -2 not yet parsed, -1 no bracket open, 0..13 open pair
    int32_t ElementByte = 0;
    int32_t RemainByte = 0;
    int32_t StartByte = 0;
    uint8_t WrappedToken = 0;
    uint8_t PrevToken = 0;
    std::string StateText;

    bool operator==(const TRowAttributeData&) const = default;
};
