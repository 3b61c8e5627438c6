#include "platform/getkeyvalue.h"

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

bool getKeyValue(Registry& registry, std::uint32_t root, const std::string& keyName,
                 const std::string& valueName, std::string& value)
{
    Registry::Key key = 0;
    if (registry.openKey(root, keyName, kKeyValueAccess, key) != 0) {
        value.clear();
        return false;
    }

    std::array<unsigned char, 1024> buffer{};
    std::uint32_t size = static_cast<std::uint32_t>(buffer.size());
    std::uint32_t type = 0;
    const long status = registry.queryValue(key, valueName, type, buffer.data(), size);
    // A size the buffer cannot hold fails like a missing value, whatever the registry claims.
    if (status != 0 || size == 0 || size > buffer.size()) {
        registry.closeKey(key);
        value.clear();
        if (status == 0 && size == 0)
            throw EmptyRegistryValue();
        return false;
    }

    std::string text(reinterpret_cast<const char*>(buffer.data()), size);
    if (text.back() == '\0')
        text.pop_back();

    if (type == Registry::TypeString) {
        value = text;
    } else if (type == Registry::TypeDword) {
        // The number as stored, least significant byte first.
        std::uint32_t number = 0;
        for (std::uint32_t i = 0; i < size && i < 4; ++i)
            number |= std::uint32_t(buffer[i]) << (8 * i);
        value = "&h" + hexDigits(number);
    }
    registry.closeKey(key);
    return true;
}

} // namespace gyrena
