#include "support/settings_win.h"

#include <windows.h>

#include "support/numbers.h"

namespace {

constexpr DWORD IniValueBufferSize = 10241;

}  // namespace

std::string ReadIniString(const std::string& file, const std::string& section, const std::string& key,
                          const std::string& def)
{
    char* buffer = new char[IniValueBufferSize];
    DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer, IniValueBufferSize,
                                       file.c_str());
    std::string value(buffer, n < IniValueBufferSize ? n : IniValueBufferSize - 1);
    delete[] buffer;
    return value;
}

int64_t ReadIniInt(const std::string& file, const std::string& section, const std::string& key, int64_t def)
{
    return TextToInt64(ReadIniString(file, section, key, IntToText(def)), def);
}

bool WriteIniString(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& value)
{
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != 0;
}

bool WriteIniInt(const std::string& file, const std::string& section, const std::string& key, int64_t value)
{
    return WriteIniString(file, section, key, IntToText(value));
}
