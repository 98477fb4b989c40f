#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QIcon>
#include <QImage>

#include "platform/ApplicationIcon.h"
#include "platform/FlatSvgDrawing.h"

namespace {

QByteArray Svg(const char* body, const char* viewBox = "0 0 10 10")
{
    return QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"") + viewBox + "\">" + body + "</svg>";
}

QString ReadError(const QByteArray& svg)
{
    QString error;
    EXPECT_FALSE(FlatSvgDrawing::Read(svg, &error).has_value()) << svg.constData();
    return error;
}

TEST(FlatSvgDrawing, DrawsShapesScaledFromTheViewBox)
{
    // A red square on the left half (rect) and a blue square on the right half
    // (relative path), on a 20-unit box drawn at 40 pixels.
    QString error;
    const auto drawing = FlatSvgDrawing::Read(
        Svg("<rect x=\"0\" y=\"0\" width=\"10\" height=\"20\" fill=\"#f00\"/>"
            "<path d=\"m10 0 h10 v20 h-10 z\" fill=\"#0000ff\"/>",
            "0 0 20 20"),
        &error);
    ASSERT_TRUE(drawing) << error.toStdString();
    EXPECT_EQ(drawing->ShapeCount(), 2);
    const QImage image = drawing->Render(40);
    EXPECT_EQ(image.size(), QSize(40, 40));
    EXPECT_EQ(image.pixelColor(5, 20), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(35, 20), QColor(0, 0, 255));

    // Outside every shape stays transparent; fill="none" with a stroke draws only the outline.
    const auto ring = FlatSvgDrawing::Read(
        Svg("<path d=\"M2,2 L8,2 L8,8 L2,8 Z\" fill=\"none\" stroke=\"#000\" stroke-width=\"1\"/>"), &error);
    ASSERT_TRUE(ring) << error.toStdString();
    const QImage ringImage = ring->Render(100);
    EXPECT_EQ(ringImage.pixelColor(1, 1).alpha(), 0);
    EXPECT_EQ(ringImage.pixelColor(50, 50).alpha(), 0);
    EXPECT_EQ(ringImage.pixelColor(20, 50), QColor(0, 0, 0));
}

TEST(FlatSvgDrawing, AbsoluteAndRelativeCurvesDrawTheSameShape)
{
    QString error;
    const auto absolute = FlatSvgDrawing::Read(
        Svg("<path d=\"M1 1 C4 0 9 3 9 5 Q9 9 5 9 L1 9 V5 H2 Z\"/>"), &error);
    const auto relative = FlatSvgDrawing::Read(
        Svg("<path d=\"m1,1 c3-1 8 2 8 4 q0 4-4 4 l-4 0 v-4 h1 z\"/>"), &error);
    ASSERT_TRUE(absolute && relative) << error.toStdString();
    EXPECT_EQ(absolute->Render(64), relative->Render(64));
}

TEST(FlatSvgDrawing, RefusesWhatItCannotDrawInsteadOfDrawingItWrong)
{
    EXPECT_TRUE(ReadError(Svg("<circle cx=\"5\" cy=\"5\" r=\"3\"/>")).contains(QStringLiteral("<circle>")));
    EXPECT_TRUE(ReadError(Svg("<path d=\"M0 0 L5 5\" transform=\"scale(2)\"/>")).contains(QStringLiteral("transform")));
    EXPECT_TRUE(ReadError(Svg("<path d=\"M0 0 A5 5 0 0 1 9 9\"/>")).contains(QStringLiteral("'A'")));
    EXPECT_TRUE(ReadError(Svg("<rect width=\"5\" height=\"5\" fill=\"red\"/>")).contains(QStringLiteral("red")));
    EXPECT_FALSE(ReadError(Svg("<rect width=\"5\" height=\"5\"><rect/></rect>")).isEmpty());
    // Broken data: no first move, missing or bad numbers, no view box, not SVG, bad XML.
    EXPECT_FALSE(ReadError(Svg("<path d=\"L5 5\"/>")).isEmpty());
    EXPECT_FALSE(ReadError(Svg("<path d=\"M1 1 C2 2 3\"/>")).isEmpty());
    EXPECT_FALSE(ReadError(Svg("<path d=\"5 5\"/>")).isEmpty());
    EXPECT_FALSE(ReadError(Svg("<rect width=\"1e999\" height=\"5\"/>")).isEmpty());
    EXPECT_FALSE(ReadError(Svg("", "0 0 0 10")).isEmpty());
    EXPECT_FALSE(ReadError(Svg("", "0 0 10")).isEmpty());
    EXPECT_FALSE(ReadError("<svg xmlns=\"http://www.w3.org/2000/svg\"/>").isEmpty());
    EXPECT_FALSE(ReadError("<html/>").isEmpty());
    EXPECT_FALSE(ReadError(Svg("<rect width=\"5\"")).isEmpty());
    EXPECT_FALSE(ReadError("").isEmpty());
}

TEST(ApplicationIcon, TheProgramsIconIsDrawnAtEveryInstalledSize)
{
    // The compiled-in SVG must read, or the window would silently have no icon.
    QFile file(QStringLiteral(":/icons/scrivlet.svg"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QString error;
    ASSERT_TRUE(FlatSvgDrawing::Read(file.readAll(), &error)) << error.toStdString();

    const QIcon icon = ApplicationIcon();
    ASSERT_FALSE(icon.isNull());
    for (int size : ApplicationIconSizes()) {
        EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size))) << size;
        const QImage image = icon.pixmap(size, size).toImage();
        EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0) << size;                   // corner left clear
        EXPECT_EQ(image.pixelColor(size / 2, size / 2).alpha(), 255) << size;  // the sheet is opaque
    }
}

}  // namespace
