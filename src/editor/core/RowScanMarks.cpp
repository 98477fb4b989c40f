#include "editor/core/RowScanMarks.h"

#include <algorithm>

void RowScanMarks::Splice(std::size_t from, std::size_t removed, std::size_t inserted)
{
    const std::size_t end = from + removed;
    // A position of the old text in the new one; one inside the removed
    // bytes goes to the end of the inserted ones.
    const auto moved = [&](std::size_t p) -> std::size_t {
        if (p <= from)
            return p;
        if (p >= end)
            return p - removed + inserted;
        return from + inserted;
    };

    const auto first = std::lower_bound(Offsets.begin(), Offsets.end(), static_cast<uint32_t>(from));
    const auto last = std::lower_bound(first, Offsets.end(), static_cast<uint32_t>(end));
    // An offset at `from` stays only when nothing was taken out there: the
    // bytes after it are then the old ones, after the inserted bytes.
    for (auto it = last; it != Offsets.end(); ++it)
        *it = static_cast<uint32_t>(*it - removed + inserted);
    Offsets.erase(first, last);

    std::size_t changedFrom = from;
    std::size_t changedTo = from + inserted;
    if (Changed) {
        changedFrom = std::min(changedFrom, moved(ChangedFrom));
        changedTo = std::max(changedTo, moved(ChangedTo));
    }
    Changed = true;
    ChangedFrom = static_cast<uint32_t>(changedFrom);
    ChangedTo = static_cast<uint32_t>(changedTo);
}
