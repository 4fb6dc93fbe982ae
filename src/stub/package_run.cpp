#include "stub/package_run.h"

#include "package/engine_command.h"
#include "package/file_info.h"
#include "package/unpack.h"
#include "stub/main_window.h"
#include "stub/progress.h"
#include "stub/run_state.h"
#include "stub/stub_unpack_host.h"
#include "stub/temp_space.h"
#include "support/debug_channel_win.h"
#include "support/files_win.h"
#include "support/messages_win.h"
#include "support/numbers.h"
#include "support/paths.h"
#include "support/processes_win.h"
#include "support/settings_win.h"
#include "support/start_program_win.h"
#include "support/system_win.h"
#include "support/text.h"
#include "ui/msgbox_win.h"
#include "ui/package_language.h"

namespace {

const char DefaultButtons[] = "|&OK|&Cancel|&Yes|&No|&Abort|&Retry|&Ignore|";

// The shortcuts that the agent's settings files name for removal once the
// engine reported success.
struct ShortcutPaths {
    std::string startUp;
    std::string checkForUpdate;
};

std::string OriginalFilePath(const TGFileInfo& own)
{
    const std::string name = own.OriginalFileName();
    return name.empty() ? "" : ProgramDir(true) + name;
}

std::string InfoFilePath(const TGFileInfo& own)
{
    const std::string name = own.InfoFileName();
    return name.empty() ? "" : ProgramDir(true) + name;
}

ShortcutPaths ReadShortcutPaths()
{
    ShortcutPaths paths;
    const std::string original = OriginalFilePath(OwnPackage());
    if (!original.empty()) {
        paths.startUp = ReadIniString(original, "UnInstall", "StartUpLink", "");
        paths.checkForUpdate = ReadIniString(original, "UnInstall", "CheckforNewUpdateLink", "");
    }
    return paths;
}

void RemoveShortcuts(const ShortcutPaths& paths)
{
    const std::string info = InfoFilePath(OwnPackage());
    if (info.empty())
        return;
    if (ReadIniString(info, "NewSetup", "RemoveStartUpShortcut", "") == "1" && !paths.startUp.empty() &&
        FileExists(paths.startUp))
        DeleteFileA(paths.startUp.c_str());
    if (ReadIniString(info, "NewSetup", "RemoveCheckForNewUpdateShortcut", "") == "1" &&
        !paths.checkForUpdate.empty() && FileExists(paths.checkForUpdate))
        DeleteFileA(paths.checkForUpdate.c_str());
}

// Starts the engine and waits for it and its dialogs; true when it deleted
// the completion token.
bool RunEngine(const std::string& command, const std::string& engineFile, const std::string& threadTag,
               bool foreground, const ShortcutPaths& shortcuts)
{
    const std::string atomName = CompletionAtomName(threadTag);
    GlobalAddAtomA(atomName.c_str());
    HANDLE process = nullptr;
    const bool started = StartProgram(engineFile, command, foreground ? SW_SHOW : SW_HIDE, &process);
    if (MainWindow())
        ShowWindow(MainWindow(), SW_HIDE);
    DelayPumping(1000, 0);
    if (started && process) {
        // The end is decided from the process handle: an engine may well
        // end with the code that means "still active" (259).
        while (true) {
            DelayPumping(500, 0);
            const DWORD state = WaitForSingleObject(process, 0);
            if (state != WAIT_TIMEOUT)
                break;
        }
        DWORD code = 0;
        if (GetExitCodeProcess(process, &code))
            SetStubExitCode(RunExitCode(RunOutcome::EngineRan, code));
        CloseHandle(process);
        DebugPidLine(" ==== Engine exit code=" + IntToText(code));
    } else {
        SetStubExitCode(RunExitCode(RunOutcome::PackageFailed, 0));
        DebugPidLine(" ==== Engine did not start");
    }
    WaitWindowGone(EngineDialogClass(threadTag), "");
    DelayPumping(1000, 0);
    const ATOM atom = GlobalFindAtomA(atomName.c_str());
    if (atom)
        GlobalDeleteAtom(atom);
    const bool completed = started && atom == 0;
    if (completed)
        RemoveShortcuts(shortcuts);
    return completed;
}

}  // namespace

bool ExtractAndRunEngine(const std::string& workFolder, const std::string& packagePath,
                         const std::string& agentName, const std::string& arguments, bool foreground)
{
    const TGFileInfo package(packagePath);
    bool goOn = true;
    bool completed = false;
    std::string folder = workFolder;
    std::string spareFolder;
    if (package.ShowActivityBar() && ActivityBar())
        ShowWindow(ActivityBar(), SW_SHOW);
    SetStatusText(StatusLabel(), LangString(package, "s1", "Extracting Files..."), LangFontName(package),
                  LangCharset(package), LangFontSize(package));
    if (!EnoughTempSpace(folder, packagePath) && ChooseSpareDrive()) {
        spareFolder = SpareWorkFolder();
        if (!spareFolder.empty())
            folder = spareFolder;
    }
    DebugLine(std::string("========= ForegroundOp=") + BoolText(foreground) + " ==========");
    if (foreground)
        goOn = ConfirmTempSpace(folder, packagePath, package);
    if (!goOn)
        SetStubExitCode(RunExitCode(RunOutcome::Declined, 0));

    if (goOn) {
        const std::string prompt =
            LangString(package, "s8", "Please insert <B>DISK #<DISK_NUM></B> and press OK to continue");
        const std::string caption = LangString(package, "Attention", "Attention");
        const std::string buttons = LangString(package, "BtnText", DefaultButtons);
        const int charset = LangCharset(package);
        if (foreground && MainWindow())
            ShowWindow(MainWindow(), SW_SHOW);
        DelayPumping(1000, 0);

        StubUnpackHost host;
        UnpackJob job;
        job.source = packagePath;
        job.destination = folder;
        job.agentName = agentName;
        job.diskPrompt = prompt;
        job.promptCaption = caption;
        job.buttonTexts = buttons;
        job.charset = charset;
        job.forcePrompt = ForcePromptSet();
        UnpackResult result;
        RunUnpack(job, host, result);
        DelayPumping(1000, 0);

        if (!result.engineSpec.empty() && result.checksumOk) {
            const std::string threadTag = ThreadTag(GetCurrentThreadId());
            EngineCommandInput in;
            in.workFolder = folder;
            in.engineSpec = result.engineSpec;
            in.arguments = arguments;
            in.threadTag = threadTag;
            in.programPath = ProgramPath();
            in.agentProgram = IsAgentProgram();
            const std::string command = EngineCommandLine(in);
            const ShortcutPaths shortcuts = ReadShortcutPaths();
            DebugPidLine(" ==== WinExec(Engine.exe) >>" + command + "<<");
            const std::string engineFile = SetTrailingBackslash(folder, true) + EngineFileOfSpec(result.engineSpec);
            completed = RunEngine(command, engineFile, threadTag, foreground, shortcuts);
        } else if (result.cancelled) {
            SetStubExitCode(RunExitCode(RunOutcome::Declined, 0));
        } else {
            SetStubExitCode(RunExitCode(RunOutcome::PackageFailed, 0));
        }
        if (!result.checksumOk)
            ErrorBox(0,
                     LangString(package, "s7",
                                "Bad CRC!<P>This indicates that your setup file might be corrupted..."),
                     LangString(package, "Error", "Error"), buttons, charset);
    }
    if (!spareFolder.empty())
        DeleteTree(spareFolder, true);
    return completed;
}

void StartPackageRun(HWND mainWindow)
{
    KillTimer(mainWindow, MainTimerId);
    const TGFileInfo& own = OwnPackage();
    const std::string agentName = own.MakeAgentCopy() ? own.AgentExeName() : "";
    if (own.DownloadFirst()) {
        // The download-first installation is not part of this program yet:
        // such a package cannot be installed.
        DebugPidLine(" ==== DownloadFirst package: not supported");
        SetStubExitCode(RunExitCode(RunOutcome::PackageFailed, 0));
    } else {
        const std::string span = SwitchValue("/SpanDiskFName1=");
        const std::string packagePath = span.empty() ? ProgramPath() : span;
        const bool hidden = SwitchPresent("/hide") || own.SilentInstall();
        ExtractAndRunEngine(WorkFolder(), packagePath, agentName, CommandTail(), !hidden);
    }
    DeleteTree(WorkFolder(), true);
    PostQuitMessage(0);
}
