#include <gtest/gtest.h>

#include <string>

#include "support/lists.h"

namespace {

const char MonthList[] = "||JAN|FEB|MAR|APR|MAY|JUN|JUL|AUG|SEP|OCT|NOV|DEC|";

TEST(ListCount, CountsClosedItemsOfWellFormedLists)
{
    struct Case {
        const char* list;
        int count;
    } cases[] = {
        {"", 0},      {"|", 0},       {"||", 1},      {"|a|b|", 2},
        {"|a|b", 0},  {"/a/b/", 2},   {"|a||c|", 3},  {"\x01" "a\x01" "b\x01", 2},
        {MonthList, 13},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ListCount(c.list), c.count) << c.list;
}

TEST(ListItem, ReadsItemsAndFallsBackToTheDefault)
{
    struct Case {
        std::string list;
        int index;
        std::string expected;
    } cases[] = {
        {"|a||c|", 0, "a"},
        {"|a||c|", 1, "x"},   // empty item reads as absent
        {"|a||c|", 2, "c"},
        {"|a||c|", 3, "x"},   // beyond the last item
        {"|a||c|", -1, "x"},
        {"|a|b", 0, "a"},     // closed item of an unclosed list
        {"|a|b", 1, "x"},     // unterminated item
        {"/a/b/", 0, "a"},    // the first character is the delimiter
        {"/a|b/", 0, "a|b"},
        {"", 0, "x"},
        {"|", 0, "x"},
        {MonthList, 0, "x"},  // the dummy item
        {MonthList, 1, "JAN"},
        {MonthList, 12, "DEC"},
        {MonthList, 13, "x"},
        {std::string("\0k\0v\0", 5), 1, "v"},  // byte 0 as delimiter
    };
    for (const Case& c : cases)
        EXPECT_EQ(ListItem(c.list, c.index, "x"), c.expected) << c.list << " [" << c.index << "]";
}

TEST(ListItemInt, ConvertsByTheIntegerRule)
{
    const std::string list = "|5| -3|$10|x7|abc||4294967296|";
    const int expected[] = {5, -3, 16, 7, -1, -1, -1, -1};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(ListItemInt(list, i, -1), expected[i]) << i;
}

TEST(ListSetItem, RebuildsTheList)
{
    struct Case {
        std::string list;
        int index;
        std::string value;
        std::string expected;
    } cases[] = {
        {"", 2, "x", "|||x|"},
        {"|a|b|c|", 1, "X", "|a|X|c|"},
        {"|a|b|c|", 4, "e", "|a|b|c||e|"},
        {"|a|b|", 0, "p|q", "^p|q^b^"},        // item holds "|": next candidate
        {"|a|b|", 1, "|^!", "~a~|^!~"},
        {"^p|q^b^", 0, "p", "|p|b|"},          // back to "|" once it is free
        {",a,b,", 0, "c", "|c|b|"},            // any list comes back with "|"
        {"|a|b|junk", 1, "X", "|a|X|"},         // text after the last delimiter is lost
        {"|a|b|", 0, "", "||b|"},
        {"|a|b|", -1, "X", "|a|b|"},           // negative index: unchanged
        {"|a|", ListMaxItems, "X", "|a|"},     // absurd index: unchanged
        {"|a|", 1, std::string("x\0y", 3), std::string("|a|x\0y|", 7)},  // byte 0 kept
    };
    for (const Case& c : cases)
        EXPECT_EQ(ListSetItem(c.list, c.index, c.value), c.expected) << c.list << " [" << c.index << "]";
}

TEST(ListSetItem, ItemsHoldingEveryCandidateStillReadBack)
{
    const std::string all(ListDelimiterCandidates, ListDelimiterCandidateCount);
    std::string list = ListSetItem("|a|b|", 1, all);
    EXPECT_EQ(ListCount(list), 2);
    EXPECT_EQ(ListItem(list, 0, ""), "a");
    EXPECT_EQ(ListItem(list, 1, ""), all);

    // Items that hold every byte value cannot be delimited: the list stays.
    std::string everyByte;
    for (int b = 0; b < 256; ++b)
        everyByte.push_back(static_cast<char>(b));
    EXPECT_EQ(ListSetItem("|a|", 0, everyByte), "|a|");
}

TEST(ListValue, FindsKeysIgnoringCaseAndOneBlank)
{
    struct Case {
        std::string list;
        std::string key;
        std::string expected;
    } cases[] = {
        {"|A=1| b =2|", "a", "1"},
        {"|A=1| b =2|", "B", "2"},
        {"|a= 1|", "a", " 1"},          // blanks after "=" belong to the value
        {"|a=|", "a", ""},              // present but empty: not the default
        {"|xa=1|a=2|", "a", "2"},       // keys match whole, from the delimiter
        {"|a=1|a=2|", "a", "1"},        // first match wins
        {"|a=1|", "a=", "1"},           // "=" not doubled
        {"|a=1", "a", "def"},           // unclosed
        {"|a|", "a", "def"},            // no "="
        {"||", "a", "def"},             // too short
        {"|a=1|", "b", "def"},
        {"|a  =1|", "a", "def"},        // only one blank before "=" is dropped
        {"|  a=1|", "a", "def"},        // only one blank after the delimiter
        {"|msg=x = y|", "msg", "x = y"},  // the value keeps its " ="
        {"|k=a=b|", "k", "a=b"},
        {"/p=1/q=2/", "Q", "2"},
        {"\x02k=v\x02", "k", "v"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ListValue(c.list, c.key, "def"), c.expected) << c.list << " key " << c.key;
}

}  // namespace
