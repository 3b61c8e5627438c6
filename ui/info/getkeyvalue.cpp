#include "ui/info/getkeyvalue.h"

#include <array>

namespace gyrena {

namespace {

std::string hexDigits(std::uint32_t number)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string text;
    do {
        text.insert(text.begin(), digits[number & 0xFu]);
        number >>= 4;
    } while (number != 0);
    return text;
}

} // namespace

bool GetKeyValue(Registry& registry, std::uint32_t KeyRoot, const std::string& KeyName,
                 const std::string& SubKeyRef, std::string& KeyVal)
{
    Registry::Key key = 0;
    if (registry.openKey(KeyRoot, KeyName, GetKeyValueAccess, key) != 0) {
        KeyVal.clear();
        return false;
    }

    std::array<unsigned char, 1024> buffer{};
    std::uint32_t size = static_cast<std::uint32_t>(buffer.size());
    std::uint32_t type = 0;
    const long status = registry.queryValue(key, SubKeyRef, type, buffer.data(), size);
    // A size the buffer cannot hold fails like a missing value, whatever the registry claims.
    if (status != 0 || size == 0 || size > buffer.size()) {
        registry.closeKey(key);
        KeyVal.clear();
        if (status == 0 && size == 0)
            throw EmptyRegistryValue();
        return false;
    }

    std::string text(reinterpret_cast<const char*>(buffer.data()), size);
    if (text.back() == '\0')
        text.pop_back();

    if (type == Registry::TypeString) {
        KeyVal = text;
    } else if (type == Registry::TypeDword) {
        // The number as stored, least significant byte first.
        std::uint32_t number = 0;
        for (std::uint32_t i = 0; i < size && i < 4; ++i)
            number |= std::uint32_t(buffer[i]) << (8 * i);
        KeyVal = "&h" + hexDigits(number);
    }
    registry.closeKey(key);
    return true;
}

} // namespace gyrena
