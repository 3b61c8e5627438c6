#pragma once

// A router for tests of voyages by sea without the graph of water: every leg turns at the same
// points.

#include "geo/searouting.h"

#include <vector>

namespace gyrena {

// A router that turns at the points it is given, or finds no route when given none.
class TurningRouter : public SeaRouter
{
public:
    explicit TurningRouter(std::vector<SeaRoutePoint> turns) : m_turns(std::move(turns)) {}
    SeaRoute route(LatLon from, LatLon to, const SeaRouteOptions& options) const override
    {
        SeaRoute out;
        m_asked = options;
        if (m_turns.empty()) {
            out.problem = "the end lies beyond the limiting latitude";
            return out;
        }
        out.found = true;
        out.points.push_back({from, {}});
        for (const SeaRoutePoint& turn : m_turns) {
            out.points.push_back(turn);
            if (!turn.passage.empty())
                out.passages.push_back(turn.passage);
        }
        out.points.push_back({to, {}});
        return out;
    }
    mutable SeaRouteOptions m_asked; // the options of the last route asked

private:
    std::vector<SeaRoutePoint> m_turns;
};

} // namespace gyrena
