// Choosing the main window of a process among its top-level windows: the
// window that owns most of the process's other windows, else a visible
// one with a caption.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "support/process_rules.h"

class TAnalizer {
public:
    HWND Windows[MaxScoredWindows];
    uint16_t Scores[MaxScoredWindows];
    int Count = 0;
    DWORD ProcessId = 0;

    void Clear(DWORD processId);
    // Records every top-level window of the process, in enumeration order
    // (beyond the lists' room, further windows are not recorded).
    void CollectWindows();
    // Scores the recorded windows; the best, or 0 when none scores.
    HWND BestWindow();
};

HWND MainWindowOfProcess(const std::string& name, bool fullPathOnly);
