// The varnel-pack command line: build, list, verify, extract, checksum and
// inform, their errors and exit codes, reproducible output and code pages.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>

#include "package/file_info.h"
#include "package/inform_text.h"
#include "package/token.h"
#include "package_fixture.h"
#include "support/lists.h"

using namespace fixture;

namespace {

struct ToolRun {
    int code;
    std::string out;
    std::string err;
};

ToolRun Tool(const Scratch& s, const std::string& args, const std::string& env = "")
{
    const std::string out = s.Path("stdout.txt"), err = s.Path("stderr.txt");
    const std::string command = "cd '" + s.Dir().string() + "' && " + env + " '" VARNEL_PACK "' " + args + " >'" + out +
                                "' 2>'" + err + "'";
    int status = std::system(command.c_str());
    return ToolRun{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(out), ReadFile(err)};
}

// A manifest with an engine, two files and a language, in folder s.
void Project(const Scratch& s, const std::string& extra = "", const std::string& language = "s0 = Setup")
{
    WriteFile(s.Path("stub.exe"), FakeStub(2048, true));
    WriteFile(s.Path("Engine.exe"), "engine-bytes");
    WriteFile(s.Path("readme.txt"), std::string(20000, 'r'));
    WriteFile(s.Path("data.bin"), "data");
    WriteFile(s.Path("setup.ini"), "[package]\nStub = stub.exe\nOutput = setup.exe\n" + extra +
                                       "\n[settings]\nAgentExeName = agent.exe\nToken = my token\n"
                                       "[language English]\n" + language +
                                       "\n[engine]\nFile = Engine.exe\nArguments = /q\n"
                                       "[files]\nreadme.txt\nrenamed.bin = data.bin\n");
}

}  // namespace

TEST(VarnelPack, BuildListVerifyExtract)
{
    Scratch s;
    Project(s);
    ToolRun b = Tool(s, "build setup.ini");
    ASSERT_EQ(b.code, 0) << b.err;
    TGFileInfo view(s.Path("setup.exe"));
    EXPECT_EQ(view.SettingsToken(true), "my token");
    EXPECT_EQ(view.AgentExeName(), "agent.exe");

    ToolRun l = Tool(s, "list setup.exe");
    EXPECT_EQ(l.code, 0);
    EXPECT_NE(l.out.find("SettingsToken set"), std::string::npos);
    EXPECT_EQ(l.out.find("my token"), std::string::npos) << "tokens are never shown";
    EXPECT_NE(l.out.find("renamed.bin"), std::string::npos);
    EXPECT_NE(l.out.find("engine: Engine.exe* /q"), std::string::npos);

    EXPECT_EQ(Tool(s, "verify setup.exe").code, 0);
    ToolRun x = Tool(s, "extract setup.exe -d out");
    EXPECT_EQ(x.code, 0) << x.err;
    EXPECT_EQ(ReadFile(s.Path("out/renamed.bin")), "data");
    EXPECT_EQ(ReadFile(s.Path("out/readme.txt")), std::string(20000, 'r'));

    ToolRun c = Tool(s, "checksum setup.exe");
    EXPECT_EQ(c.code, 0);
    EXPECT_EQ(c.out, std::to_string(PackageChecksum(s.Path("setup.exe"), 74)) + "\n");
    EXPECT_EQ(Tool(s, "checksum setup.exe --trailer-length 70").out,
              std::to_string(PackageChecksum(s.Path("setup.exe"), 70)) + "\n");

    // A damaged package: verify says so and exits 1; extract fails too.
    std::string bytes = ReadFile(s.Path("setup.exe"));
    bytes[bytes.size() - 200] ^= 0x40;
    WriteFile(s.Path("bad.exe"), bytes);
    ToolRun v = Tool(s, "verify bad.exe");
    EXPECT_EQ(v.code, 1);
    EXPECT_NE(v.out.find("MISMATCH"), std::string::npos);
    EXPECT_EQ(Tool(s, "extract bad.exe -d out2").code, 1);
}

TEST(VarnelPack, UsageAndErrors)
{
    Scratch s;
    Project(s);
    EXPECT_EQ(Tool(s, "").code, 2);
    EXPECT_EQ(Tool(s, "frobnicate").code, 2);
    EXPECT_EQ(Tool(s, "verify").code, 2);
    EXPECT_EQ(Tool(s, "extract setup.exe").code, 2);
    ToolRun h = Tool(s, "--help");
    EXPECT_EQ(h.code, 0);
    EXPECT_NE(h.out.find("build MANIFEST"), std::string::npos);
    EXPECT_EQ(Tool(s, "verify missing.exe").code, 1);

    const struct {
        const char* what;
        std::string manifest;
        const char* message;
    } cases[] = {
        {"missing file", "[package]\nStub = stub.exe\nOutput = o.exe\n[files]\nnope.txt\n", "cannot read"},
        {"two entries of one name", "[package]\nStub = stub.exe\nOutput = o.exe\n[files]\ndata.bin\nDATA.BIN = readme.txt\n",
         "two entries"},
        {"unsafe name", "[package]\nStub = stub.exe\nOutput = o.exe\n[files]\n..\\x = data.bin\n", "not a plain file name"},
        {"unknown key", "[package]\nStub = stub.exe\nOutput = o.exe\nCompresion = 9\n", "unknown key"},
        {"missing stub", "[package]\nStub = nostub.exe\nOutput = o.exe\n", "cannot open stub"},
        {"text outside the code page",
         "[package]\nStub = stub.exe\nOutput = o.exe\n[language Polish]\nCharset = 238\nError = \xE4\xB8\xAD\n",
         "language Polish, key Error"},
        {"span without size", "[package]\nStub = stub.exe\nOutput = o.exe\nLayout = span\n", "MaxDiskSize"},
    };
    for (const auto& c : cases) {
        WriteFile(s.Path("bad.ini"), c.manifest);
        ToolRun r = Tool(s, "build bad.ini");
        EXPECT_NE(r.code, 0) << c.what;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.what << ": " << r.err;
        EXPECT_FALSE(fs::exists(s.Path("o.exe"))) << c.what;
    }
    // No half-written output and no temporary file after a failure.
    for (const std::string& f : FilesBelow(s.Dir()))
        EXPECT_EQ(f.find("tmp"), std::string::npos) << f;

    // A stub without "PE" at 256: a warning, and no TotalLength.
    WriteFile(s.Path("plain.bin"), std::string(600, 'x'));
    ToolRun w = Tool(s, "build setup.ini --stub plain.bin -o plain.exe");
    EXPECT_EQ(w.code, 0) << w.err;
    EXPECT_NE(w.err.find("no PE header"), std::string::npos);
    EXPECT_EQ(ReadFile(s.Path("plain.exe")).substr(248, 8), std::string(8, 'x')) << "stub bytes left alone";
    EXPECT_EQ(Tool(s, "verify plain.exe").code, 0);
}

TEST(VarnelPack, ReproducibleWithSourceDateEpoch)
{
    Scratch s;
    Project(s, "MaxDiskSize = 9000\n");
    ASSERT_EQ(Tool(s, "build setup.ini -o a.exe", "SOURCE_DATE_EPOCH=1700000000").code, 0);
    ASSERT_EQ(Tool(s, "build setup.ini -o b.exe", "SOURCE_DATE_EPOCH=1700000000").code, 0);
    EXPECT_EQ(ReadFile(s.Path("a.exe")), ReadFile(s.Path("b.exe")));
    EXPECT_EQ(ReadFile(s.Path("a.exe.002")), ReadFile(s.Path("b.exe.002")));
    ASSERT_EQ(Tool(s, "build setup.ini -o c.exe").code, 0);
    EXPECT_NE(ReadFile(s.Path("a.exe")), ReadFile(s.Path("c.exe"))) << "tokens differ without the epoch";
    EXPECT_EQ(Tool(s, "verify a.exe").code, 0);
}

TEST(VarnelPack, LanguageTextsInTheirCodePages)
{
    const struct {
        const char* charset;
        const char* utf8;
        std::string ansi;
    } cases[] = {
        {"0", "caf\xC3\xA9", "caf\xE9"},
        {"238", "B\xC5\x82\xC4\x85" "d", "B\xB3\xB9" "d"},
        {"204", "\xD0\x9E\xD0\xBA", "\xCE\xEA"},
        {"161", "\xCE\xA9", "\xD9"},
        {"177", "\xD7\xA9", "\xF9"},
        {"128", "\xE3\x81\x82", "\x82\xA0"},
    };
    for (const auto& c : cases) {
        Scratch s;
        Project(s, "", std::string("Charset = ") + c.charset + "\nError = " + c.utf8);
        ToolRun r = Tool(s, "build setup.ini");
        ASSERT_EQ(r.code, 0) << c.charset << ": " << r.err;
        TGFileInfo view(s.Path("setup.exe"));
        const std::string section = ListItem(view.LanguageBlock(), 0, "");
        EXPECT_EQ(ListValue(section, "Error", "?"), c.ansi) << c.charset;
        EXPECT_EQ(ListItem(section, 0, ""), "English");
    }
}

TEST(VarnelPack, InformFile)
{
    Scratch s;
    WriteFile(s.Path("body.txt"), "<B>Version 2</B> is out | really");
    ASSERT_EQ(Tool(s, "inform --token secret --body body.txt -o plain.inform").code, 0);
    ASSERT_EQ(Tool(s, "inform --token secret --body body.txt --scramble -o scr.inform").code, 0);
    for (const char* f : {"plain.inform", "scr.inform"}) {
        std::string token, body;
        SplitInformText(ReadFile(s.Path(f)), token, body);
        EXPECT_EQ(DescrambleToken(token), "secret") << f;
        EXPECT_EQ(body, "<B>Version 2</B> is out | really") << f;
    }
    EXPECT_EQ(ReadFile(s.Path("scr.inform")).compare(0, 12, "Scrambled=01"), 0);
    EXPECT_EQ(Tool(s, "inform --token x -o y").code, 2);
}
