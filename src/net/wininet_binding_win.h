// WinINet bound by name at run time: the library is loaded on the first
// call of a bound function and each entry point is looked up once and kept.
// A missing library or entry point makes the call return 0 (false, no
// handle) and is looked up again on the next call.
#pragma once

#include <windows.h>
#include <wininet.h>

namespace wininet {

BOOL GetConnectedState(LPDWORD flags, DWORD reserved);
BOOL CloseHandle(HINTERNET handle);
HINTERNET Open(LPCSTR agent, DWORD accessType, LPCSTR proxy, LPCSTR proxyBypass, DWORD flags);
HINTERNET OpenUrl(HINTERNET internet, LPCSTR url, LPCSTR headers, DWORD headersLength, DWORD flags,
                  DWORD_PTR context);
BOOL QueryInfo(HINTERNET request, DWORD infoLevel, LPVOID buffer, LPDWORD bufferLength, LPDWORD index);
BOOL ReadFile(HINTERNET file, LPVOID buffer, DWORD toRead, LPDWORD read);
DWORD SetFilePointer(HINTERNET file, LONG distance, PLONG distanceHigh, DWORD method, DWORD_PTR context);

// Frees the library and forgets every entry point.
void Release();

}  // namespace wininet
