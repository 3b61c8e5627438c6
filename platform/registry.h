#pragma once

#include <cstdint>
#include <string>

namespace gyrena {

// The system registry as the About window reads it: open a key, query one value, close.
// Each call returns 0 on success and a non-zero error code otherwise, as the Windows API does.
class Registry
{
public:
    using Key = std::uintptr_t;

    static constexpr std::uint32_t LocalMachine = 0x80000002u; // HKEY_LOCAL_MACHINE
    static constexpr std::uint32_t KeyRead = 0x20019u;         // KEY_READ
    static constexpr std::uint32_t TypeString = 1;             // REG_SZ
    static constexpr std::uint32_t TypeBinary = 3;             // REG_BINARY
    static constexpr std::uint32_t TypeDword = 4;              // REG_DWORD

    virtual ~Registry() = default;

    // Opens `keyName` (single-byte text) below `root` asking for `accessMask`.
    virtual long openKey(std::uint32_t root, const std::string& keyName, std::uint32_t accessMask,
                         Key& key) = 0;
    // Reads value `valueName` of an open key: its type code, and its data into `buffer` of
    // `size` bytes; `size` is replaced by the number of bytes returned.
    virtual long queryValue(Key key, const std::string& valueName, std::uint32_t& type,
                            unsigned char* buffer, std::uint32_t& size) = 0;
    virtual long closeKey(Key key) = 0;
};

} // namespace gyrena
