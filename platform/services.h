#pragma once

namespace gyrena {

class Dialogs;
class Registry;
class Launcher;
class PrintPreview;
class Settings;

// The outside world as the windows reach it. The program passes the real implementations;
// tests pass fakes that script every answer.
struct Services
{
    Dialogs* dialogs = nullptr;
    Registry* registry = nullptr;
    Launcher* launcher = nullptr;
    PrintPreview* printPreview = nullptr;
    Settings* settings = nullptr; // none: nothing is remembered
};

} // namespace gyrena
