// Package runs from several disk files and from a CD layout, and runs in
// folders whose paths hold blanks.
#include "msgbox_driver.h"
#include "stub_run_fixture.h"

namespace {

using namespace stub_run;

using MediaRun = StubRun;

std::string RandomBytes(std::size_t n, unsigned seed)
{
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i) {
        seed = seed * 1103515245u + 12345u;
        s[i] = static_cast<char>(seed >> 16);
    }
    return s;
}

DWORD FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ? data.nFileSizeLow : 0;
}

class SpannedRun : public MediaRun {
protected:
    // A package of three disk files: setup.exe, setup.exe.002, setup.exe.003.
    void BuildThreeDisks(int engineExit)
    {
        EngineDoes does;
        does.exitCode = engineExit;
        Engine(does);
        ASSERT_TRUE(PutFile(folder_ + "\\data.bin", RandomBytes(420 * 1024, 7)));
        Manifest m;
        const DWORD disk = FileSize(WinPath(STUB_EXE)) + 160 * 1024;
        m.package = "Compression = 0\nMaxDiskSize = " + IntToText(disk) + "\n";
        m.files += "data.bin\n";
        Build(m);
        ASSERT_TRUE(FileExists(setup_ + ".002"));
        ASSERT_TRUE(FileExists(setup_ + ".003"));
        ASSERT_FALSE(FileExists(setup_ + ".004"));
    }

    // The disk prompt of the run, once it is up.
    msgbox_driver::BoxView Prompt(const Started& run)
    {
        msgbox_driver::BoxView view;
        HWND box = msgbox_driver::WaitForBox(run.id(), 0, 30000);
        EXPECT_NE(box, nullptr);
        if (box)
            msgbox_driver::ReadBox(box, view);
        return view;
    }
};

TEST_F(SpannedRun, MissingDiskIsPromptedForUntilItsFileAppears)
{
    BuildThreeDisks(8);
    const std::string third = setup_ + ".003";
    ASSERT_TRUE(MoveFileA(third.c_str(), (third + ".away").c_str()));

    Started run(setup_, "");
    ASSERT_TRUE(run.ok());
    msgbox_driver::BoxView view = Prompt(run);
    EXPECT_EQ(view.title, "Attention");
    EXPECT_NE(Pos("Please insert DISK #3 and press OK to continue", view.text), 0) << view.text;
    EXPECT_EQ(msgbox_driver::BoldText(view), "|ATTENTION|DISK #3|");
    ASSERT_FALSE(view.buttons.empty());
    EXPECT_EQ(view.buttons[0].label, "&OK");

    // OK while the file is still missing: asked again.
    msgbox_driver::ClickButton(view, 0);
    ASSERT_TRUE(msgbox_driver::WaitGone(view.box, 10000));
    view = Prompt(run);
    EXPECT_NE(Pos("DISK #3", view.text), 0) << view.text;

    ASSERT_TRUE(MoveFileA((third + ".away").c_str(), third.c_str()));
    msgbox_driver::ClickButton(view, 0);
    const Finished f = run.Wait(60000);
    ASSERT_TRUE(f.ended);
    EXPECT_EQ(f.code, 8u);
    const std::string report = Report();
    EXPECT_NE(Pos("file=data.bin", report), 0) << report;
}

TEST_F(SpannedRun, CancelAtTheDiskPromptStartsNoEngine)
{
    BuildThreeDisks(8);
    ASSERT_TRUE(DeleteFileA((setup_ + ".002").c_str()));
    const std::string work = ExpectedWorkFolder(setup_);

    Started run(setup_, "");
    ASSERT_TRUE(run.ok());
    msgbox_driver::BoxView view = Prompt(run);
    EXPECT_NE(Pos("DISK #2", view.text), 0) << view.text;
    ASSERT_GE(view.buttons.size(), 2u);
    EXPECT_EQ(view.buttons[1].label, "&Cancel");
    msgbox_driver::ClickButton(view, 1);

    const Finished f = run.Wait(60000);
    ASSERT_TRUE(f.ended);
    EXPECT_EQ(f.code, 2u);
    EXPECT_FALSE(FileExists(result_));
    EXPECT_FALSE(FolderExists(work));
}

// Off until mended: under 64-bit Wine the engine's command line does not start
// with the expected work folder (cause not yet found).
TEST_F(MediaRun, DISABLED_CdLayoutRelaunchesFromACopyThatRemovesItself)
{
    EngineDoes does;
    does.exitCode = 9;
    Engine(does);
    Manifest m;
    m.package = "Layout = cd\n";
    Build(m);
    ASSERT_TRUE(FileExists(setup_ + ".001"));
    const std::string work = ExpectedWorkFolder(setup_);

    // The launcher starts its copy and ends at once.
    const Finished launcher = RunAndWait(setup_, "/hide", 30000);
    ASSERT_TRUE(launcher.ended);
    EXPECT_EQ(launcher.code, 0u);

    ASSERT_TRUE(WaitUntil([&] { return Pos("\nend", Report()) != 0; }, 60000)) << Report();
    const std::string report = Report();
    const std::string command = ReportValue(report, "commandline");
    EXPECT_TRUE(SameText(ReportValue(report, "programdir"), work + "\\")) << report;
    EXPECT_TRUE(StartsWith(work + "\\Engine.exe /hide /TH_ID=_", command, false)) << command;
    EXPECT_EQ(Occurrences("/OriginExe=\"" + setup_ + "\"", command), 1) << command;
    EXPECT_EQ(Pos("/OriginExe=", command), Pos("/OriginExe=\"" + setup_ + "\"", command)) << command;
    EXPECT_EQ(Pos("/SpanCdLvl=", command), 0) << command;
    EXPECT_EQ(Pos("/SpanDiskFName1=", command), 0) << command;

    // The copy, the unpacked files and the folder go once the copy ended.
    EXPECT_TRUE(WaitUntil([&] { return !FolderExists(work); }, 30000)) << work;
    EXPECT_TRUE(FileExists(setup_));
    EXPECT_TRUE(FileExists(setup_ + ".001"));
}

// The process environment's temporary folder, changed for the programs the
// test starts and restored afterwards.
class TempFolderOverride {
public:
    explicit TempFolderOverride(const std::string& folder)
    {
        Save("TMP", tmp_);
        Save("TEMP", temp_);
        SetEnvironmentVariableA("TMP", folder.c_str());
        SetEnvironmentVariableA("TEMP", folder.c_str());
    }
    ~TempFolderOverride()
    {
        SetEnvironmentVariableA("TMP", tmp_.empty() ? nullptr : tmp_.c_str());
        SetEnvironmentVariableA("TEMP", temp_.empty() ? nullptr : temp_.c_str());
    }

private:
    static void Save(const char* name, std::string& value)
    {
        char buffer[MAX_PATH] = {};
        if (GetEnvironmentVariableA(name, buffer, MAX_PATH) < MAX_PATH)
            value = buffer;
    }
    std::string tmp_;
    std::string temp_;
};

TEST_F(MediaRun, BlanksInThePackageTheTemporaryFolderAndTheEnginePaths)
{
    EngineDoes does;
    does.exitCode = 10;
    Engine(does);
    Manifest m;
    m.engine = "Name = Setup Engine.exe\n";
    Build(m);
    const std::string temp = folder_ + "\\my temp files";
    ASSERT_TRUE(CreateDirectoryA(temp.c_str(), nullptr));
    const std::string work = ExpectedWorkFolder(setup_, temp + "\\");

    Finished f;
    {
        TempFolderOverride override(temp);
        f = RunAndWait(setup_, "/hide", 60000);
    }
    ASSERT_TRUE(f.ended);
    EXPECT_EQ(f.code, 10u);
    const std::string command = ReportValue(Report(), "commandline");
    EXPECT_TRUE(StartsWith(work + "\\Setup Engine.exe /hide /TH_ID=_", command, false)) << command;
    EXPECT_TRUE(EndsWith(" /OriginExe=\"" + setup_ + "\"", command, false)) << command;
    EXPECT_FALSE(FolderExists(work));
}

}  // namespace
