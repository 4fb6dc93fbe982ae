// Writes a package: the stub image, the header blocks, the entries and the
// trailer of every disk file, through temporary files that are renamed
// only when every disk file is complete.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

struct PackError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct PackEntry {
    std::string name;        // file name in the package (no "*")
    std::string sourcePath;  // file whose bytes it carries
    uint32_t stamp = 0;      // packed DOS date-time
    bool engine = false;     // written as name "*" arguments
    std::string arguments;
};

enum class PackLayout { Single, Span, Cd };

struct PackSpec {
    std::string stubPath;
    std::string output;
    int level = 9;                 // zlib level; 0 stores every entry
    int64_t maxDiskSize = 0;       // 0: no limit (one disk file)
    PackLayout layout = PackLayout::Single;
    uint8_t flags = 0;             // ShowTempNotice, ShowActivityBar, TraceLog
    uint8_t downloadFirst = 0;
    uint8_t askBeforeDownload = 0;
    uint8_t makeAgentCopy = 0;
    uint8_t isAgent = 0;
    bool skipChecksum = false;     // store ChecksumSkip instead of the sum
    std::string languageBlock;
    std::string settingsBlock;
    bool hasDownloadBlock = false;
    std::string downloadBlock;
    std::vector<PackEntry> entries;
};

struct PackOutcome {
    std::vector<std::string> files;     // disk files written, in order
    std::vector<std::string> warnings;
    int64_t recordCount = 0;
};

// Throws PackError with a message for the user; nothing is left behind
// then (no output file is replaced, no temporary file stays).
void WritePackage(const PackSpec& spec, PackOutcome& outcome);

// The SpaceByCluster figure for one cluster size: the sizes rounded up to
// whole clusters, held to 32 bits.
uint32_t ClusterRoundedTotal(const std::vector<int64_t>& sizes, uint32_t cluster);
