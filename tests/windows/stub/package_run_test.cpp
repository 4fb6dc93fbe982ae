// A package run end to end under Wine: a package built by varnel-pack from
// the test engine, started as a user or a silent deployment would start it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "../support/test_files.h"
#include "msgbox_driver.h"
#include "support/files_win.h"
#include "support/numbers.h"
#include "support/start_program_win.h"
#include "support/system_win.h"
#include "support/text.h"

namespace {

// Build-tree paths as the Windows side sees them.
std::string WinPath(const std::string& unixPath)
{
    return "Z:" + ReplaceChar(unixPath, '/', '\\');
}

struct Finished {
    bool ended = false;
    DWORD code = 0;
    DWORD processId = 0;
};

Finished RunAndWait(const std::string& exe, const std::string& arguments, DWORD timeoutMs)
{
    Finished f;
    HANDLE process = nullptr;
    if (!StartProgram(exe, "\"" + exe + "\" " + arguments, SW_HIDE, &process, &f.processId))
        return f;
    f.ended = WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0;
    GetExitCodeProcess(process, &f.code);
    if (!f.ended)
        TerminateProcess(process, 99);
    CloseHandle(process);
    return f;
}

// The value of a "key=" line of the engine's report.
std::string ReportValue(const std::string& report, const std::string& key)
{
    const int p = Pos("\n" + key + "=", "\n" + report);
    if (p == 0)
        return "";
    std::string rest = report.substr(static_cast<std::size_t>(p - 1 + key.size() + 1));
    return rest.substr(0, rest.find_first_of("\r\n"));
}

// The work folder that a stub file gets: the temporary folder, "SETUP_" and
// the time of day of the file's last-write stamp as a packed DOS time.
std::string ExpectedWorkFolder(const std::string& setup)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    FILETIME local;
    WORD date = 0;
    WORD time = 0;
    GetFileAttributesExA(setup.c_str(), GetFileExInfoStandard, &data);
    FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    FileTimeToDosDateTime(&local, &date, &time);
    return TempDir(true) + "SETUP_" + IntToText(time);
}

class PackageRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = UniqueTempName("pkg run ");
        ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
        setup_ = folder_ + "\\setup.exe";
        result_ = folder_ + "\\result.txt";
        ASSERT_TRUE(CopyFileA(WinPath(TEST_ENGINE_EXE).c_str(), (folder_ + "\\Engine.exe").c_str(), FALSE));
        ASSERT_TRUE(PutFile(folder_ + "\\readme.txt", std::string(3000, 'r')));
    }
    void TearDown() override { DeleteTree(folder_, true); }

    void Build(int engineExit)
    {
        ASSERT_TRUE(PutFile(folder_ + "\\test_engine.ini", "[engine]\r\nResult=" + result_ + "\r\nExitCode=" +
                                                               IntToText(engineExit) + "\r\nDeleteAtom=1\r\n"));
        ASSERT_TRUE(PutFile(folder_ + "\\setup.ini", "[package]\nStub = " + WinPath(STUB_EXE) +
                                                         "\nOutput = setup.exe\n"
                                                         "[engine]\nFile = Engine.exe\n"
                                                         "[files]\ntest_engine.ini\nreadme.txt\n"));
        const Finished pack = RunAndWait(WinPath(VARNEL_PACK_EXE), "build \"" + folder_ + "\\setup.ini\"", 60000);
        ASSERT_TRUE(pack.ended);
        ASSERT_EQ(pack.code, 0u);
        ASSERT_TRUE(FileExists(setup_));
    }

    std::string folder_;
    std::string setup_;
    std::string result_;
};

TEST_F(PackageRun, SilentRunStartsTheEngineAndTakesItsExitCode)
{
    // 259 is the system's "still active" value: the stub must still see
    // the engine end and pass the code on.
    for (int engineExit : {37, 259}) {
        SCOPED_TRACE(engineExit);
        Build(engineExit);
        DeleteFileA(result_.c_str());
        const std::string work = ExpectedWorkFolder(setup_);

        const Finished run = RunAndWait(setup_, "/hide", 60000);
        ASSERT_TRUE(run.ended);
        EXPECT_EQ(run.code, static_cast<DWORD>(engineExit));

        const std::string report = SlurpFile(result_);
        const std::string command = ReportValue(report, "commandline");
        const std::string head = work + "\\Engine.exe /hide /TH_ID=_";
        const std::string tail = " /OriginExe=\"" + setup_ + "\"";
        ASSERT_TRUE(StartsWith(head, command, false)) << command;
        ASSERT_TRUE(EndsWith(tail, command, false)) << command;
        const std::string tag = command.substr(head.size(), command.size() - head.size() - tail.size());
        int64_t threadId = 0;
        EXPECT_TRUE(TryTextToInt64(tag, threadId) && threadId > 0) << tag;

        // The files lay in the work folder while the engine ran, the
        // completion atom was there for it, and the folder is gone after.
        EXPECT_TRUE(SameText(ReportValue(report, "programdir"), work + "\\")) << report;
        EXPECT_NE(Pos("file=readme.txt", report), 0) << report;
        EXPECT_NE(Pos("file=test_engine.ini", report), 0) << report;
        EXPECT_EQ(ReportValue(report, "atom"), "found");
        EXPECT_NE(Pos("\nend", report), 0);
        EXPECT_FALSE(FolderExists(work));
    }
}

// The check fails: the error box is shown (also to a silent deployment),
// no engine starts and the run ends with 1, not with success.
void ExpectCheckFailure(const std::string& setup, const std::string& result)
{
    HANDLE process = nullptr;
    DWORD processId = 0;
    ASSERT_TRUE(StartProgram(setup, "\"" + setup + "\" /hide", SW_HIDE, &process, &processId));
    HWND box = msgbox_driver::WaitForBox(processId, 0, 30000);
    ASSERT_NE(box, nullptr);
    msgbox_driver::BoxView view;
    ASSERT_TRUE(msgbox_driver::ReadBox(box, view));
    EXPECT_NE(Pos("Bad CRC!", view.text), 0) << view.text;
    EXPECT_EQ(view.title, "Error");
    ASSERT_FALSE(view.buttons.empty());
    msgbox_driver::ClickButton(view, 0);
    ASSERT_EQ(WaitForSingleObject(process, 30000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    EXPECT_EQ(code, 1u);
    EXPECT_FALSE(FileExists(result));
    EXPECT_FALSE(FolderExists(ExpectedWorkFolder(setup)));
}

TEST_F(PackageRun, DamagedPackageShowsTheErrorAndEndsWithOneWithoutEngine)
{
    Build(0);
    std::string bytes = SlurpFile(setup_);
    ASSERT_GT(bytes.size(), 200u);
    // A byte of the last entry's data, just before the trailer.
    bytes[bytes.size() - 74 - 20] ^= 0x5A;
    ASSERT_TRUE(PutFile(setup_, bytes));
    DeleteFileA(result_.c_str());
    ExpectCheckFailure(setup_, result_);
}

TEST_F(PackageRun, BareStubWithNothingAppendedFailsItsCheck)
{
    ASSERT_TRUE(CopyFileA(WinPath(STUB_EXE).c_str(), setup_.c_str(), FALSE));
    ExpectCheckFailure(setup_, result_);
}

}  // namespace
