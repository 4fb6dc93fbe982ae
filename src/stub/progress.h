// What the main window shows while a package is extracted.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// The progress callback: mode 0 resets the bar to 0..high with position
// and step (high taken as 16 bits) and the activity bar to 0..5; mode 1
// steps both; other modes do nothing. The status text is not shown.
void ProgressNotify(int mode, int64_t low, int64_t high, int64_t position, int64_t step,
                    const std::string& status);

// The label's reading order, font (size in points) and text.
void SetStatusText(HWND label, const std::string& text, const std::string& fontName, int charset, int points);
