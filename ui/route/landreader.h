#pragma once

#include <QObject>
#include <QString>

#include <atomic>

namespace gyrena {

class LandIndex;

// The land compiled into the program, read once per process off the windows' thread: a route
// window shows its voyage unchecked while the land is read, and checks it when ready() comes.
class LandReader : public QObject
{
    Q_OBJECT
public:
    static LandReader& instance();

    // The land when it has been read, else null; the first call starts the read on Qt's thread
    // pool. Null for good when the land cannot be read (problem() says why).
    const LandIndex* land();
    // The land, read on this thread if need be (or waited for while a read is under way): for
    // a command that checks one voyage and ends. Null when it cannot be read.
    const LandIndex* landNow();
    // Whether a read is under way.
    bool reading() const { return m_started && !m_done; }
    // Why the land cannot be read, e.g. "the land module cannot be loaded: ..."; empty when it
    // can, or has not been read yet.
    QString problem() const;

signals:
    // The read has ended, with the land or with a problem. Delivered on the windows' thread.
    void ready();

private:
    explicit LandReader(QObject* parent);
    std::atomic<bool> m_started{false};
    std::atomic<bool> m_done{false};
};

} // namespace gyrena
