#pragma once

#include <string>
#include <string_view>

namespace gyrena {

// The two locations as the twelve coordinate lists set them. Angles are unsigned decimal
// degrees (degrees + minutes / 60, unrounded, no range enforced); the letters tell the
// hemisphere. A letter is empty until its first update, then always one of its two values.
struct LocationState
{
    double StartLat = 0.0;
    double StartLong = 0.0;
    double EndLat = 0.0;
    double EndLong = 0.0;
    std::string StartLatDir;  // "N" or "S"
    std::string StartLongDir; // "E" or "W"
    std::string EndLatDir;    // "N" or "S"
    std::string EndLongDir;   // "E" or "W"

    bool operator==(const LocationState&) const = default;
};

// Degrees value + minutes value / 60, both by the leading-number rule. May be +-inf or nan
// for texts beyond the range of a double; never throws.
double angleFromTexts(std::string_view degrees, std::string_view minutes);

// "N" when the text is exactly "N" (case-sensitive), otherwise "S".
std::string latitudeLetter(std::string_view text);
// "E" when the text is exactly "E" (case-sensitive), otherwise "W".
std::string longitudeLetter(std::string_view text);

// The eight updates, one per pair of degree/minute lists or per direction list. Each reads
// its texts afresh and writes one value of the state, nothing else.
void updateStartLat(LocationState& state, std::string_view combo1, std::string_view combo2);
void updateStartLong(LocationState& state, std::string_view combo3, std::string_view combo4);
void updateEndLat(LocationState& state, std::string_view combo5, std::string_view combo6);
void updateEndLong(LocationState& state, std::string_view combo7, std::string_view combo8);
void updateStartLatDir(LocationState& state, std::string_view combo9);
void updateStartLongDir(LocationState& state, std::string_view combo10);
void updateEndLatDir(LocationState& state, std::string_view combo11);
void updateEndLongDir(LocationState& state, std::string_view combo12);

} // namespace gyrena
