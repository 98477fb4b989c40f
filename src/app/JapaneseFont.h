#pragma once

#include <QFont>

// A monospace font that has the Japanese glyphs: the first of the families we
// know to be fixed-width that is installed here, else the system's fixed font.
QFont JapaneseMonospaceFont(int pointSize);
