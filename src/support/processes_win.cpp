#include "support/processes_win.h"

#include <tlhelp32.h>

#include "support/analizer_win.h"
#include "support/file_rules.h"
#include "support/messages_win.h"
#include "support/process_rules.h"
#include "support/system_info_win.h"
#include "support/text.h"

namespace {

// PSAPI: loaded once and kept; a failed load is tried again next time.
struct Psapi {
    HMODULE module = nullptr;
    BOOL(WINAPI* enumProcesses)(DWORD*, DWORD, DWORD*) = nullptr;
    BOOL(WINAPI* enumProcessModules)(HANDLE, HMODULE*, DWORD, DWORD*) = nullptr;
    DWORD(WINAPI* moduleBaseName)(HANDLE, HMODULE, LPSTR, DWORD) = nullptr;
    DWORD(WINAPI* moduleFileNameEx)(HANDLE, HMODULE, LPSTR, DWORD) = nullptr;
};
Psapi g_psapi;

// Tool-help: from the kernel32 already loaded, looked up once.
struct ToolHelp {
    bool looked = false;
    HANDLE(WINAPI* snapshot)(DWORD, DWORD) = nullptr;
    BOOL(WINAPI* first)(HANDLE, PROCESSENTRY32*) = nullptr;
    BOOL(WINAPI* next)(HANDLE, PROCESSENTRY32*) = nullptr;
};
ToolHelp g_toolHelp;

template <typename F>
void Bind(F& target, HMODULE module, const char* name)
{
    target = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

bool PsapiReady()
{
    if (!g_psapi.module) {
        g_psapi.module = LoadLibraryA("PSAPI.dll");
        if (!g_psapi.module)
            return false;
        Bind(g_psapi.enumProcesses, g_psapi.module, "EnumProcesses");
        Bind(g_psapi.enumProcessModules, g_psapi.module, "EnumProcessModules");
        Bind(g_psapi.moduleBaseName, g_psapi.module, "GetModuleBaseNameA");
        Bind(g_psapi.moduleFileNameEx, g_psapi.module, "GetModuleFileNameExA");
    }
    return g_psapi.enumProcesses && g_psapi.enumProcessModules && g_psapi.moduleBaseName &&
           g_psapi.moduleFileNameEx;
}

bool ToolHelpReady()
{
    if (!g_toolHelp.looked) {
        g_toolHelp.looked = true;
        HMODULE kernel = GetModuleHandleA("kernel32.dll");
        if (kernel) {
            Bind(g_toolHelp.snapshot, kernel, "CreateToolhelp32Snapshot");
            Bind(g_toolHelp.first, kernel, "Process32First");
            Bind(g_toolHelp.next, kernel, "Process32Next");
        }
    }
    return g_toolHelp.snapshot && g_toolHelp.first && g_toolHelp.next;
}

std::string ShortPath(const std::string& path)
{
    if (path.empty())
        return std::string();
    char buffer[MAX_PATH + 1];
    DWORD n = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
    return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

std::string FromBuffer(const char* buffer, DWORD n, DWORD room)
{
    return n > 0 && n < room ? std::string(buffer, n) : std::string();
}

// Names of one process; empty when it cannot be opened or queried.
ProcessNames NamesOf(DWORD pid)
{
    ProcessNames names;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process)
        return names;
    HMODULE module = nullptr;
    DWORD needed = 0;
    if (g_psapi.enumProcessModules(process, &module, sizeof module, &needed) && module) {
        char buffer[MAX_PATH + 1];
        names.fullPath = FromBuffer(buffer, g_psapi.moduleFileNameEx(process, module, buffer, sizeof buffer),
                                    sizeof buffer);
        names.baseName = FromBuffer(buffer, g_psapi.moduleBaseName(process, module, buffer, sizeof buffer),
                                    sizeof buffer);
    }
    CloseHandle(process);
    names.shortPath = ShortPath(names.fullPath);
    return names;
}

}  // namespace

std::vector<DWORD> ProcessIdList()
{
    std::vector<DWORD> ids;
    if (!PsapiReady())
        return ids;
    DWORD room = 1024;
    for (;;) {
        ids.assign(room / sizeof(DWORD), 0);
        DWORD returned = 0;
        if (!g_psapi.enumProcesses(ids.data(), room, &returned)) {
            ids.clear();
            return ids;
        }
        if (returned < room) {
            ids.resize(returned / sizeof(DWORD));
            return ids;
        }
        room += 1024;
    }
}

bool ProcessIdAlive(DWORD processId)
{
    for (DWORD id : ProcessIdList())
        if (id == processId)
            return true;
    return false;
}

DWORD FindProcessIdPsapi(const std::string& name, bool fullPathOnly)
{
    const std::vector<DWORD> ids = ProcessIdList();
    if (ids.empty())
        return 0;
    const std::string nameShort = ShortPath(Trim(name));
    for (std::size_t i = ids.size(); i-- > 0;) {
        if (ProcessMatches(name, nameShort, NamesOf(ids[i]), fullPathOnly))
            return ids[i];
    }
    return 0;
}

DWORD FindProcessIdToolHelp(const std::string& name, bool fullPathOnly)
{
    if (!ToolHelpReady())
        return 0;
    HANDLE snapshot = g_toolHelp.snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    const std::string nameShort = ShortPath(Trim(name));
    DWORD found = 0;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = g_toolHelp.first(snapshot, &entry); more; more = g_toolHelp.next(snapshot, &entry)) {
        ProcessNames names;
        std::size_t length = 0;
        while (length < sizeof entry.szExeFile && entry.szExeFile[length])
            ++length;
        names.fullPath = std::string(entry.szExeFile, length);
        names.baseName = FileNamePart(names.fullPath);
        names.shortPath = ShortPath(names.fullPath);
        if (ProcessMatches(name, nameShort, names, fullPathOnly))
            found = entry.th32ProcessID;
        entry.dwSize = sizeof entry;
    }
    CloseHandle(snapshot);
    return found;
}

DWORD FindProcessId(const std::string& name, bool fullPathOnly)
{
    return IsWinNT() ? FindProcessIdPsapi(name, fullPathOnly) : FindProcessIdToolHelp(name, fullPathOnly);
}

bool IsProcessRunning(const std::string& name)
{
    return FindProcessId(TrimQuotes(name, true), false) != 0;
}

void WaitProcessEnd(const std::string& name, int64_t timeoutMs)
{
    const std::string searched = TrimQuotes(name, true);
    const DWORD start = GetTickCount();
    auto timedOut = [&]() { return timeoutMs >= 1 && static_cast<int64_t>(GetTickCount() - start) > timeoutMs; };
    DelayPumping(1000, 0);
    if (IsWinNT()) {
        const DWORD pid = FindProcessId(searched, false);
        if (pid == 0)
            return;
        do
            DelayPumping(1000, 0);
        while (!timedOut() && ProcessIdAlive(pid));
    } else {
        do
            DelayPumping(1000, 0);
        while (!timedOut() && FindProcessId(searched, false) != 0);
    }
}

void WaitWindowGone(const std::string& className, const std::string& title)
{
    const char* wantedTitle = title.empty() ? nullptr : title.c_str();
    while (FindWindowA(className.c_str(), wantedTitle)) {
        PumpMessages(0);
        Sleep(100);
    }
}

HWND TopOwner(HWND window)
{
    if (!window)
        return nullptr;
    HWND owner = GetWindow(window, GW_OWNER);
    // Owner chains are short; the bound only guards against a broken one.
    for (int i = 0; owner && i < 1000; ++i) {
        HWND next = GetWindow(owner, GW_OWNER);
        if (!next)
            break;
        owner = next;
    }
    return owner;
}

bool PostToProcess(const std::string& name, bool fullPathOnly, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = MainWindowOfProcess(name, fullPathOnly);
    if (!window)
        return false;
    PostMessageA(window, message, wParam, lParam);
    return true;
}

bool CloseProcessWindow(const std::string& name, bool fullPathOnly)
{
    return PostToProcess(name, fullPathOnly, WM_CLOSE, 15, 255);
}

bool QuitProcessWindow(const std::string& name, bool fullPathOnly)
{
    return PostToProcess(name, fullPathOnly, WM_QUIT, 15, 255);
}

bool TerminateProcessByName(const std::string& name, bool fullPathOnly)
{
    DWORD pid = FindProcessId(name, fullPathOnly);
    if (pid == 0)
        return false;
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, pid);
    if (!process)
        return false;
    bool ok = TerminateProcess(process, 0) != 0;
    CloseHandle(process);
    return ok;
}
