#pragma once
#include <string>
#include <vector>

// The math delimiter pairs a new installation starts with: opening and
// closing delimiters paired by position (the dollar sign is not among
// them; the math test counts it on its own).
std::vector<std::string> DefaultBeginMath();
std::vector<std::string> DefaultEndMath();
