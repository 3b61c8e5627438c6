#pragma once

// GPX 1.1 route files for chart plotters and GPS programs.

#include "io/plan/passageplan.h"

#include <string>
#include <string_view>

namespace gyrena {

// The bytes of a GPX 1.1 document holding one <rte> named as `plan` is whose <rtept>s are its
// rows in order, named as they are (io/formats/gpxdocument.h writes it). Coordinates are
// written with 9 decimals and "." whatever the locale, the longitude in [-180, 180) as the
// schema wants it (180 is written -180); a non-finite one is written as 0. Any name can be written:
// what XML 1.0 cannot hold (control characters, bytes that are not UTF-8) becomes U+FFFD and a
// carriage return a line feed; an empty name is left out.
std::string writeGpxRoute(const PassagePlan& plan);

// A name as a GPX file holds it: what XML can hold, with line feeds for carriage returns (which
// an XML reader turns into line feeds anyway), so that what is read back is what was written.
std::string gpxText(std::string_view text);

} // namespace gyrena
