// Process facts that only Windows can tell: the program's own path, the
// system folders, the command line, and the code page and locale facts that
// the portable text library reads. Thin: the text logic lives in the
// portable units (switches, paths, host_facts).
#pragma once

#include <cstdint>
#include <string>

#include "support/datetime.h"

// Reads the ANSI code page's lead bytes and the locale's date and time
// separators into the portable host facts. Called once at start-up.
void LoadHostFacts();

std::string ProgramPath();
std::string ProgramDir(bool withBackslash);
std::string WindowsDir(bool withBackslash);
std::string SystemDir(bool withBackslash);
std::string TempDir(bool withBackslash);

// The process's full command line as the system passes it, and the part
// after the program's own path.
std::string CommandLineText();
std::string CommandTail();
std::string SwitchValue(const std::string& name);
bool SwitchPresent(const std::string& name);
int64_t SwitchInt(const std::string& name, int64_t def);

// The current local date and time.
TDateTime NowDateTime();
