#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <cmath>

namespace gyrena {

// The windows are designed in twips: 1440 to the inch, 15 to a pixel at 96 dpi. Qt's
// device-independent pixels keep the design right on high-density screens.
constexpr int twips(int value)
{
    return static_cast<int>(value >= 0 ? (value * 2 + 15) / 30 : -((-value * 2 + 15) / 30));
}

inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

inline QPoint twipsPoint(int x, int y) { return QPoint(twips(x), twips(y)); }
inline QSize twipsSize(int width, int height) { return QSize(twips(width), twips(height)); }

} // namespace gyrena
