#include "platform/qtpreferences.h"

#include <QSettings>
#include <QString>

namespace gyrena {

namespace {

// Named here rather than taken from the application object, which has no organization.
QSettings settings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Gyrena"),
                     QStringLiteral("Gyrena"));
}

} // namespace

bool QtPreferences::flag(const std::string& key, bool fallback) const
{
    const QVariant value = settings().value(QString::fromStdString(key));
    // A value edited by hand into something else than a truth value keeps the default.
    if (!value.isValid() || !value.canConvert<bool>())
        return fallback;
    const QString text = value.toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("1"))
        return true;
    if (text == QLatin1String("false") || text == QLatin1String("0"))
        return false;
    return fallback;
}

void QtPreferences::setFlag(const std::string& key, bool value)
{
    settings().setValue(QString::fromStdString(key), value);
}

} // namespace gyrena
