#include "net/wininet_binding_win.h"

namespace {

HMODULE g_library = nullptr;

enum Entry { GetConnectedStateEntry, CloseHandleEntry, OpenEntry, OpenUrlEntry, QueryInfoEntry, ReadFileEntry,
             SetFilePointerEntry, EntryCount };

const char* const EntryNames[EntryCount] = {"InternetGetConnectedState", "InternetCloseHandle", "InternetOpenA",
                                            "InternetOpenUrlA", "HttpQueryInfoA", "InternetReadFile",
                                            "InternetSetFilePointer"};
FARPROC g_entries[EntryCount] = {};

// The cached entry point; loads the library and looks the name up when
// there is none yet.
template <typename Function>
Function Bound(Entry entry)
{
    if (!g_entries[entry]) {
        if (!g_library)
            g_library = LoadLibraryA("WinINet.dll");
        if (g_library)
            g_entries[entry] = GetProcAddress(g_library, EntryNames[entry]);
    }
    return reinterpret_cast<Function>(reinterpret_cast<void*>(g_entries[entry]));
}

}  // namespace

namespace wininet {

BOOL GetConnectedState(LPDWORD flags, DWORD reserved)
{
    auto f = Bound<decltype(&InternetGetConnectedState)>(GetConnectedStateEntry);
    return f ? f(flags, reserved) : FALSE;
}

BOOL CloseHandle(HINTERNET handle)
{
    auto f = Bound<decltype(&InternetCloseHandle)>(CloseHandleEntry);
    return f && handle ? f(handle) : FALSE;
}

HINTERNET Open(LPCSTR agent, DWORD accessType, LPCSTR proxy, LPCSTR proxyBypass, DWORD flags)
{
    auto f = Bound<decltype(&InternetOpenA)>(OpenEntry);
    return f ? f(agent, accessType, proxy, proxyBypass, flags) : nullptr;
}

HINTERNET OpenUrl(HINTERNET internet, LPCSTR url, LPCSTR headers, DWORD headersLength, DWORD flags,
                  DWORD_PTR context)
{
    auto f = Bound<decltype(&InternetOpenUrlA)>(OpenUrlEntry);
    return f && internet ? f(internet, url, headers, headersLength, flags, context) : nullptr;
}

BOOL QueryInfo(HINTERNET request, DWORD infoLevel, LPVOID buffer, LPDWORD bufferLength, LPDWORD index)
{
    auto f = Bound<decltype(&HttpQueryInfoA)>(QueryInfoEntry);
    return f && request ? f(request, infoLevel, buffer, bufferLength, index) : FALSE;
}

BOOL ReadFile(HINTERNET file, LPVOID buffer, DWORD toRead, LPDWORD read)
{
    auto f = Bound<decltype(&InternetReadFile)>(ReadFileEntry);
    return f && file ? f(file, buffer, toRead, read) : FALSE;
}

DWORD SetFilePointer(HINTERNET file, LONG distance, PLONG distanceHigh, DWORD method, DWORD_PTR context)
{
    auto f = Bound<decltype(&InternetSetFilePointer)>(SetFilePointerEntry);
    return f && file ? f(file, distance, distanceHigh, method, context) : 0;
}

void Release()
{
    if (g_library)
        FreeLibrary(g_library);
    g_library = nullptr;
    for (FARPROC& entry : g_entries)
        entry = nullptr;
}

}  // namespace wininet
