// Helpers of the Windows support tests: unique temporary names (tests run
// in parallel processes) and small file and process steps done directly
// through the system, independent of the code under test.
#pragma once

#include <windows.h>

#include <string>

#include "support/numbers.h"
#include "support/system_win.h"

inline std::string UniqueTempName(const std::string& stem)
{
    static int calls = 0;
    return TempDir(true) + stem + IntToText(GetCurrentProcessId()) + "_" + IntToText(++calls);
}

inline std::string SlurpFile(const std::string& path)
{
    std::string text;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return text;
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(f, buffer, sizeof buffer, &n, nullptr) && n > 0)
        text.append(buffer, n);
    CloseHandle(f);
    return text;
}

inline bool PutFile(const std::string& path, const std::string& bytes)
{
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    DWORD n = 0;
    BOOL ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    CloseHandle(f);
    return ok && n == bytes.size();
}

inline bool PathExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Polls until the condition holds or the time is up.
template <typename Condition>
bool WaitFor(Condition condition, DWORD milliseconds)
{
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > milliseconds)
            return false;
        Sleep(50);
    }
    return true;
}

// A test tool built next to the test program.
inline std::string ToolPath(const char* name)
{
    return ProgramDir(true) + name;
}
