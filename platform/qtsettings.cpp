#include "platform/qtsettings.h"

namespace gyrena {

QSettings& QtSettings::settings() const
{
    if (!m_settings)
        m_settings =
            std::make_unique<QSettings>(QStringLiteral("Gyrena"), QStringLiteral("Gyrena"));
    return *m_settings;
}

bool QtSettings::flag(const std::string& key, bool fallback) const
{
    const QVariant value = settings().value(QString::fromStdString(key));
    return value.isValid() && value.canConvert<bool>() ? value.toBool() : fallback;
}

void QtSettings::setFlag(const std::string& key, bool value)
{
    settings().setValue(QString::fromStdString(key), value);
}

} // namespace gyrena
