#pragma once

#include "platform/preferences.h"

#include <map>
#include <string>

namespace gyrena {

// The user's choices as a map, kept as long as the test holds it. Suites about other things
// than the land start with the land check off, so that what they compare does not depend on
// when the land has been read.
class FakePreferences final : public Preferences
{
public:
    static FakePreferences landUnchecked()
    {
        FakePreferences preferences;
        preferences.flags["route/checkLand"] = false;
        return preferences;
    }
    bool flag(const std::string& key, bool fallback) const override
    {
        const auto found = flags.find(key);
        return found == flags.end() ? fallback : found->second;
    }
    void setFlag(const std::string& key, bool value) override { flags[key] = value; }

    std::map<std::string, bool> flags;
};

} // namespace gyrena
