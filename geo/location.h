#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace gyrena {

// The two locations as their twelve coordinate texts set them. Angles are unsigned decimal
// degrees (degrees + minutes / 60, unrounded, no range enforced); the letters tell the
// hemisphere. A letter is empty until its first update, then always one of its two values.
struct LocationState
{
    double startLat = 0.0;
    double startLong = 0.0;
    double endLat = 0.0;
    double endLong = 0.0;
    std::string startLatDir;  // "N" or "S"
    std::string startLongDir; // "E" or "W"
    std::string endLatDir;    // "N" or "S"
    std::string endLongDir;   // "E" or "W"

    bool operator==(const LocationState&) const = default;
};

// Degrees value + minutes value / 60, both by the leading-number rule. May be +-inf or nan
// for texts beyond the range of a double; never throws.
double angleFromTexts(std::string_view degrees, std::string_view minutes);

// "N" when the text is exactly "N" (case-sensitive), otherwise "S".
std::string latitudeLetter(std::string_view text);
// "E" when the text is exactly "E" (case-sensitive), otherwise "W".
std::string longitudeLetter(std::string_view text);

// The eight updates, one per pair of degree/minute texts or per letter. Each reads its texts
// afresh and writes one value of the state, nothing else.
void updateStartLat(LocationState& state, std::string_view degrees, std::string_view minutes);
void updateStartLong(LocationState& state, std::string_view degrees, std::string_view minutes);
void updateEndLat(LocationState& state, std::string_view degrees, std::string_view minutes);
void updateEndLong(LocationState& state, std::string_view degrees, std::string_view minutes);
void updateStartLatDir(LocationState& state, std::string_view letter);
void updateStartLongDir(LocationState& state, std::string_view letter);
void updateEndLatDir(LocationState& state, std::string_view letter);
void updateEndLongDir(LocationState& state, std::string_view letter);

enum class RouteEnd { Start, End };

// The texts of one location, as they are typed into the window, stored in a data file, picked
// from a city list or given to gyrena-route (UTF-8, any content).
enum class LocationField {
    Name,
    Country,
    LatitudeDegrees,
    LatitudeMinutes,
    LatitudeLetter,
    LongitudeDegrees,
    LongitudeMinutes,
    LongitudeLetter,
};
inline constexpr std::size_t kLocationFieldCount = 8;

struct LocationTexts
{
    std::string name;
    std::string country;
    std::string latitudeDegrees;
    std::string latitudeMinutes;
    std::string latitudeLetter;
    std::string longitudeDegrees;
    std::string longitudeMinutes;
    std::string longitudeLetter;

    std::string& operator[](LocationField field);
    const std::string& operator[](LocationField field) const;

    bool operator==(const LocationTexts&) const = default;
};

// The four updates of one end from its coordinate texts: latitude, its letter, longitude, its
// letter, as the window's lists run them when they are filled in that order.
void updateLocation(LocationState& state, RouteEnd end, const LocationTexts& texts);

} // namespace gyrena
