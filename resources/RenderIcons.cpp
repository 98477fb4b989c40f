// Draws the program's icon from its SVG into the PNG files of the hicolor
// icon theme: OUT_DIR/hicolor/NxN/apps/scrivlet.png for each size.
// Usage: RenderIcons ICON.svg OUT_DIR SIZE...
#include "platform/FlatSvgDrawing.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s ICON.svg OUT_DIR SIZE...\n", argv[0]);
        return 2;
    }
    const QString svgPath = QString::fromLocal8Bit(argv[1]);
    QFile file(svgPath);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], qPrintable(file.errorString()));
        return 1;
    }
    QString error;
    const std::optional<FlatSvgDrawing> drawing = FlatSvgDrawing::Read(file.readAll(), &error);
    if (!drawing) {
        std::fprintf(stderr, "%s: %s\n", argv[1], qPrintable(error));
        return 1;
    }
    const QDir out(QString::fromLocal8Bit(argv[2]));
    for (int i = 3; i < argc; ++i) {
        bool ok = false;
        const int size = QByteArray(argv[i]).toInt(&ok);
        if (!ok || size <= 0 || size > 1024) {
            std::fprintf(stderr, "bad icon size \"%s\"\n", argv[i]);
            return 2;
        }
        const QString folder = QStringLiteral("hicolor/%1x%1/apps").arg(size);
        const QString path = out.filePath(folder + QStringLiteral("/scrivlet.png"));
        if (!out.mkpath(folder) || !drawing->Render(size).save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
