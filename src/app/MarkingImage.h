#pragma once
#include <QImage>

// The picture the image bar shows beside a marked row: a small flag, 11 x 11
// pixels, drawn once per program.
const QImage& MarkingImage();
