// Word wrap of random text under random wrap options. The first bytes of the
// input choose WrapByte (2..200), TabSpaceCount (1..16), the option flags,
// and a second WrapByte and TabSpaceCount to re-wrap with; the rest is read
// as text, byte by byte through a table of pieces that stress the wrap rules
// (TABs, double-byte characters, one with a backslash trail byte, lone lead
// bytes, brackets and punctuation of the default option strings, blanks and
// line breaks). A byte of 0xE0 or more puts the next input byte into the
// text as it is.
//
// Each logical line is broken with BreakLine and checked against the rules
// the line breaker promises: the rows join up to the line, no row ends inside
// a double-byte character, a row is at most WrapByte cells wide unless
// punctuation hangs (never more than 2 cells past), a row is cut short only
// for the reasons the rules give and the bracket and punctuation rules move a
// break only where they apply, BreakLine is repeated NextRowLength and
// WrapRowCount counts its rows. The row store must then lay out exactly those
// rows when wrap is switched on or its settings change, and show the same
// logical lines and the same text with wrap on and off.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "editor/core/CellMap.h"
#include "editor/core/LineBreaker.h"
#include "editor/core/ShiftJis.h"
#include "editor/core/TEditorScreenStrings.h"
#include "editor/core/TEditorStringList.h"
#include "editor/core/TEditorStrings.h"
#include "editor/core/TEditorWrapOption.h"

#include "support/Printable.h"

namespace {


struct Setup {
    int wrapByte = 80;
    int tabs = 8;
    bool wordBreak = false;
    bool followPunctuation = false;
    bool leading = false;
    bool followRetMark = false;
    int secondWrapByte = 80;
};

Setup g_setup;

[[noreturn]] void Fail(const std::string& what, std::string_view line = {})
{
    std::fprintf(stderr,
                 "WordWrap: %s\n  WrapByte %d TabSpaceCount %d WordBreak %d FollowPunctuation %d Leading %d "
                 "FollowRetMark %d\n",
                 what.c_str(), g_setup.wrapByte, g_setup.tabs, g_setup.wordBreak, g_setup.followPunctuation,
                 g_setup.leading, g_setup.followRetMark);
    if (!line.empty())
        std::fprintf(stderr, "  line: %s\n", Printable(line).c_str());
    std::fflush(stderr);
    __builtin_trap();
}

// Pieces of text, one per input byte below 0xE0 (taken modulo their count).
const std::string_view Pieces[] = {
    "a", "b", "x", "7", "_", "Z", " ", "  ", "\t", "\t", "\r\n", "\n", "\r",
    "\x95\x5C",  // 表, trail byte "\"
    "\x83\x5C",  // ソ, trail byte "\"
    "\x8E\x9A",  // 字
    "\x82\xA0",  // あ
    "\x81",      // lead byte: lone unless a trail byte follows
    "\xE0",      // lead byte of the upper range
    "\xFC",
    "\x81\x75",  // 「
    "\x81\x76",  // 」
    "\x81\x41",  // 、
    "\x81\x42",  // 。
    "\x81\x43",  // ，
    "\x81\x44",  // ．
    "\x81\x69",  // （
    "\x81\x6A",  // ）
    "\x81\x5B",  // ー
    ",", ".", "(", ")", "[", "]", "{", "!", "?", ":", ";", "\\",
    "\xA1",  // ｡
    "\xA2",  // ｢
    "\xA3",  // ｣
    "\xA4",  // ､
    "\xB0",  // ｰ, a word character in FollowStr
    "\xB1",  // ｱ
    "\xDE",  // ﾞ
    "abcdefghij",
    "\x82\xA0\x82\xA2\x82\xA4",  // あいう
    std::string_view("\0", 1),
    "\x7F",
    "\x80",
    "\xFD",
};
constexpr size_t PieceCount = sizeof Pieces / sizeof Pieces[0];

std::string MakeText(const uint8_t* data, size_t size)
{
    std::string text;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] >= 0xE0) {
            if (++i < size)
                text += static_cast<char>(data[i]);
        } else {
            text += Pieces[data[i] % PieceCount];
        }
    }
    return text;
}

// CR LF, CR and LF each end a line; a final break starts no empty line.
std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = start;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        lines.push_back(text.substr(start, end - start));
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
            end += 2;
        else if (end < text.size())
            ++end;
        start = end;
    }
    return lines;
}

bool EndsWithBreak(std::string_view text) { return !text.empty() && (text.back() == '\r' || text.back() == '\n'); }

// A whole character of `set`, found by walking the set from its start.
bool InSet(std::string_view set, std::string_view ch)
{
    for (size_t i = 0; i < set.size(); i += static_cast<size_t>(CharLength(set, i)))
        if (set.substr(i, static_cast<size_t>(CharLength(set, i))) == ch)
            return true;
    return false;
}

bool IsWordByte(std::string_view s, size_t pos)
{
    const auto b = static_cast<unsigned char>(s[pos]);
    return CharLength(s, pos) == 1 && !IsDelimiter(b) && !IsLeadByte(b);
}

// Start of the last character of a non-empty `row`.
size_t LastCharStart(std::string_view row)
{
    size_t last = 0;
    for (size_t p = 0; p < row.size(); p += static_cast<size_t>(CharLength(row, p)))
        last = p;
    return last;
}

// Cells of rest after its first `length` bytes, counted up to 2: two more
// bytes always take at least two cells.
int CellsAfter(std::string_view rest, size_t length, const CellMapOptions& cells)
{
    const std::string_view upTo = rest.substr(0, length + 2);
    return std::min(2, DisplayWidth(upTo, cells) - DisplayWidth(rest.substr(0, length), cells));
}

// The bracket and punctuation rules at one row start, `rest` being the line
// from there. The bracket rule only ever moves a break back, last of all, so
// the row it starts from is the row the same options give without it.
void CheckRowRules(std::string_view line, std::string_view rest, const TEditorWrapOption& option, int tabs,
                   std::string& scratch)
{
    const int wrapByte = option.WrapByte();
    const CellMapOptions cells{tabs, true, wrapByte};
    const size_t length = NextRowLength(rest, LineBreakParams{&option, tabs}, scratch);

    size_t before = length;  // the row before the bracket rule
    if (option.Leading()) {
        TEditorWrapOption plain;
        plain.Assign(option);
        plain.SetLeading(false);
        before = NextRowLength(rest, LineBreakParams{&plain, tabs}, scratch);
        if (length > before)
            Fail("the bracket rule made a row longer", line);
        if (length < before) {
            // It stepped back over the row's last character: an opening
            // bracket, or the character before a closing one when at least
            // two cells follow.
            const std::string_view row = rest.substr(0, before);
            const std::string_view last = row.substr(LastCharStart(row));
            const std::string_view next = rest.substr(before, static_cast<size_t>(CharLength(rest, before)));
            const int following = CellsAfter(rest, before, cells);
            const bool leadDown = InSet(option.LeadStr(), last);
            const bool pulled = before < rest.size() && InSet(option.FollowStr(), next) && following >= 2;
            if (!leadDown && !pulled)
                Fail("the bracket rule moved a break without an opening or closing character there", line);
            const std::string_view kept = rest.substr(0, length);
            if (LastCharStart(kept) != 0 && DisplayWidth(kept, cells) < (wrapByte / 5) * 4)
                Fail("the bracket rule left a row narrower than four fifths", line);
        }
    }

    // Punctuation after the row hangs on it when it fits within 2 cells past
    // WrapByte.
    if (option.FollowPunctuation() && before < rest.size()) {
        const std::string_view row = rest.substr(0, before);
        const size_t n = static_cast<size_t>(CharLength(rest, before));
        const int withNext = DisplayWidth(rest.substr(0, before + n), cells);
        if (LastCharStart(row) != 0 && InSet(option.PunctuationStr(), rest.substr(before, n))
            && withNext <= wrapByte + 2)
            Fail("punctuation that fits was not hung on the row", line);
    }
}

// The rows of one line, checked against the rules of the line breaker.
std::vector<uint32_t> CheckLine(std::string_view line, const TEditorWrapOption& option, int tabs)
{
    const int wrapByte = option.WrapByte();
    const LineBreakParams params{&option, tabs};
    const CellMapOptions cells{tabs, true, wrapByte};

    std::vector<uint32_t> rows;
    BreakLine(line, params, rows);
    if (rows.empty())
        Fail("BreakLine gave no row", line);
    if (::WrapRowCount(line, params) != static_cast<int>(rows.size()))
        Fail("WrapRowCount differs from the rows of BreakLine", line);

    // BreakLine is NextRowLength repeated over the rest of the line, with an
    // empty last row when the last break falls at the line end and
    // FollowRetMark does not keep the line break on that row.
    {
        std::vector<uint32_t> stepped;
        std::string scratch;
        size_t start = 0;
        for (;;) {
            const std::string_view rest = line.substr(start);
            const size_t length = NextRowLength(rest, params, scratch);
            if (length == 0 && !rest.empty())
                Fail("NextRowLength gave 0 for a non-empty rest", line);
            if (length > rest.size())
                Fail("NextRowLength ran past the line end", line);
            stepped.push_back(static_cast<uint32_t>(length));
            start += length;
            if (start == line.size()) {
                const bool wrapped = DisplayWidth(rest, cells) >= wrapByte;
                if (wrapped && !option.FollowRetMark())
                    stepped.push_back(0);
                break;
            }
        }
        if (stepped != rows)
            Fail("BreakLine differs from repeated NextRowLength", line);
    }

    // Character starts of the line, walked from its start.
    std::vector<bool> charStart(line.size() + 1, false);
    for (size_t i = 0; i < line.size(); i += static_cast<size_t>(CharLength(line, i)))
        charStart[i] = true;
    charStart[line.size()] = true;

    std::string scratch;
    const int shortLimit = option.WordBreak() ? wrapByte / 3
                           : option.Leading() ? std::min(wrapByte - 1, (wrapByte / 5) * 4)
                                              : wrapByte - 1;
    size_t start = 0;
    for (size_t k = 0; k < rows.size(); ++k) {
        const size_t length = rows[k];
        if (length > line.size() - start)
            Fail("the rows run past the line end", line);
        if (length == 0) {
            // Only an empty line, or the empty row after a break at the line end.
            const bool emptyLine = line.empty() && rows.size() == 1;
            const bool trailing = k + 1 == rows.size() && k > 0 && !option.FollowRetMark();
            if (!emptyLine && !trailing)
                Fail("an empty row inside a line (row " + std::to_string(k) + ")", line);
            continue;
        }
        const size_t end = start + length;
        if (!charStart[end])
            Fail("row " + std::to_string(k) + " ends inside a double-byte character", line);
        const std::string_view row = line.substr(start, length);
        const int width = DisplayWidth(row, cells);

        // Too wide: only hanging punctuation may pass WrapByte, by 2 cells.
        if (width > wrapByte + 2)
            Fail("row " + std::to_string(k) + " is " + std::to_string(width) + " cells wide", line);
        if (width > wrapByte) {
            if (!option.FollowPunctuation())
                Fail("row " + std::to_string(k) + " passes WrapByte without hanging punctuation", line);
            for (size_t i = 0; i < row.size();) {
                const size_t n = static_cast<size_t>(CharLength(row, i));
                if (DisplayWidth(row.substr(0, i + n), cells) > wrapByte && !InSet(option.PunctuationStr(), row.substr(i, n)))
                    Fail("a character that is not punctuation hangs past WrapByte in row " + std::to_string(k), line);
                i += n;
            }
        }

        const bool moreText = end < line.size();
        const size_t lastStart = LastCharStart(row);
        if (moreText)
            CheckRowRules(line, line.substr(start), option, tabs, scratch);
        const bool oneCharacter = lastStart == 0;
        if (moreText && !oneCharacter) {
            // Too short: a row is cut before WrapByte only to keep a
            // double-byte character whole, to keep a word together (not
            // reaching back past the first third) or for a bracket rule (not
            // below four fifths).
            if (width < shortLimit)
                Fail("row " + std::to_string(k) + " is cut short at " + std::to_string(width) + " cells", line);
            if (!option.WordBreak() && !option.Leading() && width == wrapByte - 1
                && CharLength(line, end) != 2)
                Fail("row " + std::to_string(k) + " is one cell short without a double-byte character after it",
                     line);

            // A word is cut only where its run reaches back into the first
            // third of the row.
            if (option.WordBreak() && !option.Leading() && IsWordByte(line, end) && IsWordByte(row, lastStart)
                && width > std::max(1, wrapByte / 3))
                Fail("WordBreak cut a word in row " + std::to_string(k), line);

            if (option.Leading()) {
                const int limit = (wrapByte / 5) * 4;
                const std::string_view last = row.substr(lastStart);
                const int back = DisplayWidth(row.substr(0, lastStart), cells);
                // An opening bracket ends a row only when taking it down
                // would make the row narrower than four fifths.
                if (InSet(option.LeadStr(), last) && back >= limit)
                    Fail("an opening bracket ends row " + std::to_string(k), line);
                // A closing bracket begins a row only when pulling the
                // character before it down would be too much, or when it is
                // the last cell of the line.
                const std::string_view next = line.substr(end, static_cast<size_t>(CharLength(line, end)));
                const int following = CellsAfter(line.substr(start), length, cells);
                if (InSet(option.FollowStr(), next) && back >= limit && following >= 2)
                    Fail("a closing character begins the row after row " + std::to_string(k), line);
            }
        }
        start = end;
    }
    if (start != line.size())
        Fail("the rows do not add up to the line", line);
    return rows;
}

std::vector<std::string> LinesOf(const TEditorStrings& lines)
{
    std::vector<std::string> out;
    const int n = lines.GetCount();
    out.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        out.push_back(lines.Get(i));
    return out;
}

// The store's rows must be the rows BreakLine gives for each line.
void CheckStoreRows(const TEditorScreenStrings& store, const std::vector<std::string_view>& lines)
{
    const LineBreakParams params{&store.WrapOption(), store.TabSpaceCount()};
    if (store.LineCount() != static_cast<int>(lines.size()))
        Fail("the wrapped store has " + std::to_string(store.LineCount()) + " lines, want "
             + std::to_string(lines.size()));
    int row = 0;
    std::vector<uint32_t> rows;
    for (size_t i = 0; i < lines.size(); ++i) {
        rows.clear();
        BreakLine(lines[i], params, rows);
        const int first = store.LineToRow(static_cast<int>(i));
        const int last = store.LineEndRow(first);
        if (first != row)
            Fail("line " + std::to_string(i) + " starts at row " + std::to_string(first) + ", want "
                     + std::to_string(row),
                 lines[i]);
        if (last - first + 1 != static_cast<int>(rows.size()))
            Fail("line " + std::to_string(i) + " has " + std::to_string(last - first + 1) + " rows, want "
                     + std::to_string(rows.size()),
                 lines[i]);
        if (store.WrapRowCount(lines[i]) != static_cast<int>(rows.size()))
            Fail("the store's WrapRowCount differs from BreakLine", lines[i]);
        size_t offset = 0;
        for (size_t k = 0; k < rows.size(); ++k) {
            const int r = first + static_cast<int>(k);
            if (store.RowView(r) != lines[i].substr(offset, rows[k]))
                Fail("row " + std::to_string(r) + " holds other text than BreakLine gives", lines[i]);
            const bool lineEnd = k + 1 == rows.size();
            if ((store.GetRowAttribute(r) == raWrapped) == lineEnd)
                Fail("row " + std::to_string(r) + " has a wrong wrap attribute", lines[i]);
            offset += rows[k];
        }
        row = last + 1;
    }
    if (row != store.GetCount())
        Fail("the store has rows after the last line");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4)
        return 0;
    Setup& s = g_setup;
    s.wrapByte = 2 + data[0] % 199;
    s.tabs = 1 + data[1] % 16;
    s.wordBreak = data[2] & 1;
    s.followPunctuation = data[2] & 2;
    s.leading = data[2] & 4;
    s.followRetMark = data[2] & 8;
    s.secondWrapByte = 2 + data[3] % 199;
    const std::string text = MakeText(data + 4, size - 4);
    const std::vector<std::string_view> lines = SplitLines(text);

    TEditorScreenStrings store;
    TEditorWrapOption& option = store.WrapOption();
    option.SetWrapByte(s.wrapByte);
    option.SetWordBreak(s.wordBreak);
    option.SetFollowPunctuation(s.followPunctuation);
    option.SetLeading(s.leading);
    option.SetFollowRetMark(s.followRetMark);
    store.SetTabSpaceCount(s.tabs);

    for (std::string_view line : lines)
        CheckLine(line, option, s.tabs);

    // The text with CR LF breaks, as the store gives it back.
    std::string want;
    for (size_t i = 0; i < lines.size(); ++i) {
        want.append(lines[i]);
        if (i + 1 < lines.size() || EndsWithBreak(text))
            want.append("\r\n");
    }

    TEditorStrings view(store);
    store.SetPlainText(text);
    const std::string unwrappedText = store.GetTextStr();
    if (unwrappedText != want)
        Fail("the store's text differs from the text put in");
    const std::vector<std::string> unwrapped = LinesOf(view);
    if (unwrapped.size() != lines.size())
        Fail("the store has " + std::to_string(unwrapped.size()) + " lines, want " + std::to_string(lines.size()));
    for (size_t i = 0; i < lines.size(); ++i)
        if (unwrapped[i] != lines[i])
            Fail("line " + std::to_string(i) + " differs from the text", lines[i]);

    store.SetWordWrap(true);
    CheckStoreRows(store, lines);
    if (store.GetTextStr() != unwrappedText)
        Fail("switching wrap on changed the text");
    if (LinesOf(view) != unwrapped)
        Fail("the lines differ with wrap on");

    // Breaking the text into a scratch list gives the store's rows.
    {
        TEditorStringList fresh;
        store.WrapText(std::string_view(text), fresh);
        if (fresh.GetCount() != store.GetCount())
            Fail("WrapText gives " + std::to_string(fresh.GetCount()) + " rows, the store holds "
                 + std::to_string(store.GetCount()));
        for (int r = 0; r < fresh.GetCount(); ++r) {
            if (fresh.RowView(r) != store.RowView(r))
                Fail("WrapText row " + std::to_string(r) + " differs from the store's");
            const bool wrapped = fresh.GetRowAttribute(r) == raWrapped;
            if (wrapped != (store.GetRowAttribute(r) == raWrapped))
                Fail("WrapText row " + std::to_string(r) + " has another wrap attribute than the store's");
        }
    }

    // A new WrapByte while wrap is on re-breaks every line.
    option.SetWrapByte(s.secondWrapByte);
    s.wrapByte = option.WrapByte();
    for (std::string_view line : lines)
        CheckLine(line, option, s.tabs);
    CheckStoreRows(store, lines);
    if (store.GetTextStr() != unwrappedText)
        Fail("re-wrapping changed the text");
    if (LinesOf(view) != unwrapped)
        Fail("the lines differ after re-wrapping");

    // So does a new TAB width.
    s.tabs = 1 + (data[1] >> 4);
    store.SetTabSpaceCount(s.tabs);
    for (std::string_view line : lines)
        CheckLine(line, option, s.tabs);
    CheckStoreRows(store, lines);
    if (LinesOf(view) != unwrapped)
        Fail("the lines differ after a new TAB width");

    store.SetWordWrap(false);
    if (store.GetTextStr() != unwrappedText)
        Fail("switching wrap off changed the text");
    if (store.GetCount() != static_cast<int>(lines.size()))
        Fail("switching wrap off left " + std::to_string(store.GetCount()) + " rows for "
             + std::to_string(lines.size()) + " lines");
    if (LinesOf(view) != unwrapped)
        Fail("the lines differ after switching wrap off");
    return 0;
}
