#include "editor/CellTextDrawer.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>

#include "editor/core/ShiftJisCodec.h"

void CellTextDrawer::SetFonts(const QFont& font, const QFont& ascii, int colWidth, int fontHeight)
{
    font_ = font;
    ascii_ = ascii;
    colWidth_ = colWidth;
    fontHeight_ = fontHeight;
    ascent_ = QFontMetrics(font).ascent();
    for (auto& row : ready_)
        row.fill(false);
}

CellTextDrawer::Face& CellTextDrawer::FaceFor(bool ascii, TFontStyles style)
{
    const int s = (HasStyle(style, fsBold) ? 1 : 0) + (HasStyle(style, fsItalic) ? 2 : 0);
    Face& face = faces_[ascii ? 1 : 0][static_cast<size_t>(s)];
    if (!ready_[ascii ? 1 : 0][static_cast<size_t>(s)]) {
        QFont f = ascii ? ascii_ : font_;
        f.setBold(font_.bold() || HasStyle(style, fsBold));
        f.setItalic(font_.italic() || HasStyle(style, fsItalic));
        face.font = f;
        face.raw = QRawFont::fromFont(f);
        face.glyphs.clear();
        ready_[ascii ? 1 : 0][static_cast<size_t>(s)] = true;
    }
    return face;
}

quint32 CellTextDrawer::Glyph(Face& face, char32_t code)
{
    const auto found = face.glyphs.find(code);
    if (found != face.glyphs.end())
        return found->second;
    quint32 glyph = 0;
    if (face.raw.isValid()) {
        QChar chars[2];
        int count = 1;
        if (code > 0xFFFF) {
            chars[0] = QChar::highSurrogate(code);
            chars[1] = QChar::lowSurrogate(code);
            count = 2;
        } else {
            chars[0] = QChar(static_cast<char16_t>(code));
        }
        quint32 indexes[2] = {0, 0};
        int produced = 2;
        if (face.raw.glyphIndexesForChars(chars, count, indexes, &produced) && produced >= 1)
            glyph = indexes[0];
    }
    face.glyphs.emplace(code, glyph);
    return glyph;
}

void CellTextDrawer::Begin()
{
    for (int k = 0; k < 2; ++k) {
        runGlyphs_[k].clear();
        runPositions_[k].clear();
    }
}

void CellTextDrawer::Put(QPainter& p, Face& main, Face& ascii, char32_t code, qreal x, int baseline)
{
    const bool isAscii = code >= 0x20 && code < 0x7F;
    Face& face = isAscii ? ascii : main;
    const quint32 glyph = Glyph(face, code);
    if (glyph != 0) {
        runGlyphs_[isAscii ? 1 : 0].push_back(glyph);
        runPositions_[isAscii ? 1 : 0].push_back(QPointF(x, baseline));
    } else if (code != U' ') {
        // No glyph in the raw font: let Qt find a fallback family.
        p.setFont(face.font);
        p.drawText(QPointF(x, baseline), QString::fromUcs4(&code, 1));
    }
}

void CellTextDrawer::Flush(QPainter& p, Face& main, Face& ascii)
{
    for (int k = 0; k < 2; ++k) {
        if (runGlyphs_[k].empty())
            continue;
        QGlyphRun run;
        run.setRawFont(k == 1 ? ascii.raw : main.raw);
        run.setGlyphIndexes(QList<quint32>(runGlyphs_[k].begin(), runGlyphs_[k].end()));
        run.setPositions(QList<QPointF>(runPositions_[k].begin(), runPositions_[k].end()));
        p.drawGlyphRun(QPointF(0, 0), run);
    }
}

void CellTextDrawer::Draw(QPainter& p, std::string_view row, std::size_t from, std::size_t to,
                          const std::vector<int>& columns, int x0, int top, const QColor& colour, TFontStyles style)
{
    to = std::min({to, row.size(), columns.size()});
    if (from >= to)
        return;
    Face& main = FaceFor(false, style);
    Face& ascii = FaceFor(true, style);
    Begin();
    const int baseline = top + ascent_;
    p.setPen(colour);
    std::size_t i = from;
    while (i < to) {
        const ShiftJisCodec::DecodedChar ch = ShiftJisCodec::DecodeChar(row, i);
        const int bytes = std::max(1, ch.bytes);
        const int col = columns[i];
        i += static_cast<std::size_t>(bytes);
        if (ch.code == U'\t' || col < 0)
            continue;
        Put(p, main, ascii, ch.code, x0 + col * colWidth_, baseline);
    }
    Flush(p, main, ascii);
    if (HasStyle(style, fsStrikeOut)) {
        const int first = columns[from] >= 0 ? columns[from] : 0;
        const int y = top + fontHeight_ / 2;
        const int last = columns[to - 1] + 1;
        p.drawLine(x0 + first * colWidth_, y, x0 + last * colWidth_ - 1, y);
    }
}

void CellTextDrawer::DrawCodes(QPainter& p, std::u32string_view codes, std::size_t from, std::size_t to,
                               const std::vector<int>& columns, int x0, int top, const QColor& colour)
{
    to = std::min({to, codes.size(), columns.size()});
    if (from >= to)
        return;
    Face& main = FaceFor(false, TFontStyles{});
    Face& ascii = FaceFor(true, TFontStyles{});
    Begin();
    p.setPen(colour);
    for (std::size_t i = from; i < to; ++i)
        Put(p, main, ascii, codes[i], x0 + columns[i] * colWidth_, top + ascent_);
    Flush(p, main, ascii);
}
