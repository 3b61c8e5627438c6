#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <string>
#include <vector>

namespace gyrena {

class SeaRouter;

// A passage a route by sea can be told to avoid, as the window lists it.
struct AvoidablePassage
{
    std::string key;  // what SeaRouteOptions::avoid holds: "suez"
    std::string name; // "Suez Canal"
};

// The routes by sea compiled into the program (the graph of water and the land it needs), read
// once per process off the windows' thread: a route window with a leg by sea says it is finding
// the routes while they are read, and plans the voyage when ready() comes.
class SeaReader : public QObject
{
    Q_OBJECT
public:
    static SeaReader& instance();

    // The router when the graph and the land have been read, else null; the first call starts
    // the read on Qt's thread pool. Null for good when either cannot be read (problem() says why).
    const SeaRouter* router();
    // The router, the graph and the land read on this thread if need be (or waited for while a
    // read is under way): for a command that plans one voyage and ends. Null when either cannot
    // be read.
    const SeaRouter* routerNow();
    // Whether a read is under way.
    bool reading() const { return m_started && !m_done; }
    // Why there are no routes by sea; empty when there are, or while they are read.
    QString problem() const;
    // The graph's passages (the canals, the straits, then the capes), once it has been read.
    std::vector<AvoidablePassage> passages() const;

signals:
    // The read has ended, with the routes or with a problem. Delivered on the windows' thread.
    void ready();

private:
    explicit SeaReader(QObject* parent);
    std::atomic<bool> m_started{false};
    std::atomic<bool> m_done{false};
    bool m_readHere = false; // routerNow() has read them on the windows' thread
};

} // namespace gyrena
