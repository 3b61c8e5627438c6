#include "geo/location.h"

#include "geo/leadingnumber.h"

#include <array>
#include <utility>

namespace gyrena {

double angleFromTexts(std::string_view degrees, std::string_view minutes)
{
    return leadingNumberValue(degrees) + leadingNumberValue(minutes) / 60.0;
}

std::string latitudeLetter(std::string_view text)
{
    return text == "N" ? "N" : "S";
}

std::string longitudeLetter(std::string_view text)
{
    return text == "E" ? "E" : "W";
}

void updateStartLat(LocationState& state, std::string_view degrees, std::string_view minutes)
{
    state.startLat = angleFromTexts(degrees, minutes);
}

void updateStartLong(LocationState& state, std::string_view degrees, std::string_view minutes)
{
    state.startLong = angleFromTexts(degrees, minutes);
}

void updateEndLat(LocationState& state, std::string_view degrees, std::string_view minutes)
{
    state.endLat = angleFromTexts(degrees, minutes);
}

void updateEndLong(LocationState& state, std::string_view degrees, std::string_view minutes)
{
    state.endLong = angleFromTexts(degrees, minutes);
}

void updateStartLatDir(LocationState& state, std::string_view letter)
{
    state.startLatDir = latitudeLetter(letter);
}

void updateStartLongDir(LocationState& state, std::string_view letter)
{
    state.startLongDir = longitudeLetter(letter);
}

void updateEndLatDir(LocationState& state, std::string_view letter)
{
    state.endLatDir = latitudeLetter(letter);
}

void updateEndLongDir(LocationState& state, std::string_view letter)
{
    state.endLongDir = longitudeLetter(letter);
}

std::string& LocationTexts::operator[](LocationField field)
{
    return const_cast<std::string&>(std::as_const(*this)[field]);
}

const std::string& LocationTexts::operator[](LocationField field) const
{
    // By LocationField.
    static constexpr std::array<std::string LocationTexts::*, kLocationFieldCount> kTexts = {
        &LocationTexts::name,
        &LocationTexts::country,
        &LocationTexts::latitudeDegrees,
        &LocationTexts::latitudeMinutes,
        &LocationTexts::latitudeLetter,
        &LocationTexts::longitudeDegrees,
        &LocationTexts::longitudeMinutes,
        &LocationTexts::longitudeLetter,
    };
    return this->*kTexts[static_cast<std::size_t>(field)];
}

void updateLocation(LocationState& state, RouteEnd end, const LocationTexts& texts)
{
    const bool start = end == RouteEnd::Start;
    (start ? updateStartLat : updateEndLat)(state, texts.latitudeDegrees, texts.latitudeMinutes);
    (start ? updateStartLatDir : updateEndLatDir)(state, texts.latitudeLetter);
    (start ? updateStartLong : updateEndLong)(state, texts.longitudeDegrees,
                                              texts.longitudeMinutes);
    (start ? updateStartLongDir : updateEndLongDir)(state, texts.longitudeLetter);
}

} // namespace gyrena
