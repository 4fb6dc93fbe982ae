#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/host_facts.h"
#include "support/system_rules.h"
#include "support/trace_format.h"

namespace {

void Collect(const char* bytes, int count, void* context)
{
    static_cast<std::vector<std::string>*>(context)->push_back(std::string(bytes, count));
}

}  // namespace

TEST(TraceLog, PathNextToTheProgram)
{
    EXPECT_EQ(TraceLogPathFor("C:\\Apps\\X_Tool.exe", "C:\\Apps\\"), "C:\\Apps\\X_Tool.log");
    EXPECT_EQ(TraceLogPathFor("C:\\Apps\\x_Tool.exe", "C:\\Apps\\"), "C:\\Apps\\X_x_Tool.log");
    EXPECT_EQ(TraceLogPathFor("C:\\Apps\\App.AutoUpdate.exe", "C:\\Apps\\"), "C:\\Apps\\X_App.AutoUpdate.log");
    EXPECT_EQ(TraceLogPathFor("C:\\Apps\\X_App.AutoUpdate.exe", "C:\\Apps\\"), "C:\\Apps\\X_App.AutoUpdate.log");
    EXPECT_EQ(TraceLogPathFor("C:\\Apps.d\\Agent", "C:\\Apps.d\\"), "C:\\Apps.d\\X_Agent.log");
}

TEST(TraceLog, LineFormat)
{
    CivilTime t{2026, 12, 9, 14, 5, 9, 0};
    EXPECT_EQ(TraceLineText(EncodeDateTime(t), 812, " X ", "Download START"),
              "09/12/26 14:05:09   812 X Download START\r\n");
    EXPECT_EQ(TraceLineText(EncodeDateTime(t), 1234567, "   ", ""), "09/12/26 14:05:09 1234567   \r\n");
    SetLocaleSeparators(".", "-");
    EXPECT_EQ(TraceLineText(EncodeDateTime(t), 4, "   ", "x"), "09.12.26 14-05-09     4   x\r\n");
    SetLocaleSeparators("/", ":");
}

TEST(DebugPieces, LinesAreCutInto128BytePieces)
{
    struct Case {
        std::size_t length;
        std::vector<int> pieces;
    } cases[] = {
        {300, {128, 128, 46}},  // 44 bytes and the line end in the last piece
        {126, {128}},           // text and line end fill exactly one piece
        {127, {128, 1}},        // the LF alone follows
        {0, {2}},
        {256, {128, 128, 2}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> got;
        DebugPieceBuffer buffer(Collect, &got);
        std::string line;
        for (std::size_t i = 0; i < c.length; ++i)
            line += static_cast<char>('a' + i % 26);
        buffer.WriteLine(line);
        std::vector<int> sizes;
        std::string joined;
        for (const std::string& p : got) {
            sizes.push_back(static_cast<int>(p.size()));
            joined += p;
        }
        EXPECT_EQ(sizes, c.pieces) << c.length;
        EXPECT_EQ(joined, line + "\r\n") << c.length;
    }
}

TEST(DebugPieces, TextWithoutLineEndWaitsForFlush)
{
    std::vector<std::string> got;
    DebugPieceBuffer buffer(Collect, &got);
    buffer.Write("12345 ");
    EXPECT_TRUE(got.empty());
    buffer.WriteLine("text");
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0], "12345 text\r\n");
    buffer.Flush();  // nothing held: nothing sent
    EXPECT_EQ(got.size(), 1u);
}

namespace {

// A sink that writes while its piece is delivered, as a window procedure
// that runs during the send may do.
struct Reentrant {
    DebugPieceBuffer* buffer;
    std::vector<std::string> got;
};

void WriteWhileDelivering(const char* bytes, int count, void* context)
{
    Reentrant* r = static_cast<Reentrant*>(context);
    r->got.push_back(std::string(bytes, count));
    if (r->got.size() == 1)
        r->buffer->WriteLine("inner");
}

}  // namespace

TEST(DebugPieces, TextWrittenDuringDeliveryIsKept)
{
    Reentrant r{nullptr, {}};
    DebugPieceBuffer buffer(WriteWhileDelivering, &r);
    r.buffer = &buffer;
    buffer.WriteLine("outer");
    ASSERT_EQ(r.got.size(), 2u);
    EXPECT_EQ(r.got[0], "outer\r\n");
    EXPECT_EQ(r.got[1], "inner\r\n");
}

TEST(PumpingWaits, StepFromTheWait)
{
    struct Case {
        int64_t ms;
        int64_t step;
        int64_t expected;
    } cases[] = {{1000, 0, 25}, {50, 0, 5}, {5, 0, 1}, {0, 0, 1}, {100000, 0, 25}, {1000, 7, 7}};
    for (const Case& c : cases)
        EXPECT_EQ(DelayPumpingStep(c.ms, c.step), c.expected) << c.ms << " " << c.step;
}

TEST(WorkArea, CentredOrigin)
{
    BoxOrigin o = CentredOrigin(0, 0, 1024, 738, 301, 200);
    EXPECT_EQ(o.x, 361);
    EXPECT_EQ(o.y, 269);
    // A box larger than the area: halves truncated toward zero.
    o = CentredOrigin(0, 30, 800, 600, 1001, 575);
    EXPECT_EQ(o.x, -100);
    EXPECT_EQ(o.y, 28);  // 30 + (-5) / 2
}
