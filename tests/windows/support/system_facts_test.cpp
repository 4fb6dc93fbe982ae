// The Windows side of the text library: folders and the program path as the
// system reports them, the locale facts, and switches read from real
// command lines of a started process.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/host_facts.h"
#include "support/system_win.h"
#include "test_files.h"

namespace {

bool IsFolder(const std::string& path)
{
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// Starts the probe with the given command line (the executable is named
// separately, so the command line may spell the program any way it likes)
// and returns what it reported.
std::string RunProbe(const std::string& commandLine, const std::string& names)
{
    std::string exe = ProgramDir(true) + SWITCH_PROBE_EXE;
    std::string out = UniqueTempName("switch_probe") + ".out";
    DeleteFileA(out.c_str());
    SetEnvironmentVariableA("VARNEL_PROBE_OUT", out.c_str());
    SetEnvironmentVariableA("VARNEL_PROBE_NAMES", names.c_str());
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string line = commandLine;
    if (!CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                        ProgramDir(false).c_str(), &si, &pi))
        return "CreateProcess failed";
    WaitForSingleObject(pi.hProcess, 30000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    std::string report = SlurpFile(out);
    DeleteFileA(out.c_str());
    return report;
}

}  // namespace

TEST(SystemFolders, EndInOneBackslashAndExist)
{
    for (const std::string& folder : {WindowsDir(true), SystemDir(true), TempDir(true), ProgramDir(true)}) {
        ASSERT_GT(folder.size(), 3u) << folder;
        EXPECT_EQ(folder.back(), '\\') << folder;
        EXPECT_NE(folder[folder.size() - 2], '\\') << folder;
        EXPECT_TRUE(IsFolder(folder)) << folder;
    }
    EXPECT_EQ(WindowsDir(false) + "\\", WindowsDir(true));
    EXPECT_EQ(TempDir(false) + "\\", TempDir(true));
}

TEST(SystemFolders, ProgramPathNamesThisProgram)
{
    std::string path = ProgramPath();
    EXPECT_EQ(path.substr(path.size() - 21), "support_win_tests.exe");
    EXPECT_EQ(ProgramDir(true) + "support_win_tests.exe", path);
    EXPECT_EQ(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

TEST(HostFacts, DefaultLocaleOfThePrefix)
{
    LoadHostFacts();
    // The test prefix runs with the US English locale and code page 1252.
    EXPECT_EQ(LocaleDateSeparator(), "/");
    EXPECT_EQ(LocaleTimeSeparator(), ":");
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(IsLeadByte(static_cast<unsigned char>(b)), IsDBCSLeadByte(static_cast<BYTE>(b)) != 0) << b;
}

TEST(CommandLine, SwitchesFromARealCommandLine)
{
    std::string exe = ProgramDir(true) + SWITCH_PROBE_EXE;
    struct Case {
        std::string commandLine;
        std::string expected;
    } cases[] = {
        // Quoted program path: taken out with its quotes.
        {"\"" + exe + "\" /A=1 /B=\"x y\" /WAIT=$10 /C",
         "tail=/A=1 /B=\"x y\" /WAIT=$10 /C\n"
         "value /A==1\npresent /A==1\nint /A==1\n"
         "value /B==x y\npresent /B==1\nint /B==-1\n"
         "value /WAIT==$10\npresent /WAIT==1\nint /WAIT==16\n"
         "value /C=TRUE\npresent /C=1\nint /C=-1\n"
         "value /D==\npresent /D==0\nint /D==-1\n"},
        // Unquoted path, and a flag followed by another switch.
        {exe + " /c /a=5",
         "tail=/c /a=5\n"
         "value /A==5\npresent /A==1\nint /A==5\n"
         "value /B==\npresent /B==0\nint /B==-1\n"
         "value /WAIT==\npresent /WAIT==0\nint /WAIT==-1\n"
         "value /C=\npresent /C=1\nint /C=-1\n"
         "value /D==\npresent /D==0\nint /D==-1\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RunProbe(c.commandLine, "/A=;/B=;/WAIT=;/C;/D="), c.expected) << c.commandLine;
}

TEST(CommandLine, ProgramStartedUnderAShortNameKeepsItInTheTail)
{
    // Started by its bare name from its own folder, the program's full path
    // does not appear on the command line, so nothing is taken out.
    EXPECT_EQ(RunProbe(std::string(SWITCH_PROBE_EXE) + " /hideall", "/hide"),
              "tail=" + std::string(SWITCH_PROBE_EXE) + " /hideall\n"
              "value /hide=all\npresent /hide=1\nint /hide=-1\n");
}
