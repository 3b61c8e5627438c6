#pragma once

#include "geo/location.h"
#include "io/files/fileerror.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace gyrena {

inline constexpr std::string_view kCityListMarker = "GyrenaCityListFile";
inline constexpr int kMaxCityCount = 32767;
// A city list file larger than this is refused before it is read.
inline constexpr std::size_t kMaxCityListBytes = std::size_t{64} << 20;
// Why a larger one is refused.
inline constexpr const char* kCityListTooLarge = "the file is larger than 64 MiB";

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

// One city record, its eight fields as read (UTF-8): views into the table that gave it, valid
// as long as that table lives and is neither changed nor moved.
struct CityView
{
    std::string_view name, country;
    std::string_view latDegrees, latMinutes, latDir;
    std::string_view longDegrees, longMinutes, longDir;

    bool operator==(const CityView&) const = default;
};

// The loaded city list: rows 1..cityCount() in file order. The table keeps the list's text as
// read, once, and where each field lies in it: a long list costs about two and a half times its
// file size instead of eight strings per city, and reading it copies no field.
class CityTable
{
public:
    static constexpr int kFieldsPerCity = 8;

    CityTable() = default;

    int cityCount() const { return static_cast<int>(m_begins.size() / kFieldsPerCity); }
    // Row r (1..cityCount()); throws std::out_of_range for any other r.
    CityView row(int r) const;
    // Row r as the texts of a location, copied; throws std::out_of_range as row() does.
    LocationTexts location(int r) const;
    // The text of row r (1..cityCount()) in column c; CityRow gives the row number as text.
    std::string text(int r, CityColumn c) const;

    // Equal when every field of every row is equal, however the files wrote them.
    bool operator==(const CityTable& other) const;

private:
    friend std::variant<CityTable, FileError> readCityList(std::string_view bytes);

    // Field k of the table (field k % 8 of city k / 8).
    std::string_view field(std::size_t k) const
    {
        return {m_text.data() + m_begins[k], m_sizes[k]};
    }

    std::string m_text;
    std::vector<std::uint32_t> m_begins;
    std::vector<std::uint16_t> m_sizes; // a field holds at most kMaxFieldBytes
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
