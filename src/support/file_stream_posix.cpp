// File access on POSIX systems (the native build).
#include "support/file_stream.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/time.h>
#include <unistd.h>

#include "support/datetime.h"

InputFile::~InputFile()
{
    Close();
}

bool InputFile::Open(const std::string& path)
{
    Close();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    handle_ = fd;
    return true;
}

void InputFile::Close()
{
    if (handle_ != Closed)
        ::close(static_cast<int>(handle_));
    handle_ = Closed;
}

int64_t InputFile::Size() const
{
    if (handle_ == Closed)
        return -1;
    struct stat st;
    if (::fstat(static_cast<int>(handle_), &st) != 0)
        return -1;
    return static_cast<int64_t>(st.st_size);
}

bool InputFile::Seek(int64_t offset)
{
    if (handle_ == Closed || offset < 0 || offset > Size())
        return false;
    return ::lseek(static_cast<int>(handle_), static_cast<off_t>(offset), SEEK_SET) == static_cast<off_t>(offset);
}

int InputFile::Read(void* buffer, int count)
{
    if (handle_ == Closed || count <= 0)
        return 0;
    int total = 0;
    char* out = static_cast<char*>(buffer);
    while (total < count) {
        ssize_t n = ::read(static_cast<int>(handle_), out + total, static_cast<size_t>(count - total));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
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
    int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (append ? O_APPEND : O_TRUNC);
    int fd = ::open(path.c_str(), flags, 0644);
    if (fd < 0)
        return false;
    handle_ = fd;
    return true;
}

bool OutputFile::Write(const void* data, std::size_t count)
{
    if (handle_ == Closed)
        return false;
    const char* in = static_cast<const char*>(data);
    while (count > 0) {
        ssize_t n = ::write(static_cast<int>(handle_), in, count);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        in += n;
        count -= static_cast<std::size_t>(n);
    }
    return true;
}

bool OutputFile::Close()
{
    if (handle_ == Closed)
        return false;
    bool ok = ::close(static_cast<int>(handle_)) == 0;
    handle_ = Closed;
    return ok;
}

bool FileExists(const std::string& path)
{
    struct stat st;
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool FolderExists(const std::string& path)
{
    struct stat st;
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CreateFolderTree(const std::string& path)
{
    if (path.empty())
        return false;
    if (FolderExists(path))
        return true;
    std::string::size_type slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0) {
        if (!CreateFolderTree(path.substr(0, slash)))
            return false;
    }
    if (::mkdir(path.c_str(), 0755) == 0)
        return true;
    return errno == EEXIST && FolderExists(path);
}

uint64_t FileSizeByName(const std::string& path)
{
    InputFile file;
    return file.Open(path) ? static_cast<uint64_t>(file.Size()) : 0;
}

uint32_t FileDosDateTime(const std::string& path)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return 0;
    std::time_t t = st.st_mtime;
    struct tm local;
    if (!::localtime_r(&t, &local))
        return 0;
    CivilTime c{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, 0};
    return CivilToDosDateTime(c);
}

namespace {

bool DosToTimes(uint32_t dos, struct timespec times[2])
{
    CivilTime c = DosDateTimeToCivil(dos);
    struct tm local = {};
    local.tm_year = c.year - 1900;
    local.tm_mon = c.month - 1;
    local.tm_mday = c.day;
    local.tm_hour = c.hour;
    local.tm_min = c.minute;
    local.tm_sec = c.second;
    local.tm_isdst = -1;
    std::time_t t = std::mktime(&local);
    if (t == static_cast<std::time_t>(-1))
        return false;
    times[0].tv_sec = t;
    times[0].tv_nsec = 0;
    times[1] = times[0];
    return true;
}

}  // namespace

bool OutputFile::SetDosDateTime(uint32_t dos)
{
    struct timespec times[2];
    return handle_ != Closed && DosToTimes(dos, times) && ::futimens(static_cast<int>(handle_), times) == 0;
}

bool SetFileDosDateTime(const std::string& path, uint32_t dos)
{
    struct timespec times[2];
    return DosToTimes(dos, times) && ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

uint32_t DriveClusterSize(const std::string& path)
{
    // The nearest existing folder on the path answers for its file system.
    std::string probe = path.empty() ? std::string(".") : path;
    struct statvfs vfs;
    while (::statvfs(probe.c_str(), &vfs) != 0) {
        std::string::size_type slash = probe.find_last_of('/');
        if (slash == std::string::npos || probe == "/")
            return 0;
        probe = slash == 0 ? std::string("/") : probe.substr(0, slash);
    }
    unsigned long size = vfs.f_frsize ? vfs.f_frsize : vfs.f_bsize;
    return size > 0xFFFFFFFFul ? 0 : static_cast<uint32_t>(size);
}
