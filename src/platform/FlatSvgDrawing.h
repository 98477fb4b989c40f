#pragma once
#include <QColor>
#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QRectF>
#include <QString>

#include <optional>

class QByteArray;
class QPainter;

// A drawing in the small part of SVG that the program's icon is written in:
// an <svg> with a viewBox holding <rect> and <path> elements (path commands
// M L H V C Q Z, absolute or relative), each filled and/or stroked in one flat
// colour (#rgb, #rrggbb or none). Anything else is refused with a message
// rather than drawn wrong, so the icon file cannot drift from what is drawn.
class FlatSvgDrawing {
public:
    // The drawing read from `svg`, or nothing with `*error` saying why.
    static std::optional<FlatSvgDrawing> Read(const QByteArray& svg, QString* error);

    const QRectF& ViewBox() const { return viewBox_; }
    int ShapeCount() const { return static_cast<int>(shapes_.size()); }

    // Draws the view box scaled into `target`.
    void Paint(QPainter& painter, const QRectF& target) const;
    // A square image of `size` pixels, transparent outside the shapes.
    QImage Render(int size) const;

private:
    struct Shape {
        QPainterPath path;
        QColor fill;    // invalid: not filled
        QColor stroke;  // invalid: not stroked
        double strokeWidth = 1;
    };

    QRectF viewBox_;
    QList<Shape> shapes_;
};
