#pragma once

#include <string>
#include <string_view>

namespace gyrena {

// `text` with everything XML 1.0 cannot hold (control characters other than tab, line feed and
// carriage return, bytes that are not well-formed UTF-8, U+FFFE, U+FFFF) replaced by U+FFFD, so
// that an XML library can write it as character data or an attribute value. Markup characters
// are left for the library to escape.
std::string xmlSafeText(std::string_view text);

} // namespace gyrena
