#include "net/inet_http_win.h"

#include "net/error_page.h"
#include "net/transfer_rules.h"
#include "net/transfer_status.h"
#include "net/wininet_binding_win.h"
#include "support/debug_channel_win.h"
#include "support/file_rules.h"
#include "support/files_win.h"
#include "support/messages_win.h"
#include "support/numbers.h"
#include "support/system_info_win.h"

namespace {

constexpr DWORD QueryLengthNumber = HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER;      // 0x20000005
constexpr DWORD QueryStatusNumber = HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER;
constexpr DWORD QueryModifiedTime = HTTP_QUERY_LAST_MODIFIED | HTTP_QUERY_FLAG_SYSTEMTIME;  // 0x4000000B

TransferRate g_rate;

HINTERNET OpenInternet(const char* agent)
{
    return wininet::Open(agent, INTERNET_OPEN_TYPE_PRECONFIG, "", nullptr, 0);
}

HINTERNET OpenRequest(HINTERNET internet, const std::string& url, const std::string& headers, DWORD flags)
{
    return wininet::OpenUrl(internet, url.c_str(), headers.empty() ? nullptr : headers.c_str(),
                            headers.empty() ? 0 : static_cast<DWORD>(headers.size()), flags, 0);
}

// An open of the address whose results are not used: it lets WinINet set
// up its connection state before the real request.
void WarmUp(const std::string& url)
{
    HINTERNET internet = OpenInternet("HTTP_Connect_2");
    HINTERNET request = OpenRequest(internet, url, "", 0);
    wininet::CloseHandle(request);
    wininet::CloseHandle(internet);
}

int64_t QueryNumber(HINTERNET request, DWORD query)
{
    DWORD value = 0xFFFFFFFFu;
    DWORD length = sizeof value;
    if (!wininet::QueryInfo(request, query, &value, &length, nullptr))
        return -1;
    return static_cast<int32_t>(value);
}

std::string QueryText(HINTERNET request, DWORD query)
{
    char buffer[256] = {};
    DWORD length = sizeof buffer - 1;
    if (!wininet::QueryInfo(request, query, buffer, &length, nullptr))
        return "";
    return std::string(buffer, length < sizeof buffer ? length : sizeof buffer - 1);
}

uint32_t QueryStamp(HINTERNET request)
{
    SYSTEMTIME t = {};
    DWORD length = sizeof t;
    if (!wininet::QueryInfo(request, QueryModifiedTime, &t, &length, nullptr))
        return 0;
    return LastModifiedStamp(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
}

// Where the bytes of a transfer go: the part file, kept open for the whole
// transfer, or the content text.
class Sink {
public:
    Sink(std::string& content) : content_(content) {}
    ~Sink() { Close(); }

    // Opens the part file and cuts it to done bytes.
    bool OpenPart(const std::string& path, int64_t done)
    {
        file_ = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file_ == INVALID_HANDLE_VALUE)
            return false;
        LARGE_INTEGER at;
        at.QuadPart = done;
        return SetFilePointerEx(file_, at, nullptr, FILE_BEGIN) && SetEndOfFile(file_);
    }
    bool Put(const char* bytes, int64_t count)
    {
        if (file_ == INVALID_HANDLE_VALUE) {
            content_.append(bytes, static_cast<std::size_t>(count));
            return true;
        }
        DWORD written = 0;
        return WriteFile(file_, bytes, static_cast<DWORD>(count), &written, nullptr) && written == count;
    }
    void Close()
    {
        if (file_ != INVALID_HANDLE_VALUE)
            CloseHandle(file_);
        file_ = INVALID_HANDLE_VALUE;
    }

private:
    std::string& content_;
    HANDLE file_ = INVALID_HANDLE_VALUE;
};

struct Transfer {
    HINTERNET internet = nullptr;
    HINTERNET request = nullptr;
    std::string url;
    DWORD flags = 0;
    int64_t size = 0;
    int64_t done = 0;
};

// Moves the request to done bytes. The read position is set when WinINet
// can (it must report exactly that position); otherwise the rest is asked
// for with a ranged request, taken only when the server answers with that
// very range. When neither holds, the transfer starts again from byte 0.
bool ResumeAt(Transfer& t, std::string& error)
{
    if (t.done <= 0)
        return true;
    if (t.done <= 0x7FFFFFFF) {
        const DWORD at = wininet::SetFilePointer(t.request, static_cast<LONG>(t.done), nullptr, FILE_BEGIN, 0);
        if (at == static_cast<DWORD>(t.done))
            return true;
    }
    wininet::CloseHandle(t.request);
    t.request = OpenRequest(t.internet, t.url, RangeHeader(t.done), t.flags);
    if (t.request) {
        const int status = static_cast<int>(QueryNumber(t.request, QueryStatusNumber));
        const std::string range = QueryText(t.request, HTTP_QUERY_CONTENT_RANGE);
        if (RangeAnswerAccepted(status, range, t.done, t.size)) {
            DebugPidLine(" HTTP_DownloadFile_Incremental: resumed at " + IntToText(t.done));
            return true;
        }
        DebugPidLine(" HTTP_DownloadFile_Incremental: range refused (" + IntToText(status) + " " + range +
                     "), starting anew");
        wininet::CloseHandle(t.request);
        t.request = OpenRequest(t.internet, t.url, "", t.flags);
    }
    t.done = 0;
    if (!t.request) {
        error = "Unable to open Internet Connection <P>URL: " + t.url;
        return false;
    }
    return true;
}

// Reads until the announced size arrived, the server stops sending or the
// abort flag is set. Blocks are accounted one by one inside each piece:
// one progress step, one round of the message queue and one look at the
// abort flag per block.
void ReadAll(Transfer& t, Sink& sink, TransferProgress progress, const std::string& partPath, std::string& error)
{
    const int64_t block = TransferBlockSize(t.size);
    const int64_t startDone = t.done;
    g_rate.Reset(GetTickCount());
    std::string status = g_rate.StatusText(t.done, t.size);
    if (progress)
        progress(0, 0, ProgressRangeHigh(t.size, block), ProgressPosition(t.done, block), 1, status);

    std::string buffer(static_cast<std::size_t>(MaxReadPiece), '\0');
    int64_t piece = block;
    int64_t unreported = 0;
    while (t.done < t.size && !DownloadAborted()) {
        const int64_t want = Min64(piece, t.size - t.done);
        DWORD got = 0;
        const DWORD start = GetTickCount();
        const BOOL ok = wininet::ReadFile(t.request, &buffer[0], static_cast<DWORD>(want), &got);
        if (!ok || got == 0) {
            error = IncompleteText(t.done, t.size);
            return;
        }
        piece = NextReadPiece(piece, block, GetTickCount() - start, got == want);
        bool stepped = false;
        for (int64_t taken = 0; taken < got && !DownloadAborted();) {
            const int64_t n = Min64(got - taken, BytesToBlockEnd(t.done, startDone, block));
            if (!sink.Put(buffer.data() + taken, n)) {
                error = "Unable to write the file " + partPath;
                return;
            }
            taken += n;
            t.done += n;
            unreported += n;
            if ((t.done - startDone) % block == 0 || t.done == t.size) {
                g_rate.Update(GetTickCount(), unreported);
                unreported = 0;
                status = g_rate.StatusText(t.done, t.size);
                if (progress)
                    progress(1, 0, 0, 0, 0, status);
                PumpMessages(0);
                stepped = true;
            }
        }
        if (!stepped)
            PumpMessages(0);
    }
}

void Fetch(Transfer& t, const std::string& destination, std::string& content, TransferProgress progress,
           std::string& error)
{
    Sink sink(content);
    std::string part;
    if (!destination.empty()) {
        part = PartFilePath(destination, t.size, QueryStamp(t.request));
        if (FileExists(part)) {
            t.done = static_cast<int64_t>(FileSizeByName(part));
            if (t.done > t.size)
                t.done = 0;
        } else {
            DeletePartFiles(destination);
        }
        if (t.done < t.size && !ResumeAt(t, error))
            return;
        if (!sink.OpenPart(part, t.done)) {
            error = "Unable to write the file " + part;
            return;
        }
    }
    ReadAll(t, sink, progress, part, error);
    sink.Close();
    if (DownloadAborted())
        error = "Download Aborted";
    else if (error.empty() && t.done < t.size)
        error = IncompleteText(t.done, t.size);
    if (!destination.empty() && static_cast<int64_t>(FileSizeByName(part)) == t.size && t.done == t.size) {
        DeleteFileA(destination.c_str());
        if (!MoveFileA(part.c_str(), destination.c_str()) && error.empty())
            error = "Unable to write the file " + destination;
    }
    if (!error.empty() && destination.empty())
        content.clear();
}

}  // namespace

bool InternetConnected(std::string& error)
{
    DWORD flags = 0;
    const bool connected = wininet::GetConnectedState(&flags, 0) != FALSE;
    error = connected ? "" : LastErrorText();
    return connected;
}

bool InternetConnectedQuiet()
{
    DWORD flags = 0;
    return wininet::GetConnectedState(&flags, 0) != FALSE;
}

int64_t HTTP_GetFileSize(const std::string& url)
{
    WarmUp(url);
    HINTERNET internet = OpenInternet("HTTP_Connect_2");
    if (!internet)
        return -1;
    int64_t size = -1;
    HINTERNET request = OpenRequest(internet, url, "", 0);
    if (request) {
        size = QueryNumber(request, QueryLengthNumber);
        DebugLine("HTTP_GetFileSize=" + IntToText(size) + "  " + url);
        wininet::CloseHandle(request);
    }
    wininet::CloseHandle(internet);
    return size;
}

void HTTP_DownloadFile_Incremental(HWND window, const std::string& url, const std::string& destination,
                                   std::string& content, TransferProgress progress, std::string& error)
{
    DelayPumping(100, 0);
    error.clear();
    content.clear();
    WarmUp(url);
    Transfer t;
    t.url = url;
    t.internet = OpenInternet("HTTP_Connect_3");
    const uintptr_t owner = reinterpret_cast<uintptr_t>(window);
    if (!t.internet) {
        error = "Unable to initialize \"WinINet.dll\"";
    } else {
        t.flags = owner == 1 ? INTERNET_FLAG_RELOAD : (destination.empty() ? 0 : INTERNET_FLAG_RESYNCHRONIZE);
        t.request = OpenRequest(t.internet, url, "", t.flags);
        if (!t.request) {
            error = "Unable to open Internet Connection <P>URL: " + url;
        } else {
            t.size = QueryNumber(t.request, QueryLengthNumber);
            DebugLine("HTTP_DownloadFile_Incremental FileSize=" + IntToText(t.size) + "  " + url);
            if (t.size <= 0) {
                error = url + "<P><P>File Not Found !";
            } else if (destination.empty() && t.size > MemoryDownloadLimit) {
                error = TooLargeText(t.size);
            } else {
                if (owner > 10)
                    ShowWindow(window, SW_SHOW);
                Fetch(t, destination, content, progress, error);
            }
        }
        wininet::CloseHandle(t.request);
        wininet::CloseHandle(t.internet);
    }
    if (!error.empty())
        DebugPidLine(" HTTP_DownloadFile_Incremental: " + error);
}

void ReleaseWinInet()
{
    wininet::Release();
}

std::string ErrorPageText(const std::string& file, const std::string& content, const std::string& url,
                          const std::string& def, bool serverHint)
{
    if (!file.empty() && FileExists(file))
        return ErrorPageTextOf(ReadFileRange(file, ErrorPageProbeLength, 0), url, def, serverHint);
    return ErrorPageTextOf(content, url, def, serverHint);
}

void DeletePartFiles(const std::string& destination)
{
    const std::string name = FileNamePart(destination);
    const std::string folder = destination.substr(0, destination.size() - name.size());
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((destination + ".*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsPartFileName(name, found.cFileName)) {
            const std::string path = folder + found.cFileName;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path.c_str());
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}
