#include "editor/core/LineBreaker.h"

#include <algorithm>

#include "editor/core/CellMap.h"
#include "editor/core/ShiftJis.h"

namespace {

// True when `ch` occurs in `set` as a whole character. The set is walked from
// its start, so a double-byte character never matches at a trail byte: "表"
// (0x95 0x5C) is not in "\x81\x95\x5C", whose characters are 0x81 0x95 and "\".
bool HasCharacter(std::string_view set, std::string_view ch)
{
    if (ch.empty())
        return false;
    for (std::size_t i = 0; i < set.size();) {
        const std::size_t length = static_cast<std::size_t>(CharLength(set, i));
        if (set.substr(i, length) == ch)
            return true;
        i += length;
    }
    return false;
}

// The break position on the cell map of the rest of a line. `pos` is the
// number of cells on the row (the cursor is on cell pos, counted from 1), and
// `bytes` the number of bytes those cells hold. Both move together, a whole
// character at a time, so the byte count never has to be recomputed.
//
// Outside of its initial placement the cursor always rests on the last cell
// of a character; that is what keeps `bytes` on a character boundary.
class BreakCursor {
public:
    BreakCursor(std::string_view rest, std::string_view map, bool mapCut, int start)
        : rest_(rest), map_(map), cut_(mapCut), pos_(start)
    {
        bytes_ = static_cast<std::size_t>(start)
            - static_cast<std::size_t>(std::count(map.begin(), map.begin() + start, CellKind::TabFill));
    }

    int Pos() const { return pos_; }
    std::size_t Bytes() const { return bytes_; }
    char Cell() const { return pos_ > 0 ? map_[static_cast<std::size_t>(pos_ - 1)] : '\0'; }

    // On the last cell of the line: nothing follows the cursor.
    bool AtLineEnd() const { return !cut_ && static_cast<std::size_t>(pos_) == map_.size(); }

    // Cells of the line after the cursor, counting a cut map's unseen rest as
    // at least one more.
    std::size_t CellsFollowing() const
    {
        const std::size_t inMap = map_.size() - static_cast<std::size_t>(pos_);
        return cut_ ? inMap + 1 : inMap;
    }

    // The character whose last cell is under the cursor.
    std::string_view Under() const
    {
        switch (Cell()) {
        case '\0': return {};
        case CellKind::Trail: return rest_.substr(bytes_ - 2, 2);
        case CellKind::Lead: return rest_.substr(bytes_ - 1, 2);
        default: return rest_.substr(bytes_ - 1, 1);   // a TAB for any of its cells
        }
    }

    // The character that starts on the cell after the cursor; empty at the end
    // of the map, or when the cursor is inside a TAB.
    std::string_view After() const
    {
        const std::size_t next = static_cast<std::size_t>(pos_);
        if (next >= map_.size() || map_[next] == CellKind::TabFill)
            return {};
        return rest_.substr(bytes_, map_[next] == CellKind::Lead ? 2 : 1);
    }

    // Cells of the character After() returns.
    int AfterWidth() const
    {
        std::size_t next = static_cast<std::size_t>(pos_);
        if (map_[next] == CellKind::Lead)
            return 2;
        int width = 1;
        while (++next < map_.size() && map_[next] == CellKind::TabFill)
            ++width;
        return width;
    }

    // Position the cursor would take by stepping back over the character
    // under it. From the first cell of a double-byte character only that cell
    // is undone, which puts the character out.
    //
    // A TAB is stepped over whole from any of its cells, like any character,
    // so a backward step never stops on a TAB's first cell: the TAB leaves the
    // row with the cursor. Where the cursor does rest on a TAB's cell (placed
    // there, or after the double-byte split), the TAB stays on the row. The
    // byte count thus always follows from the cell under the cursor alone, the
    // TAB byte lands on exactly one row, and a TAB that begins the row is kept
    // on it by the progress rule of FindRowBreak.
    int BackTarget() const
    {
        int p = pos_;
        if (Cell() == CellKind::Trail)
            return p - 2;
        while (p > 0 && map_[static_cast<std::size_t>(p - 1)] == CellKind::TabFill)
            --p;
        return p - 1;
    }

    void StepBack()
    {
        const char cell = Cell();
        pos_ = BackTarget();
        bytes_ -= cell == CellKind::Trail ? 2 : 1;
    }

    void StepForward()
    {
        const std::size_t length = After().size();
        pos_ += AfterWidth();
        bytes_ += length;
    }

    // Puts the row at the first character of the rest.
    void TakeFirstCharacter()
    {
        bytes_ = static_cast<std::size_t>(CharLength(rest_, 0));
        pos_ = 1;
        if (map_[0] == CellKind::Lead)
            pos_ = 2;
        else
            while (static_cast<std::size_t>(pos_) < map_.size() && map_[static_cast<std::size_t>(pos_)] == CellKind::TabFill)
                ++pos_;
    }

private:
    std::string_view rest_;
    std::string_view map_;
    bool cut_;
    int pos_;
    std::size_t bytes_ = 0;
};

RowBreak FindRowBreak(std::string_view rest, const LineBreakParams& p, std::string& map)
{
    const TEditorWrapOption& option = *p.Option;
    const int wrapByte = std::max(1, option.WrapByte());
    const CellMapOptions cells{p.TabSpaceCount, true, wrapByte};
    const bool cut = BuildCellMap(rest, cells, map) < rest.size();
    if (!cut && map.size() < static_cast<std::size_t>(wrapByte))
        return {rest.size(), false};

    // A TAB never crosses a multiple of WrapByte, so cell WrapByte is the last
    // cell of its character unless it is the lead cell of a double-byte one.
    BreakCursor cursor(rest, map, cut, wrapByte);

    // Double-byte split: a character whose first cell is the last that fits
    // goes to the next row, which leaves this row one cell short.
    if (cursor.Cell() == CellKind::Lead)
        cursor.StepBack();

    // A run of single-byte word characters goes down whole when the line is
    // wider than the row. A run reaching back past the first third is cut at
    // the third: the stepping stops there, on the last cell of the character
    // before the one it last stepped over, so the cut is always between
    // characters.
    if (option.WordBreak() && (cut || map.size() > static_cast<std::size_t>(wrapByte))) {
        const int limit = wrapByte / 3;
        while (cursor.Pos() > limit && (cursor.Cell() == CellKind::Word || cursor.Cell() == CellKind::Lead))
            cursor.StepBack();
    }

    // Punctuation may hang past the edge. A character is taken only when it
    // ends within 2 cells of the edge: a "," at WrapByte+1 does not let a
    // double-byte "、" after it reach WrapByte+3.
    if (option.FollowPunctuation()) {
        const int hangLimit = wrapByte + 2;
        while (cursor.Pos() < hangLimit && HasCharacter(option.PunctuationStr(), cursor.After())
               && cursor.Pos() + cursor.AfterWidth() <= hangLimit)
            cursor.StepForward();
    }

    // Opening brackets go down, and a closing bracket or small kana that would
    // begin the next row pulls the character before it down. No step may make
    // the row narrower than four fifths of WrapByte: the test is on where the
    // step lands, so stepping over a double-byte character or a TAB cannot
    // overshoot the limit.
    if (option.Leading() && !cursor.AtLineEnd()) {
        const int limit = (wrapByte / 5) * 4;
        const auto mayStepBack = [&] { return cursor.BackTarget() >= limit; };
        while (mayStepBack() && HasCharacter(option.LeadStr(), cursor.Under()))
            cursor.StepBack();
        // The pull needs two cells after the cursor: a single-byte ")" that
        // ends the line is left to begin the next row.
        if (cursor.CellsFollowing() >= 2 && HasCharacter(option.FollowStr(), cursor.After())) {
            while (mayStepBack()
                   && (HasCharacter(option.LeadStr(), cursor.Under()) || HasCharacter(option.FollowStr(), cursor.After())))
                cursor.StepBack();
        }
    }

    // The limits above may all be 0 for a very narrow row, and a row must
    // hold at least one character for the line to make progress.
    if (cursor.Bytes() == 0)
        cursor.TakeFirstCharacter();
    return {cursor.Bytes(), true};
}

// Calls onRow(length) for each row of `line`. This must stay a plain loop of
// NextRowLength over the rest of the line: a row depends only on the text from
// its own start, which is what lets the row store re-wrap a line from the row
// an edit touched instead of from the line start.
template <typename OnRow>
void ForEachRow(std::string_view line, const LineBreakParams& p, OnRow onRow)
{
    // Reused by every line a thread breaks, so wrapping a document does not
    // allocate a map per line.
    thread_local std::string map;
    std::size_t start = 0;
    for (;;) {
        const RowBreak row = FindRowBreak(line.substr(start), p, map);
        onRow(row.length);
        start += row.length;
        if (start == line.size()) {
            if (row.wrapped && !p.Option->FollowRetMark())
                onRow(0);
            return;
        }
    }
}

} // namespace

RowBreak NextRowBreak(std::string_view rest, const LineBreakParams& p, std::string& mapScratch)
{
    return FindRowBreak(rest, p, mapScratch);
}

std::size_t NextRowLength(std::string_view rest, const LineBreakParams& p, std::string& mapScratch)
{
    return FindRowBreak(rest, p, mapScratch).length;
}

void BreakLine(std::string_view line, const LineBreakParams& p, std::vector<std::uint32_t>& rows)
{
    ForEachRow(line, p, [&](std::size_t length) { rows.push_back(static_cast<std::uint32_t>(length)); });
}

int WrapRowCount(std::string_view line, const LineBreakParams& p)
{
    int count = 0;
    ForEachRow(line, p, [&](std::size_t) { ++count; });
    return count;
}
