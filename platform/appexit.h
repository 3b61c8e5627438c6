#pragma once

#include <functional>

namespace gyrena {

// Ends the application at once: closes every top-level window (the About and math example
// windows as well as the main window) and then leaves the event loop, so no further handler
// runs.
void endApplication();

// Replaces how endApplication() leaves the event loop, once the windows are closed; returns
// the replaced handler. Tests install one that records the call instead of ending the test
// process.
std::function<void()> setQuitHandler(std::function<void()> handler);

} // namespace gyrena
