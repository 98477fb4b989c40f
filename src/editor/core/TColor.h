#pragma once
#include <cstdint>

// A colour as the editor stores it: 0x00BBGGRR, or one of the special
// values above 0x00FFFFFF.
using TColor = uint32_t;

// "No colour of its own": the control's background or font colour is used.
constexpr TColor clNone = 0x1FFFFFFF;

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;

// The system's window background and window text colours, resolved by the
// toolkit layer when painting.
constexpr TColor clWindow = 0x80000005;
constexpr TColor clWindowText = 0x80000008;
