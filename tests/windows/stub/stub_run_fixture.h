// What the end-to-end runs of stub.exe share: a folder holding the test
// engine and a few files, a manifest built from parts, varnel-pack to turn
// it into a setup, and ways to start the setup and read the engine's report.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "../support/test_files.h"
#include "support/files_win.h"
#include "support/numbers.h"
#include "support/start_program_win.h"
#include "support/system_win.h"
#include "support/text.h"

namespace stub_run {

// Build-tree paths as the Windows side sees them.
inline std::string WinPath(const std::string& unixPath)
{
    return "Z:" + ReplaceChar(unixPath, '/', '\\');
}

struct Finished {
    bool ended = false;
    DWORD code = 0;
    DWORD processId = 0;
};

// A started process; ends it (code 99) if a test leaves it running.
class Started {
public:
    Started(const std::string& exe, const std::string& arguments)
    {
        StartProgram(exe, "\"" + exe + "\" " + arguments, SW_HIDE, &process_, &id_);
    }
    ~Started()
    {
        if (process_) {
            if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT)
                TerminateProcess(process_, 99);
            CloseHandle(process_);
        }
    }
    Started(const Started&) = delete;
    Started& operator=(const Started&) = delete;

    bool ok() const { return process_ != nullptr; }
    DWORD id() const { return id_; }
    bool Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }
    Finished Wait(DWORD timeoutMs)
    {
        Finished f;
        f.processId = id_;
        if (!process_)
            return f;
        f.ended = WaitForSingleObject(process_, timeoutMs) == WAIT_OBJECT_0;
        GetExitCodeProcess(process_, &f.code);
        return f;
    }

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

inline Finished RunAndWait(const std::string& exe, const std::string& arguments, DWORD timeoutMs)
{
    Started run(exe, arguments);
    return run.Wait(timeoutMs);
}

// The value of a "key=" line of the engine's report.
inline std::string ReportValue(const std::string& report, const std::string& key)
{
    const int p = Pos("\n" + key + "=", "\n" + report);
    if (p == 0)
        return "";
    std::string rest = report.substr(static_cast<std::size_t>(p - 1 + key.size() + 1));
    return rest.substr(0, rest.find_first_of("\r\n"));
}

inline int Occurrences(const std::string& what, const std::string& text)
{
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size()))
        ++n;
    return n;
}

// The work folder that a stub file gets: the temporary folder, "SETUP_" and
// the time of day of the file's last-write stamp as a packed DOS time.
inline std::string ExpectedWorkFolder(const std::string& setup, const std::string& tempDir = TempDir(true))
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    FILETIME local;
    WORD date = 0;
    WORD time = 0;
    GetFileAttributesExA(setup.c_str(), GetFileExInfoStandard, &data);
    FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    FileTimeToDosDateTime(&local, &date, &time);
    return tempDir + "SETUP_" + IntToText(time);
}

// Polls a condition every 50 ms for up to timeoutMs.
template <class Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(50);
    }
    return true;
}

// The parts of a package manifest; Build() writes and packs it.
struct Manifest {
    std::string package;   // extra [package] lines
    std::string settings;  // [settings] lines
    std::string engine;    // extra [engine] lines
    std::string files = "test_engine.ini\nreadme.txt\n";
};

// The engine's instructions (test_engine.ini keys besides Result).
struct EngineDoes {
    int exitCode = 0;
    bool deleteAtom = true;
    int dialogMs = 0;
    bool dialogDetached = false;
};

class StubRun : public ::testing::Test {
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

    void Engine(const EngineDoes& does)
    {
        ASSERT_TRUE(PutFile(folder_ + "\\test_engine.ini",
                            "[engine]\r\nResult=" + result_ + "\r\nExitCode=" + IntToText(does.exitCode) +
                                "\r\nDeleteAtom=" + (does.deleteAtom ? "1" : "0") +
                                "\r\nDialogMs=" + IntToText(does.dialogMs) +
                                "\r\nDialogDetached=" + (does.dialogDetached ? "1" : "0") + "\r\n"));
        DeleteFileA(result_.c_str());
    }

    void Build(const Manifest& m)
    {
        std::string text = "[package]\nStub = " + WinPath(STUB_EXE) + "\nOutput = setup.exe\n" + m.package;
        if (!m.settings.empty())
            text += "[settings]\n" + m.settings;
        text += "[engine]\nFile = Engine.exe\n" + m.engine + "[files]\n" + m.files;
        ASSERT_TRUE(PutFile(folder_ + "\\setup.ini", text));
        const Finished pack = RunAndWait(WinPath(VARNEL_PACK_EXE), "build \"" + folder_ + "\\setup.ini\"", 60000);
        ASSERT_TRUE(pack.ended);
        ASSERT_EQ(pack.code, 0u);
        ASSERT_TRUE(FileExists(setup_));
    }

    void Build(int engineExit)
    {
        EngineDoes does;
        does.exitCode = engineExit;
        Engine(does);
        Build(Manifest());
    }

    std::string Report() const { return SlurpFile(result_); }

    std::string folder_;
    std::string setup_;
    std::string result_;
};

}  // namespace stub_run
