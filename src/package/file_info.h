// TGFileInfo: the read-only view of a package file (its trailer and header
// blocks), and the unit-level operations on package files: the PE test,
// TotalLength, the trailer, the whole-file checksum and the space figures.
#pragma once

#include <cstdint>
#include <string>

#include "package/trailer.h"

class InputFile;

// A header block longer than this is read as empty, as is one whose length
// is negative or runs past the end of the file.
constexpr int32_t MaxHeaderBlockLength = 16 * 1024 * 1024;

class TGFileInfo {
public:
    // Reads the trailer and the header blocks; holds no open file after.
    // A missing file gives an empty view.
    explicit TGFileInfo(const std::string& path);

    const PackageTrailer& Trailer() const { return trailer_; }
    const std::string& LanguageBlock() const { return languageBlock_; }
    const std::string& SettingsBlock() const { return settingsBlock_; }
    const std::string& DownloadBlock() const { return downloadBlock_; }

    bool IsAgent() const { return trailer_.isAgent != 0; }
    bool DownloadFirst() const { return trailer_.downloadFirst != 0; }
    bool AskBeforeDownload() const { return trailer_.askBeforeDownload != 0; }
    bool MakeAgentCopy() const { return trailer_.makeAgentCopy != 0; }
    bool ShowTempNotice() const { return (trailer_.flags & FlagShowTempNotice) != 0; }
    bool MoreDisks() const { return (trailer_.flags & FlagMoreDisks) != 0; }
    bool CdRelaunch() const { return (trailer_.flags & FlagCdRelaunch) != 0; }
    bool ShowActivityBar() const { return (trailer_.flags & FlagShowActivityBar) != 0; }
    bool TraceLog() const { return (trailer_.flags & FlagTraceLog) != 0; }

    // The SpaceByCluster figure for the cluster size of folder's drive.
    double SpaceNeeded(const std::string& folder) const;

    // Settings block items.
    std::string InfoUrl() const;
    std::string InfoFileName() const;
    std::string OriginalFileName() const;
    std::string AgentExeName() const;
    std::string SettingsToken(bool descramble) const;
    bool SilentInstall() const;
    // Download block items.
    std::string DownloadUrl() const;
    std::string DownloadFileName() const;
    bool RemoteOnly() const;
    std::string DownloadToken(bool descramble) const;
    std::string DownloadSize() const;

private:
    PackageTrailer trailer_;
    std::string languageBlock_;
    std::string settingsBlock_;
    std::string downloadBlock_;
};

// "MZ" at offset 0 and "PE" at offset 256.
bool IsPeFile(const std::string& path);
bool IsPeFile(InputFile& file);
bool IsPeBytes(const std::string& bytes);

// (u32 at 248) * 2^32 + (u32 at 252); 0 when the file is too short.
int64_t ReadTotalLength(InputFile& file);
int64_t ReadTotalLength(const std::string& bytes);

// The trailer as the stub finds it; a zeroed record when the file cannot
// be opened. HeaderBlockCount 0 reads as 2.
PackageTrailer ReadTrailer(const std::string& path);
PackageTrailer ReadTrailer(InputFile& file);

// The whole-file checksum that the builder stores in Checksum.
uint32_t PackageChecksum(const std::string& path, int64_t trailerLength);
// The checksum verdict: accepted when the values agree or either is
// ChecksumSkip.
bool ChecksumAccepted(uint32_t computed, uint32_t stored);

// Bytes per cluster of the drive that holds path; 0 when unknown.
uint32_t ClusterSize(const std::string& path);
// The SpaceByCluster entry for a cluster size: entry 0 below 512 bytes
// (or unknown), entry i from 256 * 2^i bytes up.
uint32_t SpaceForClusterSize(const PackageTrailer& trailer, uint32_t clusterSize);

// Both views' download tokens, descrambled, are the same bytes.
bool SameDownloadToken(const TGFileInfo& downloaded, const TGFileInfo& own);
