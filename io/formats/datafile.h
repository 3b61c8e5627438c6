#pragma once

#include "geo/location.h"
#include "io/files/fileerror.h"
#include "io/formats/locationfields.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

namespace gyrena {

inline constexpr std::string_view kDataFileMarker = "GyrenaDataFile";

// More than any valid data file needs (17 fields of at most 4,096 bytes): the window reads at
// most this many bytes, so a large file chosen by mistake is never read whole.
inline constexpr std::size_t kDataFileReadLimit = 1 << 20;

// The 16 values of a data file after its first line, as UTF-8 texts.
struct LocationData
{
    LocationTexts start;
    LocationTexts end;

    LocationTexts& at(RouteEnd which) { return which == RouteEnd::Start ? start : end; }
    const LocationTexts& at(RouteEnd which) const { return which == RouteEnd::Start ? start : end; }

    bool operator==(const LocationData&) const = default;
};

// What line 2..17 of a data file holds: the start's name and country, the end's name and
// country, then the start's coordinate texts and the end's, each in kCoordinateOrder.
struct DataFileLine
{
    RouteEnd end = RouteEnd::Start;
    LocationField field = LocationField::Name;
};
// Line 2..17; a number outside that range gives the nearest pattern, never a failure.
DataFileLine dataFileLine(int line);

// True when a degree or minute text can stand in a data file: a whole number under the
// leading-number rule ("30", " 12", "30.5", "-5", "1e1") or a text of blanks only (empty
// included), which counts as 0. Save refuses every other text and Open every other line, so
// what Save writes Open reads back: as the same text, except an empty line, which reads as "0".
bool isDegreeOrMinuteText(std::string_view text);

// Parses the raw bytes of a data file (any encoding and line ends the reader accepts).
// A wrong first field gives Kind::NotDataFile; a file that ends early, a degree or minute line
// that fails isDegreeOrMinuteText, a field too long or a NUL byte give Kind::Unreadable with the
// line. An empty degree or minute line reads as "0". Lines after the 17th are ignored.
std::variant<LocationData, FileError> readDataFile(std::string_view bytes);

// The bytes of a data file: 17 lines ended by CR LF, encoded as encodeFileText does. A value
// that would not read back as one field is quoted; one that cannot be written to read back at
// all gives Kind::Refused with `field` set to its line number (2..17) and `reason` saying why
// ("begins with a double quote"); locationFieldName(dataFileLine(field)) names what it holds.
std::variant<std::string, FileError> writeDataFile(const LocationData& data);

} // namespace gyrena
