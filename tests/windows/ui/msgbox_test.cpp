// The message box under Wine: what it shows (title, body, bold, buttons,
// layout) and how it answers clicks, keys, Alt+F4 and its time-out. Each
// box runs on a thread of its own and is driven from the test's thread.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "msgbox_driver.h"
#include "support/messages_win.h"
#include "support/system_win.h"
#include "ui/msgbox_rules.h"
#include "ui/msgbox_win.h"

using namespace msgbox_driver;

namespace {

const char Labels[] = "|&OK|&Cancel|&Yes|&No|&Abort|&Retry|&Ignore|";

// A box shown on its own thread.
class OpenBox {
public:
    explicit OpenBox(std::function<int()> show) : show_(std::move(show))
    {
        thread_ = CreateThread(nullptr, 0, &OpenBox::Run, this, 0, &threadId_);
        box_ = WaitForBox(GetCurrentProcessId(), threadId_, 10000);
    }
    ~OpenBox()
    {
        if (WaitForSingleObject(thread_, 0) == WAIT_TIMEOUT) {
            // Left open by a failed test: close it the hard way.
            if (IsWindow(box_))
                PostMessageA(box_, WM_CLOSE, 0, 0);
            WaitForSingleObject(thread_, 5000);
        }
        CloseHandle(thread_);
    }
    HWND box() const { return box_; }
    BoxView Read() const
    {
        BoxView v;
        ReadBox(box_, v);
        return v;
    }
    // The box's answer, or -1 when it is still open after timeoutMs.
    int Result(int timeoutMs = 5000)
    {
        if (WaitForSingleObject(thread_, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0)
            return -1;
        return result_;
    }
    bool Open(int ms) { return WaitForSingleObject(thread_, static_cast<DWORD>(ms)) == WAIT_TIMEOUT; }

private:
    static DWORD WINAPI Run(void* p)
    {
        OpenBox* self = static_cast<OpenBox*>(p);
        self->result_ = self->show_();
        return 0;
    }
    std::function<int()> show_;
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
    HWND box_ = nullptr;
    int result_ = -1;
};

OpenBox* Show(MsgBoxOwner owner, const std::string& text, const std::string& caption, unsigned style,
              int charset = 0, int timeout = 0)
{
    return new OpenBox([=] { return ShowMsgBox(owner, text, caption, Labels, charset, style, timeout); });
}

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// The box font as the box makes it, for measuring in the tests.
struct BoxFont {
    BoxFont()
    {
        HDC screen = GetDC(nullptr);
        int height = -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72);
        ReleaseDC(nullptr, screen);
        font = CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, FF_SWISS, "Tahoma");
        dc = CreateCompatibleDC(nullptr);
        SelectObject(dc, font);
        TEXTMETRICA tm;
        GetTextMetricsA(dc, &tm);
        lineHeight = tm.tmHeight + tm.tmExternalLeading;
    }
    ~BoxFont()
    {
        DeleteDC(dc);
        DeleteObject(font);
    }
    int Width(const std::string& s)
    {
        SIZE z{};
        GetTextExtentPoint32A(dc, s.data(), static_cast<int>(s.size()), &z);
        return z.cx;
    }
    HFONT font;
    HDC dc;
    int lineHeight = 0;
};

class MsgBox : public ::testing::Test {
protected:
    void SetUp() override { SetMsgBoxFont("Tahoma", 8, 0); }
};

TEST_F(MsgBox, ErrorBoxHeadsItsTextWithTheCaption)
{
    OpenBox box([] {
        ErrorBox(0, "The disk is full.", "", "", 0);
        return 0;
    });
    ASSERT_TRUE(box.box());
    BoxView v = box.Read();
    EXPECT_EQ(v.title, "Error");
    EXPECT_EQ(v.text.substr(0, 9), "ERROR\r\n\r\n");
    EXPECT_NE(v.text.find("The disk is full."), std::string::npos);
    EXPECT_EQ(BoldText(v), "|ERROR|");
    ASSERT_EQ(v.buttons.size(), 1u);
    EXPECT_EQ(v.buttons[0].label, "&OK");
    EXPECT_FALSE(v.closeGreyed);
    ClickButton(v, 0);
    EXPECT_EQ(box.Result(), 0);
    EXPECT_TRUE(WaitGone(v.box, 2000));
}

TEST_F(MsgBox, TranslatedCaptionIsNotUpperCased)
{
    std::unique_ptr<OpenBox> box(Show(0, "Brak miejsca", "Uwaga", 0x30));
    ASSERT_TRUE(box->box());
    BoxView v = box->Read();
    EXPECT_EQ(v.title, "Uwaga");
    EXPECT_EQ(BoldText(v), "|Uwaga|");
    EXPECT_EQ(v.text.substr(0, 9), "Uwaga\r\n\r\n");
    ClickButton(v, 0);
    EXPECT_EQ(box->Result(), 1);
}

TEST_F(MsgBox, MarkupAndBoldRules)
{
    struct Case {
        const char* in;
        const char* text;
        const char* bold;
    } cases[] = {
        {"one<p>two<T>three", "one\r\ntwo\tthree", "|"},
        {"a\\\\nb and c\\\\Nd", "a\r\nb and c\\\\Nd", "|"},
        {"a <b>word</B> b", "a word b", "|word|"},
        {"line<P>and <b>two</b> words", "line\r\nand two words", "|two|"},
        {"x</b>y<b>z", "xyz", "|"},
        {"an <B>unclosed tag", "an unclosed tag", "|"},
        {"<i>kept</i>", "<i>kept</i>", "|"},
    };
    for (const Case& c : cases) {
        std::unique_ptr<OpenBox> box(Show(1, c.in, "Markup", 0));
        ASSERT_TRUE(box->box()) << c.in;
        BoxView v = box->Read();
        EXPECT_EQ(v.text, c.text) << c.in;
        EXPECT_EQ(BoldText(v), c.bold) << c.in;
        ClickButton(v, 0);
        EXPECT_EQ(box->Result(), 1) << c.in;
    }
}

TEST_F(MsgBox, ShortTextLayout)
{
    std::unique_ptr<OpenBox> box(Show(1, "Short.", "Layout", 1));
    ASSERT_TRUE(box->box());
    BoxView v = box->Read();
    EXPECT_EQ(Width(v.window), 360);
    EXPECT_EQ(v.editRect.top, 45);
    const int rw = Width(v.editRect);
    EXPECT_LT(rw, 200);
    EXPECT_EQ(v.editRect.left, (v.client.right - 54 - rw) / 2 + 54);
    EXPECT_EQ(v.editRect.bottom, v.client.bottom - 39);
    // Centred in the work area.
    RECT area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_EQ(v.window.left, area.left + (Width(area) - Width(v.window)) / 2);
    EXPECT_EQ(v.window.top, area.top + (Height(area) - Height(v.window)) / 2);
    // Buttons: 70 x 23, right to left from 10 pixels off the right edge.
    ASSERT_EQ(v.buttons.size(), 2u);
    EXPECT_EQ(v.buttons[1].rect.right, v.client.right - 10);
    EXPECT_EQ(v.buttons[0].rect.right, v.buttons[1].rect.left);
    EXPECT_EQ(Width(v.buttons[0].rect), 70);
    EXPECT_EQ(Height(v.buttons[0].rect), 23);
    EXPECT_EQ(v.buttons[0].rect.top, v.client.bottom - 29);
    ClickButton(v, 1);
    EXPECT_EQ(box->Result(), 2);
}

TEST_F(MsgBox, LongLineIsMeasuredAsWrapping)
{
    BoxFont font;
    std::string line;
    while (font.Width(line) < 1500)
        line += "wide words ";
    ASSERT_LT(font.Width(line), 1800);
    std::unique_ptr<OpenBox> box(Show(1, line, "Wrap", 0));
    ASSERT_TRUE(box->box());
    BoxView v = box->Read();
    EXPECT_EQ(Width(v.editRect), 610);
    // The control was measured 3 lines high: the box grew around it.
    const int rh = v.client.bottom - 36 - 2 * v.editRect.top;
    EXPECT_GE(rh, 3 * font.lineHeight - 1);
    EXPECT_LE(rh, 3 * font.lineHeight);
    EXPECT_EQ(v.editRect.top, (v.client.bottom - 36 - 3 * font.lineHeight) / 2);
    ClickButton(v, 0);
    EXPECT_EQ(box->Result(), 1);
}

TEST_F(MsgBox, BoldTextGetsRoomToFit)
{
    // Bold is wider than the plain measure: the box widens the control until
    // the bold line no longer wraps.
    const std::string text = "<b>Please insert DISK #2 of the setup and press OK to continue</b>";
    std::unique_ptr<OpenBox> box(Show(1, text, "Disk", 0));
    ASSERT_TRUE(box->box());
    BoxView v = box->Read();
    BoxFont font;
    const int plain = font.Width("Please insert DISK #2 of the setup and press OK to continue") + 10;
    EXPECT_GE(Width(v.editRect), plain);
    EXPECT_EQ(v.editRect.top, 45);  // still one line
    EXPECT_EQ(BoldText(v), "|Please insert DISK #2 of the setup and press OK to continue|");
    ClickButton(v, 0);
    EXPECT_EQ(box->Result(), 1);
}

TEST_F(MsgBox, EachButtonSetAnswersItsResults)
{
    struct Case {
        unsigned set;
        const char* labels;
        int results[3];
    } cases[] = {
        {0, "&OK", {1}},
        {1, "&OK|&Cancel", {1, 2}},
        {2, "&Abort|&Retry|&Ignore", {3, 4, 5}},
        {3, "&Yes|&No|&Cancel", {6, 7, 2}},
        {4, "&Yes|&No", {6, 7}},
        {5, "&Retry|&Cancel", {4, 2}},
    };
    for (const Case& c : cases) {
        std::string labels;
        int n = 0;
        {
            std::unique_ptr<OpenBox> probe(Show(1, "Which?", "Set", c.set));
            ASSERT_TRUE(probe->box());
            BoxView v = probe->Read();
            for (const Button& b : v.buttons)
                labels += (labels.empty() ? "" : "|") + b.label;
            n = static_cast<int>(v.buttons.size());
            ClickButton(v, n - 1);
            EXPECT_EQ(probe->Result(), c.results[n - 1]) << "set " << c.set;
        }
        EXPECT_EQ(labels, c.labels) << "set " << c.set;
        for (int i = 0; i + 1 < n; ++i) {
            std::unique_ptr<OpenBox> box(Show(1, "Which?", "Set", c.set));
            ASSERT_TRUE(box->box());
            ClickButton(box->Read(), i);
            EXPECT_EQ(box->Result(), c.results[i]) << "set " << c.set << " button " << i;
        }
    }
}

TEST_F(MsgBox, YesNoKeyboard)
{
    struct Case {
        const char* what;
        std::function<void(const BoxView&)> press;
        int result;
    } cases[] = {
        {"Alt+Y", [](const BoxView& v) { PressAltChar(v, 'y'); }, 6},
        {"Alt+N", [](const BoxView& v) { PressAltChar(v, 'N'); }, 7},
        {"Y", [](const BoxView& v) { PressKey(v, 'Y'); }, 6},
        {"N", [](const BoxView& v) { PressKey(v, 'N'); }, 7},
        {"Enter", [](const BoxView& v) { PressKey(v, VK_RETURN); }, 6},
        {"F3 is no letter", [](const BoxView& v) {
             PressKey(v, VK_F3);
             PressKey(v, 'Q');
             PressKey(v, 'N');
         }, 7},
    };
    for (const Case& c : cases) {
        std::unique_ptr<OpenBox> box(Show(1, "Continue?", "Keys", 0x24));
        ASSERT_TRUE(box->box()) << c.what;
        BoxView v = box->Read();
        EXPECT_EQ(v.focused, 0) << c.what;
        c.press(v);
        EXPECT_EQ(box->Result(), c.result) << c.what;
    }
}

TEST_F(MsgBox, ArrowsAndTabMoveTheFocusRoundTheButtons)
{
    std::unique_ptr<OpenBox> box(Show(1, "Continue?", "Keys", 0x23));
    ASSERT_TRUE(box->box());
    auto focusAfter = [&](UINT key) {
        const int before = box->Read().focused;
        PressKey(box->Read(), key);
        // The key is handled on the box's thread: wait for its effect (every
        // key here moves the focus, so the old state does not count).
        for (int i = 0; i < 250; ++i) {
            Sleep(20);
            BoxView v = box->Read();
            if (v.focused >= 0 && v.focused != before && v.buttons[static_cast<size_t>(v.focused)].isDefault)
                return v.focused;
        }
        return -1;
    };
    EXPECT_EQ(focusAfter(VK_RIGHT), 1);
    EXPECT_EQ(focusAfter(VK_DOWN), 2);
    EXPECT_EQ(focusAfter(VK_TAB), 0);
    EXPECT_EQ(focusAfter(VK_LEFT), 2);
    EXPECT_EQ(focusAfter(VK_UP), 1);
    BoxView v = box->Read();
    EXPECT_FALSE(v.buttons[0].isDefault);
    EXPECT_FALSE(v.buttons[2].isDefault);
    PressKey(v, VK_RETURN);
    EXPECT_EQ(box->Result(), 7);
}

TEST_F(MsgBox, RightMovesFromYesToNoAndBack)
{
    std::unique_ptr<OpenBox> box(Show(1, "Continue?", "Keys", 4));
    ASSERT_TRUE(box->box());
    PressKey(box->Read(), VK_RIGHT);
    PressKey(box->Read(), VK_RIGHT);
    PressKey(box->Read(), VK_RIGHT);
    Sleep(200);
    PressKey(box->Read(), VK_RETURN);
    EXPECT_EQ(box->Result(), 7);
}

TEST_F(MsgBox, DefaultButtonBits)
{
    struct Case {
        unsigned style;
        int focused;
    } cases[] = {{0x101, 1}, {0x1, 0}, {0x203, 2}, {0x204, 0}};
    for (const Case& c : cases) {
        std::unique_ptr<OpenBox> box(Show(1, "Default?", "Default", c.style));
        ASSERT_TRUE(box->box());
        BoxView v = box->Read();
        EXPECT_EQ(v.focused, c.focused) << std::hex << c.style;
        for (int i = 0; i < static_cast<int>(v.buttons.size()); ++i)
            EXPECT_EQ(v.buttons[static_cast<size_t>(i)].isDefault, i == c.focused) << std::hex << c.style;
        PressKey(v, VK_RETURN);
        EXPECT_EQ(box->Result(), v.buttons[static_cast<size_t>(c.focused)].result) << std::hex << c.style;
    }
}

TEST_F(MsgBox, AltF4ClosesUnlessTheCloseCommandIsGreyed)
{
    {
        std::unique_ptr<OpenBox> box(Show(1, "Close me", "Close", 4));
        ASSERT_TRUE(box->box());
        PressAltF4(box->Read());
        EXPECT_EQ(box->Result(), 0);
    }
    {
        std::unique_ptr<OpenBox> box(Show(2, "Answer me", "No close", 4));
        ASSERT_TRUE(box->box());
        BoxView v = box->Read();
        EXPECT_TRUE(v.closeGreyed);
        PressAltF4(v);
        PostMessageA(v.box, WM_SYSCOMMAND, SC_CLOSE, 0);  // the title-bar button
        EXPECT_TRUE(box->Open(700));
        ClickButton(v, 1);
        EXPECT_EQ(box->Result(), 7);
    }
}

TEST_F(MsgBox, TimeOutAnswersTheFirstButton)
{
    DWORD start = GetTickCount();
    OpenBox box([] { return ConfirmBox(1, "Continue?", "", "", 0, 2000) ? 1 : 0; });
    ASSERT_TRUE(box.box());
    EXPECT_EQ(box.Read().title, "Confirm");
    EXPECT_TRUE(box.Open(1500));
    EXPECT_EQ(box.Result(5000), 1);
    EXPECT_GE(GetTickCount() - start, 1900u);
}

TEST_F(MsgBox, NoButtonsClosesWithZero)
{
    std::unique_ptr<OpenBox> box(Show(1, "Nothing to press", "None", 7, 0, 300));
    ASSERT_TRUE(WaitForBox(GetCurrentProcessId(), 0, 3000) || box->Result(3000) == 0);
    EXPECT_EQ(box->Result(), 0);
}

TEST_F(MsgBox, HebrewAndArabicReadRightToLeft)
{
    struct Case {
        int charset;
        unsigned style;
        bool rtl;
    } cases[] = {{177, 0, true}, {178, 0, true}, {0, 0, false}, {238, 0, false}, {0, 0x180000, true}};
    for (const Case& c : cases) {
        std::unique_ptr<OpenBox> box(Show(1, "Text", "RTL", c.style, c.charset));
        ASSERT_TRUE(box->box()) << c.charset;
        BoxView v = box->Read();
        EXPECT_EQ((v.editStyle & ES_RIGHT) != 0, c.rtl) << c.charset;
        EXPECT_EQ((v.editExStyle & WS_EX_RTLREADING) != 0, c.rtl) << c.charset;
        ClickButton(v, 0);
        EXPECT_EQ(box->Result(), 1);
    }
}

TEST_F(MsgBox, TheActiveWindowIsDisabledWhileTheBoxIsOpen)
{
    // The owner lives on the box's thread, as the program's main window does.
    HWND owner = nullptr;
    HWND* ownerOut = &owner;
    OpenBox box([ownerOut] {
        HWND w = CreateWindowExA(0, "STATIC", "main", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        SetActiveWindow(w);
        *ownerOut = w;
        int r = ShowMsgBox(1, "Owned", "Owner", Labels, 0, 0, 0);
        bool enabled = IsWindowEnabled(w) != FALSE;
        DestroyWindow(w);
        return enabled ? r : -2;
    });
    ASSERT_TRUE(box.box());
    EXPECT_FALSE(IsWindowEnabled(owner));
    EXPECT_EQ(GetWindow(box.box(), GW_OWNER), owner);
    ClickButton(box.Read(), 0);
    EXPECT_EQ(box.Result(), 1);
}

TEST_F(MsgBox, AutoPlayIsCancelledWhileTheBoxIsOpen)
{
    UINT autoPlay = RegisterWindowMessageA("QueryCancelAutoPlay");
    {
        // Not registered yet: the default answer.
        std::unique_ptr<OpenBox> box(Show(1, "No disk asked for", "Disk", 0));
        ASSERT_TRUE(box->box());
        EXPECT_EQ(SendMessageA(box->box(), autoPlay, 0, 0), 0);
        EXPECT_EQ(SendMessageA(box->box(), WM_NULL, 0, 0), 0);
        ClickButton(box->Read(), 0);
        EXPECT_EQ(box->Result(), 1);
    }
    RegisterAutoPlayCancel(true);
    std::unique_ptr<OpenBox> box(Show(1, "Insert the next disk", "Disk", 1));
    ASSERT_TRUE(box->box());
    EXPECT_EQ(SendMessageA(box->box(), autoPlay, 0, 0), 1);
    RegisterAutoPlayCancel(false);
    ClickButton(box->Read(), 0);
    EXPECT_EQ(box->Result(), 1);
}

TEST_F(MsgBox, DriverAnswersABoxOfAnotherProcess)
{
    std::string exe = ProgramDir(true) + MSGBOX_SHOW_EXE;
    std::string line = "\"" + exe + "\" --owner 0 --caption Confirm --style 0x24 \"Install <b>now</b>?\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    HWND found = WaitForBox(pi.dwProcessId, 0, 15000);
    BoxView v;
    EXPECT_TRUE(found && ReadBox(found, v));
    EXPECT_EQ(v.title, "Confirm");
    EXPECT_EQ(BoldText(v), "|CONFIRM|now|");
    ASSERT_EQ(v.buttons.size(), 2u);
    PressAltChar(v, 'n');
    DWORD code = 99;
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 10000), WAIT_OBJECT_0);
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(code, 7u);
    if (code == STILL_ACTIVE)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

}  // namespace
