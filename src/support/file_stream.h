// Minimal file access for the package code: shared reading with 64-bit
// sizes and seeks, writing (new or appended), file dates as packed DOS
// date-time values, and the few drive facts the package view needs. Each
// platform has its own implementation; nothing here throws.
#pragma once

#include <cstdint>
#include <string>

// The separator between a folder and a name on this platform.
#ifdef _WIN32
constexpr char PathSeparator = '\\';
#else
constexpr char PathSeparator = '/';
#endif

// A file opened for reading that others may read and write meanwhile.
class InputFile {
public:
    InputFile() = default;
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return handle_ != Closed; }
    // Physical length in bytes; -1 when not open.
    int64_t Size() const;
    // False for an offset outside 0..Size (the position is then unchanged).
    bool Seek(int64_t offset);
    // Bytes read into buffer, up to count; 0 at the end or on an error.
    int Read(void* buffer, int count);

private:
    static constexpr intptr_t Closed = -1;
    intptr_t handle_ = Closed;
};

// A file opened for writing: created (replacing an existing one) or, with
// append, extended at its end (created when missing).
class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool Create(const std::string& path, bool append);
    // True when every byte was written.
    bool Write(const void* data, std::size_t count);
    // Sets the last-write time from a packed DOS date-time in local time
    // through the open handle (no second open per file); true on success.
    bool SetDosDateTime(uint32_t dos);
    // True when the file was open and its data reached the system.
    bool Close();
    bool IsOpen() const { return handle_ != Closed; }

private:
    static constexpr intptr_t Closed = -1;
    intptr_t handle_ = Closed;
};

// True for an existing file (not a folder). In the Windows build these and
// FileSizeByName are the ones of files_win.h, so a program may link both.
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
// Creates the folder with all missing parents; true when it exists after.
bool CreateFolderTree(const std::string& path);
// Length of the named file, 0 when it cannot be opened.
uint64_t FileSizeByName(const std::string& path);
// The file's last-write time as a packed DOS date-time in local time; 0
// when the file cannot be read.
uint32_t FileDosDateTime(const std::string& path);
// Sets the file's last-write time from a packed DOS date-time in local
// time; true on success.
bool SetFileDosDateTime(const std::string& path, uint32_t dos);
// Bytes per cluster of the drive that holds path; 0 when the query fails.
uint32_t DriveClusterSize(const std::string& path);
