// Which entry names may be written into the destination folder. A name is
// joined to the folder as it stands, so anything that could reach outside
// the folder, name a device or hide a stream is refused.
#pragma once

#include <string>

// Longest inner header (name, stamp, engine arguments) that is accepted.
constexpr std::size_t MaxEntryHeaderLength = 32768;

// False for the empty name, "." and "..", a name holding "\", "/", ":" or a
// control byte (below 32, or 127), and the DOS device names (CON, PRN, AUX,
// NUL, COM1-COM9, LPT1-LPT9, with or without an extension, any case).
bool IsSafeEntryName(const std::string& name);

// The name with control bytes and bytes above 126 shown as \xHH, for
// debug lines and messages.
std::string PrintableName(const std::string& name);
