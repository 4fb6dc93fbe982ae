#include "support/system_info_win.h"

#include <shellapi.h>

#include "support/registry_win.h"
#include "support/text.h"

namespace {

int g_screenDpi = 0;   // read on first use
int g_developer = -1;  // -1 until read

std::string FromBuffer(const char* buffer, DWORD length, DWORD room)
{
    return length < room ? std::string(buffer, length) : std::string();
}

}  // namespace

bool IsWinNT()
{
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    return GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

std::string CurrentVersionKey()
{
    std::string key = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
    return IsWinNT() ? ReplaceAll(key, "Windows", "Windows NT") : key;
}

std::string UserName()
{
    char buffer[256];
    DWORD n = sizeof buffer;
    if (!GetUserNameA(buffer, &n) || n == 0)
        return std::string();
    // n counts the terminating zero.
    return Trim(std::string(buffer, n - 1 < sizeof buffer ? n - 1 : 0));
}

std::string ComputerName()
{
    char buffer[256];
    DWORD n = sizeof buffer;
    if (!GetComputerNameA(buffer, &n))
        return std::string();
    return Trim(FromBuffer(buffer, n, sizeof buffer));
}

std::string RegisteredOwnerName()
{
    return Trim(ReadRegString(CurrentVersionKey(), "RegisteredOwner", UserName()));
}

std::string RegisteredOrganizationName()
{
    return Trim(ReadRegString(CurrentVersionKey(), "RegisteredOrganization", ""));
}

std::string AccountDomain(const std::string& account)
{
    DWORD sidSize = 0;
    DWORD domainSize = 0;
    SID_NAME_USE use;
    LookupAccountNameA(nullptr, account.c_str(), nullptr, &sidSize, nullptr, &domainSize, &use);
    if (sidSize == 0)
        return std::string();
    std::string sid(sidSize, '\0');
    std::string domain(domainSize + 1, '\0');
    DWORD domainLength = domainSize + 1;
    if (!LookupAccountNameA(nullptr, account.c_str(), &sid[0], &sidSize, &domain[0], &domainLength, &use))
        return std::string();
    return std::string(domain.c_str());
}

std::string UserDomain()
{
    return AccountDomain(UserName());
}

std::string WindowText(HWND window)
{
    if (!window)
        return std::string();
    char buffer[1024];
    int n = GetWindowTextA(window, buffer, sizeof buffer);
    return n > 0 && n < static_cast<int>(sizeof buffer) ? std::string(buffer, n) : std::string();
}

std::string LastErrorText()
{
    DWORD code = GetLastError();
    char buffer[256];
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                             buffer, sizeof buffer, nullptr);
    if (n == 0 || n >= sizeof buffer)
        return "Error Reading \"SysUtils.SysErrorMessage(GetLastError)\"";
    std::string text(buffer, n);
    while (!text.empty() && (static_cast<unsigned char>(text.back()) <= ' ' || text.back() == '.'))
        text.pop_back();
    return text;
}

int PointsToPixels(int points)
{
    if (g_screenDpi == 0) {
        HDC dc = GetDC(nullptr);
        g_screenDpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 0;
        if (dc)
            ReleaseDC(nullptr, dc);
        if (g_screenDpi <= 0)
            g_screenDpi = 96;
    }
    return MulDiv(points, g_screenDpi, 72);
}

BoxOrigin CentreInWorkArea(int width, int height)
{
    RECT area;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0)) {
        area.left = 0;
        area.top = 0;
        area.right = GetSystemMetrics(SM_CXSCREEN);
        area.bottom = GetSystemMetrics(SM_CYSCREEN);
    }
    return CentredOrigin(area.left, area.top, area.right, area.bottom, width, height);
}

bool ShellOpen(const std::string& file, const std::string& parameters, int showMode)
{
    HINSTANCE result = ShellExecuteA(GetDesktopWindow(), nullptr, file.c_str(),
                                     parameters.empty() ? nullptr : parameters.c_str(), nullptr, showMode);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

FARPROC BindProc(const char* library, const char* entry)
{
    HMODULE module = LoadLibraryA(library);
    return module ? GetProcAddress(module, entry) : nullptr;
}

bool DeveloperModeFromEnvironment()
{
    char buffer[8];
    SetLastError(0);
    DWORD n = GetEnvironmentVariableA("DVX", buffer, sizeof buffer);
    return n == 3 && std::string(buffer, 3) == "579";
}

bool DeveloperMode()
{
    if (g_developer < 0)
        g_developer = DeveloperModeFromEnvironment() ? 1 : 0;
    return g_developer == 1;
}
