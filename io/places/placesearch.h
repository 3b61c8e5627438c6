#pragma once

#include "geo/location.h"
#include "io/places/gazetteer.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace gyrena {

// How a place answers a query, best first.
enum class PlaceMatchKind {
    Exact,  // its whole name, its IATA or ICAO code, or a port's UN/LOCODE
    Prefix, // its name starts with the query
    Word,   // a later word of its name starts with the query ("heathrow")
};

struct PlaceMatch
{
    std::size_t place = 0; // index into the gazetteer
    PlaceMatchKind kind = PlaceMatchKind::Exact;

    bool operator==(const PlaceMatch&) const = default;
};

// Queries longer than this find nothing: no name is that long, and a pasted page must not cost.
inline constexpr std::size_t kMaxPlaceQueryBytes = 256;

// The best `limit` places for a query typed by a user (UTF-8), best first: exact names and codes,
// then names that start with it, then names with a later word that starts with it; within each,
// by Gazetteer::weight (towns by population, then airports and ports as towns of a size), then
// by name. Case, accents and punctuation do not matter
// (Gazetteer::fold). "NAME, WHERE" keeps the places whose country code is WHERE, whose
// country's name (or another name of it, "UK") starts with WHERE, or whose region starts with
// WHERE ("portland, or"). An empty query, one of no letter or digit, an unknown WHERE or a query
// longer than kMaxPlaceQueryBytes give no places. Time grows with the places whose name starts
// with the query, never with the text typed.
std::vector<PlaceMatch> findPlaces(const Gazetteer& gazetteer, std::string_view query,
                                   std::size_t limit);

// A place as the texts of the main window's inputs: its name, its country's English name, and
// whole degrees, whole minutes (rounded to the nearest: 59.6' is the next degree) and a letter
// (N or E for 0) for its latitude and longitude, as the coordinate lists hold them.
LocationTexts placeLocationTexts(const Gazetteer& gazetteer, std::size_t place);
// The same, with the place at `position` (a port taken at its water).
LocationTexts placeLocationTexts(const Gazetteer& gazetteer, std::size_t place, LatLon position);

} // namespace gyrena
