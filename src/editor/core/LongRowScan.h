#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "editor/core/RowScanMarks.h"
#include "editor/core/TRowAttributeData.h"

class TFountainParser;

// Parses one long row that is a whole logical line, as
// TFountainParser::ParseRow does, with the help of the row's scan marks.
//
// `text` is the row's text, which holds no CR or LF and is not blank; `state`
// is the row's start state and becomes the next row's. The scan starts again
// at the last mark far enough before the bytes changed since the marks were
// taken (at the row's start when the start state differs), and stops at the
// first mark after them that it reaches between tokens: from there the old
// scan holds, and its end state is the row's. New marks are taken every
// `spacing` bytes or so of what was scanned. Marks of another `generation`
// are not used.
//
// Returns the number of bytes the scan went over.
std::size_t ScanLongRow(TFountainParser& scanner, std::string_view text, TRowAttributeData& state,
                        RowScanMarks& marks, uint64_t generation, std::size_t spacing);
