#pragma once

// The benchmarks' voyage of 100 places, planned with a waypoint every degree of longitude.

#include "geo/voyage.h"

#include <cmath>
#include <string>

namespace gyrena {

// 100 places from the Caribbean east round the world, 3.5 degrees of longitude apart and up and
// down between 20 and 36 degrees north; every third leg a rhumb line, every third composite
// below 36.5 degrees.
inline Voyage hundredPlaces()
{
    Voyage voyage;
    for (int i = 0; i < 100; ++i)
        voyage.places.push_back(
            {"P" + std::to_string(i + 1), {28.0 + 8.0 * std::sin(i * 0.7), -80.0 + 3.5 * i}});
    for (int i = 0; i < 99; ++i)
        voyage.legs.push_back({i % 3 == 0   ? Sailing::GreatCircle
                               : i % 3 == 1 ? Sailing::RhumbLine
                                            : Sailing::Composite,
                               36.5, std::nullopt});
    voyage.spacing = {PlanOptions::Spacing::Meridians, 1, 600.0};
    voyage.departure = 29400000; // 2025-11-25T00:00Z
    return voyage;
}

} // namespace gyrena
