#include "platform/ApplicationIcon.h"

#include "platform/FlatSvgDrawing.h"

#include <QFile>
#include <QPixmap>

const QList<int>& ApplicationIconSizes()
{
    static const QList<int> sizes{16, 22, 24, 32, 48, 64, 128, 256};
    return sizes;
}

QIcon ApplicationIcon()
{
    QIcon icon;
    QFile file(QStringLiteral(":/icons/scrivlet.svg"));
    if (!file.open(QIODevice::ReadOnly))
        return icon;
    // The build draws the same file into the installed PNGs and stops on an
    // error, so a drawing that does not read here cannot ship.
    const std::optional<FlatSvgDrawing> drawing = FlatSvgDrawing::Read(file.readAll(), nullptr);
    if (!drawing)
        return icon;
    for (int size : ApplicationIconSizes())
        icon.addPixmap(QPixmap::fromImage(drawing->Render(size)));
    return icon;
}
