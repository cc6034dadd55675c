// Our host's main window, a GUI program: loads QvVorn.dll the way the mail
// client does and opens a main window like the mail client's for a person to
// use. Closing it unloads the plug-in, which then saves its settings.
#include <windows.h>

#include <cstdlib>

#include "main_window.h"

// qvhost.exe [path\to\QvVorn.dll]
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
    return main_window::Run(__argc > 1 ? __argv[1] : "QvVorn.dll", showCommand);
}
