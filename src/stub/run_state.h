// Process-wide state of the stub, set at start-up and read by every role.
#pragma once

#include <cstdint>
#include <string>

class TGFileInfo;

// The package view of the running executable; valid from start to end.
const TGFileInfo& OwnPackage();
void SetOwnPackage(const TGFileInfo* package);

bool IsAgentProgram();
void SetIsAgentProgram(bool agent);

// Class of the main window; a second instance finds the first by it.
const std::string& MainClassName();
void SetMainClassName(const std::string& name);

// The process's exit code (see RunExitCode).
uint32_t StubExitCode();
void SetStubExitCode(uint32_t code);
