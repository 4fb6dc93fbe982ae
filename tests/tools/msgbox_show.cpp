// Shows one message box and exits with its result code, for the tests that
// drive a box of another process and for the screenshots.
//
//   msgbox_show [--owner N] [--caption T] [--labels L] [--charset N]
//               [--style N] [--timeout MS] [--font FACE] [--size PT] TEXT
//
// --font and --size set the box font (with the --charset character set)
// before the box is shown. Numbers may be hexadecimal ("0x24"). --texts FILE
// reads the caption, the labels and the text from the first three lines of
// a file, byte for byte in the program's code page (a command line may not
// carry every code page's bytes).
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
        else if (a == "--texts") {
            ++i;
            HANDLE f = CreateFileA(next, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
            std::string bytes;
            char buffer[4096];
            DWORD n = 0;
            while (f != INVALID_HANDLE_VALUE && ReadFile(f, buffer, sizeof buffer, &n, nullptr) && n > 0)
                bytes.append(buffer, n);
            if (f != INVALID_HANDLE_VALUE)
                CloseHandle(f);
            std::string lines[3];
            for (int k = 0, at = 0; k < 3; ++k) {
                std::string::size_type nl = bytes.find('\n', at);
                lines[k] = bytes.substr(at, nl == std::string::npos ? std::string::npos : nl - at);
                at = nl == std::string::npos ? static_cast<int>(bytes.size()) : static_cast<int>(nl) + 1;
            }
            caption = lines[0];
            labels = lines[1];
            text = lines[2];
        } else text = a;
    }
    SetMsgBoxFont(face, size, charset);
    return ShowMsgBox(owner, text, caption, labels, charset, style, timeout);
}
