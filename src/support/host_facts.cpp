#include "support/host_facts.h"

namespace {

bool leadBytes[256];  // zero-initialised: single-byte code page

// Function-local statics: safe to read from other static initialisers.
std::string& DateSeparator()
{
    static std::string s = "/";
    return s;
}

std::string& TimeSeparator()
{
    static std::string s = ":";
    return s;
}

}  // namespace

bool IsLeadByte(unsigned char b)
{
    return leadBytes[b];
}

void SetLeadByteRanges(const unsigned char* pairs, int count)
{
    for (bool& lead : leadBytes)
        lead = false;
    if (!pairs)
        return;
    for (int i = 0; i < count; ++i) {
        unsigned first = pairs[2 * i];
        unsigned last = pairs[2 * i + 1];
        for (unsigned b = first; b <= last; ++b)
            leadBytes[b] = true;
    }
}

std::string LocaleDateSeparator()
{
    return DateSeparator();
}

std::string LocaleTimeSeparator()
{
    return TimeSeparator();
}

void SetLocaleSeparators(const std::string& date, const std::string& time)
{
    DateSeparator() = date;
    TimeSeparator() = time;
}
