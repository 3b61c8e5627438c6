#pragma once

#include "io/fileerror.h"

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
    std::string startName;    // Combo13
    std::string startCountry; // Text1
    std::string endName;      // Combo14
    std::string endCountry;   // Text2
    // In file order (lines 6 to 17): start latitude degrees, minutes, letter; start longitude
    // degrees, minutes, letter; end latitude ...; end longitude ...
    // That is Combo1, Combo2, Combo9, Combo3, Combo4, Combo10, Combo5, Combo6, Combo11,
    // Combo7, Combo8, Combo12.
    std::array<std::string, 12> coordinates;

    bool operator==(const LocationData&) const = default;
};

// The list number (1..12 as in ComboN) of each coordinate line, in file order.
inline constexpr std::array<int, 12> kDataFileComboOrder = {1, 2, 9, 3, 4, 10, 5, 6, 11, 7, 8, 12};

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
// all gives Kind::Refused with `field` set to its line number (2..17).
std::variant<std::string, FileError> writeDataFile(const LocationData& data);

} // namespace gyrena
