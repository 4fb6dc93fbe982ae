#include "stub/agent_hooks.h"

namespace {
int64_t g_lifetime = 0;
int64_t g_timerCount = -3;
bool g_downloadAbort = false;
}  // namespace

intptr_t AgentCommand(uintptr_t, intptr_t) { return 0; }
void AgentTick() {}
void SetAgentLifetime(int64_t ticks) { g_lifetime = ticks; }
void SetAutoUpdateTimerCount(int64_t count) { g_timerCount = count; }
void SetDownloadAbort(bool abort) { g_downloadAbort = abort; }
bool DownloadAborted() { return g_downloadAbort; }
