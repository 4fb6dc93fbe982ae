#include "support/start_program_win.h"

#include "support/system_info_win.h"
#include "support/system_win.h"

bool StartProgram(const std::string& exePath, const std::string& commandLine, int showState, HANDLE* process,
                  DWORD* processId)
{
    if (process)
        *process = nullptr;
    if (processId)
        *processId = 0;
    if (exePath.empty())
        return false;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(showState);
    PROCESS_INFORMATION pi{};
    // The system may write into the command line: hand it a copy.
    std::string line = commandLine;
    if (!CreateProcessA(exePath.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    if (process)
        *process = pi.hProcess;
    else
        CloseHandle(pi.hProcess);
    if (processId)
        *processId = pi.dwProcessId;
    return true;
}

std::string CommandInterpreter()
{
    char buffer[MAX_PATH + 1];
    DWORD n = GetEnvironmentVariableA("ComSpec", buffer, sizeof buffer);
    if (n > 0 && n < sizeof buffer)
        return std::string(buffer, n);
    return IsWinNT() ? SystemDir(true) + "cmd.exe" : WindowsDir(true) + "COMMAND.COM";
}

bool StartCommandScript(const std::string& scriptPath, int showState)
{
    const std::string shell = CommandInterpreter();
    // cmd drops the first and the last quote of what follows /c when that
    // text holds more than two quotes, so the doubled quotes leave the
    // script's path quoted whatever characters it holds.
    const std::string line = IsWinNT() ? "\"" + shell + "\" /c \"\"" + scriptPath + "\"\""
                                       : "\"" + shell + "\" /c \"" + scriptPath + "\"";
    return StartProgram(shell, line, showState);
}
