// The extraction run: unpack the package into the work folder, start the
// engine it carries, wait for it and take its exit code.
#pragma once

#include <windows.h>

#include <string>

// The first timer tick of a package run; ends the run with the quit request.
void StartPackageRun(HWND mainWindow);

// The run proper; true when the engine deleted the completion token. The
// outcome for the exit code is kept in the run state.
bool ExtractAndRunEngine(const std::string& workFolder, const std::string& packagePath,
                         const std::string& agentName, const std::string& arguments, bool foreground);
