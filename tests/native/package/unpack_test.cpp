// Round trips builder -> view -> unpacker, the disk-file rules, the agent
// copy, and damaged or hostile packages.
#include <gtest/gtest.h>

#include <random>

#include "pack_writer.h"
#include "package/entry_name.h"
#include "package/file_info.h"
#include "package/unpack.h"
#include "package_fixture.h"
#include "support/file_stream.h"

using namespace fixture;

namespace {

std::string RandomBytes(std::size_t n, unsigned seed)
{
    std::mt19937 g(seed);
    std::string s(n, '\0');
    for (char& c : s)
        c = static_cast<char>(g());
    return s;
}

std::string Compressible(std::size_t n)
{
    std::string s;
    while (s.size() < n)
        s += "line " + std::to_string(s.size() % 977) + " of a text that repeats\n";
    s.resize(n);
    return s;
}

struct Built {
    PackSpec spec;
    PackOutcome outcome;
};

// A package of the given files (name, content) with a PE stub.
Built Build(const Scratch& s, const std::vector<std::pair<std::string, std::string>>& files,
            void (*adjust)(PackSpec&) = nullptr)
{
    Built b;
    WriteFile(s.Path("stub.exe"), FakeStub(4096, true));
    b.spec.stubPath = s.Path("stub.exe");
    b.spec.output = s.Path("setup.exe");
    b.spec.languageBlock = "\x02\x01" "English\x01s0=Setup\x01\x02";
    b.spec.settingsBlock = "|http://u|app.info|agent.exe||0|";
    fs::create_directories(s.Dir() / "src");
    for (const auto& f : files) {
        WriteFile((s.Dir() / "src" / f.first).string(), f.second);
        PackEntry e;
        e.name = f.first;
        e.sourcePath = (s.Dir() / "src" / f.first).string();
        e.stamp = 0x5A8B6C2Du;
        b.spec.entries.push_back(e);
    }
    if (adjust)
        adjust(b.spec);
    WritePackage(b.spec, b.outcome);
    return b;
}

UnpackResult Unpack(const std::string& source, const std::string& dest, RecordingHost& host,
                    const std::string& agent = "", bool force = false)
{
    UnpackJob job;
    job.source = source;
    job.destination = dest;
    job.agentName = agent;
    job.diskPrompt = "Please insert <B>DISK #<disk_num></B>";
    job.forcePrompt = force;
    UnpackResult r;
    RunUnpack(job, host, r);
    return r;
}

}  // namespace

TEST(Unpack, SingleFileRoundTripWithStoredCompressedEmptyAndEngine)
{
    Scratch s;
    const std::string text = Compressible(300000), noise = RandomBytes(70000, 1);
    Built b = Build(s, {{"Engine.exe", "MZengine"}, {"text.txt", text}, {"noise.bin", noise}, {"empty", ""}},
                    [](PackSpec& spec) {
                        spec.entries[0].engine = true;
                        spec.entries[0].arguments = "/q";
                    });
    ASSERT_EQ(b.outcome.files.size(), 1u);
    const std::string pkg = b.outcome.files[0];
    const PackageTrailer t = ReadTrailer(pkg);
    EXPECT_EQ(t.entryCount, 4u);
    EXPECT_EQ(t.payloadStart, 4096u);
    EXPECT_EQ(ReadTotalLength(ReadFile(pkg)), static_cast<int64_t>(fs::file_size(pkg)));
    EXPECT_EQ(PackageChecksum(pkg, 74), t.checksum);
    // Per cluster size, the sizes rounded up: 512-byte clusters.
    EXPECT_EQ(t.spaceByCluster[1], 512u + (300000 + 511) / 512 * 512 + (70000 + 511) / 512 * 512);

    RecordingHost host;
    UnpackResult r = Unpack(pkg, s.Path("out"), host);
    EXPECT_TRUE(r.checksumOk);
    EXPECT_EQ(r.engineSpec, "Engine.exe* /q");
    EXPECT_EQ(FilesBelow(s.Dir() / "out"), (std::vector<std::string>{"Engine.exe", "empty", "noise.bin", "text.txt"}));
    EXPECT_EQ(ReadFile(s.Path("out/text.txt")), text);
    EXPECT_EQ(ReadFile(s.Path("out/noise.bin")), noise);
    EXPECT_EQ(FileDosDateTime(s.Path("out/text.txt")), 0x5A8B6C2Du);
    ASSERT_EQ(host.records.size(), 4u);
    EXPECT_TRUE(host.records[1].compressed);
    EXPECT_FALSE(host.records[2].compressed) << "random bytes are stored";
    // Reset, range 0..EntryCount, one step per file.
    ASSERT_GE(host.progress.size(), 2u);
    EXPECT_EQ(host.progress[1].high, 4);
    EXPECT_EQ(host.Steps(), 4);
    EXPECT_TRUE(host.faults.empty());
}

TEST(Unpack, SpannedPackageSplitsAnEntryAcrossDisks)
{
    Scratch s;
    const std::string big = RandomBytes(120000, 2) + Compressible(200000);
    Built b = Build(s, {{"a.txt", Compressible(1000)}, {"big.bin", big}, {"z.txt", "last"}}, [](PackSpec& spec) {
        spec.layout = PackLayout::Span;
        spec.maxDiskSize = 40000;
    });
    ASSERT_GE(b.outcome.files.size(), 4u);
    EXPECT_EQ(b.outcome.files[1], s.Path("setup.exe.002"));
    for (std::size_t i = 0; i < b.outcome.files.size(); ++i) {
        const std::string& f = b.outcome.files[i];
        EXPECT_LE(fs::file_size(f), 40000u) << f;
        const PackageTrailer t = ReadTrailer(f);
        EXPECT_EQ((t.flags & FlagMoreDisks) != 0, i + 1 < b.outcome.files.size()) << f;
        EXPECT_EQ(PackageChecksum(f, 74), t.checksum) << f;
    }
    RecordingHost host;
    UnpackResult r = Unpack(b.outcome.files[0], s.Path("out"), host);
    EXPECT_TRUE(r.checksumOk);
    EXPECT_TRUE(host.prompts.empty()) << "disks present: no prompt";
    EXPECT_EQ(ReadFile(s.Path("out/big.bin")), big);
    EXPECT_EQ(ReadFile(s.Path("out/z.txt")), "last");
    // One step per file and one per further disk.
    EXPECT_EQ(host.Steps(), 3 + static_cast<int>(b.outcome.files.size()) - 1);
    int bigRecords = 0;
    for (const auto& rec : host.records)
        bigRecords += rec.name == "big.bin";
    EXPECT_GE(bigRecords, 3);
    EXPECT_GE(host.autoPlay, 1);
}

TEST(Unpack, DiskNamesPromptsAndCancel)
{
    EXPECT_EQ(DiskFileName("setup.exe", 2), "setup.exe.002");
    EXPECT_EQ(DiskFileName("setup.exe.001", 2), "setup.exe.002");
    EXPECT_EQ(DiskFileName("setup.EXE.001", 12), "setup.EXE.012");
    EXPECT_EQ(DiskFileName("setup.exe.OO1", 2), "setup.exe.OO1.002");

    // Twelve disks, of which disk 12 is missing until the second prompt.
    Scratch s;
    std::vector<std::pair<std::string, std::string>> files;
    for (int i = 0; i < 16; ++i)
        files.push_back({"f" + std::to_string(i), RandomBytes(4000, 10 + i)});
    Built b = Build(s, files, [](PackSpec& spec) {
        spec.layout = PackLayout::Span;
        spec.maxDiskSize = 5000;
    });
    ASSERT_GE(b.outcome.files.size(), 12u);
    const std::string twelve = s.Path("setup.exe.012");
    ASSERT_TRUE(fs::exists(twelve));
    fs::rename(twelve, s.Path("away"));
    {
        // First OK: still missing, asked again; then it arrives.
        struct Bring : RecordingHost {
            std::string from, to;
            bool AskForDisk(const std::string& text, const std::string& c, const std::string& bt, int cs) override
            {
                if (prompts.size() == 1)
                    fs::rename(from, to);
                return RecordingHost::AskForDisk(text, c, bt, cs);
            }
        } bring;
        bring.from = s.Path("away");
        bring.to = twelve;
        bring.answers = {true, true};
        UnpackResult r = Unpack(b.outcome.files[0], s.Path("out"), bring);
        EXPECT_TRUE(r.checksumOk);
        ASSERT_EQ(bring.prompts.size(), 2u);
        EXPECT_EQ(bring.prompts[0], "Please insert <B>DISK #12</B>");
        EXPECT_EQ(bring.ejected.front(), twelve);
        EXPECT_EQ(FilesBelow(s.Dir() / "out").size(), 16u);
        EXPECT_EQ(ReadFile(s.Path("out/f15")), files[15].second);
    }
    {
        // Cancel: unpacking ends and no engine is named.
        fs::rename(twelve, s.Path("away"));
        RecordingHost host;
        UnpackResult r = Unpack(b.outcome.files[0], s.Path("out2"), host);
        EXPECT_TRUE(r.cancelled);
        EXPECT_EQ(r.engineSpec, "");
        EXPECT_EQ(host.prompts.size(), 1u);
        fs::rename(s.Path("away"), twelve);
    }
    {
        // Forced prompts for every further disk, even when present.
        RecordingHost host;
        host.answers = std::vector<bool>(20, true);
        UnpackResult r = Unpack(b.outcome.files[0], s.Path("out3"), host, "", true);
        EXPECT_TRUE(r.checksumOk);
        EXPECT_EQ(host.prompts.size(), b.outcome.files.size() - 1);
        EXPECT_EQ(host.prompts[0], "Please insert <B>DISK #2</B>");
    }
}

TEST(Unpack, CdLayoutLauncherAndDataDisks)
{
    Scratch s;
    const std::string data = RandomBytes(50000, 3);
    Built b = Build(s, {{"Engine.exe", "e"}, {"data.bin", data}}, [](PackSpec& spec) {
        spec.layout = PackLayout::Cd;
        spec.maxDiskSize = 30000;
        spec.entries[0].engine = true;
    });
    ASSERT_GE(b.outcome.files.size(), 3u);
    EXPECT_EQ(b.outcome.files[0], s.Path("setup.exe"));
    EXPECT_EQ(b.outcome.files[1], s.Path("setup.exe.001"));
    EXPECT_EQ(b.outcome.files[2], s.Path("setup.exe.002"));
    TGFileInfo launcher(s.Path("setup.exe"));
    EXPECT_TRUE(launcher.CdRelaunch());
    EXPECT_FALSE(launcher.MoreDisks());
    EXPECT_EQ(launcher.AgentExeName(), "agent.exe");
    TGFileInfo first(s.Path("setup.exe.001"));
    EXPECT_FALSE(first.CdRelaunch());
    EXPECT_TRUE(first.MoreDisks());

    RecordingHost host;
    UnpackResult r = Unpack(s.Path("setup.exe.001"), s.Path("out"), host, "agent.exe");
    EXPECT_TRUE(r.checksumOk);
    EXPECT_EQ(r.engineSpec, "Engine.exe*");
    EXPECT_EQ(ReadFile(s.Path("out/data.bin")), data);
    EXPECT_TRUE(fs::exists(s.Path("out/agent.exe"))) << "source ends in .exe.001";
}

TEST(Unpack, AgentCopyBytes)
{
    Scratch s;
    Built b = Build(s, {{"a.txt", "alpha"}}, [](PackSpec& spec) { spec.makeAgentCopy = 1; });
    const std::string pkg = b.outcome.files[0];
    const std::string bytes = ReadFile(pkg);
    const PackageTrailer t = ReadTrailer(pkg);

    RecordingHost host;
    UnpackResult r = Unpack(pkg, s.Path("out"), host, "C:\\dir\\agent.exe");
    EXPECT_TRUE(r.checksumOk);
    const std::string agent = ReadFile(s.Path("out/agent.exe"));
    // Stub and header blocks, low TotalLength word zeroed, then the trailer
    // with IsAgent 1 and TrailerLength 74.
    const std::size_t headerEnd = t.payloadStart + 4 + b.spec.languageBlock.size() + 4 + b.spec.settingsBlock.size();
    ASSERT_EQ(agent.size(), headerEnd + 74);
    std::string expect = bytes.substr(0, headerEnd);
    PutU32(expect, 252, 0);
    PackageTrailer at = t;
    at.isAgent = 1;
    at.trailerLength = 74;
    expect += EncodeTrailer(at);
    EXPECT_EQ(agent, expect);
    EXPECT_EQ(FileDosDateTime(s.Path("out/agent.exe")), FileDosDateTime(pkg));
    TGFileInfo view(s.Path("out/agent.exe"));
    EXPECT_TRUE(view.IsAgent());
    EXPECT_EQ(view.SettingsBlock(), b.spec.settingsBlock);

    // Not for a source of another extension; upper-case EXE counts.
    fs::copy_file(pkg, s.Path("setup.bin"));
    RecordingHost h2;
    Unpack(s.Path("setup.bin"), s.Path("out2"), h2, "agent.exe");
    EXPECT_FALSE(fs::exists(s.Path("out2/agent.exe")));
    fs::copy_file(pkg, s.Path("SETUP.EXE"));
    RecordingHost h3;
    Unpack(s.Path("SETUP.EXE"), s.Path("out3"), h3, "agent.exe");
    EXPECT_TRUE(fs::exists(s.Path("out3/agent.exe")));
}

TEST(Unpack, RecordsOfOneNameAppendAndEmptyRecordsYieldNothing)
{
    Scratch s;
    HandMade made;
    made.image = FakeStub(600, false);
    made.blocks = {"\x02", "|||||"};
    std::string noZero = "|x|0|";
    made.records = {EntryRecord("log.txt", "first,", true), Record("", false), Record(noZero, false),
                    Record(std::string(1, '\0') + "headerless", false), EntryRecord("log.txt", "second", false),
                    EntryRecord("Engine.exe* /q /x", "E", false)};
    made.trailer.entryCount = 2;
    WriteHandMade(s.Path("p.exe"), made);
    RecordingHost host;
    UnpackResult r = Unpack(s.Path("p.exe"), s.Path("out"), host);
    EXPECT_TRUE(r.checksumOk);
    EXPECT_EQ(r.engineSpec, "Engine.exe* /q /x");
    EXPECT_EQ(FilesBelow(s.Dir() / "out"), (std::vector<std::string>{"Engine.exe", "log.txt"}));
    EXPECT_EQ(ReadFile(s.Path("out/log.txt")), "first,second");
    EXPECT_EQ(host.Steps(), 2);
}

TEST(Unpack, DamagedPackagesFailTheCheckAndWriteNothingOutside)
{
    Scratch s;
    const std::string text = Compressible(200000);
    auto base = [&]() {
        HandMade made;
        made.image = FakeStub(600, true);
        made.blocks = {"\x02", "|||||"};
        made.records = {EntryRecord("ok.txt", "fine", false), EntryRecord("text.txt", text, true)};
        return made;
    };
    const std::string good = WriteHandMade(s.Path("good.exe"), base());
    const std::size_t entryAt = 600 + 4 + 1 + 4 + 5 + EntryRecord("ok.txt", "fine", false).size();

    struct Case {
        const char* what;
        std::string bytes;
        bool checksumCatches;
    };
    std::vector<Case> cases;
    {
        std::string flipped = good;
        flipped[entryAt + 200] ^= 0x10;
        cases.push_back({"bit flip, checksum on", flipped, true});
    }
    {
        // The same flip with the checksum skipped: zlib must catch it.
        HandMade made = base();
        made.computeChecksum = false;
        made.trailer.checksum = ChecksumSkip;
        std::string bytes = WriteHandMade(s.Path("skip.exe"), made);
        bytes[entryAt + 200] ^= 0x10;
        cases.push_back({"bit flip, checksum skipped", bytes, false});
        // A flipped Adler-32 (the stream's last byte).
        std::string adler = WriteHandMade(s.Path("skip.exe"), made);
        std::size_t recordEnd = entryAt + EntryRecord("text.txt", text, true).size();
        adler[recordEnd - 1] ^= 1;
        cases.push_back({"bad Adler-32", adler, false});
        // A record length past the end of the file's data.
        std::string past = WriteHandMade(s.Path("skip.exe"), made);
        PutU32(past, entryAt, 0x7FFFFFF0u);
        cases.push_back({"length past the end", past, false});
        std::string negative = WriteHandMade(s.Path("skip.exe"), made);
        PutU32(negative, entryAt, 0x80000000u);
        cases.push_back({"most negative length", negative, false});
    }
    {
        // Truncated: the tail (with its trailer) is gone; TotalLength now
        // points past the end.
        cases.push_back({"truncated", good.substr(0, good.size() - 500), true});
    }
    for (const Case& c : cases) {
        Scratch t;
        WriteFile(t.Path("p.exe"), c.bytes);
        RecordingHost host;
        UnpackResult r = Unpack(t.Path("p.exe"), t.Path("out"), host);
        EXPECT_FALSE(r.checksumOk) << c.what;
        EXPECT_FALSE(host.faults.empty()) << c.what;
        for (const std::string& f : FilesBelow(t.Dir())) {
            EXPECT_TRUE(f == "p.exe" || f.rfind("out/", 0) == 0) << c.what << ": " << f;
        }
        if (!c.checksumCatches) {
            EXPECT_EQ(ReadFile(t.Path("out/ok.txt")), "fine") << c.what << ": files before the damage stay";
        }
    }
}

TEST(Unpack, UnsafeNamesAreNotWrittenAndFailTheCheck)
{
    const std::string names[] = {"..",          ".",          "",           "..\\evil.txt", "../evil.txt",
                                 "/etc/evil",   "C:evil",     "a:stream",   "sub/evil",     std::string("a\nb"),
                                 std::string("tab\t"), "\x7F", "CON",        "nul.txt",      "Com1",
                                 "lpt9.log"};
    for (const std::string& name : names) {
        Scratch s;
        HandMade made;
        made.blocks = {"\x02", "|||||"};
        made.records = {EntryRecord(name, "x", true), EntryRecord("Engine.exe*", "e", false)};
        WriteHandMade(s.Path("p.exe"), made);
        fs::create_directories(s.Dir() / "deep" / "er");
        RecordingHost host;
        UnpackResult r = Unpack(s.Path("p.exe"), s.Path("deep/er/out"), host);
        EXPECT_FALSE(r.checksumOk) << PrintableName(name);
        ASSERT_FALSE(host.faults.empty());
        EXPECT_NE(host.faults[0].find("unsafe entry name"), std::string::npos);
        for (const std::string& f : FilesBelow(s.Dir())) {
            EXPECT_TRUE(f == "p.exe" || f.rfind("deep/er/out/", 0) == 0) << PrintableName(name) << ": " << f;
        }
        EXPECT_EQ(FilesBelow(s.Dir() / "deep/er/out"), std::vector<std::string>{"Engine.exe"});
    }
    for (const std::string ok : {"Setup.cfg", "00005#Setup.cfg.00002", "a..b", "...x", "CONFIG.SYS", "com10"})
        EXPECT_TRUE(IsSafeEntryName(ok)) << ok;
}

TEST(Unpack, MissingFirstDiskAndMagicMismatch)
{
    Scratch s;
    RecordingHost host;
    UnpackResult r = Unpack(s.Path("none.exe"), s.Path("out"), host);
    EXPECT_FALSE(r.checksumOk);
    EXPECT_FALSE(fs::exists(s.Path("out")));

    HandMade made;
    made.blocks = {"\x02", "|||||"};
    made.records = {EntryRecord("a", "x", false)};
    made.trailer.magic = 0x11111111;
    WriteHandMade(s.Path("m.exe"), made);
    RecordingHost h2;
    UnpackResult r2 = Unpack(s.Path("m.exe"), s.Path("out"), h2);
    EXPECT_TRUE(r2.checksumOk) << "a wrong magic only means no entries";
    EXPECT_TRUE(FilesBelow(s.Dir() / "out").empty());
}

TEST(Unpack, VerifyOnlyWritesNothing)
{
    Scratch s;
    Built b = Build(s, {{"a.txt", "alpha"}, {"b.txt", Compressible(5000)}});
    RecordingHost host;
    UnpackJob job;
    job.source = b.outcome.files[0];
    job.destination = s.Path("never");
    job.agentName = "agent.exe";
    job.writeFiles = false;
    UnpackResult r;
    RunUnpack(job, host, r);
    EXPECT_TRUE(r.checksumOk);
    EXPECT_EQ(host.records.size(), 2u);
    EXPECT_EQ(host.records[1].contentLength, 5000);
    EXPECT_FALSE(fs::exists(s.Path("never")));
}

TEST(Unpack, FailedWriteShowsOneDiagnosis)
{
    Scratch s;
    Built b = Build(s, {{"a.txt", "alpha"}, {"b.txt", "beta"}});
    // Folders where the files should go: both writes fail.
    fs::create_directories(s.Dir() / "out" / "a.txt");
    fs::create_directories(s.Dir() / "out" / "b.txt");
    const int before = FailedWriteCount();
    RecordingHost host;
    Unpack(b.outcome.files[0], s.Path("out"), host);
    EXPECT_EQ(FailedWriteCount(), before + 2);
    if (before == 0) {
        ASSERT_EQ(host.errors.size(), 1u);
        EXPECT_NE(host.errors[0].find("Unable to save Extracted File!"), std::string::npos);
        EXPECT_NE(host.errors[0].find("Data Size: <T>5 Bytes"), std::string::npos);
    }
}
