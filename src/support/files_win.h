// File and folder operations on byte texts, with 64-bit sizes and offsets.
// Failures give empty texts, 0, -1 or false; nothing raises.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "support/file_rules.h"

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

// Size of the first directory entry matching path; 0 when none matches.
uint64_t FileSizeByName(const std::string& path);
uint64_t FileSize64(HANDLE file);

// Up to maximum bytes (0: the rest of the file) from offset on; empty when
// the file is missing, the offset lies outside it or fewer bytes arrive.
std::string ReadFileRange(const std::string& path, uint64_t maximum, int64_t offset);

// Writes all bytes, creating the file anew or, with append, at the end of
// the existing file. A fileDate other than 0 (packed DOS date-time, local
// time) becomes the file's last-write time. True when every byte was
// written.
bool WriteFileBytes(const std::string& path, const std::string& bytes, uint32_t fileDate, bool append);
bool AppendToFile(const std::string& path, const std::string& bytes, uint32_t fileDate);

// Bytes free for the calling user on the drive of path, -1 when unknown.
double DiskFreeSpace(const std::string& path);

// Deletes every file (not folder) matching the wildcard path, with
// clearAttributes each set to normal first. Single failures are skipped;
// true when at least one file matched.
bool DeleteFilesByMask(const std::string& mask, bool clearAttributes);

// Deletes the folder with everything in it. Junctions and symbolic links
// are removed as links, never descended into. True when the folder existed
// and is gone.
bool DeleteTree(const std::string& folder, bool clearAttributes);

// The last act of a run: starts a hidden script that deletes the program
// file once this process has ended, then the program's folder when asked
// and empty, then itself.
void DeleteMySelf(bool removeFolder);
// The script's path.
std::string SelfRemovalScriptPath();

// Ejects the medium of a CD-ROM drive named by the path's first letter;
// false for any other drive.
bool EjectCD(const std::string& path);
