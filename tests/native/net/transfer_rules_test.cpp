#include <gtest/gtest.h>

#include "net/transfer_rules.h"

namespace {

// 11 December 2026 10:20:30 packs to 0x5D8B528F.
constexpr uint32_t Stamp = 0x5D8B528Fu;

TEST(PartFile, NumberIsLengthPlusStampWrappingSigned32Bit)
{
    EXPECT_EQ(LastModifiedStamp(2026, 12, 11, 10, 20, 30), Stamp);
    EXPECT_EQ(PartFileNumber(1000000, Stamp), 1570411727);
    EXPECT_EQ(PartFileNumber(1000000000, Stamp), -1725555569);
    EXPECT_EQ(PartFileNumber(1000000, 0), 1000000);
    EXPECT_EQ(PartFilePath("C:\\Temp\\setup.exe", 1000000000, Stamp), "C:\\Temp\\setup.exe.-1725555569");
}

TEST(PartFile, DatesThePackedFormCannotHoldGiveNoStamp)
{
    EXPECT_EQ(LastModifiedStamp(1979, 12, 31, 23, 59, 59), 0u);
    EXPECT_EQ(LastModifiedStamp(2108, 1, 1, 0, 0, 0), 0u);
    EXPECT_EQ(LastModifiedStamp(2025, 2, 29, 0, 0, 0), 0u);
    EXPECT_EQ(LastModifiedStamp(2025, 13, 1, 0, 0, 0), 0u);
    EXPECT_EQ(LastModifiedStamp(0, 0, 0, 0, 0, 0), 0u);
    EXPECT_NE(LastModifiedStamp(2024, 2, 29, 0, 0, 0), 0u);
}

TEST(PartFile, OnlyTheDestinationWithADecimalNumberIsAPartFile)
{
    struct Case {
        const char* destination;
        const char* name;
        bool part;
    } cases[] = {
        {"App", "App.1570411727", true},
        {"App", "app.-1725555569", true},
        {"C:\\Program Files\\App\\App", "App.0", true},
        {"App", "App.exe", false},
        {"App", "App.original", false},
        {"App", "App.AutoUpdate.exe", false},
        {"App", "App.", false},
        {"App", "App.-", false},
        {"App", "App.12a", false},
        {"App", "App.1.2", false},
        {"App", "Apple.12", false},
        {"App", "App12", false},
        {"setup.exe", "setup.exe.42", true},
        {"setup.exe", "setup.42", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsPartFileName(c.destination, c.name), c.part) << c.destination << " / " << c.name;
}

TEST(Blocks, TenStepsPerTransferAtMost10240BytesEach)
{
    struct Case {
        int64_t size;
        int64_t block;
        int64_t high;
    } cases[] = {
        {100000, 10000, 11},
        {1000000, 10240, 99},
        {5, 1, 6},
        {9, 1, 10},
        {10, 1, 11},
        {250, 25, 11},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TransferBlockSize(c.size), c.block) << c.size;
        EXPECT_EQ(ProgressRangeHigh(c.size, TransferBlockSize(c.size)), c.high) << c.size;
    }
    EXPECT_EQ(ProgressPosition(40960, 10240), 4);
    EXPECT_EQ(ProgressPosition(0, 10240), 0);
    EXPECT_EQ(ProgressPosition(15360, 10240), 2);
}

TEST(Blocks, PiecesAreSplitAtBlockBoundariesCountedFromTheStart)
{
    EXPECT_EQ(BytesToBlockEnd(0, 0, 10240), 10240);
    EXPECT_EQ(BytesToBlockEnd(10240, 0, 10240), 10240);
    EXPECT_EQ(BytesToBlockEnd(10000, 0, 10240), 240);
    // A resumed transfer counts its blocks from where it resumed.
    EXPECT_EQ(BytesToBlockEnd(40000, 40000, 10240), 10240);
    EXPECT_EQ(BytesToBlockEnd(45000, 40000, 10240), 5240);
}

TEST(Range, OnlyA206WithTheAskedRangeIsTaken)
{
    struct Case {
        int status;
        const char* range;
        bool accepted;
    } cases[] = {
        {206, "bytes 40960-99999/100000", true},
        {206, "bytes 40960-99999/*", true},
        {206, "  BYTES 40960-99999/100000 ", true},
        {200, "", false},
        {200, "bytes 40960-99999/100000", false},
        {206, "bytes 0-99999/100000", false},
        {206, "bytes 40960-50000/100000", false},
        {206, "bytes 40960-99999/120000", false},
        {206, "", false},
        {206, "bytes 40960-/100000", false},
        {206, "bytes x-99999/100000", false},
        {416, "bytes */100000", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RangeAnswerAccepted(c.status, c.range, 40960, 100000), c.accepted) << c.status << " " << c.range;
    EXPECT_EQ(RangeHeader(40960), "Range: bytes=40960-\r\n");
}

TEST(Texts, ShortAndOversizedTransfersNameTheirFigures)
{
    EXPECT_EQ(IncompleteText(40960, 100000), "Download incomplete: 40960 of 100000 Bytes");
    EXPECT_NE(TooLargeText(20000000).find("20000000"), std::string::npos);
}

}  // namespace

namespace {

TEST(Pieces, GrowWhileDataFlowsAndShrinkOnASlowLine)
{
    EXPECT_EQ(NextReadPiece(10240, 10240, 3, true), 20480);
    EXPECT_EQ(NextReadPiece(786432, 10240, 3, true), MaxReadPiece);
    EXPECT_EQ(NextReadPiece(MaxReadPiece, 10240, 3, true), MaxReadPiece);
    EXPECT_EQ(NextReadPiece(40960, 10240, 3, false), 40960);
    EXPECT_EQ(NextReadPiece(40960, 10240, 100, true), 40960);
    EXPECT_EQ(NextReadPiece(40960, 10240, 500, true), 20480);
    EXPECT_EQ(NextReadPiece(10240, 10240, 5000, true), 10240);
    // A file of 10 bytes reads one byte a block.
    EXPECT_EQ(NextReadPiece(1, 1, 5000, false), 1);
}

}  // namespace
