#include "app/MarkingImage.h"

#include <QPainter>
#include <QPolygon>

const QImage& MarkingImage()
{
    static const QImage image = [] {
        QImage flag(11, 11, QImage::Format_ARGB32_Premultiplied);
        flag.fill(Qt::transparent);
        QPainter p(&flag);
        // The pole, and a pennant pointing right.
        p.fillRect(1, 0, 1, 11, QColor(0x40, 0x40, 0x40));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xD0, 0x20, 0x20));
        p.drawPolygon(QPolygon({QPoint(2, 0), QPoint(10, 3), QPoint(2, 7)}));
        return flag;
    }();
    return image;
}
