#include "platform/dialogs.h"

#include <QStringList>

namespace gyrena {

QString toQtFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts.at(i).trimmed();
        const QString pattern = parts.at(i + 1).trimmed();
        if (description.isEmpty() && pattern.isEmpty())
            continue;
        // Qt reads the patterns from the brackets of each entry.
        if (description.contains(QLatin1Char('(')) || pattern.isEmpty())
            entries << description;
        else
            entries << QStringLiteral("%1 (%2)").arg(description, QString(pattern).replace(QLatin1Char(';'), QLatin1Char(' ')));
    }
    return entries.join(QStringLiteral(";;"));
}

} // namespace gyrena
