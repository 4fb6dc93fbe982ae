#include "support/registry_win.h"

HKEY RootKey(RegRoot root)
{
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(root));
}

std::string ReadRegString(const std::string& keyPath, const std::string& valueName, const std::string& def)
{
    RegPath path = SplitRegPath(keyPath);
    HKEY key;
    if (RegOpenKeyExA(RootKey(path.root), path.subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return def;
    std::string result = def;
    unsigned char* buffer = new unsigned char[RegValueBufferSize];
    DWORD type = 0;
    DWORD size = RegValueBufferSize;
    if (RegQueryValueExA(key, valueName.c_str(), nullptr, &type, buffer, &size) == ERROR_SUCCESS &&
        size <= RegValueBufferSize)
        result = RegistryValueText(type, buffer, size);
    delete[] buffer;
    RegCloseKey(key);
    return result;
}
