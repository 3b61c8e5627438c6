#pragma once

// Every change a user makes to a voyage, as a value: an edit says what changes, and
// applyEdit() turns one voyage into the next without touching anything else. The window's
// commands, the map's and an undo stack all speak these edits; an undo step keeps the voyage
// before and the edit (or the voyage after it).

#include "geo/voyage.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace gyrena {

// Puts `place` before the place at index `at` (after the last when `at` is the number of places
// or more). The leg it splits goes on in both halves as it was sailed; a place put first or
// last gets a great-circle leg of its own.
struct InsertPlace
{
    std::size_t at = 0;
    VoyagePlace place;
};

// Takes out the place at `at`, never leaving fewer than two places. The leg that left it goes;
// the leg that reached it now reaches the next place (the last place takes its leg in with it).
struct RemovePlace
{
    std::size_t at = 0;
};

// Moves the place at `from` to index `to`, the places between closing up. The legs stay where
// they are: the first leg is sailed as before, whatever place now begins it.
struct MovePlace
{
    std::size_t from = 0;
    std::size_t to = 0;
};

struct RenamePlace
{
    std::size_t at = 0;
    std::string name; // UTF-8, kept as given
};

// Puts the place at `at` on a new position (signed degrees, as VoyagePlace holds them).
struct SetPosition
{
    std::size_t at = 0;
    LatLon position;
};

// How leg `leg` (from place `leg` to the next) is sailed.
struct SetLegSailing
{
    std::size_t leg = 0;
    Sailing sailing = Sailing::GreatCircle;
};

// The limiting latitude of leg `leg`, degrees (the plan brings it into kMinimumLimit..
// kMaximumLimit); kept while the leg is sailed otherwise, for when it is composite again.
struct SetLegLimit
{
    std::size_t leg = 0;
    double limitLatitude = 60.0;
};

// Leg `leg`'s own speed, knots; empty: the voyage's speed.
struct SetLegSpeed
{
    std::size_t leg = 0;
    std::optional<double> speed;
};

struct SetSpeed
{
    double speed = 6.0; // knots; a plan outside kMinimumSpeed..kMaximumSpeed has no times
};

struct SetDeparture
{
    std::optional<std::int64_t> departure; // UTC minute (geo/utctime.h); empty: no times
};

struct SetSpacing
{
    PlanOptions spacing;
};

// How every leg by sea is routed: the clearance, the limiting latitude, the passages avoided.
struct SetSeaOptions
{
    SeaRouteOptions sea;
};

using VoyageEdit =
    std::variant<InsertPlace, RemovePlace, MovePlace, RenamePlace, SetPosition, SetLegSailing,
                 SetLegLimit, SetLegSpeed, SetSpeed, SetDeparture, SetSpacing, SetSeaOptions>;

// `voyage` changed by `edit`, with one leg for every two consecutive places (a missing one a
// great circle). An edit naming a place or leg the voyage does not have, or one that would
// leave fewer than two places, changes nothing but that.
Voyage applyEdit(Voyage voyage, const VoyageEdit& edit);

// `voyage` with one leg for every two consecutive places: a missing one a great circle, one too
// many dropped.
Voyage withLegsFitted(Voyage voyage);

// Whether the edit changes the places or a leg rather than the voyage's speed, its departure,
// the spacing of its waypoints or how its legs by sea are routed.
bool changesPlacesOrLegs(const VoyageEdit& edit);

// What the edit does in a few words, for an undo command: "Add Place", "Change Sailing"...
std::string editName(const VoyageEdit& edit);

} // namespace gyrena
