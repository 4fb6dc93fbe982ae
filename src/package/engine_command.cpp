#include "package/engine_command.h"

#include "support/numbers.h"
#include "support/paths.h"
#include "support/text.h"

std::string ThreadTag(uint32_t threadId)
{
    return "_" + IntToText(threadId);
}

std::string CompletionAtomName(const std::string& threadTag)
{
    return CompletionAtomStem + threadTag;
}

std::string EngineDialogClass(const std::string& threadTag)
{
    return EngineDialogClassStem + threadTag;
}

std::string RemoveSwitch(const std::string& command, const std::string& name)
{
    const int p = Pos(name, command);
    if (p == 0)
        return command;
    std::string result = command;
    const std::size_t start = static_cast<std::size_t>(p - 1);
    std::size_t end = start;
    // The switch's own "/" is the first character; the cut ends at the next.
    if (end < result.size() && result[end] == '/')
        ++end;
    while (end < result.size() && result[end] != '/')
        ++end;
    result.erase(start, end - start);
    return result;
}

std::string MegabytesText(double bytes)
{
    double mb = bytes > 0 ? bytes / 1048576.0 : 0.0;
    int decimals = mb > 10 ? 1 : (mb >= 1 ? 2 : 3);
    int64_t scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    // Half away from zero, as a fixed-point rendering rounds.
    const int64_t scaled = static_cast<int64_t>(mb * static_cast<double>(scale) + 0.5);
    const std::string whole = IntToText(scaled / scale);
    const std::string fraction = ZeroPad(scaled % scale, decimals);
    return whole + "." + fraction;
}

std::string EngineFileOfSpec(const std::string& engineSpec)
{
    const int star = Pos("*", engineSpec);
    return star == 0 ? engineSpec : Trim(engineSpec.substr(0, static_cast<std::size_t>(star - 1)));
}

std::string EngineCommandLine(const EngineCommandInput& in)
{
    std::string arguments = in.arguments;
    const int star = Pos("*", in.engineSpec);
    if (star != 0)
        arguments = Trim(arguments + " " + Trim(in.engineSpec.substr(static_cast<std::size_t>(star))));
    std::string command = SetTrailingBackslash(in.workFolder, true) + EngineFileOfSpec(in.engineSpec);
    if (!arguments.empty())
        command += " " + arguments;
    command += " /TH_ID=" + in.threadTag;
    if (Pos("/OriginExe=", command) == 0)
        command += " /OriginExe=\"" + in.programPath + "\"";
    if (in.agentProgram)
        command += " /AutoUpdateProg";
    command = RemoveSwitch(command, "/SpanCdLvl=");
    command = RemoveSwitch(command, "/SpanDiskFName1=");
    return command;
}

uint32_t RunExitCode(RunOutcome outcome, uint32_t engineExitCode)
{
    switch (outcome) {
    case RunOutcome::EngineRan:
        return engineExitCode;
    case RunOutcome::Declined:
        return ExitDeclined;
    case RunOutcome::PackageFailed:
    default:
        return ExitPackageFailed;
    }
}
