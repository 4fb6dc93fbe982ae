// The debug channel: the program's standard text output. What is written
// goes, in pieces of at most 128 bytes (a line's last piece ends with its
// CR LF), to a debug viewer: the registered message ".V_DebugMsg." is sent
// to the top-level window of class ".VDebug." with wParam 1 and lParam a
// global atom that holds the piece. Without a viewer the text is dropped.
// A viewer that does not answer in time loses the piece, and the channel
// then stops trying for a few seconds, so a hung viewer cannot hold up the
// program.
#pragma once

#include <windows.h>

#include <string>

constexpr const char* DebugViewerClass = ".VDebug.";
constexpr const char* DebugMessageName = ".V_DebugMsg.";
// How long one piece may wait for the viewer, and how long the channel
// stays quiet after a piece was not taken.
constexpr DWORD DebugSendTimeout = 500;
constexpr DWORD DebugQuietAfterTimeout = 5000;

// Registers the message and sets up the lock; at start-up, before anything
// is written (the first write does it otherwise).
void StartDebugChannel();

// Text without line end; it goes out when 128 bytes are held or with the
// next line end.
void DebugWrite(const std::string& text);
// The text and CR LF.
void DebugLine(const std::string& text);
// The process id in decimal followed by the text, as a line.
void DebugPidLine(const std::string& text);
void DebugFlush();
