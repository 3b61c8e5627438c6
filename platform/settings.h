#pragma once

#include <string>

namespace gyrena {

// The user's choices that outlive a session, by key ("route/checkLand"). The program keeps them
// with QSettings (qtsettings.h); tests pass a fake, or none, and nothing is remembered.
class Settings
{
public:
    virtual ~Settings() = default;
    // The value stored under `key`, or `fallback` when there is none or it is not a flag.
    virtual bool flag(const std::string& key, bool fallback) const = 0;
    virtual void setFlag(const std::string& key, bool value) = 0;
};

} // namespace gyrena
