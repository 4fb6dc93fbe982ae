// InetHTTP: everything the stub does over the Internet, through WinINet
// bound at run time. Failures come back as texts (empty on success) or -1;
// nothing raises.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// (mode, range low, range high, position, step, status text): mode 0 starts
// a transfer (0, blocks + 1, blocks already present, 1), mode 1 reports one
// more block (all numbers 0).
using TransferProgress = void (*)(int mode, int64_t low, int64_t high, int64_t position, int64_t step,
                                  const std::string& status);

// The download abort flag. The program that links this library defines
// them (the stub: the main window sets the flag when it is closed); a
// transfer stops within one block once it is set.
void SetDownloadAbort(bool abort);
bool DownloadAborted();

// "InternetGetConnectedState"; on false the error is the last error's text.
bool InternetConnected(std::string& error);
bool InternetConnectedQuiet();

// The Content-Length the server announces for url, or -1.
int64_t HTTP_GetFileSize(const std::string& url);

// Fetches url. With a destination the bytes go to the part file beside it
// (destination + "." + number from length and Last-Modified), which resumes
// a transfer broken off earlier and becomes the destination once complete;
// without one they come back in content (at most MemoryDownloadLimit).
// window: 0 none; above 10 a window shown when the transfer starts; 1 a
// reload past every cache. An empty error means the whole announced size
// arrived.
void HTTP_DownloadFile_Incremental(HWND window, const std::string& url, const std::string& destination,
                                   std::string& content, TransferProgress progress, std::string& error);

// Frees WinINet at the end of the run.
void ReleaseWinInet();

// For a web server's error page (in file's first 10,000 bytes when a file
// is given and exists, otherwise in content) the not-found text naming
// url; otherwise def.
std::string ErrorPageText(const std::string& file, const std::string& content, const std::string& url,
                          const std::string& def, bool serverHint);

// Deletes the part files of destination (destination + "." + a decimal
// number); other files that begin with the destination's name stay.
void DeletePartFiles(const std::string& destination);
