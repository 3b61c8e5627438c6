#include "io/citylist.h"

#include <utility>

namespace gyrena {

CityTable::CityTable(std::vector<City> cities) : m_cities(std::move(cities)) {}

std::string CityTable::text(int r, CityColumn c) const
{
    const City& city = row(r);
    switch (c) {
    case CityRow:
        return std::to_string(r);
    case CityName:
        return city.name;
    case CityCountry:
        return city.country;
    case CityLatDegrees:
        return city.latDegrees;
    case CityLatMinutes:
        return city.latMinutes;
    case CityLatDir:
        return city.latDir;
    case CityLongDegrees:
        return city.longDegrees;
    case CityLongMinutes:
        return city.longMinutes;
    case CityLongDir:
        return city.longDir;
    }
    return {};
}

} // namespace gyrena
