// The message box's rules that need no window: the body markup, the heading,
// bold ranges, the button sets, mnemonics, focus arithmetic, measuring and
// layout arithmetic. The Windows box (msgbox_win) applies them.
#pragma once

#include <string>
#include <vector>

// Button labels in seven positions: OK, Cancel, Yes, No, Abort, Retry, Ignore.
extern const char DefaultButtonLabels[];
// Captions of the three kinds of box: Error, Attention, Confirm.
extern const char DefaultCaptions[];

// Style bits (the same as the system message box's where it has them).
constexpr unsigned MsgButtonSetMask = 0x0F;
constexpr unsigned MsgIconMask = 0xF0;
constexpr unsigned MsgDefaultButtonMask = 0xF00;
constexpr unsigned MsgRightAlign = 0x80000;
constexpr unsigned MsgRtlReading = 0x100000;
constexpr unsigned MsgNoClose = 0x10000000;
constexpr unsigned MsgModalBits = 0x52000;  // task-modal, set-foreground, topmost

// Owner codes of ShowMsgBox; values above OwnerNoClose are window handles.
constexpr unsigned long OwnerHeading = 0;
constexpr unsigned long OwnerPlain = 1;
constexpr unsigned long OwnerNoClose = 2;

// Line breaks and tabs: "\\n" and "\\t" (case-sensitive), "<P>" and "<T>"
// (any case).
std::string MarkupToText(const std::string& text);

// The body in heading mode: the caption in bold as its first paragraph,
// upper-cased when it is one of the built-in English captions.
std::string HeadingBody(const std::string& caption, const std::string& text);

// A bold range, 0-based byte offsets into the cleaned text: [start, end).
struct BoldRange {
    int start;
    int end;
};

struct BoxBody {
    std::string text;
    std::vector<BoldRange> bold;
};

// The whole body conversion: markup, the heading's "<<b>", the bold tags.
// Tags the box does not know stay in the text.
BoxBody PrepareBody(const std::string& text);

// The style after the owner code and the character set have had their say:
// Hebrew (177) and Arabic (178) read right to left, owner code 2 cannot be
// closed, and every box is task-modal, set-foreground and topmost.
unsigned EffectiveStyle(unsigned long owner, int charset, unsigned style);

// One button of a set: the position of its label in the label list and the
// result it answers.
struct ButtonSpec {
    int labelItem;
    int result;
};
// The buttons of a set, first to last; 0 for a set that has none (above 5).
int ButtonSetSpecs(int buttonSet, ButtonSpec out[3]);

// The button to focus for an index that may run past either end, among
// count buttons (count below 1 counts as 1).
int FocusSlot(int index, int count);
// Index of the default button from the style bits.
int DefaultButtonIndex(unsigned style);

// The mnemonic of a label: the character after its first "&", or its first
// character without one; 0 for an empty label.
char Mnemonic(const std::string& label);
// The Alt+character rule: the label's second character equals the typed one
// or its upper-case form.
bool AltCharMatches(const std::string& label, char typed);
// The button (0 to 2) that a key answers, or -1; missing buttons have empty
// labels. Alt+character: the first matching button wins.
int AltCharTarget(const std::string labels[3], char typed);
// A plain key by its mnemonic, the last matching button winning. Only the
// letter keys A to Z count (other key codes that read as lower-case letters
// are the numeric pad and function keys).
int LetterKeyTarget(const std::string labels[3], unsigned virtualKey);

// The system icon resource id for the style's icon bits; 0 for the
// program's own icon.
int StyleIconId(unsigned style);

// Measuring: the width and height of the body at the given line height,
// each line assumed to wrap every 600 pixels.
struct TextSize {
    int width;
    int height;
};
constexpr int MeasureWrapWidth = 600;
// widthOf(line) gives the pixel width of one line.
template <typename WidthOf>
TextSize MeasureBody(const std::string& text, int lineHeight, WidthOf widthOf)
{
    const std::string body = text.empty() ? std::string(" ") : text;
    TextSize size{0, 0};
    std::string::size_type start = 0;
    for (;;) {
        std::string::size_type at = body.find("\r\n", start);
        bool last = at == std::string::npos;
        std::string line = body.substr(start, last ? std::string::npos : at - start);
        // A trailing CR LF does not open another line.
        if (!(last && line.empty() && start > 0)) {
            int w = widthOf(line);
            if (w < 0)
                w = 0;
            if (w + 10 > size.width)
                size.width = w + 10;
            size.height += (w / MeasureWrapWidth + 1) * lineHeight;
        }
        if (last)
            break;
        start = at + 2;
    }
    if (size.width > MeasureWrapWidth)
        size.width = MeasureWrapWidth;
    return size;
}

// The bold re-fit. resize(width) gives the control that width and returns
// the size it then asks for. Returns the final width of the control.
template <typename Resize>
int RefitWidth(int width, int measuredHeight, Resize resize)
{
    int largest = width;
    for (int i = 0; i <= 20; ++i) {
        TextSize asked = resize(width + 10 * i);
        if (asked.height <= measuredHeight)
            return width + 10 * i;
        if (asked.width > largest)
            largest = asked.width;
    }
    resize(largest + 10);
    return largest + 10;
}

// Layout: the box's outer size for a control of outer size (rw, rh); the
// non-client sizes are the frame and caption the box window adds.
TextSize BoxSize(int rw, int rh, int nonClientWidth, int nonClientHeight);
// The control's place in the box's client area of size (cw, ch).
struct Placement {
    int x;
    int y;
    int width;
    int height;
};
Placement ControlPlacement(int cw, int ch, int rw, int rh);

// Bold offsets for a control that counts characters, not bytes: offset of
// byteOffset in text when a double-byte character counts as one and, with
// crlfAsOne, a line break counts as one.
int ControlOffset(const std::string& text, int byteOffset, bool crlfAsOne);
