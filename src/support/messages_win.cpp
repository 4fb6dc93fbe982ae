#include "support/messages_win.h"

#include "support/system_rules.h"

namespace {

UINT g_autoPlayCancel = 0;

}  // namespace

void PumpMessages(DWORD milliseconds)
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Taken off the queue here it would be lost to the message loop,
            // which then never ends: hand it back.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    Sleep(milliseconds);
}

void DelayPumping(int64_t milliseconds, int64_t step)
{
    step = DelayPumpingStep(milliseconds, step);
    if (step < 0)
        step = 0;
    if (milliseconds < 0)
        milliseconds = 0;
    const DWORD start = GetTickCount();
    // Elapsed time as an unsigned difference holds across the tick
    // counter's wrap.
    do
        PumpMessages(static_cast<DWORD>(step));
    while (static_cast<int64_t>(GetTickCount() - start) < milliseconds);
}

void RegisterAutoPlayCancel(bool enable)
{
    g_autoPlayCancel = enable ? RegisterWindowMessageA("QueryCancelAutoPlay") : 0;
}

UINT AutoPlayCancelMessage()
{
    return g_autoPlayCancel;
}
