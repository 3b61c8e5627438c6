#pragma once

// The gazetteer side of gyrena-route: --find, --from and --to.

#include "plan_output.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace gyrena::route {

// The lines of --help about places, after the program's own.
extern const std::string_view kPlaceUsage;
extern const std::string_view kPlaceHelp;

struct PlaceRequest
{
    std::optional<std::string> find; // --find TEXT
    std::optional<std::string> from; // --from TEXT
    std::optional<std::string> to;   // --to TEXT

    bool anyRoute() const { return from.has_value() || to.has_value(); }
};

// Takes the option argv[i] (and its value, advancing i) into `request`; `error` says what is
// wrong with a Wrong one.
OptionResult takePlaceOption(int argc, char** argv, int& i, PlaceRequest& request,
                             std::string& error);

// --find: the best answers on standard output, one a line. Returns 0, or 1 when nothing
// matches (said on standard error).
int runFind(const std::string& text);

// --from and --to: the twelve coordinate texts (argument order) and the two names of the first
// answers, each said on standard error. Both options must be given. Prints why and returns
// false when either finds nothing. `bySea` (--sea) prefers a town's port and takes a place
// far inland by the land model at its nearest water.
bool routeFromPlaces(const PlaceRequest& request, bool bySea, std::array<std::string, 12>& texts,
                     std::array<std::string, 2>& names);

} // namespace gyrena::route
