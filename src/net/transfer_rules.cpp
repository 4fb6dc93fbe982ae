#include "net/transfer_rules.h"

#include "support/datetime.h"
#include "support/numbers.h"
#include "support/text.h"

namespace {

bool AllDigits(const std::string& text)
{
    if (text.empty())
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// A decimal number of up to 18 digits; false for anything else.
bool ReadDecimal(const std::string& text, int64_t& value)
{
    if (!AllDigits(text) || text.size() > 18)
        return false;
    value = 0;
    for (char c : text)
        value = value * 10 + (c - '0');
    return true;
}

std::string FileNamePartOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

uint32_t LastModifiedStamp(int year, int month, int day, int hour, int minute, int second)
{
    static const int monthDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1980 || year > 2107 || month < 1 || month > 12 || day < 1 || day > monthDays[month - 1] ||
        hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return 0;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (month == 2 && day == 29 && !leap)
        return 0;
    CivilTime t{year, month, day, hour, minute, second, 0};
    return CivilToDosDateTime(t);
}

int32_t PartFileNumber(int64_t contentLength, uint32_t stamp)
{
    const uint32_t sum = static_cast<uint32_t>(contentLength) + stamp;
    return static_cast<int32_t>(sum);
}

std::string PartFilePath(const std::string& destination, int64_t contentLength, uint32_t stamp)
{
    return destination + "." + IntToText(PartFileNumber(contentLength, stamp));
}

bool IsPartFileName(const std::string& destinationName, const std::string& name)
{
    const std::string stem = FileNamePartOf(destinationName);
    const std::string bare = FileNamePartOf(name);
    if (stem.empty() || bare.size() <= stem.size() + 1 || !SameText(bare.substr(0, stem.size()), stem) ||
        bare[stem.size()] != '.')
        return false;
    std::string number = bare.substr(stem.size() + 1);
    if (!number.empty() && number[0] == '-')
        number.erase(0, 1);
    return AllDigits(number);
}

int64_t TransferBlockSize(int64_t size)
{
    return Clamp64(size / 10, 1, MaxTransferBlock);
}

int64_t ProgressRangeHigh(int64_t size, int64_t block)
{
    if (block <= 0)
        block = 1;
    return (size + block / 2) / block + 1;
}

int64_t ProgressPosition(int64_t done, int64_t block)
{
    if (block <= 0)
        block = 1;
    return (done + block / 2) / block;
}

int64_t BytesToBlockEnd(int64_t done, int64_t startDone, int64_t block)
{
    if (block <= 0)
        block = 1;
    const int64_t into = (done - startDone) % block;
    return block - (into < 0 ? into + block : into);
}

bool RangeAnswerAccepted(int status, const std::string& contentRange, int64_t start, int64_t size)
{
    if (status != 206 || start < 0 || size <= start)
        return false;
    const std::string text = Trim(contentRange);
    if (!StartsWith("bytes ", text, true))
        return false;
    const std::string spec = Trim(text.substr(6));
    const std::size_t dash = spec.find('-');
    const std::size_t slash = spec.find('/');
    if (dash == std::string::npos || slash == std::string::npos || slash < dash)
        return false;
    int64_t first = 0;
    int64_t last = 0;
    if (!ReadDecimal(spec.substr(0, dash), first) || !ReadDecimal(spec.substr(dash + 1, slash - dash - 1), last))
        return false;
    const std::string total = spec.substr(slash + 1);
    int64_t whole = 0;
    if (total != "*" && (!ReadDecimal(total, whole) || whole != size))
        return false;
    return first == start && last == size - 1;
}

std::string RangeHeader(int64_t start)
{
    return "Range: bytes=" + IntToText(start) + "-\r\n";
}

std::string IncompleteText(int64_t done, int64_t size)
{
    return "Download incomplete: " + IntToText(done) + " of " + IntToText(size) + " Bytes";
}

std::string TooLargeText(int64_t size)
{
    return "Download too large: " + IntToText(size) + " Bytes (at most " + IntToText(MemoryDownloadLimit) +
           " Bytes can be held in memory)";
}

int64_t NextReadPiece(int64_t piece, int64_t block, uint32_t elapsedMs, bool filled)
{
    if (block <= 0)
        block = 1;
    if (filled && elapsedMs < FastReadMs)
        piece *= 2;
    else if (elapsedMs > SlowReadMs)
        piece /= 2;
    return Clamp64(piece, block, Max64(block, MaxReadPiece));
}
