#pragma once
#include <string>

#include "editor/core/TColor.h"
#include "editor/core/TFontStyles.h"

// The font an editor draws with, as stored settings describe it. The toolkit
// layer picks an installed family for it and measures it.
struct TEditorFont {
    std::string Name = "FixedSys"; // family name, UTF-8
    int Height = -16;              // negative: the character height in pixels
    TColor Color = clBlack;
    TFontStyles Style{};

    // Point size at 96 pixels per inch.
    int Size() const { return (Height < 0 ? -Height : Height) * 72 / 96; }
    void SetSize(int points) { Height = -((points * 96 + 36) / 72); }

    bool operator==(const TEditorFont&) const = default;
};
