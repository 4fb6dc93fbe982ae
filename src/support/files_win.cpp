#include "support/files_win.h"

#include <vector>

#include "support/debug_channel_win.h"
#include "support/numbers.h"
#include "support/paths.h"
#include "support/start_program_win.h"
#include "support/system_info_win.h"
#include "support/system_win.h"
#include "support/text.h"

namespace {

using FreeSpaceEx = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);

enum class FreeSpaceMode { Undecided, Extended, Classic };
FreeSpaceMode g_freeSpaceMode = FreeSpaceMode::Undecided;
FreeSpaceEx g_freeSpaceEx = nullptr;

constexpr DWORD IoctlStorageEjectMedia = 0x2D4808;

bool SeekTo(HANDLE file, int64_t offset, DWORD method)
{
    LONG high = static_cast<LONG>(offset >> 32);
    SetLastError(NO_ERROR);
    DWORD low = SetFilePointer(file, static_cast<LONG>(offset & 0xFFFFFFFF), &high, method);
    return !(low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR);
}

void SetDosFileDate(HANDLE file, uint32_t dosDate)
{
    FILETIME local;
    FILETIME utc;
    if (DosDateTimeToFileTime(static_cast<WORD>(dosDate >> 16), static_cast<WORD>(dosDate & 0xFFFF), &local) &&
        LocalFileTimeToFileTime(&local, &utc))
        SetFileTime(file, nullptr, nullptr, &utc);
}

// The folder part of a path, with its trailing separator.
std::string FolderPart(const std::string& path)
{
    return path.substr(0, path.size() - FileNamePart(path).size());
}

// A folder link goes with RemoveDirectory on Windows; a Unix symbolic link
// seen through Wine only with DeleteFile. Neither touches the target.
void RemoveLink(const std::string& link)
{
    if (!RemoveDirectoryA(link.c_str()))
        DeleteFileA(link.c_str());
}

bool IsDotName(const char* name)
{
    return (name[0] == '.' && name[1] == '\0') || (name[0] == '.' && name[1] == '.' && name[2] == '\0');
}

}  // namespace

bool FileExists(const std::string& path)
{
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path)
{
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

uint64_t FileSizeByName(const std::string& path)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(path.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    FindClose(find);
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

uint64_t FileSize64(HANDLE file)
{
    DWORD high = 0;
    SetLastError(NO_ERROR);
    DWORD low = GetFileSize(file, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
        return 0;
    return (static_cast<uint64_t>(high) << 32) | low;
}

std::string ReadFileRange(const std::string& path, uint64_t maximum, int64_t offset)
{
    std::string result;
    if (!FileExists(path))
        return result;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return result;
    const uint64_t size = FileSize64(file);
    if (offset >= 0 && static_cast<uint64_t>(offset) < size) {
        const uint64_t rest = size - static_cast<uint64_t>(offset);
        const uint64_t count = maximum == 0 ? rest : (rest < maximum ? rest : maximum);
        // What cannot be held in memory is not read at all.
        if (count <= result.max_size() && count <= 0x7FFFFFFF && SeekTo(file, offset, FILE_BEGIN)) {
            result.resize(static_cast<std::size_t>(count));
            std::size_t done = 0;
            DWORD n = 0;
            while (done < result.size() &&
                   ReadFile(file, &result[done], static_cast<DWORD>(result.size() - done), &n, nullptr) && n > 0)
                done += n;
            if (done < result.size())
                result.clear();
        }
    }
    CloseHandle(file);
    return result;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes, uint32_t fileDate, bool append)
{
    HANDLE file = append ? CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)
                         : CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool ok = !append || SeekTo(file, 0, FILE_END);
    std::size_t done = 0;
    if (ok) {
        const std::size_t chunk = static_cast<std::size_t>(WriteChunkSize(bytes.size()));
        while (done < bytes.size()) {
            std::size_t want = bytes.size() - done < chunk ? bytes.size() - done : chunk;
            DWORD n = 0;
            if (!WriteFile(file, bytes.data() + done, static_cast<DWORD>(want), &n, nullptr) || n == 0)
                break;
            done += n;
        }
        ok = done == bytes.size();
    }
    if (ok && fileDate != 0)
        SetDosFileDate(file, fileDate);
    CloseHandle(file);
    return ok;
}

bool AppendToFile(const std::string& path, const std::string& bytes, uint32_t fileDate)
{
    return WriteFileBytes(path, bytes, fileDate, true);
}

double DiskFreeSpace(const std::string& path)
{
    if (g_freeSpaceMode == FreeSpaceMode::Undecided) {
        g_freeSpaceEx = reinterpret_cast<FreeSpaceEx>(
            reinterpret_cast<void*>(BindProc("kernel32.dll", "GetDiskFreeSpaceExA")));
        g_freeSpaceMode = g_freeSpaceEx ? FreeSpaceMode::Extended : FreeSpaceMode::Classic;
    }
    auto rootOrNull = [](const std::string& root) { return root.empty() ? nullptr : root.c_str(); };
    if (g_freeSpaceMode == FreeSpaceMode::Extended) {
        ULARGE_INTEGER available;
        ULARGE_INTEGER total;
        ULARGE_INTEGER free;
        std::string root = FreeSpaceRoot(path, false);
        if (!g_freeSpaceEx(rootOrNull(root), &available, &total, &free)) {
            root = FreeSpaceRoot(path, true);
            if (!g_freeSpaceEx(rootOrNull(root), &available, &total, &free))
                return -1;
        }
        return static_cast<double>(available.QuadPart);
    }
    DWORD sectorsPerCluster = 0;
    DWORD bytesPerSector = 0;
    DWORD freeClusters = 0;
    DWORD clusters = 0;
    std::string root = FreeSpaceRoot(path, true);
    if (!GetDiskFreeSpaceA(rootOrNull(root), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters))
        return -1;
    return static_cast<double>(sectorsPerCluster) * bytesPerSector * freeClusters;
}

bool DeleteFilesByMask(const std::string& mask, bool clearAttributes)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(mask.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    const std::string folder = FolderPart(mask);
    std::vector<std::string> files;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            files.push_back(folder + data.cFileName);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    for (const std::string& file : files) {
        if (clearAttributes)
            SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(file.c_str());
    }
    return !files.empty();
}

bool DeleteTree(const std::string& folder, bool clearAttributes)
{
    if (folder.empty())
        return false;
    const std::string path = DropTrailingBackslash(folder);
    const DWORD attributes = GetFileAttributesA(path.c_str());
    const bool existed = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    if (existed && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        // A link to a folder: removing it leaves what it points to alone.
        RemoveLink(path);
        return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES;
    }
    DeleteFilesByMask(path + "\\*.*", clearAttributes);
    std::vector<std::string> folders;
    std::vector<std::string> links;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((path + "\\*.*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || IsDotName(data.cFileName))
                continue;
            std::string sub = path + "\\" + data.cFileName;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
                links.push_back(sub);
            else
                folders.push_back(sub);
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    for (const std::string& link : links)
        RemoveLink(link);
    for (const std::string& sub : folders) {
        DeleteTree(sub, clearAttributes);
        RemoveDirectoryA(sub.c_str());
    }
    if (clearAttributes && existed)
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(path.c_str());
    return existed && GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

std::string SelfRemovalScriptPath()
{
    return TempDir(true) + "_DEL_ME_.BAT";
}

void DeleteMySelf(bool removeFolder)
{
    const std::string script = SelfRemovalScriptPath();
    const std::string exe = ProgramPath();
    const std::string folder = ProgramDir(false);
    // A read-only program file would keep the script's delete loop going
    // for ever.
    SetFileAttributesA(exe.c_str(), FILE_ATTRIBUTE_NORMAL);
    // The program's folder must not be held as this process's current one.
    SetCurrentDirectoryA(TempDir(false).c_str());
    if (WriteFileBytes(script, SelfRemovalScript(exe, folder, script, removeFolder), 0, false))
        StartCommandScript(script, SW_HIDE);
}

bool EjectCD(const std::string& path)
{
    if (path.empty())
        return false;
    const char letter = UpperCase(path.substr(0, 1))[0];
    if (letter < 'A' || letter > 'Z')
        return false;
    const std::string root = std::string(1, letter) + ":\\";
    if (GetDriveTypeA(root.c_str()) != DRIVE_CDROM)
        return false;
    const std::string device = "\\\\.\\" + std::string(1, letter) + ":";
    HANDLE h = CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    DebugLine("EjectCD-2: " + device + " " + IntToText(reinterpret_cast<intptr_t>(h)));
    if (h == INVALID_HANDLE_VALUE) {
        h = CreateFileA(device.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
        DebugLine("EjectCD-3: " + device + " " + IntToText(reinterpret_cast<intptr_t>(h)));
    }
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD returned = 0;
    const bool ok = DeviceIoControl(h, IoctlStorageEjectMedia, nullptr, 0, nullptr, 0, &returned, nullptr) != 0;
    CloseHandle(h);
    return ok;
}
