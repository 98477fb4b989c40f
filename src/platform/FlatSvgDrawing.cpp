#include "platform/FlatSvgDrawing.h"

#include <QByteArray>
#include <QPainter>
#include <QPen>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <cmath>

namespace {

struct ReadError {
    QString text;
};

[[noreturn]] void Fail(const QString& text)
{
    throw ReadError{text};
}

double Number(QStringView text, const QString& what)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        Fail(QStringLiteral("%1 is not a number: \"%2\"").arg(what, text.toString()));
    return value;
}

// "#rgb", "#rrggbb" or "none" (an invalid colour).
QColor Colour(const QString& text)
{
    if (text == QLatin1String("none"))
        return {};
    static const QRegularExpression form(QStringLiteral("^#([0-9a-fA-F]{3}|[0-9a-fA-F]{6})$"));
    if (!form.match(text).hasMatch())
        Fail(QStringLiteral("unsupported colour \"%1\" (use #rgb, #rrggbb or none)").arg(text));
    return QColor(text);
}

// The path data of a "d" attribute: commands and their numbers.
class PathData {
public:
    explicit PathData(const QString& d) : d_(d) { path_.setFillRule(Qt::WindingFill); }  // SVG's nonzero rule

    QPainterPath Parse()
    {
        QChar command;
        while (SkipSeparators(), pos_ < d_.size()) {
            if (d_[pos_].isLetter())
                command = d_[pos_++];
            else if (command.isNull())
                Fail(QStringLiteral("path data must begin with a command: \"%1\"").arg(d_));
            Step(command);
            // Pairs after a move are lines.
            if (command == u'M')
                command = u'L';
            else if (command == u'm')
                command = u'l';
        }
        return path_;
    }

private:
    void Step(QChar command)
    {
        if (!moved_ && command.toUpper() != u'M')
            Fail(QStringLiteral("path data must begin with a move: \"%1\"").arg(d_));
        moved_ = true;
        const bool relative = command.isLower();
        const QPointF origin = relative ? path_.currentPosition() : QPointF();
        switch (command.toUpper().unicode()) {
        case u'M':
            path_.moveTo(origin + Point());
            break;
        case u'L':
            path_.lineTo(origin + Point());
            break;
        case u'H':
            path_.lineTo(Next() + (relative ? origin.x() : 0), path_.currentPosition().y());
            break;
        case u'V':
            path_.lineTo(path_.currentPosition().x(), Next() + (relative ? origin.y() : 0));
            break;
        case u'C': {
            const QPointF c1 = origin + Point();
            const QPointF c2 = origin + Point();
            path_.cubicTo(c1, c2, origin + Point());
            break;
        }
        case u'Q': {
            const QPointF c = origin + Point();
            path_.quadTo(c, origin + Point());
            break;
        }
        case u'Z':
            path_.closeSubpath();
            break;
        default:
            Fail(QStringLiteral("unsupported path command '%1'").arg(command));
        }
    }

    void SkipSeparators()
    {
        while (pos_ < d_.size() && (d_[pos_].isSpace() || d_[pos_] == u','))
            ++pos_;
    }

    double Next()
    {
        SkipSeparators();
        static const QRegularExpression number(
            QStringLiteral("[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?"));
        const QRegularExpressionMatch m =
            number.match(d_, pos_, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
        if (!m.hasMatch())
            Fail(QStringLiteral("a number is missing at offset %1 of path data \"%2\"").arg(pos_).arg(d_));
        pos_ = m.capturedEnd();
        return Number(m.capturedView(), QStringLiteral("path data"));
    }

    QPointF Point()
    {
        const double x = Next();
        return {x, Next()};
    }

    QString d_;
    qsizetype pos_ = 0;
    bool moved_ = false;
    QPainterPath path_;
};

QRectF ParseViewBox(const QString& text)
{
    const QStringList parts = text.split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts);
    if (parts.size() != 4)
        Fail(QStringLiteral("viewBox needs four numbers: \"%1\"").arg(text));
    const QRectF box(Number(parts[0], QStringLiteral("viewBox")), Number(parts[1], QStringLiteral("viewBox")),
                     Number(parts[2], QStringLiteral("viewBox")), Number(parts[3], QStringLiteral("viewBox")));
    if (box.width() <= 0 || box.height() <= 0)
        Fail(QStringLiteral("viewBox has no area: \"%1\"").arg(text));
    return box;
}

void CheckAttributes(const QXmlStreamReader& xml, std::initializer_list<const char*> allowed)
{
    for (const QXmlStreamAttribute& attribute : xml.attributes()) {
        bool known = false;
        for (const char* name : allowed)
            known = known || attribute.qualifiedName() == QLatin1String(name);
        if (!known)
            Fail(QStringLiteral("unsupported attribute \"%1\" on <%2>")
                     .arg(attribute.qualifiedName().toString(), xml.name().toString()));
    }
}

}  // namespace

std::optional<FlatSvgDrawing> FlatSvgDrawing::Read(const QByteArray& svg, QString* error)
{
    FlatSvgDrawing drawing;
    QXmlStreamReader xml(svg);
    try {
        int depth = 0;
        bool sawSvg = false;
        while (!xml.atEnd()) {
            const QXmlStreamReader::TokenType token = xml.readNext();
            if (token == QXmlStreamReader::EndElement) {
                --depth;
                continue;
            }
            if (token != QXmlStreamReader::StartElement)
                continue;
            ++depth;
            const QXmlStreamAttributes a = xml.attributes();
            const QString name = xml.name().toString();
            if (depth == 1) {
                if (name != QLatin1String("svg"))
                    Fail(QStringLiteral("the document is not an <svg> but <%1>").arg(name));
                CheckAttributes(xml, {"xmlns", "width", "height", "viewBox", "version"});
                if (!a.hasAttribute(QStringLiteral("viewBox")))
                    Fail(QStringLiteral("<svg> has no viewBox"));
                drawing.viewBox_ = ParseViewBox(a.value(QStringLiteral("viewBox")).toString());
                sawSvg = true;
                continue;
            }
            if (depth > 2)
                Fail(QStringLiteral("<%1> inside a shape is not supported").arg(name));
            Shape shape;
            shape.fill = Colour(a.hasAttribute(QStringLiteral("fill")) ? a.value(QStringLiteral("fill")).toString()
                                                                        : QStringLiteral("#000"));
            shape.stroke = Colour(a.hasAttribute(QStringLiteral("stroke")) ? a.value(QStringLiteral("stroke")).toString()
                                                                            : QStringLiteral("none"));
            if (a.hasAttribute(QStringLiteral("stroke-width")))
                shape.strokeWidth = Number(a.value(QStringLiteral("stroke-width")), QStringLiteral("stroke-width"));
            if (name == QLatin1String("path")) {
                CheckAttributes(xml, {"d", "fill", "stroke", "stroke-width"});
                shape.path = PathData(a.value(QStringLiteral("d")).toString()).Parse();
            } else if (name == QLatin1String("rect")) {
                CheckAttributes(xml, {"x", "y", "width", "height", "rx", "fill", "stroke", "stroke-width"});
                auto number = [&](const char* attribute) {
                    const QString key = QString::fromLatin1(attribute);
                    return a.hasAttribute(key) ? Number(a.value(key), key) : 0.0;
                };
                const double rx = number("rx");
                shape.path.addRoundedRect(number("x"), number("y"), number("width"), number("height"), rx, rx);
            } else {
                Fail(QStringLiteral("unsupported element <%1>").arg(name));
            }
            drawing.shapes_.append(shape);
        }
        if (xml.hasError())
            Fail(QStringLiteral("XML error at line %1: %2").arg(xml.lineNumber()).arg(xml.errorString()));
        if (!sawSvg)
            Fail(QStringLiteral("no <svg> element"));
    } catch (const ReadError& failure) {
        if (error)
            *error = failure.text;
        return std::nullopt;
    }
    return drawing;
}

void FlatSvgDrawing::Paint(QPainter& painter, const QRectF& target) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(target.topLeft());
    painter.scale(target.width() / viewBox_.width(), target.height() / viewBox_.height());
    painter.translate(-viewBox_.topLeft());
    for (const Shape& shape : shapes_) {
        if (shape.fill.isValid())
            painter.fillPath(shape.path, shape.fill);
        if (shape.stroke.isValid()) {
            // SVG's defaults: butt ends, mitred corners up to 4 widths.
            QPen pen(shape.stroke, shape.strokeWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
            pen.setMiterLimit(4);
            painter.strokePath(shape.path, pen);
        }
    }
    painter.restore();
}

QImage FlatSvgDrawing::Render(int size) const
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    Paint(painter, QRectF(0, 0, size, size));
    return image;
}
