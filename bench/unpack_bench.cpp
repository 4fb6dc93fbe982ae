// Unpacking benchmark: a generated payload is packed with the builder's
// code, then unpacked by UnpackPackage and by a minimal reference loop
// (read, inflate with the same zlib, write) over the same package bytes.
// Prints throughput, the ratio of both and peak memory. It never fails on
// timing; it fails only when a package does not unpack to the bytes packed.
//
//   varnel-bench [--dir DIR] [--rounds N] [--files N] [--mixed-mb MB]
//                [--big-mb MB] [--level L] [--chunk KIB] [--seed S] [--keep]
#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>
#include <zlib.h>

#ifdef _WIN32
#include <windows.h>
#include <psapi.h>
#else
#include <fstream>
#include <sys/resource.h>
#include <unistd.h>
#endif

#include "pack_writer.h"
#include "package/unpack.h"
#include "support/file_stream.h"

namespace fs = std::filesystem;

namespace {

// ---------------------------------------------------------------- options

struct Options {
    std::string dir;
    int rounds = 4;
    int files = 600;
    int64_t mixedBytes = 240ll * 1000 * 1000;
    int64_t bigBytes = 1024ll * 1024 * 1024;
    int level = 9;
    int chunk = 64 * 1024;
    uint64_t seed = 20240607;
    bool keep = false;
};

[[noreturn]] void Usage(int code = 2)
{
    std::fprintf(code ? stderr : stdout,
                 "usage: varnel-bench [--dir DIR] [--rounds N] [--files N] [--mixed-mb MB] [--big-mb MB]\n"
                 "                    [--level L] [--chunk KIB] [--seed S] [--keep]\n"
                 "  --dir      folder for the generated data (default: bench-data beside the program);\n"
                 "             removed at the end unless --keep\n"
                 "  --rounds   measured runs of each loop per payload (default 4), in the order\n"
                 "             reference-unpack, unpack-reference, reference-unpack, ...\n"
                 "  --files    files of the mixed payload (default 600)\n"
                 "  --mixed-mb size of the mixed payload in 10^6 bytes (default 240)\n"
                 "  --big-mb   size of the highly compressible file in MiB (default 1024)\n"
                 "  --level    zlib level of the package (default 9, as the builder's default)\n"
                 "  --chunk    read and inflate piece of the reference loop in KiB (default 64)\n"
                 "  --seed     seed of the generated data (default 20240607)\n"
                 "  --keep     keep the data folder\n");
    std::exit(code);
}

std::string DefaultDir()
{
#ifdef _WIN32
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string exe(path, n);
    return exe.substr(0, exe.find_last_of("\\/") + 1) + "bench-data";
#else
    return VARNEL_BENCH_DEFAULT_DIR;
#endif
}

Options ParseOptions(int argc, char** argv)
{
    Options o;
    o.dir = DefaultDir();
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                Usage();
            return argv[++i];
        };
        auto number = [&]() -> long long {
            const std::string v = value();
            char* end = nullptr;
            long long n = std::strtoll(v.c_str(), &end, 10);
            if (v.empty() || *end || n < 0)
                Usage();
            return n;
        };
        if (a == "--dir")
            o.dir = value();
        else if (a == "--rounds")
            o.rounds = static_cast<int>(std::max(1ll, number()));
        else if (a == "--files")
            o.files = static_cast<int>(std::max(1ll, number()));
        else if (a == "--mixed-mb")
            o.mixedBytes = number() * 1000 * 1000;
        else if (a == "--big-mb")
            o.bigBytes = number() * 1024 * 1024;
        else if (a == "--level")
            o.level = static_cast<int>(std::min(9ll, number()));
        else if (a == "--chunk")
            o.chunk = static_cast<int>(std::max(1ll, std::min(16384ll, number()))) * 1024;
        else if (a == "--seed")
            o.seed = static_cast<uint64_t>(number());
        else if (a == "--keep")
            o.keep = true;
        else if (a == "--help" || a == "-h")
            Usage(0);
        else
            Usage();
    }
    return o;
}

[[noreturn]] void Fail(const std::string& what)
{
    std::fprintf(stderr, "varnel-bench: %s\n", what.c_str());
    std::exit(1);
}

std::string Join(const std::string& folder, const std::string& name)
{
    return folder + PathSeparator + name;
}

// ----------------------------------------------------------------- memory

// Memory figures in bytes; 0 when unknown.
struct Memory {
    uint64_t peak = 0;       // peak resident set / working set
    uint64_t current = 0;
    uint64_t peakCommit = 0; // Windows: peak pagefile (private) usage
};

#ifdef _WIN32
using GetPmiFn = BOOL(WINAPI*)(HANDLE, PPROCESS_MEMORY_COUNTERS, DWORD);

GetPmiFn BindGetProcessMemoryInfo()
{
    // Bound at run time: psapi.dll where it exists, kernel32's K32 entry
    // on newer systems.
    if (HMODULE psapi = LoadLibraryA("psapi.dll")) {
        if (FARPROC f = GetProcAddress(psapi, "GetProcessMemoryInfo"))
            return reinterpret_cast<GetPmiFn>(reinterpret_cast<void*>(f));
    }
    if (HMODULE kernel = GetModuleHandleA("kernel32.dll")) {
        if (FARPROC f = GetProcAddress(kernel, "K32GetProcessMemoryInfo"))
            return reinterpret_cast<GetPmiFn>(reinterpret_cast<void*>(f));
    }
    return nullptr;
}

Memory ReadMemory()
{
    static GetPmiFn get = BindGetProcessMemoryInfo();
    Memory m;
    PROCESS_MEMORY_COUNTERS c = {};
    c.cb = sizeof c;
    if (get && get(GetCurrentProcess(), &c, sizeof c)) {
        m.peak = c.PeakWorkingSetSize;
        m.current = c.WorkingSetSize;
        m.peakCommit = c.PeakPagefileUsage;
    }
    return m;
}

// The peak working set of a process cannot be reset: figures are the
// process's peak so far.
bool ResetPeak()
{
    return false;
}
#else
uint64_t StatusField(const std::string& status, const char* key)
{
    const std::string::size_type at = status.find(key);
    if (at == std::string::npos)
        return 0;
    return std::strtoull(status.c_str() + at + std::strlen(key), nullptr, 10) * 1024;
}

Memory ReadMemory()
{
    Memory m;
    std::ifstream in("/proc/self/status");
    std::string status((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    m.peak = StatusField(status, "VmHWM:");
    m.current = StatusField(status, "VmRSS:");
    if (m.peak == 0) {
        struct rusage u = {};
        if (getrusage(RUSAGE_SELF, &u) == 0)
            m.peak = static_cast<uint64_t>(u.ru_maxrss) * 1024;
    }
    return m;
}

// Linux resets the peak resident set (VmHWM, and with it getrusage's
// ru_maxrss) to the current one when 5 is written to clear_refs.
bool ResetPeak()
{
    std::FILE* f = std::fopen("/proc/self/clear_refs", "w");
    if (!f)
        return false;
    const bool ok = std::fputs("5", f) >= 0;
    return std::fclose(f) == 0 && ok;
}

#endif

double MiB(uint64_t bytes)
{
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

double MB(int64_t bytes)
{
    return static_cast<double>(bytes) / 1e6;
}

double Now()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// ------------------------------------------------------------- generation

// splitmix64: fixed seed, fixed output on every platform.
struct Random {
    uint64_t state;
    explicit Random(uint64_t seed) : state(seed) {}
    uint64_t Next()
    {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double Unit() { return static_cast<double>(Next() >> 11) / 9007199254740992.0; }
};

struct SourceFile {
    std::string name;
    std::string path;
    int64_t size = 0;
    uint32_t crc = 0;
    bool compressible = false;
};

// Text from a vocabulary of 256 made-up words: zlib packs it to roughly a
// third.
class TextMaker {
public:
    explicit TextMaker(Random& random) : random_(random)
    {
        for (int i = 0; i < 256; ++i) {
            const int length = 2 + static_cast<int>(random_.Next() % 9);
            std::string w;
            for (int k = 0; k < length; ++k)
                w.push_back(static_cast<char>('a' + random_.Next() % 26));
            words_.push_back(w);
        }
    }
    void Fill(std::vector<char>& buffer, std::size_t n)
    {
        buffer.clear();
        while (buffer.size() < n) {
            uint64_t bits = random_.Next();
            for (int k = 0; k < 8 && buffer.size() < n; ++k, bits >>= 8) {
                const std::string& w = words_[bits & 0xFF];
                buffer.insert(buffer.end(), w.begin(), w.end());
                buffer.push_back(++column_ % 12 == 0 ? '\n' : ' ');
            }
        }
        buffer.resize(n);
    }

private:
    Random& random_;
    std::vector<std::string> words_;
    unsigned column_ = 0;
};

void WriteAll(std::FILE* f, const std::vector<char>& buffer, std::size_t n, const std::string& path)
{
    if (n && std::fwrite(buffer.data(), 1, n, f) != n)
        Fail("cannot write " + path);
}

SourceFile WriteMixedFile(const std::string& folder, int index, int64_t size, bool compressible, Random& random,
                          TextMaker& text)
{
    SourceFile s;
    char name[32];
    std::snprintf(name, sizeof name, "f%04d.%s", index, compressible ? "txt" : "bin");
    s.name = name;
    s.path = Join(folder, name);
    s.size = size;
    s.compressible = compressible;
    std::FILE* f = std::fopen(s.path.c_str(), "wb");
    if (!f)
        Fail("cannot create " + s.path);
    std::vector<char> buffer;
    uLong crc = crc32(0, nullptr, 0);
    for (int64_t left = size; left > 0;) {
        const std::size_t n = static_cast<std::size_t>(std::min<int64_t>(left, 1 << 20));
        if (compressible) {
            text.Fill(buffer, n);
        } else {
            buffer.resize((n + 7) / 8 * 8);
            for (std::size_t k = 0; k < buffer.size(); k += 8) {
                const uint64_t v = random.Next();
                std::memcpy(&buffer[k], &v, 8);
            }
        }
        crc = crc32(crc, reinterpret_cast<const Bytef*>(buffer.data()), static_cast<uInt>(n));
        WriteAll(f, buffer, n, s.path);
        left -= static_cast<int64_t>(n);
    }
    if (std::fclose(f) != 0)
        Fail("cannot write " + s.path);
    s.crc = static_cast<uint32_t>(crc);
    return s;
}

// At least the asked number of files and bytes; sizes spread evenly on a
// log scale from 1 KiB to 4 MiB, then scaled to the total; about half of
// the bytes compressible text, the rest random.
std::vector<SourceFile> MakeMixed(const std::string& folder, const Options& o, Random& random)
{
    fs::create_directories(folder);
    std::vector<double> raw(static_cast<std::size_t>(o.files));
    double sum = 0;
    for (double& r : raw) {
        r = 1024.0 * std::pow(4096.0, random.Unit());
        sum += r;
    }
    TextMaker text(random);
    std::vector<SourceFile> files;
    int64_t total = 0;
    for (int i = 0; i < o.files; ++i) {
        int64_t size = static_cast<int64_t>(raw[static_cast<std::size_t>(i)] / sum * static_cast<double>(o.mixedBytes));
        if (i == o.files - 1)
            size = std::max<int64_t>(0, o.mixedBytes - total);
        total += size;
        files.push_back(WriteMixedFile(folder, i, size, random.Next() & 1, random, text));
    }
    return files;
}

// A 16 KiB block of text repeated, each copy numbered in its first bytes:
// the repeats lie within zlib's window, so it packs about a hundredfold.
SourceFile MakeBig(const std::string& folder, const Options& o, Random& random)
{
    fs::create_directories(folder);
    SourceFile s;
    s.name = "big.dat";
    s.path = Join(folder, s.name);
    s.size = o.bigBytes;
    s.compressible = true;
    TextMaker text(random);
    std::vector<char> block;
    text.Fill(block, 16384);
    std::vector<char> buffer(1 << 20);
    std::FILE* f = std::fopen(s.path.c_str(), "wb");
    if (!f)
        Fail("cannot create " + s.path);
    uLong crc = crc32(0, nullptr, 0);
    uint64_t copy = 0;
    for (int64_t left = s.size; left > 0;) {
        const std::size_t n = static_cast<std::size_t>(std::min<int64_t>(left, static_cast<int64_t>(buffer.size())));
        for (std::size_t at = 0; at < n; at += block.size()) {
            char number[24];
            std::snprintf(number, sizeof number, "%016" PRIx64, copy++);
            std::memcpy(block.data(), number, 16);
            std::memcpy(&buffer[at], block.data(), std::min(block.size(), n - at));
        }
        crc = crc32(crc, reinterpret_cast<const Bytef*>(buffer.data()), static_cast<uInt>(n));
        WriteAll(f, buffer, n, s.path);
        left -= static_cast<int64_t>(n);
    }
    if (std::fclose(f) != 0)
        Fail("cannot write " + s.path);
    s.crc = static_cast<uint32_t>(crc);
    return s;
}

// ---------------------------------------------------------------- packing

std::string PackageOf(const std::string& dir, const std::string& name, const std::vector<SourceFile>& files, int level)
{
    // A stand-in stub: "MZ" at 0 and "PE" at 256, so TotalLength is kept.
    const std::string stub = Join(dir, "stub.exe");
    {
        std::string bytes(1024, '\0');
        bytes[0] = 'M';
        bytes[1] = 'Z';
        bytes[256] = 'P';
        bytes[257] = 'E';
        std::FILE* f = std::fopen(stub.c_str(), "wb");
        if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || std::fclose(f) != 0)
            Fail("cannot write " + stub);
    }
    PackSpec spec;
    spec.stubPath = stub;
    spec.output = Join(dir, name);
    spec.level = level;
    spec.languageBlock = "\x02\x01" "English\x01s0=Setup\x01\x02";
    spec.settingsBlock = "|http://u|app.info|agent.exe||0|";
    for (const SourceFile& s : files) {
        PackEntry e;
        e.name = s.name;
        e.sourcePath = s.path;
        e.stamp = 0x5A8B6C2Du;
        spec.entries.push_back(e);
    }
    PackOutcome outcome;
    try {
        WritePackage(spec, outcome);
    } catch (const PackError& e) {
        Fail(std::string("packing failed: ") + e.what());
    }
    if (outcome.files.size() != 1)
        Fail("expected one disk file");
    return outcome.files[0];
}

// ------------------------------------------------------------- unpacking

// The records of a package as the reference loop takes them: where the
// data starts, its length, and how many bytes of inner header to drop.
struct Record {
    int64_t data = 0;
    int64_t length = 0;
    bool compressed = false;
    std::size_t skip = 0;
    std::string name;
};

class ListingHost : public UnpackHost {
public:
    std::vector<Record> records;
    std::vector<std::string> faults;
    void EntryRecord(const EntryRecordInfo& info) override
    {
        Record r;
        r.data = info.offset + 4;
        r.length = info.storedLength;
        r.compressed = info.compressed;
        r.skip = info.header.size() + 1;
        r.name = info.name;
        records.push_back(r);
    }
    void PackageFault(const std::string& what) override { faults.push_back(what); }
};

// The bench's host for UnpackPackage: the defaults (no window, no pump),
// with faults kept.
class QuietHost : public UnpackHost {
public:
    std::vector<std::string> faults;
    void PackageFault(const std::string& what) override { faults.push_back(what); }
    void ErrorBox(const std::string& text) override { faults.push_back(text); }
};

std::vector<Record> ListRecords(const std::string& package)
{
    ListingHost host;
    UnpackJob job;
    job.source = package;
    job.destination = "unused";
    job.writeFiles = false;
    UnpackResult result;
    RunUnpack(job, host, result);
    if (!result.checksumOk || !host.faults.empty())
        Fail("the package " + package + " does not read back: " +
             (host.faults.empty() ? std::string("checksum") : host.faults[0]));
    return host.records;
}

// The reference: the platform's plain file calls (the same thin layer the
// unpacker uses: read, write, nothing more), one zlib stream per record;
// no checksum, no names from the data, no dates, no existence tests.
void ReferenceLoop(const std::string& package, const std::vector<Record>& records, const std::string& dest,
                   int chunk)
{
    fs::create_directories(dest);
    std::vector<unsigned char> in(static_cast<std::size_t>(chunk)), out(static_cast<std::size_t>(chunk));
    InputFile source;
    if (!source.Open(package))
        Fail("cannot open " + package);
    for (const Record& r : records) {
        const std::string path = Join(dest, r.name);
        // Opened the way the unpacker opens its files (extended at the end;
        // the folder is empty): under Wine a replacing create makes the
        // writes that follow markedly slower, which would flatter the
        // unpacker.
        OutputFile target;
        if (!target.Create(path, true))
            Fail("cannot create " + path);
        std::size_t skip = r.skip;
        auto emit = [&](const unsigned char* p, std::size_t n) {
            const std::size_t drop = std::min(skip, n);
            skip -= drop;
            if (n > drop && !target.Write(p + drop, n - drop))
                Fail("cannot write " + path);
        };
        if (!source.Seek(r.data))
            Fail("cannot seek in " + package);
        z_stream z = {};
        if (r.compressed && inflateInit(&z) != Z_OK)
            Fail("inflateInit failed");
        int rc = Z_OK;
        for (int64_t left = r.length; left > 0;) {
            const int want = static_cast<int>(std::min<int64_t>(left, chunk));
            const int got = source.Read(in.data(), want);
            if (got <= 0)
                Fail("cannot read " + package);
            left -= got;
            if (!r.compressed) {
                emit(in.data(), static_cast<std::size_t>(got));
                continue;
            }
            z.next_in = in.data();
            z.avail_in = static_cast<uInt>(got);
            do {
                z.next_out = out.data();
                z.avail_out = static_cast<uInt>(out.size());
                rc = inflate(&z, Z_NO_FLUSH);
                if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR)
                    Fail("inflate failed in the reference loop");
                emit(out.data(), out.size() - z.avail_out);
            } while (z.avail_out == 0 && rc != Z_STREAM_END);
        }
        if (r.compressed) {
            if (rc != Z_STREAM_END)
                Fail("compressed record cut short in the reference loop");
            inflateEnd(&z);
        }
        if (!target.Close())
            Fail("cannot write " + path);
    }
}

void EngineLoop(const std::string& package, const std::string& dest)
{
    QuietHost host;
    bool checksumOk = false;
    std::string engineSpec;
    const int failedBefore = FailedWriteCount();
    UnpackPackage(package, dest, "", checksumOk, host, "Please insert disk <DISK_NUM>", "Setup", "OK|Cancel", 0,
                  false, engineSpec);
    if (!checksumOk || !host.faults.empty() || FailedWriteCount() != failedBefore)
        Fail("UnpackPackage failed on " + package + (host.faults.empty() ? std::string() : ": " + host.faults[0]));
}

uint32_t FileCrc(const std::string& path, int64_t& size)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    size = -1;
    if (!f)
        return 0;
    std::vector<unsigned char> buffer(1 << 20);
    uLong crc = crc32(0, nullptr, 0);
    size = 0;
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), f)) > 0) {
        crc = crc32(crc, buffer.data(), static_cast<uInt>(n));
        size += static_cast<int64_t>(n);
    }
    std::fclose(f);
    return static_cast<uint32_t>(crc);
}

void Verify(const std::vector<SourceFile>& files, const std::string& dest, const char* who)
{
    for (const SourceFile& s : files) {
        int64_t size = 0;
        const uint32_t crc = FileCrc(Join(dest, s.name), size);
        if (size != s.size || crc != s.crc)
            Fail(std::string(who) + " wrote " + s.name + " wrong (" + std::to_string(size) + " bytes, want " +
                 std::to_string(s.size) + ")");
    }
}

void RemoveTree(const std::string& path)
{
    std::error_code ec;
    fs::remove_all(path, ec);
    if (ec)
        Fail("cannot remove " + path + ": " + ec.message());
}

// Writes the file's data to the disk now, so that writing it back later
// does not slow down a measured run.
void FlushToDisk(const std::string& path)
{
#ifdef _WIN32
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        FlushFileBuffers(h);
        CloseHandle(h);
    }
#else
    (void)path;
    ::sync();
#endif
}

// ------------------------------------------------------------- measuring

struct Tally {
    double seconds = 0;
    int64_t bytes = 0;
    uint64_t peak = 0;
    uint64_t peakCommit = 0;
    std::vector<double> rates;
};

struct Payload {
    const char* title;
    std::vector<SourceFile> files;
    std::string package;
    int64_t bytes = 0;
    int64_t packageBytes = 0;
    double packSeconds = 0;
};

void PrintMemory(const char* what, const Memory& m, bool perRun)
{
#ifdef _WIN32
    (void)perRun;
    std::printf("%s peak working set %.1f MiB, peak pagefile usage %.1f MiB (process, so far)", what, MiB(m.peak),
                MiB(m.peakCommit));
#else
    std::printf("%s peak RSS %.1f MiB%s", what, MiB(m.peak), perRun ? "" : " (process so far)");
#endif
}

void Measure(const Payload& p, const Options& o, bool verbose)
{
    const std::vector<Record> records = ListRecords(p.package);
    const bool exactPeak = ResetPeak();
    const std::string refDest = Join(o.dir, "out-reference");
    const std::string engDest = Join(o.dir, "out-unpack");
    Tally ref, eng;
    std::printf("%s: %zu files, %.1f MB; package %.1f MB (%zu records, level %d), packed in %.1f s\n", p.title,
                p.files.size(), MB(p.bytes), MB(p.packageBytes), records.size(), o.level, p.packSeconds);
    for (int round = 0; round < o.rounds; ++round) {
        // Alternate the order, so neither loop always finds the cache warmer.
        for (int k = 0; k < 2; ++k) {
            const bool reference = (round % 2 == 0) == (k == 0);
            const std::string& dest = reference ? refDest : engDest;
            Tally& t = reference ? ref : eng;
            RemoveTree(dest);
            ResetPeak();
            const double start = Now();
            if (reference)
                ReferenceLoop(p.package, records, dest, o.chunk);
            else
                EngineLoop(p.package, dest);
            const double seconds = Now() - start;
            const Memory m = ReadMemory();
            t.seconds += seconds;
            t.bytes += p.bytes;
            t.peak = std::max(t.peak, m.peak);
            t.peakCommit = std::max(t.peakCommit, m.peakCommit);
            t.rates.push_back(MB(p.bytes) / seconds);
            if (verbose) {
                std::printf("  round %d %-13s %8.1f MB/s  %6.2f s  ", round + 1,
                            reference ? "reference" : "UnpackPackage", MB(p.bytes) / seconds, seconds);
                PrintMemory("", m, exactPeak);
                std::printf("\n");
            }
            if (round == 0)
                Verify(p.files, dest, reference ? "the reference loop" : "UnpackPackage");
            RemoveTree(dest);
        }
    }
    const double refRate = MB(ref.bytes) / ref.seconds, engRate = MB(eng.bytes) / eng.seconds;
    std::printf("  %s reference     %8.1f MB/s (%.1f..%.1f)  ", p.title, refRate,
                *std::min_element(ref.rates.begin(), ref.rates.end()),
                *std::max_element(ref.rates.begin(), ref.rates.end()));
    PrintMemory("", Memory{ref.peak, 0, ref.peakCommit}, exactPeak);
    std::printf("\n  %s UnpackPackage %8.1f MB/s (%.1f..%.1f)  ", p.title, engRate,
                *std::min_element(eng.rates.begin(), eng.rates.end()),
                *std::max_element(eng.rates.begin(), eng.rates.end()));
    PrintMemory("", Memory{eng.peak, 0, eng.peakCommit}, exactPeak);
    std::printf("\n  %s ratio UnpackPackage/reference %.3f (aim >= 0.9)\n\n", p.title, engRate / refRate);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    const Options o = ParseOptions(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (fs::exists(o.dir) && !fs::is_empty(o.dir))
        Fail("the folder " + o.dir + " is not empty; give an empty or new one with --dir");
    fs::create_directories(o.dir);
#ifdef _WIN32
    const char* platform = "Windows build";
#else
    const char* platform = "native build";
#endif
    std::printf("varnel-bench (%s, zlib %s): data in %s, %d rounds per loop, reference piece %d KiB\n", platform,
                zlibVersion(), o.dir.c_str(), o.rounds, o.chunk / 1024);

    Random random(o.seed);
    Payload mixed{"mixed", {}, {}, 0, 0, 0};
    Payload big{"1 GiB file", {}, {}, 0, 0, 0};
    if (o.bigBytes != 1024ll * 1024 * 1024)
        big.title = "big file";
    {
        double start = Now();
        mixed.files = MakeMixed(Join(o.dir, "mixed"), o, random);
        big.files.push_back(MakeBig(Join(o.dir, "big"), o, random));
        std::printf("generated the payload in %.1f s\n", Now() - start);
    }
    for (Payload* p : {&mixed, &big}) {
        int64_t compressible = 0;
        for (const SourceFile& s : p->files) {
            p->bytes += s.size;
            compressible += s.compressible ? s.size : 0;
        }
        const double start = Now();
        p->package = PackageOf(o.dir, p == &mixed ? "mixed.exe" : "big.exe", p->files, o.level);
        p->packSeconds = Now() - start;
        p->packageBytes = FileSizeByName(p->package);
        if (p == &mixed)
            std::printf("mixed payload: %.1f MB compressible text, %.1f MB random\n", MB(compressible),
                        MB(p->bytes - compressible));
        // The sources are done with (their CRCs are kept); the package goes
        // to the disk before measuring.
        for (const SourceFile& s : p->files)
            std::remove(s.path.c_str());
        FlushToDisk(p->package);
    }
    PrintMemory("before measuring:", ReadMemory(), false);
    std::printf("\n\n");

    Measure(mixed, o, true);
    Measure(big, o, true);

#ifdef _WIN32
    PrintMemory("whole run:", ReadMemory(), false);
    std::printf("\n");
#endif
    if (!o.keep)
        RemoveTree(o.dir);
    return 0;
}
