#include "geo/positiontext.h"

#include <cmath>
#include <cstdio>

namespace gyrena {

namespace {

std::string angleText(double degrees, char positive, char negative)
{
    // Whole tenths of a minute, so that carrying into the degrees is exact.
    const double tenths = std::round(std::fabs(degrees) * 600.0);
    const long long whole = tenths < 1e15 ? static_cast<long long>(tenths) : 0; // nan too
    const char letter = whole == 0 || degrees > 0.0 ? positive : negative;
    char text[48];
    std::snprintf(text, sizeof text, "%lld\xC2\xB0%02lld.%lld'%c", whole / 600, whole % 600 / 10,
                  whole % 10, letter);
    return text;
}

} // namespace

std::string latitudeText(double latitude)
{
    return angleText(latitude, 'N', 'S');
}

std::string longitudeText(double longitude)
{
    return angleText(longitude, 'E', 'W');
}

std::string positionText(LatLon position)
{
    return latitudeText(position.latitude) + ' ' + longitudeText(position.longitude);
}

} // namespace gyrena
