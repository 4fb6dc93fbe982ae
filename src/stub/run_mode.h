// Start-up: the role decision and its frame.
#pragma once

#include <cstdint>

// The program's logic from start to end; returns the exit code.
uint32_t StubMain();
void DoRunStubWin();

bool X_ExeIsRunning();
bool ThisIs_Plain_AutoUpdate_Exe();
bool ThisIs_X_AutoUpdate_Exe();
bool CdRelaunchWanted();
bool CdCopyRun();
