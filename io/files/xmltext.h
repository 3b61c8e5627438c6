#pragma once

// What XML 1.0 can hold of a UTF-8 text: every writer of XML files passes its texts through here
// so that a document is well-formed whatever a name holds.

#include <cstddef>
#include <string>
#include <string_view>

namespace gyrena {

// U+FFFD, which stands in for what XML cannot hold.
inline constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// The length of the well-formed UTF-8 sequence at the start of `s` that XML 1.0 allows, or 0
// (control characters but tab, line feed and carriage return count as not allowed; so do
// surrogates, U+FFFE and U+FFFF, overlong and truncated sequences).
std::size_t xmlCharLength(std::string_view s);

// `text` with every byte that does not start an allowed character (xmlCharLength) replaced by
// U+FFFD; markup characters are left for the XML library to escape.
std::string xmlCharacters(std::string_view text);

} // namespace gyrena
