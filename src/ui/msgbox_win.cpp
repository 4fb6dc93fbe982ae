#include "ui/msgbox_win.h"

#include <windows.h>
#include <richedit.h>

#include "support/lists.h"
#include "support/messages_win.h"
#include "support/system_info_win.h"
#include "support/text.h"
#include "ui/msgbox_rules.h"

namespace {

HMODULE LoadQuietly(const char* name)
{
    UINT old = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE h = LoadLibraryA(name);
    SetErrorMode(old);
    // Old systems answered failures with small numbers.
    return reinterpret_cast<UINT_PTR>(h) <= 32 ? nullptr : h;
}

// ---- The box.

const char BoxClass[] = "VMsgBox";
const UINT_PTR TimeoutTimer = 1;

struct FontSettings {
    std::string face = "Tahoma";
    int charset = DEFAULT_CHARSET;
    int size = 8;
};
FontSettings g_font;

// The one open box.
struct BoxState {
    HFONT font;
    HWND window;
    HWND edit;
    bool richEdit;
    HWND previous;
    HWND slots[3];
    int result;
    int timeout;
    int askedWidth;
    int askedHeight;
    HICON icon;
    bool done;
};
BoxState g;

int SlotResult(HWND button)
{
    return button ? static_cast<int>(GetWindowLongPtrA(button, GWLP_USERDATA)) : 0;
}

int ButtonCount()
{
    return g.slots[2] ? 3 : g.slots[1] ? 2 : 1;
}

int FocusedButton()
{
    HWND focus = GetFocus();
    for (int i = 0; i < 3; ++i)
        if (focus && focus == g.slots[i])
            return i;
    return -1;
}

void FocusButton(int index)
{
    HWND button = g.slots[FocusSlot(index, ButtonCount())];
    if (!button)
        return;
    SetFocus(button);
    for (HWND slot : g.slots)
        if (slot)
            SendMessageA(slot, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    SendMessageA(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

void Answer(int result)
{
    g.result = result;
    PostMessageA(g.window, WM_CLOSE, 0, 0);
}

void RestorePrevious()
{
    if (g.previous && IsWindow(g.previous)) {
        EnableWindow(g.previous, TRUE);
        SetActiveWindow(g.previous);
        SetFocus(g.previous);
    }
    g.previous = nullptr;
}

bool CloseGreyed(HWND window)
{
    HMENU menu = GetSystemMenu(window, FALSE);
    return menu && (GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
}

void Paint(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    const int cw = client.right;
    const int ch = client.bottom;
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    RECT r;
    SetRect(&r, 0, ch - 37, cw, ch - 36);
    FillRect(dc, &r, GetSysColorBrush(COLOR_3DDKSHADOW));
    SetRect(&r, 0, ch - 36, cw, ch - 35);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetRect(&r, 0, ch - 35, cw, ch);
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    HBRUSH band = CreateSolidBrush(RGB(0, 78, 152));
    SetRect(&r, 0, 0, 54, ch - 37);
    FillRect(dc, &r, band);
    DeleteObject(band);
    if (g.icon)
        DrawIcon(dc, 11, 20, g.icon);
    EndPaint(window, &ps);
}

LRESULT CALLBACK BoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        if (g.timeout > 0)
            SetTimer(window, TimeoutTimer, static_cast<UINT>(g.timeout), nullptr);
        return 0;
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header && header->code == EN_REQUESTRESIZE) {
            const REQRESIZE* asked = reinterpret_cast<const REQRESIZE*>(lParam);
            g.askedWidth = asked->rc.right - asked->rc.left;
            g.askedHeight = asked->rc.bottom - asked->rc.top;
        }
        return 0;
    }
    case WM_COMMAND:
        for (HWND slot : g.slots)
            if (slot && reinterpret_cast<HWND>(lParam) == slot)
                Answer(SlotResult(slot));
        return 0;
    case WM_TIMER:
        if (wParam == TimeoutTimer) {
            // One answer only: the timer stops at its first tick.
            KillTimer(window, TimeoutTimer);
            Answer(SlotResult(g.slots[0]));
        }
        return 0;
    case WM_SYSCOMMAND:
        // Some systems send the close command even when it is greyed.
        if ((wParam & 0xFFF0) == SC_CLOSE && CloseGreyed(window))
            return 0;
        break;
    case WM_CLOSE:
        RestorePrevious();
        if (g.timeout > 0)
            KillTimer(window, TimeoutTimer);
        break;
    case WM_DESTROY:
        if (g.font)
            DeleteObject(g.font);
        g.font = nullptr;
        g.done = true;
        return 0;
    default:
        // Registered while disks are being asked for; 0 before.
        if (message != 0 && message == AutoPlayCancelMessage())
            return 1;
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// The keyboard of the modal loop; true when the message was used up.
bool FilterKey(const MSG& m)
{
    std::string labels[3];
    for (int i = 0; i < 3; ++i)
        labels[i] = WindowText(g.slots[i]);
    int target = -1;
    if (m.message == WM_SYSCHAR) {
        target = AltCharTarget(labels, static_cast<char>(m.wParam));
    } else if (m.message == WM_KEYDOWN) {
        switch (m.wParam) {
        case VK_LEFT:
        case VK_UP:
            FocusButton(FocusedButton() - 1);
            return false;
        case VK_TAB:
        case VK_RIGHT:
        case VK_DOWN:
            FocusButton(FocusedButton() + 1);
            return false;
        case VK_RETURN:
            target = FocusedButton();
            break;
        default:
            target = LetterKeyTarget(labels, static_cast<unsigned>(m.wParam));
            break;
        }
    }
    if (target < 0 || !g.slots[target])
        return false;
    Answer(SlotResult(g.slots[target]));
    return true;
}

// Puts the text into the control with its bold ranges.
void FillControl(const BoxBody& body)
{
    SetWindowTextA(g.edit, body.text.c_str());
    if (!g.richEdit || body.bold.empty())
        return;
    // Rich Edit counts characters: a double-byte character is one, and
    // newer versions count a line break as one too.
    SendMessageA(g.edit, EM_SETSEL, 0, -1);
    CHARRANGE all{0, 0};
    SendMessageA(g.edit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&all));
    const bool crlfAsOne = all.cpMax < ControlOffset(body.text, static_cast<int>(body.text.size()), false);
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
    format.dwEffects = CFE_BOLD;
    for (const BoldRange& r : body.bold) {
        SendMessageA(g.edit, EM_SETSEL, ControlOffset(body.text, r.start, crlfAsOne),
                     ControlOffset(body.text, r.end, crlfAsOne));
        SendMessageA(g.edit, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    }
    SendMessageA(g.edit, EM_SETSEL, 0, 0);
}

void SizeControl(const BoxBody& body)
{
    HDC dc = GetDC(g.edit);
    HGDIOBJ old = SelectObject(dc, g.font);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    int lineHeight = tm.tmHeight + tm.tmExternalLeading;
    if (SameTextTrimmed(g_font.face, "MS PGothic"))
        ++lineHeight;
    // A tab reaches the control's next tab stop, every half inch.
    INT tabStop = PointsToPixels(36);
    TextSize size = MeasureBody(body.text, lineHeight, [&](const std::string& line) {
        DWORD extent = GetTabbedTextExtentA(dc, line.data(), static_cast<int>(line.size()), 1, &tabStop);
        return static_cast<int>(LOWORD(extent));
    });
    SelectObject(dc, old);
    ReleaseDC(g.edit, dc);

    const UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(g.edit, nullptr, 0, 0, size.width + 10, size.height, flags);
    if (!g.richEdit || body.bold.empty())
        return;
    // Bold text is wider than measured: widen until the control stops
    // asking for more lines.
    RefitWidth(size.width, size.height, [&](int width) {
        g.askedWidth = 0;
        g.askedHeight = 0;
        SetWindowPos(g.edit, nullptr, 0, 0, width, size.height, flags);
        SendMessageA(g.edit, EM_REQUESTRESIZE, 0, 0);
        return TextSize{g.askedWidth, g.askedHeight};
    });
}

void PlaceBox(const std::string& text)
{
    RECT r;
    GetWindowRect(g.edit, &r);
    const int rw = r.right - r.left;
    const int rh = r.bottom - r.top;
    // The frame and caption as this window has them, so that the margins
    // around the text come out as laid out whatever the frame metrics.
    RECT frame;
    SetRect(&frame, 0, 0, 0, 0);
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(g.window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(g.window, GWL_EXSTYLE)));
    TextSize box = BoxSize(rw, rh, frame.right - frame.left, frame.bottom - frame.top);
    BoxOrigin origin = CentreInWorkArea(box.width, box.height);
    int x = origin.x;
    int y = origin.y;
    // Keeps the developer's own question clear of the window it is about.
    if (Pos("Do you want to store the new Entry in", text) > 0 && DeveloperMode()) {
        x += 150;
        y += 150;
    }
    SetWindowPos(g.window, nullptr, x, y, box.width, box.height, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client;
    GetClientRect(g.window, &client);
    Placement p = ControlPlacement(client.right, client.bottom, rw, rh);
    MoveWindow(g.edit, p.x, p.y, p.width, p.height, TRUE);
}

void CreateButtons(HINSTANCE instance, const std::string& labels, unsigned style)
{
    RECT client;
    GetClientRect(g.window, &client);
    ButtonSpec specs[3];
    const int n = ButtonSetSpecs(static_cast<int>(style & MsgButtonSetMask), specs);
    for (int i = n - 1; i >= 0; --i) {
        const int x = client.right - 80 - 70 * (n - 1 - i);
        const std::string label = ListItem(labels, specs[i].labelItem, std::string());
        HWND button = CreateWindowExA(0, "BUTTON", label.c_str(), WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, x,
                                      client.bottom - 29, 70, 23, g.window,
                                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(100 + i)), instance, nullptr);
        if (!button)
            continue;
        SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(g.font), TRUE);
        SetWindowLongPtrA(button, GWLP_USERDATA, specs[i].result);
        g.slots[i] = button;
    }
    FocusButton(DefaultButtonIndex(style));
}

int RunBox(HWND owner, const std::string& text, const std::string& caption, const std::string& labels,
           unsigned style, int timeoutMs)
{
    static HMODULE richEditLibrary = nullptr;
    if (!richEditLibrary)
        richEditLibrary = LoadQuietly("RICHED32.DLL");
    HWND previous = GetActiveWindow();
    if (previous)
        EnableWindow(previous, FALSE);

    g = BoxState();
    g.previous = previous;
    g.timeout = timeoutMs;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    g.font = CreateFontA(-PointsToPixels(g_font.size), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                         static_cast<BYTE>(g_font.charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                         DEFAULT_QUALITY, FF_SWISS | DEFAULT_PITCH, g_font.face.c_str());

    HMODULE boxReference = LoadQuietly("RICHED32.DLL");
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = BoxProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = BoxClass;
    RegisterClassA(&wc);

    // Visible from the start but off-screen until it is placed.
    g.window = CreateWindowExA(WS_EX_DLGMODALFRAME | WS_EX_TOPMOST, BoxClass, caption.c_str(),
                               WS_VISIBLE | WS_CAPTION | WS_SYSMENU, -100, -100, 10, 10, owner, nullptr,
                               instance, nullptr);
    bool quit = false;
    int quitCode = 0;
    if (g.window) {
        if (style & MsgNoClose) {
            EnableMenuItem(GetSystemMenu(g.window, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
            style &= ~MsgNoClose;
        }
        DWORD editStyle = WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY | ES_WANTRETURN;
        if (style & MsgRightAlign)
            editStyle |= ES_RIGHT;
        const DWORD editExStyle = (style & MsgRtlReading) ? WS_EX_RTLREADING : 0;
        g.edit = CreateWindowExA(editExStyle, "RICHEDIT", "", editStyle, 86, 30, 100, 13, g.window, nullptr,
                                 instance, nullptr);
        g.richEdit = g.edit != nullptr;
        // Without Rich Edit the text is still shown, only not in bold.
        if (!g.edit)
            g.edit = CreateWindowExA(editExStyle, "EDIT", "", editStyle, 86, 30, 100, 13, g.window, nullptr,
                                     instance, nullptr);
        if (g.edit) {
            SendMessageA(g.edit, WM_SETFONT, reinterpret_cast<WPARAM>(g.font), FALSE);
            if (g.richEdit) {
                SendMessageA(g.edit, EM_SETEVENTMASK, 0, ENM_REQUESTRESIZE);
                SendMessageA(g.edit, EM_SETBKGNDCOLOR, 0, GetSysColor(COLOR_WINDOW));
            }
            BoxBody body = PrepareBody(text);
            FillControl(body);
            SizeControl(body);
            PlaceBox(text);
        }
        ShowWindow(g.window, SW_SHOW);
        const int iconId = StyleIconId(style);
        g.icon = iconId ? LoadIcon(nullptr, MAKEINTRESOURCE(iconId)) : LoadIconA(instance, "MainIcon");
        CreateButtons(instance, labels, style);
        InvalidateRect(g.window, nullptr, TRUE);

        while (!g.done) {
            MSG m;
            BOOL got = GetMessageA(&m, nullptr, 0, 0);
            if (got == 0 || got == -1) {
                // The program is ending: the box goes, the request stays.
                quit = got == 0;
                quitCode = static_cast<int>(m.wParam);
                RestorePrevious();
                DestroyWindow(g.window);
                break;
            }
            if (!FilterKey(m)) {
                TranslateMessage(&m);
                DispatchMessageA(&m);
            }
        }
    } else {
        if (g.font)
            DeleteObject(g.font);
        g.font = nullptr;
        RestorePrevious();
    }
    UnregisterClassA(BoxClass, instance);
    if (boxReference)
        FreeLibrary(boxReference);
    if (quit)
        PostQuitMessage(quitCode);
    g.window = nullptr;
    return g.result;
}

std::string LabelsOrDefault(const std::string& labels)
{
    return labels.empty() ? std::string(DefaultButtonLabels) : labels;
}

std::string CaptionOrDefault(const std::string& caption, int item)
{
    return caption.empty() ? ListItem(DefaultCaptions, item, std::string()) : caption;
}

struct StartupLibraries {
    StartupLibraries() { LoadStartupLibraries(); }
};
StartupLibraries g_startupLibraries;

}  // namespace

void LoadStartupLibraries()
{
    static bool loaded = false;
    if (loaded)
        return;
    loaded = true;
    const char* const names[] = {"shell32.dll", "USP10.dll", "MSLS31.dll", "RICHED32.DLL"};
    for (const char* name : names)
        LoadQuietly(name);
}

void SetMsgBoxFont(const std::string& faceName, int sizePoints, int charset)
{
    g_font.face = faceName;
    g_font.charset = charset;
    if (sizePoints != 0)
        g_font.size = sizePoints;
}

int ShowMsgBox(MsgBoxOwner owner, const std::string& text, const std::string& caption,
               const std::string& labels, int charset, unsigned style, int timeoutMs)
{
    style = EffectiveStyle(owner, charset, style);
    const std::string body = owner == OwnerHeading ? HeadingBody(caption, text) : text;
    HWND ownerWindow = owner <= OwnerNoClose ? GetActiveWindow() : reinterpret_cast<HWND>(owner);
    int result = RunBox(ownerWindow, body, caption, labels, style, timeoutMs);
    DelayPumping(100, 0);
    return result;
}

void ErrorBox(MsgBoxOwner owner, const std::string& text, const std::string& caption,
              const std::string& labels, int charset)
{
    ShowMsgBox(owner, text, CaptionOrDefault(caption, 0), LabelsOrDefault(labels), charset, 0x10, 0);
}

void AttentionBox(MsgBoxOwner owner, const std::string& text, const std::string& caption,
                  const std::string& labels, int charset, int timeoutMs)
{
    ShowMsgBox(owner, text, CaptionOrDefault(caption, 1), LabelsOrDefault(labels), charset, 0x30, timeoutMs);
}

bool ConfirmBox(MsgBoxOwner owner, const std::string& text, const std::string& caption,
                const std::string& labels, int charset, int timeoutMs)
{
    return ShowMsgBox(owner, text, CaptionOrDefault(caption, 2), LabelsOrDefault(labels), charset, 0x24,
                      timeoutMs) == 6;
}

bool OkCancelBox(MsgBoxOwner owner, const std::string& text, const std::string& caption,
                 const std::string& labels, int charset)
{
    return ShowMsgBox(owner, text, CaptionOrDefault(caption, 2), LabelsOrDefault(labels), charset, 0x21, 0) == 1;
}
