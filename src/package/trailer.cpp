#include "package/trailer.h"

#include <cstring>

uint32_t GetU32(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

void PutU32(std::string& bytes, std::size_t offset, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

PackageTrailer DecodeTrailer(const unsigned char* bytes, int count)
{
    unsigned char b[TrailerSize];
    std::memset(b, 0, sizeof b);
    if (count > TrailerSize)
        count = TrailerSize;
    if (count > 0)
        std::memcpy(b, bytes, static_cast<std::size_t>(count));
    PackageTrailer t;
    t.reserved0 = b[0];
    t.headerBlockCount = b[1];
    t.reserved2 = static_cast<uint16_t>(b[2] | b[3] << 8);
    t.payloadStart = GetU32(b + 4);
    t.entryCount = GetU32(b + 8);
    t.magic = GetU32(b + 12);
    t.checksum = GetU32(b + 16);
    std::memcpy(t.reserved20, b + 20, 8);
    for (int i = 0; i < SpaceFigureCount; ++i)
        t.spaceByCluster[i] = GetU32(b + 28 + 4 * i);
    t.reserved64 = b[64];
    t.flags = b[65];
    t.downloadFirst = b[66];
    t.askBeforeDownload = b[67];
    t.makeAgentCopy = b[68];
    t.isAgent = b[69];
    t.trailerLength = static_cast<int32_t>(GetU32(b + 70));
    return t;
}

std::string EncodeTrailer(const PackageTrailer& t)
{
    std::string b(TrailerSize, '\0');
    b[0] = static_cast<char>(t.reserved0);
    b[1] = static_cast<char>(t.headerBlockCount);
    b[2] = static_cast<char>(t.reserved2 & 0xFF);
    b[3] = static_cast<char>(t.reserved2 >> 8);
    PutU32(b, 4, t.payloadStart);
    PutU32(b, 8, t.entryCount);
    PutU32(b, 12, t.magic);
    PutU32(b, 16, t.checksum);
    std::memcpy(&b[20], t.reserved20, 8);
    for (int i = 0; i < SpaceFigureCount; ++i)
        PutU32(b, 28 + 4 * static_cast<std::size_t>(i), t.spaceByCluster[i]);
    b[64] = static_cast<char>(t.reserved64);
    b[65] = static_cast<char>(t.flags);
    b[66] = static_cast<char>(t.downloadFirst);
    b[67] = static_cast<char>(t.askBeforeDownload);
    b[68] = static_cast<char>(t.makeAgentCopy);
    b[69] = static_cast<char>(t.isAgent);
    PutU32(b, 70, static_cast<uint32_t>(t.trailerLength));
    return b;
}
