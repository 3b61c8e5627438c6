#pragma once

#include <string>

namespace gyrena {

// The choices a user makes once and expects to find again at the next start, by key
// ("route/checkLand"). The program keeps them with QSettings (qtpreferences.h); tests pass a
// map of their own.
class Preferences
{
public:
    virtual ~Preferences() = default;
    // The choice kept under `key`, or `fallback` when none is.
    virtual bool flag(const std::string& key, bool fallback) const = 0;
    virtual void setFlag(const std::string& key, bool value) = 0;
};

} // namespace gyrena
