#pragma once

#include "platform/registry.h"

#include <cstdint>
#include <stdexcept>
#include <string>

namespace gyrena {

// The About window's registry read: value `SubKeyRef` of key `KeyName` below `KeyRoot`, as
// single-byte text in `KeyVal`.
//   - A text value (type 1) gives its text, less one terminating zero byte when present.
//   - A 32-bit number (type 4) gives "&h" and its hexadecimal digits in upper case, most
//     significant first, without leading zeros ("&h1A2B", "&h0").
//   - Any other type is read successfully but leaves `KeyVal` as it was.
// Returns false, with `KeyVal` emptied, when the key cannot be opened for reading, the value is
// missing or is longer than 1024 bytes. A value without a single byte is an error of its own:
// GetKeyValue empties `KeyVal` and throws EmptyRegistryValue, so a caller looking in several
// places stops at the first such value instead of looking further. An opened key is always
// closed. Plain C++ over the Registry interface, so the Windows build can be tested without Qt.
bool GetKeyValue(Registry& registry, std::uint32_t KeyRoot, const std::string& KeyName,
                 const std::string& SubKeyRef, std::string& KeyVal);

class EmptyRegistryValue : public std::runtime_error
{
public:
    EmptyRegistryValue() : std::runtime_error("registry value without data") {}
};

// The access GetKeyValue asks for: reading only. Asking for write access as well fails under
// the local machine for every user without administrator rights.
inline constexpr std::uint32_t GetKeyValueAccess = Registry::KeyRead;

} // namespace gyrena
