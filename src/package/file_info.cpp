#include "package/file_info.h"

#include <cstring>

#include "package/token.h"
#include "support/file_rules.h"
#include "support/file_stream.h"
#include "support/lists.h"
#include "support/text.h"

namespace {

// Reads a little-endian 32-bit value at the current position; value keeps
// its old contents when fewer than 4 bytes arrive.
void ReadI32(InputFile& file, int32_t& value)
{
    unsigned char b[4];
    if (file.Read(b, 4) == 4)
        value = static_cast<int32_t>(GetU32(b));
}

bool BytesAt(InputFile& file, int64_t offset, const char* expect, int count)
{
    char b[4];
    return file.Seek(offset) && file.Read(b, count) == count && std::memcmp(b, expect, static_cast<size_t>(count)) == 0;
}

// One header block: its i32 length and its bytes. A length that is
// negative, above the cap or past the end gives an empty block; false then
// means that the blocks after it cannot be found.
bool ReadHeaderBlock(InputFile& file, int64_t& offset, int64_t size, std::string& block)
{
    block.clear();
    if (offset + 4 > size || !file.Seek(offset))
        return false;
    int32_t n = 0;
    ReadI32(file, n);
    offset += 4;
    if (n <= 0)
        return true;
    if (n > MaxHeaderBlockLength || offset + n > size)
        return false;
    block.resize(static_cast<std::size_t>(n));
    if (file.Read(&block[0], n) != n) {
        block.clear();
        return false;
    }
    offset += n;
    return true;
}

}  // namespace

bool IsPeFile(InputFile& file)
{
    return BytesAt(file, 0, "MZ", 2) && BytesAt(file, PeHeaderOffset, "PE", 2);
}

bool IsPeFile(const std::string& path)
{
    InputFile file;
    return file.Open(path) && IsPeFile(file);
}

bool IsPeBytes(const std::string& bytes)
{
    return bytes.size() >= PeHeaderOffset + 2 && bytes.compare(0, 2, "MZ") == 0 &&
           bytes.compare(PeHeaderOffset, 2, "PE") == 0;
}

int64_t ReadTotalLength(InputFile& file)
{
    unsigned char b[8];
    if (!file.Seek(TotalLengthHighOffset) || file.Read(b, 8) != 8)
        return 0;
    return static_cast<int64_t>(static_cast<uint64_t>(GetU32(b)) << 32 | GetU32(b + 4));
}

int64_t ReadTotalLength(const std::string& bytes)
{
    if (bytes.size() < TotalLengthLowOffset + 4)
        return 0;
    const unsigned char* b = reinterpret_cast<const unsigned char*>(bytes.data());
    return static_cast<int64_t>(static_cast<uint64_t>(GetU32(b + TotalLengthHighOffset)) << 32 |
                                GetU32(b + TotalLengthLowOffset));
}

PackageTrailer ReadTrailer(InputFile& file)
{
    // A seek outside the file leaves the reads after it empty, so the
    // record then keeps whatever was read over its zeroed start.
    const int64_t size = file.Size();
    const bool pe = IsPeFile(file);
    int32_t length = 0;
    if (file.Seek(size - 4))
        ReadI32(file, length);
    bool at = file.Seek(size - length);
    if (pe) {
        int64_t total = ReadTotalLength(file);
        if (total > 0) {
            if (file.Seek(total - 4))
                ReadI32(file, length);
            at = file.Seek(total - length);
        } else {
            at = file.Seek(size - length);
        }
    }
    if (length > TrailerSize)
        length = TrailerSize;
    unsigned char b[TrailerSize];
    int got = 0;
    if (at && length >= 4)
        got = file.Read(b, length - 4);
    PackageTrailer t = DecodeTrailer(b, got);
    t.trailerLength = length;
    if (t.headerBlockCount == 0)
        t.headerBlockCount = 2;
    return t;
}

PackageTrailer ReadTrailer(const std::string& path)
{
    InputFile file;
    if (!file.Open(path)) {
        PackageTrailer t;
        t.headerBlockCount = 2;
        return t;
    }
    return ReadTrailer(file);
}

uint32_t PackageChecksum(const std::string& path, int64_t trailerLength)
{
    InputFile file;
    if (!file.Open(path))
        return 0;
    const int64_t size = file.Size();
    if (size > ChecksumSizeLimit)
        return ChecksumSkip;
    uint32_t t = 0;
    if (IsPeFile(file)) {
        unsigned char b[4];
        if (file.Seek(TotalLengthLowOffset) && file.Read(b, 4) == 4)
            t = GetU32(b);
    }
    int64_t remaining = (t > 0 ? static_cast<int64_t>(t) : size) - trailerLength;
    int64_t start = 0;
    if (t > 0) {
        remaining -= 512;
        start = 512;
    }
    if (!file.Seek(start))
        return 0;
    uint32_t sum = 0;
    unsigned char block[4096];
    int got;
    do {
        got = file.Read(block, sizeof block);
        for (int i = 0; i + 4 <= got; i += 4) {
            remaining -= 4;
            if (remaining > 4)
                sum += GetU32(block + i);
        }
        if (remaining > 4)
            sum += ChecksumSkip;
    } while (got == static_cast<int>(sizeof block));
    return sum;
}

bool ChecksumAccepted(uint32_t computed, uint32_t stored)
{
    return computed == stored || computed == ChecksumSkip || stored == ChecksumSkip;
}

uint32_t ClusterSize(const std::string& path)
{
    return DriveClusterSize(path);
}

uint32_t SpaceForClusterSize(const PackageTrailer& trailer, uint32_t clusterSize)
{
    uint32_t figure = trailer.spaceByCluster[0];
    for (int i = 1; i < SpaceFigureCount; ++i) {
        if (clusterSize >= (256u << i))
            figure = trailer.spaceByCluster[i];
    }
    return figure;
}

TGFileInfo::TGFileInfo(const std::string& path)
{
    InputFile file;
    if (!FileExists(path) || !file.Open(path))
        return;
    trailer_ = ReadTrailer(file);
    if (trailer_.magic != PackageMagic)
        return;
    const int64_t size = file.Size();
    int64_t offset = trailer_.payloadStart;
    if (!ReadHeaderBlock(file, offset, size, languageBlock_))
        return;
    if (!ReadHeaderBlock(file, offset, size, settingsBlock_))
        return;
    if (trailer_.headerBlockCount > 2)
        ReadHeaderBlock(file, offset, size, downloadBlock_);
}

double TGFileInfo::SpaceNeeded(const std::string& folder) const
{
    return static_cast<double>(SpaceForClusterSize(trailer_, ClusterSize(folder)));
}

std::string TGFileInfo::InfoUrl() const
{
    return ListItem(settingsBlock_, 0, "");
}

std::string TGFileInfo::InfoFileName() const
{
    return FileNamePart(ListItem(settingsBlock_, 1, ""));
}

std::string TGFileInfo::OriginalFileName() const
{
    std::string name = InfoFileName();
    return TextBefore(name, ".", name) + ".original";
}

std::string TGFileInfo::AgentExeName() const
{
    return ListItem(settingsBlock_, 2, "");
}

std::string TGFileInfo::SettingsToken(bool descramble) const
{
    std::string stored = ListItem(settingsBlock_, 3, "");
    return descramble ? DescrambleToken(stored) : stored;
}

bool TGFileInfo::SilentInstall() const
{
    return ListItem(settingsBlock_, 4, "") == "1";
}

std::string TGFileInfo::DownloadUrl() const
{
    return ListItem(downloadBlock_, 0, "");
}

std::string TGFileInfo::DownloadFileName() const
{
    return ListItem(downloadBlock_, 1, "");
}

bool TGFileInfo::RemoteOnly() const
{
    return ListItem(downloadBlock_, 2, "") == "1";
}

std::string TGFileInfo::DownloadToken(bool descramble) const
{
    std::string stored = ListItem(downloadBlock_, 3, "");
    return descramble ? DescrambleToken(stored) : stored;
}

std::string TGFileInfo::DownloadSize() const
{
    return ListItem(downloadBlock_, 4, "");
}

bool SameDownloadToken(const TGFileInfo& downloaded, const TGFileInfo& own)
{
    return downloaded.DownloadToken(true) == own.DownloadToken(true);
}
