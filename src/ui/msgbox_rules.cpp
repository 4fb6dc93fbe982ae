#include "ui/msgbox_rules.h"

#include "support/host_facts.h"
#include "support/text.h"

const char DefaultButtonLabels[] = "|&OK|&Cancel|&Yes|&No|&Abort|&Retry|&Ignore|";
const char DefaultCaptions[] = "|Error|Attention|Confirm|";

std::string MarkupToText(const std::string& text)
{
    std::string s = ReplaceAll(text, "\\\\n", "\r\n");
    s = ReplaceAll(s, "\\\\t", "\t");
    s = ReplaceAllText(s, "<P>", "\r\n");
    return ReplaceAllText(s, "<T>", "\t");
}

std::string HeadingBody(const std::string& caption, const std::string& text)
{
    // Only the English captions are shouted; a translation is shown as written.
    std::string heading = Pos(caption, DefaultCaptions) > 0 ? UpperCase(caption) : caption;
    return "<<b>" + heading + "</b><P><P>" + text + "<P>";
}

BoxBody PrepareBody(const std::string& text)
{
    BoxBody body;
    body.text = MarkupToText(text);
    if (body.text.compare(0, 4, "<<b>") == 0)
        body.text.erase(0, 1);

    std::string upper = UpperCase(body.text);
    for (;;) {
        int open = Pos("<B>", upper);
        if (open == 0)
            break;
        body.text.erase(open - 1, 3);
        upper.erase(open - 1, 3);
        int close = Pos("</B>", upper);
        // A closing tag in front of the opening one closes nothing.
        if (close >= open) {
            body.text.erase(close - 1, 4);
            upper.erase(close - 1, 4);
            if (close > open)
                body.bold.push_back(BoldRange{open - 1, close - 1});
        }
    }
    for (int close; (close = Pos("</B>", upper)) > 0;) {
        body.text.erase(close - 1, 4);
        upper.erase(close - 1, 4);
    }
    return body;
}

unsigned EffectiveStyle(unsigned long owner, int charset, unsigned style)
{
    if (charset == 177 || charset == 178)
        style |= MsgRightAlign | MsgRtlReading;
    if (owner == OwnerNoClose)
        style |= MsgNoClose;
    return style | MsgModalBits;
}

int ButtonSetSpecs(int buttonSet, ButtonSpec out[3])
{
    static const ButtonSpec sets[6][3] = {
        {{0, 1}, {-1, 0}, {-1, 0}},  // OK
        {{0, 1}, {1, 2}, {-1, 0}},   // OK, Cancel
        {{4, 3}, {5, 4}, {6, 5}},    // Abort, Retry, Ignore
        {{2, 6}, {3, 7}, {1, 2}},    // Yes, No, Cancel
        {{2, 6}, {3, 7}, {-1, 0}},   // Yes, No
        {{5, 4}, {1, 2}, {-1, 0}},   // Retry, Cancel
    };
    if (buttonSet < 0 || buttonSet > 5)
        return 0;
    int n = 0;
    for (int i = 0; i < 3 && sets[buttonSet][i].labelItem >= 0; ++i)
        out[n++] = sets[buttonSet][i];
    return n;
}

int FocusSlot(int index, int count)
{
    if (count < 1)
        count = 1;
    if (index < 0)
        index += count;
    int slot = index % count;
    // An index still below zero after one wrap (from "none focused" with a
    // single button) lands on the first button.
    return slot < 0 ? 0 : slot;
}

int DefaultButtonIndex(unsigned style)
{
    return static_cast<int>((style & MsgDefaultButtonMask) >> 8);
}

char Mnemonic(const std::string& label)
{
    std::string::size_type amp = label.find('&');
    if (amp == std::string::npos)
        return label.empty() ? 0 : label[0];
    return amp + 1 < label.size() ? label[amp + 1] : 0;
}

namespace {
char UpChar(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
}  // namespace

bool AltCharMatches(const std::string& label, char typed)
{
    return label.size() >= 2 && (label[1] == typed || label[1] == UpChar(typed));
}

int AltCharTarget(const std::string labels[3], char typed)
{
    // The buttons are tried third to first and the last match counts, so
    // the first button wins a tie.
    for (int i = 0; i < 3; ++i)
        if (AltCharMatches(labels[i], typed))
            return i;
    return -1;
}

int LetterKeyTarget(const std::string labels[3], unsigned virtualKey)
{
    if (virtualKey < 'A' || virtualKey > 'Z')
        return -1;
    for (int i = 2; i >= 0; --i) {
        char m = Mnemonic(labels[i]);
        if (m != 0 && UpChar(m) == static_cast<char>(virtualKey))
            return i;
    }
    return -1;
}

int StyleIconId(unsigned style)
{
    switch (style & MsgIconMask) {
    case 0x10: return 32513;  // stop
    case 0x20: return 32514;  // question
    case 0x30: return 32515;  // exclamation
    case 0x40: return 32516;  // information
    default: return 0;
    }
}

TextSize BoxSize(int rw, int rh, int nonClientWidth, int nonClientHeight)
{
    int hm = rw < 200 ? 64 : 32;
    int vm = rh < 39 ? 45 : 32;
    int width = rw + 54 + 2 * hm + nonClientWidth;
    if (width < 360)
        width = 360;
    return TextSize{width, rh + 36 + 2 * vm + nonClientHeight};
}

Placement ControlPlacement(int cw, int ch, int rw, int rh)
{
    Placement p;
    p.x = (cw - 54 - rw) / 2 + 54;
    p.y = (ch - 36 - rh) / 2;
    p.width = rw;
    p.height = ch - p.y - 39;
    return p;
}

int ControlOffset(const std::string& text, int byteOffset, bool crlfAsOne)
{
    int offset = 0;
    int limit = byteOffset < static_cast<int>(text.size()) ? byteOffset : static_cast<int>(text.size());
    for (int i = 0; i < limit; ++i) {
        unsigned char b = static_cast<unsigned char>(text[i]);
        if (IsLeadByte(b) && i + 1 < static_cast<int>(text.size())) {
            ++i;  // the trail byte belongs to the same character
        } else if (crlfAsOne && b == '\r' && i + 1 < static_cast<int>(text.size()) && text[i + 1] == '\n') {
            ++i;
        }
        ++offset;
    }
    return offset;
}
