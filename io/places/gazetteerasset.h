#pragma once

#include "io/places/gazetteer.h"

#include <string_view>
#include <variant>

namespace gyrena {

// The gazetteer compiled into the program (assets/places/gazetteer.bin), read and checked on the
// first call only, never before: start-up must not pay for it. Safe to call from any thread.
// An asset that cannot be read (a broken build) gives its GazetteerError on every call.
const std::variant<Gazetteer, GazetteerError>& builtInGazetteer();

// The asset's bytes as compiled in, unread (for benchmarks and checks of the reader).
std::string_view builtInGazetteerBytes();

// Whether builtInGazetteer() has been called yet in this process.
bool builtInGazetteerRead();

} // namespace gyrena
