// Entry of the setup stub: loads the process facts and the language, then
// runs the role that StubMain decides; its result is the exit code.
#include <windows.h>

#include "stub/run_mode.h"
#include "support/system_win.h"
#include "ui/language_win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    LoadHostFacts();
    LoadSystemLanguage();
    ExitProcess(StubMain());
    return 0;
}
