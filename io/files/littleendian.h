#pragma once

// Numbers in the binary assets (coastlines, gazetteer and those that come after them): stored
// least significant byte first whatever the machine. The caller checks that the bytes are there
// (at + the width <= bytes.size()) before it reads.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace gyrena {

inline std::uint8_t readU8(std::string_view bytes, std::size_t at)
{
    return static_cast<std::uint8_t>(bytes[at]);
}

inline std::uint16_t readU16(std::string_view bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(readU8(bytes, at) | readU8(bytes, at + 1) << 8);
}

inline std::uint32_t readU32(std::string_view bytes, std::size_t at)
{
    return std::uint32_t{readU16(bytes, at)} | std::uint32_t{readU16(bytes, at + 2)} << 16;
}

// Two's complement, as the assets store signed numbers.
inline std::int16_t readI16(std::string_view bytes, std::size_t at)
{
    return static_cast<std::int16_t>(readU16(bytes, at));
}

inline std::int32_t readI32(std::string_view bytes, std::size_t at)
{
    return static_cast<std::int32_t>(readU32(bytes, at));
}

} // namespace gyrena
