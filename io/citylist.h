#pragma once

#include "io/fileerror.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace gyrena {

inline constexpr std::string_view kCityListMarker = "GyrenaCityListFile";
inline constexpr int kMaxCityCount = 32767;
// A city list file larger than this is refused before it is read.
inline constexpr std::size_t kMaxCityListBytes = std::size_t{64} << 20;

// The columns of the city table; column 0 is never filled.
enum CityColumn {
    CityRow = 1,
    CityName,
    CityCountry,
    CityLatDegrees,
    CityLatMinutes,
    CityLatDir,
    CityLongDegrees,
    CityLongMinutes,
    CityLongDir,
};

// One city record, its eight fields as read (UTF-8).
struct City
{
    std::string name, country;
    std::string latDegrees, latMinutes, latDir;
    std::string longDegrees, longMinutes, longDir;

    bool operator==(const City&) const = default;
};

// The loaded city list: rows 1..CityCount in file order.
class CityTable
{
public:
    CityTable() = default;
    explicit CityTable(std::vector<City> cities);

    int CityCount() const { return static_cast<int>(m_cities.size()); }
    // Row r (1..CityCount).
    const City& row(int r) const { return m_cities.at(static_cast<std::size_t>(r - 1)); }
    // The text of row r (1..CityCount) in column c; CityRow gives the row number as text.
    std::string text(int r, CityColumn c) const;
    const std::vector<City>& cities() const { return m_cities; }

private:
    std::vector<City> m_cities;
};

// Parses the raw bytes of a city list (any encoding and line ends the field reader accepts).
// The count is an optional sign, digits, optionally "." and zeros only ("3.0" is 3), and
// trailing blanks; anything else ("3.5", "3E0", "&H3", "1 2", "") is not a whole number.
// Errors: Kind::NotCityList for a wrong first field, Kind::CountBelowOne for a whole-number
// count below 1, Kind::Unreadable (with what and where) for an empty file, a count that is not
// a whole number or exceeds kMaxCityCount, a file that ends before the last announced record,
// a field too long, a NUL byte or a file over kMaxCityListBytes. Records beyond the count are
// never read. Linear in the size of the file.
std::variant<CityTable, FileError> readCityList(std::string_view bytes);

} // namespace gyrena
