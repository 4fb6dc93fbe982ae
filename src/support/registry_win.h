// Registry values addressed by one key path ("HKLM\Software\Vendor"; a
// path without root is under HKEY_CURRENT_USER).
#pragma once

#include <windows.h>

#include <string>

#include "support/registry_text.h"

HKEY RootKey(RegRoot root);

// The value as text (REG_DWORD in unsigned decimal, REG_MULTI_SZ joined by
// "<0>"); def when the key cannot be opened, the value is absent or larger
// than the value buffer. An empty value name reads the key's default value.
std::string ReadRegString(const std::string& keyPath, const std::string& valueName, const std::string& def);
