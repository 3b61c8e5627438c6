#pragma once

#include "geo/location.h"

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace gyrena {

// The six coordinate texts of a location in the order a data file stores them (lines 6 to 11 for
// the start, 12 to 17 for the end) and gyrena-route takes them (the start's six, then the end's):
// latitude degrees, minutes and letter, then longitude degrees, minutes and letter.
inline constexpr std::array<LocationField, 6> kCoordinateOrder = {
    LocationField::LatitudeDegrees,  LocationField::LatitudeMinutes,
    LocationField::LatitudeLetter,   LocationField::LongitudeDegrees,
    LocationField::LongitudeMinutes, LocationField::LongitudeLetter,
};

// What a text holds, in the words of messages and screen readers: "start location name",
// "end country", "start latitude degrees", "end longitude direction".
std::string locationFieldName(RouteEnd end, LocationField field);

// True for the degree and minute texts, which must read as numbers in a data file.
bool isDegreesOrMinutes(LocationField field);

// The twelve coordinate texts of a route in kCoordinateOrder, the start's first, into the
// coordinate texts of `start` and `end`; names and countries are left as they are.
void setCoordinates(LocationTexts& start, LocationTexts& end,
                    std::span<const std::string_view, 12> texts);

} // namespace gyrena
