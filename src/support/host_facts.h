// Process-wide facts that only the operating system can tell, filled by the
// Windows layer at start-up and read by the portable text code. Until they
// are set, the defaults describe a single-byte code page and the "/" and ":"
// separators.
#pragma once

#include <string>

// True when the byte is the first byte of a double-byte character in the
// ANSI code page.
bool IsLeadByte(unsigned char b);

// Replaces the lead-byte ranges. pairs holds count pairs of (first, last)
// byte values, both inclusive, as the code page information reports them; a
// pair whose first byte is above its last is ignored. Count 0 (or a null
// pointer) means a single-byte code page.
void SetLeadByteRanges(const unsigned char* pairs, int count);

// The user's locale date and time separators.
std::string LocaleDateSeparator();
std::string LocaleTimeSeparator();
void SetLocaleSeparators(const std::string& date, const std::string& time);
