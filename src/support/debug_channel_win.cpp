#include "support/debug_channel_win.h"

#include "support/numbers.h"
#include "support/trace_format.h"

namespace {

void SendPiece(const char* bytes, int count, void*);

// 0 not started, 1 starting, 2 ready.
volatile LONG g_state = 0;
CRITICAL_SECTION g_lock;
UINT g_message = 0;
bool g_quiet = false;
DWORD g_quietSince = 0;
DebugPieceBuffer g_buffer(SendPiece, nullptr);

void SendPiece(const char* bytes, int count, void*)
{
    if (g_quiet) {
        if (GetTickCount() - g_quietSince < DebugQuietAfterTimeout)
            return;
        g_quiet = false;
    }
    HWND viewer = FindWindowA(DebugViewerClass, nullptr);
    if (!viewer || g_message == 0)
        return;
    std::string text(bytes, static_cast<std::size_t>(count));
    ATOM atom = GlobalAddAtomA(text.c_str());
    if (!atom)
        return;
    const DWORD start = GetTickCount();
    DWORD_PTR answer = 0;
    SetLastError(NO_ERROR);
    if (!SendMessageTimeoutA(viewer, g_message, 1, atom, SMTO_NORMAL | SMTO_ABORTIFHUNG, DebugSendTimeout,
                             &answer)) {
        if (GetLastError() == ERROR_TIMEOUT || GetTickCount() - start >= DebugSendTimeout / 2) {
            g_quiet = true;
            g_quietSince = GetTickCount();
        }
    }
    GlobalDeleteAtom(atom);
}

}  // namespace

void StartDebugChannel()
{
    if (g_state == 2)
        return;
    if (InterlockedCompareExchange(&g_state, 1, 0) == 0) {
        InitializeCriticalSection(&g_lock);
        g_message = RegisterWindowMessageA(DebugMessageName);
        InterlockedExchange(&g_state, 2);
        return;
    }
    while (g_state != 2)
        Sleep(0);
}

void DebugWrite(const std::string& text)
{
    StartDebugChannel();
    EnterCriticalSection(&g_lock);
    g_buffer.Write(text);
    LeaveCriticalSection(&g_lock);
}

void DebugLine(const std::string& text)
{
    StartDebugChannel();
    EnterCriticalSection(&g_lock);
    g_buffer.WriteLine(text);
    LeaveCriticalSection(&g_lock);
}

void DebugPidLine(const std::string& text)
{
    DebugLine(IntToText(GetCurrentProcessId()) + text);
}

void DebugFlush()
{
    StartDebugChannel();
    EnterCriticalSection(&g_lock);
    g_buffer.Flush();
    LeaveCriticalSection(&g_lock);
}
