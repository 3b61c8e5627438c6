#include "io/formats/locationfields.h"

namespace gyrena {

std::string locationFieldName(RouteEnd end, LocationField field)
{
    // By LocationField.
    static constexpr std::array<std::string_view, kLocationFieldCount> kWords = {
        "location name",      "country",           "latitude degrees",  "latitude minutes",
        "latitude direction", "longitude degrees", "longitude minutes", "longitude direction",
    };
    return std::string(end == RouteEnd::Start ? "start " : "end ") +
           std::string(kWords[static_cast<std::size_t>(field)]);
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
