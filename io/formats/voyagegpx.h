#pragma once

// Voyage files: GPX 1.1 with one <rte> that holds every place and every computed waypoint in
// order, so that any chart plotter follows the route as planned. Which points are places, how
// each leg is sailed, the speeds and the departure go in <extensions> in Gyrena's namespace.

#include "geo/voyage.h"
#include "io/files/fileerror.h"
#include "io/files/regularfile.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

namespace gyrena {

inline constexpr std::string_view kVoyageNamespace = "https://gyrena.github.io/xmlns/voyage/1";
// Far beyond any voyage (a place a degree apart round the world is a few hundred kB), so that a
// wrong file is refused before it costs much memory.
inline constexpr std::size_t kMaxVoyageFileBytes = 8u << 20;
// How much of a voyage file is read, and what a larger one is told: in the window, on the
// command line and by gyrena --export-pdf alike.
inline constexpr ReadLimit kVoyageFileLimit{kMaxVoyageFileBytes, "the file is larger than 8 MB"};
inline constexpr std::size_t kMaxVoyageRoutePoints = 100000;
inline constexpr std::size_t kMaxVoyagePlaces = 10000;

// The document for `voyage` and its plan (the plan's rows in order; when the plan has none, the
// places alone), written by the one GPX writer (io/formats/gpxdocument.h). The route is named
// as the passage plan names it (routeName in io/plan/passageplan.h). A place's coordinates are
// written in full, so that they read back as the same doubles (io/files/plainnumber.h); the
// computed waypoints, named WP01, WP02 … by their row, with 9 decimals, as every exported file
// holds them. Every number is one the GPX 1.1 schema accepts, in every locale; a longitude
// outside [-180, 180) is wrapped into it. A place without a name has no <name>. Texts are UTF-8;
// what XML cannot hold becomes U+FFFD, and a carriage return in a name reads back as a line feed.
std::string writeVoyageGpx(const Voyage& voyage, const VoyagePlan& plan);

// Reads a GPX 1.1 (or 1.0) document of at most kMaxVoyageFileBytes, as io/files/xmldocument.h
// reads XML (UTF-8 or UTF-16; no document type declaration, no undefined entity). Gyrena's own
// file gives back the voyage it was written from: the points marked with <gyrena:place> are the
// places (the others, waypoints it computed, are planned afresh), and <gyrena:voyage> gives the
// speed, spacing and departure (the defaults when it is missing). Any other GPX route gives one
// place per <rtept> of its first <rte>, joined by great circles, at the default speed and
// spacing, without a departure. A document that is no XML, not in GPX's namespace, holds no
// route or fewer than two places, goes beyond the limits above or holds a value out of range
// gives a FileError (Kind::Unreadable) whose `what` says what and whose `line` says where
// (1-based; 0 for the size). Nothing is half-read.
std::variant<Voyage, FileError> readVoyageGpx(std::string_view bytes);

} // namespace gyrena
