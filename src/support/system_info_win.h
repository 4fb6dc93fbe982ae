// Facts about the machine and the user, screen geometry, the shell's open
// action and run-time binding of system functions that older Windows
// versions lack. Every failure gives an empty text, 0 or false.
#pragma once

#include <windows.h>

#include <string>

#include "support/system_rules.h"

bool IsWinNT();
// HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion, with
// "Windows NT" on the NT family.
std::string CurrentVersionKey();

std::string UserName();
std::string ComputerName();
std::string RegisteredOwnerName();
std::string RegisteredOrganizationName();
// The domain that the local account lookup names for the account.
std::string AccountDomain(const std::string& account);
std::string UserDomain();

// The window's caption (up to 1023 characters).
std::string WindowText(HWND window);

// The system's message for the thread's last error, without trailing
// blanks and full stops.
std::string LastErrorText();

// points x screen dots per inch / 72, rounded as MulDiv rounds.
int PointsToPixels(int points);
// Top-left corner that centres a box in the desktop work area.
BoxOrigin CentreInWorkArea(int width, int height);

// The shell's default action on file, owned by the desktop window; true
// when the shell reports success.
bool ShellOpen(const std::string& file, const std::string& parameters, int showMode);

// The entry of the library (loaded by name and kept loaded), or null.
FARPROC BindProc(const char* library, const char* entry);

// True when the environment variable DVX is exactly "579"; read on the
// first call and kept.
bool DeveloperMode();
// The same question asked of the environment now.
bool DeveloperModeFromEnvironment();
