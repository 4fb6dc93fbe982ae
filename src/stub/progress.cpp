#include "stub/progress.h"

#include <commctrl.h>

#include "stub/main_window.h"
#include "support/system_info_win.h"

namespace {
int g_activityPosition = 0;
HFONT g_statusFont = nullptr;
}  // namespace

void ProgressNotify(int mode, int64_t, int64_t high, int64_t position, int64_t step, const std::string&)
{
    HWND bar = ProgressBar();
    HWND activity = ActivityBar();
    if (mode == 0) {
        SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(0, static_cast<WORD>(high & 0xFFFF)));
        SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
        SendMessageA(bar, PBM_SETSTEP, static_cast<WPARAM>(step), 0);
        SendMessageA(activity, PBM_SETRANGE, 0, MAKELPARAM(0, 5));
        SendMessageA(activity, PBM_SETPOS, 0, 0);
        SendMessageA(activity, PBM_SETSTEP, 1, 0);
    } else if (mode == 1) {
        SendMessageA(bar, PBM_STEPIT, 0, 0);
        g_activityPosition = g_activityPosition + 1 > 5 ? 0 : g_activityPosition + 1;
        SendMessageA(activity, PBM_SETPOS, static_cast<WPARAM>(g_activityPosition), 0);
    }
}

void SetStatusText(HWND label, const std::string& text, const std::string& fontName, int charset, int points)
{
    if (!label)
        return;
    const bool rightToLeft = charset == 177 || charset == 178;
    SetWindowLongA(label, GWL_EXSTYLE, rightToLeft ? 0x2000 : 0);
    SetWindowLongA(label, GWL_STYLE, rightToLeft ? 0x50000002 : 0x50000000);
    LOGFONTA lf = {};
    lf.lfHeight = -PointsToPixels(points);  // a character height, not a cell height
    lf.lfCharSet = static_cast<BYTE>(charset);
    lstrcpynA(lf.lfFaceName, fontName.c_str(), LF_FACESIZE);
    HFONT font = CreateFontIndirectA(&lf);
    if (font) {
        SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        if (g_statusFont)
            DeleteObject(g_statusFont);
        g_statusFont = font;
    }
    SetWindowTextA(label, text.c_str());
}
