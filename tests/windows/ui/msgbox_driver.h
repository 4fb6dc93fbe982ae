// Test driver for the stub's message box: finds an open box of a process
// or thread, reads what it shows (title, body, bold characters, buttons,
// geometry, focus) and answers it with a click or keys, as a user would.
// Works on a box of the calling process or of another one.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace msgbox_driver {

struct Button {
    HWND window = nullptr;
    std::string label;
    RECT rect{};  // in the box's client coordinates
    int result = 0;
    bool isDefault = false;
};

struct BoxView {
    HWND box = nullptr;
    HWND edit = nullptr;
    DWORD thread = 0;
    DWORD process = 0;
    std::string title;
    std::string text;                        // as the control holds it
    std::vector<std::pair<int, int>> bold;   // [start, end) in control characters
    int controlLength = -1;                  // characters, as the control counts them
    RECT window{};                           // screen coordinates
    RECT client{};                           // size of the client area
    RECT editRect{};                         // in client coordinates
    DWORD editStyle = 0;
    DWORD editExStyle = 0;
    bool rightAligned = false;               // paragraph alignment of the text
    bool closeGreyed = false;
    std::vector<Button> buttons;             // left to right
    int focused = -1;                        // index into buttons
};

// The first box of the given thread (or, with thread 0, of the process),
// waiting up to timeoutMs for it to appear; null when none came.
HWND WaitForBox(DWORD process, DWORD thread, int timeoutMs);
// Reads the box; false when it is gone.
bool ReadBox(HWND box, BoxView& view);
// The bold parts of the text, joined by "|", as "|ERROR|".
std::string BoldText(const BoxView& view);

// Answers: a click of the button at index (left to right), Alt with a
// character, a key (virtual-key code) to the focused window, Alt+F4.
bool ClickButton(const BoxView& view, int index);
void PressAltChar(const BoxView& view, char c);
void PressKey(const BoxView& view, UINT virtualKey);
void PressAltF4(const BoxView& view);
// Waits until the box window is gone.
bool WaitGone(HWND box, int timeoutMs);

}  // namespace msgbox_driver
