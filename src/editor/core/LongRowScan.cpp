#include "editor/core/LongRowScan.h"

#include <algorithm>
#include <vector>

#include "editor/core/TFountainParser.h"
#include "editor/core/TTokenKind.h"

std::size_t ScanLongRow(TFountainParser& scanner, std::string_view text, TRowAttributeData& state,
                        RowScanMarks& marks, uint64_t generation, std::size_t spacing)
{
    const int32_t startBracket = state.BracketIndex;
    const uint8_t startWrapped = state.WrappedToken;
    const int32_t startRemain = state.RemainByte;
    const bool usable = marks.Generation == generation;
    const bool sameStart = usable && marks.StartBracket == startBracket && marks.StartWrapped == startWrapped &&
                           marks.StartRemain == startRemain;
    if (sameStart && !marks.Changed) {
        state.BracketIndex = marks.EndBracket;
        state.PrevToken = marks.EndPrevToken;
        state.WrappedToken = 0;
        state.RemainByte = 0;
        return 0;
    }

    std::vector<uint32_t>& offsets = marks.Offsets;
    if (!usable)
        offsets.clear();
    const std::size_t changedFrom = marks.Changed ? marks.ChangedFrom : text.size();
    // Only bytes after the change are the old ones.
    const std::size_t sameFrom = marks.Changed ? marks.ChangedTo : 0;

    // The last mark whose tokens were decided before the change.
    std::size_t keep = 0;
    if (sameStart && changedFrom >= scanner.LookAhead()) {
        const auto limit = static_cast<uint32_t>(changedFrom - scanner.LookAhead());
        keep = static_cast<std::size_t>(std::upper_bound(offsets.begin(), offsets.end(), limit) - offsets.begin());
    }
    const std::size_t restart = keep > 0 ? offsets[keep - 1] : 0;

    scanner.SetRowText(text, state);
    if (restart > 0)
        scanner.ResumeAt(restart);
    // A token cut at the end of the row before ends on this row, which ends
    // its line.
    state.WrappedToken = 0;
    state.RemainByte = 0;
    std::vector<uint32_t> fresh;
    std::size_t next = keep;  // the first old mark not yet passed
    std::size_t lastMark = restart;
    bool converged = false;
    for (;;) {
        const std::size_t p = scanner.Position();
        const bool between = p > 0 && scanner.BetweenTokens();
        if (between && p >= sameFrom) {
            while (next < offsets.size() && offsets[next] < p)
                ++next;
            if (next < offsets.size() && offsets[next] == p) {
                converged = true;
                break;
            }
        }
        const uint8_t kind = scanner.NextToken();
        if (kind == tkEnd)
            break;
        state.BracketIndex = scanner.BracketIndex();
        state.PrevToken = kind;
        if (between && p >= lastMark + spacing && scanner.MayResumeAfter(static_cast<unsigned char>(text[p - 1]))) {
            fresh.push_back(static_cast<uint32_t>(p));
            lastMark = p;
        }
    }
    const std::size_t scanned = scanner.Position() - restart;

    // The marks: those before the restart, the new ones, and the old ones
    // from the place where the scan met the old one.
    const std::size_t oldFrom = converged ? next : offsets.size();
    offsets.erase(offsets.begin() + static_cast<std::ptrdiff_t>(keep),
                  offsets.begin() + static_cast<std::ptrdiff_t>(oldFrom));
    offsets.insert(offsets.begin() + static_cast<std::ptrdiff_t>(keep), fresh.begin(), fresh.end());
    if (converged) {
        state.BracketIndex = marks.EndBracket;
        state.PrevToken = marks.EndPrevToken;
    } else {
        marks.EndBracket = state.BracketIndex;
        marks.EndPrevToken = state.PrevToken;
    }
    marks.Changed = false;
    marks.ChangedFrom = marks.ChangedTo = 0;
    marks.Generation = generation;
    marks.StartBracket = startBracket;
    marks.StartWrapped = startWrapped;
    marks.StartRemain = startRemain;
    return scanned;
}
