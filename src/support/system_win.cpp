#include "support/system_win.h"

#include <windows.h>

#include "support/host_facts.h"
#include "support/paths.h"
#include "support/switches.h"

namespace {

// Folder queries write into a 256-byte buffer; a failed call gives the
// empty text.
template <typename Query>
std::string FolderFromQuery(Query query, bool withBackslash)
{
    char buffer[256];
    UINT n = query(buffer, sizeof buffer);
    std::string folder = (n > 0 && n < sizeof buffer) ? std::string(buffer, n) : std::string();
    return SetTrailingBackslash(folder, withBackslash);
}

std::string LocaleText(LCTYPE type, const char* fallback)
{
    char buffer[16];
    int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer);
    return n > 1 ? std::string(buffer, n - 1) : std::string(fallback);
}

}  // namespace

void LoadHostFacts()
{
    CPINFO info;
    if (GetCPInfo(CP_ACP, &info)) {
        int pairs = 0;
        while (pairs < MAX_LEADBYTES / 2 && (info.LeadByte[2 * pairs] || info.LeadByte[2 * pairs + 1]))
            ++pairs;
        SetLeadByteRanges(info.LeadByte, pairs);
    }
    SetLocaleSeparators(LocaleText(LOCALE_SDATE, "/"), LocaleText(LOCALE_STIME, ":"));
}

std::string ProgramPath()
{
    // MAX_PATH suffices for a module path on the systems the stub serves;
    // a longer one is cut by the system and still names the folder.
    char buffer[MAX_PATH + 1];
    DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    return (n > 0 && n < sizeof buffer) ? std::string(buffer, n) : std::string();
}

std::string ProgramDir(bool withBackslash)
{
    std::string path = ProgramPath();
    std::string::size_type slash = path.find_last_of("\\:");
    return SetTrailingBackslash(slash == std::string::npos ? std::string() : path.substr(0, slash + 1),
                                withBackslash);
}

std::string WindowsDir(bool withBackslash)
{
    return FolderFromQuery([](char* b, UINT n) { return GetWindowsDirectoryA(b, n); }, withBackslash);
}

std::string SystemDir(bool withBackslash)
{
    return FolderFromQuery([](char* b, UINT n) { return GetSystemDirectoryA(b, n); }, withBackslash);
}

std::string TempDir(bool withBackslash)
{
    return FolderFromQuery([](char* b, UINT n) { return static_cast<UINT>(GetTempPathA(n, b)); },
                           withBackslash);
}

std::string CommandLineText()
{
    const char* line = GetCommandLineA();
    return line ? std::string(line) : std::string();
}

std::string CommandTail()
{
    return CommandTailOf(CommandLineText(), ProgramPath());
}

std::string SwitchValue(const std::string& name)
{
    return SwitchValueIn(CommandTail(), name);
}

bool SwitchPresent(const std::string& name)
{
    return SwitchPresentIn(CommandTail(), name);
}

int64_t SwitchInt(const std::string& name, int64_t def)
{
    return SwitchIntIn(CommandTail(), name, def);
}

TDateTime NowDateTime()
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    CivilTime c{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
    return EncodeDateTime(c);
}
