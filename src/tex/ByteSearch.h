#pragma once
#include <cstddef>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Byte searches over long texts with many hits, 16 bytes at a time where
// the processor allows: the math test reads every line of the document
// before the caret, and a Shift-JIS text holds a 0x5C (the second byte of
// many kanji) every few characters.

// Calls `hit(pos)` for every byte equal to `ch` whose next byte is one of
// `next` (any next byte, and none at the end, when `next` is empty; at most
// eight of them are used as a filter, beyond that every `ch` is a hit), in
// order, while it returns true.
template <class Hit>
void ForEachByte(std::string_view text, char ch, std::string_view next, Hit&& hit)
{
    const char* const data = text.data();
    const size_t n = text.size();
    size_t i = 0;
#if defined(__SSE2__)
    const bool filter = !next.empty() && next.size() <= 8;
    __m128i seconds[8];
    for (size_t j = 0; filter && j < next.size(); ++j)
        seconds[j] = _mm_set1_epi8(next[j]);
    const __m128i wanted = _mm_set1_epi8(ch);
    // Positions [at, at + 16) whose bit is in `keep`, reading one byte past them.
    auto block = [&](size_t at, unsigned keep) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, wanted))) & keep;
        if (!mask)
            return true;
        if (filter) {
            const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at + 1));
            __m128i any = _mm_cmpeq_epi8(w, seconds[0]);
            for (size_t j = 1; j < next.size(); ++j)
                any = _mm_or_si128(any, _mm_cmpeq_epi8(w, seconds[j]));
            mask &= static_cast<unsigned>(_mm_movemask_epi8(any));
        }
        for (; mask; mask &= mask - 1)
            if (!hit(at + static_cast<size_t>(__builtin_ctz(mask))))
                return false;
        return true;
    };
    for (; i + 17 <= n; i += 16)
        if (!block(i, 0xFFFF))
            return;
    // The last whole block overlaps the ones before: only its new positions
    // count. The last byte has no next byte and is left to the loop below.
    if (n >= 17 && i < n - 1) {
        const size_t at = n - 17;
        if (!block(at, 0xFFFFu & ~((1u << (i - at)) - 1)))
            return;
        i = n - 1;
    }
#endif
    for (; i < n; ++i) {
        if (data[i] != ch)
            continue;
        if (!next.empty() && (i + 1 >= n || next.find(data[i + 1]) == std::string_view::npos))
            continue;
        if (!hit(i))
            return;
    }
}

// The bytes before the first `cut` byte (all of them when there is none),
// and how many `counted` bytes they hold.
struct CutCount {
    size_t length;
    size_t count;
};
inline CutCount CountBeforeFirst(std::string_view text, char cut, char counted)
{
    const char* const data = text.data();
    const size_t n = text.size();
    size_t count = 0;
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i c = _mm_set1_epi8(cut);
    const __m128i k = _mm_set1_epi8(counted);
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const unsigned cuts = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, c)));
        unsigned counts = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, k)));
        if (cuts) {
            const unsigned first = static_cast<unsigned>(__builtin_ctz(cuts));
            counts &= (1u << first) - 1;
            for (; counts; counts &= counts - 1)
                ++count;
            return {i + first, count};
        }
        // Counted bytes are rare in the texts searched: a loop over the bits.
        for (; counts; counts &= counts - 1)
            ++count;
    }
    // The last whole block overlaps the ones before: only its new bytes count.
    if (n >= 16 && i < n) {
        const size_t at = n - 16;
        const unsigned fresh = 0xFFFFu & ~((1u << (i - at)) - 1);
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
        const unsigned cuts = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, c))) & fresh;
        unsigned counts = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, k))) & fresh;
        size_t end = n;
        if (cuts) {
            const unsigned first = static_cast<unsigned>(__builtin_ctz(cuts));
            counts &= (1u << first) - 1;
            end = at + first;
        }
        for (; counts; counts &= counts - 1)
            ++count;
        return {end, count};
    }
#endif
    for (; i < n; ++i) {
        if (data[i] == cut)
            return {i, count};
        count += data[i] == counted;
    }
    return {n, count};
}
