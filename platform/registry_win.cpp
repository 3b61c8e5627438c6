// The Windows registry through advapi32, in its single-byte form: names and texts are in the
// system code page, as getKeyValue expects them.
#include "platform/registry.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace gyrena {

namespace {

class WindowsRegistry final : public Registry
{
public:
    long openKey(std::uint32_t root, const std::string& keyName, std::uint32_t accessMask,
                 Key& key) override
    {
        // The predefined roots are sign-extended 32-bit handle values.
        const HKEY rootKey = reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(root)));
        HKEY opened = nullptr;
        const LONG status = RegOpenKeyExA(rootKey, keyName.c_str(), 0, accessMask, &opened);
        key = status == ERROR_SUCCESS ? reinterpret_cast<Key>(opened) : 0;
        return status;
    }

    long queryValue(Key key, const std::string& valueName, std::uint32_t& type,
                    unsigned char* buffer, std::uint32_t& size) override
    {
        DWORD valueType = 0;
        DWORD bytes = size;
        const LONG status = RegQueryValueExA(reinterpret_cast<HKEY>(key), valueName.c_str(),
                                             nullptr, &valueType, buffer, &bytes);
        type = valueType;
        size = bytes;
        return status;
    }

    long closeKey(Key key) override { return RegCloseKey(reinterpret_cast<HKEY>(key)); }
};

} // namespace

std::unique_ptr<Registry> makeSystemRegistry()
{
    return std::make_unique<WindowsRegistry>();
}

} // namespace gyrena
