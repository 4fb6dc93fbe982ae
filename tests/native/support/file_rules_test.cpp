#include <gtest/gtest.h>

#include <string>

#include "support/file_rules.h"
#include "support/host_facts.h"

TEST(FileNames, BaseNameAndExtension)
{
    struct Case {
        const char* path;
        bool all;
        const char* base;
    } cases[] = {
        {"C:\\x\\setup.tar.gz", false, "setup.tar"},
        {"C:\\x\\setup.tar.gz", true, "setup"},
        {"C:\\dir.d\\setup", false, "setup"},
        {"C:setup.exe", false, "setup"},
        {"setup.exe", true, "setup"},
        {"C:\\x\\", false, ""},
        {"C:\\x\\.profile", false, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BaseNameNoExt(c.path, c.all), c.base) << c.path << " " << c.all;

    EXPECT_EQ(ChangeFileExtension("C:\\a.b\\Tool.exe", ".log"), "C:\\a.b\\Tool.log");
    EXPECT_EQ(ChangeFileExtension("C:\\a.b\\Tool", ".log"), "C:\\a.b\\Tool.log");
    EXPECT_EQ(ChangeFileExtension("App.AutoUpdate.exe", ".log"), "App.AutoUpdate.log");
}

TEST(FileNames, DoubleByteTrailBackslashIsNoSeparator)
{
    // Shift-JIS: 0x95 0x5C is one character whose second byte is "\".
    const unsigned char ranges[] = {0x81, 0x9F, 0xE0, 0xFC};
    SetLeadByteRanges(ranges, 2);
    EXPECT_EQ(FileNamePart("C:\\dir\\a\x95\\b.exe"), "a\x95\\b.exe");
    EXPECT_EQ(BaseNameNoExt("C:\\dir\\a\x95\\b.exe", false), "a\x95\\b");
    SetLeadByteRanges(nullptr, 0);
    EXPECT_EQ(FileNamePart("C:\\dir\\a\x95\\b.exe"), "b.exe");
}

TEST(FileNames, FreeSpaceRoot)
{
    struct Case {
        const char* path;
        bool driveOnly;
        const char* root;
    } cases[] = {
        {"C:/Temp/Setup", false, "C:\\Temp"},
        {"C:\\Temp\\Setup\\More", false, "C:\\Temp"},
        {"C:\\Temp", false, "C:\\Temp"},
        {"C:\\", false, "C:\\"},
        {"C:", false, "C:\\"},
        {"d", false, "D:\\"},
        {"c:\\Temp\\Setup", true, "C:\\"},
        {"", false, ""},
        {"", true, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FreeSpaceRoot(c.path, c.driveOnly), c.root) << c.path << " " << c.driveOnly;
}

TEST(FileWrites, ChunkSize)
{
    EXPECT_EQ(WriteChunkSize(500), 500u);
    EXPECT_EQ(WriteChunkSize(1048576), 1048576u);
    EXPECT_EQ(WriteChunkSize(3000000), 300000u);
    EXPECT_EQ(WriteChunkSize(1048577), 104857u);
    EXPECT_EQ(WriteChunkSize(50000000), 1048576u);
    EXPECT_EQ(WriteChunkSize(0), 0u);
}

TEST(SelfRemoval, ScriptLines)
{
    const std::string exe = "C:\\Program Files\\App\\X_Agent.exe";
    const std::string folder = "C:\\Program Files\\App";
    const std::string script = "C:\\Temp\\_DEL_ME_.BAT";
    EXPECT_EQ(SelfRemovalScript(exe, folder, script, true),
              ":START\r\n"
              "DEL \"C:\\Program Files\\App\\X_Agent.exe\"\r\n"
              "IF exist \"C:\\Program Files\\App\\X_Agent.exe\" GOTO START\r\n"
              "RD \"C:\\Program Files\\App\"\r\n"
              "DEL \"C:\\Temp\\_DEL_ME_.BAT\"\r\n");
    EXPECT_EQ(SelfRemovalScript(exe, folder, script, false),
              ":START\r\n"
              "DEL \"C:\\Program Files\\App\\X_Agent.exe\"\r\n"
              "IF exist \"C:\\Program Files\\App\\X_Agent.exe\" GOTO START\r\n"
              "DEL \"C:\\Temp\\_DEL_ME_.BAT\"\r\n");
}
