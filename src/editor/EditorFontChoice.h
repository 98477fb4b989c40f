#pragma once
#include <QFont>

#include "editor/core/TEditorFont.h"

// Turns a stored font description into installed Qt fonts.
//
// The stored family ("FixedSys", "ＭＳ ゴシック") is often missing here. Then
// the first installed family is taken whose full-width glyphs are twice as
// wide as its half-width ones, known Japanese monospace families first. Qt
// calls none of them fixed-pitch, so that is decided by measuring.
namespace EditorFontChoice {

// Whether `font` draws あ exactly twice as wide as a.
bool IsDualWidthMonospace(const QFont& font);

// The font to draw with: family, pixel height and styles of `stored`.
QFont Resolve(const TEditorFont& stored);

// A Latin monospace font for the printable ASCII characters, sized so that
// its advance fits `colWidth`; the Japanese families draw the backslash as
// a yen sign. `base` itself when no such family is installed.
QFont AsciiCompanion(const QFont& base, int colWidth);

}
