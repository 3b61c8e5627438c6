#include "icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QStringList>
#include <QTransform>

#include <cmath>
#include <numbers>

namespace render {

namespace {

constexpr double kDesign = 256.0; // the icon is drawn on a 256 x 256 canvas and scaled

QPainterPath circlePath(QPointF centre, double radius)
{
    QPainterPath path;
    path.addEllipse(centre, radius, radius);
    return path;
}

// Half of an ellipse through the poles of the globe, drawn as the visible meridian.
QPainterPath meridian(QPointF centre, double radiusX, double radiusY)
{
    QPainterPath path;
    const int steps = 24;
    for (int i = 0; i <= steps; ++i) {
        const double t = std::numbers::pi * i / steps;
        const QPointF p(centre.x() + radiusX * std::sin(t), centre.y() - radiusY * std::cos(t));
        if (i == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    return path;
}

} // namespace

std::vector<IconShape> iconShapes()
{
    const QPointF c(128, 128);
    const double r = 112;
    std::vector<IconShape> shapes;

    // Ocean disc with a darker rim so the globe reads at 16 pixels.
    shapes.push_back({circlePath(c, r), QColor(0x2b, 0x7b, 0xd6), QColor(0x12, 0x3f, 0x7a), 10});

    // Graticule: the equator, two parallels and three meridians.
    const QColor grid(0xcf, 0xe6, 0xff);
    QPainterPath equator;
    equator.addEllipse(c, r, r * 0.30);
    shapes.push_back({equator, Qt::transparent, grid, 7});
    for (double lat : {-0.55, 0.55}) {
        QPainterPath parallel;
        const double y = c.y() - r * lat;
        const double half = r * std::sqrt(1 - lat * lat);
        parallel.addEllipse(QPointF(c.x(), y + (lat > 0 ? 10 : -10)), half, half * 0.26);
        shapes.push_back({parallel, Qt::transparent, grid, 5, 24});
    }
    QPainterPath axis;
    axis.moveTo(c.x(), c.y() - r);
    axis.lineTo(c.x(), c.y() + r);
    shapes.push_back({axis, Qt::transparent, grid, 6});
    shapes.push_back({meridian(c, r * 0.62, r), Qt::transparent, grid, 6, 24});
    shapes.push_back({meridian(c, -r * 0.62, r), Qt::transparent, grid, 6, 24});

    // The great-circle route: an arc bowing toward the pole between two cities.
    const QPointF from(60, 150), to(200, 96);
    QPainterPath route;
    route.moveTo(from);
    route.cubicTo(QPointF(84, 70), QPointF(160, 46), to);
    shapes.push_back({route, Qt::transparent, QColor(0xff, 0xc8, 0x1e), 18});
    shapes.push_back({circlePath(from, 17), QColor(0xe8, 0x3a, 0x1c), QColor(0xff, 0xff, 0xff), 6});
    shapes.push_back({circlePath(to, 17), QColor(0xe8, 0x3a, 0x1c), QColor(0xff, 0xff, 0xff), 6});
    return shapes;
}

QImage renderIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / kDesign, size / kDesign);
    for (const IconShape& shape : iconShapes()) {
        if (size < shape.minimumSize)
            continue;
        QPen pen(shape.stroke, shape.strokeWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        // Thin lines vanish at the small sizes: keep them at least about a pixel wide.
        pen.setWidthF(std::max(shape.strokeWidth, 0.9 * kDesign / size));
        painter.setPen(shape.stroke.alpha() == 0 ? QPen(Qt::NoPen) : pen);
        painter.setBrush(shape.fill.alpha() == 0 ? QBrush(Qt::NoBrush) : QBrush(shape.fill));
        painter.drawPath(shape.path);
    }
    painter.end();
    return image;
}

namespace {

QString svgColour(const QColor& colour)
{
    return colour.alpha() == 0 ? QStringLiteral("none") : colour.name(QColor::HexRgb);
}

QString svgPathData(const QPainterPath& path)
{
    QStringList parts;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const QString xy = QStringLiteral("%1 %2").arg(e.x, 0, 'f', 2).arg(e.y, 0, 'f', 2);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            parts << QStringLiteral("M") + xy;
            break;
        case QPainterPath::LineToElement:
            parts << QStringLiteral("L") + xy;
            break;
        case QPainterPath::CurveToElement:
            parts << QStringLiteral("C") + xy;
            break;
        case QPainterPath::CurveToDataElement:
            parts << xy;
            break;
        }
    }
    return parts.join(QLatin1Char(' '));
}

} // namespace

QByteArray iconSvg()
{
    QStringList lines;
    lines << QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>")
          << QStringLiteral("<!-- Gyrena: a globe with a great-circle route. Written by "
                            "tools/render-pictures; edit icon.cpp there, not this file. -->")
          << QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" "
                            "height=\"256\" viewBox=\"0 0 256 256\">");
    for (const IconShape& shape : iconShapes()) {
        lines << QStringLiteral("  <path d=\"%1\" fill=\"%2\" stroke=\"%3\" stroke-width=\"%4\" "
                                "stroke-linecap=\"round\" stroke-linejoin=\"round\"/>")
                     .arg(svgPathData(shape.path), svgColour(shape.fill), svgColour(shape.stroke))
                     .arg(shape.strokeWidth);
    }
    lines << QStringLiteral("</svg>") << QString();
    return lines.join(QLatin1Char('\n')).toUtf8();
}

} // namespace render
