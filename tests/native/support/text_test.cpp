#include <gtest/gtest.h>

#include <string>

#include "support/text.h"

namespace {

TEST(TextBasics, TrimAndCaseFoldingStayWithinAscii)
{
    EXPECT_EQ(Trim(" \t\x01" "a b\r\n "), "a b");
    EXPECT_EQ(Trim("\x7F" "a\xA0"), "\x7F" "a\xA0");  // only bytes up to 32 are blanks
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(UpperCase("abz\xE9[`{"), "ABZ\xE9[`{");
    EXPECT_EQ(LowerCase("ABZ\xC9@["), "abz\xC9@[");
    EXPECT_TRUE(SameText("Windows", "wINDOWS"));
    EXPECT_FALSE(SameText("\xE9", "\xC9"));
    EXPECT_FALSE(SameText("ab", "abc"));
    EXPECT_TRUE(SameTextTrimmed("  Engine.EXE\t", "engine.exe"));
    EXPECT_FALSE(SameTextTrimmed("a b", "ab"));
}

TEST(TextSplit, BeforeAndAfterTheFirstSeparator)
{
    EXPECT_EQ(TextBefore("key=a=b", "=", "d"), "key");
    EXPECT_EQ(TextBefore("key", "=", "d"), "d");
    EXPECT_EQ(TextBefore("=x", "=", "d"), "");
    EXPECT_EQ(TextAfter("key=a=b", "="), "a=b");
    EXPECT_EQ(TextAfter("key", "="), "key");
    EXPECT_EQ(TextAfter("a::b", "::"), "b");
    EXPECT_EQ(ReplaceChar("a/b/c", '/', '\\'), "a\\b\\c");
    EXPECT_EQ(ReplaceChar("abc", 'b', 'b'), "abc");
}

TEST(ReplaceAll, ReplacesWithoutRescanningInsertedText)
{
    struct Case {
        std::string text, find, replacement, expected;
        bool ignoreCase;
    } cases[] = {
        {"aaaa", "aa", "a", "aa", false},
        {"aa", "a", "aa", "aaaa", false},
        {"abab", "ab", "xaby", "xabyxaby", false},
        {"aabb", "ab", "", "", false},          // a match formed across the gap goes too
        {"xaabby", "ab", "", "xy", false},
        {"Aa", "a", "X", "AX", false},          // case-sensitive
        {"abc", "", "X", "abc", false},
        {"abc", "z", "X", "abc", false},
        {"C:\\WINDOWS\\x", "windows", "X", "C:\\X\\x", true},
        {"One one ONE", "one", "two", "two two two", true},
        {"aBcAbC", "bc", "-", "a-A-", true},    // the rest keeps its case
        {"AaAa", "aa", "", "", true},
    };
    for (const Case& c : cases) {
        std::string got = c.ignoreCase ? ReplaceAllText(c.text, c.find, c.replacement)
                                       : ReplaceAll(c.text, c.find, c.replacement);
        EXPECT_EQ(got, c.expected) << c.text << " / " << c.find << " / " << c.replacement;
    }
}

TEST(ReplaceAll, FindHoldingEveryByteValueTerminates)
{
    std::string find;
    for (int b = 0; b < 256; ++b)
        find.push_back(static_cast<char>(b));
    EXPECT_EQ(ReplaceAll("<" + find + ">" + find, find, find + "!"), "<" + find + "!>" + find + "!");
}

TEST(StripEnclosing, DropsEnclosingQuotes)
{
    struct Case {
        std::string text;
        char quote;
        bool force, once;
        std::string expected;
    } cases[] = {
        {"\"", '"', false, false, ""},
        {"\"abc\"", '"', false, false, "abc"},
        {"\"\"abc\"\"", '"', false, false, "abc"},
        {"\"\"abc\"\"", '"', false, true, "\"abc\""},
        {"\"abc", '"', false, false, "\"abc"},   // not enclosed, no force
        {"\"abc", '"', true, false, "abc"},
        {"abc", '"', true, false, "abc"},
        {"a", '"', true, false, "a"},
        {"\"\"", '"', false, false, ""},
        {"\"\"\"", '"', false, true, "\""},
        {"|a|", '|', false, true, "a"},
        {"||a||", '|', false, true, "|a|"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StripEnclosing(c.text, c.quote, c.force, c.once), c.expected)
            << c.text << " force " << c.force << " once " << c.once;
    EXPECT_EQ(TrimQuotes("  \"C:\\Program Files\\x\"  ", false), "C:\\Program Files\\x");
    EXPECT_EQ(TrimQuotes(" \"\"a\" ", false), "a");
    EXPECT_EQ(TrimQuotes(" \"a ", false), "\"a");
    EXPECT_EQ(TrimQuotes(" \"a ", true), "a");
}

TEST(Search, PositionsAreOneBasedAndZeroWhenAbsent)
{
    EXPECT_EQ(Pos("b", "abcb"), 2);
    EXPECT_EQ(Pos("B", "abcb"), 0);
    EXPECT_EQ(Pos("", "abc"), 0);
    EXPECT_EQ(Pos("abcd", "abc"), 0);
    EXPECT_EQ(PosText("B", "abcb"), 2);
    EXPECT_EQ(PosText("", "abc"), 0);
    EXPECT_EQ(PosText("\xE9", "\xC9\xE9"), 2);

    struct Case {
        const char* pattern;
        const char* text;
        int start;
        int plain, ignoringCase;
    } cases[] = {
        {"b", "abcB", 1, 2, 2},
        {"b", "abcB", 3, 0, 4},
        {"b", "abcB", 4, 0, 4},
        {"b", "abcB", 5, 0, 0},    // text shorter than start
        {"b", "abcB", 0, 2, 2},    // a start below 1 searches from the beginning
        {"b", "abcB", -7, 2, 2},
        {"cb", "abcB", 2, 0, 3},
        {"", "abc", 1, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PosFrom(c.pattern, c.text, c.start), c.plain) << c.pattern << " " << c.start;
        EXPECT_EQ(PosTextFrom(c.pattern, c.text, c.start), c.ignoringCase) << c.pattern << " " << c.start;
    }

    EXPECT_EQ(LastPos("\\", "C:\\a\\b"), 5);
    EXPECT_EQ(LastPos("aa", "aaa"), 2);
    EXPECT_EQ(LastPos("A", "aaa"), 0);
    EXPECT_EQ(LastPos("", "aaa"), 0);

    EXPECT_EQ(ReversePosText(".EXE", "setup.exe"), 1);
    EXPECT_EQ(ReversePosText("ab", "abcab"), 1);
    EXPECT_EQ(ReversePosText("bc", "abcab"), 3);  // counted from the end
    EXPECT_EQ(ReversePosText("x", "abc"), 0);
    EXPECT_EQ(ReversePosText("", "abc"), 0);
}

TEST(Search, PrefixAndSuffix)
{
    EXPECT_TRUE(StartsWith("/Span", "/SpanCdLvl=2", false));
    EXPECT_FALSE(StartsWith("/span", "/SpanCdLvl=2", false));
    EXPECT_TRUE(StartsWith("/span", "/SpanCdLvl=2", true));
    EXPECT_FALSE(StartsWith("", "abc", false));
    EXPECT_FALSE(StartsWith("abcd", "abc", true));
    EXPECT_TRUE(EndsWith(".exe", "setup.exe", false));
    EXPECT_FALSE(EndsWith(".EXE", "setup.exe", false));
    EXPECT_TRUE(EndsWith(".EXE", "setup.exe", true));
    EXPECT_TRUE(EndsWith("", "abc", false));
    EXPECT_TRUE(EndsWith("", "", false));
    EXPECT_FALSE(EndsWith("xabc", "abc", true));
}

TEST(Formatting, ReverseAndPad)
{
    EXPECT_EQ(ReverseText("abc"), "cba");
    EXPECT_EQ(ReverseText(""), "");
    EXPECT_EQ(PadLeft("42", 5, ' '), "   42");
    EXPECT_EQ(PadLeft("123456", 5, ' '), "123456");  // longer texts are not cut
    EXPECT_EQ(PadLeft("12345", 5, ' '), "12345");
    EXPECT_EQ(PadLeft("7", 0, '0'), "7");
    EXPECT_EQ(PadLeft("7", -3, '0'), "7");
}

}  // namespace
