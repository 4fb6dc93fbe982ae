#include "stub/run_mode.h"

#include <windows.h>

#include "package/file_info.h"
#include "stub/main_window.h"
#include "stub/run_state.h"
#include "stub/temp_space.h"
#include "support/debug_channel_win.h"
#include "support/file_rules.h"
#include "support/files_win.h"
#include "support/numbers.h"
#include "support/paths.h"
#include "support/start_program_win.h"
#include "support/system_win.h"
#include "support/text.h"
#include "support/trace_log_win.h"

namespace {

std::string RunningFileName()
{
    return FileNamePart(ProgramPath());
}

std::string BaseUpToFirstDot(const std::string& name)
{
    return TextBefore(name, ".", name);
}

bool TopWindowOfClass(const std::string& className)
{
    return !className.empty() && FindWindowA(className.c_str(), nullptr) != nullptr;
}

// A package on removable media copies itself to the work folder and
// restarts from there, so that the medium can change during extraction.
void CdRelaunch()
{
    const std::string copy = SetTrailingBackslash(WorkFolder(), true) + "Y_" + RunningFileName();
    CopyFileA(ProgramPath().c_str(), copy.c_str(), FALSE);
    std::string arguments = CommandTail() + " /SpanCdLvl=2 /SpanDiskFName1=\"" + ProgramPath() + ".001\"" +
                            " /OriginExe=\"" + ProgramPath() + "\"";
    StartProgram(copy, "\"" + copy + "\" " + Trim(arguments), SW_HIDE);
}

}  // namespace

bool X_ExeIsRunning()
{
    const std::string agent = OwnPackage().AgentExeName();
    return !agent.empty() && TopWindowOfClass(".AutoUpdate.X_" + BaseUpToFirstDot(agent));
}

bool ThisIs_Plain_AutoUpdate_Exe()
{
    return IsAgentProgram() && SameTextTrimmed(RunningFileName(), OwnPackage().AgentExeName());
}

bool ThisIs_X_AutoUpdate_Exe()
{
    return IsAgentProgram() && SameTextTrimmed(RunningFileName(), "X_" + OwnPackage().AgentExeName());
}

bool CdRelaunchWanted()
{
    return OwnPackage().CdRelaunch() && SwitchInt("/SpanCdLvl=", 1) == 1;
}

bool CdCopyRun()
{
    return SwitchInt("/SpanCdLvl=", 1) == 2;
}

void DoRunStubWin()
{
    TraceLine("DoRunStubWin() --- Start");
    if (IsAgentProgram())
        SetMainClassName(".AutoUpdate." + BaseUpToFirstDot(RunningFileName()));
    else
        SetMainClassName(ProgramPath());

    const bool agentWasRunning = X_ExeIsRunning();
    const bool plainAgent = ThisIs_Plain_AutoUpdate_Exe();
    const bool xAgent = ThisIs_X_AutoUpdate_Exe();
    TraceLine("X_ExeIsRunning=" + BoolText(agentWasRunning));
    TraceLine("ThisIs_Plain_AutoUpdate_Exe=" + BoolText(plainAgent));
    TraceLine("ThisIs_X_AutoUpdate_Exe=" + BoolText(xAgent));

    if (!TopWindowOfClass(MainClassName())) {
        if (plainAgent) {
            // The agent launcher (starting the "X_" copy) comes with the
            // agent; until then the launcher does nothing.
        } else if (xAgent) {
            TraceLine("CheckTestMode");
            TraceLine("WinMain");
            RunMainWindow();
            TraceLine("DeleteMySelf");
            DeleteMySelf(false);
        } else if (CdRelaunchWanted()) {
            CdRelaunch();
        } else {
            RunMainWindow();
            if (CdCopyRun())
                DeleteMySelf(true);
        }
    }
    // The launcher's command relay (with agentWasRunning) comes with the
    // agent.
    (void)agentWasRunning;
    TraceLine("DoRunStubWin() --- End");
}

uint32_t StubMain()
{
    StartDebugChannel();
    DebugPidLine(" ==== STUB START ====> " + CommandLineText() + "<");
    TGFileInfo* own = new TGFileInfo(ProgramPath());
    SetOwnPackage(own);
    SetIsAgentProgram(own->IsAgent());
    SetTraceLogOn(own->IsAgent() && own->TraceLog());
    if (ThisIs_X_AutoUpdate_Exe())
        SetTracePrefix(" X ");
    TraceLine("");
    TraceLine("");
    TraceLine("=== START === " + ProgramPath());
    TraceLine("CommandLine=" + CommandLineText());
    DebugPidLine(" ==== ThisIs_AutoUpdateProg=" + BoolText(IsAgentProgram()));

    DoRunStubWin();

    SetOwnPackage(nullptr);
    delete own;
    DebugPidLine(" ==== STUB END ====> " + CommandLineText() + "<");
    DebugLine("");
    TraceLine("=== EXIT === " + ProgramPath());
    TraceLine("");
    DebugFlush();
    return StubExitCode();
}
