// The debug channel against the test viewer, and the trace log. The viewer
// owns the one window of class ".VDebug.", so these tests hold the ctest
// resource lock "debug_viewer".
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/debug_channel_win.h"
#include "support/start_program_win.h"
#include "support/trace_log_win.h"
#include "support/text.h"
#include "test_files.h"

namespace {

struct Viewer {
    HANDLE process = nullptr;
    std::string log;

    explicit Viewer(const std::string& extra)
    {
        log = UniqueTempName("vview") + ".log";
        const std::string exe = ToolPath("debug_viewer.exe");
        if (StartProgram(exe, exe + " /log=\"" + log + "\" " + extra, SW_HIDE, &process))
            WaitFor([] { return FindWindowA(DebugViewerClass, nullptr) != nullptr; }, 20000);
    }
    ~Viewer()
    {
        if (process) {
            TerminateProcess(process, 0);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
        DeleteFileA(log.c_str());
        DeleteFileA((log + ".pieces").c_str());
    }
    // The recorded pieces that hold marker.
    std::vector<std::string> PiecesWith(const std::string& marker)
    {
        std::vector<std::string> found;
        std::string text = SlurpFile(log + ".pieces");
        std::size_t at = 0;
        while (at < text.size()) {
            std::size_t colon = text.find(':', at);
            if (colon == std::string::npos)
                break;
            std::size_t length = static_cast<std::size_t>(TextToInt64(text.substr(at, colon - at), 0));
            std::string piece = text.substr(colon + 1, length);
            if (piece.find(marker) != std::string::npos)
                found.push_back(piece);
            at = colon + 1 + length + 1;
        }
        return found;
    }
};

}  // namespace

TEST(DebugChannel, WithoutViewerWritingNeverBlocks)
{
    ASSERT_EQ(FindWindowA(DebugViewerClass, nullptr), nullptr);
    DWORD start = GetTickCount();
    for (int i = 0; i < 200; ++i)
        DebugPidLine(" line without a viewer " + std::string(300, 'x'));
    EXPECT_LT(GetTickCount() - start, 2000u);
}

TEST(DebugChannel, LinesArriveIn128BytePieces)
{
    Viewer viewer("");
    ASSERT_NE(FindWindowA(DebugViewerClass, nullptr), nullptr);
    // Ten bytes that occur in every piece of this test only.
    const std::string marker = "Q" + PadLeft(IntToText(GetCurrentProcessId()), 8, '0') + ";";
    std::string line;
    while (line.size() < 300)
        line += marker;
    line.resize(300);
    DebugLine(line);
    std::vector<std::string> pieces = viewer.PiecesWith(marker);
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[0].size(), 128u);
    EXPECT_EQ(pieces[1].size(), 128u);
    EXPECT_EQ(pieces[2].size(), 46u);
    EXPECT_EQ(pieces[0] + pieces[1] + pieces[2], line + "\r\n");

    // Text without line end waits for it; the process id leads a pid line.
    DebugWrite("part one " + marker);
    EXPECT_TRUE(viewer.PiecesWith("part one " + marker).empty());
    DebugPidLine(" part two");
    EXPECT_NE(SlurpFile(viewer.log).find("part one " + marker + IntToText(GetCurrentProcessId()) +
                                         " part two\r\n"),
              std::string::npos);
}

TEST(DebugChannel, HungViewerDoesNotHoldUpTheProgram)
{
    Viewer viewer("/hang");
    ASSERT_NE(FindWindowA(DebugViewerClass, nullptr), nullptr);
    DWORD start = GetTickCount();
    for (int i = 0; i < 20; ++i)
        DebugLine("to a hung viewer " + std::string(200, 'h'));
    EXPECT_LT(GetTickCount() - start, 3 * DebugSendTimeout + 1000);
}

TEST(TraceLog, LinesInTheirFormat)
{
    const std::string path = TracePath();
    EXPECT_TRUE(SameText(path, ProgramDir(true) + "X_debug_channel_tests.log")) << path;
    DeleteFileA(path.c_str());
    TraceLine("not written while off");
    EXPECT_FALSE(PathExists(path));

    SetTraceLogOn(true);
    SetTracePrefix(" X ");
    const std::string before = ShortDateTimeText(NowDateTime());
    TraceLine("Download START");
    const std::string after = ShortDateTimeText(NowDateTime());
    SetTracePrefix("   ");
    TraceLine("");
    const std::string text = SlurpFile(path);
    const std::string id = PadLeft(IntToText(GetCurrentThreadId()), 5, ' ');
    ASSERT_GT(text.size(), 17u);
    const std::string stamp = text.substr(0, 17);
    EXPECT_TRUE(stamp == before || stamp == after) << stamp;
    EXPECT_EQ(text.substr(17), " " + id + " X Download START\r\n" + text.substr(42, 17) + " " + id + "   \r\n");
    DeleteFileA(path.c_str());
}
