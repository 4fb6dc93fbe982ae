// Code page conversion through iconv.
#include "codepage.h"

#include <cerrno>
#include <iconv.h>
#include <string>

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
    const std::string name = "CP" + std::to_string(codePage);
    iconv_t cd = iconv_open(name.c_str(), "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    std::string in = utf8;
    char* src = &in[0];
    std::size_t srcLeft = in.size();
    std::string buffer(in.size() * 4 + 16, '\0');
    char* dst = &buffer[0];
    std::size_t dstLeft = buffer.size();
    std::size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    bool ok = rc != static_cast<std::size_t>(-1) && srcLeft == 0;
    // A character that iconv had to approximate counts as not held.
    ok = ok && rc == 0;
    if (ok && iconv(cd, nullptr, nullptr, &dst, &dstLeft) == static_cast<std::size_t>(-1))
        ok = false;
    iconv_close(cd);
    if (ok)
        out.assign(buffer.data(), buffer.size() - dstLeft);
    return ok;
}
