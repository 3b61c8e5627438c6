#include "geo/positiontext.h"

#include <cmath>

namespace gyrena {

namespace {

std::string angleText(double degrees, char positive, char negative,
                      std::string_view decimalSeparator)
{
    // Whole tenths of a minute, so that carrying into the degrees is exact.
    const double tenths = std::round(std::fabs(degrees) * 600.0);
    const long long whole = tenths < 1e15 ? static_cast<long long>(tenths) : 0; // nan too
    const char letter = whole == 0 || degrees > 0.0 ? positive : negative;
    const long long minutes = whole % 600 / 10;
    std::string text = std::to_string(whole / 600) + "\xC2\xB0" + (minutes < 10 ? "0" : "") +
                       std::to_string(minutes);
    text += decimalSeparator;
    text += std::to_string(whole % 10);
    text += '\'';
    text += letter;
    return text;
}

} // namespace

std::string latitudeText(double latitude, std::string_view decimalSeparator)
{
    return angleText(latitude, 'N', 'S', decimalSeparator);
}

std::string longitudeText(double longitude, std::string_view decimalSeparator)
{
    return angleText(longitude, 'E', 'W', decimalSeparator);
}

std::string positionText(LatLon position, std::string_view decimalSeparator)
{
    return latitudeText(position.latitude, decimalSeparator) + ' ' +
           longitudeText(position.longitude, decimalSeparator);
}

std::string placeText(LatLon position, std::string_view decimalSeparator)
{
    if (position.latitude == 90.0)
        return "the North Pole";
    if (position.latitude == -90.0)
        return "the South Pole";
    return positionText(position, decimalSeparator);
}

} // namespace gyrena
