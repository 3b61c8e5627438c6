#pragma once

#include <string>
#include <string_view>

namespace gyrena {

// True when the bytes are well-formed UTF-8 (no overlongs, no surrogates, nothing past U+10FFFF).
bool isValidUtf8(std::string_view bytes);

// File bytes to UTF-8 text: the bytes themselves when they are valid UTF-8, otherwise read as
// Windows-1252 (the five unassigned bytes map to the C1 controls of the same number).
std::string decodeFileText(std::string_view bytes);

// UTF-8 text to file bytes: Windows-1252 when every character has a Windows-1252 byte,
// otherwise the UTF-8 itself. Invalid UTF-8 input is passed through unchanged.
std::string encodeFileText(std::string_view utf8);

} // namespace gyrena
