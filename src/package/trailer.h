// The fixed 74-byte record at the end of every package file, and the other
// constants of the package layout. All integers are little-endian.
#pragma once

#include <cstdint>
#include <string>

constexpr int TrailerSize = 74;
constexpr uint32_t PackageMagic = 0x4A3B2C1D;
// A stored or computed checksum of this value is never compared.
constexpr uint32_t ChecksumSkip = 1234;
// Files above this size are not summed; their checksum is ChecksumSkip.
constexpr int64_t ChecksumSizeLimit = 52428800;
// TotalLength is stored in the stub's DOS header area: high word, low word.
constexpr int TotalLengthHighOffset = 248;
constexpr int TotalLengthLowOffset = 252;
constexpr int PeHeaderOffset = 256;
constexpr int SpaceFigureCount = 9;

// Bits of PackageTrailer::flags.
constexpr uint8_t FlagShowTempNotice = 0x01;
constexpr uint8_t FlagMoreDisks = 0x02;
constexpr uint8_t FlagCdRelaunch = 0x04;
constexpr uint8_t FlagShowActivityBar = 0x08;
constexpr uint8_t FlagTraceLog = 0x10;

struct PackageTrailer {
    uint8_t reserved0 = 0;
    uint8_t headerBlockCount = 0;
    uint16_t reserved2 = 0;
    uint32_t payloadStart = 0;
    uint32_t entryCount = 0;
    uint32_t magic = 0;
    uint32_t checksum = 0;
    uint8_t reserved20[8] = {};
    uint32_t spaceByCluster[SpaceFigureCount] = {};
    uint8_t reserved64 = 0;
    uint8_t flags = 0;
    uint8_t downloadFirst = 0;
    uint8_t askBeforeDownload = 0;
    uint8_t makeAgentCopy = 0;
    uint8_t isAgent = 0;
    int32_t trailerLength = 0;
};

// The record from its stored bytes; count bytes are taken (at most 74) and
// the rest stays zero.
PackageTrailer DecodeTrailer(const unsigned char* bytes, int count);
// The 74 stored bytes.
std::string EncodeTrailer(const PackageTrailer& trailer);

uint32_t GetU32(const unsigned char* p);
void PutU32(std::string& bytes, std::size_t offset, uint32_t value);
