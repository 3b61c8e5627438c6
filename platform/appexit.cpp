#include "platform/appexit.h"

#include <QApplication>

#include <utility>

namespace gyrena {

namespace {

std::function<void()>& quitHandler()
{
    static std::function<void()> handler = [] { QCoreApplication::exit(0); };
    return handler;
}

} // namespace

void endApplication()
{
    QApplication::closeAllWindows();
    if (const auto& quit = quitHandler())
        quit();
}

std::function<void()> setQuitHandler(std::function<void()> handler)
{
    return std::exchange(quitHandler(), std::move(handler));
}

} // namespace gyrena
