#pragma once

#include "platform/preferences.h"

namespace gyrena {

// The user's choices in QSettings, under Gyrena's name (on Linux ~/.config/Gyrena/Gyrena.conf).
class QtPreferences final : public Preferences
{
public:
    bool flag(const std::string& key, bool fallback) const override;
    void setFlag(const std::string& key, bool value) override;
};

} // namespace gyrena
