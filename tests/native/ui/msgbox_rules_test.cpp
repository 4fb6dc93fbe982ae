// The message box's rules without a window: markup, heading, bold ranges,
// button sets, mnemonics, focus arithmetic, measuring and layout.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/host_facts.h"
#include "ui/msgbox_rules.h"

namespace {

TEST(MsgBoxMarkup, LineBreaksAndTabs)
{
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"one<p>two", "one\r\ntwo"},
        {"one<P>two<T>three<t>", "one\r\ntwo\tthree\t"},
        {"a\\\\nb", "a\r\nb"},           // two backslashes and n
        {"a\\\\Nb", "a\\\\Nb"},          // capital N is no escape
        {"a\\\\tb\\\\Tc", "a\tb\\\\Tc"},
        {"a\\nb", "a\\nb"},              // one backslash is literal
        {"kept\r\nbreak", "kept\r\nbreak"},
        {"<x>unknown</i>", "<x>unknown</i>"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MarkupToText(c.in), c.out) << c.in;
}

TEST(MsgBoxMarkup, HeadingUpperCasesOnlyBuiltInCaptions)
{
    EXPECT_EQ(HeadingBody("Error", "Disk full"), "<<b>ERROR</b><P><P>Disk full<P>");
    EXPECT_EQ(HeadingBody("Confirm", "x"), "<<b>CONFIRM</b><P><P>x<P>");
    EXPECT_EQ(HeadingBody("Uwaga", "x"), "<<b>Uwaga</b><P><P>x<P>");
    // The comparison is case-sensitive: "error" is a translation of its own.
    EXPECT_EQ(HeadingBody("error", "x"), "<<b>error</b><P><P>x<P>");

    BoxBody body = PrepareBody(HeadingBody("Error", "Disk full"));
    EXPECT_EQ(body.text, "ERROR\r\n\r\nDisk full\r\n");
    ASSERT_EQ(body.bold.size(), 1u);
    EXPECT_EQ(body.bold[0].start, 0);
    EXPECT_EQ(body.bold[0].end, 5);
}

TEST(MsgBoxMarkup, BoldRanges)
{
    struct Case {
        const char* in;
        const char* text;
        std::vector<std::pair<int, int>> bold;
    } cases[] = {
        {"a <b>word</B> b", "a word b", {{2, 6}}},
        {"x</b>y<b>z", "xyz", {}},              // closing before opening
        {"an <B>unclosed tag", "an unclosed tag", {}},
        {"<b>1</b>-<B>22</b>", "1-22", {{0, 1}, {2, 4}}},
        {"Please insert <B>DISK #2</B> and press OK", "Please insert DISK #2 and press OK", {{14, 21}}},
        {"stray </B></b> closers", "stray  closers", {}},
        {"<b></b>empty", "empty", {}},
        {"line<P><b>two</b>", "line\r\ntwo", {{6, 9}}},  // a break counts two
        {"<<b>Heading</b> text", "Heading text", {{0, 7}}},
    };
    for (const Case& c : cases) {
        BoxBody body = PrepareBody(c.in);
        EXPECT_EQ(body.text, c.text) << c.in;
        std::vector<std::pair<int, int>> got;
        for (const BoldRange& r : body.bold)
            got.push_back({r.start, r.end});
        EXPECT_EQ(got, c.bold) << c.in;
    }
    // "<<" elsewhere is text.
    EXPECT_EQ(PrepareBody("a <<b>b</b>").text, "a <b");
}

TEST(MsgBoxStyle, CharsetOwnerAndModalBits)
{
    EXPECT_EQ(EffectiveStyle(1, 0, 0x24), 0x24u | 0x52000u);
    EXPECT_EQ(EffectiveStyle(1, 177, 0), 0x180000u | 0x52000u);
    EXPECT_EQ(EffectiveStyle(0, 178, 0x10), 0x180010u | 0x52000u);
    EXPECT_EQ(EffectiveStyle(2, 238, 0), 0x10000000u | 0x52000u);
    EXPECT_EQ(EffectiveStyle(0x1234, 0, 0), 0x52000u);  // a window handle
    EXPECT_EQ(StyleIconId(0x10), 32513);
    EXPECT_EQ(StyleIconId(0x24), 32514);
    EXPECT_EQ(StyleIconId(0x30), 32515);
    EXPECT_EQ(StyleIconId(0x40), 32516);
    EXPECT_EQ(StyleIconId(0x50), 0);
    EXPECT_EQ(StyleIconId(0), 0);
    EXPECT_EQ(DefaultButtonIndex(0x201), 2);
}

TEST(MsgBoxButtons, SetsLabelsAndResults)
{
    struct Case {
        int set;
        std::vector<std::pair<int, int>> buttons;  // label item, result
    } cases[] = {
        {0, {{0, 1}}},
        {1, {{0, 1}, {1, 2}}},
        {2, {{4, 3}, {5, 4}, {6, 5}}},
        {3, {{2, 6}, {3, 7}, {1, 2}}},
        {4, {{2, 6}, {3, 7}}},
        {5, {{5, 4}, {1, 2}}},
        {6, {}},
        {15, {}},
        {-1, {}},
    };
    for (const Case& c : cases) {
        ButtonSpec specs[3];
        int n = ButtonSetSpecs(c.set, specs);
        std::vector<std::pair<int, int>> got;
        for (int i = 0; i < n; ++i)
            got.push_back({specs[i].labelItem, specs[i].result});
        EXPECT_EQ(got, c.buttons) << "set " << c.set;
    }
}

TEST(MsgBoxButtons, FocusWrapsAroundTheButtons)
{
    EXPECT_EQ(FocusSlot(0 + 1, 2), 1);   // Yes -> No
    EXPECT_EQ(FocusSlot(1 + 1, 2), 0);   // No -> Yes again
    EXPECT_EQ(FocusSlot(0 - 1, 3), 2);   // previous from the first
    EXPECT_EQ(FocusSlot(-1 - 1, 3), 1);  // previous with none focused
    EXPECT_EQ(FocusSlot(-1 + 1, 3), 0);  // next with none focused
    EXPECT_EQ(FocusSlot(-2, 1), 0);
    EXPECT_EQ(FocusSlot(2, 2), 0);       // default index 2 of a two-button set
    EXPECT_EQ(FocusSlot(5, 0), 0);       // no buttons
}

TEST(MsgBoxButtons, Mnemonics)
{
    EXPECT_EQ(Mnemonic("&Yes"), 'Y');
    EXPECT_EQ(Mnemonic("Ta&k"), 'k');
    EXPECT_EQ(Mnemonic("Nie"), 'N');
    EXPECT_EQ(Mnemonic("x&"), 0);
    EXPECT_EQ(Mnemonic(""), 0);

    const std::string yesNo[3] = {"&Yes", "&No", ""};
    EXPECT_EQ(AltCharTarget(yesNo, 'y'), 0);
    EXPECT_EQ(AltCharTarget(yesNo, 'Y'), 0);
    EXPECT_EQ(AltCharTarget(yesNo, 'N'), 1);
    EXPECT_EQ(AltCharTarget(yesNo, 'x'), -1);
    EXPECT_EQ(LetterKeyTarget(yesNo, 'Y'), 0);
    EXPECT_EQ(LetterKeyTarget(yesNo, 'N'), 1);
    EXPECT_EQ(LetterKeyTarget(yesNo, 'Q'), -1);

    // Ties: the Alt rule takes the first button, a plain letter the last.
    const std::string tie[3] = {"&Retry", "&Remove", "&Ignore"};
    EXPECT_EQ(AltCharTarget(tie, 'r'), 0);
    EXPECT_EQ(LetterKeyTarget(tie, 'R'), 1);
    // The Alt rule reads the second character, whatever it is.
    const std::string plain[3] = {"OK", "", ""};
    EXPECT_EQ(AltCharTarget(plain, 'k'), 0);
    EXPECT_EQ(LetterKeyTarget(plain, 'O'), 0);
    // Keys whose codes happen to be lower-case letters (numeric pad 1 is
    // 0x61, F3 is 0x72) are no letters.
    const std::string ari[3] = {"&Abort", "&Retry", "&Ignore"};
    EXPECT_EQ(LetterKeyTarget(ari, 0x61), -1);
    EXPECT_EQ(LetterKeyTarget(ari, 0x72), -1);
    EXPECT_EQ(LetterKeyTarget(ari, 'A'), 0);
}

TEST(MsgBoxMeasure, LinesWrapEvery600Pixels)
{
    // Width of a line: 10 pixels per byte.
    auto width = [](const std::string& line) { return static_cast<int>(line.size()) * 10; };
    TextSize s = MeasureBody("abc\r\nabcdefgh", 13, width);
    EXPECT_EQ(s.width, 90);
    EXPECT_EQ(s.height, 26);

    // 1,500 pixels: three lines, and the width stops at 600.
    s = MeasureBody(std::string(150, 'x'), 13, width);
    EXPECT_EQ(s.height, 39);
    EXPECT_EQ(s.width, 600);
    // Exactly 600 pixels already counts as a second line.
    EXPECT_EQ(MeasureBody(std::string(60, 'x'), 13, width).height, 26);

    // A trailing break opens no line; an empty text is one blank line;
    // empty lines in between count.
    EXPECT_EQ(MeasureBody("abc\r\n", 13, width).height, 13);
    EXPECT_EQ(MeasureBody("a\r\n\r\nb\r\n", 13, width).height, 39);
    s = MeasureBody("", 13, width);
    EXPECT_EQ(s.height, 13);
    EXPECT_EQ(s.width, 20);
}

TEST(MsgBoxMeasure, BoldRefitWidens)
{
    // The control wraps (asks for two lines) until it is 37 pixels wider.
    std::vector<int> widths;
    auto control = [&](int w) {
        widths.push_back(w);
        return TextSize{w, w >= 137 ? 13 : 26};
    };
    EXPECT_EQ(RefitWidth(100, 13, control), 140);
    EXPECT_EQ(widths.front(), 100);
    EXPECT_EQ(widths.size(), 5u);

    // Never fits: the widest asked for, plus 10.
    widths.clear();
    auto never = [&](int w) {
        widths.push_back(w);
        return TextSize{w == 130 ? 900 : w, 26};
    };
    EXPECT_EQ(RefitWidth(100, 13, never), 910);
    EXPECT_EQ(widths.size(), 22u);
    EXPECT_EQ(widths.back(), 910);
}

TEST(MsgBoxLayout, MarginsAndPlacement)
{
    // Short text: minimum width 360, the control 45 below the top.
    TextSize box = BoxSize(60, 13, 6, 24);
    EXPECT_EQ(box.width, 360);
    EXPECT_EQ(box.height, 13 + 36 + 90 + 24);
    Placement p = ControlPlacement(360 - 6, 13 + 36 + 90, 60, 13);
    EXPECT_EQ(p.y, 45);
    EXPECT_EQ(p.x, (354 - 54 - 60) / 2 + 54);
    EXPECT_EQ(p.height, 13 + 36 + 90 - 45 - 39);

    // Wide and tall: margins of 32.
    box = BoxSize(610, 52, 6, 24);
    EXPECT_EQ(box.width, 610 + 54 + 64 + 6);
    EXPECT_EQ(box.height, 52 + 36 + 64 + 24);
    // The margin limits are strict.
    EXPECT_EQ(BoxSize(300, 39, 0, 0).width, 300 + 54 + 64);
    EXPECT_EQ(BoxSize(199, 39, 0, 0).width, 199 + 54 + 128);
    EXPECT_EQ(BoxSize(200, 39, 0, 0).height, 39 + 36 + 64);
    EXPECT_EQ(BoxSize(199, 38, 0, 0).height, 38 + 36 + 90);
}

TEST(MsgBoxOffsets, ControlCountsCharacters)
{
    const std::string text = "ab\r\ncd";
    EXPECT_EQ(ControlOffset(text, 5, false), 5);
    EXPECT_EQ(ControlOffset(text, 5, true), 4);
    EXPECT_EQ(ControlOffset(text, 99, true), 5);

    // A double-byte code page: two bytes make one character.
    const unsigned char sjis[] = {0x81, 0x9F, 0xE0, 0xFC};
    SetLeadByteRanges(sjis, 2);
    const std::string dbcs = "a\x82\xA0" "b";
    EXPECT_EQ(ControlOffset(dbcs, 3, false), 2);
    EXPECT_EQ(ControlOffset(dbcs, 4, false), 3);
    SetLeadByteRanges(nullptr, 0);
    EXPECT_EQ(ControlOffset(dbcs, 4, false), 4);
}

}  // namespace
