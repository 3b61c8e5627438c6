#pragma once

#include <string>
#include <string_view>

namespace gyrena {

// True when the bytes are well-formed UTF-8 (no overlongs, no surrogates, nothing past U+10FFFF).
bool isValidUtf8(std::string_view bytes);

// File bytes to UTF-8 text: the bytes themselves when they are valid UTF-8 (a leading UTF-8
// byte order mark dropped), otherwise read as Windows-1252 (the five unassigned bytes map to the
// C1 controls of the same number). Never fails.
std::string decodeFileText(std::string_view bytes);

// As decodeFileText, without a copy when the bytes are valid UTF-8: the result views `bytes`
// in that case, otherwise `storage`, which receives the decoded text.
std::string_view decodeFileText(std::string_view bytes, std::string& storage);

// UTF-8 text to file bytes: Windows-1252 when every character has a Windows-1252 byte,
// otherwise the UTF-8 itself. Also the UTF-8 itself when the Windows-1252 bytes would be valid
// UTF-8 (for example "Ã©"), so that decodeFileText(encodeFileText(t)) == t for every valid t
// that does not begin with a byte order mark. Invalid UTF-8 input is passed through unchanged.
std::string encodeFileText(std::string_view utf8);

} // namespace gyrena
