#include "ui/route/seareader.h"

#include "io/earth/landasset.h"
#include "io/earth/searoutesasset.h"

#include <QCoreApplication>
#include <QThreadPool>

#include <algorithm>
#include <variant>

namespace gyrena {

namespace {

// Why the built-in routes cannot be found, once both assets were read; empty when they can.
std::string readProblem()
{
    if (const auto* error = std::get_if<SeaRouteError>(&builtInSeaGraph()))
        return "the sea-route graph cannot be read: " + error->what;
    if (const auto* error = std::get_if<LandAssetError>(&builtInLand()))
        return "the land cannot be read: " + error->what;
    return {};
}

} // namespace

SeaReader::SeaReader(QObject* parent) : QObject(parent) {}

SeaReader& SeaReader::instance()
{
    // A child of the application: Qt's thread pool waits for the read before the application
    // object, and so this, goes away.
    static SeaReader* reader = new SeaReader(QCoreApplication::instance());
    return *reader;
}

const SeaRouter* SeaReader::router()
{
    if (m_done)
        return readProblem().empty() ? &builtInSeaRouter() : nullptr;
    if (!m_started.exchange(true)) {
        QThreadPool::globalInstance()->start([this] {
            // Both are safe from any thread: the first caller reads, others wait.
            builtInSeaGraph();
            builtInLand();
            m_done = true;
            QMetaObject::invokeMethod(this, &SeaReader::ready, Qt::QueuedConnection);
        });
    }
    return nullptr;
}

const SeaRouter* SeaReader::routerNow()
{
    const bool read = readProblem().empty();
    m_readHere = true;
    return read ? &builtInSeaRouter() : nullptr;
}

QString SeaReader::problem() const
{
    return m_done || m_readHere ? QString::fromStdString(readProblem()) : QString();
}

std::vector<AvoidablePassage> SeaReader::passages() const
{
    std::vector<AvoidablePassage> out;
    if (!m_done)
        return out;
    const auto* graph = std::get_if<SeaGraph>(&builtInSeaGraph());
    if (!graph)
        return out;
    std::vector<SeaPassage> passages = graph->passages();
    // The canals first, then the straits, then the capes, each in the graph's order.
    std::stable_sort(passages.begin(), passages.end(),
                     [](const auto& a, const auto& b) { return a.kind < b.kind; });
    for (const SeaPassage& passage : passages)
        out.push_back({passage.key, passage.name});
    return out;
}

} // namespace gyrena
