#pragma once

// Sample routes for the map view's tests and benchmark: what the route window shows of the
// voyage between two places.

#include "io/plan/voyageview.h"
#include "ui/route/mapview.h"

namespace gyrena::testroutes {

inline MapRoute sampleRoute(const QString& startName, LatLon a, const QString& endName, LatLon b)
{
    return viewVoyage(twoPlaceVoyage({startName.toStdString(), a}, {endName.toStdString(), b})).map;
}

inline MapRoute londonTokyo()
{
    return sampleRoute(QStringLiteral("London"), {51.5, -0.17}, QStringLiteral("Tokyo"), {35.68, 139.77});
}

inline MapRoute sanFranciscoSydney()
{
    return sampleRoute(QStringLiteral("San Francisco"), {37.75, -122.45}, QStringLiteral("Sydney"),
                       {-34.0, 151.0});
}

inline MapRoute tokyoSanFrancisco()
{
    return sampleRoute(QStringLiteral("Tokyo"), {35.68, 139.77}, QStringLiteral("San Francisco"),
                       {37.75, -122.45});
}

} // namespace gyrena::testroutes
