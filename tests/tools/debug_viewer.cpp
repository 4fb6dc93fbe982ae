// A debug viewer for the tests: owns a hidden top-level window of class
// ".VDebug.", answers ".V_DebugMsg." and appends every piece it receives to
// the file named by /log=. Each piece is also recorded as "<length>:<bytes>\n"
// in <log>.pieces, so that tests can see where the pieces were cut.
//   /log=FILE   where the pieces go (required)
//   /hang       take each message but do not answer it for 30 s
//   /life=MS    end after this long (default 60000)
// It ends on WM_CLOSE.
#include <windows.h>

#include <string>

#include "support/debug_channel_win.h"
#include "support/numbers.h"
#include "support/system_win.h"

namespace {

UINT g_message = 0;
std::string g_log;
bool g_hang = false;

void Append(const std::string& path, const std::string& bytes)
{
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return;
    SetFilePointer(f, 0, nullptr, FILE_END);
    DWORD n = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    CloseHandle(f);
}

LRESULT CALLBACK ViewerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == g_message && g_message != 0) {
        if (g_hang) {
            Sleep(30000);
            return 0;
        }
        char text[512];
        UINT n = GlobalGetAtomNameA(static_cast<ATOM>(lParam), text, sizeof text);
        std::string piece(text, n);
        Append(g_log, piece);
        Append(g_log + ".pieces", IntToText(static_cast<int64_t>(piece.size())) + ":" + piece + "\n");
        return wParam == 1 ? 1 : 0;
    }
    if (message == WM_TIMER || message == WM_CLOSE) {
        DestroyWindow(window);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    g_log = SwitchValue("/log=");
    g_hang = SwitchPresent("/hang");
    if (g_log.empty())
        return 2;
    g_message = RegisterWindowMessageA(DebugMessageName);
    WNDCLASSA wc{};
    wc.lpfnWndProc = ViewerProc;
    wc.hInstance = instance;
    wc.lpszClassName = DebugViewerClass;
    if (!RegisterClassA(&wc))
        return 3;
    HWND window = CreateWindowA(DebugViewerClass, "Debug viewer", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                                nullptr, instance, nullptr);
    if (!window)
        return 4;
    SetTimer(window, 1, static_cast<UINT>(SwitchInt("/life=", 60000)), nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
