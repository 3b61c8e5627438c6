#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPainterPath>

#include <vector>

namespace render {

// One filled and stroked outline of the icon, on a 256 x 256 canvas.
struct IconShape
{
    QPainterPath path;
    QColor fill;
    QColor stroke;
    double strokeWidth = 0;
    int minimumSize = 0; // left out of icons smaller than this, where it would only blur
};

// The application icon, a globe with a great-circle route, as outlines: the PNGs and the SVG
// are both written from this one list so they cannot drift apart.
std::vector<IconShape> iconShapes();
QImage renderIcon(int size);
QByteArray iconSvg();

} // namespace render
