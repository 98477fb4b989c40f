#include <climits>

#include <gtest/gtest.h>

#include "app/WindowGeometryClamp.h"

namespace {

bool Same(const WindowRect& a, const WindowRect& b)
{
    return a.Left == b.Left && a.Top == b.Top && a.Width == b.Width && a.Height == b.Height;
}

#define EXPECT_RECT(actual, l, t, w, h) EXPECT_TRUE(Same(actual, WindowRect{l, t, w, h})) \
    << (actual).Left << "," << (actual).Top << " " << (actual).Width << "x" << (actual).Height

const std::vector<WindowRect> kTwoScreens = {{0, 0, 1920, 1040}, {1920, 0, 1280, 1024}};

TEST(ClampWindowGeometry, AWindowOnAScreenIsKeptEvenOnTheSecondOne)
{
    EXPECT_RECT(ClampWindowGeometry({100, 100, 640, 480}, kTwoScreens), 100, 100, 640, 480);
    EXPECT_RECT(ClampWindowGeometry({2000, 50, 800, 600}, kTwoScreens), 2000, 50, 800, 600);
}

TEST(ClampWindowGeometry, AbsurdSizesAndPlacesAreFittedWithoutOverflow)
{
    // The stored width that once asked for a 17 GB window.
    EXPECT_RECT(ClampWindowGeometry({100, 100, 2000000000, 480}, kTwoScreens), 0, 100, 1920, 480);
    EXPECT_RECT(ClampWindowGeometry({INT_MAX, INT_MAX, INT_MAX, INT_MAX}, kTwoScreens), 1920, 0, 1280, 1024);
    EXPECT_RECT(ClampWindowGeometry({INT_MIN, INT_MIN, 640, 480}, kTwoScreens), 0, 0, 640, 480);
    // Not positive: the default size.
    EXPECT_RECT(ClampWindowGeometry({100, 100, 0, -5}, kTwoScreens), 100, 100, 640, 480);
    // No screen known: only bounded.
    EXPECT_RECT(ClampWindowGeometry({-3, 7, INT_MAX, 300}, {}), -3, 7, kMaxWindowExtent, 300);
}

TEST(ClampWindowGeometry, GoesToTheScreenItOverlapsMostOrElseTheNearest)
{
    // Mostly on the second screen, hanging over its bottom edge.
    EXPECT_RECT(ClampWindowGeometry({1800, 900, 600, 400}, kTwoScreens), 1920, 624, 600, 400);
    // Off every screen, beyond the right one.
    EXPECT_RECT(ClampWindowGeometry({5000, 10, 300, 200}, kTwoScreens), 2900, 10, 300, 200);
    // A screen above the primary one, with negative coordinates.
    const std::vector<WindowRect> stacked = {{0, 0, 1024, 768}, {0, -900, 1600, 900}};
    EXPECT_RECT(ClampWindowGeometry({10, -950, 500, 400}, stacked), 10, -900, 500, 400);
}

}  // namespace
