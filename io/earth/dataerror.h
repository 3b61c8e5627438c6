#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace gyrena {

// Why a file of the Earth's data (magnetic model, time-zone map, a zone's rules) could not be
// read, and at which byte.
struct EarthDataError
{
    std::string what;       // a short English phrase
    std::size_t offset = 0; // the byte where the problem lies
};

// Little-endian and big-endian integers at `at`; the caller has checked the bounds.
inline std::uint32_t littleU32(std::string_view bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + std::size_t(i)]);
    return value;
}

inline std::uint16_t littleU16(std::string_view bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      static_cast<unsigned char>(bytes[at + 1]) << 8);
}

inline std::uint64_t bigU64(std::string_view bytes, std::size_t at, std::size_t size)
{
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < size; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

} // namespace gyrena
