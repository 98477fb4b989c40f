#include "tex/PatternScanner.h"

#include <algorithm>
#include <cstring>

PatternScanner::PatternScanner(std::vector<std::string> patterns)
    : patterns_(std::move(patterns)), slotOf_(patterns_.size(), -1), wanted_(patterns_.size(), 0),
      seen_(patterns_.size(), 0), prefixes_(patterns_.size(), 0), masks_(patterns_.size(), 0)
{
    for (size_t id = 0; id < patterns_.size(); ++id) {
        const std::string& p = patterns_[id];
        if (p.empty())
            continue;
        const size_t head = std::min<size_t>(p.size(), 8);
        std::memcpy(&prefixes_[id], p.data(), head);
        std::memset(&masks_[id], 0xff, head);
        const unsigned char first = static_cast<unsigned char>(p[0]);
        int slot = -1;
        for (size_t s = 0; s < slots_.size(); ++s)
            if (slots_[s].first == first)
                slot = static_cast<int>(s);
        if (slot < 0) {
            slot = static_cast<int>(slots_.size());
            slots_.emplace_back();
            slots_.back().first = first;
        }
        slotOf_[id] = slot;
        Slot& s = slots_[static_cast<size_t>(slot)];
        if (p.size() == 1)
            s.single.push_back(static_cast<int>(id));
        else if (s.bySecond[static_cast<unsigned char>(p[1])].empty())
            s.seconds += p[1];
        if (p.size() > 1)
            s.bySecond[static_cast<unsigned char>(p[1])].push_back(static_cast<int>(id));
    }
}

void PatternScanner::Want(int id)
{
    const size_t i = static_cast<size_t>(id);
    if (wanted_[i] || slotOf_[i] < 0)
        return;
    wanted_[i] = 1;
    ++wantedCount_;
    ++slots_[static_cast<size_t>(slotOf_[i])].wanted;
}

void PatternScanner::Unwant(int id)
{
    const size_t i = static_cast<size_t>(id);
    if (!wanted_[i])
        return;
    wanted_[i] = 0;
    --wantedCount_;
    --slots_[static_cast<size_t>(slotOf_[i])].wanted;
}

void PatternScanner::TryAt(const char* data, size_t n, size_t pos, const Slot& slot, int& left)
{
    // The first eight bytes are compared as one word, the rest only then.
    uint64_t word = 0;
    const bool whole = pos + 8 <= n;
    if (whole)
        std::memcpy(&word, data + pos, 8);
    auto take = [&](int id) {
        const size_t i = static_cast<size_t>(id);
        if (!wanted_[i] || seen_[i] == stamp_)
            return;
        const std::string& p = patterns_[i];
        if (p.size() > n - pos)
            return;
        if (whole) {
            if ((word & masks_[i]) != prefixes_[i])
                return;
            if (p.size() > 8 && std::memcmp(data + pos + 8, p.data() + 8, p.size() - 8) != 0)
                return;
        } else if (std::memcmp(data + pos, p.data(), p.size()) != 0) {
            return;
        }
        seen_[i] = stamp_;
        found_.push_back(id);
        --left;
    };
    for (int id : slot.single)
        take(id);
    if (pos + 1 < n)
        for (int id : slot.bySecond[static_cast<unsigned char>(data[pos + 1])])
            take(id);
}

void PatternScanner::NewText()
{
    found_.clear();
    if (++stamp_ == 0) {
        std::fill(seen_.begin(), seen_.end(), 0u);
        stamp_ = 1;
    }
}

const std::vector<int>& PatternScanner::FindIn(std::string_view text)
{
    if (wantedCount_ == 0) {
        found_.clear();
        return found_;
    }
    NewText();
    const char* const data = text.data();
    const size_t n = text.size();
    for (const Slot& slot : slots_) {
        int left = slot.wanted;
        if (left == 0)
            continue;
        // With a one-byte pattern every first byte is a candidate.
        const std::string_view next = slot.single.empty() ? std::string_view(slot.seconds) : std::string_view();
        ForEachByte(text, static_cast<char>(slot.first), next, [&](size_t pos) {
            TryAt(data, n, pos, slot, left);
            return left > 0;
        });
    }
    return found_;
}

PatternScanner::CutScan PatternScanner::FindBeforeCut(std::string_view text, char cut, char counted)
{
    const Slot* only = nullptr;
    int active = 0;
    for (const Slot& slot : slots_)
        if (slot.wanted > 0) {
            only = &slot;
            ++active;
        }
    if (cutChar_ != static_cast<unsigned char>(cut)) {
        // Which slots hold a pattern with the cut byte in it: worked out once.
        cutChar_ = static_cast<unsigned char>(cut);
        for (size_t id = 0; id < patterns_.size(); ++id)
            if (slotOf_[id] >= 0 && patterns_[id].find(cut) != std::string::npos)
                slots_[static_cast<size_t>(slotOf_[id])].holdsCut = true;
    }
    if (active != 1 || only->holdsCut || !only->single.empty() || only->seconds.size() > 8) {
        const CutCount before = CountBeforeFirst(text, cut, counted);
        FindIn(text.substr(0, before.length));
        return {before.length, before.count};
    }

    NewText();
    const char* const data = text.data();
    const size_t n = text.size();
    size_t count = 0;
    int left = only->wanted;
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i c = _mm_set1_epi8(cut);
    const __m128i k = _mm_set1_epi8(counted);
    const __m128i f = _mm_set1_epi8(static_cast<char>(only->first));
    const std::string& next = only->seconds;
    __m128i seconds[8];
    for (size_t j = 0; j < next.size(); ++j)
        seconds[j] = _mm_set1_epi8(next[j]);
    // Positions [at, at + 16) whose bit is in `keep`; true when the cut is among them.
    auto block = [&](size_t at, unsigned keep, size_t& end) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
        const unsigned cuts = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, c))) & keep;
        const unsigned limit = cuts ? ((1u << __builtin_ctz(cuts)) - 1) & keep : keep;
        unsigned counts = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, k))) & limit;
        for (; counts; counts &= counts - 1)
            ++count;
        unsigned firsts = left > 0 ? static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, f))) & limit : 0;
        if (firsts) {
            const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at + 1));
            __m128i any = _mm_cmpeq_epi8(w, seconds[0]);
            for (size_t j = 1; j < next.size(); ++j)
                any = _mm_or_si128(any, _mm_cmpeq_epi8(w, seconds[j]));
            firsts &= static_cast<unsigned>(_mm_movemask_epi8(any));
            for (; firsts && left > 0; firsts &= firsts - 1)
                TryAt(data, n, at + static_cast<size_t>(__builtin_ctz(firsts)), *only, left);
        }
        if (cuts)
            end = at + static_cast<size_t>(__builtin_ctz(cuts));
        return cuts != 0;
    };
    size_t end = n;
    for (; i + 17 <= n; i += 16)
        if (block(i, 0xFFFF, end))
            return {end, count};
    // The last whole block overlaps the ones before: only its new positions
    // count. Its last byte has no next byte and is left to the loop below.
    if (n >= 17 && i < n - 1) {
        const size_t at = n - 17;
        if (block(at, 0xFFFFu & ~((1u << (i - at)) - 1), end))
            return {end, count};
        i = n - 1;
    }
#endif
    for (; i < n; ++i) {
        const char b = data[i];
        if (b == cut)
            return {i, count};
        count += b == counted;
        if (left > 0 && static_cast<unsigned char>(b) == only->first)
            TryAt(data, n, i, *only, left);
    }
    return {n, count};
}
