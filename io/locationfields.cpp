#include "io/locationfields.h"

namespace gyrena {

std::string locationFieldName(RouteEnd end, LocationField field)
{
    const char* what = "";
    switch (field) {
    case LocationField::Name:
        what = "location name";
        break;
    case LocationField::Country:
        what = "country";
        break;
    case LocationField::LatitudeDegrees:
        what = "latitude degrees";
        break;
    case LocationField::LatitudeMinutes:
        what = "latitude minutes";
        break;
    case LocationField::LatitudeLetter:
        what = "latitude direction";
        break;
    case LocationField::LongitudeDegrees:
        what = "longitude degrees";
        break;
    case LocationField::LongitudeMinutes:
        what = "longitude minutes";
        break;
    case LocationField::LongitudeLetter:
        what = "longitude direction";
        break;
    }
    return std::string(end == RouteEnd::Start ? "start " : "end ") + what;
}

bool isDegreesOrMinutes(LocationField field)
{
    switch (field) {
    case LocationField::LatitudeDegrees:
    case LocationField::LatitudeMinutes:
    case LocationField::LongitudeDegrees:
    case LocationField::LongitudeMinutes:
        return true;
    default:
        return false;
    }
}

void setCoordinates(LocationTexts& start, LocationTexts& end,
                    std::span<const std::string_view, 12> texts)
{
    for (std::size_t i = 0; i < kCoordinateOrder.size(); ++i) {
        start[kCoordinateOrder[i]] = texts[i];
        end[kCoordinateOrder[i]] = texts[kCoordinateOrder.size() + i];
    }
}

} // namespace gyrena
