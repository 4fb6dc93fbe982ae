// A package run end to end under Wine: a package built by varnel-pack from
// the test engine, started as a user or a silent deployment would start it.
#include "msgbox_driver.h"
#include "stub_run_fixture.h"

namespace {

using namespace stub_run;

using PackageRun = StubRun;

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
