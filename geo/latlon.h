#pragma once

namespace gyrena {

// A position as signed degrees, latitude first: latitude -90..90 (north positive), longitude
// east positive (-180..180 where it is stored; functions that take one say what they accept
// beyond that range). The only position type: the map, the coastlines, the files and the
// planners all speak it.
struct LatLon
{
    double latitude = 0.0;
    double longitude = 0.0;

    bool operator==(const LatLon&) const = default;
};

} // namespace gyrena
