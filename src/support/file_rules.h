// Path and file rules of the file operations that need no system call:
// name parts, the root handed to the free-space query, the write chunking
// of large files and the text of the self-removal script.
#pragma once

#include <cstdint>
#include <string>

// The part after the last "\" or ":" (a "\" that ends a double-byte
// character does not count).
std::string FileNamePart(const std::string& path);

// The file-name part without its last extension; with allExtensions,
// without everything from its first "." on.
std::string BaseNameNoExt(const std::string& path, bool allExtensions);

// The path with the extension of its file-name part replaced by ext
// (which brings its own "."), or ext appended when there is none.
std::string ChangeFileExtension(const std::string& path, const std::string& ext);

// What the free-space query is asked about: "/" read as "\"; with
// driveOnly or for a path shorter than 3 characters the drive root
// ("D:\"); otherwise the path cut before the first "\" at position 4 or
// later (C:\Temp\Setup gives C:\Temp). An empty path stays empty, which
// the system reads as the current drive.
std::string FreeSpaceRoot(const std::string& path, bool driveOnly);

// Files larger than this are written in pieces.
constexpr uint64_t WriteChunkLimit = 1048576;

// Bytes per write call for a file of this length: all at once up to
// WriteChunkLimit, otherwise min(length / 10, WriteChunkLimit).
uint64_t WriteChunkSize(uint64_t length);

// The self-removal script: it deletes exe until that succeeds (until the
// process that runs it has ended), removes folder when asked (the system
// removes only an empty folder) and deletes itself. Paths go in double
// quotes; every line ends in CR LF.
std::string SelfRemovalScript(const std::string& exe, const std::string& folder, const std::string& script,
                              bool removeFolder);
