#pragma once
#include <vector>

// A window's position and size in desktop pixels, as the settings store it.
struct WindowRect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

// The largest width or height kept when no screen is known.
inline constexpr int kMaxWindowExtent = 16384;

// Fits a stored window geometry onto the screens the desktop has now, given
// as their available areas (without task bars), the primary screen first:
//
// - a geometry that lies wholly on one screen comes back unchanged;
// - a size that is not positive takes the default 640 x 480 (then fitted);
// - otherwise the window goes to the screen it overlaps most (the nearest
//   screen, by its centre, when it overlaps none), is made no larger than
//   that screen and is moved the least distance that puts it wholly on it.
//
// With no screens known the geometry is only bounded to `kMaxWindowExtent` per
// side. Any int values are safe, however absurd: the arithmetic cannot
// overflow.
WindowRect ClampWindowGeometry(const WindowRect& stored, const std::vector<WindowRect>& screens);
