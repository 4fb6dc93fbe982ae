// The package view: checksum rule, trailer location, header blocks, space
// figures, tokens and scrambled texts.
#include <gtest/gtest.h>

#include "package/file_info.h"
#include "package/inform_text.h"
#include "package/token.h"
#include "package_fixture.h"
#include "support/file_stream.h"

using namespace fixture;

TEST(PackageChecksum, WorkedExamples)
{
    Scratch s;
    std::string ones(90, '\0');
    for (int i = 0; i < 16; ++i)
        ones[i] = 1;
    WriteFile(s.Path("ones"), ones);
    EXPECT_EQ(PackageChecksum(s.Path("ones"), 74), 0x02020202u);

    WriteFile(s.Path("z12362"), std::string(12362, '\0'));
    EXPECT_EQ(PackageChecksum(s.Path("z12362"), 74), 2468u);

    WriteFile(s.Path("z8266"), std::string(8266, '\0'));
    EXPECT_EQ(PackageChecksum(s.Path("z8266"), 74), 1234u);
    EXPECT_TRUE(ChecksumAccepted(1234, 99));
    EXPECT_TRUE(ChecksumAccepted(99, 1234));
    EXPECT_TRUE(ChecksumAccepted(7, 7));
    EXPECT_FALSE(ChecksumAccepted(7, 8));
}

TEST(PackageChecksum, PeFileSkipsItsFirst512BytesAndIgnoresAppendedBytes)
{
    Scratch s;
    HandMade made;
    made.image = FakeStub(2048, true);
    made.blocks = {"\x02\x02", "|||||"};
    made.records = {EntryRecord("a.txt", "alpha", true)};
    const std::string bytes = WriteHandMade(s.Path("p.exe"), made);
    const PackageTrailer t = ReadTrailer(s.Path("p.exe"));
    ASSERT_EQ(t.magic, PackageMagic);
    EXPECT_EQ(PackageChecksum(s.Path("p.exe"), 74), t.checksum);

    // A change inside the first 512 bytes is not summed; one after is.
    std::string early = bytes;
    early[400] ^= 1;
    WriteFile(s.Path("early.exe"), early);
    EXPECT_EQ(PackageChecksum(s.Path("early.exe"), 74), t.checksum);
    std::string late = bytes;
    late[600] ^= 1;
    WriteFile(s.Path("late.exe"), late);
    EXPECT_NE(PackageChecksum(s.Path("late.exe"), 74), t.checksum);

    // A signature appended after TotalLength changes nothing.
    WriteFile(s.Path("signed.exe"), bytes + std::string(3000, 'S'));
    const PackageTrailer t2 = ReadTrailer(s.Path("signed.exe"));
    EXPECT_EQ(t2.checksum, t.checksum);
    EXPECT_EQ(t2.payloadStart, 2048u);
    EXPECT_EQ(PackageChecksum(s.Path("signed.exe"), 74), t.checksum);
}

TEST(PackageChecksum, FilesAbove50MiBAreNotSummed)
{
    Scratch s;
    {
        OutputFile f;
        ASSERT_TRUE(f.Create(s.Path("big"), false));
        std::string block(1 << 20, 'x');
        for (int i = 0; i < 51; ++i)
            ASSERT_TRUE(f.Write(block.data(), block.size()));
        ASSERT_TRUE(f.Write("y", 1));
    }
    EXPECT_EQ(PackageChecksum(s.Path("big"), 74), ChecksumSkip);
}

TEST(ReadTrailer, FieldsFlagsAndBlockCounts)
{
    Scratch s;
    HandMade made;
    made.image = FakeStub(512, false);
    made.blocks = {"\x02\x01Polish\x01" "Charset=238\x01\x02", "|http://u|dir\\app.info.x|agent.exe|tok|1|",
                   "|http://d|real.exe|1||123|"};
    made.trailer.flags = FlagMoreDisks | FlagTraceLog;
    made.trailer.makeAgentCopy = 1;
    made.trailer.entryCount = 7;
    for (int i = 0; i < SpaceFigureCount; ++i)
        made.trailer.spaceByCluster[i] = 1000u + static_cast<uint32_t>(i);
    WriteHandMade(s.Path("p.bin"), made);
    TGFileInfo view(s.Path("p.bin"));
    EXPECT_EQ(view.Trailer().entryCount, 7u);
    EXPECT_TRUE(view.MoreDisks());
    EXPECT_TRUE(view.TraceLog());
    EXPECT_FALSE(view.ShowTempNotice());
    EXPECT_TRUE(view.MakeAgentCopy());
    EXPECT_FALSE(view.IsAgent());
    EXPECT_EQ(view.InfoUrl(), "http://u");
    EXPECT_EQ(view.InfoFileName(), "app.info.x");
    EXPECT_EQ(view.OriginalFileName(), "app.original");
    EXPECT_EQ(view.AgentExeName(), "agent.exe");
    EXPECT_TRUE(view.SilentInstall());
    EXPECT_EQ(view.DownloadFileName(), "real.exe");
    EXPECT_TRUE(view.RemoteOnly());
    EXPECT_EQ(view.DownloadSize(), "123");
    EXPECT_EQ(view.LanguageBlock()[1], '\x01');

    // A stored HeaderBlockCount of 0 reads as 2: no download block.
    made.trailer.headerBlockCount = 0;
    made.blocks.resize(2);
    WriteHandMade(s.Path("two.bin"), made);
    std::string bytes = ReadFile(s.Path("two.bin"));
    bytes[bytes.size() - TrailerSize + 1] = 0;
    WriteFile(s.Path("two.bin"), bytes);
    TGFileInfo two(s.Path("two.bin"));
    EXPECT_EQ(two.Trailer().headerBlockCount, 2);
    EXPECT_EQ(two.DownloadBlock(), "");
    EXPECT_EQ(two.AgentExeName(), "agent.exe");

    // Space figures by cluster size.
    const PackageTrailer& t = view.Trailer();
    const struct {
        uint32_t cluster;
        uint32_t figure;
    } cases[] = {{0, 1000}, {256, 1000}, {511, 1000}, {512, 1001}, {4096, 1004}, {65536, 1008}, {131072, 1008}};
    for (const auto& c : cases)
        EXPECT_EQ(SpaceForClusterSize(t, c.cluster), c.figure) << c.cluster;
    EXPECT_GT(view.SpaceNeeded(s.Dir().string()), 999.0);
}

TEST(TGFileInfo, MissingFileAndHostileLengthsGiveEmptyBlocks)
{
    Scratch s;
    TGFileInfo missing(s.Path("nothing"));
    EXPECT_EQ(missing.Trailer().magic, 0u);
    EXPECT_EQ(missing.SettingsBlock(), "");
    EXPECT_FALSE(missing.IsAgent());

    // Language block length far past the end, and a negative one.
    const struct {
        uint32_t length;
        const char* what;
    } cases[] = {{0x7FFFFFF0u, "huge"}, {0x80000000u, "most negative"}, {0xFFFFFFFFu, "minus one"}, {5000, "past end"}};
    for (const auto& c : cases) {
        HandMade made;
        made.blocks = {"\x02\x02", "|a|b|c|d|e|"};
        std::string bytes = WriteHandMade(s.Path("p"), made);
        PutU32(bytes, 0, c.length);
        WriteFile(s.Path("p"), bytes);
        TGFileInfo view(s.Path("p"));
        EXPECT_EQ(view.LanguageBlock(), "") << c.what;
        EXPECT_LE(view.SettingsBlock().size(), 11u) << c.what;
    }
    // A trailer length field of garbage does not crash or over-read.
    WriteFile(s.Path("short"), std::string("\x01\x02\x03", 3));
    EXPECT_EQ(ReadTrailer(s.Path("short")).magic, 0u);
    std::string odd(100, '\0');
    PutU32(odd, 96, 0x7FFFFFFF);
    WriteFile(s.Path("odd"), odd);
    EXPECT_EQ(ReadTrailer(s.Path("odd")).trailerLength, 74);
}

TEST(Token, StoredFormRoundTripsAndFailuresAreRandom)
{
    const std::string tokens[] = {"a", "secret-token", "fifteen-bytes!!", "sixteen-bytes!!!",
                                  std::string("bin\0\xFF\x01", 6), std::string(240, 'z')};
    for (const std::string& token : tokens) {
        for (uint64_t seed : {1ull, 2ull, 0xDEADBEEFull}) {
            const std::string stored = ScrambleToken(token, seed);
            EXPECT_EQ(DescrambleToken(stored), token) << token.size();
            EXPECT_EQ(stored.find('|'), std::string::npos);
            if (token.size() <= 15) {
                EXPECT_EQ(stored.size(), 40u);
            }
        }
    }
    EXPECT_NE(ScrambleToken("secret", 1), ScrambleToken("secret", 2));
    EXPECT_EQ(ScrambleToken("secret", 7), ScrambleToken("secret", 7));

    // A damaged stored form: a random number text, never the token.
    std::string stored = ScrambleToken("secret-token", 5);
    stored[10] = static_cast<char>(stored[10] == 'b' ? 'c' : 'b');
    const std::string bad = DescrambleToken(stored);
    EXPECT_NE(bad, "secret-token");
    EXPECT_FALSE(bad.empty());
    for (char c : bad)
        EXPECT_TRUE(c >= '0' && c <= '9');
    EXPECT_NE(DescrambleToken(""), "");
}

TEST(Token, SameDownloadToken)
{
    Scratch s;
    auto make = [&](const std::string& name, const std::string& token, uint64_t seed) {
        HandMade made;
        made.blocks = {"\x02", "|||||", "|u|f|0|" + ScrambleToken(token, seed) + "|1|"};
        WriteHandMade(s.Path(name), made);
        return s.Path(name);
    };
    TGFileInfo a(make("a", "product-1", 1)), b(make("b", "product-1", 99)), c(make("c", "product-2", 1));
    EXPECT_TRUE(SameDownloadToken(a, b));
    EXPECT_FALSE(SameDownloadToken(a, c));
    EXPECT_EQ(a.DownloadToken(true), "product-1");
}

TEST(ScrambleText, RoundTripsAndLeavesTextsInTheRequestedForm)
{
    const std::string texts[] = {"", "x", "hello | world", std::string("\0\x01\xFF\x7F", 4), std::string(1000, 'q')};
    for (const std::string& t : texts) {
        const std::string s = ScrambleText(t, true);
        EXPECT_EQ(s.size(), t.size() + 13);
        EXPECT_EQ(s.compare(0, 12, "Scrambled=01"), 0);
        EXPECT_GE(static_cast<unsigned char>(s[12]), 33);
        EXPECT_LE(static_cast<unsigned char>(s[12]), 122);
        EXPECT_EQ(ScrambleText(s, false), t);
        EXPECT_EQ(ScrambleText(s, true), s);
        EXPECT_EQ(ScrambleText(t, false), t);
    }
    // Key 33 on "AB": A ^ (1 + 33), B ^ (2 - 33 mod 256).
    const std::string k = ScrambleTextWithKey("AB", 33);
    EXPECT_EQ(static_cast<unsigned char>(k[13]), 'A' ^ 34);
    EXPECT_EQ(static_cast<unsigned char>(k[14]), 'B' ^ ((2 - 33) & 0xFF));
}

TEST(InformText, FieldsAndBody)
{
    const struct {
        std::string content, token, body;
    } cases[] = {
        {BuildInformText("TOKEN", "body | with bar"), "TOKEN", "body | with bar"},
        {"no bars at all", "", "no bars at all"},
        {"x|tok|only", "tok", "only"},
        {"x|tok|a|b|", "tok", ""},
        {ScrambleText(BuildInformText("T2", "<B>news</B>"), true), "T2", "<B>news</B>"},
    };
    for (const auto& c : cases) {
        std::string token, body;
        SplitInformText(c.content, token, body);
        EXPECT_EQ(token, c.token) << c.content;
        EXPECT_EQ(body, c.body) << c.content;
    }
}
