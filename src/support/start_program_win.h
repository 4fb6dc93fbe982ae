// The one way the system starts programs. The program file is named on its
// own, so a command line whose program path is unquoted and holds blanks
// ("C:\Program Files\App\app.exe /x") cannot start C:\Program.exe instead.
#pragma once

#include <windows.h>

#include <string>

// Starts exePath with commandLine as the text the program reads as its
// command line, with the start-up show state (SW_HIDE, SW_SHOW...), no
// inherited handles, in the caller's current folder. When process is not
// null it receives the process handle, which the caller closes; processId
// likewise receives the id. False when the program could not be started.
bool StartProgram(const std::string& exePath, const std::string& commandLine, int showState,
                  HANDLE* process = nullptr, DWORD* processId = nullptr);

// The system's command interpreter (%ComSpec%, else cmd.exe or COMMAND.COM).
std::string CommandInterpreter();

// Runs a batch file through the command interpreter, its path quoted.
bool StartCommandScript(const std::string& scriptPath, int showState);
