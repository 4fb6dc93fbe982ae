// Rules of an HTTP transfer that need no system: the part file's name, the
// block size and progress figures, the check of a ranged answer, the texts
// of a short or oversized transfer, and which files are part files.
#pragma once

#include <cstdint>
#include <string>

// Reads of the transfer are accounted in blocks of at most this many bytes:
// one progress step per block.
constexpr int64_t MaxTransferBlock = 10240;
// A download into memory stops with an error beyond this size.
constexpr int64_t MemoryDownloadLimit = 16 * 1024 * 1024;

// A server's Last-Modified date (GMT, as the server sends it) as a packed
// DOS date-time; 0 for a date that is not valid or that the format cannot
// hold (before 1980 or after 2107).
uint32_t LastModifiedStamp(int year, int month, int day, int hour, int minute, int second);

// The part file's number: content length + stamp in signed 32-bit
// arithmetic that wraps, so it may be negative.
int32_t PartFileNumber(int64_t contentLength, uint32_t stamp);
// destination + "." + the number.
std::string PartFilePath(const std::string& destination, int64_t contentLength, uint32_t stamp);

// True when name (a bare file name) is a part file of a destination whose
// bare file name is destinationName: destinationName + "." + an optional
// "-" and decimal digits, compared ignoring case. "App.exe" or
// "App.original" are not part files of "App".
bool IsPartFileName(const std::string& destinationName, const std::string& name);

// min(size div 10, 10240) bytes, and at least 1 byte (a file of fewer
// than 10 bytes is one block per byte).
int64_t TransferBlockSize(int64_t size);
// The progress start's range high: size / block to the nearest integer,
// plus 1; and the position of bytes already present.
int64_t ProgressRangeHigh(int64_t size, int64_t block);
int64_t ProgressPosition(int64_t done, int64_t block);

// Bytes that may be taken from a piece before the next progress step is
// due: up to the next block boundary counted from the transfer's start.
int64_t BytesToBlockEnd(int64_t done, int64_t startDone, int64_t block);

// A resumed transfer's answer to "Range: bytes=start-" is usable only with
// status 206 and a Content-Range of "bytes start-(size-1)/size" (the
// total may be "*"); anything else means the part file starts anew.
bool RangeAnswerAccepted(int status, const std::string& contentRange, int64_t start, int64_t size);
// The request header that asks for the rest from start on.
std::string RangeHeader(int64_t start);

// "Download incomplete: N of M Bytes".
std::string IncompleteText(int64_t done, int64_t size);
// The text of a download into memory beyond MemoryDownloadLimit.
std::string TooLargeText(int64_t size);

// Reads go in pieces: while data flows fast, the piece grows to at most
// MaxReadPiece, so the per-call cost stays small; on a slow line it shrinks
// back to one block, so the window is serviced at least once a block's
// time. elapsedMs is the last read's time, filled whether it brought all.
constexpr int64_t MaxReadPiece = 1024 * 1024;
constexpr uint32_t FastReadMs = 50;
constexpr uint32_t SlowReadMs = 200;
int64_t NextReadPiece(int64_t piece, int64_t block, uint32_t elapsedMs, bool filled);
