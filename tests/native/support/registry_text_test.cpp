#include <gtest/gtest.h>

#include <string>

#include "support/registry_text.h"

namespace {

std::string ValueText(uint32_t type, const std::string& bytes)
{
    return RegistryValueText(type, reinterpret_cast<const unsigned char*>(bytes.data()),
                             static_cast<uint32_t>(bytes.size()));
}

}  // namespace

TEST(RegistryPaths, RootNamesAndAbbreviations)
{
    struct Case {
        const char* name;
        RegRoot root;
    } cases[] = {
        {"HKEY_CLASSES_ROOT", RegClassesRoot}, {"hkcr", RegClassesRoot},
        {"HKEY_CURRENT_USER", RegCurrentUser}, {"HKCU", RegCurrentUser},
        {"hkey_local_machine", RegLocalMachine}, {"HKLM", RegLocalMachine},
        {"HKEY_USERS", RegUsers}, {"HKU", RegUsers},
        {"HKEY_CURRENT_CONFIG", RegCurrentConfig}, {"HkCc", RegCurrentConfig},
        {"HKEY_DYN_DATA", RegDynData}, {"HKDD", RegDynData},
        {"HKXY", RegCurrentUser}, {"", RegCurrentUser}, {"HKLM ", RegCurrentUser},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RegRootFromName(c.name), c.root) << c.name;
}

TEST(RegistryPaths, Split)
{
    struct Case {
        const char* path;
        RegRoot root;
        const char* subkey;
    } cases[] = {
        {"HKLM\\Software\\X", RegLocalMachine, "Software\\X"},
        {"hkcu\\a", RegCurrentUser, "a"},
        {"HKLM", RegLocalMachine, ""},
        {"Software\\X", RegCurrentUser, "Software\\X"},
        {"  HKEY_USERS\\.DEFAULT\\Control Panel  ", RegUsers, ".DEFAULT\\Control Panel"},
        {"HKXY\\Software\\A", RegCurrentUser, "Software\\A"},
        {"HKLM\\", RegLocalMachine, ""},
        {"", RegCurrentUser, ""},
    };
    for (const Case& c : cases) {
        RegPath p = SplitRegPath(c.path);
        EXPECT_EQ(p.root, c.root) << c.path;
        EXPECT_EQ(p.subkey, c.subkey) << c.path;
    }
}

TEST(RegistryValues, TextByType)
{
    EXPECT_EQ(ValueText(RegTypeDword, std::string("\xFF\xFF\xFF\xFF", 4)), "4294967295");
    EXPECT_EQ(ValueText(RegTypeDword, std::string("\x2A\x01\x00\x00", 4)), "298");
    // A DWORD of the wrong size is read as bytes up to the first zero.
    EXPECT_EQ(ValueText(RegTypeDword, std::string("AB\0", 3)), "AB");
    EXPECT_EQ(ValueText(RegTypeMultiString, std::string("a\0b\0\0", 5)), "a<0>b");
    EXPECT_EQ(ValueText(RegTypeMultiString, std::string("one\0\0two\0\0", 10)), "one<0><0>two");
    EXPECT_EQ(ValueText(RegTypeMultiString, std::string("\0\0", 2)), "");
    EXPECT_EQ(ValueText(RegTypeMultiString, std::string("ab", 2)), "ab");
    EXPECT_EQ(ValueText(1, std::string("text\0", 5)), "text");
    EXPECT_EQ(ValueText(1, std::string("unterminated")), "unterminated");
    EXPECT_EQ(ValueText(2, std::string("%TEMP%\\x\0junk", 13)), "%TEMP%\\x");
    EXPECT_EQ(ValueText(3, std::string("\x01\x02\0\x03", 4)), "\x01\x02");
    EXPECT_EQ(ValueText(1, std::string()), "");
}
