#pragma once

// Voyage files: GPX 1.1 with one <rte> that holds every place and every computed waypoint in
// order, so that any chart plotter follows the route as planned. Which points are places, how
// each leg is sailed, the speeds and the departure go in <extensions> in Gyrena's namespace.

#include "geo/voyage.h"
#include "io/files/fileerror.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

namespace gyrena {

inline constexpr std::string_view kVoyageNamespace = "https://gyrena.github.io/xmlns/voyage/1";
// Far beyond any voyage (a place a degree apart round the world is a few hundred kB), so that a
// wrong file is refused before it costs much memory.
inline constexpr std::size_t kMaxVoyageFileBytes = 8u << 20;
inline constexpr std::size_t kMaxVoyageRoutePoints = 100000;
inline constexpr std::size_t kMaxVoyagePlaces = 10000;
inline constexpr std::size_t kMaxXmlDepth = 64;
inline constexpr std::size_t kMaxXmlNodes = 1000000;

// The document for `voyage` and its plan (the plan's rows in order; when the plan has none, the
// places alone). Computed waypoints are named WP01, WP02 … by their row; a place without a
// name has no <name>. Numbers are written in full (each reads back as the same double) in every
// locale; a longitude outside [-180, 180) is wrapped into it. Texts are UTF-8; what XML cannot
// hold becomes U+FFFD, and a carriage return in a name reads back as a line feed.
std::string writeVoyageGpx(const Voyage& voyage, const VoyagePlan& plan);

// Reads a GPX document (at most kMaxVoyageFileBytes). Gyrena's own file gives back the voyage it
// was written from; any other GPX route gives one place per <rtept> of its first <rte>, joined by
// great circles, at the default speed and spacing, without a departure. A document that is no
// XML, no GPX, holds no route or fewer than two places, goes beyond the limits above or holds a
// value out of range gives a FileError (Kind::Unreadable) whose `what` says what and whose
// `line` says where (1-based; 0 for the size). Nothing is half-read.
std::variant<Voyage, FileError> readVoyageGpx(std::string_view bytes);

} // namespace gyrena
