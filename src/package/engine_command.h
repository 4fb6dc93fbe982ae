// The texts of the extraction run that need no system call: the engine's
// command line, the names the engine shares with the stub, switch removal,
// the megabyte figures of the space question and the run's exit code.
#pragma once

#include <cstdint>
#include <string>

// The global atom that the engine deletes when it succeeded.
constexpr const char* CompletionAtomStem = "DykeOkjhbvLexzVbxadMiStvkik";
// The class of the engine's dialog windows.
constexpr const char* EngineDialogClassStem = ".SDialog_Class_Name.";

// "_" and the decimal thread id.
std::string ThreadTag(uint32_t threadId);
std::string CompletionAtomName(const std::string& threadTag);
std::string EngineDialogClass(const std::string& threadTag);

// Removes the first occurrence of name (exact case) and everything after
// it up to the next "/" or the end: the switch, its value and the blank
// after it. A quoted value holding "/" is cut at that "/".
std::string RemoveSwitch(const std::string& command, const std::string& name);

// Megabytes with 3 decimals below 1 MB, 2 up to 10 MB, 1 above; "." as the
// decimal point. Negative counts read as 0.
std::string MegabytesText(double bytes);

struct EngineCommandInput {
    std::string workFolder;   // with or without trailing backslash
    std::string engineSpec;   // the engine entry's name item, "Engine.exe*" or "Engine.exe* /x"
    std::string arguments;    // the caller's arguments (the stub's command tail)
    std::string threadTag;    // "_1234"
    std::string programPath;  // the running stub
    bool agentProgram = false;
};

// The engine file of an engine spec: the trimmed text before the first
// "*", or the whole spec when it holds none.
std::string EngineFileOfSpec(const std::string& engineSpec);

// The command line the engine is started with: the engine's full path, the
// arguments (the caller's, then the spec's extra ones), /TH_ID=, /OriginExe=
// with the quoted program path unless the arguments carry one,
// /AutoUpdateProg for an agent, and without the two disk-spanning switches.
std::string EngineCommandLine(const EngineCommandInput& in);

// How a package run ended, and the exit code of the process for it.
enum class RunOutcome {
    EngineRan,       // the engine's own exit code
    PackageFailed,   // failed its check, could not be read, had no engine, or the engine did not start
    Declined,        // No to the space question, or a cancelled disk prompt
};
constexpr uint32_t ExitPackageFailed = 1;
constexpr uint32_t ExitDeclined = 2;
uint32_t RunExitCode(RunOutcome outcome, uint32_t engineExitCode);
