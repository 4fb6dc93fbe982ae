#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "support/switches.h"

namespace {

TEST(CommandTail, TakesOutTheProgramPathOnce)
{
    const std::string exe = "C:\\Program Files\\Varnel\\setup.exe";
    struct Case {
        std::string commandLine, programPath, tail;
    } cases[] = {
        {"\"" + exe + "\" /A=1", exe, "/A=1"},
        {"\"c:\\program files\\VARNEL\\Setup.EXE\"  /A=1  ", exe, "/A=1"},  // ignoring case
        {"C:\\s.exe /A=1", "C:\\s.exe", "/A=1"},
        {"\"" + exe + "\"", exe, ""},
        {"setup.exe /hide", exe, "setup.exe /hide"},  // started under a short name
        {"\"" + exe + "\" /OriginExe=\"" + exe + "\"", exe, "/OriginExe=\"" + exe + "\""},
        // Started unquoted with its own path quoted in a value: the value stays.
        {"C:\\s.exe /OriginExe=\"C:\\s.exe\"", "C:\\s.exe", "/OriginExe=\"C:\\s.exe\""},
        {"x \"\" /A", "", "x \"\" /A"},  // no known path: nothing taken out
        {"", exe, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CommandTailOf(c.commandLine, c.programPath), c.tail) << c.commandLine;
}

TEST(Switches, ValuesFlagsAndIntegers)
{
    struct Case {
        std::string tail, name, value;
        bool present;
        int64_t integer;  // with default -1
    } cases[] = {
        {"/A=1 /B=\"x y\" /C", "/A=", "1", true, 1},
        {"/A=1 /B=\"x y\" /C", "/B=", "x y", true, -1},
        {"/A=1 /B=\"x y\" /C", "/C", "TRUE", true, -1},
        {"/A=1 /B=\"x y\" /C", "/D=", "", false, -1},
        {"/C /A=1", "/C", "", true, -1},        // a flag followed by more switches
        {"/A=1/B=2", "/A=", "1", true, 1},
        {"/A=1/B=2", "/B=", "2", true, 2},
        {"/a=5", "/A=", "5", true, 5},
        {"/A=1 /A=2", "/A=", "1", true, 1},     // first occurrence
        {"/WAIT=$10", "/WAIT=", "$10", true, 16},
        {"/WAIT=abc", "/WAIT=", "abc", true, -1},
        {"/WAIT=", "/WAIT=", "TRUE", true, -1},
        {"/WAIT= 5", "/WAIT=", "", true, -1},   // an unquoted value ends at a space
        {"/WAIT=\" 5 \"", "/WAIT=", "5", true, 5},
        {"/hideall", "/hide", "all", true, -1}, // found inside a longer word
        {"/P=\"C:\\a b\\c.exe\" /Q", "/P=", "C:\\a b\\c.exe", true, -1},
        {"/P=\"C:\\a b", "/P=", "C:\\a b", true, -1},  // unclosed quote: to the end
        {"/P=C:\\a\\b.exe /Q", "/P=", "C:\\a\\b.exe", true, -1},
        {"/P=x/y", "/P=", "x", true, -1},
        {"/N=-1", "/N=", "-1", true, -1},
        {"/N=0", "/N=", "0", true, 0},
        {"/A=1", "", "", false, -1},            // empty name is never found
        {"", "/A=", "", false, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SwitchValueIn(c.tail, c.name), c.value) << c.tail << " " << c.name;
        EXPECT_EQ(SwitchPresentIn(c.tail, c.name), c.present) << c.tail << " " << c.name;
        EXPECT_EQ(SwitchIntIn(c.tail, c.name, -1), c.integer) << c.tail << " " << c.name;
    }
    EXPECT_EQ(SwitchIntIn("/X", "/Y=", 7), 7);
}

}  // namespace
