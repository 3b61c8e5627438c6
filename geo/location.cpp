#include "geo/location.h"

#include "geo/leadingnumber.h"

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

void updateStartLat(LocationState& state, std::string_view combo1, std::string_view combo2)
{
    state.StartLat = angleFromTexts(combo1, combo2);
}

void updateStartLong(LocationState& state, std::string_view combo3, std::string_view combo4)
{
    state.StartLong = angleFromTexts(combo3, combo4);
}

void updateEndLat(LocationState& state, std::string_view combo5, std::string_view combo6)
{
    state.EndLat = angleFromTexts(combo5, combo6);
}

void updateEndLong(LocationState& state, std::string_view combo7, std::string_view combo8)
{
    state.EndLong = angleFromTexts(combo7, combo8);
}

void updateStartLatDir(LocationState& state, std::string_view combo9)
{
    state.StartLatDir = latitudeLetter(combo9);
}

void updateStartLongDir(LocationState& state, std::string_view combo10)
{
    state.StartLongDir = longitudeLetter(combo10);
}

void updateEndLatDir(LocationState& state, std::string_view combo11)
{
    state.EndLatDir = latitudeLetter(combo11);
}

void updateEndLongDir(LocationState& state, std::string_view combo12)
{
    state.EndLongDir = longitudeLetter(combo12);
}

} // namespace gyrena
