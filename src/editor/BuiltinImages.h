#pragma once
#include <QCursor>
#include <QImage>

// The pictures the editor control draws without any image list: the row-mark
// images, the ruler's digit glyphs and its own two mouse cursors. They are
// drawn from small pixel patterns once per program.
namespace BuiltinImages {

// Mark n (0..9): 8 x 11 pixels, the digit on a tab; transparent around it.
const QImage& MarkDigit(int n);
// Mark 10 + n (n = 0..5): 11 x 11 pixels, six distinct symbols.
const QImage& MarkSymbol(int n);

// The ruler's digit strip: 56 x 9 pixels, glyph d (4 pixels wide and 7 high,
// "1" only 3) at x = 5 d + 1, y = 1; set pixels opaque, the rest transparent.
const QImage& RulerDigits();
// Pixels a ruler glyph advances: 5, or 3 for "1".
int RulerDigitAdvance(int digit);

// The cursor over a selection being copied by dragging, and the cursor over
// the left margin (an arrow pointing up and right).
const QCursor& DragSelCopyCursor();
const QCursor& RightArrowCursor();
const QCursor& DragSelCursor();

}
