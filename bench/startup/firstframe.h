#pragma once

// What the start-up programs measure, the same way for the real window and the bare one: the
// time from a CLOCK_MONOTONIC stamp taken by the runner just before it started the process to
// the end of the window's first paint, and the peak resident memory (VmHWM) at that moment.

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QWidget>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <string>

namespace gyrena::startup {

inline std::int64_t monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

// The process's peak resident set (VmHWM) and current one (VmRSS), in KiB.
inline long statusKiB(const char* key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(key) + ":";
    while (std::getline(status, line))
        if (line.rfind(prefix, 0) == 0)
            return std::strtol(line.c_str() + prefix.size(), nullptr, 10);
    return -1;
}

// The runner's stamp from argv ("--t0=<ns>"), or the stamp taken when main() began.
inline std::int64_t startStamp(int argc, char** argv, std::int64_t fallback)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--t0=", 0) == 0)
            return std::strtoll(arg.c_str() + 5, nullptr, 10);
    }
    return fallback;
}

inline bool hasFlag(int argc, char** argv, const char* flag)
{
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == flag)
            return true;
    return false;
}

inline std::string flagValue(int argc, char** argv, const char* name)
{
    const std::string prefix = std::string(name) + "=";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind(prefix, 0) == 0)
            return arg.substr(prefix.size());
    }
    return {};
}

// Calls `done` once, after the first paint of any widget of `window` has finished: the whole
// widget tree is painted and flushed in one go, so a call queued behind the first paint event
// runs when the first frame is complete.
class FirstFrame : public QObject
{
public:
    FirstFrame(QWidget* window, std::function<void()> done)
        : m_window(window), m_done(std::move(done))
    {
        qApp->installEventFilter(this);
    }

    // Arms the probe again for the next frame (after the window changed).
    void rearm()
    {
        m_seen = false;
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!m_seen && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == m_window) {
            m_seen = true;
            qApp->removeEventFilter(this);
            QMetaObject::invokeMethod(
                this, [this] { m_done(); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    QWidget* m_window;
    std::function<void()> m_done;
    bool m_seen = false;
};

} // namespace gyrena::startup
