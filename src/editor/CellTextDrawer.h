#pragma once
#include <QColor>
#include <QFont>
#include <QRawFont>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "editor/core/TFontStyles.h"

class QPainter;

// Draws Shift-JIS row text on the editor's fixed cell grid: every character
// at the x of its first cell, whatever the font's own advances. Characters
// are decoded one at a time through the codec for display only; undecodable
// bytes come out as the codec's visible placeholders.
//
// Glyphs are drawn as glyph runs of a raw font with explicit positions, one
// run per font per call, so no measuring happens while painting. Characters
// the raw font has no glyph for are drawn one by one with the font's
// fallback families.
class CellTextDrawer {
public:
    // `ascii` draws the printable ASCII characters.
    void SetFonts(const QFont& font, const QFont& ascii, int colWidth, int fontHeight);
    const QFont& Font() const { return font_; }
    int ColWidth() const { return colWidth_; }
    int FontHeight() const { return fontHeight_; }
    int Ascent() const { return ascent_; }

    // Draws bytes [from, to) of `row`. columns[i] is the cell column of byte
    // i (TABs and trail bytes are skipped). x0 is the x of column 0, top the
    // row's top.
    void Draw(QPainter& p, std::string_view row, std::size_t from, std::size_t to, const std::vector<int>& columns,
              int x0, int top, const QColor& colour, TFontStyles style);

    // Draws code points that are not document bytes (the input method's
    // unfinished text): codes[i] at cell columns[i] for i in [from, to).
    void DrawCodes(QPainter& p, std::u32string_view codes, std::size_t from, std::size_t to,
                   const std::vector<int>& columns, int x0, int top, const QColor& colour);

private:
    struct Face {
        QRawFont raw;
        QFont font;
        std::unordered_map<char32_t, quint32> glyphs;
    };
    Face& FaceFor(bool ascii, TFontStyles style);
    quint32 Glyph(Face& face, char32_t code);
    // Glyph runs: cleared by Begin, filled by Put, drawn by Flush.
    void Begin();
    void Put(QPainter& p, Face& main, Face& ascii, char32_t code, qreal x, int baseline);
    void Flush(QPainter& p, Face& main, Face& ascii);

    QFont font_;
    QFont ascii_;
    int colWidth_ = 8;
    int fontHeight_ = 16;
    int ascent_ = 12;
    // [ascii][bold + 2 italic]
    std::array<std::array<Face, 4>, 2> faces_;
    std::array<std::array<bool, 4>, 2> ready_{};
    std::vector<quint32> runGlyphs_[2];
    std::vector<QPointF> runPositions_[2];
};
