// File access through the Win32 API, with 64-bit sizes and seeks.
#include "support/file_stream.h"

#include <windows.h>

namespace {

HANDLE AsHandle(intptr_t h)
{
    return reinterpret_cast<HANDLE>(h);
}

}  // namespace

InputFile::~InputFile()
{
    Close();
}

bool InputFile::Open(const std::string& path)
{
    Close();
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    handle_ = reinterpret_cast<intptr_t>(h);
    return true;
}

void InputFile::Close()
{
    if (handle_ != Closed)
        CloseHandle(AsHandle(handle_));
    handle_ = Closed;
}

int64_t InputFile::Size() const
{
    LARGE_INTEGER size;
    if (handle_ == Closed || !GetFileSizeEx(AsHandle(handle_), &size))
        return -1;
    return size.QuadPart;
}

bool InputFile::Seek(int64_t offset)
{
    if (handle_ == Closed || offset < 0 || offset > Size())
        return false;
    LARGE_INTEGER to;
    to.QuadPart = offset;
    return SetFilePointerEx(AsHandle(handle_), to, nullptr, FILE_BEGIN) != 0;
}

int InputFile::Read(void* buffer, int count)
{
    if (handle_ == Closed || count <= 0)
        return 0;
    int total = 0;
    char* out = static_cast<char*>(buffer);
    while (total < count) {
        DWORD n = 0;
        if (!ReadFile(AsHandle(handle_), out + total, static_cast<DWORD>(count - total), &n, nullptr) || n == 0)
            break;
        total += static_cast<int>(n);
    }
    return total;
}

OutputFile::~OutputFile()
{
    Close();
}

bool OutputFile::Create(const std::string& path, bool append)
{
    Close();
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, append ? OPEN_ALWAYS : CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    if (append) {
        LARGE_INTEGER zero;
        zero.QuadPart = 0;
        if (!SetFilePointerEx(h, zero, nullptr, FILE_END)) {
            CloseHandle(h);
            return false;
        }
    }
    handle_ = reinterpret_cast<intptr_t>(h);
    return true;
}

bool OutputFile::Write(const void* data, std::size_t count)
{
    if (handle_ == Closed)
        return false;
    const char* in = static_cast<const char*>(data);
    while (count > 0) {
        DWORD piece = count > 0x100000 ? 0x100000 : static_cast<DWORD>(count);
        DWORD n = 0;
        if (!WriteFile(AsHandle(handle_), in, piece, &n, nullptr) || n == 0)
            return false;
        in += n;
        count -= n;
    }
    return true;
}

bool OutputFile::Close()
{
    if (handle_ == Closed)
        return false;
    bool ok = CloseHandle(AsHandle(handle_)) != 0;
    handle_ = Closed;
    return ok;
}

bool CreateFolderTree(const std::string& path)
{
    std::string folder = path;
    while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/'))
        folder.pop_back();
    if (folder.empty())
        return false;
    if (FolderExists(folder))
        return true;
    std::string::size_type slash = folder.find_last_of("\\/");
    if (slash != std::string::npos && slash > 0 && folder[slash - 1] != ':' && folder[slash - 1] != '\\') {
        if (!CreateFolderTree(folder.substr(0, slash)))
            return false;
    }
    if (CreateDirectoryA(folder.c_str(), nullptr))
        return true;
    return FolderExists(folder);
}

uint32_t FileDosDateTime(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (path.empty() || !GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    FILETIME local;
    WORD date = 0, time = 0;
    if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !FileTimeToDosDateTime(&local, &date, &time))
        return 0;
    return (static_cast<uint32_t>(date) << 16) | time;
}

namespace {

bool DosToUtcFileTime(uint32_t dos, FILETIME& utc)
{
    FILETIME local;
    return DosDateTimeToFileTime(static_cast<WORD>(dos >> 16), static_cast<WORD>(dos & 0xFFFF), &local) &&
           LocalFileTimeToFileTime(&local, &utc);
}

}  // namespace

bool OutputFile::SetDosDateTime(uint32_t dos)
{
    FILETIME utc;
    return handle_ != Closed && DosToUtcFileTime(dos, utc) &&
           SetFileTime(AsHandle(handle_), nullptr, nullptr, &utc) != 0;
}

bool SetFileDosDateTime(const std::string& path, uint32_t dos)
{
    FILETIME utc;
    if (!DosToUtcFileTime(dos, utc))
        return false;
    HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    bool ok = SetFileTime(h, nullptr, nullptr, &utc) != 0;
    CloseHandle(h);
    return ok;
}

uint32_t DriveClusterSize(const std::string& path)
{
    // The drive root is the first three characters, as in C:\.
    std::string root = path.substr(0, 3);
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    if (!GetDiskFreeSpaceA(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters))
        return 0;
    return sectorsPerCluster * bytesPerSector;
}
