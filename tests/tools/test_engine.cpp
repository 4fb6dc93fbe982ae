// A setup engine for the package-run tests, packed as a package's engine
// entry. It reads what to do from test_engine.ini beside it:
//   [engine]
//   Result=C:\path\result.txt   where to write the report (outside the
//                               work folder, which the stub deletes)
//   ExitCode=N                  its exit code (default 0)
//   DeleteAtom=1                delete the completion atom named by /TH_ID=
//   DialogMs=N                  keep a window of the engine's dialog class
//                               open for N ms before ending
//   DialogDetached=1            leave that window to a second process (a
//                               copy of this one) and end at once, as an
//                               engine whose dialogs outlive it
// The report: "commandline=", "currentdir=", "programdir=", "showwindow="
// (the show state the engine was started with), one "file=" line for every
// file beside it, "atom=found|missing" (the completion atom as the engine
// met it), then "end" as the engine ends; a detached dialog adds
// "dialog=open" and "dialogclosed" from its own process.
#include <windows.h>

#include <string>

#include "support/files_win.h"
#include "support/numbers.h"
#include "support/settings_win.h"
#include "support/start_program_win.h"
#include "support/system_win.h"

namespace {

const char AtomStem[] = "DykeOkjhbvLexzVbxadMiStvkik";
const char DialogStem[] = ".SDialog_Class_Name.";

std::string g_result;

void Report(const std::string& line)
{
    if (!g_result.empty())
        AppendToFile(g_result, line + "\r\n", 0);
}

void ShowDialog(const std::string& className, int64_t milliseconds)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = className.c_str();
    RegisterClassA(&wc);
    HWND dialog = CreateWindowA(className.c_str(), "Test engine", WS_OVERLAPPED | WS_CAPTION, 20, 20, 200, 80,
                                nullptr, nullptr, wc.hInstance, nullptr);
    Report("dialog=" + std::string(dialog ? "open" : "failed"));
    const DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < static_cast<DWORD>(milliseconds)) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(20);
    }
    if (dialog)
        DestroyWindow(dialog);
}

}  // namespace

// Started with /KeepDialog=<class> /DialogMs=<ms>: holds the dialog of an
// engine that has already ended.
int KeepDialog(const std::string& className)
{
    ShowDialog(className, SwitchInt("/DialogMs=", 0));
    Report("dialogclosed");
    return 0;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    LoadHostFacts();
    const std::string ini = ProgramDir(true) + "test_engine.ini";
    g_result = ReadIniString(ini, "engine", "Result", "");
    const std::string keep = SwitchValue("/KeepDialog=");
    if (!keep.empty())
        return KeepDialog(keep);
    const int exitCode = static_cast<int>(ReadIniInt(ini, "engine", "ExitCode", 0));
    const bool deleteAtom = ReadIniInt(ini, "engine", "DeleteAtom", 0) == 1;
    const int64_t dialogMs = ReadIniInt(ini, "engine", "DialogMs", 0);
    const bool detached = ReadIniInt(ini, "engine", "DialogDetached", 0) == 1;

    Report("commandline=" + CommandLineText());
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, folder);
    Report("currentdir=" + std::string(folder));
    Report("programdir=" + ProgramDir(true));
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    Report("showwindow=" +
           IntToText((startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT));
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((ProgramDir(true) + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                Report("file=" + std::string(found.cFileName));
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }

    const std::string tag = SwitchValue("/TH_ID=");
    const std::string atomName = AtomStem + tag;
    const ATOM atom = GlobalFindAtomA(atomName.c_str());
    Report(std::string("atom=") + (atom ? "found" : "missing"));
    if (atom && deleteAtom)
        GlobalDeleteAtom(atom);
    if (dialogMs > 0 && detached) {
        const std::string self = ProgramPath();
        StartProgram(self, "\"" + self + "\" /KeepDialog=" + DialogStem + tag + " /DialogMs=" + IntToText(dialogMs),
                     SW_SHOW);
        // The dialog is up before the engine ends (or 10 s have passed).
        for (int i = 0; i < 500 && !FindWindowA((DialogStem + tag).c_str(), nullptr); ++i)
            Sleep(20);
    } else if (dialogMs > 0) {
        ShowDialog(DialogStem + tag, dialogMs);
    }
    Report("end");
    return exitCode;
}
