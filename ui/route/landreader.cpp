#include "ui/route/landreader.h"

#include "io/earth/landasset.h"

#include <QCoreApplication>
#include <QThreadPool>

#include <variant>

namespace gyrena {

LandReader::LandReader(QObject* parent) : QObject(parent) {}

LandReader& LandReader::instance()
{
    // A child of the application: Qt's thread pool waits for the read before the application
    // object, and so this, goes away.
    static LandReader* reader = new LandReader(QCoreApplication::instance());
    return *reader;
}

const LandIndex* LandReader::land()
{
    if (m_done)
        return std::get_if<LandIndex>(&builtInLand());
    if (!m_started.exchange(true)) {
        QThreadPool::globalInstance()->start([this] {
            builtInLand(); // safe from any thread; the first caller reads, others wait
            m_done = true;
            QMetaObject::invokeMethod(this, &LandReader::ready, Qt::QueuedConnection);
        });
    }
    return nullptr;
}

const LandIndex* LandReader::landNow()
{
    return std::get_if<LandIndex>(&builtInLand());
}

QString LandReader::problem() const
{
    if (!m_done)
        return {};
    const auto* failed = std::get_if<LandAssetError>(&builtInLand());
    return failed ? QString::fromStdString(failed->what) : QString();
}

} // namespace gyrena
