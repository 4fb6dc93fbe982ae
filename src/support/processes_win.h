// Running programs found by the name or path of their executable, waits
// for them to end, messages to their main window, and termination. The
// process lists come from PSAPI on the NT family and from the tool-help
// functions elsewhere, both bound at run time; without them no process is
// found.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Id of a process whose image path, base name (not with fullPathOnly) or
// short path matches name; 0 when none does.
DWORD FindProcessId(const std::string& name, bool fullPathOnly);
// The two walks behind it. The PSAPI walk returns the first match from the
// end of the process list, the tool-help walk the last match of its
// snapshot.
DWORD FindProcessIdPsapi(const std::string& name, bool fullPathOnly);
DWORD FindProcessIdToolHelp(const std::string& name, bool fullPathOnly);

// Ids of the running processes (PSAPI); empty when unknown.
std::vector<DWORD> ProcessIdList();
bool ProcessIdAlive(DWORD processId);

// The name may come in double quotes.
bool IsProcessRunning(const std::string& name);
// Waits, keeping the thread's windows serviced, until no process of that
// name runs or timeoutMs passed (below 1: no limit). Lasts at least two
// seconds.
void WaitProcessEnd(const std::string& name, int64_t timeoutMs);
// Waits while a top-level window of the class (and title, when not empty)
// exists.
void WaitWindowGone(const std::string& className, const std::string& title);

// Last window of the owner chain; 0 for a window without owner.
HWND TopOwner(HWND window);

// Posts to the main window of the process; true when there is one,
// whether or not the post succeeded.
bool PostToProcess(const std::string& name, bool fullPathOnly, UINT message, WPARAM wParam, LPARAM lParam);
bool CloseProcessWindow(const std::string& name, bool fullPathOnly);
bool QuitProcessWindow(const std::string& name, bool fullPathOnly);
// Ends the process with exit code 0; true when that succeeded.
bool TerminateProcessByName(const std::string& name, bool fullPathOnly);
