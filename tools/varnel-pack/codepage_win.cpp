// Code page conversion through the Windows API.
#include "codepage.h"

#include <string>
#include <windows.h>

bool Utf8ToCodePage(const std::string& utf8, int codePage, std::string& out)
{
    out.clear();
    bool ascii = true;
    for (unsigned char c : utf8)
        ascii = ascii && c < 128;
    if (ascii) {
        out = utf8;
        return true;
    }
    int wide = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    if (wide <= 0)
        return false;
    std::wstring w(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), &w[0], wide);
    BOOL usedDefault = FALSE;
    int n = WideCharToMultiByte(static_cast<UINT>(codePage), WC_NO_BEST_FIT_CHARS, w.data(), wide, nullptr, 0, nullptr,
                                &usedDefault);
    if (n <= 0 || usedDefault)
        return false;
    std::string bytes(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(static_cast<UINT>(codePage), WC_NO_BEST_FIT_CHARS, w.data(), wide, &bytes[0], n, nullptr,
                        &usedDefault);
    if (usedDefault)
        return false;
    out = bytes;
    return true;
}
