// An application for the process and window tests, started under a path of
// the test's choosing. Switches:
//   /windows=plain   one visible window with a caption (the default)
//   /windows=owner   a hidden owner without caption that owns two visible
//                    dialogs, one of them through the other
//   /windows=none    no window at all
//   /close=ask       on WM_CLOSE open a question window instead of closing
//   /ignorequit      keep running when a quit message arrives
//   /life=MS         end with exit code 7 after this long (default 30000)
//   /report=FILE     once the windows exist, write "pid=", "path=" and
//                    the window handles ("main=", "owner=", "dialog1=",
//                    "dialog2=") to FILE, then "asked" and "quit" lines when
//                    those happen
//   /deleteself=1|2  call DeleteMySelf (2: with the folder) and end
// It ends with exit code 0 when closed or told to quit.
#include <windows.h>

#include <string>

#include "support/files_win.h"
#include "support/numbers.h"
#include "support/system_win.h"

namespace {

std::string g_report;
bool g_ask = false;
HWND g_question = nullptr;

void Report(const std::string& line)
{
    if (!g_report.empty())
        AppendToFile(g_report, line + "\n", 0);
}

std::string Handle(HWND window)
{
    return IntToText(static_cast<int64_t>(reinterpret_cast<uintptr_t>(window)));
}

LRESULT CALLBACK AppProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        if (g_ask) {
            if (!g_question) {
                g_question = CreateWindowA("TestAppWindow", "Close the application?",
                                           WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 40, 40, 200, 100, window,
                                           nullptr, GetModuleHandleA(nullptr), nullptr);
                Report("asked");
            }
            return 0;
        }
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        if (window != g_question)
            PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND Make(const char* caption, DWORD style, HWND owner)
{
    return CreateWindowA("TestAppWindow", caption, style, 10, 10, 240, 120, owner, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    LoadHostFacts();
    g_report = SwitchValue("/report=");
    const int64_t selfRemoval = SwitchInt("/deleteself=", 0);
    if (selfRemoval > 0) {
        DeleteMySelf(selfRemoval == 2);
        return 0;
    }
    g_ask = SwitchValue("/close=") == "ask";
    const bool ignoreQuit = SwitchPresent("/ignorequit");
    const std::string layout = SwitchValue("/windows=");
    const UINT life = static_cast<UINT>(SwitchInt("/life=", 30000));

    WNDCLASSA wc{};
    wc.lpfnWndProc = AppProc;
    wc.hInstance = instance;
    wc.lpszClassName = "TestAppWindow";
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    RegisterClassA(&wc);

    // A thread timer ends the program, whatever became of its windows.
    SetTimer(nullptr, 0, life, nullptr);
    std::string facts = "pid=" + IntToText(GetCurrentProcessId()) + "\npath=" + ProgramPath() + "\n";
    if (layout == "none") {
    } else if (layout == "owner") {
        HWND owner = Make("", WS_OVERLAPPED, nullptr);
        HWND first = Make("First dialog", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, owner);
        HWND second = Make("Second dialog", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, first);
        facts += "owner=" + Handle(owner) + "\ndialog1=" + Handle(first) + "\ndialog2=" + Handle(second) + "\n";
    } else {
        HWND main = Make("Test application", WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr);
        facts += "main=" + Handle(main) + "\n";
    }
    // Written whole under another name first, so a reader never sees half.
    if (!g_report.empty()) {
        WriteFileBytes(g_report + ".tmp", facts, 0, false);
        MoveFileA((g_report + ".tmp").c_str(), g_report.c_str());
    }

    MSG msg;
    for (;;) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == -1)
            return 5;
        if (got == 0) {
            Report("quit");
            if (ignoreQuit)
                continue;
            return 0;
        }
        if (msg.message == WM_TIMER && msg.hwnd == nullptr)
            ExitProcess(7);
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}
