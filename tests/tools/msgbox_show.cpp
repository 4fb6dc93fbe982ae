// Shows one message box and exits with its result code, for the tests that
// drive a box of another process and for the screenshots.
//
//   msgbox_show [--owner N] [--caption T] [--labels L] [--charset N]
//               [--style N] [--timeout MS] [--font FACE] [--size PT] TEXT
//
// --font and --size set the box font (with the --charset character set)
// before the box is shown. Numbers may be hexadecimal ("0x24").
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "ui/msgbox_win.h"

int main(int argc, char** argv)
{
    MsgBoxOwner owner = 1;
    std::string caption = "Confirm";
    std::string labels = "|&OK|&Cancel|&Yes|&No|&Abort|&Retry|&Ignore|";
    std::string face = "Tahoma";
    std::string text;
    int charset = 0;
    int size = 8;
    unsigned style = 0;
    int timeout = 0;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        const char* next = i + 1 < argc ? argv[i + 1] : "";
        if (a == "--owner") owner = std::strtoul(next, nullptr, 0), ++i;
        else if (a == "--caption") caption = next, ++i;
        else if (a == "--labels") labels = next, ++i;
        else if (a == "--charset") charset = static_cast<int>(std::strtol(next, nullptr, 0)), ++i;
        else if (a == "--style") style = static_cast<unsigned>(std::strtoul(next, nullptr, 0)), ++i;
        else if (a == "--timeout") timeout = static_cast<int>(std::strtol(next, nullptr, 0)), ++i;
        else if (a == "--font") face = next, ++i;
        else if (a == "--size") size = static_cast<int>(std::strtol(next, nullptr, 0)), ++i;
        else text = a;
    }
    SetMsgBoxFont(face, size, charset);
    return ShowMsgBox(owner, text, caption, labels, charset, style, timeout);
}
