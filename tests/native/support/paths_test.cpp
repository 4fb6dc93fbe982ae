#include <gtest/gtest.h>

#include <string>

#include "support/host_facts.h"
#include "support/paths.h"

namespace {

// Shift-JIS lead bytes: 0x81..0x9F and 0xE0..0xFC; 0x95 0x5C is a
// double-byte character whose second byte is "\".
class PathsTest : public ::testing::Test {
protected:
    void UseShiftJis()
    {
        const unsigned char ranges[] = {0x81, 0x9F, 0xE0, 0xFC};
        SetLeadByteRanges(ranges, 2);
    }
    void TearDown() override { SetLeadByteRanges(nullptr, 0); }
};

TEST_F(PathsTest, LeadByteRanges)
{
    for (int b = 0; b < 256; ++b)
        EXPECT_FALSE(IsLeadByte(static_cast<unsigned char>(b))) << b;
    UseShiftJis();
    EXPECT_FALSE(IsLeadByte(0x80));
    EXPECT_TRUE(IsLeadByte(0x81));
    EXPECT_TRUE(IsLeadByte(0x9F));
    EXPECT_FALSE(IsLeadByte(0xA0));
    EXPECT_TRUE(IsLeadByte(0xFC));
    EXPECT_FALSE(IsLeadByte(0xFD));
    EXPECT_FALSE(IsLeadByte('\\'));
    const unsigned char backwards[] = {0x90, 0x80};  // first above last: ignored
    SetLeadByteRanges(backwards, 1);
    EXPECT_FALSE(IsLeadByte(0x85));
    EXPECT_FALSE(IsLeadByte(0x95));  // setting replaces the old ranges
}

TEST_F(PathsTest, SetTrailingBackslash)
{
    struct Case {
        std::string path;
        bool with;
        std::string expected;
    } cases[] = {
        {"C:\\", false, "C:"},
        {"C:\\", true, "C:\\"},
        {"C:\\dir\\", true, "C:\\dir\\"},
        {"C:\\dir\\", false, "C:\\dir"},
        {"C:\\dir", true, "C:\\dir\\"},
        {"C:\\dir", false, "C:\\dir"},
        {"C:\\dir\\\\", false, "C:\\dir\\"},  // one at a time
        {"C:", true, "C:\\"},
        {"", true, "\\"},
        {"", false, ""},
        {"\\", false, "\\"},                   // short paths are never shortened
        {"\\", true, "\\\\"},
        {"\\\\server\\share\\", true, "\\\\server\\share\\"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SetTrailingBackslash(c.path, c.with), c.expected) << c.path << " " << c.with;
}

TEST_F(PathsTest, DropTrailingBackslash)
{
    struct Case {
        std::string path, expected;
    } cases[] = {
        {"\\", ""},         {"", ""},          {"C:\\", "C:"},     {"a\\", "a"},
        {"\\\\", "\\"},     {"C:\\dir", "C:\\dir"}, {"C:\\dir\\\\", "C:\\dir\\"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DropTrailingBackslash(c.path), c.expected) << c.path;
}

TEST_F(PathsTest, BackslashInsideADoubleByteCharacterStays)
{
    const std::string hyo = "\x95\\";  // one double-byte character
    // Single-byte code page: a real backslash.
    EXPECT_EQ(SetTrailingBackslash("C:\\" + hyo, false), "C:\\\x95");
    UseShiftJis();
    EXPECT_EQ(SetTrailingBackslash("C:\\" + hyo, false), "C:\\" + hyo);
    EXPECT_EQ(SetTrailingBackslash("C:\\" + hyo, true), "C:\\" + hyo + "\\");
    EXPECT_EQ(SetTrailingBackslash("C:\\" + hyo + "\\", false), "C:\\" + hyo);
    EXPECT_EQ(DropTrailingBackslash("C:\\" + hyo), "C:\\" + hyo);
    EXPECT_EQ(DropTrailingBackslash(hyo), hyo);
    // A trail byte with a lead byte's value, then a real backslash: the
    // characters are walked from the start, so the backslash goes.
    const std::string twoLeadValues = "\x95\x95";
    EXPECT_EQ(SetTrailingBackslash("C:\\" + twoLeadValues + "\\", false), "C:\\" + twoLeadValues);
    EXPECT_EQ(DropTrailingBackslash("C:\\" + twoLeadValues + "\\"), "C:\\" + twoLeadValues);
}

}  // namespace
