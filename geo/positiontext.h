#pragma once

// Positions written as navigators write them: 37°45.0'N 122°27.0'W. The route tool and the route
// window both use these, so a position reads the same everywhere.

#include "geo/routeplan.h"

#include <string>
#include <string_view>

namespace gyrena {

// Degrees, a degree sign, minutes with two digits and one decimal, a quote and the letter:
// "37°45.0'N", "0°05.5'S". Rounded to the tenth of a minute first (59.96' makes the next
// degree); a value that rounds to 0 takes "N". UTF-8. Any finite latitude in -90..90. The
// window passes its locale's decimal separator ("37°45,0'N"); files and the tool keep ".".
std::string latitudeText(double latitude, std::string_view decimalSeparator = ".");
// The same for a longitude -180..180, "E" or "W": "122°27.0'W"; 180 is "180°00.0'E" and a value
// that rounds to 180 from the west "180°00.0'W".
std::string longitudeText(double longitude, std::string_view decimalSeparator = ".");
// Latitude and longitude joined by a blank.
std::string positionText(LatLon position, std::string_view decimalSeparator = ".");

// A place as positionText writes it, except that a pole, which has no longitude, is named:
// "the North Pole" at latitude 90, "the South Pole" at -90.
std::string placeText(LatLon position, std::string_view decimalSeparator = ".");

} // namespace gyrena
