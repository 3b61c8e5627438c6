#pragma once

#include "platform/settings.h"

#include <QSettings>

#include <memory>

namespace gyrena {

// Settings in QSettings' native place for this user and application (on Linux
// ~/.config/Gyrena/Gyrena.conf). The file is read on the first question, not at start-up.
class QtSettings final : public Settings
{
public:
    bool flag(const std::string& key, bool fallback) const override;
    void setFlag(const std::string& key, bool value) override;

private:
    QSettings& settings() const;
    mutable std::unique_ptr<QSettings> m_settings;
};

} // namespace gyrena
