#include "stub/run_state.h"

#include "package/file_info.h"

namespace {
const TGFileInfo* g_ownPackage = nullptr;
bool g_isAgent = false;
std::string g_mainClassName;
uint32_t g_exitCode = 0;
}  // namespace

const TGFileInfo& OwnPackage()
{
    static const TGFileInfo empty("");
    return g_ownPackage ? *g_ownPackage : empty;
}

void SetOwnPackage(const TGFileInfo* package) { g_ownPackage = package; }
bool IsAgentProgram() { return g_isAgent; }
void SetIsAgentProgram(bool agent) { g_isAgent = agent; }
const std::string& MainClassName() { return g_mainClassName; }
void SetMainClassName(const std::string& name) { g_mainClassName = name; }
uint32_t StubExitCode() { return g_exitCode; }
void SetStubExitCode(uint32_t code) { g_exitCode = code; }
