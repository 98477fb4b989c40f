#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Places inside one long row where the colouring scanner can take the row up
// again without reading it from its start, kept with the row by the row list.
//
// Each offset is a position between two tokens of the row's last full scan,
// with no region open and no cut token pending, and a token after it. From
// such a place the scanner reads only forward, so the tokens after it depend
// on nothing but the bytes from there on: when an edit leaves those bytes
// alone, a new scan that arrives there between tokens continues exactly as
// the old one did, up to the row's end state recorded here.
//
// Offsets before an edit serve as places to start the scan again, as far as
// the bytes a scanner read up to them (a few past them, see
// TFountainParser::LookAhead) are unchanged.
struct RowScanMarks {
    std::vector<uint32_t> Offsets;  // ascending

    // The bytes [ChangedFrom, ChangedTo) were put in since the scan; an
    // empty range with Changed set is where bytes were taken out.
    bool Changed = false;
    uint32_t ChangedFrom = 0;
    uint32_t ChangedTo = 0;

    // The scan's scheme and row parser: marks of another are not used.
    uint64_t Generation = 0;
    // The start state's values that decide the row's first tokens.
    int32_t StartBracket = -1;
    uint8_t StartWrapped = 0;
    int32_t StartRemain = 0;
    // The scanner's state at the row's end.
    int32_t EndBracket = -1;
    uint8_t EndPrevToken = 0;

    // Bytes [from, from+removed) of the row became `inserted` new bytes: the
    // offsets after them move, those inside go, and the changed range grows
    // to cover the new bytes.
    void Splice(std::size_t from, std::size_t removed, std::size_t inserted);
};
