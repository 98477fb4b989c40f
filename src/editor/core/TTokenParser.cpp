#include "editor/core/TTokenParser.h"

#include "editor/core/TFountain.h"

namespace {

// Never changed, so every plain scanner may share it.
const TFountain& EmptyScheme()
{
    static const TFountain scheme;
    return scheme;
}

}  // namespace

TTokenParser::TTokenParser() : TFountainParser(&EmptyScheme()) {}
