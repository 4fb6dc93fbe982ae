// Finding, waiting for, messaging and ending real processes: copies of the
// test application started from folders of the test's choosing.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/analizer_win.h"
#include "support/lists.h"
#include "support/processes_win.h"
#include "support/start_program_win.h"
#include "support/text.h"
#include "test_files.h"

namespace {

struct Running {
    std::string path;
    std::string report;
    HANDLE process = nullptr;
    DWORD pid = 0;

    ~Running()
    {
        if (process) {
            TerminateProcess(process, 1);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
        DeleteFileA(report.c_str());
    }
    // A fact the application reported ("main", "owner"...), once written.
    std::string Fact(const std::string& name)
    {
        WaitFor([&] { return PathExists(report); }, 20000);
        std::string text = SlurpFile(report);
        std::string::size_type at = text.find(name + "=");
        if (at == std::string::npos)
            return std::string();
        std::string::size_type end = text.find('\n', at);
        return text.substr(at + name.size() + 1, end - at - name.size() - 1);
    }
    bool Ended(DWORD ms) { return WaitForSingleObject(process, ms) == WAIT_OBJECT_0; }
};

// The test application copied to folder\name and started with the switches;
// the path is unquoted in the command line although it holds a blank.
void Start(Running& app, const std::string& folder, const std::string& name, const std::string& switches)
{
    CreateDirectoryA(folder.c_str(), nullptr);
    app.path = folder + "\\" + name;
    app.report = UniqueTempName("vrep") + ".txt";
    ASSERT_TRUE(CopyFileA(ToolPath("test_app.exe").c_str(), app.path.c_str(), FALSE));
    ASSERT_TRUE(StartProgram(app.path, app.path + " " + switches + " /report=" + app.report, SW_SHOW,
                             &app.process, &app.pid));
    ASSERT_FALSE(app.Fact("pid").empty()) << "the application did not report";
}

std::string Base()
{
    return "tapp" + IntToText(GetCurrentProcessId()) + ".exe";
}

}  // namespace

TEST(FindProcess, TwoCopiesToldApartByPathFoundTogetherByName)
{
    const std::string root = UniqueTempName("vproc");
    CreateDirectoryA(root.c_str(), nullptr);
    Running a;
    Running b;
    Start(a, root + "\\first folder", Base(), "/windows=none");
    Start(b, root + "\\second folder", Base(), "/windows=none");

    EXPECT_EQ(FindProcessId(a.path, true), a.pid);
    EXPECT_EQ(FindProcessId(b.path, true), b.pid);
    EXPECT_EQ(FindProcessId(UpperCase(a.path), true), a.pid);
    EXPECT_EQ(FindProcessId(root + "\\third folder\\" + Base(), true), 0u);
    DWORD byName = FindProcessId(UpperCase(Base()), false);
    EXPECT_TRUE(byName == a.pid || byName == b.pid) << byName;
    EXPECT_EQ(FindProcessId(Base(), true), 0u);  // a bare name is no full path

    // The 8.3 form of the path names the same process.
    char shortForm[MAX_PATH];
    DWORD n = GetShortPathNameA(a.path.c_str(), shortForm, sizeof shortForm);
    if (n > 0 && n < sizeof shortForm && !SameText(std::string(shortForm, n), a.path)) {
        EXPECT_EQ(FindProcessId(std::string(shortForm, n), true), a.pid) << shortForm;
    }

    EXPECT_TRUE(IsProcessRunning("\"" + a.path + "\""));
    EXPECT_TRUE(ProcessIdAlive(a.pid));
    EXPECT_FALSE(IsProcessRunning(root + "\\none\\" + Base()));

    // The tool-help walk, asked directly, finds them by base name too.
    DWORD byToolHelp = FindProcessIdToolHelp(Base(), false);
    EXPECT_TRUE(byToolHelp == a.pid || byToolHelp == b.pid) << byToolHelp;
    EXPECT_EQ(FindProcessIdToolHelp(root + "\\third folder\\" + Base(), true), 0u);

    EXPECT_TRUE(TerminateProcessByName(a.path, true));
    EXPECT_TRUE(a.Ended(10000));
    EXPECT_FALSE(b.Ended(0));
    DWORD code = 1;
    GetExitCodeProcess(a.process, &code);
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(TerminateProcessByName(a.path, true));
}

TEST(StartProgram, ExactPathEvenWhenAShorterOneExists)
{
    // "...\My Tools\app.exe" unquoted would make the system try "...\My.exe".
    const std::string root = UniqueTempName("vstart");
    CreateDirectoryA(root.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(ToolPath("test_app.exe").c_str(), (root + "\\My.exe").c_str(), FALSE));
    Running app;
    Start(app, root + "\\My Tools", "app.exe", "/windows=none");
    EXPECT_TRUE(SameText(app.Fact("path"), app.path)) << app.Fact("path");
    EXPECT_FALSE(StartProgram(root + "\\missing.exe", root + "\\missing.exe", SW_HIDE));
}

TEST(MainWindow, HiddenOwnerOfTwoDialogsIsChosen)
{
    Running app;
    Start(app, UniqueTempName("vwin"), Base(), "/windows=owner");
    const std::string owner = app.Fact("owner");
    ASSERT_FALSE(owner.empty());
    HWND found = MainWindowOfProcess(app.path, true);
    EXPECT_EQ(IntToText(static_cast<int64_t>(reinterpret_cast<uintptr_t>(found))), owner);
    EXPECT_FALSE(IsWindowVisible(found));
    HWND dialog = reinterpret_cast<HWND>(static_cast<uintptr_t>(TextToInt64(app.Fact("dialog2"), 0)));
    EXPECT_EQ(TopOwner(dialog), found);
    EXPECT_EQ(TopOwner(found), nullptr);
}

TEST(MainWindow, CloseQuitAndRefusals)
{
    const std::string folder = UniqueTempName("vclose");
    {
        Running app;
        Start(app, folder, "accept.exe", "");
        EXPECT_TRUE(CloseProcessWindow(app.path, true));
        EXPECT_TRUE(app.Ended(10000));
    }
    {
        Running app;
        Start(app, folder, "ask.exe", "/close=ask");
        EXPECT_TRUE(CloseProcessWindow(app.path, true));
        EXPECT_TRUE(WaitFor([&] { return SlurpFile(app.report).find("asked") != std::string::npos; }, 10000));
        EXPECT_FALSE(app.Ended(500));
    }
    {
        Running app;
        Start(app, folder, "quit.exe", "");
        EXPECT_TRUE(QuitProcessWindow(app.path, true));
        EXPECT_TRUE(app.Ended(10000));
    }
    {
        Running app;
        Start(app, folder, "stubborn.exe", "/ignorequit");
        EXPECT_TRUE(QuitProcessWindow(app.path, true));
        EXPECT_TRUE(WaitFor([&] { return SlurpFile(app.report).find("quit") != std::string::npos; }, 10000));
        EXPECT_FALSE(app.Ended(500));
        EXPECT_TRUE(TerminateProcessByName(app.path, true));
        EXPECT_TRUE(app.Ended(10000));
    }
    {
        Running app;
        Start(app, folder, "windowless.exe", "/windows=none");
        EXPECT_EQ(MainWindowOfProcess(app.path, true), nullptr);
        EXPECT_FALSE(PostToProcess(app.path, true, WM_CLOSE, 0, 0));
        EXPECT_FALSE(app.Ended(300));
    }
    EXPECT_FALSE(CloseProcessWindow(folder + "\\accept.exe", true));  // no longer runs
}

TEST(Waits, ProcessEndWithAndWithoutTimeOut)
{
    const std::string folder = UniqueTempName("vwait");
    Running lasting;
    Start(lasting, folder, "lasting.exe", "/windows=none /life=30000");
    DWORD start = GetTickCount();
    WaitProcessEnd(lasting.path, 3000);
    DWORD waited = GetTickCount() - start;
    EXPECT_GE(waited, 3000u);
    EXPECT_LE(waited, 6500u);
    EXPECT_FALSE(lasting.Ended(0));

    Running brief;
    Start(brief, folder, "brief.exe", "/windows=none /life=2500");
    start = GetTickCount();
    WaitProcessEnd("\"" + brief.path + "\"", 0);
    waited = GetTickCount() - start;
    EXPECT_TRUE(brief.Ended(0));
    EXPECT_LE(waited, 8000u);
    EXPECT_FALSE(IsProcessRunning(brief.path));
}

namespace {

void CALLBACK DestroyOnTimer(HWND window, UINT, UINT_PTR, DWORD)
{
    DestroyWindow(window);
}

}  // namespace

TEST(Waits, WindowGoneReturnsOnceTheClassIsGone)
{
    const std::string cls = "VarnelWaitClass" + IntToText(GetCurrentProcessId());
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = cls.c_str();
    ASSERT_TRUE(RegisterClassA(&wc));
    HWND w = CreateWindowA(cls.c_str(), "t", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(w, nullptr);
    // A timer of this thread, run by the wait's own dispatching, ends it.
    SetTimer(w, 1, 300, DestroyOnTimer);
    DWORD start = GetTickCount();
    WaitWindowGone(cls, "");
    EXPECT_LT(GetTickCount() - start, 5000u);
    EXPECT_EQ(FindWindowA(cls.c_str(), nullptr), nullptr);
    WaitWindowGone(cls, "any title");  // nothing to wait for
}
