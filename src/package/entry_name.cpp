#include "package/entry_name.h"

#include "support/text.h"

namespace {

bool IsDeviceName(const std::string& name)
{
    // The device is found by the part before the first "." and trailing
    // blanks, as the system reads it.
    std::string stem = UpperCase(name.substr(0, name.find('.')));
    while (!stem.empty() && stem.back() == ' ')
        stem.pop_back();
    if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL" || stem == "CONIN$" || stem == "CONOUT$")
        return true;
    return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) && stem[3] >= '1' &&
           stem[3] <= '9';
}

}  // namespace

bool IsSafeEntryName(const std::string& name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
    for (unsigned char c : name) {
        if (c < 32 || c == 127 || c == '\\' || c == '/' || c == ':')
            return false;
    }
    return !IsDeviceName(name);
}

std::string PrintableName(const std::string& name)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : name) {
        if (c < 32 || c >= 127) {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}
