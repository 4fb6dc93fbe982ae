// The engine's command line, switch removal, the megabyte figures of the
// space question and the exit codes of a package run.
#include <gtest/gtest.h>

#include "package/engine_command.h"

namespace {

TEST(RemoveSwitch, CutsTheSwitchItsValueAndTheBlankAfterIt)
{
    struct Case {
        const char* command;
        const char* name;
        const char* expected;
    } cases[] = {
        {"a /SpanCdLvl=2 /X", "/SpanCdLvl=", "a /X"},
        {"a /X /SpanCdLvl=2", "/SpanCdLvl=", "a /X "},
        {"a /SpanDiskFName1=\"C:\\My Disk\\s.001\" /OriginExe=\"x\"", "/SpanDiskFName1=", "a /OriginExe=\"x\""},
        // A quoted value holding "/" is cut at that "/".
        {"a /SpanDiskFName1=\"C:/d/s.001\" /Y", "/SpanDiskFName1=", "a /d/s.001\" /Y"},
        // Exact case; absent names leave the text alone.
        {"a /spancdlvl=2 /X", "/SpanCdLvl=", "a /spancdlvl=2 /X"},
        {"", "/SpanCdLvl=", ""},
        // Only the first occurrence goes.
        {"/SpanCdLvl=1 /SpanCdLvl=2", "/SpanCdLvl=", "/SpanCdLvl=2"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RemoveSwitch(c.command, c.name), c.expected) << c.command;
}

TEST(MegabytesText, DecimalsFollowTheSize)
{
    struct Case {
        double bytes;
        const char* expected;
    } cases[] = {
        {14147098, "13.5"},   {2097152, "2.00"},  {0, "0.000"},        {-5, "0.000"},
        {10485760, "10.00"},  {10485761, "10.0"}, {1048575, "1.000"},  {1048576, "1.00"},
        {524288, "0.500"},    {1, "0.000"},       {5242880000.0, "5000.0"},
        // Rounding carries into the whole part.
        {1048576.0 * 9.999, "10.00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MegabytesText(c.bytes), c.expected) << c.bytes;
}

EngineCommandInput Input()
{
    EngineCommandInput in;
    in.workFolder = "C:\\users\\me\\Temp\\SETUP_32012";
    in.engineSpec = "Engine.exe*";
    in.threadTag = ThreadTag(4711);
    in.programPath = "Z:\\dist\\setup.exe";
    return in;
}

TEST(EngineCommandLine, PlainRun)
{
    EXPECT_EQ(EngineCommandLine(Input()),
              "C:\\users\\me\\Temp\\SETUP_32012\\Engine.exe /TH_ID=_4711 /OriginExe=\"Z:\\dist\\setup.exe\"");
}

TEST(EngineCommandLine, SpecArgumentsFollowTheCallersBeforeTheThreadTag)
{
    EngineCommandInput in = Input();
    in.workFolder += "\\";
    in.engineSpec = " My Engine.exe * /q  /lang=2 ";
    in.arguments = "/user";
    in.agentProgram = true;
    EXPECT_EQ(EngineCommandLine(in), "C:\\users\\me\\Temp\\SETUP_32012\\My Engine.exe /user /q  /lang=2 /TH_ID=_4711 "
                                     "/OriginExe=\"Z:\\dist\\setup.exe\" /AutoUpdateProg");
}

TEST(EngineCommandLine, CdCopyArgumentsLoseTheSpanSwitchesAndKeepOneOrigin)
{
    EngineCommandInput in = Input();
    in.arguments = "/SpanCdLvl=2 /SpanDiskFName1=\"D:\\setup.exe.001\" /OriginExe=\"D:\\setup.exe\"";
    EXPECT_EQ(EngineCommandLine(in),
              "C:\\users\\me\\Temp\\SETUP_32012\\Engine.exe /OriginExe=\"D:\\setup.exe\" /TH_ID=_4711");
}

TEST(EngineNames, CarryTheThreadTag)
{
    EXPECT_EQ(CompletionAtomName(ThreadTag(4711)), "DykeOkjhbvLexzVbxadMiStvkik_4711");
    EXPECT_EQ(EngineDialogClass(ThreadTag(4711)), ".SDialog_Class_Name._4711");
    EXPECT_EQ(EngineFileOfSpec("Engine.exe"), "Engine.exe");
}

TEST(RunExitCode, FailuresAreNotReportedAsSuccess)
{
    EXPECT_EQ(RunExitCode(RunOutcome::EngineRan, 0), 0u);
    EXPECT_EQ(RunExitCode(RunOutcome::EngineRan, 259), 259u);
    EXPECT_EQ(RunExitCode(RunOutcome::EngineRan, 2), 2u);
    EXPECT_EQ(RunExitCode(RunOutcome::PackageFailed, 0), 1u);
    EXPECT_EQ(RunExitCode(RunOutcome::Declined, 0), 2u);
}

}  // namespace
