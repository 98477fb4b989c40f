#pragma once
#include "editor/core/TFountainBracketCollection.h"

// The editor's bracket pairs, with operations that give every pair the same
// colour or style at once (one change notification each).
class TEditorBracketCollection : public TFountainBracketCollection {
public:
    void SetAllBkColor(TColor value);
    void SetAllColor(TColor value);
    void SetAllStyle(TFontStyles value);
};
