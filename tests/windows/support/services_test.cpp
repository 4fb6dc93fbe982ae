// Settings files, registry values, system facts, pumping waits and the
// AutoPlay message, against the real services of the system.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/messages_win.h"
#include "support/registry_win.h"
#include "support/settings_win.h"
#include "support/start_program_win.h"
#include "support/system_info_win.h"
#include "test_files.h"

TEST(SettingsFiles, RoundTripDefaultsAndIntegers)
{
    const std::string ini = UniqueTempName("vini") + ".ini";
    EXPECT_EQ(ReadIniString(ini, "S", "K", "none"), "none");  // no file yet
    EXPECT_TRUE(WriteIniString(ini, "Main", "Name", "Varnel Setup"));
    EXPECT_TRUE(WriteIniInt(ini, "Main", "Big", 9007199254740993LL));
    EXPECT_TRUE(WriteIniInt(ini, "Main", "Neg", -5));
    EXPECT_TRUE(WriteIniString(ini, "Main", "Word", "abc"));
    EXPECT_TRUE(WriteIniString(ini, "Main", "Hex", "0x10"));
    EXPECT_EQ(ReadIniString(ini, "Main", "Name", ""), "Varnel Setup");
    EXPECT_EQ(ReadIniString(ini, "main", "NAME", ""), "Varnel Setup");
    EXPECT_EQ(ReadIniString(ini, "Main", "Missing", "def"), "def");
    EXPECT_EQ(ReadIniString(ini, "Other", "Name", "def"), "def");
    EXPECT_EQ(ReadIniInt(ini, "Main", "Big", 0), 9007199254740993LL);
    EXPECT_EQ(ReadIniInt(ini, "Main", "Neg", 0), -5);
    EXPECT_EQ(ReadIniInt(ini, "Main", "Word", 42), 42);
    EXPECT_EQ(ReadIniInt(ini, "Main", "Hex", 42), 16);
    EXPECT_EQ(ReadIniInt(ini, "Main", "Missing", -7000000000LL), -7000000000LL);
    EXPECT_NE(SlurpFile(ini).find("Big=9007199254740993"), std::string::npos);
    DeleteFileA(ini.c_str());
}

TEST(SettingsFiles, LongValuesAreCutAtTheBuffer)
{
    const std::string ini = UniqueTempName("vini") + ".ini";
    const std::string value(12000, 'v');
    ASSERT_TRUE(WriteIniString(ini, "S", "Long", value));
    EXPECT_EQ(ReadIniString(ini, "S", "Long", ""), value.substr(0, 10240));
    DeleteFileA(ini.c_str());
}

class RegistryValues : public ::testing::Test {
protected:
    std::string subkey = "Software\\VarnelTest\\" + IntToText(GetCurrentProcessId());
    HKEY key = nullptr;

    void SetUp() override
    {
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                  nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override
    {
        RegCloseKey(key);
        RegDeleteKeyA(HKEY_CURRENT_USER, subkey.c_str());
    }
    void Set(const char* name, DWORD type, const std::string& bytes)
    {
        ASSERT_EQ(RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                 static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS);
    }
};

TEST_F(RegistryValues, TypesPathsAndDefaults)
{
    Set("Multi", REG_MULTI_SZ, std::string("a\0b\0\0", 5));
    Set("Dword", REG_DWORD, std::string("\xFF\xFF\xFF\xFF", 4));
    Set("Text", REG_SZ, std::string("some text\0", 10));
    Set("", REG_SZ, std::string("unnamed\0", 8));
    Set("Huge", REG_SZ, std::string(12000, 'h') + std::string(1, '\0'));
    for (const std::string& path : {"HKEY_CURRENT_USER\\" + subkey, "hkcu\\" + subkey, subkey,
                                    "  HKCU\\" + subkey + "  ", "HKXY\\" + subkey}) {
        EXPECT_EQ(ReadRegString(path, "Multi", "d"), "a<0>b") << path;
        EXPECT_EQ(ReadRegString(path, "Dword", "d"), "4294967295") << path;
        EXPECT_EQ(ReadRegString(path, "Text", "d"), "some text") << path;
        EXPECT_EQ(ReadRegString(path, "", "d"), "unnamed") << path;
    }
    EXPECT_EQ(ReadRegString(subkey, "Absent", "def"), "def");
    EXPECT_EQ(ReadRegString(subkey + "\\NoSuchKey", "Text", "def"), "def");
    EXPECT_EQ(ReadRegString("HKLM\\" + subkey, "Text", "def"), "def");  // another root
    EXPECT_EQ(ReadRegString(subkey, "Huge", "def"), "def");             // does not fit the buffer
}

TEST(RegistryMachine, LocalMachineRoot)
{
    const std::string subkey = "Software\\VarnelTest\\M" + IntToText(GetCurrentProcessId());
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        GTEST_SKIP() << "no write access to HKEY_LOCAL_MACHINE";
    RegSetValueExA(key, "V", 0, REG_SZ, reinterpret_cast<const BYTE*>("machine"), 8);
    RegCloseKey(key);
    EXPECT_EQ(ReadRegString("HKLM\\" + subkey, "V", "d"), "machine");
    EXPECT_EQ(ReadRegString("HKEY_LOCAL_MACHINE\\" + subkey, "V", "d"), "machine");
    EXPECT_EQ(ReadRegString(subkey, "V", "d"), "d");  // no root: HKEY_CURRENT_USER
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, subkey.c_str());
}

TEST(SystemFacts, NamesVersionKeyAndErrors)
{
    ASSERT_TRUE(IsWinNT());
    EXPECT_EQ(CurrentVersionKey(), "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");
    EXPECT_FALSE(UserName().empty());
    EXPECT_FALSE(ComputerName().empty());
    EXPECT_EQ(AccountDomain("no such account here 1234"), "");

    SetLastError(ERROR_FILE_NOT_FOUND);
    std::string text = LastErrorText();
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), '.');
    EXPECT_GT(static_cast<unsigned char>(text.back()), ' ');
    SetLastError(0x2000FFFF);
    EXPECT_EQ(LastErrorText(), "Error Reading \"SysUtils.SysErrorMessage(GetLastError)\"");
}

TEST(SystemFacts, WindowTextBindProcAndPixels)
{
    HWND w = CreateWindowA("STATIC", "Caption of the test", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                           nullptr, nullptr);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(WindowText(w), "Caption of the test");
    DestroyWindow(w);
    EXPECT_EQ(WindowText(nullptr), "");

    EXPECT_NE(BindProc("kernel32.dll", "GetDiskFreeSpaceExA"), nullptr);
    EXPECT_EQ(BindProc("kernel32.dll", "NoSuchEntryAnywhere"), nullptr);
    EXPECT_EQ(BindProc("no_such_library_4711.dll", "Entry"), nullptr);

    HDC dc = GetDC(nullptr);
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(PointsToPixels(72), dpi);
    EXPECT_EQ(PointsToPixels(9), MulDiv(9, dpi, 72));

    BoxOrigin o = CentreInWorkArea(200, 100);
    RECT area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    // Centred: the margins on both sides differ by at most one pixel.
    EXPECT_LE(std::abs((o.x - area.left) - (area.right - o.x - 200)), 1);
    EXPECT_LE(std::abs((o.y - area.top) - (area.bottom - o.y - 100)), 1);
}

TEST(SystemFacts, DeveloperModeOnlyFor579AndKept)
{
    struct Case {
        const char* value;  // null: unset
        bool on;
    } cases[] = {{nullptr, false}, {"", false}, {"5790", false}, {"579 ", false}, {"57", false}, {"579", true}};
    for (const Case& c : cases) {
        SetEnvironmentVariableA("DVX", c.value);
        EXPECT_EQ(DeveloperModeFromEnvironment(), c.on) << (c.value ? c.value : "(unset)");
    }
    EXPECT_TRUE(DeveloperMode());
    SetEnvironmentVariableA("DVX", nullptr);
    EXPECT_TRUE(DeveloperMode());  // read once
}

TEST(SystemFacts, ShellOpenStartsAProgram)
{
    const std::string report = UniqueTempName("vshell") + ".txt";
    ASSERT_TRUE(ShellOpen(ToolPath("test_app.exe"), "/windows=none /life=3000 /report=" + report, SW_HIDE));
    EXPECT_TRUE(WaitFor([&] { return PathExists(report); }, 20000));
    EXPECT_FALSE(ShellOpen(TempDir(true) + "no_such_program_4711.exe", "", SW_HIDE));
    DeleteFileA(report.c_str());
}

namespace {

int g_ticks = 0;
int g_posted = 0;

LRESULT CALLBACK CountingProc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == WM_TIMER) {
        ++g_ticks;
        return 0;
    }
    if (m == WM_APP) {
        ++g_posted;
        return 0;
    }
    return DefWindowProcA(w, m, wp, lp);
}

HWND CountingWindow()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = CountingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VarnelCountingWindow";
    RegisterClassA(&wc);
    return CreateWindowA("VarnelCountingWindow", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                         wc.hInstance, nullptr);
}

}  // namespace

TEST(PumpingWaits, DelayPumpingKeepsTimersTicking)
{
    HWND w = CountingWindow();
    ASSERT_NE(w, nullptr);
    SetTimer(w, 1, 20, nullptr);
    DWORD start = GetTickCount();
    DelayPumping(600, 0);
    DWORD elapsed = GetTickCount() - start;
    KillTimer(w, 1);
    EXPECT_GE(elapsed, 600u);
    EXPECT_LT(elapsed, 3000u);
    EXPECT_GE(g_ticks, 10);

    // A wait of 0 still dispatches the queue once.
    PostMessageA(w, WM_APP, 0, 0);
    DelayPumping(0, 0);
    EXPECT_EQ(g_posted, 1);
    DestroyWindow(w);
}

TEST(PumpingWaits, QuitRequestIsLeftForTheMessageLoop)
{
    HWND w = CountingWindow();
    ASSERT_NE(w, nullptr);
    PostMessageA(w, WM_APP, 0, 0);
    PostQuitMessage(3);
    PumpMessages(0);
    EXPECT_EQ(g_posted, 1);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 3u);
    DestroyWindow(w);
}

TEST(AutoPlay, RegisteredMessage)
{
    EXPECT_EQ(AutoPlayCancelMessage(), 0u);
    RegisterAutoPlayCancel(true);
    EXPECT_NE(AutoPlayCancelMessage(), 0u);
    EXPECT_EQ(AutoPlayCancelMessage(), RegisterWindowMessageA("QueryCancelAutoPlay"));
    RegisterAutoPlayCancel(false);
    EXPECT_EQ(AutoPlayCancelMessage(), 0u);
}
