// Entry of the setup stub. The roles (package run, download-first
// installer, agent launcher, resident agent) are chosen here once they
// exist; for now the program only loads its process facts and ends.
#include <windows.h>

#include "support/system_win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    LoadHostFacts();
    return 0;
}
