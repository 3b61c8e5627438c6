#include "io/formats/citylist.h"

#include <stdexcept>

namespace gyrena {

CityView CityTable::row(int r) const
{
    if (r < 1 || r > cityCount())
        throw std::out_of_range("CityTable::row: no row " + std::to_string(r));
    const std::size_t k = static_cast<std::size_t>(r - 1) * kFieldsPerCity;
    return CityView{field(k),     field(k + 1), field(k + 2), field(k + 3),
                    field(k + 4), field(k + 5), field(k + 6), field(k + 7)};
}

LocationTexts CityTable::location(int r) const
{
    const CityView city = row(r);
    LocationTexts texts;
    texts.name = city.name;
    texts.country = city.country;
    texts.latitudeDegrees = city.latDegrees;
    texts.latitudeMinutes = city.latMinutes;
    texts.latitudeLetter = city.latDir;
    texts.longitudeDegrees = city.longDegrees;
    texts.longitudeMinutes = city.longMinutes;
    texts.longitudeLetter = city.longDir;
    return texts;
}

std::string CityTable::text(int r, CityColumn c) const
{
    const CityView city = row(r);
    switch (c) {
    case CityRow:
        return std::to_string(r);
    case CityName:
        return std::string(city.name);
    case CityCountry:
        return std::string(city.country);
    case CityLatDegrees:
        return std::string(city.latDegrees);
    case CityLatMinutes:
        return std::string(city.latMinutes);
    case CityLatDir:
        return std::string(city.latDir);
    case CityLongDegrees:
        return std::string(city.longDegrees);
    case CityLongMinutes:
        return std::string(city.longMinutes);
    case CityLongDir:
        return std::string(city.longDir);
    }
    return {};
}

bool CityTable::operator==(const CityTable& other) const
{
    if (m_begins.size() != other.m_begins.size())
        return false;
    for (std::size_t k = 0; k < m_begins.size(); ++k) {
        if (field(k) != other.field(k))
            return false;
    }
    return true;
}

} // namespace gyrena
