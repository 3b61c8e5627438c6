#include "platform/dialogs.h"

#include <QStringList>

namespace gyrena {

std::optional<QString> Dialogs::text(QWidget*, const QString&, const QString&, const QString&)
{
    return std::nullopt;
}

QString toQtFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString description = parts.at(i).trimmed();
        // A filter without any "|" (such as "*.txt" or "Text (*.txt)") is one entry as it stands.
        const QString pattern = i + 1 < parts.size() ? parts.at(i + 1).trimmed() : QString();
        if (description.isEmpty() && pattern.isEmpty())
            continue;
        // Qt separates the patterns of one entry by blanks, not semicolons.
        const QString qtPattern = QString(pattern).replace(QLatin1Char(';'), QLatin1Char(' '));
        const QString bracketed = QStringLiteral("(%1)").arg(qtPattern);
        // Qt reads the patterns from the brackets at the end of each entry, so a description
        // that already ends with them stays as it is, and any other gets them appended: a
        // description such as "Data (old)" must not be read as the pattern "old".
        if (pattern.isEmpty() || description.endsWith(bracketed))
            entries << description;
        else if (description.isEmpty())
            entries << qtPattern;
        else
            entries << QStringLiteral("%1 %2").arg(description, bracketed);
    }
    return entries.join(QStringLiteral(";;"));
}

} // namespace gyrena
