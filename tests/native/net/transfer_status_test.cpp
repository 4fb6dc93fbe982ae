#include <gtest/gtest.h>

#include "net/transfer_status.h"

namespace {

TEST(TransferStatus, RateOverTheLastFiveUpdates)
{
    // 32,768 bytes in the five updates over 625 ms: 51.2 KB per second.
    TransferRate rate;
    rate.Reset(1000);
    const uint32_t ticks[] = {1000, 1125, 1250, 1375, 1625};
    const int64_t counts[] = {4096, 8192, 8192, 8192, 4096};
    for (int i = 0; i < 5; ++i)
        rate.Update(ticks[i], counts[i]);
    EXPECT_EQ(rate.StatusText(524288, 2097152), "524288/2097152 Bytes   51.20 KB/Sec");
    // The sixth update drops the first: 8192*3 + 4096 + 2048 over 375 ms.
    rate.Update(1750, 2048);
    double kb = 0;
    ASSERT_TRUE(rate.Rate(kb));
    EXPECT_NEAR(kb, (8192.0 * 3 + 4096 + 2048) / 0.625 / 1024, 1e-9);
}

TEST(TransferStatus, NoRateBeforeTimeHasPassedAndTheResetCountsAsTheOldest)
{
    TransferRate rate;
    rate.Reset(500);
    EXPECT_EQ(rate.StatusText(0, 1000), "0/1000 Bytes   ");
    rate.Update(1500, 1024);
    EXPECT_EQ(rate.StatusText(1024, 1000000), "1024/1000000 Bytes   1.00 KB/Sec");
}

TEST(TransferStatus, TickCounterWrapKeepsTheSpan)
{
    TransferRate rate;
    rate.Reset(0xFFFFFF00u);
    rate.Update(0x100u, 512);
    EXPECT_EQ(rate.StatusText(512, 512), "512/512 Bytes   0.98 KB/Sec");
}

TEST(TransferStatus, TwoDecimals)
{
    EXPECT_EQ(TwoDecimalsText(0), "0.00");
    EXPECT_EQ(TwoDecimalsText(51.2), "51.20");
    EXPECT_EQ(TwoDecimalsText(0.005), "0.01");
    EXPECT_EQ(TwoDecimalsText(123456.789), "123456.79");
    EXPECT_EQ(TwoDecimalsText(-3), "0.00");
}

}  // namespace
