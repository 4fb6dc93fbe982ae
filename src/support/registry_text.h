// Registry key paths written as one text ("HKLM\Software\Vendor") and the
// rules that turn a stored registry value into text. No system calls: the
// root keys are named by the numbers the system gives its predefined keys.
#pragma once

#include <cstdint>
#include <string>

using RegRoot = uint32_t;
constexpr RegRoot RegClassesRoot = 0x80000000u;
constexpr RegRoot RegCurrentUser = 0x80000001u;
constexpr RegRoot RegLocalMachine = 0x80000002u;
constexpr RegRoot RegUsers = 0x80000003u;
constexpr RegRoot RegCurrentConfig = 0x80000005u;
constexpr RegRoot RegDynData = 0x80000006u;

// Value types the text rules tell apart.
constexpr uint32_t RegTypeDword = 4;
constexpr uint32_t RegTypeMultiString = 7;

// Room for a value read from the registry; a larger value is not read.
constexpr uint32_t RegValueBufferSize = 10241;

// The full root name or its abbreviation ("HKLM"), ignoring case; any
// other text names HKEY_CURRENT_USER.
RegRoot RegRootFromName(const std::string& name);

struct RegPath {
    RegRoot root;
    std::string subkey;
};

// A trimmed path that does not begin with "HK" is a subkey of
// HKEY_CURRENT_USER. Otherwise the text before the first "\" names the root
// (an unknown root falls to HKEY_CURRENT_USER and keeps its subkey).
RegPath SplitRegPath(const std::string& path);

// A 4-byte REG_DWORD: its unsigned decimal digits. A REG_MULTI_SZ of more
// than 2 bytes: trailing zero bytes dropped, each inner zero byte shown as
// "<0>". Anything else: the bytes up to the first zero byte.
std::string RegistryValueText(uint32_t type, const unsigned char* data, uint32_t size);
