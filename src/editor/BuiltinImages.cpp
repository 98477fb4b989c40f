#include "editor/BuiltinImages.h"

#include <QBitmap>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>

#include <array>

namespace BuiltinImages {
namespace {

// Digits 0..9 as 7 rows of 4 bits (the leftmost pixel is bit 3); "1" uses
// only the 3 leftmost columns.
constexpr std::array<std::array<uint8_t, 7>, 10> kDigits = {{
    {0b0110, 0b1001, 0b1001, 0b1001, 0b1001, 0b1001, 0b0110},
    {0b0100, 0b1100, 0b0100, 0b0100, 0b0100, 0b0100, 0b1110},
    {0b0110, 0b1001, 0b0001, 0b0010, 0b0100, 0b1000, 0b1111},
    {0b1110, 0b0001, 0b0001, 0b0110, 0b0001, 0b0001, 0b1110},
    {0b0010, 0b0110, 0b1010, 0b1010, 0b1111, 0b0010, 0b0010},
    {0b1111, 0b1000, 0b1110, 0b0001, 0b0001, 0b1001, 0b0110},
    {0b0110, 0b1000, 0b1000, 0b1110, 0b1001, 0b1001, 0b0110},
    {0b1111, 0b0001, 0b0010, 0b0010, 0b0100, 0b0100, 0b0100},
    {0b0110, 0b1001, 0b1001, 0b0110, 0b1001, 0b1001, 0b0110},
    {0b0110, 0b1001, 0b1001, 0b0111, 0b0001, 0b0001, 0b0110},
}};

void PutDigit(QImage& image, int digit, int x, int y, QRgb colour)
{
    for (int row = 0; row < 7; ++row)
        for (int bit = 0; bit < 4; ++bit)
            if (kDigits[digit][row] & (8 >> bit))
                image.setPixel(x + bit, y + row, colour);
}

QImage Blank(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

std::array<QImage, 10> MakeDigitMarks()
{
    std::array<QImage, 10> images;
    for (int n = 0; n < 10; ++n) {
        QImage image = Blank(8, 11);
        // A dark blue tab with the digit in white.
        const QRgb tab = qRgb(0, 0, 128);
        for (int y = 0; y < 11; ++y)
            for (int x = 0; x < 8; ++x)
                if (!((y == 0 || y == 10) && (x == 0 || x == 7)))
                    image.setPixel(x, y, tab);
        PutDigit(image, n, 2, 2, qRgb(255, 255, 255));
        images[static_cast<size_t>(n)] = image;
    }
    return images;
}

std::array<QImage, 6> MakeSymbolMarks()
{
    std::array<QImage, 6> images;
    for (int n = 0; n < 6; ++n) {
        QImage image = Blank(11, 11);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QColor(0, 0, 0));
        switch (n) {
        case 0: // a red disc
            p.setBrush(QColor(220, 0, 0));
            p.drawEllipse(1, 1, 8, 8);
            break;
        case 1: // a green square
            p.setBrush(QColor(0, 160, 0));
            p.drawRect(1, 1, 8, 8);
            break;
        case 2: // a blue triangle
            p.setBrush(QColor(0, 0, 220));
            p.drawPolygon(QPolygon({QPoint(5, 1), QPoint(10, 9), QPoint(0, 9)}));
            break;
        case 3: // a yellow diamond
            p.setBrush(QColor(230, 200, 0));
            p.drawPolygon(QPolygon({QPoint(5, 0), QPoint(10, 5), QPoint(5, 10), QPoint(0, 5)}));
            break;
        case 4: // a cross
            p.setPen(QPen(QColor(160, 0, 160), 2));
            p.drawLine(2, 2, 8, 8);
            p.drawLine(8, 2, 2, 8);
            break;
        case 5: // a tick
            p.setPen(QPen(QColor(0, 128, 128), 2));
            p.drawLine(1, 5, 4, 8);
            p.drawLine(4, 8, 9, 2);
            break;
        }
        images[static_cast<size_t>(n)] = image;
    }
    return images;
}

QImage MakeRulerDigits()
{
    QImage image = Blank(56, 9);
    for (int d = 0; d < 10; ++d)
        PutDigit(image, d, 5 * d + 1, 1, qRgb(0, 0, 0));
    return image;
}

// An arrow cursor from a 16 x 16 pattern: 'X' black, '.' white, ' ' clear.
QCursor PatternCursor(const char* const (&rows)[16], int hotX, int hotY)
{
    QImage image = Blank(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16 && rows[y][x]; ++x) {
            if (rows[y][x] == 'X')
                image.setPixel(x, y, qRgb(0, 0, 0));
            else if (rows[y][x] == '.')
                image.setPixel(x, y, qRgb(255, 255, 255));
        }
    return QCursor(QPixmap::fromImage(image), hotX, hotY);
}

}  // namespace

const QImage& MarkDigit(int n)
{
    static const std::array<QImage, 10> images = MakeDigitMarks();
    return images[static_cast<size_t>(std::clamp(n, 0, 9))];
}

const QImage& MarkSymbol(int n)
{
    static const std::array<QImage, 6> images = MakeSymbolMarks();
    return images[static_cast<size_t>(std::clamp(n, 0, 5))];
}

const QImage& RulerDigits()
{
    static const QImage image = MakeRulerDigits();
    return image;
}

int RulerDigitAdvance(int digit) { return digit == 1 ? 3 : 5; }

const QCursor& RightArrowCursor()
{
    static const char* const rows[16] = {
        "          X     ", "         XX     ", "        X.X     ", "       X..X     ",
        "      X...X     ", "     X....X     ", "    X.....X     ", "   X......X     ",
        "  X.......X     ", " XXXXX....X     ", "     X.X..X     ", "     XX X.X     ",
        "     X   XX     ", "          X     ", "                ", "                ",
    };
    static const QCursor cursor = PatternCursor(rows, 10, 0);
    return cursor;
}

const QCursor& DragSelCursor()
{
    static const char* const rows[16] = {
        "X               ", "XX              ", "X.X             ", "X..X            ",
        "X...X           ", "X....X          ", "X.....X         ", "X..XXXX         ",
        "X.X             ", "XX XXXXXXX      ", "X  X.....X      ", "   X.....X      ",
        "   X.....X      ", "   X.....X      ", "   XXXXXXX      ", "                ",
    };
    static const QCursor cursor = PatternCursor(rows, 0, 0);
    return cursor;
}

const QCursor& DragSelCopyCursor()
{
    static const char* const rows[16] = {
        "X               ", "XX              ", "X.X             ", "X..X            ",
        "X...X           ", "X....X          ", "X.....X         ", "X..XXXX         ",
        "X.X             ", "XX XXXXXXXXX    ", "X  X...X...X    ", "   X...X...X    ",
        "   X.XXXXX.X    ", "   X...X...X    ", "   X...X...X    ", "   XXXXXXXXX    ",
    };
    static const QCursor cursor = PatternCursor(rows, 0, 0);
    return cursor;
}

}  // namespace BuiltinImages
