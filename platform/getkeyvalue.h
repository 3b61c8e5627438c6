#pragma once

#include "platform/registry.h"

#include <cstdint>
#include <stdexcept>
#include <string>

namespace gyrena {

// The About window's registry read (GetKeyValue): value `valueName` of key `keyName` below
// `root`, as single-byte text in `value`.
//   - A text value (type 1) gives its text, less one terminating zero byte when present.
//   - A 32-bit number (type 4) gives "&h" and its hexadecimal digits in upper case, most
//     significant first, without leading zeros ("&h1A2B", "&h0").
//   - Any other type is read successfully but leaves `value` as it was.
// Returns false, with `value` emptied, when the key cannot be opened for reading, the value is
// missing or is longer than 1024 bytes. A value without a single byte is an error of its own:
// getKeyValue empties `value` and throws EmptyRegistryValue, so a caller looking in several
// places stops at the first such value instead of looking further. An opened key is always
// closed. Plain C++ over the Registry interface, so the Windows build can be tested without Qt.
bool getKeyValue(Registry& registry, std::uint32_t root, const std::string& keyName,
                 const std::string& valueName, std::string& value);

class EmptyRegistryValue : public std::runtime_error
{
public:
    EmptyRegistryValue() : std::runtime_error("registry value without data") {}
};

// The access getKeyValue asks for: reading only. Asking for write access as well fails under
// the local machine for every user without administrator rights.
inline constexpr std::uint32_t kKeyValueAccess = Registry::KeyRead;

} // namespace gyrena
