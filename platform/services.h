#pragma once

namespace gyrena {

class Dialogs;
class Registry;
class Launcher;
class PrintPreview;
class Preferences;

// The outside world as the windows reach it. The program passes the real implementations;
// tests pass fakes that script every answer.
struct Services
{
    Dialogs* dialogs = nullptr;
    Registry* registry = nullptr;
    Launcher* launcher = nullptr;
    PrintPreview* printPreview = nullptr;
    Preferences* preferences = nullptr; // null: every choice starts as its default, unkept
};

} // namespace gyrena
