#pragma once

#include <cstdint>
#include <memory>
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

    // Value type codes.
    static constexpr std::uint32_t TypeNone = 0;           // REG_NONE
    static constexpr std::uint32_t TypeString = 1;         // REG_SZ
    static constexpr std::uint32_t TypeExpandString = 2;   // REG_EXPAND_SZ
    static constexpr std::uint32_t TypeBinary = 3;         // REG_BINARY
    static constexpr std::uint32_t TypeDword = 4;          // REG_DWORD
    static constexpr std::uint32_t TypeDwordBigEndian = 5; // REG_DWORD_BIG_ENDIAN
    static constexpr std::uint32_t TypeMultiString = 7;    // REG_MULTI_SZ
    static constexpr std::uint32_t TypeQword = 11;         // REG_QWORD

    // Error codes the implementations return.
    static constexpr long ErrorNotFound = 2;   // ERROR_FILE_NOT_FOUND
    static constexpr long ErrorAccess = 5;     // ERROR_ACCESS_DENIED
    static constexpr long ErrorMoreData = 234; // ERROR_MORE_DATA

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

// The registry of this system: the Windows registry on Windows (registry_win.cpp), the desktop
// stand-in elsewhere (desktopregistry.h).
std::unique_ptr<Registry> makeSystemRegistry();

} // namespace gyrena
