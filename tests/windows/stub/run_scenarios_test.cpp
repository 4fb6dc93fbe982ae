// Package runs as users and deployments meet them: started twice, silent,
// with the space question, with an engine whose dialog outlives it, and
// with the shortcut clean-up after a successful engine.
#include "msgbox_driver.h"
#include "stub_run_fixture.h"

namespace {

using namespace stub_run;

using RunScenario = StubRun;

TEST_F(RunScenario, SecondStartOfTheSamePackageDoesNothing)
{
    EngineDoes does;
    does.exitCode = 5;
    does.dialogMs = 4000;
    Engine(does);
    Build(Manifest());

    Started first(setup_, "/hide");
    ASSERT_TRUE(first.ok());
    ASSERT_TRUE(WaitUntil([&] { return Pos("atom=", Report()) != 0; }, 30000)) << "the engine did not start";

    // The first run's window (class = the program's full path) is there:
    // the second process ends at once, starts no engine and reports 0.
    const Finished second = RunAndWait(setup_, "/hide", 30000);
    ASSERT_TRUE(second.ended);
    EXPECT_EQ(second.code, 0u);
    EXPECT_TRUE(first.Running());

    const Finished f = first.Wait(60000);
    ASSERT_TRUE(f.ended);
    EXPECT_EQ(f.code, 5u);
    EXPECT_EQ(Occurrences("commandline=", Report()), 1) << Report();
}

// Seen from outside while the run lasts: was the main window ever visible,
// did a message box appear.
struct Watched {
    Finished end;
    bool windowShown = false;
    bool boxShown = false;
};

Watched WatchRun(const std::string& setup, const std::string& arguments)
{
    Watched w;
    Started run(setup, arguments);
    if (!run.ok())
        return w;
    const DWORD start = GetTickCount();
    while (run.Running() && GetTickCount() - start < 60000) {
        HWND main = FindWindowA(setup.c_str(), nullptr);
        if (main && IsWindowVisible(main))
            w.windowShown = true;
        if (msgbox_driver::WaitForBox(run.id(), 0, 0))
            w.boxShown = true;
        Sleep(40);
    }
    w.end = run.Wait(1000);
    return w;
}

TEST_F(RunScenario, SilentRunsShowNothingAndStartTheEngineHidden)
{
    // The temporary-drive notice would ask a question in the foreground.
    struct Case {
        const char* arguments;
        bool silentInstall;
        bool shown;
    } cases[] = {
        {"/hide", false, false},
        {"", true, false},
        {"", false, true},  // the ordinary run, for contrast
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.arguments) + (c.silentInstall ? " SilentInstall" : ""));
        EngineDoes does;
        does.exitCode = 3;
        Engine(does);
        Manifest m;
        m.package = c.shown ? "" : "ShowTempNotice = 1\n";
        if (c.silentInstall)
            m.settings = "SilentInstall = 1\n";
        Build(m);

        const Watched w = WatchRun(setup_, c.arguments);
        ASSERT_TRUE(w.end.ended);
        EXPECT_EQ(w.end.code, 3u);
        EXPECT_EQ(w.windowShown, c.shown);
        EXPECT_FALSE(w.boxShown);
        EXPECT_EQ(ReportValue(Report(), "showwindow"), IntToText(c.shown ? SW_SHOW : SW_HIDE)) << Report();
    }
}

TEST_F(RunScenario, TempNoticeAsksAndNoUnpacksNothing)
{
    for (bool yes : {false, true}) {
        SCOPED_TRACE(yes ? "Yes" : "No");
        EngineDoes does;
        does.exitCode = 4;
        Engine(does);
        Manifest m;
        m.package = "ShowTempNotice = 1\n";
        Build(m);
        const std::string work = ExpectedWorkFolder(setup_);

        Started run(setup_, "");
        ASSERT_TRUE(run.ok());
        HWND box = msgbox_driver::WaitForBox(run.id(), 0, 30000);
        ASSERT_NE(box, nullptr);
        msgbox_driver::BoxView view;
        ASSERT_TRUE(msgbox_driver::ReadBox(box, view));
        EXPECT_EQ(view.title, "Confirm");
        const std::string drive = TempDir(true).substr(0, 2);
        EXPECT_NE(Pos("Varnel will extract files to your Temp Drive (" + drive + ")", view.text), 0) << view.text;
        EXPECT_NE(Pos("Estimated space required on your Temp drive is:", view.text), 0) << view.text;
        EXPECT_NE(Pos("Continue with Setup?", view.text), 0) << view.text;
        // Nothing is unpacked before the answer.
        EXPECT_FALSE(FileExists(work + "\\readme.txt"));
        ASSERT_EQ(view.buttons.size(), 2u);
        EXPECT_EQ(view.buttons[0].label, "&Yes");
        EXPECT_EQ(view.buttons[1].label, "&No");
        msgbox_driver::ClickButton(view, yes ? 0 : 1);

        const Finished f = run.Wait(60000);
        ASSERT_TRUE(f.ended);
        EXPECT_EQ(f.code, yes ? 4u : 2u);
        EXPECT_EQ(FileExists(result_), yes);
        EXPECT_FALSE(FolderExists(work));
    }
}

TEST_F(RunScenario, EngineDialogThatOutlivesTheEngineKeepsTheStubWaiting)
{
    EngineDoes does;
    does.exitCode = 6;
    does.dialogMs = 3000;
    does.dialogDetached = true;
    Engine(does);
    Build(Manifest());

    const Finished f = RunAndWait(setup_, "/hide", 60000);
    ASSERT_TRUE(f.ended);
    EXPECT_EQ(f.code, 6u);
    // The engine ended before its dialog closed; the stub ended after it.
    const std::string report = Report();
    const std::size_t end = report.find("\nend");
    const std::size_t closed = report.find("dialogclosed");
    ASSERT_NE(end, std::string::npos) << report;
    ASSERT_NE(closed, std::string::npos) << report;
    EXPECT_LT(end, closed) << report;
}

TEST_F(RunScenario, SuccessfulEngineRemovesTheShortcutsTheSettingsFilesName)
{
    const std::string startUp = folder_ + "\\StartUp link.lnk";
    const std::string check = folder_ + "\\Check link.lnk";
    struct Case {
        bool atomDeleted;
        const char* removeStartUp;
        const char* removeCheck;
        bool startUpGone;
        bool checkGone;
    } cases[] = {
        {true, "1", "1", true, true},
        {true, "1", "0", true, false},
        {true, "", "1", false, true},
        {false, "1", "1", false, false},  // the engine kept the token: no success
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.atomDeleted ? "deleted " : "kept ") + c.removeStartUp + "/" + c.removeCheck);
        ASSERT_TRUE(PutFile(startUp, "link"));
        ASSERT_TRUE(PutFile(check, "link"));
        ASSERT_TRUE(PutFile(folder_ + "\\App.original", "[UnInstall]\r\nStartUpLink=" + startUp +
                                                            "\r\nCheckforNewUpdateLink=" + check + "\r\n"));
        ASSERT_TRUE(PutFile(folder_ + "\\App.info", std::string("[NewSetup]\r\nRemoveStartUpShortcut=") +
                                                        c.removeStartUp + "\r\nRemoveCheckForNewUpdateShortcut=" +
                                                        c.removeCheck + "\r\n"));
        EngineDoes does;
        does.deleteAtom = c.atomDeleted;
        Engine(does);
        Manifest m;
        m.settings = "InfoFileName = App.info\n";
        Build(m);

        const Finished f = RunAndWait(setup_, "/hide", 60000);
        ASSERT_TRUE(f.ended);
        EXPECT_EQ(f.code, 0u);
        EXPECT_EQ(ReportValue(Report(), "atom"), "found");
        EXPECT_EQ(FileExists(startUp), !c.startUpGone);
        EXPECT_EQ(FileExists(check), !c.checkGone);
    }
}

}  // namespace
