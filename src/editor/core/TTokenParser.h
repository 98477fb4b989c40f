#pragma once
#include "editor/core/TFountainParser.h"

// The base scanner without colouring, for finding the word under a point:
// it reads text with an empty scheme (no brackets, no reserved words) unless
// given one, and its colour query always answers none.
class TTokenParser : public TFountainParser {
public:
    TTokenParser();
    explicit TTokenParser(const TFountain* fountain) : TFountainParser(fountain) {}

    const TFountainColor* TokenToFountainColor() const override { return nullptr; }
};
