#include "stub/main_window.h"

#include <commctrl.h>

#include "package/file_info.h"
#include "stub/agent_hooks.h"
#include "stub/package_run.h"
#include "stub/run_state.h"
#include "stub/temp_space.h"
#include "support/debug_channel_win.h"
#include "support/files_win.h"
#include "support/messages_win.h"
#include "support/system_info_win.h"
#include "support/system_win.h"
#include "support/trace_log_win.h"
#include "ui/msgbox_win.h"
#include "ui/package_language.h"

namespace {

HWND g_window = nullptr;
HWND g_label = nullptr;
HWND g_progress = nullptr;
HWND g_activity = nullptr;
HFONT g_labelFont = nullptr;
bool g_done = false;
HWND g_listener = nullptr;
UINT g_listenerMessage = 0;

HWND Child(HWND parent, const char* className, DWORD style, int x, int y, int width, int height)
{
    return CreateWindowExA(0, className, "", style, x, y, width, height, parent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

void CreateControls(HWND window)
{
    const TGFileInfo own(ProgramPath());
    const int charset = LangCharset(own);
    g_label = Child(window, "Static", WS_CHILD | WS_VISIBLE, StatusLabelLeft(charset), 20, 340, 18);
    g_progress = Child(window, PROGRESS_CLASSA, WS_CHILD | WS_VISIBLE, 70, 38, 392, 13);
    g_activity = Child(window, PROGRESS_CLASSA, WS_CHILD, ActivityBarLeft(charset), 20, 46, 13);
    SetTimer(window, MainTimerId, MainTimerPeriod, nullptr);
    g_labelFont = CreateFontA(-11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "Tahoma");
    if (g_labelFont)
        SendMessageA(g_label, WM_SETFONT, reinterpret_cast<WPARAM>(g_labelFont), FALSE);
}

void Paint(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), "MainIcon");
    if (icon)
        DrawIcon(dc, 18, 20, icon);
    EndPaint(window, &ps);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const UINT autoPlay = AutoPlayCancelMessage();
    if (autoPlay != 0 && message == autoPlay)
        return 1;
    switch (message) {
    case WM_CREATE:
        CreateControls(window);
        break;
    case WM_DESTROY:
        DestroyMainWindow();
        break;
    case WM_PAINT:
        Paint(window);
        break;
    case WM_CLOSE:
        if (!CloseMainWindow())
            return 0;
        break;
    case WM_QUIT:
        DebugLine("- wm_Quit -");
        DestroyMainWindow();
        break;
    case WM_TIMER:
        if (IsAgentProgram())
            AgentTick();
        else
            StartPackageRun(window);
        break;
    case wm_ShutDown:
        SetAgentLifetime(static_cast<int64_t>(wParam));
        break;
    case wm_LocalMsg:
        g_listener = reinterpret_cast<HWND>(wParam);
        g_listenerMessage = static_cast<UINT>(lParam);
        NotifyListener(50, reinterpret_cast<LPARAM>(window));
        NotifyListener(51, wm_AgentMsg);
        break;
    case wm_AgentMsg:
        return AgentCommand(wParam, lParam);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

HWND MainWindow() { return g_window; }
HWND StatusLabel() { return g_label; }
HWND ProgressBar() { return g_progress; }
HWND ActivityBar() { return g_activity; }

int StatusLabelLeft(int charset)
{
    return charset == 177 || charset == 178 ? 122 : 70;
}

int ActivityBarLeft(int charset)
{
    return charset == 177 || charset == 178 ? 70 : 416;
}

void NotifyListener(WPARAM w, LPARAM l)
{
    if (g_listener && g_listenerMessage)
        PostMessageA(g_listener, g_listenerMessage, w, l);
}

bool CloseMainWindow()
{
    TraceLine(".. CloseMainWindow() - Start");
    bool close = DownloadAborted();
    if (!close)
        SetDownloadAbort(true);
    TraceLine(".. CloseMainWindow() - End");
    return close;
}

void DestroyMainWindow()
{
    DebugLine("- wm_Destroy -");
    TraceLine(".. DestroyMainWindow() - Start");
    SetDownloadAbort(true);
    DeleteTree(WorkFolder(), true);
    PostQuitMessage(0);
    g_done = true;
    TraceLine(".. DestroyMainWindow() - End");
}

void RunMainWindow()
{
    const int64_t sleep = SwitchInt("/SleepX=", -1);
    if (sleep >= 0)
        SetAutoUpdateTimerCount(-sleep);

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, "MainIcon");
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = MainClassName().c_str();
    RegisterClassA(&wc);

    {
        const TGFileInfo own(ProgramPath());
        const BoxOrigin at = CentreInWorkArea(MainWindowWidth, MainWindowHeight);
        const std::string title = LangString(own, "s0", "Varnel Installation Suite");
        g_window = CreateWindowExA(0, wc.lpszClassName, title.c_str(), MainWindowStyle, at.x, at.y,
                                   MainWindowWidth, MainWindowHeight, nullptr, nullptr, instance, nullptr);
        SetMsgBoxFont(LangFontName(own), LangFontSize(own), LangCharset(own));
    }

    if (g_window) {
        ShowWindow(g_window, SW_HIDE);
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            if (g_done)
                break;
        }
    }
    if (g_window)
        KillTimer(g_window, MainTimerId);
    SetDownloadAbort(true);
    NotifyListener(43, 0);
}
