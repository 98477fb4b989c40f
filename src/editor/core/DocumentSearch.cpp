#include "editor/core/DocumentSearch.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "editor/core/FuzzyFolding.h"
#include "editor/core/ShiftJis.h"

// How the document is walked
// --------------------------
// The rows are copied, joined with CR LF after line-break rows, into a
// window of about 8 KB, and the window is searched. Moving the window on
// after a miss and starting afresh behind it would lose a match that begins
// near the window's end and runs on into the rows after it (and with the
// skip options a match may run over any number of blanks and line breaks,
// so no fixed overlap is enough). So a match attempt, or a character, that
// needs bytes past the end of the window never counts as a miss: it asks for
// more, and the window is moved on so that it still holds the row where that
// attempt starts, and is extended by at least its own size (so one long
// attempt costs linear time, not quadratic). The same goes for the whole-word
// test, which looks at the real byte after the match, not the window's end.

namespace {

constexpr std::size_t kWindowBytes = 8192;

// Lower-case letters onto upper-case: ASCII, and the double-byte Latin,
// Greek and Cyrillic alphabets.
uint16_t FoldCase(uint16_t code)
{
    if (code < 0x100)
        return code >= 'a' && code <= 'z' ? static_cast<uint16_t>(code - 0x20) : code;
    if (code >= 0x8281 && code <= 0x829A)  // ａ-ｚ -> Ａ-Ｚ (0x8260-0x8279)
        return static_cast<uint16_t>(code - 0x21);
    if (code >= 0x83BF && code <= 0x83D6)  // α-ω -> Α-Ω (0x839F-0x83B6)
        return static_cast<uint16_t>(code - 0x20);
    if (code >= 0x8470 && code <= 0x847E)  // а-н -> А-Н (0x8440-0x844E), ё included
        return static_cast<uint16_t>(code - 0x30);
    if (code >= 0x8480 && code <= 0x8491)  // о-я -> О-Я (0x844F-0x8460); 0x847F is no character
        return static_cast<uint16_t>(code - 0x31);
    return code;
}

// The pattern, folded once, and the comparison of text against it.
class PatternMatcher {
public:
    enum class Outcome { Hit, Miss, NeedMore };
    struct Found {
        Outcome Kind;  // Hit; Miss: nothing before the stop; NeedMore: the text at Pos runs past the buffer
        std::size_t Pos;
        std::size_t End;
    };

    PatternMatcher(std::string_view pattern, uint16_t options)
        : fuzzy_(HasSearchOption(options, soFuzzy)),
          ignoreCase_(!HasSearchOption(options, soMatchCase)),
          wholeWord_(HasSearchOption(options, soWholeWord)),
          skipBreaks_(HasSearchOption(options, soSkipLineBreaks)),
          skipSpace_(HasSearchOption(options, soSkipSpace))
    {
        for (std::size_t pos = 0; pos < pattern.size();) {
            const TFoldedChar c = UnitAt(pattern, pos);
            codes_.push_back(c.Code);
            pos += c.Length;
        }
        if (codes_.empty())
            return;
        for (int b = 0; b < 256; ++b) {
            const auto ub = static_cast<unsigned char>(b);
            class_[b] = static_cast<uint8_t>((IsLeadByte(ub) ? kLead : 0)
                                             | (fuzzy_ && (TakesSoundMark(ub, 0xDE) || TakesSoundMark(ub, 0xDF))
                                                    ? kTakesMark
                                                    : 0));
        }
        // Every first byte of a text character that folds onto the pattern's
        // first character starts a candidate.
        auto consider = [this](std::string_view ch) {
            if (UnitAt(ch, 0).Code == codes_[0])
                class_[static_cast<unsigned char>(ch[0])] |= kCandidate;
        };
        int candidates = 0;
        for (int b = 0; b < 256; ++b) {
            const char one[1] = {static_cast<char>(b)};
            consider({one, 1});
            if (class_[b] & kTakesMark) {
                for (int mark : {0xDE, 0xDF}) {
                    const char two[2] = {static_cast<char>(b), static_cast<char>(mark)};
                    consider({two, 2});
                }
            }
            if (IsLeadByte(static_cast<unsigned char>(b)) && !(class_[b] & kCandidate)) {
                for (int t = 0x40; t <= 0xFC; ++t) {
                    if (!IsTrailByte(static_cast<unsigned char>(t)))
                        continue;
                    const char two[2] = {static_cast<char>(b), static_cast<char>(t)};
                    consider({two, 2});
                }
            }
            if (class_[b] & kCandidate) {
                ++candidates;
                onlyCandidate_ = b;
            }
        }
        if (candidates != 1 || fuzzy_)
            onlyCandidate_ = -1;
    }

    bool Empty() const { return codes_.empty(); }

    // The character at pos (a character start before text.size()), folded.
    TFoldedChar UnitAt(std::string_view text, std::size_t pos) const
    {
        TFoldedChar c;
        if (fuzzy_) {
            c = FuzzyFoldChar(text, pos);
        } else {
            c.Length = CharLength(text, pos);
            const auto b = static_cast<unsigned char>(text[pos]);
            c.Code = c.Length == 2 ? DoubleByteCode(b, static_cast<unsigned char>(text[pos + 1])) : b;
        }
        if (ignoreCase_)
            c.Code = FoldCase(c.Code);
        return c;
    }

    // Does a match start at pos? `textEnds`: the text ends where `text` does;
    // otherwise an attempt that needs a byte past it gives NeedMore.
    Outcome TryAt(std::string_view text, std::size_t pos, bool textEnds, std::size_t& end) const
    {
        const std::size_t n = text.size();
        std::size_t q = pos;
        for (std::size_t i = 0; i < codes_.size(); ++i) {
            for (;;) {
                if (q >= n)
                    return textEnds ? Outcome::Miss : Outcome::NeedMore;
                if (q + 1 >= n && !textEnds)  // the character's length depends on the next byte
                    return Outcome::NeedMore;
                const TFoldedChar c = UnitAt(text, q);
                if (c.Code == codes_[i]) {
                    q += c.Length;
                    break;
                }
                // Only after the first character has matched, and only text
                // that the pattern does not ask for here, is passed over.
                if (i == 0 || !Skippable(text, q, c.Length))
                    return Outcome::Miss;
                q += c.Length;
            }
        }
        if (wholeWord_) {
            if (q < n) {
                if (!IsDelimiter(static_cast<unsigned char>(text[q])))
                    return Outcome::Miss;
            } else if (!textEnds) {
                return Outcome::NeedMore;
            }
        }
        end = q;
        return Outcome::Hit;
    }

    // The first match starting in [pos, stop), pos a character start. Steps
    // from character to character so that no match starts on a trail byte;
    // bytes that cannot begin a match are passed over by a table look-up.
    Found FindFrom(std::string_view text, std::size_t pos, std::size_t stop, bool textEnds) const
    {
        const auto* s = reinterpret_cast<const unsigned char*>(text.data());
        const std::size_t n = text.size();
        std::size_t p = pos;
        while (p < stop) {
            if (onlyCandidate_ >= 0) {
                // Jump to the next byte that can start a match (or to the
                // last byte before the stop), then to a character start.
                const void* hit = std::memchr(s + p, onlyCandidate_, stop - p);
                const std::size_t q = hit ? static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - s)
                                          : stop - 1;
                p = CharStartAtOrAfter(s, p, q);
                if (p >= stop)
                    break;
            }
            const uint8_t cls = class_[s[p]];
            if (cls == 0) {
                ++p;
                continue;
            }
            if (p + 1 >= n && !textEnds)
                return {Outcome::NeedMore, p, p};
            if (cls & kCandidate) {
                std::size_t end = 0;
                const Outcome o = TryAt(text, p, textEnds, end);
                if (o == Outcome::Hit)
                    return {o, p, end};
                if (o == Outcome::NeedMore)
                    return {o, p, p};
            }
            if (cls & kLead)
                p += p + 1 < n && IsTrailByte(s[p + 1]) ? 2 : 1;
            else if (cls & kTakesMark)
                p += p + 1 < n && TakesSoundMark(s[p], s[p + 1]) ? 2 : 1;
            else
                ++p;
        }
        return {Outcome::Miss, p, p};
    }

private:
    static constexpr uint8_t kCandidate = 1;
    static constexpr uint8_t kLead = 2;
    static constexpr uint8_t kTakesMark = 4;  // half-width kana that fuzzy folding merges with a sound mark

    // q if a character starts at byte q, else q + 1 (q is then a trail
    // byte); `known` is a character start at or before q. A byte outside the
    // lead-byte ranges always ends a character, so the run of lead-range bytes
    // just before q pairs up from its start: an odd run makes q a trail byte
    // (when it can be one). The walk back stops at `known`, so repeated calls
    // with a rising `known` cost linear time in all.
    static std::size_t CharStartAtOrAfter(const unsigned char* s, std::size_t known, std::size_t q)
    {
        std::size_t j = q;
        while (j > known && IsLeadByte(s[j - 1]))
            --j;
        if ((q - j) % 2 == 1 && IsTrailByte(s[q]))
            return q + 1;
        return q;
    }

    bool Skippable(std::string_view text, std::size_t q, int length) const
    {
        const auto b = static_cast<unsigned char>(text[q]);
        if (length == 2)
            return skipSpace_ && b == 0x81 && static_cast<unsigned char>(text[q + 1]) == 0x40;
        if (b == '\r' || b == '\n')
            return skipBreaks_;
        if (b == ' ' || b == '\t')
            return skipSpace_;
        return false;
    }

    bool fuzzy_;
    bool ignoreCase_;
    bool wholeWord_;
    bool skipBreaks_;
    bool skipSpace_;
    std::vector<uint16_t> codes_;
    std::array<uint8_t, 256> class_{};
    int onlyCandidate_ = -1;  // the one byte that can start a match, when there is just one (not fuzzy)
};

// A run of consecutive rows copied into one buffer, CR LF after each
// line-break row.
class JoinedRows {
public:
    explicit JoinedRows(const TEditorScreenStrings& store) : store_(store), count_(store.GetCount()) {}

    void Reset(int row)
    {
        text_.clear();
        starts_.clear();
        first_ = next_ = row;
    }

    std::string_view Text() const { return text_; }
    bool AtTextEnd() const { return next_ >= count_; }
    std::size_t RowOffset(int row) const { return starts_[row - first_]; }

    void AppendThrough(int row)
    {
        while (next_ <= row)
            AppendRow();
    }

    // At least one row, and rows until `bytes` more are held or the text ends.
    void AppendBytes(std::size_t bytes)
    {
        const std::size_t target = text_.size() + bytes;
        do
            AppendRow();
        while (next_ < count_ && text_.size() < target);
    }

    // Forgets the rows before the one holding offset pos (all rows when pos
    // is at the end); returns how many bytes went.
    std::size_t DropRowsBefore(std::size_t pos)
    {
        std::size_t keepFrom = starts_.size();
        if (pos < text_.size())
            keepFrom = static_cast<std::size_t>(std::upper_bound(starts_.begin(), starts_.end(), pos)
                                                - starts_.begin()) - 1;
        const std::size_t dropped = keepFrom < starts_.size() ? starts_[keepFrom] : text_.size();
        text_.erase(0, dropped);
        starts_.erase(starts_.begin(), starts_.begin() + static_cast<std::ptrdiff_t>(keepFrom));
        for (std::size_t& s : starts_)
            s -= dropped;
        first_ += static_cast<int>(keepFrom);
        return dropped;
    }

    SearchHit Locate(std::size_t start, std::size_t end) const
    {
        const auto k = static_cast<std::size_t>(std::upper_bound(starts_.begin(), starts_.end(), start)
                                                - starts_.begin()) - 1;
        return {first_ + static_cast<int>(k), static_cast<int>(start - starts_[k]),
                static_cast<int>(end - start)};
    }

private:
    void AppendRow()
    {
        starts_.push_back(text_.size());
        text_.append(store_.RowView(next_));
        if (store_.GetRowAttribute(next_) == raLineBreak)
            text_.append("\r\n");
        ++next_;
    }

    const TEditorScreenStrings& store_;
    const int count_;
    std::string text_;
    std::vector<std::size_t> starts_;  // offset of each held row, from row first_ on
    int first_ = 0;
    int next_ = 0;  // the first row not held
};

std::optional<SearchHit> SearchForward(const TEditorScreenStrings& store, const PatternMatcher& m, int fromRow,
                                       int fromIndex)
{
    if (fromRow < 0) {
        fromRow = 0;
        fromIndex = 0;
    }
    if (fromRow >= store.GetCount())
        return std::nullopt;
    JoinedRows w(store);
    w.Reset(fromRow);
    w.AppendBytes(kWindowBytes);
    // The first character start at or after fromIndex.
    const std::size_t target = std::clamp<std::size_t>(static_cast<std::size_t>(std::max(fromIndex, 0)), 0,
                                                       store.RowView(fromRow).size());
    std::size_t p = 0;
    while (p < target)
        p += static_cast<std::size_t>(CharLength(w.Text(), p));

    for (;;) {
        const PatternMatcher::Found f = m.FindFrom(w.Text(), p, w.Text().size(), w.AtTextEnd());
        if (f.Kind == PatternMatcher::Outcome::Hit)
            return w.Locate(f.Pos, f.End);
        if (w.AtTextEnd())
            return std::nullopt;
        // Move on, keeping the row where the unfinished attempt starts.
        p = f.Pos - w.DropRowsBefore(f.Pos);
        w.AppendBytes(std::max(kWindowBytes, w.Text().size()));
    }
}

std::optional<SearchHit> SearchBackward(const TEditorScreenStrings& store, const PatternMatcher& m, int fromRow,
                                        int fromIndex)
{
    const int count = store.GetCount();
    if (fromRow < 0)
        return std::nullopt;
    const bool fromTextEnd = fromRow >= count;
    int last = fromTextEnd ? count - 1 : fromRow;
    JoinedRows w(store);
    bool firstWindow = true;
    for (;;) {
        // Rows [first, last], about a window's worth, ending at the start point.
        int first = last;
        std::size_t bytes = store.RowView(last).size();
        while (first > 0 && bytes < kWindowBytes)
            bytes += store.RowView(--first).size() + 2;
        w.Reset(first);
        w.AppendThrough(last);
        std::size_t limit = w.Text().size();
        if (firstWindow && !fromTextEnd) {
            const std::size_t rowLength = store.RowView(last).size();
            limit = w.RowOffset(last)
                + std::min(static_cast<std::size_t>(std::max(fromIndex, 0)), rowLength);
        }
        firstWindow = false;

        std::optional<SearchHit> best;
        std::size_t p = 0;
        for (;;) {
            const PatternMatcher::Found f = m.FindFrom(w.Text(), p, limit, w.AtTextEnd());
            if (f.Kind == PatternMatcher::Outcome::NeedMore) {
                w.AppendBytes(std::max(kWindowBytes, w.Text().size()));
                p = f.Pos;
                continue;
            }
            if (f.Kind == PatternMatcher::Outcome::Miss)
                break;
            best = w.Locate(f.Pos, f.End);
            p = f.Pos + static_cast<std::size_t>(m.UnitAt(w.Text(), f.Pos).Length);
        }
        if (best)
            return best;
        if (first == 0)
            return std::nullopt;
        last = first - 1;
    }
}

}  // namespace

std::optional<SearchHit> SearchDocument(const TEditorScreenStrings& store, std::string_view pattern,
                                        uint16_t options, int fromRow, int fromIndex)
{
    if (pattern.empty() || store.GetCount() == 0)
        return std::nullopt;
    const PatternMatcher m(pattern, options);
    if (m.Empty())
        return std::nullopt;
    if (HasSearchOption(options, soDown))
        return SearchForward(store, m, fromRow, fromIndex);
    return SearchBackward(store, m, fromRow, fromIndex);
}
