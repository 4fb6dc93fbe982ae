// varnel-pack: builds setup packages from a manifest by appending them to a
// stub, and inspects, checks and unpacks existing packages with the same
// unpacker that the stub runs.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "manifest.h"
#include "pack_writer.h"
#include "package/file_info.h"
#include "package/inform_text.h"
#include "package/token.h"
#include "package/trailer.h"
#include "package/unpack.h"
#include "support/datetime.h"
#include "support/file_stream.h"
#include "support/lists.h"

namespace fs = std::filesystem;

namespace {

const char Usage[] =
    "usage: varnel-pack COMMAND [ARGS]\n"
    "\n"
    "commands:\n"
    "  build MANIFEST [-o OUT] [--stub STUB]\n"
    "        build a setup from a manifest: the stub, the header blocks, the\n"
    "        entries and the trailer; with MaxDiskSize or Layout = cd, several\n"
    "        disk files (see docs/varnel-pack.md for every manifest key)\n"
    "  list FILE          show the trailer, flags, settings, download items,\n"
    "                     entries and disks of a package\n"
    "  verify FILE        check every disk's checksum and every entry;\n"
    "                     exit 0 when sound, 1 when not\n"
    "  extract FILE -d DIR [--agent NAME]\n"
    "                     unpack the package into DIR as the stub does\n"
    "                     (nothing is run)\n"
    "  checksum FILE [--trailer-length L]\n"
    "                     print the package checksum in decimal (L = 74)\n"
    "  inform --token TEXT --body FILE [--scramble] -o OUT\n"
    "                     write an INFORM file for the auto-update agent\n"
    "  help               show this text\n"
    "\n"
    "With SOURCE_DATE_EPOCH set, the same manifest and files give the same\n"
    "bytes. Exit codes: 0 done, 1 failed, 2 bad usage.\n";

int BadUsage(const std::string& message)
{
    std::fprintf(stderr, "varnel-pack: %s\n\n%s", message.c_str(), Usage);
    return 2;
}

std::string ToolDirectory(const char* argv0)
{
#ifdef _WIN32
    char buffer[MAX_PATH + 1];
    DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    if (n > 0 && n < sizeof buffer)
        return fs::path(std::string(buffer, n)).parent_path().string();
#else
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (!ec)
        return self.parent_path().string();
#endif
    return fs::absolute(argv0).parent_path().string();
}

// Collects what the unpacker reports, for the command-line commands.
class ToolHost : public UnpackHost {
public:
    bool quiet = true;
    std::vector<std::string> faults;
    std::vector<std::string> errors;
    std::vector<EntryRecordInfo> records;
    std::vector<std::string> missingDisks;

    bool AskForDisk(const std::string& text, const std::string&, const std::string&, int) override
    {
        missingDisks.push_back(text);
        return false;
    }
    void ErrorBox(const std::string& text) override
    {
        errors.push_back(text);
    }
    void PackageFault(const std::string& what) override
    {
        faults.push_back(what);
    }
    void EntryRecord(const EntryRecordInfo& info) override
    {
        records.push_back(info);
        if (!quiet)
            std::printf("  %s%s\n", info.name.c_str(), info.newFile ? "" : " (continued)");
    }
    std::string LastErrorText() override
    {
        return std::strerror(errno);
    }
    double DiskFreeSpace(const std::string& path) override
    {
        std::error_code ec;
        fs::space_info s = fs::space(fs::path(path).parent_path(), ec);
        return ec ? 0.0 : static_cast<double>(s.available);
    }
};

std::string Plain(const std::string& markup)
{
    std::string t = markup;
    for (const char* tag : {"<P>", "<T>", "<B>", "</B>"}) {
        std::string::size_type at;
        while ((at = t.find(tag)) != std::string::npos)
            t.replace(at, std::strlen(tag), std::strcmp(tag, "<P>") == 0 ? " " : "");
    }
    return t;
}

std::string StampText(uint32_t stamp)
{
    if (stamp == 0)
        return "-";
    CivilTime c = DosDateTimeToCivil(stamp);
    char b[32];
    std::snprintf(b, sizeof b, "%04d-%02d-%02d %02d:%02d:%02d", c.year, c.month, c.day, c.hour, c.minute, c.second);
    return b;
}

// The disk files of a package, by the unpacker's naming rule, as far as
// they exist and each announces another.
std::vector<std::string> DiskFiles(const std::string& first)
{
    std::vector<std::string> disks;
    std::string file = first;
    for (int disk = 1; disk < 10000; ++disk) {
        if (disk > 1)
            file = DiskFileName(first, disk);
        if (!fs::is_regular_file(file)) {
            if (disk > 1)
                disks.push_back(file);  // missing: reported by the caller
            break;
        }
        disks.push_back(file);
        if (!(ReadTrailer(file).flags & FlagMoreDisks))
            break;
    }
    return disks;
}

int CommandBuild(int argc, char** argv)
{
    std::string manifest;
    ManifestOptions options;
    std::string stub;
    for (int i = 2; i < argc; ++i) {
        std::string a = argv[i];
        if ((a == "-o" || a == "--output") && i + 1 < argc)
            options.output = argv[++i];
        else if (a == "--stub" && i + 1 < argc)
            stub = argv[++i];
        else if (!a.empty() && a[0] == '-')
            return BadUsage("build: unknown option " + a);
        else if (manifest.empty())
            manifest = a;
        else
            return BadUsage("build: one manifest only");
    }
    if (manifest.empty())
        return BadUsage("build: no manifest given");
    const std::string beside = (fs::path(ToolDirectory(argv[0])) / "stub.exe").string();
    if (fs::is_regular_file(beside))
        options.defaultStub = beside;
    try {
        PackSpec spec = ReadManifest(manifest, options);
        if (!stub.empty())
            spec.stubPath = stub;
        PackOutcome outcome;
        WritePackage(spec, outcome);
        for (const std::string& w : outcome.warnings)
            std::fprintf(stderr, "varnel-pack: warning: %s\n", w.c_str());
        for (const std::string& f : outcome.files)
            std::printf("%s (%llu bytes)\n", f.c_str(),
                        static_cast<unsigned long long>(fs::file_size(f)));
        std::printf("%zu entries in %lld records on %zu file(s)\n", spec.entries.size(),
                    static_cast<long long>(outcome.recordCount - (spec.hasDownloadBlock ? 3 : 2) *
                                                                     (spec.layout == PackLayout::Cd ? 2 : 1)),
                    outcome.files.size());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "varnel-pack: %s\n", e.what());
        return 1;
    }
}

void PrintTrailer(const std::string& file, const PackageTrailer& t)
{
    std::printf("disk file %s\n", file.c_str());
    std::printf("  size %lld, TotalLength %lld, PE %s\n", static_cast<long long>(fs::file_size(file)),
                [&] {
                    InputFile f;
                    return f.Open(file) ? static_cast<long long>(ReadTotalLength(f)) : 0LL;
                }(),
                IsPeFile(file) ? "yes" : "no");
    std::printf("  magic %s, HeaderBlockCount %u, PayloadStart %u, EntryCount %u, TrailerLength %d\n",
                t.magic == PackageMagic ? "ok" : "WRONG", t.headerBlockCount, t.payloadStart, t.entryCount,
                t.trailerLength);
    const uint32_t sum = PackageChecksum(file, t.trailerLength);
    std::printf("  Checksum %u, computed %u: %s\n", t.checksum, sum,
                ChecksumAccepted(sum, t.checksum) ? "accepted" : "MISMATCH");
    std::printf("  flags:%s%s%s%s%s%s%s%s%s%s\n", t.flags & FlagShowTempNotice ? " ShowTempNotice" : "",
                t.flags & FlagMoreDisks ? " MoreDisks" : "", t.flags & FlagCdRelaunch ? " CdRelaunch" : "",
                t.flags & FlagShowActivityBar ? " ShowActivityBar" : "", t.flags & FlagTraceLog ? " TraceLog" : "",
                t.downloadFirst ? " DownloadFirst" : "", t.askBeforeDownload ? " AskBeforeDownload" : "",
                t.makeAgentCopy ? " MakeAgentCopy" : "", t.isAgent ? " IsAgent" : "",
                (t.flags & 0x1F) || t.downloadFirst || t.askBeforeDownload || t.makeAgentCopy || t.isAgent ? "" : " none");
    std::printf("  SpaceByCluster:");
    for (int i = 0; i < SpaceFigureCount; ++i)
        std::printf(" %u", t.spaceByCluster[i]);
    std::printf("\n");
}

int CommandList(const std::string& file)
{
    if (!fs::is_regular_file(file)) {
        std::fprintf(stderr, "varnel-pack: cannot read %s\n", file.c_str());
        return 1;
    }
    TGFileInfo view(file);
    for (const std::string& disk : DiskFiles(file)) {
        if (fs::is_regular_file(disk))
            PrintTrailer(disk, ReadTrailer(disk));
        else
            std::printf("disk file %s: MISSING\n", disk.c_str());
    }
    std::printf("settings\n  InfoUrl %s\n  InfoFileName %s\n  AgentExeName %s\n  SettingsToken %s\n  SilentInstall %s\n",
                view.InfoUrl().c_str(), view.InfoFileName().c_str(), view.AgentExeName().c_str(),
                view.SettingsToken(false).empty() ? "empty" : "set", view.SilentInstall() ? "yes" : "no");
    if (view.Trailer().headerBlockCount > 2)
        std::printf("download\n  DownloadUrl %s\n  DownloadFileName %s\n  RemoteOnly %s\n  DownloadToken %s\n"
                    "  DownloadSize %s\n",
                    view.DownloadUrl().c_str(), view.DownloadFileName().c_str(), view.RemoteOnly() ? "yes" : "no",
                    view.DownloadToken(false).empty() ? "empty" : "set", view.DownloadSize().c_str());
    const std::string& langs = view.LanguageBlock();
    std::printf("languages:");
    for (int i = 0; i < ListCount(langs); ++i)
        std::printf(" %s", ListItem(ListItem(langs, i, ""), 0, "?").c_str());
    std::printf("\n");
    ToolHost host;
    UnpackJob job;
    job.source = file;
    job.writeFiles = false;
    UnpackResult result;
    RunUnpack(job, host, result);
    std::printf("entries (disk, name, date, stored bytes, content bytes, form)\n");
    for (const EntryRecordInfo& r : host.records)
        std::printf("  %d %s%s %s %lld %lld %s\n", r.disk, r.name.empty() ? "(none)" : r.name.c_str(),
                    r.newFile ? "" : " (continued)", StampText(r.stamp).c_str(),
                    static_cast<long long>(r.storedLength), static_cast<long long>(r.contentLength),
                    r.compressed ? "compressed" : "stored");
    if (!result.engineSpec.empty())
        std::printf("engine: %s\n", result.engineSpec.c_str());
    for (const std::string& f : host.faults)
        std::printf("fault: %s\n", f.c_str());
    return 0;
}

int CommandVerify(const std::string& file)
{
    if (!fs::is_regular_file(file)) {
        std::fprintf(stderr, "varnel-pack: cannot read %s\n", file.c_str());
        return 1;
    }
    bool sound = true;
    for (const std::string& disk : DiskFiles(file)) {
        if (!fs::is_regular_file(disk)) {
            std::printf("%s: missing\n", disk.c_str());
            sound = false;
            continue;
        }
        const PackageTrailer t = ReadTrailer(disk);
        const uint32_t sum = PackageChecksum(disk, t.trailerLength);
        const bool ok = ChecksumAccepted(sum, t.checksum) && t.magic == PackageMagic;
        std::printf("%s: %s\n", disk.c_str(),
                    t.magic != PackageMagic ? "not a package (no trailer magic)"
                    : ok ? (sum == ChecksumSkip || t.checksum == ChecksumSkip ? "checksum not compared" : "checksum ok")
                         : "checksum MISMATCH");
        sound = sound && ok;
    }
    ToolHost host;
    UnpackJob job;
    job.source = file;
    job.writeFiles = false;
    UnpackResult result;
    RunUnpack(job, host, result);
    for (const std::string& f : host.faults)
        std::printf("fault: %s\n", f.c_str());
    if (!result.checksumOk)
        sound = false;
    std::printf("%s: %zu entry records read, %s\n", file.c_str(), host.records.size(),
                sound ? "sound" : "NOT sound");
    return sound ? 0 : 1;
}

int CommandExtract(int argc, char** argv)
{
    std::string file, dir, agent;
    bool agentGiven = false;
    for (int i = 2; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "-d" && i + 1 < argc)
            dir = argv[++i];
        else if (a == "--agent" && i + 1 < argc) {
            agent = argv[++i];
            agentGiven = true;
        } else if (!a.empty() && a[0] == '-')
            return BadUsage("extract: unknown option " + a);
        else if (file.empty())
            file = a;
        else
            return BadUsage("extract: one package only");
    }
    if (file.empty() || dir.empty())
        return BadUsage("extract: give FILE and -d DIR");
    if (!fs::is_regular_file(file)) {
        std::fprintf(stderr, "varnel-pack: cannot read %s\n", file.c_str());
        return 1;
    }
    TGFileInfo view(file);
    if (!agentGiven && view.MakeAgentCopy())
        agent = view.AgentExeName();
    ToolHost host;
    host.quiet = false;
    UnpackJob job;
    job.source = file;
    job.destination = dir;
    job.agentName = agent;
    job.diskPrompt = "disk <DISK_NUM> is missing";
    UnpackResult result;
    RunUnpack(job, host, result);
    for (const std::string& e : host.errors)
        std::fprintf(stderr, "varnel-pack: %s\n", Plain(e).c_str());
    for (const std::string& f : host.faults)
        std::fprintf(stderr, "varnel-pack: %s\n", f.c_str());
    for (const std::string& m : host.missingDisks)
        std::fprintf(stderr, "varnel-pack: %s\n", m.c_str());
    if (!result.checksumOk || result.cancelled || !host.errors.empty()) {
        std::fprintf(stderr, "varnel-pack: %s was not unpacked completely\n", file.c_str());
        return 1;
    }
    if (!result.engineSpec.empty())
        std::printf("engine: %s\n", result.engineSpec.c_str());
    return 0;
}

int CommandChecksum(int argc, char** argv)
{
    std::string file;
    long long length = TrailerSize;
    for (int i = 2; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--trailer-length" && i + 1 < argc) {
            char* end = nullptr;
            length = std::strtoll(argv[++i], &end, 10);
            if (!end || *end)
                return BadUsage("checksum: --trailer-length needs a number");
        } else if (!a.empty() && a[0] == '-')
            return BadUsage("checksum: unknown option " + a);
        else if (file.empty())
            file = a;
        else
            return BadUsage("checksum: one file only");
    }
    if (file.empty())
        return BadUsage("checksum: no file given");
    if (!fs::is_regular_file(file)) {
        std::fprintf(stderr, "varnel-pack: cannot read %s\n", file.c_str());
        return 1;
    }
    std::printf("%u\n", PackageChecksum(file, length));
    return 0;
}

bool WriteWhole(const std::string& path, const std::string& bytes, std::string& error)
{
    const std::string temp = path + ".tmp-varnel-pack";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            error = "cannot write " + temp;
            std::error_code ec;
            fs::remove(temp, ec);
            return false;
        }
    }
    std::error_code ec;
    fs::rename(temp, path, ec);
    if (ec) {
        fs::remove(path, ec);
        fs::rename(temp, path, ec);
    }
    if (ec) {
        error = "cannot write " + path + ": " + ec.message();
        fs::remove(temp, ec);
        return false;
    }
    return true;
}

int CommandInform(int argc, char** argv)
{
    std::string token, bodyFile, out;
    bool tokenGiven = false, scramble = false;
    for (int i = 2; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--token" && i + 1 < argc) {
            token = argv[++i];
            tokenGiven = true;
        } else if (a == "--body" && i + 1 < argc)
            bodyFile = argv[++i];
        else if (a == "-o" && i + 1 < argc)
            out = argv[++i];
        else if (a == "--scramble")
            scramble = true;
        else
            return BadUsage("inform: unknown argument " + a);
    }
    if (!tokenGiven || bodyFile.empty() || out.empty())
        return BadUsage("inform: give --token TEXT, --body FILE and -o OUT");
    if (token.size() > 240) {
        std::fprintf(stderr, "varnel-pack: the token is longer than 240 bytes\n");
        return 1;
    }
    std::ifstream in(bodyFile, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "varnel-pack: cannot read %s\n", bodyFile.c_str());
        return 1;
    }
    std::ostringstream body;
    body << in.rdbuf();
    long long epoch = 0;
    uint64_t seed;
    if (ReproducibleEpoch(epoch)) {
        seed = 0x1F0A2u ^ static_cast<uint64_t>(epoch) * 0x9E3779B97F4A7C15ull;
        for (unsigned char c : token)
            seed = (seed ^ c) * 0x100000001B3ull;
    } else {
        std::random_device device;
        seed = (static_cast<uint64_t>(device()) << 32) ^ device();
    }
    std::string text = BuildInformText(ScrambleToken(token, seed), body.str());
    if (scramble)
        text = ScrambleTextWithKey(text, 33 + static_cast<int>(SeededRandom(seed ^ 0x5A5A).Below(90)));
    std::string error;
    if (!WriteWhole(out, text, error)) {
        std::fprintf(stderr, "varnel-pack: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fputs(Usage, stderr);
        return 2;
    }
    const std::string command = argv[1];
    if (command == "help" || command == "--help" || command == "-h") {
        std::fputs(Usage, stdout);
        return 0;
    }
    if (command == "build")
        return CommandBuild(argc, argv);
    if (command == "extract")
        return CommandExtract(argc, argv);
    if (command == "checksum")
        return CommandChecksum(argc, argv);
    if (command == "inform")
        return CommandInform(argc, argv);
    if (command == "list" || command == "verify") {
        if (argc != 3)
            return BadUsage(command + ": give one FILE");
        return command == "list" ? CommandList(argv[2]) : CommandVerify(argv[2]);
    }
    return BadUsage("unknown command " + command);
}
