#include "support/registry_text.h"

#include "support/numbers.h"
#include "support/text.h"

RegRoot RegRootFromName(const std::string& name)
{
    struct Name {
        const char* full;
        const char* brief;
        RegRoot root;
    };
    static const Name names[] = {
        {"HKEY_CLASSES_ROOT", "HKCR", RegClassesRoot},
        {"HKEY_CURRENT_USER", "HKCU", RegCurrentUser},
        {"HKEY_LOCAL_MACHINE", "HKLM", RegLocalMachine},
        {"HKEY_USERS", "HKU", RegUsers},
        {"HKEY_CURRENT_CONFIG", "HKCC", RegCurrentConfig},
        {"HKEY_DYN_DATA", "HKDD", RegDynData},
    };
    for (const Name& n : names)
        if (SameText(name, n.full) || SameText(name, n.brief))
            return n.root;
    return RegCurrentUser;
}

RegPath SplitRegPath(const std::string& path)
{
    std::string trimmed = Trim(path);
    RegPath result{RegCurrentUser, trimmed};
    if (!StartsWith("HK", trimmed, true))
        return result;
    std::string::size_type slash = trimmed.find('\\');
    if (slash == std::string::npos) {
        result.root = RegRootFromName(trimmed);
        result.subkey.clear();
    } else {
        result.root = RegRootFromName(trimmed.substr(0, slash));
        result.subkey = trimmed.substr(slash + 1);
    }
    return result;
}

std::string RegistryValueText(uint32_t type, const unsigned char* data, uint32_t size)
{
    if (!data)
        return std::string();
    if (type == RegTypeDword && size == 4) {
        uint32_t v = static_cast<uint32_t>(data[0]) | (static_cast<uint32_t>(data[1]) << 8) |
                     (static_cast<uint32_t>(data[2]) << 16) | (static_cast<uint32_t>(data[3]) << 24);
        return IntToText(static_cast<int64_t>(v));
    }
    if (type == RegTypeMultiString && size > 2) {
        uint32_t end = size;
        while (end > 0 && data[end - 1] == 0)
            --end;
        std::string text;
        for (uint32_t i = 0; i < end; ++i) {
            if (data[i] == 0)
                text += "<0>";
            else
                text += static_cast<char>(data[i]);
        }
        return text;
    }
    uint32_t n = 0;
    while (n < size && data[n] != 0)
        ++n;
    return std::string(reinterpret_cast<const char*>(data), n);
}
