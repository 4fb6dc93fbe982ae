// The main window: a small hidden top-level window with a status line, a
// progress bar and an activity bar, and the one-second timer that drives a
// package run or the agent.
#pragma once

#include <windows.h>

#include <string>

constexpr UINT wm_ShutDown = WM_USER + 99;
constexpr UINT wm_LocalMsg = WM_USER + 100;
constexpr UINT wm_AgentMsg = WM_USER + 101;
constexpr UINT_PTR MainTimerId = 1;
constexpr UINT MainTimerPeriod = 1000;
constexpr int MainWindowWidth = 492;
constexpr int MainWindowHeight = 110;
constexpr DWORD MainWindowStyle = 0x02C80000;  // caption, system menu, clip children

// Creates the class and the window and runs the message loop until it ends.
void RunMainWindow();

HWND MainWindow();
HWND StatusLabel();
HWND ProgressBar();
HWND ActivityBar();

// Left edges of the label and the activity bar for a character set: the
// right-to-left sets (177, 178) swap their places.
int StatusLabelLeft(int charset);
int ActivityBarLeft(int charset);

bool CloseMainWindow();
void DestroyMainWindow();

// Posts the notification message to the window that asked for them.
void NotifyListener(WPARAM w, LPARAM l);
