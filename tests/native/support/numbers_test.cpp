#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

#include "support/numbers.h"

namespace {

TEST(IntToText, DecimalOverTheWholeRange)
{
    EXPECT_EQ(IntToText(0), "0");
    EXPECT_EQ(IntToText(-17), "-17");
    EXPECT_EQ(IntToText(1234567890123), "1234567890123");
    EXPECT_EQ(IntToText(INT64_MAX), "9223372036854775807");
    EXPECT_EQ(IntToText(INT64_MIN), "-9223372036854775808");
}

TEST(ZeroPad, PadsButNeverCuts)
{
    EXPECT_EQ(ZeroPad(2, 3), "002");
    EXPECT_EQ(ZeroPad(9, 2), "09");
    EXPECT_EQ(ZeroPad(0, 3), "000");
    EXPECT_EQ(ZeroPad(12345, 3), "12345");
    EXPECT_EQ(ZeroPad(5, 0), "5");
    EXPECT_EQ(ZeroPad(-5, 3), "-05");
}

TEST(IntegerText, FollowsTheIntegerRule)
{
    struct Case {
        const char* text;
        bool ok;
        int64_t value;
    } cases[] = {
        {"12", true, 12},
        {"   12", true, 12},
        {"+12", true, 12},
        {"-12", true, -12},
        {"007", true, 7},
        {"0", true, 0},
        {"$10", true, 16},
        {"x1f", true, 31},
        {"X1F", true, 31},
        {"0x1F", true, 31},
        {"0X1f", true, 31},
        {"-$10", true, -16},
        {"9223372036854775807", true, INT64_MAX},
        {"-9223372036854775808", true, INT64_MIN},
        {"$7FFFFFFFFFFFFFFF", true, INT64_MAX},
        {"-$8000000000000000", true, INT64_MIN},
        {"", false, 0},
        {"   ", false, 0},
        {"-", false, 0},
        {"$", false, 0},
        {"0x", false, 0},
        {"12 ", false, 0},  // trailing text is not allowed
        {"1 2", false, 0},
        {"\t5", false, 0},  // only spaces may lead
        {"- 5", false, 0},
        {"abc", false, 0},
        {"TRUE", false, 0},
        {"1.5", false, 0},
        {"$G", false, 0},
        {"9x", false, 0},
        {"1e3", false, 0},
        {"9223372036854775808", false, 0},  // overflow
        {"-9223372036854775809", false, 0},
        {"$8000000000000000", false, 0},
        {"99999999999999999999999", false, 0},
    };
    for (const Case& c : cases) {
        int64_t value = 99;
        EXPECT_EQ(TryTextToInt64(c.text, value), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
        EXPECT_EQ(TextToInt64(c.text, -1), c.ok ? c.value : -1) << c.text;
    }
}

TEST(IntegerText, ThirtyTwoBitRange)
{
    EXPECT_EQ(TextToInt("2147483647", 0), 2147483647);
    EXPECT_EQ(TextToInt("-2147483648", 0), INT32_MIN);
    EXPECT_EQ(TextToInt("2147483648", -1), -1);
    EXPECT_EQ(TextToInt("-2147483649", -1), -1);
    EXPECT_EQ(TextToInt("$FFFFFFFF", -1), -1);
    EXPECT_EQ(TextToInt("$7FFFFFFF", -1), 2147483647);
    EXPECT_EQ(TextToInt("x", 5), 5);
}

TEST(Numbers, BoolTextAndLimits)
{
    EXPECT_EQ(BoolText(true), "TRUE");
    EXPECT_EQ(BoolText(false), "FALSE");
    EXPECT_EQ(Min64(-3, 2), -3);
    EXPECT_EQ(Max64(-3, 2), 2);
    EXPECT_EQ(Min64(INT64_MIN, INT64_MAX), INT64_MIN);
    EXPECT_EQ(Clamp64(5, 0, 10), 5);
    EXPECT_EQ(Clamp64(-5, 0, 10), 0);
    EXPECT_EQ(Clamp64(15, 0, 10), 10);
    EXPECT_EQ(Clamp64(5, 10, 0), 0);  // min above max: max wins
}

TEST(HexToInt64, DigitsWithOrWithoutPrefix)
{
    for (const char* text : {"0x1F", "0X1f", "1f", "001F", "1F  "})
        EXPECT_EQ(HexToInt64(text), 31) << text;
    EXPECT_EQ(HexToInt64(""), 0);
    EXPECT_EQ(HexToInt64("0x"), 0);
    EXPECT_EQ(HexToInt64("00"), 0);
    EXPECT_EQ(HexToInt64("FF"), 255);
    EXPECT_EQ(HexToInt64("7FFFFFFFFFFFFFFF"), INT64_MAX);
    EXPECT_EQ(HexToInt64("FFFFFFFFFFFFFFFF"), -1);
    EXPECT_EQ(HexToInt64("123456789abcdef0"), INT64_C(0x123456789ABCDEF0));
}

TEST(RandomNumberText, StaysInTheClosedRange)
{
    struct Range {
        int64_t low, high;
    } ranges[] = {{10000, 100000}, {5, 5}, {-3, 3}, {100000, 10000}, {INT64_MIN, INT64_MAX}};
    for (const Range& r : ranges) {
        const int64_t lo = Min64(r.low, r.high);
        const int64_t hi = Max64(r.low, r.high);
        for (int i = 0; i < 200; ++i) {
            int64_t v = 0;
            std::string text = RandomNumberText(r.low, r.high);
            ASSERT_TRUE(TryTextToInt64(text, v)) << text;
            EXPECT_GE(v, lo);
            EXPECT_LE(v, hi);
        }
    }
    // The three values of a small range all turn up.
    std::set<std::string> seen;
    for (int i = 0; i < 2000 && seen.size() < 3; ++i)
        seen.insert(RandomNumberText(1, 3));
    EXPECT_EQ(seen.size(), 3u);
}

}  // namespace
