#include "app/WindowGeometryClamp.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;

// Edges in 64 bits: Left + Width of two ints may not fit in one.
struct Span {
    std::int64_t begin;
    std::int64_t end;
};

Span Horizontal(const WindowRect& r) { return {r.Left, std::int64_t(r.Left) + r.Width}; }
Span Vertical(const WindowRect& r) { return {r.Top, std::int64_t(r.Top) + r.Height}; }

std::int64_t Overlap(Span a, Span b) { return std::max<std::int64_t>(0, std::min(a.end, b.end) - std::max(a.begin, b.begin)); }

// The squared distance between the centres, in half pixels; in double, as
// the square of a difference of two far edges does not fit in 64 bits.
double CentreDistance(const WindowRect& a, const WindowRect& b)
{
    const Span ah = Horizontal(a), av = Vertical(a), bh = Horizontal(b), bv = Vertical(b);
    const double dx = double((ah.begin + ah.end) - (bh.begin + bh.end));
    const double dy = double((av.begin + av.end) - (bv.begin + bv.end));
    return dx * dx + dy * dy;
}

// `size` long, moved the least to lie within `area` (which it fits in).
int Fit(std::int64_t begin, int size, Span area)
{
    return int(std::clamp(begin, area.begin, area.end - size));
}

}  // namespace

WindowRect ClampWindowGeometry(const WindowRect& stored, const std::vector<WindowRect>& screens)
{
    WindowRect r = stored;
    if (r.Width <= 0 || r.Height <= 0) {
        r.Width = kDefaultWidth;
        r.Height = kDefaultHeight;
    }
    std::vector<WindowRect> areas;
    for (const WindowRect& s : screens) {
        if (s.Width > 0 && s.Height > 0)
            areas.push_back(s);
    }
    if (areas.empty()) {
        r.Width = std::min(r.Width, kMaxWindowExtent);
        r.Height = std::min(r.Height, kMaxWindowExtent);
        return r;
    }

    const WindowRect* best = nullptr;
    std::int64_t bestOverlap = 0;
    for (const WindowRect& s : areas) {
        const std::int64_t overlap = Overlap(Horizontal(r), Horizontal(s)) * Overlap(Vertical(r), Vertical(s));
        if (overlap > bestOverlap) {
            best = &s;
            bestOverlap = overlap;
        }
    }
    if (!best) {
        best = &areas.front();
        for (const WindowRect& s : areas) {
            if (CentreDistance(r, s) < CentreDistance(r, *best))
                best = &s;
        }
    }

    r.Width = std::min(r.Width, best->Width);
    r.Height = std::min(r.Height, best->Height);
    r.Left = Fit(r.Left, r.Width, Horizontal(*best));
    r.Top = Fit(r.Top, r.Height, Vertical(*best));
    return r;
}
