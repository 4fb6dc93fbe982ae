// libFuzzer target: arbitrary bytes as a package file, read by the package
// view and unpacked. No crash, no leak, and nothing written outside the
// destination folder.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <zlib.h>

#include "package/file_info.h"
#include "package/trailer.h"
#include "package/unpack.h"

namespace fs = std::filesystem;

namespace {

fs::path root;

void Write(const fs::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string I32(int32_t v)
{
    std::string b(4, '\0');
    PutU32(b, 0, static_cast<uint32_t>(v));
    return b;
}

// A small sound package: PE stub, three header blocks, a compressed and a
// stored entry, checksum skipped so that mutations reach the records.
std::string SeedPackage()
{
    std::string image(600, '\0');
    image[0] = 'M';
    image[1] = 'Z';
    image[256] = 'P';
    image[257] = 'E';
    std::string bytes = image;
    for (std::string block : {std::string("\x02\x01" "English\x01s0=Setup\x01\x02"), std::string("|u|a.info|agent.exe||0|"),
                              std::string("|d|f.exe|0||12|")})
        bytes += I32(static_cast<int32_t>(block.size())) + block;
    std::string body = std::string("|Engine.exe* /q|1021410572|") + '\0' + std::string(3000, 'e');
    uLongf n = compressBound(static_cast<uLong>(body.size()));
    std::string z(n, '\0');
    compress2(reinterpret_cast<Bytef*>(&z[0]), &n, reinterpret_cast<const Bytef*>(body.data()),
              static_cast<uLong>(body.size()), 9);
    z.resize(n);
    bytes += I32(static_cast<int32_t>(z.size())) + z;
    std::string stored = std::string("|b.txt|0|") + '\0' + "stored";
    bytes += I32(-static_cast<int32_t>(stored.size())) + stored;
    PackageTrailer t;
    t.headerBlockCount = 3;
    t.payloadStart = 600;
    t.entryCount = 2;
    t.magic = PackageMagic;
    t.checksum = ChecksumSkip;
    t.makeAgentCopy = 1;
    t.trailerLength = TrailerSize;
    bytes += EncodeTrailer(t);
    PutU32(bytes, TotalLengthLowOffset, static_cast<uint32_t>(bytes.size()));
    return bytes;
}

void CheckNothingOutside(const fs::path& dir)
{
    for (const auto& e : fs::directory_iterator(dir)) {
        const std::string name = e.path().filename().string();
        if (name != "setup.exe" && name != "out") {
            std::fprintf(stderr, "written outside the destination: %s\n", e.path().c_str());
            std::abort();
        }
    }
    if (fs::exists(dir / "out")) {
        for (const auto& e : fs::recursive_directory_iterator(dir / "out")) {
            if (e.path().parent_path() != dir / "out") {
                std::fprintf(stderr, "written below the destination: %s\n", e.path().c_str());
                std::abort();
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    root = fs::temp_directory_path() / ("varnel-fuzz-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root);
    if (const char* seeds = std::getenv("VARNEL_FUZZ_SEEDS")) {
        fs::create_directories(seeds);
        Write(fs::path(seeds) / "seed-package", SeedPackage());
    }
    std::atexit([] {
        std::error_code ec;
        fs::remove_all(root, ec);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const fs::path dir = root / "case";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path file = dir / "setup.exe";
    Write(file, std::string(reinterpret_cast<const char*>(data), size));

    TGFileInfo view(file.string());
    (void)view.SettingsToken(true);
    (void)view.DownloadToken(true);
    (void)view.OriginalFileName();
    (void)PackageChecksum(file.string(), view.Trailer().trailerLength);

    UnpackHost host;  // answers Cancel to every disk prompt
    UnpackJob job;
    job.source = file.string();
    job.destination = (dir / "out").string();
    job.agentName = view.AgentExeName();
    job.diskPrompt = "disk <DISK_NUM>";
    UnpackResult result;
    RunUnpack(job, host, result);
    CheckNothingOutside(dir);
    fs::remove_all(dir);
    return 0;
}
