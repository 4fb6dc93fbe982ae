#include "support/trace_log_win.h"

#include <windows.h>

#include "support/files_win.h"
#include "support/system_win.h"
#include "support/trace_format.h"

namespace {

std::string* g_path = nullptr;
std::string* g_prefix = nullptr;
bool g_on = false;

std::string& Prefix()
{
    if (!g_prefix)
        g_prefix = new std::string("   ");
    return *g_prefix;
}

}  // namespace

std::string TracePath()
{
    if (!g_path)
        g_path = new std::string(TraceLogPathFor(ProgramPath(), ProgramDir(true)));
    return *g_path;
}

void SetTracePrefix(const std::string& prefix)
{
    Prefix() = prefix;
}

void SetTraceLogOn(bool on)
{
    g_on = on;
}

bool TraceLogOn()
{
    return g_on;
}

void TraceLine(const std::string& message)
{
    if (!g_on)
        return;
    AppendToFile(TracePath(), TraceLineText(NowDateTime(), GetCurrentThreadId(), Prefix(), message), 0);
}
